#include "ExpectedFiles.h"

namespace GameData
{

const std::vector<std::string>& imageFiles()
{
    static const std::vector<std::string> files = {
        "mouse.png",         "logo lorvanta.png",  "morvex games logo.jpg", "Rat-blanc.png",
        "Rat-noir.png",      "Chat-blanc.png",     "Chat-noir.png",         "Loup-blanc.png",
        "Loup-noir.png",     "Chien-blanc.png",    "Chien-noir.png",        "Panthere-blanc.png",
        "Panthere-noir.png", "Tigre-blanc.png",    "Tigre-noir.png",        "Lion-blanc.png",
        "Lion-noir.png",     "Elephant-blanc.png", "Elephant-noir.png",     "selection.png",
        "destination.png",   "TNV Header.jpg",     "TNV Plateau Alone.jpg", "switchCamera.png",
        "fond.jpg",          "his turn.png",       "not his turn.png",      "cursor.png",
        "VMQ titre.png",     "TutorialPage1.jpg",  "TutorialPage2.jpg",     "videoFixe.png",
        "fin VMQ.jpg",       "logoLorvanta.png"};
    return files;
}

const std::vector<std::string>& fontFiles()
{
    static const std::vector<std::string> files = {"Arial Narrow 20.fnt", "Arial Narrow 24.fnt",
                                                   "Arial Narrow 32.fnt", "Eras Demi ITC 40.fnt"};
    return files;
}

std::vector<std::string> skinTextureFiles()
{
    std::vector<std::string> files = {"fileDir.png", "containerLiftSelection.png", "cadre.png"};
    const char* parts[] = {"BordureGauche", "BordureDroite", "BordureHaut",  "BordureBas", "CoinHautGauche",
                           "CoinHautDroit", "CoinBasGauche", "CoinBasDroit", "Fond"};
    for (const char* frame : {"fenetreChinoise", "fenetrePetite", "infotip", "container", "cadreTutorial"})
        for (const char* part : parts)
            files.push_back(std::string(frame) + part + ".png");
    auto threeStates = [&](const std::string& prefix)
    {
        for (const char* state : {"Pressed", "Released", "RolledOver"})
            files.push_back(prefix + state + ".png");
    };
    for (const char* button : {"ComboBoxButton", "boutonTutorialNext", "LiftButtonUp", "LiftButtonDown",
                               "LiftButtonLeft", "LiftButtonRight"})
        threeStates(button);
    for (const char* lift : {"LiftVertical", "LiftHorizontal"})
    {
        for (const char* part : {"BackgroundUp", "BackgroundMiddle", "BackgroundDown"})
            files.push_back(std::string(lift) + part + ".png");
        for (const char* state : {"Pressed", "Released", "RolledOver"})
            for (const char* part : {"CarretUp", "CarretMiddle", "CarretDown"})
                files.push_back(std::string(lift) + part + state + ".png");
    }
    for (int orientation = 0; orientation < 2; ++orientation)
    {
        files.push_back("LiftSonsBackground.png");
        threeStates("LiftSonsCarret");
    }
    for (const char* box : {"checkBox", "checkboxEasy", "checkboxMedium", "checkboxHard"})
        for (const char* state : {"CheckedPressed", "UncheckedPressed", "CheckedReleased",
                                  "UncheckedReleased", "CheckedRolledOver", "UncheckedRolledOver"})
            files.push_back(std::string(box) + state + ".png");
    for (int i = 1; i <= 5; ++i)
        threeStates("videoControlButton" + std::to_string(i));
    for (const char* piece : {"progLeft", "progMiddle", "progRight"})
        files.push_back(std::string(piece) + ".png");
    for (const char* board : {"angle", "point", "retour", "liste", "bulle"})
    {
        threeStates(board);
        files.push_back(std::string(board) + "Disabled.png");
    }
    for (int n = 1; n <= 11; ++n)
    {
        threeStates("boutonMenu" + std::to_string(n));
        if (n == 3 || n == 4 || n == 10)
            files.push_back("boutonMenu" + std::to_string(n) + "Disabled.png");
    }
    files.push_back("fileSavegame.png");
    return files;
}

const std::vector<FrameLook>& frameLooks()
{
    static const std::vector<FrameLook> looks = {{"fenetreChinoise", 189, 164, 186, 115, false},
                                                 {"fenetrePetite", 40, 31, 37, 28, true},
                                                 {"infotip", 2, 2, 4, 4, true},
                                                 {"container", 4, 4, 4, 4, true},
                                                 {"cadreTutorial", 8, 76, 16, 34, false}};
    return looks;
}

} // namespace GameData
