#include "Framework/BinaryStream.h"
#include "Framework/ConfigFile.h"
#include "Framework/FileLookup.h"
#include "Framework/SafeFileWriter.h"
#include "Platform/System/MessageSink.h"
#include "Platform/System/Paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace
{
class ConfigFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Platform::setProgramDirectory(mDir.path());
        std::filesystem::create_directories(mDir.path() + "data");
    }
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

TEST_F(ConfigFileTest, BadLinesAreSkippedAndTheFileIsReportedOnceWithItsFirstBadLine)
{
    std::string name = "default";
    int32_t level = 3;
    ConfigFile config("data\\setup.ini");
    config.addString("Name", name);
    config.addInt("Level", level);
    loadText(config, "// Level = 9\n\nsans egal\nName = Premier\nInconnu = 1\nName = Second\nLevel = 7");
    EXPECT_EQ(name, "Premier");
    EXPECT_EQ(level, 7); // a last line without a line feed counts
    ASSERT_EQ(mMessages.messages().size(), 1u);
    EXPECT_EQ(mMessages.messages()[0].text,
              "Erreur dans data\\setup.ini, ligne 3 : Impossible de trouver le \"=\" (\"sans egal\")\n"
              "2 autres lignes en erreur.");

    // Hundreds of bad lines are still one report, which a long line cannot
    // push the count out of.
    ConfigFile many("data\\setup.ini");
    many.addInt("Level", level);
    loadText(
        many, std::string(1000, 'x') + "\n" +
                  []
                  {
                      std::string lines;
                      for (int i = 0; i < 299; ++i)
                          lines += "Bad = " + std::to_string(i) + "\n";
                      return lines;
                  }());
    ASSERT_EQ(mMessages.messages().size(), 2u);
    EXPECT_NE(mMessages.messages()[1].text.find("299 autres lignes"), std::string::npos);
}

// The player's copy is what was read: the message names it in the player's
// folder, not as a file of the game's data.
TEST_F(ConfigFileTest, ADamagedFileOfThePlayersFolderIsNamedWhereItIs)
{
    setenv("VELMORIQUE_USER_DIR", (mDir.path() + "joueur").c_str(), 1);
    Platform::setProgramDirectory(mDir.path());
    unsetenv("VELMORIQUE_USER_DIR");
    writeFile("joueur/setup.ini", "sans egal\n");
    int32_t level = 0;
    ConfigFile config("data\\setup.ini");
    config.addInt("Level", level);
    EXPECT_EQ(config.load(), ERROR_OK);
    Platform::setProgramDirectory(mDir.path());
    ASSERT_EQ(mMessages.messages().size(), 1u);
    EXPECT_EQ(mMessages.messages()[0].text.find("Erreur dans " + mDir.path() + "joueur/setup.ini, ligne 1"),
              0u)
        << mMessages.messages()[0].text;
}

TEST_F(ConfigFileTest, ValuesOfEveryKindRoundTrip)
{
    std::string text = "ligne 1\nligne 2 \\ fin";
    bool flag = true, off = false;
    int32_t number = -42;
    PlayerTypeField player = 1;
    DifficultyField difficulty = 2;
    ConfigFile config("data\\round.ini");
    config.addString("Texte", text);
    config.addBool("Drapeau", flag);
    config.addBool("Eteint", off);
    config.addInt("Nombre", number);
    config.addPlayerType("Joueur", player);
    config.addDifficulty("Niveau", difficulty);
    ASSERT_EQ(config.save(), ERROR_OK);
    EXPECT_EQ(readFile("data/round.ini"),
              "Texte = ligne 1\\nligne 2 \\\\ fin\r\nDrapeau = 1\r\nEteint = 0\r\n"
              "Nombre = -42\r\nJoueur = 1\r\nNiveau = 2\r\n");

    std::string text2;
    bool flag2 = false, off2 = true;
    int32_t number2 = 0, player2 = 0, difficulty2 = 0;
    ConfigFile again("data\\round.ini");
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
    writeFile("data/full.ini", "A = x\nB = y\n");
    {
        ConfigFile config("data\\full.ini");
        config.addString("A", a);
        config.addString("B", b);
        ASSERT_EQ(config.load(), ERROR_OK);
        EXPECT_EQ(config.saveIfIncomplete(), ERROR_OK);
    }
    EXPECT_EQ(readFile("data/full.ini"), "A = x\nB = y\n");

    writeFile("data/partial.ini", "B = y\n");
    {
        ConfigFile config("data\\partial.ini");
        config.addString("A", a);
        config.addString("B", b);
        ASSERT_EQ(config.load(), ERROR_OK);
        EXPECT_EQ(config.saveIfIncomplete(), ERROR_OK);
    }
    EXPECT_EQ(readFile("data/partial.ini"), "A = x\r\nB = y\r\n");
}

TEST_F(ConfigFileTest, OnlyAFileReadAsOneOfItsKindInsideTheDataFolderIsWrittenBack)
{
    // Contents, where they lie, and whether the missing key is written back.
    const struct
    {
        const char* path;
        const char* text;
        bool rewritten;
    } cases[] = {
        {"data/a.ini", "B = y\n", true},
        {"data/a.ini", "// notes\nB = y\nB = z\nA\xE9 = \n", false},
        {"data/a.ini", "B = y\nA = \n", false}, // complete
        {"data/a.ini", "", true},
        {"data/a.ini", "Cher journal,\naujourd'hui = un beau jour\n", false},
        {"data/a.ini", "// rien que des notes\n", false},
        {"data/a.ini", "B = y\nsans egal\n", false},
        {"elsewhere.ini", "B = y\n", false},
        {"data/../elsewhere.ini", "B = y\n", false},
    };
    for (const auto& c : cases)
    {
        writeFile(c.path, c.text);
        std::string a = "x", b;
        ConfigFile config(c.path);
        config.addString("A", a);
        config.addString("B", b);
        ASSERT_EQ(config.load(), ERROR_OK) << c.text;
        config.saveIfIncomplete();
        EXPECT_EQ(readFile(c.path) != c.text, c.rewritten) << c.path << ": " << c.text;
        EXPECT_FALSE(std::filesystem::exists(mDir.path() + c.path + ".tmp"));
    }
}

TEST_F(ConfigFileTest, SavesNeverGoThroughALinkNorOutOfTheDataFolder)
{
    writeFile("victim.txt", "precious");
    writeFile("data/placeholder", "");
    std::filesystem::create_symlink(mDir.path() + "victim.txt", mDir.path() + "data/link.ini");
    std::filesystem::create_directory_symlink(mDir.path(), mDir.path() + "data/up");
    std::string a = "x";
    for (const char* path : {"data\\link.ini", "data\\up\\victim.txt", "victim.txt"})
    {
        ConfigFile config(path);
        config.addString("A", a);
        EXPECT_EQ(config.save(), ERROR_FILEIO_INVALIDFILE) << path;
    }
    EXPECT_EQ(readFile("victim.txt"), "precious");
    EXPECT_TRUE(std::filesystem::is_symlink(mDir.path() + "data/link.ini"));
    // Nor into a pipe, which would wait for a reader for ever.
    ASSERT_EQ(::mkfifo((mDir.path() + "data/pipe.ini").c_str(), 0600), 0);
    ConfigFile pipe("data\\pipe.ini");
    pipe.addString("A", a);
    EXPECT_EQ(pipe.save(), ERROR_FILEIO_INVALIDFILE);

    // A temporary file that an earlier crash left as a link is not written
    // through either.
    std::filesystem::create_symlink(mDir.path() + "victim.txt", mDir.path() + "data/real.ini.tmp");
    ConfigFile real("data\\real.ini");
    real.addString("A", a);
    EXPECT_EQ(real.save(), ERROR_OK);
    EXPECT_EQ(readFile("data/real.ini"), "A = x\r\n");
    EXPECT_EQ(readFile("victim.txt"), "precious");
}

TEST_F(ConfigFileTest, MissingFilesAndFailedSaves)
{
    std::string a = "keep";
    ConfigFile missing("absent.ini");
    missing.addString("A", a);
    EXPECT_EQ(missing.load(), ERROR_FILEIO_FILENOTFOUND);
    EXPECT_EQ(a, "keep");

    ConfigFile noFolder("data\\no\\such\\folder\\x.ini");
    noFolder.addString("A", a);
    EXPECT_EQ(noFolder.save(), ERROR_FILEIO_INVALIDFILE);

    // A device is never a configuration file of the game.
    if (std::filesystem::is_character_file("/dev/full"))
    {
        ConfigFile full("/dev/full");
        full.addString("A", a);
        EXPECT_EQ(full.save(), ERROR_FILEIO_INVALIDFILE);
        EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
    }
}

TEST_F(ConfigFileTest, AFailedWriteLeavesThePreviousFileWhole)
{
    writeFile("data/keep.ini", "A = old\r\n");
    EXPECT_EQ(writeFileSafely("data/keep.ini",
                              [](StdioFile& out)
                              {
                                  out.writeBytes("A = n", 5);
                                  return ErrorCode{ERROR_FILEIO_WRITEERROR};
                              }),
              ERROR_FILEIO_WRITEERROR);
    EXPECT_EQ(readFile("data/keep.ini"), "A = old\r\n");
    EXPECT_FALSE(std::filesystem::exists(mDir.path() + "data/keep.ini.tmp"));
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
