#include "Tarnaveli/StartupTables.h"

#include <array>
#include <cassert>
#include <iterator>

namespace
{
struct Part
{
    const char* key;
    const char* file;
};

constexpr Part kFrameParts[] = {{"BORDER_LEFT", "BordureGauche.png"},
                                {"BORDER_RIGHT", "BordureDroite.png"},
                                {"BORDER_TOP", "BordureHaut.png"},
                                {"BORDER_BOTTOM", "BordureBas.png"},
                                {"CORNER_TOP_LEFT", "CoinHautGauche.png"},
                                {"CORNER_TOP_RIGHT", "CoinHautDroit.png"},
                                {"CORNER_BOTTOM_LEFT", "CoinBasGauche.png"},
                                {"CORNER_BOTTOM_RIGHT", "CoinBasDroit.png"},
                                {"BACKGROUND", "Fond.png"}};

constexpr Part kThreeStates[] = {
    {"PRESSED", "Pressed.png"}, {"RELEASED", "Released.png"}, {"ROLLEDOVER", "RolledOver.png"}};
constexpr Part kFourStates[] = {{"PRESSED", "Pressed.png"},
                                {"RELEASED", "Released.png"},
                                {"ROLLEDOVER", "RolledOver.png"},
                                {"DISABLED", "Disabled.png"}};

constexpr Part kCheckBoxStates[] = {
    {"CHECKED_PRESSED", "CheckedPressed.png"},       {"UNCHECKED_PRESSED", "UncheckedPressed.png"},
    {"CHECKED_RELEASED", "CheckedReleased.png"},     {"UNCHECKED_RELEASED", "UncheckedReleased.png"},
    {"CHECKED_ROLLEDOVER", "CheckedRolledOver.png"}, {"UNCHECKED_ROLLEDOVER", "UncheckedRolledOver.png"}};

// Background pieces, then the caret's three pieces in each state.
std::vector<Part> liftParts()
{
    static const std::array<std::string, 12> keys = []
    {
        std::array<std::string, 12> k{"BACKGROUND_UP", "BACKGROUND_MIDDLE", "BACKGROUND_DOWN"};
        const char* states[] = {"PRESSED", "RELEASED", "ROLLEDOVER"};
        const char* pieces[] = {"CARRET_UP_", "CARRET_MIDDLE_", "CARRET_DOWN_"};
        for (int s = 0; s < 3; ++s)
            for (int p = 0; p < 3; ++p)
                k[3 + s * 3 + p] = std::string(pieces[p]) + states[s];
        return k;
    }();
    static const std::array<std::string, 12> files = []
    {
        std::array<std::string, 12> f{"BackgroundUp.png", "BackgroundMiddle.png", "BackgroundDown.png"};
        const char* states[] = {"Pressed", "Released", "RolledOver"};
        const char* pieces[] = {"CarretUp", "CarretMiddle", "CarretDown"};
        for (int s = 0; s < 3; ++s)
            for (int p = 0; p < 3; ++p)
                f[3 + s * 3 + p] = std::string(pieces[p]) + states[s] + ".png";
        return f;
    }();
    std::vector<Part> parts;
    for (size_t i = 0; i < keys.size(); ++i)
        parts.push_back({keys[i].c_str(), files[i].c_str()});
    return parts;
}

class SkinTableBuilder
{
public:
    void add(const std::string& key, const std::string& file)
    {
        mTable.push_back({static_cast<uint32_t>(kFirstGameSkinTexture + mTable.size()), key, file});
    }
    template <typename Parts>
    void family(const std::string& keyPrefix, const std::string& filePrefix, const Parts& parts)
    {
        for (const Part& part : parts)
            add(keyPrefix + part.key, filePrefix + part.file);
    }
    std::vector<SkinTextureEntry> take() { return std::move(mTable); }

private:
    std::vector<SkinTextureEntry> mTable;
};

std::vector<SkinTextureEntry> buildSkinTextures()
{
    SkinTableBuilder b;
    b.add("SKIN_TEX_BACKGROUND", "cadre.png");
    b.family("SKIN_TEX_CONTAINER_WINDOW_DEFAULT_", "fenetreChinoise", kFrameParts);
    b.family("SKIN_TEX_CONTAINER_WINDOW_SMALL_", "fenetrePetite", kFrameParts);
    b.family("SKIN_TEX_CONTAINER_INFOTIP_DEFAULT_", "infotip", kFrameParts);
    b.family("SKIN_TEX_CONTAINER_BORDERS_DEFAULT_", "container", kFrameParts);
    b.family("SKIN_TEX_CONTAINER_CADRE_TUTORIAL_", "cadreTutorial", kFrameParts);
    b.family("SKIN_TEX_BUTTON_COMBO_BOX_DEFAULT_", "ComboBoxButton", kThreeStates);
    b.family("SKIN_TEX_BUTTON_TUTORIAL_NEXT_", "boutonTutorialNext", kThreeStates);
    b.family("SKIN_TEX_BUTTON_LIFT_UP_DEFAULT_", "LiftButtonUp", kThreeStates);
    b.family("SKIN_TEX_BUTTON_LIFT_DOWN_DEFAULT_", "LiftButtonDown", kThreeStates);
    b.family("SKIN_TEX_BUTTON_LIFT_LEFT_DEFAULT_", "LiftButtonLeft", kThreeStates);
    b.family("SKIN_TEX_BUTTON_LIFT_RIGHT_DEFAULT_", "LiftButtonRight", kThreeStates);
    std::vector<Part> lift = liftParts();
    b.family("SKIN_TEX_LIFT_DEFAULT_VERTICAL_", "LiftVertical", lift);
    b.family("SKIN_TEX_LIFT_DEFAULT_HORIZONTAL_", "LiftHorizontal", lift);
    for (const char* direction : {"HORIZONTAL", "VERTICAL"})
    {
        std::string prefix = std::string("SKIN_TEX_LIFT_SOUND_") + direction + "_";
        b.add(prefix + "BACKGROUND", "LiftSonsBackground.png");
        b.family(prefix + "CARRET_", "LiftSonsCarret", kThreeStates);
    }
    b.family("SKIN_TEX_CHECKBOX_DEFAULT_", "checkBox", kCheckBoxStates);
    b.family("SKIN_TEX_CHECKBOX_DIFF_EASY_", "checkboxEasy", kCheckBoxStates);
    b.family("SKIN_TEX_CHECKBOX_DIFF_MEDIUM_", "checkboxMedium", kCheckBoxStates);
    b.family("SKIN_TEX_CHECKBOX_DIFF_HARD_", "checkboxHard", kCheckBoxStates);
    const char* videoButtons[] = {"PAUSE", "PLAY", "BACKWARD", "FORWARD", "FULLSCREEN"};
    for (int i = 0; i < 5; ++i)
        b.family(std::string("SKIN_TEX_BUTTON_VIDEO_CONTROLER_") + videoButtons[i] + "_",
                 "videoControlButton" + std::to_string(i + 1), kThreeStates);
    b.add("SKIN_TEX_PROGRESSION_BAR_LEFT", "progLeft.png");
    b.add("SKIN_TEX_PROGRESSION_BAR_MIDDLE", "progMiddle.png");
    b.add("SKIN_TEX_PROGRESSION_BAR_RIGHT", "progRight.png");
    const char* boardButtons[] = {"angle", "point", "retour", "liste", "bulle"};
    for (int i = 0; i < 5; ++i)
        b.family("SKIN_TEX_BUTTON_BOARD_" + std::to_string(i) + "_", boardButtons[i], kFourStates);
    for (int menu = 0; menu <= 10; ++menu)
    {
        bool hasDisabled = menu == 2 || menu == 3 || menu == 9;
        std::string keyPrefix = "SKIN_TEX_BUTTON_MENU_" + std::to_string(menu) + "_";
        std::string filePrefix = "boutonMenu" + std::to_string(menu + 1);
        if (hasDisabled)
            b.family(keyPrefix, filePrefix, kFourStates);
        else
            b.family(keyPrefix, filePrefix, kThreeStates);
    }
    b.add("SKIN_TEX_FILE_SAVEGAME", "fileSavegame.png");
    std::vector<SkinTextureEntry> table = b.take();
    assert(table.size() == kSkinTextureCount - kFirstGameSkinTexture);
    return table;
}

constexpr SkinColorEntry kSkinColors[] = {{0, "SKIN_COLOR_BUTTON_TEXT_RELEASED", 0xFF000000},
                                          {1, "SKIN_COLOR_BUTTON_TEXT_PRESSED", 0xFFFF8000},
                                          {2, "SKIN_COLOR_BUTTON_TEXT_ROLLEDOVER", 0xFF804000},
                                          {3, "SKIN_COLOR_BUTTON_TEXT_SHADOW", 0x40000000},
                                          {4, "SKIN_COLOR_BUTTON_TEXT_DISABLED", 0xFF808080},
                                          {5, "SKIN_COLOR_BUTTON_TEXT_MENU_RELEASED", 0xFF000000},
                                          {6, "SKIN_COLOR_BUTTON_TEXT_MENU_PRESSED", 0xFFFF8000},
                                          {7, "SKIN_COLOR_BUTTON_TEXT_MENU_ROLLEDOVER", 0xFF804000},
                                          {8, "SKIN_COLOR_BUTTON_TEXT_MENU_SHADOW", 0x40000000},
                                          {9, "SKIN_COLOR_BUTTON_TEXT_MENU_DISABLED", 0xFF808080},
                                          {10, "SKIN_COLOR_CHRONO", 0xFF000000}};
static_assert(std::size(kSkinColors) == kSkinColorCount);

constexpr const char* kImageFiles[] = {
    "mouse.png",         "logo lorvanta.png",  "morvex games logo.jpg", "Rat-blanc.png",
    "Rat-noir.png",      "Chat-blanc.png",     "Chat-noir.png",         "Loup-blanc.png",
    "Loup-noir.png",     "Chien-blanc.png",    "Chien-noir.png",        "Panthere-blanc.png",
    "Panthere-noir.png", "Tigre-blanc.png",    "Tigre-noir.png",        "Lion-blanc.png",
    "Lion-noir.png",     "Elephant-blanc.png", "Elephant-noir.png",     "selection.png",
    "destination.png",   "TNV Header.jpg",     "TNV Plateau Alone.jpg", "switchCamera.png",
    "fond.jpg",          "his turn.png",       "not his turn.png",      "cursor.png",
    "VMQ titre.png",     "TutorialPage1.jpg",  "TutorialPage2.jpg",     "videoFixe.png",
    "fin VMQ.jpg",       "logoLorvanta.png"};
static_assert(std::size(kImageFiles) == kImageCount);

constexpr FontEntry kFonts[] = {{"Arial Narrow 20.fnt", 2},
                                {"Arial Narrow 24.fnt", 3},
                                {"Arial Narrow 32.fnt", 0},
                                {"Eras Demi ITC 40.fnt", 1}};
static_assert(std::size(kFonts) == kFontCount);

constexpr SoundEntry kSounds[] = {{1, "data\\sons\\erreur.wav"},     {2, "data\\sons\\selectOption.wav"},
                                  {3, "data\\sons\\clicBouton.wav"}, {4, "data\\sons\\clicMenu.wav"},
                                  {5, "data\\sons\\intro.wav"},      {6, "data\\sons\\select pion.wav"},
                                  {7, "data\\sons\\gagne.wav"},      {8, "data\\sons\\perdu.wav"}};
static_assert(std::size(kSounds) == kSoundNameCount - 1);

LookEntry container(uint32_t id, uint32_t firstTexture, int32_t l, int32_t t, int32_t r, int32_t b,
                    uint32_t tiled)
{
    LookEntry look{id, LookClass::Container, {}, {}, {}};
    for (uint32_t i = 0; i < 9; ++i)
        look.textures.push_back(firstTexture + i);
    look.margins[0] = l;
    look.margins[1] = t;
    look.margins[2] = r;
    look.margins[3] = b;
    look.flag = tiled;
    return look;
}

LookEntry button(uint32_t id, uint32_t pressed, uint32_t released, uint32_t rolledOver, uint32_t disabled,
                 uint32_t clickSound)
{
    LookEntry look{id, LookClass::Button, {pressed, released, rolledOver, disabled}, {}, {}};
    look.clickSound = clickSound;
    return look;
}

// Colour ids pressed, released, rolled over, shadow, disabled.
LookEntry textButton(uint32_t id, uint32_t firstColor, int32_t dx, int32_t dy)
{
    LookEntry look{id,
                   LookClass::TextButton,
                   {},
                   {firstColor + 1, firstColor, firstColor + 2, firstColor + 3, firstColor + 4},
                   {}};
    look.clickSound = SOUND_BUTTON_CLICK;
    look.shadowDx = dx;
    look.shadowDy = dy;
    return look;
}

LookEntry checkBox(uint32_t id, uint32_t first)
{
    LookEntry look{
        id, LookClass::CheckBox, {first + 1, first, first + 3, first + 2, first + 5, first + 4}, {}, {}};
    look.clickSound = SOUND_SELECT_OPTION;
    return look;
}

// The first skin texture of menu button n: menus 2, 3 and 9 have a fourth state.
uint32_t menuFirstTexture(uint32_t menu)
{
    uint32_t id = 160;
    for (uint32_t m = 0; m < menu; ++m)
        id += (m == 2 || m == 3 || m == 9) ? 4 : 3;
    return id;
}

std::vector<LookEntry> buildLooks()
{
    std::vector<LookEntry> looks;
    looks.push_back({13, LookClass::SingleTexture, {2}, {}, {}});
    looks.push_back({8, LookClass::Empty, {}, {}, {}});
    looks.push_back(container(6, 3, 189, 164, 186, 115, 0));
    looks.push_back(container(49, 12, 40, 31, 37, 28, 1));
    looks.push_back(container(7, 21, 2, 2, 4, 4, 1));
    looks.push_back(container(9, 30, 4, 4, 4, 4, 1));
    looks.push_back(container(50, 39, 8, 76, 16, 34, 0));
    looks.push_back({1, LookClass::Text, {}, {3}, {}});
    looks.push_back(textButton(0, 0, 1, 2));
    looks.push_back(textButton(3, 0, 1, 2));
    looks.push_back(textButton(14, 5, 2, 4));
    looks.push_back(button(4, 57, 58, 59, 58, SOUND_BUTTON_CLICK));
    looks.push_back(button(21, 54, 55, 56, 55, SOUND_BUTTON_CLICK));
    looks.push_back(button(22, 57, 58, 59, 58, SOUND_BUTTON_CLICK));
    looks.push_back(button(23, 60, 61, 62, 61, SOUND_BUTTON_CLICK));
    looks.push_back(button(24, 63, 64, 65, 64, SOUND_BUTTON_CLICK));
    looks.push_back(
        {12,
         LookClass::Lift,
         {66, 67, 68, 78, 79, 80, 72, 73, 74, 69, 70, 71, 75, 76, 77, 84, 85, 86, 81, 82, 83, 87, 88, 89},
         {},
         {21, 23, 24, 22}});
    looks.push_back({48, LookClass::LiftSound, {94, 90, 96, 95, 97, 92, 91, 93}, {}, {21, 23, 24, 22}});
    looks.push_back(checkBox(5, 98));
    looks.push_back(checkBox(51, 104));
    looks.push_back(checkBox(52, 110));
    looks.push_back(checkBox(53, 116));
    // Video pause, play, backward, forward, full screen.
    const uint32_t videoLooks[] = {26, 25, 27, 28, 29};
    for (uint32_t i = 0; i < 5; ++i)
    {
        uint32_t first = 122 + 3 * i;
        looks.push_back(button(videoLooks[i], first, first + 1, first + 2, first + 1, SOUND_BUTTON_CLICK));
    }
    looks.push_back({31, LookClass::VideoControler, {}, {}, {26, 25, 27, 28, 29, 30}});
    looks.push_back({30, LookClass::ProgressionBar, {137, 138, 139}, {}, {9}});
    for (uint32_t board = 0; board < 5; ++board)
    {
        uint32_t first = 140 + 4 * board;
        looks.push_back(button(32 + board, first, first + 1, first + 2, first + 3, SOUND_MENU_CLICK));
    }
    for (uint32_t menu = 0; menu <= 10; ++menu)
    {
        uint32_t first = menuFirstTexture(menu);
        bool hasDisabled = menu == 2 || menu == 3 || menu == 9;
        looks.push_back(button(37 + menu, first, first + 1, first + 2, hasDisabled ? first + 3 : first + 1,
                               SOUND_MENU_CLICK));
    }
    looks.push_back(button(20, 51, 52, 53, 52, SOUND_BUTTON_CLICK));
    looks.push_back({10, LookClass::Dialog, {}, {}, {}});
    return looks;
}
} // namespace

const std::vector<SkinTextureEntry>& skinTextureTable()
{
    static const std::vector<SkinTextureEntry> table = buildSkinTextures();
    return table;
}

std::span<const SkinColorEntry> skinColorTable()
{
    return kSkinColors;
}

std::span<const char* const> imageFiles()
{
    return kImageFiles;
}

std::span<const FontEntry> fontTable()
{
    return kFonts;
}

std::span<const SoundEntry> soundTable()
{
    return kSounds;
}

const std::vector<LookEntry>& lookTable()
{
    static const std::vector<LookEntry> table = buildLooks();
    return table;
}
