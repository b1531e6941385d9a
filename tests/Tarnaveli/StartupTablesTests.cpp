// The start-up tables: ids, keys and files as the screens and the skin files
// expect them, and every file they name present in the generated data.
#include "Framework/FileUtilities.h"
#include "Framework/ResourceArchive.h"
#include "Platform/System/Paths.h"
#include "Tarnaveli/StartupTables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

namespace
{
const SkinTextureEntry& texture(uint32_t id)
{
    return skinTextureTable().at(id - kFirstGameSkinTexture);
}

// The build's data, in its archive or on the disk.
class GeneratedData : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Platform::setProgramDirectory(VELMORIQUE_BUILD_DIR);
        ASSERT_EQ(archive.open("data\\Ressources.dat"), 0u);
    }
    bool exists(const std::string& path) { return archive.hasFile(path) || diskFileExists(path); }

    ResourceArchive archive;
};
} // namespace

TEST(SkinTextureTable, RunsFrom2To196WithUniqueKeysInFamilyOrder)
{
    const auto& table = skinTextureTable();
    ASSERT_EQ(table.size(), 195u);
    std::set<std::string> keys;
    for (size_t i = 0; i < table.size(); ++i)
    {
        EXPECT_EQ(table[i].id, kFirstGameSkinTexture + i);
        EXPECT_TRUE(table[i].key.starts_with("SKIN_TEX_")) << table[i].key;
        EXPECT_TRUE(table[i].file.ends_with(".png")) << table[i].file;
        EXPECT_TRUE(keys.insert(table[i].key).second) << table[i].key;
    }
    struct Expected
    {
        uint32_t id;
        const char* key;
        const char* file;
    };
    const Expected samples[] = {
        {2, "SKIN_TEX_BACKGROUND", "cadre.png"},
        {3, "SKIN_TEX_CONTAINER_WINDOW_DEFAULT_BORDER_LEFT", "fenetreChinoiseBordureGauche.png"},
        {11, "SKIN_TEX_CONTAINER_WINDOW_DEFAULT_BACKGROUND", "fenetreChinoiseFond.png"},
        {47, "SKIN_TEX_CONTAINER_CADRE_TUTORIAL_BACKGROUND", "cadreTutorialFond.png"},
        {48, "SKIN_TEX_BUTTON_COMBO_BOX_DEFAULT_PRESSED", "ComboBoxButtonPressed.png"},
        {65, "SKIN_TEX_BUTTON_LIFT_RIGHT_DEFAULT_ROLLEDOVER", "LiftButtonRightRolledOver.png"},
        {66, "SKIN_TEX_LIFT_DEFAULT_VERTICAL_BACKGROUND_UP", "LiftVerticalBackgroundUp.png"},
        {69, "SKIN_TEX_LIFT_DEFAULT_VERTICAL_CARRET_UP_PRESSED", "LiftVerticalCarretUpPressed.png"},
        {74, "SKIN_TEX_LIFT_DEFAULT_VERTICAL_CARRET_DOWN_RELEASED", "LiftVerticalCarretDownReleased.png"},
        {89, "SKIN_TEX_LIFT_DEFAULT_HORIZONTAL_CARRET_DOWN_ROLLEDOVER",
         "LiftHorizontalCarretDownRolledOver.png"},
        {90, "SKIN_TEX_LIFT_SOUND_HORIZONTAL_BACKGROUND", "LiftSonsBackground.png"},
        {93, "SKIN_TEX_LIFT_SOUND_HORIZONTAL_CARRET_ROLLEDOVER", "LiftSonsCarretRolledOver.png"},
        {94, "SKIN_TEX_LIFT_SOUND_VERTICAL_BACKGROUND", "LiftSonsBackground.png"},
        {98, "SKIN_TEX_CHECKBOX_DEFAULT_CHECKED_PRESSED", "checkBoxCheckedPressed.png"},
        {103, "SKIN_TEX_CHECKBOX_DEFAULT_UNCHECKED_ROLLEDOVER", "checkBoxUncheckedRolledOver.png"},
        {121, "SKIN_TEX_CHECKBOX_DIFF_HARD_UNCHECKED_ROLLEDOVER", "checkboxHardUncheckedRolledOver.png"},
        {122, "SKIN_TEX_BUTTON_VIDEO_CONTROLER_PAUSE_PRESSED", "videoControlButton1Pressed.png"},
        {136, "SKIN_TEX_BUTTON_VIDEO_CONTROLER_FULLSCREEN_ROLLEDOVER", "videoControlButton5RolledOver.png"},
        {139, "SKIN_TEX_PROGRESSION_BAR_RIGHT", "progRight.png"},
        {140, "SKIN_TEX_BUTTON_BOARD_0_PRESSED", "anglePressed.png"},
        {159, "SKIN_TEX_BUTTON_BOARD_4_DISABLED", "bulleDisabled.png"},
        {160, "SKIN_TEX_BUTTON_MENU_0_PRESSED", "boutonMenu1Pressed.png"},
        {169, "SKIN_TEX_BUTTON_MENU_2_DISABLED", "boutonMenu3Disabled.png"},
        {173, "SKIN_TEX_BUTTON_MENU_3_DISABLED", "boutonMenu4Disabled.png"},
        {174, "SKIN_TEX_BUTTON_MENU_4_PRESSED", "boutonMenu5Pressed.png"},
        {189, "SKIN_TEX_BUTTON_MENU_9_PRESSED", "boutonMenu10Pressed.png"},
        {192, "SKIN_TEX_BUTTON_MENU_9_DISABLED", "boutonMenu10Disabled.png"},
        {195, "SKIN_TEX_BUTTON_MENU_10_ROLLEDOVER", "boutonMenu11RolledOver.png"},
        {196, "SKIN_TEX_FILE_SAVEGAME", "fileSavegame.png"},
    };
    for (const Expected& e : samples)
    {
        EXPECT_EQ(texture(e.id).key, e.key) << e.id;
        EXPECT_EQ(texture(e.id).file, e.file) << e.id;
    }
}

TEST(SkinColorTable, ElevenColoursWithTheirDefaults)
{
    auto colors = skinColorTable();
    ASSERT_EQ(colors.size(), 11u);
    for (uint32_t i = 0; i < colors.size(); ++i)
        EXPECT_EQ(colors[i].id, i);
    EXPECT_STREQ(colors[1].key, "SKIN_COLOR_BUTTON_TEXT_PRESSED");
    EXPECT_EQ(colors[1].argb, 0xFFFF8000u);
    EXPECT_EQ(colors[3].argb, 0x40000000u);
    EXPECT_EQ(colors[9].argb, 0xFF808080u);
    EXPECT_STREQ(colors[10].key, "SKIN_COLOR_CHRONO");
}

TEST(StartupTables, FontsTakeTheirIndicesAndSoundsTheirIds)
{
    auto fonts = fontTable();
    ASSERT_EQ(fonts.size(), 4u);
    EXPECT_STREQ(fonts[0].file, "Arial Narrow 20.fnt");
    std::vector<uint32_t> indices;
    for (const FontEntry& f : fonts)
        indices.push_back(f.index);
    EXPECT_EQ(indices, (std::vector<uint32_t>{2, 3, 0, 1}));
    ASSERT_EQ(imageFiles().size(), 34u);
    EXPECT_STREQ(imageFiles()[IMAGE_CURSOR], "cursor.png");
    EXPECT_STREQ(imageFiles()[IMAGE_CLOSING], "fin VMQ.jpg");
    EXPECT_STREQ(imageFiles()[IMAGE_PIECE_ICONS + 2 * 7 + 1], "Elephant-noir.png");
    ASSERT_EQ(soundTable().size(), 8u);
    EXPECT_STREQ(soundTable()[SOUND_MENU_MUSIC - 1].path, "data\\sons\\intro.wav");
}

TEST(LookTableEntries, FortySevenLooksInRegistrationOrderNamingKnownTexturesAndLooks)
{
    const auto& looks = lookTable();
    std::vector<uint32_t> order;
    for (const LookEntry& look : looks)
        order.push_back(look.id);
    std::vector<uint32_t> expected = {13, 8,  6,  49, 7,  9,  50, 1,  0,  3,  14, 4,  21, 22, 23,
                                      24, 12, 48, 5,  51, 52, 53, 26, 25, 27, 28, 29, 31, 30};
    for (uint32_t id = 32; id <= 47; ++id)
        expected.push_back(id);
    expected.push_back(20);
    expected.push_back(10);
    EXPECT_EQ(order, expected);

    std::map<uint32_t, const LookEntry*> byId;
    for (const LookEntry& look : looks)
    {
        EXPECT_LT(look.id, kLookTableSize);
        byId[look.id] = &look;
        for (uint32_t t : look.textures)
            EXPECT_TRUE(t >= kFirstGameSkinTexture && t < kSkinTextureCount) << look.id;
        for (uint32_t c : look.colors)
            EXPECT_LT(c, kSkinColorCount) << look.id;
    }
    for (const LookEntry& look : looks)
        for (uint32_t other : look.looks)
            EXPECT_TRUE(byId.count(other)) << look.id << " names " << other;

    // A button's fourth texture is its family's disabled picture where it has one.
    auto disabledKey = [&](uint32_t id) { return texture(byId.at(id)->textures[3]).key; };
    EXPECT_EQ(disabledKey(39), "SKIN_TEX_BUTTON_MENU_2_DISABLED");
    EXPECT_EQ(disabledKey(40), "SKIN_TEX_BUTTON_MENU_3_DISABLED");
    EXPECT_EQ(disabledKey(46), "SKIN_TEX_BUTTON_MENU_9_DISABLED");
    EXPECT_EQ(disabledKey(41), "SKIN_TEX_BUTTON_MENU_4_RELEASED");
    EXPECT_EQ(disabledKey(47), "SKIN_TEX_BUTTON_MENU_10_RELEASED");
    EXPECT_EQ(disabledKey(36), "SKIN_TEX_BUTTON_BOARD_4_DISABLED");
    EXPECT_EQ(byId.at(37)->clickSound, uint32_t{SOUND_MENU_CLICK});
    EXPECT_EQ(byId.at(5)->textures, (std::vector<uint32_t>{99, 98, 101, 100, 103, 102}));
    EXPECT_EQ(byId.at(53)->textures, (std::vector<uint32_t>{117, 116, 119, 118, 121, 120}));
    EXPECT_EQ(byId.at(14)->colors, (std::vector<uint32_t>{6, 5, 7, 8, 9}));
    EXPECT_EQ(byId.at(14)->shadowDy, 4);
    EXPECT_EQ(byId.at(6)->margins[1], 164);
    EXPECT_EQ(byId.at(49)->flag, 1u);
}

TEST_F(GeneratedData, EveryImageFontSoundAndSkinFileOfTheTablesExists)
{
    for (const char* file : imageFiles())
        EXPECT_TRUE(exists(std::string("data\\Ressources\\images\\") + file)) << file;
    for (const FontEntry& font : fontTable())
        EXPECT_TRUE(exists(std::string("data\\Ressources\\images\\") + font.file)) << font.file;
    for (const SoundEntry& sound : soundTable())
        EXPECT_TRUE(exists(sound.path)) << sound.path;
    for (const SkinTextureEntry& entry : skinTextureTable())
        EXPECT_TRUE(exists("data\\Ressources\\skins\\Default\\" + entry.file)) << entry.file;
    EXPECT_FALSE(exists("data\\Ressources\\images\\no such picture.png"));
    EXPECT_FALSE(exists("data\\sons\\no such sound.wav"));
}
