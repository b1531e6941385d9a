// The language table: built-in texts, growth and the text lookup.
#include "Framework/FormatCheck.h"
#include "Framework/LangTable.h"
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
