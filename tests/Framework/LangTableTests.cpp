// The language table: built-in texts, growth and the text lookup.
#include "Framework/FileLookup.h"
#include "Framework/FormatCheck.h"
#include "Framework/LangTable.h"
#include "Framework/Messages.h"
#include "TestApplication.h"

#include <gtest/gtest.h>

TEST(LangTable, HoldsTheFrameworkTextsInWindows1252)
{
    LangTable table;
    ASSERT_EQ(table.size(), 159u);
    ASSERT_EQ(table.getKeys().size(), 159u);
    EXPECT_EQ(table.getKeys()[0], "LANG_ERROR");
    EXPECT_EQ(table.getText(0), "Erreur");
    EXPECT_EQ(table.getKeys()[LANG_ERROR_FAILED], "LANG_ERROR_FAILED");
    EXPECT_EQ(table.getText(LANG_ERROR_FAILED), "La fonction a \xE9"
                                                "chou\xE9"
                                                "e pour une raison non sp\xE9"
                                                "cifi\xE9"
                                                "e.");
    EXPECT_EQ(table.getText(LANG_KEY_NUMPAD_ENTER), "Entr\xE9"
                                                    "e (Pav\xE9 num.)");
    EXPECT_EQ(table.getText(LANG_KEY_SCROLL_LOCK), "Arr\xEAt defil");
    EXPECT_EQ(table.getKeys()[158], "LANG_KEY_CAPSLOCK");
    EXPECT_EQ(table.getText(158), "Verr. maj.");
    // The no-sound-card text holds a real line feed.
    EXPECT_NE(table.getText(LANG_NO_SOUND_CARD).find(".\nInstallez"), std::string::npos);
    EXPECT_EQ(table.getText(LANG_ERROR_NO_TCP_IP), "Aucun protocole TCP/IP n'a \xE9t\xE9 dectect\xE9");
    EXPECT_EQ(table.getServiceId(), 0u);
    EXPECT_FALSE(table.isLoaded());
}

TEST(LangTable, EveryBuiltInTextIsAValidFormatWithoutNumberedArguments)
{
    LangTable table;
    for (uint32_t id = 0; id < table.size(); ++id)
    {
        EXPECT_FALSE(table.getKeys()[id].empty()) << id;
        EXPECT_EQ(table.getKeys()[id].rfind("LANG_", 0), 0u) << id;
        EXPECT_TRUE(formatArguments(table.getText(id))) << id;
    }
    EXPECT_EQ(table.getText(LANG_FATAL_ERROR), "Erreure fatale %s : %s");
}

TEST(LangTable, GrowsForTheGameTexts)
{
    LangTable table;
    table.resize(331);
    EXPECT_EQ(table.getKeys()[200], "");
    table.setEntry(270, "LANG_MOVE_DESCRIPTION", "%s d\xE9place %s de %c%i en %c%i");
    EXPECT_EQ(table.getKeys()[270], "LANG_MOVE_DESCRIPTION");
    EXPECT_EQ(table.getText(270), "%s d\xE9place %s de %c%i en %c%i");
    EXPECT_EQ(table.getText(0), "Erreur");
}

TEST(LangTable, LookupFallsBackWithoutALoadedTable)
{
    EXPECT_EQ(getLangText(LANG_ERROR), gTextUnavailable);
    TestApplication app;
    EXPECT_EQ(getLangText(LANG_ERROR), "Text unavailable - ApplicationGeneric object not loaded");
}

namespace
{
class LangFileTest : public ::testing::Test
{
protected:
    void SetUp() override { std::filesystem::create_directories(app.directory() + "data/Ressources"); }
    std::string written() const { return app.readFile("data/Ressources/lang.ini"); }
    void writeLangIni(const std::string& bytes) { app.writeFile("data/Ressources/lang.ini", bytes); }
    TestApplication app;
};

size_t countOf(const std::string& text, const std::string& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}
} // namespace

TEST_F(LangFileTest, MissingFileIsWrittenWithEveryTextInIdOrder)
{
    app.lang().resize(161);
    app.lang().setEntry(159, "LANG_GAME_PATH", "data\\saves\\");
    app.lang().setEntry(160, "LANG_GAME_TEXT", "Fin de partie");
    ASSERT_EQ(app.lang().init(), ERROR_OK);
    EXPECT_TRUE(app.lang().isLoaded());
    EXPECT_TRUE(app.lang().getKeys().empty());
    EXPECT_TRUE(app.messages.messages().empty());

    std::string bytes = written();
    EXPECT_EQ(bytes.rfind("LANG_ERROR = Erreur\r\nLANG_MAPI32NOTFOUD = MAPI32.DLL n'a pas \xE9t\xE9 trouv\xE9"
                          "e. La fonction mail sera donc d\xE9sactiv\xE9"
                          "e.\r\n",
                          0),
              0u);
    EXPECT_EQ(countOf(bytes, "\r\n"), 161u);
    EXPECT_EQ(countOf(bytes, "\n"), 161u);
    EXPECT_NE(bytes.find("remedier \xE0 ce probl\xE8me.\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("install\xE9s.\\nInstallez une carte"), std::string::npos);
    EXPECT_NE(bytes.find("\r\nLANG_KEY_CAPSLOCK = Verr. maj.\r\nLANG_GAME_PATH = data\\\\saves\\\\\r\n"
                         "LANG_GAME_TEXT = Fin de partie\r\n"),
              std::string::npos);
    EXPECT_EQ(bytes.size() - bytes.rfind("LANG_GAME_TEXT"),
              std::string("LANG_GAME_TEXT = Fin de partie\r\n").size());
}

TEST_F(LangFileTest, WrittenFileReadsBackToTheSameTexts)
{
    ASSERT_EQ(app.lang().init(), ERROR_OK);
    std::string first = written();
    LangTable again;
    ASSERT_EQ(again.loadFile("data\\Ressources\\lang.ini"), ERROR_OK);
    LangTable reference;
    for (uint32_t id = 0; id < reference.size(); ++id)
        EXPECT_EQ(again.getText(id), reference.getText(id)) << id;
    EXPECT_EQ(written(), first);
    EXPECT_TRUE(app.messages.messages().empty());
}

TEST_F(LangFileTest, PartialFileReplacesOnlyItsKeys)
{
    writeLangIni("// traduction\r\n"
                 "LANG_ERROR = Fehler\r\n"
                 "LANG_INFORMATION=Info\\nZeile\r\n"
                 "LANG_WARNING = \xC0 voir \\t\\\\ fin\n"
                 "LANG_KEY_ESCAPE = \r\n");
    ASSERT_EQ(app.lang().init(), ERROR_OK);
    EXPECT_EQ(getLangText(LANG_ERROR), "Fehler");
    EXPECT_EQ(getLangText(LANG_INFORMATION), "Info\nZeile");
    EXPECT_EQ(getLangText(LANG_WARNING), "\xC0 voir \\t\\ fin");
    EXPECT_EQ(getLangText(LANG_KEY_ESCAPE), "");
    EXPECT_EQ(getLangText(LANG_BUTTON_CAPTION_YES), "Oui");
    EXPECT_EQ(getLangText(LANG_KEY_PRINTSCREEN), "Impr. \xE9"
                                                 "cran");
    // An existing file is never rewritten, even when it lacks keys.
    EXPECT_EQ(written().substr(0, 15), "// traduction\r\n");
    EXPECT_TRUE(app.messages.messages().empty());
}

TEST_F(LangFileTest, FormatTextsReadingOtherArgumentsKeepTheBuiltInText)
{
    writeLangIni("LANG_ERROR_STRING = Erreur %s %s\r\n"
                 "LANG_FATAL_ERROR = Fatal %s: %s\r\n"
                 "LANG_RENDERINGERROR = Rendu %n\r\n"
                 "LANG_TEXTURE_RES_NOT_FOUND = Image %s absente\r\n"
                 "LANG_OUT_OF_MEMORY = Plus de m\xE9moire (100%%)\r\n"
                 "LANG_WARNING = Attention 100%\r\n");
    ASSERT_EQ(app.lang().init(), ERROR_OK);
    EXPECT_EQ(getLangText(LANG_ERROR_STRING), "Erreur %s");
    EXPECT_EQ(getLangText(LANG_FATAL_ERROR), "Fatal %s: %s");
    EXPECT_EQ(getLangText(LANG_RENDERINGERROR), "Erreur de rendu. L'application va maintenant se terminer.");
    EXPECT_EQ(getLangText(LANG_TEXTURE_RES_NOT_FOUND),
              "Impossible de charger l'image resssource %i. L'application va maintenant terminer.");
    EXPECT_EQ(getLangText(LANG_OUT_OF_MEMORY), "Plus de m\xE9moire (100%%)");
    EXPECT_EQ(getLangText(LANG_WARNING), "Attention");
}

TEST_F(LangFileTest, BadLinesAreReportedAndTheRestIsRead)
{
    writeLangIni(
        "pas de signe egal\r\nLANG_INCONNU = x\r\nLANG_ERROR = A\r\nLANG_ERROR = B\r\nLANG_WARNING = W\r\n");
    ASSERT_EQ(app.lang().init(), ERROR_OK);
    EXPECT_EQ(getLangText(LANG_ERROR), "A");
    EXPECT_EQ(getLangText(LANG_WARNING), "W");
    // One report for the file.
    EXPECT_EQ(app.messages.messages().size(), 1u);
}

TEST_F(LangFileTest, InitLoadsOnlyOnce)
{
    ASSERT_EQ(app.lang().init(), ERROR_OK);
    writeLangIni("LANG_ERROR = Fehler\r\n");
    ASSERT_EQ(app.lang().init(), ERROR_OK);
    EXPECT_EQ(getLangText(LANG_ERROR), "Erreur");
}

TEST_F(LangFileTest, LoadedTableServesLookupsAndCaptions)
{
    writeLangIni("LANG_INFORMATION = Renseignement\r\n");
    ASSERT_EQ(app.lang().init(), ERROR_OK);
    EXPECT_EQ(getLangText(LANG_BUTTON_CAPTION_CANCEL), "Annuler");
    showMessage("%i", 5);
    ASSERT_EQ(app.messages.messages().size(), 1u);
    EXPECT_EQ(app.messages.messages()[0].title, "Renseignement");
    EXPECT_EQ(app.messages.messages()[0].text, "5");
}

TEST_F(LangFileTest, ArchivedFileIsReadBeforeTheDisk)
{
    app.writeFile("pack/lang.ini", "LANG_ERROR = Archive\r\n");
    ASSERT_EQ(buildResourceArchive(app.directory() + "data/Ressources.dat", app.directory() + "pack",
                                   "data\\Ressources"),
              ERROR_OK);
    writeLangIni("LANG_ERROR = Disque\r\n");
    FileLookup lookup;
    auto archive = std::make_unique<ResourceArchive>();
    ASSERT_EQ(archive->open("data\\Ressources.dat"), ERROR_OK);
    lookup.addArchive(std::move(archive));
    setActiveFileLookup(&lookup);
    ErrorCode result = app.lang().init();
    setActiveFileLookup(nullptr);
    EXPECT_EQ(result, ERROR_OK);
    EXPECT_EQ(getLangText(LANG_ERROR), "Archive");
}
