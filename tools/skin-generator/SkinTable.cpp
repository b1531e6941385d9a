#include "SkinTable.h"

#include <array>

std::vector<SkinTexture> skinTextureTable()
{
    std::vector<SkinTexture> table;
    auto add = [&](const std::string& key, const std::string& file) {
        table.push_back({static_cast<int>(table.size()), "SKIN_TEX_" + key, file});
    };

    static const std::array<const char*, 9> frameKeys = {
        "BORDER_LEFT",      "BORDER_RIGHT",       "BORDER_TOP",          "BORDER_BOTTOM", "CORNER_TOP_LEFT",
        "CORNER_TOP_RIGHT", "CORNER_BOTTOM_LEFT", "CORNER_BOTTOM_RIGHT", "BACKGROUND"};
    static const std::array<const char*, 9> frameFiles = {"BordureGauche", "BordureDroite",  "BordureHaut",
                                                          "BordureBas",    "CoinHautGauche", "CoinHautDroit",
                                                          "CoinBasGauche", "CoinBasDroit",   "Fond"};
    static const std::array<const char*, 3> stateKeys = {"PRESSED", "RELEASED", "ROLLEDOVER"};
    static const std::array<const char*, 3> stateFiles = {"Pressed", "Released", "RolledOver"};
    static const std::array<const char*, 6> checkKeys = {"CHECKED_PRESSED",    "UNCHECKED_PRESSED",
                                                         "CHECKED_RELEASED",   "UNCHECKED_RELEASED",
                                                         "CHECKED_ROLLEDOVER", "UNCHECKED_ROLLEDOVER"};
    static const std::array<const char*, 6> checkFiles = {"CheckedPressed",    "UncheckedPressed",
                                                          "CheckedReleased",   "UncheckedReleased",
                                                          "CheckedRolledOver", "UncheckedRolledOver"};

    auto frame = [&](const std::string& key, const std::string& file)
    {
        for (size_t i = 0; i < 9; ++i)
            add(key + frameKeys[i], file + frameFiles[i] + ".png");
    };
    auto states = [&](const std::string& key, const std::string& file, bool disabled)
    {
        for (size_t i = 0; i < 3; ++i)
            add(key + stateKeys[i], file + stateFiles[i] + ".png");
        if (disabled)
            add(key + "DISABLED", file + "Disabled.png");
    };
    auto lift = [&](const std::string& key, const std::string& file)
    {
        add(key + "BACKGROUND_UP", file + "BackgroundUp.png");
        add(key + "BACKGROUND_MIDDLE", file + "BackgroundMiddle.png");
        add(key + "BACKGROUND_DOWN", file + "BackgroundDown.png");
        for (size_t s = 0; s < 3; ++s)
        {
            add(key + "CARRET_UP_" + stateKeys[s], file + "CarretUp" + stateFiles[s] + ".png");
            add(key + "CARRET_MIDDLE_" + stateKeys[s], file + "CarretMiddle" + stateFiles[s] + ".png");
            add(key + "CARRET_DOWN_" + stateKeys[s], file + "CarretDown" + stateFiles[s] + ".png");
        }
    };
    auto checkBox = [&](const std::string& key, const std::string& file)
    {
        for (size_t i = 0; i < 6; ++i)
            add(key + checkKeys[i], file + checkFiles[i] + ".png");
    };

    add("FILE_DIR", "fileDir.png");
    add("CONTAINERLIFT_SELECTION", "containerLiftSelection.png");
    add("BACKGROUND", "cadre.png");
    frame("CONTAINER_WINDOW_DEFAULT_", "fenetreChinoise");
    frame("CONTAINER_WINDOW_SMALL_", "fenetrePetite");
    frame("CONTAINER_INFOTIP_DEFAULT_", "infotip");
    frame("CONTAINER_BORDERS_DEFAULT_", "container");
    frame("CONTAINER_CADRE_TUTORIAL_", "cadreTutorial");
    states("BUTTON_COMBO_BOX_DEFAULT_", "ComboBoxButton", false);
    states("BUTTON_TUTORIAL_NEXT_", "boutonTutorialNext", false);
    states("BUTTON_LIFT_UP_DEFAULT_", "LiftButtonUp", false);
    states("BUTTON_LIFT_DOWN_DEFAULT_", "LiftButtonDown", false);
    states("BUTTON_LIFT_LEFT_DEFAULT_", "LiftButtonLeft", false);
    states("BUTTON_LIFT_RIGHT_DEFAULT_", "LiftButtonRight", false);
    lift("LIFT_DEFAULT_VERTICAL_", "LiftVertical");
    lift("LIFT_DEFAULT_HORIZONTAL_", "LiftHorizontal");
    for (const char* orientation : {"HORIZONTAL", "VERTICAL"})
    {
        add(std::string("LIFT_SOUND_") + orientation + "_BACKGROUND", "LiftSonsBackground.png");
        states(std::string("LIFT_SOUND_") + orientation + "_CARRET_", "LiftSonsCarret", false);
    }
    checkBox("CHECKBOX_DEFAULT_", "checkBox");
    checkBox("CHECKBOX_DIFF_EASY_", "checkboxEasy");
    checkBox("CHECKBOX_DIFF_MEDIUM_", "checkboxMedium");
    checkBox("CHECKBOX_DIFF_HARD_", "checkboxHard");
    static const std::array<const char*, 5> video = {"PAUSE", "PLAY", "BACKWARD", "FORWARD", "FULLSCREEN"};
    for (size_t i = 0; i < video.size(); ++i)
        states(std::string("BUTTON_VIDEO_CONTROLER_") + video[i] + "_",
               "videoControlButton" + std::to_string(i + 1), false);
    add("PROGRESSION_BAR_LEFT", "progLeft.png");
    add("PROGRESSION_BAR_MIDDLE", "progMiddle.png");
    add("PROGRESSION_BAR_RIGHT", "progRight.png");
    static const std::array<const char*, 5> board = {"angle", "point", "retour", "liste", "bulle"};
    for (size_t i = 0; i < board.size(); ++i)
        states("BUTTON_BOARD_" + std::to_string(i) + "_", board[i], true);
    for (int menu = 0; menu <= 10; ++menu)
        states("BUTTON_MENU_" + std::to_string(menu) + "_", "boutonMenu" + std::to_string(menu + 1),
               menu == 2 || menu == 3 || menu == 9);
    add("FILE_SAVEGAME", "fileSavegame.png");
    return table;
}
