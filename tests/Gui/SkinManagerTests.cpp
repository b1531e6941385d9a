// The skin manager: skins.ini and the skin folders, on disk and in an
// archive, and the colour text of the skin files.
#include "Framework/ResourceArchive.h"
#include "SkinTestSupport.h"

#include <sstream>

namespace
{
const char* const kSkinsIni = "data/Ressources/skins/skins.ini";

std::vector<std::string> skinNames(SkinManager& skins)
{
    std::vector<std::string> names;
    for (uint32_t i = 0; i < skins.getSkinCount(); ++i)
        names.push_back(skins.getSkin(i)->getName());
    return names;
}

// The keys of a "key = value" file, in order.
std::vector<std::pair<std::string, std::string>> readPairs(const std::string& path)
{
    std::vector<std::pair<std::string, std::string>> pairs;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line))
    {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        size_t equals = line.find(" = ");
        if (equals != std::string::npos)
            pairs.emplace_back(line.substr(0, equals), line.substr(equals + 3));
    }
    return pairs;
}
} // namespace

TEST(ColorBindingTest, ReadsClampedChannelsAndRefusesOtherTexts)
{
    uint32_t color = 0x11223344;
    ColorBinding binding("SKIN_COLOR_X", color);
    ASSERT_TRUE(binding.parse("Color(300,-5,10,128)"));
    EXPECT_EQ(color, 0x80FF000Au);
    for (const char* bad :
         {"Colour(1,2,3,4)", "Color(1,2,3)", "(1,2,3,4)", "Color", "color(1,2,3,4)", "Color(a,b,c,d)"})
    {
        EXPECT_FALSE(binding.parse(bad)) << bad;
        EXPECT_EQ(color, 0x80FF000Au) << bad;
    }
    std::string text;
    ASSERT_TRUE(binding.write(text));
    EXPECT_EQ(text, "Color(255,0,10,128)");
    uint32_t again = 0;
    ASSERT_TRUE(ColorBinding::parseColor(text, again));
    EXPECT_EQ(again, color);
    // Numbers far past the range still clamp instead of wrapping.
    ASSERT_TRUE(ColorBinding::parseColor("Color( 99999999999999999999 , 0, 0 ,-99999999999999999)", again));
    EXPECT_EQ(again, 0x00FF0000u);
}

TEST(SkinManagerTest, WritesMissingFilesWithDefaultsAndTakesDiskFoldersButNotCVS)
{
    ScratchProgramFolder folder;
    folder.write("data/Ressources/skins/Bois/placeholder", "");
    folder.write("data/Ressources/skins/cvs/placeholder", "");
    folder.write("data/Ressources/skins/CVSplus/placeholder", "");
    folder.write("data/Ressources/skins/notes.png", "not a folder");
    SkinTestApplication app;
    SkinManager& skins = app.skins();
    EXPECT_EQ(skins.addColor("SKIN_COLOR_TEXT", 0xFF102030), 0u);
    EXPECT_EQ(skins.addTexture("SKIN_TEX_BACKGROUND", "cadre.png"), 2u);

    ASSERT_EQ(skins.init(), 0);
    EXPECT_EQ(skinNames(skins), (std::vector<std::string>{"Bois", "CVSplus"}));
    EXPECT_EQ(skins.getCurrentSkin(), skins.getSkin(0));
    EXPECT_TRUE(skins.isLoaded());
    EXPECT_EQ(folder.read(kSkinsIni), "SKIN_TEX_FILE_DIR = fileDir.png\r\n"
                                      "SKIN_TEX_CONTAINERLIFT_SELECTION = containerLiftSelection.png\r\n"
                                      "SKIN_TEX_BACKGROUND = cadre.png\r\n");
    EXPECT_EQ(folder.read("data/Ressources/skins/Bois/skin.ini"),
              "SKIN_COLOR_TEXT = Color(16,32,48,255)\r\n");
    EXPECT_FALSE(folder.exists("data/Ressources/skins/cvs/skin.ini"));
    EXPECT_EQ(skins.getColor(0), 0xFF102030u);
    // Every skin has its own textures, named after the shared file names.
    ASSERT_NE(skins.getTexture(2), nullptr);
    EXPECT_EQ(skins.getTexture(2)->getName(), "data\\Ressources\\skins\\Bois\\cadre.png");
    EXPECT_EQ(skins.getSkin(1)->getTexture(0)->getName(), "data\\Ressources\\skins\\CVSplus\\fileDir.png");
    EXPECT_TRUE(skins.getSkin(1)->isComplete());

    EXPECT_EQ(skins.findSkinIndex("CVSplus"), 1);
    EXPECT_EQ(skins.findSkinIndex("bois"), -1);
    EXPECT_EQ(skins.indexOfSkin(skins.getSkin(1)), 1);
    EXPECT_EQ(skins.indexOfSkin(nullptr), -1);
    // Making another skin current restyles every lookup.
    skins.setCurrentSkin(skins.getSkin(1));
    EXPECT_EQ(findSkinTexture(0)->getName(), "data\\Ressources\\skins\\CVSplus\\fileDir.png");
    EXPECT_TRUE(app.messages.messages().empty());
}

TEST(SkinManagerTest, FileKeysReplaceDefaultsAndIncompleteFilesAreWrittenBack)
{
    ScratchProgramFolder folder;
    folder.write(kSkinsIni, "SKIN_TEX_FILE_DIR = dossier.png\r\n");
    folder.write("data/Ressources/skins/Bois/skin.ini",
                 "SKIN_COLOR_A = Color(300,-5,10,128)\r\nSKIN_COLOR_B = Rouge\r\n");
    SkinTestApplication app;
    SkinManager& skins = app.skins();
    skins.addColor("SKIN_COLOR_A", 0xFFFFFFFF);
    skins.addColor("SKIN_COLOR_B", 0xFF00FF00);
    skins.addColor("SKIN_COLOR_C", 0xFF0000FF);

    ASSERT_EQ(skins.init(), 0);
    EXPECT_EQ(skins.getTexture(0)->getName(), "data\\Ressources\\skins\\Bois\\dossier.png");
    EXPECT_EQ(folder.read(kSkinsIni), "SKIN_TEX_FILE_DIR = dossier.png\r\n"
                                      "SKIN_TEX_CONTAINERLIFT_SELECTION = containerLiftSelection.png\r\n");
    EXPECT_EQ(skins.getColor(0), 0x80FF000Au);
    // The line that does not read keeps the default and is reported.
    EXPECT_EQ(skins.getColor(1), 0xFF00FF00u);
    EXPECT_EQ(skins.getColor(2), 0xFF0000FFu);
    EXPECT_EQ(app.messages.messages().size(), 1u);
    EXPECT_EQ(folder.read("data/Ressources/skins/Bois/skin.ini"),
              "SKIN_COLOR_A = Color(255,0,10,128)\r\nSKIN_COLOR_B = Color(0,255,0,255)\r\n"
              "SKIN_COLOR_C = Color(0,0,255,255)\r\n");
}

TEST(SkinManagerTest, AFileTheSetUpNamesAsTheSkinsListIsReadButNeverWrittenOver)
{
    ScratchProgramFolder folder;
    folder.write("data/Ressources/skins/Bois/skin.ini", "");
    const std::string letter = "Cher ami,\nvoici mes notes = importantes\n";
    folder.write("data/lettre.txt", letter);
    folder.write("notes.ini", "SKIN_TEX_FILE_DIR = dossier.png\n");
    std::filesystem::create_symlink(folder.path() + "data/lettre.txt", folder.path() + "data/lien.ini");
    // Each names a file that is not the game's own skins list, or lies
    // where the game does not write.
    for (const char* path : {"data\\lettre.txt", "data\\lien.ini", "notes.ini"})
    {
        SkinTestApplication app;
        SkinManager& skins = app.skins();
        skins.setSkinsIniPath(path);
        EXPECT_EQ(skins.init(), 0) << path;
        EXPECT_EQ(skins.getSkinCount(), 1u) << path;
    }
    EXPECT_EQ(folder.read("data/lettre.txt"), letter);
    EXPECT_EQ(folder.read("notes.ini"), "SKIN_TEX_FILE_DIR = dossier.png\n");
    EXPECT_TRUE(std::filesystem::is_symlink(folder.path() + "data/lien.ini"));
}

TEST(SkinManagerTest, NoSkinFolderIsAnError)
{
    ScratchProgramFolder folder;
    SkinTestApplication app;
    // Without its folder, skins.ini cannot be written.
    EXPECT_EQ(app.skins().init(), ERROR_FILEIO_INVALIDFILE);
    folder.write("data/Ressources/skins/readme.png", "");
    EXPECT_EQ(app.skins().init(), ERROR_NO_SKINS);
    folder.write("data/Ressources/skins/CVS/placeholder", "");
    EXPECT_EQ(app.skins().init(), ERROR_NO_SKINS);
    EXPECT_EQ(app.skins().getCurrentSkin(), nullptr);
    EXPECT_EQ(findSkinTexture(0), nullptr);
    EXPECT_EQ(findSkinColor(0), 0u);
}

TEST(SkinManagerTest, SkinsFolderOfAnArchiveWinsOverTheDisk)
{
    ScratchProgramFolder folder;
    folder.write("source/skins/skins.ini", "SKIN_TEX_FILE_DIR = archive.png\r\n"
                                           "SKIN_TEX_CONTAINERLIFT_SELECTION = selection.png\r\n");
    folder.write("source/skins/Jade/skin.ini", "SKIN_COLOR_A = Color(1,2,3,4)\r\n");
    folder.write("source/skins/CVS/skin.ini", "");
    folder.write("data/Ressources/skins/Disque/placeholder", "");
    ASSERT_EQ(buildResourceArchive(folder.path() + "data/Ressources.dat", folder.path() + "source",
                                   "data\\Ressources"),
              0);
    SkinTestApplication app;
    auto archive = std::make_unique<ResourceArchive>();
    ASSERT_EQ(archive->open("data\\Ressources.dat"), 0);
    app.addArchive(std::move(archive));
    setActiveFileLookup(&app.getFileLookup());
    app.skins().addColor("SKIN_COLOR_A", 0);

    ASSERT_EQ(app.skins().init(), 0);
    EXPECT_EQ(skinNames(app.skins()), std::vector<std::string>{"Jade"});
    EXPECT_EQ(app.skins().getColor(0), 0x04010203u);
    EXPECT_EQ(app.skins().getTexture(0)->getName(), "data\\Ressources\\skins\\Jade\\archive.png");
    // Complete files are not written anywhere.
    EXPECT_FALSE(folder.exists(kSkinsIni));
    EXPECT_FALSE(folder.exists("data/Ressources/skins/Jade"));
    EXPECT_TRUE(app.messages.messages().empty());
}

TEST(SkinTest, IsCompleteWhenEveryTextureIdHasItsTexture)
{
    SkinTestApplication app;
    EXPECT_TRUE(Skin("Vide", 0, {}).isComplete());
    Skin skin("Bois", 2, {0xFF000000});
    EXPECT_FALSE(skin.isComplete());
    skin.setTexture(0, app.engine().getTextureByName("a.png", 0));
    EXPECT_FALSE(skin.isComplete());
    skin.setTexture(1, app.engine().getTextureByName("b.png", 0));
    EXPECT_TRUE(skin.isComplete());
    EXPECT_EQ(skin.getColor(0), 0xFF000000u);
    EXPECT_EQ(skin.getColor(7), 0u);
    EXPECT_EQ(skin.getTexture(2), nullptr);
}

// The skins the build generates: every key of the files registered as the
// game does, every texture file present, nothing written back.
TEST(SkinManagerTest, GeneratedSkinsLoadFromTheArchiveAndNameExistingPictures)
{
    const std::string data = VELMORIQUE_DATA_DIR;
    if (!std::filesystem::exists(data + "/Ressources.dat"))
        GTEST_SKIP() << "no generated data in " << data;
    ScratchProgramFolder folder;
    SkinTestApplication app;
    auto archive = std::make_unique<ResourceArchive>();
    ASSERT_EQ(archive->open(data + "/Ressources.dat"), 0);
    app.addArchive(std::move(archive));
    setActiveFileLookup(&app.getFileLookup());
    SkinManager& skins = app.skins();
    auto textures = readPairs(data + "/Ressources/skins/skins.ini");
    ASSERT_GE(textures.size(), 2u);
    EXPECT_EQ(textures[0], (std::pair<std::string, std::string>{"SKIN_TEX_FILE_DIR", "fileDir.png"}));
    for (size_t i = 2; i < textures.size(); ++i)
        skins.addTexture(textures[i].first, "");
    auto colors = readPairs(data + "/Ressources/skins/Default/skin.ini");
    ASSERT_FALSE(colors.empty());
    for (const auto& [key, value] : colors)
        skins.addColor(key, 0);

    ASSERT_EQ(skins.init(), 0);
    EXPECT_TRUE(app.messages.messages().empty());
    ASSERT_EQ(skins.findSkinIndex("Default"), 0);
    for (uint32_t id = 0; id < skins.getTextureCount(); ++id)
    {
        EXPECT_EQ(skins.getTextureFile(id), textures[id].second);
        EXPECT_TRUE(std::filesystem::exists(data + "/Ressources/skins/Default/" + textures[id].second))
            << textures[id].second;
    }
    EXPECT_TRUE(skins.getCurrentSkin()->isComplete());
    for (uint32_t id = 0; id < colors.size(); ++id)
    {
        uint32_t expected = 0;
        ASSERT_TRUE(ColorBinding::parseColor(colors[id].second, expected)) << colors[id].second;
        EXPECT_EQ(skins.getColor(id), expected) << colors[id].first;
    }
    EXPECT_FALSE(folder.exists("data"));
}
