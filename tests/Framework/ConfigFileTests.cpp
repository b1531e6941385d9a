#include "Framework/BinaryStream.h"
#include "Framework/ConfigFile.h"
#include "Framework/FileLookup.h"
#include "Framework/SafeFileWriter.h"
#include "Platform/System/MessageSink.h"
#include "Platform/System/Paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace
{
class ConfigFileTest : public ::testing::Test
{
protected:
    void SetUp() override { Platform::setProgramDirectory(mDir.path()); }
    void loadText(ConfigFile& config, const std::string& text)
    {
        MemoryInputStream stream(text.data(), static_cast<uint32_t>(text.size()));
        EXPECT_EQ(config.loadFrom(stream), ERROR_OK);
    }
    void writeFile(const std::string& relative, const std::string& bytes)
    {
        std::filesystem::path path = mDir.path() + relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }
    std::string readFile(const std::string& relative)
    {
        std::ifstream in(mDir.path() + relative, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    Platform::TemporaryDirectory mDir;
    Platform::ScopedMessageCapture mMessages;
};
} // namespace

TEST_F(ConfigFileTest, OneBlankEachSideOfTheFirstEqualsBelongsToTheLayout)
{
    std::string a, b, c, d, e;
    ConfigFile config("test.ini");
    config.addString("A", a);
    config.addString("B", b);
    config.addString("C", c);
    config.addString("D ", d);
    config.addString("E", e);
    loadText(config, "A=Value\nB = Value\r\nC =Value\nD  =  Value\nE = x=y = z\n");
    EXPECT_EQ(a, "Value");
    EXPECT_EQ(b, "Value");
    EXPECT_EQ(c, "Value");
    EXPECT_EQ(d, " Value");
    EXPECT_EQ(e, "x=y = z");
    EXPECT_TRUE(mMessages.messages().empty());
}

TEST_F(ConfigFileTest, BadLinesAreReportedOneByOneAndSkipped)
{
    std::string name = "default";
    int32_t level = 3;
    ConfigFile config("data\\setup.ini");
    config.addString("Name", name);
    config.addInt("Level", level);
    loadText(config, "// Level = 9\n\nsans egal\nName = Premier\nInconnu = 1\nName = Second\nLevel = 7");
    EXPECT_EQ(name, "Premier");
    EXPECT_EQ(level, 7); // a last line without a line feed counts
    ASSERT_EQ(mMessages.messages().size(), 3u);
    EXPECT_EQ(mMessages.messages()[0].text,
              "Erreur dans data\\setup.ini, ligne 3 : Impossible de trouver le \"=\" (\"sans egal\")");
    EXPECT_EQ(mMessages.messages()[1].text,
              "Erreur dans data\\setup.ini, ligne 5 : Identificateur inconnu (\"Inconnu = 1\")");
    EXPECT_EQ(mMessages.messages()[2].text,
              "Erreur dans data\\setup.ini, ligne 6 : Identificateur d\xE9j\xE0 rempli. (\"Name = Second\")");
}

TEST_F(ConfigFileTest, ValuesOfEveryKindRoundTrip)
{
    std::string text = "ligne 1\nligne 2 \\ fin";
    bool flag = true, off = false;
    int32_t number = -42;
    PlayerTypeField player = 1;
    DifficultyField difficulty = 2;
    ConfigFile config("round.ini");
    config.addString("Texte", text);
    config.addBool("Drapeau", flag);
    config.addBool("Eteint", off);
    config.addInt("Nombre", number);
    config.addPlayerType("Joueur", player);
    config.addDifficulty("Niveau", difficulty);
    ASSERT_EQ(config.save(), ERROR_OK);
    EXPECT_EQ(readFile("round.ini"), "Texte = ligne 1\\nligne 2 \\\\ fin\r\nDrapeau = 1\r\nEteint = 0\r\n"
                                     "Nombre = -42\r\nJoueur = 1\r\nNiveau = 2\r\n");

    std::string text2;
    bool flag2 = false, off2 = true;
    int32_t number2 = 0, player2 = 0, difficulty2 = 0;
    ConfigFile again("round.ini");
    again.addString("Texte", text2);
    again.addBool("Drapeau", flag2);
    again.addBool("Eteint", off2);
    again.addInt("Nombre", number2);
    again.addPlayerType("Joueur", player2);
    again.addDifficulty("Niveau", difficulty2);
    ASSERT_EQ(again.load(), ERROR_OK);
    EXPECT_EQ(text2, text);
    EXPECT_TRUE(flag2);
    EXPECT_FALSE(off2);
    EXPECT_EQ(number2, -42);
    EXPECT_EQ(player2, 1);
    EXPECT_EQ(difficulty2, 2);
}

TEST_F(ConfigFileTest, BoolsAndIntsReadAsTheCLibraryWould)
{
    bool values[6] = {};
    int32_t numbers[4] = {};
    ConfigFile config("x.ini");
    const char* boolKeys[6] = {"T", "F", "One", "Two", "Word", "Padded"};
    for (int i = 0; i < 6; ++i)
        config.addBool(boolKeys[i], values[i]);
    const char* intKeys[4] = {"Big", "Small", "Junk", "Trail"};
    for (int i = 0; i < 4; ++i)
        config.addInt(intKeys[i], numbers[i]);
    loadText(config, "T = true\nF = false\nOne = 1\nTwo = 2\nWord = TRUE\nPadded = 01xyz\n"
                     "Big = 99999999999999999999\nSmall = -99999999999\nJunk = abc\nTrail = 12abc\n");
    EXPECT_TRUE(values[0]);
    EXPECT_FALSE(values[1]);
    EXPECT_TRUE(values[2]);
    EXPECT_FALSE(values[3]);
    EXPECT_FALSE(values[4]);
    EXPECT_TRUE(values[5]);
    EXPECT_EQ(numbers[0], INT32_MAX);
    EXPECT_EQ(numbers[1], INT32_MIN);
    EXPECT_EQ(numbers[2], 0);
    EXPECT_EQ(numbers[3], 12);
}

TEST_F(ConfigFileTest, EscapesOnlyLineFeedsAndBackslashes)
{
    std::string value;
    ConfigFile config("x.ini");
    config.addString("V", value);
    loadText(config, "V = a\\tb\\nc\\\\d\\\n");
    EXPECT_EQ(value, "a\\tb\nc\\d\\");
}

TEST_F(ConfigFileTest, SaveIfIncompleteRewritesOnlyAFileThatLacksAKey)
{
    std::string a = "1", b = "2";
    writeFile("full.ini", "A = x\nB = y\n");
    {
        ConfigFile config("full.ini");
        config.addString("A", a);
        config.addString("B", b);
        ASSERT_EQ(config.load(), ERROR_OK);
        EXPECT_EQ(config.saveIfIncomplete(), ERROR_OK);
    }
    EXPECT_EQ(readFile("full.ini"), "A = x\nB = y\n");

    writeFile("partial.ini", "B = y\n");
    {
        ConfigFile config("partial.ini");
        config.addString("A", a);
        config.addString("B", b);
        ASSERT_EQ(config.load(), ERROR_OK);
        EXPECT_EQ(config.saveIfIncomplete(), ERROR_OK);
    }
    EXPECT_EQ(readFile("partial.ini"), "A = x\r\nB = y\r\n");
}

TEST_F(ConfigFileTest, MissingFilesAndFailedSaves)
{
    std::string a = "keep";
    ConfigFile missing("absent.ini");
    missing.addString("A", a);
    EXPECT_EQ(missing.load(), ERROR_FILEIO_FILENOTFOUND);
    EXPECT_EQ(a, "keep");

    ConfigFile noFolder("no\\such\\folder\\x.ini");
    noFolder.addString("A", a);
    EXPECT_EQ(noFolder.save(), ERROR_FILEIO_INVALIDFILE);

    // A device is written in place, never replaced, and its failed flush is
    // reported.
    if (std::filesystem::is_character_file("/dev/full"))
    {
        ConfigFile full("/dev/full");
        full.addString("A", a);
        EXPECT_EQ(full.save(), ERROR_FILEIO_WRITEERROR);
        EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
    }
}

TEST_F(ConfigFileTest, AFailedWriteLeavesThePreviousFileWhole)
{
    writeFile("keep.ini", "A = old\r\n");
    EXPECT_EQ(writeFileSafely("keep.ini",
                              [](StdioFile& out)
                              {
                                  out.writeBytes("A = n", 5);
                                  return ErrorCode{ERROR_FILEIO_WRITEERROR};
                              }),
              ERROR_FILEIO_WRITEERROR);
    EXPECT_EQ(readFile("keep.ini"), "A = old\r\n");
    EXPECT_FALSE(std::filesystem::exists(mDir.path() + "keep.ini.tmp"));
}

TEST_F(ConfigFileTest, LoadGoesThroughTheApplicationsArchives)
{
    writeFile("pack/lang.ini", "LANG_A = depuis l'archive\n");
    std::filesystem::create_directories(mDir.path() + "data");
    ASSERT_EQ(
        buildResourceArchive(mDir.path() + "data/Ressources.dat", mDir.path() + "pack", "data\\Ressources"),
        ERROR_OK);
    FileLookup lookup;
    auto archive = std::make_unique<ResourceArchive>();
    ASSERT_EQ(archive->open("data\\Ressources.dat"), ERROR_OK);
    lookup.addArchive(std::move(archive));
    setActiveFileLookup(&lookup);

    std::string text;
    ConfigFile lang("data\\Ressources\\lang.ini");
    lang.addString("LANG_A", text);
    EXPECT_EQ(lang.load(), ERROR_OK);
    EXPECT_EQ(text, "depuis l'archive");
    ConfigFile absent("data\\Ressources\\skins.ini");
    EXPECT_EQ(absent.load(), ERROR_FILENOTFOUND);
    setActiveFileLookup(nullptr);
}
