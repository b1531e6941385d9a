// The game's language entries: ids, keys, exact Windows-1252 texts, and that
// every text the program may format with is a sound format.
#include "Framework/FormatCheck.h"
#include "Framework/LangTable.h"
#include "Platform/System/MessageSink.h"
#include "Platform/System/Paths.h"
#include "Tarnaveli/GameLang.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>

TEST(GameTexts, FillIds159To330InOrderWithUniqueKeys)
{
    std::set<std::string> keys;
    LangTable table;
    for (uint32_t id = 0; id < table.size(); ++id)
        keys.insert(table.getKeys()[id]);
    uint32_t previous = LANG_FRAMEWORK_TEXT_COUNT - 1;
    for (const GameText& entry : gameTexts())
    {
        EXPECT_GT(entry.id, previous);
        previous = entry.id;
        EXPECT_TRUE(std::string(entry.key).starts_with("LANG_")) << entry.key;
        EXPECT_TRUE(keys.insert(entry.key).second) << entry.key;
    }
    EXPECT_EQ(gameTexts().front().id, 159u);
    EXPECT_EQ(gameTexts().back().id, 330u);
    // Everything but the two unused ids.
    EXPECT_EQ(gameTexts().size(), 330u - 159u + 1u - 2u);
}

TEST(GameTexts, EveryTextIsAValidFormatAndTheFormatTextsReadWhatTheirCallersPass)
{
    for (const GameText& entry : gameTexts())
        EXPECT_TRUE(formatArguments(entry.text)) << entry.id << " " << entry.key;
    EXPECT_EQ(formatArguments(gameTexts()[0].text), "");
    auto argumentsOf = [](uint32_t id)
    {
        for (const GameText& entry : gameTexts())
            if (entry.id == id)
                return formatArguments(entry.text).value_or("?");
        return std::string("missing");
    };
    EXPECT_EQ(argumentsOf(LANG_MOVE_DESCRIPTION), "s s i i i i ");
    EXPECT_EQ(argumentsOf(LANG_WINDOW_MORVEX_GAMES_CONNECTING), "i i ");
    EXPECT_EQ(argumentsOf(LANG_WINDOW_MORVEX_GAMES_LISTING_REMOTE_GAME), "i i ");
    EXPECT_EQ(argumentsOf(LANG_NETWORK_PLAYER_JOINED_GAME), "s ");
    EXPECT_EQ(argumentsOf(LANG_TUTORIAL_ADVERSE_CAN_EAT), "s s ");
    EXPECT_EQ(argumentsOf(LANG_TUTORIAL_CANJUMP), "s ");
}

TEST(GameTexts, RegisteredTextsAreTheExactWindows1252Defaults)
{
    LangTable table;
    registerGameTexts(table);
    ASSERT_EQ(table.size(), 331u);
    EXPECT_EQ(table.getKeys()[LANG_WINDOW_WIN_TITLE], "LANG_WINDOW_WIN_TITLE");
    EXPECT_EQ(table.getText(LANG_WINDOW_WIN_TITLE), "Fin de partie");
    EXPECT_EQ(table.getText(LANG_PION_NAME_PANTHERE), "panth\xE8re");
    EXPECT_EQ(table.getText(LANG_THE_PION_NAME_ELEPHANT), "l'\xE9l\xE9phant");
    // Typographic apostrophes are Windows-1252 0x92, kept as the system has them.
    EXPECT_EQ(table.getText(LANG_WINDOW_MORVEX_GAMES_WAITING_OPONENT),
              "En attente d\x92\xEAtre mis en relation avec un adversaire.");
    // Typos stay.
    EXPECT_EQ(table.getText(LANG_NETWORK_INTERNET_GAME_UNLISTABLE),
              "Impossible de liester les partie sur l'ordinateur de l'adversaire.");
    EXPECT_EQ(table.getText(LANG_SAVEGAME_FILTER), "Sauvergardes de Velmorique");
    // Trailing blanks stay.
    EXPECT_EQ(table.getText(LANG_GAME_NAME), "Partie de ");
    EXPECT_EQ(table.getText(LANG_WINDOW_OPTION_PION_MODEL), "Mod\xE8le de pions : ");
    EXPECT_EQ(table.getText(LANG_ERROR_NO_ERROR), "");
    EXPECT_EQ(table.getText(LANG_ID), "FR");
    EXPECT_EQ(table.getText(328), "");
    EXPECT_EQ(table.getText(329), "");
    // The piece descriptions are one paragraph each.
    for (uint32_t id = LANG_PION_DESC_RAT; id <= LANG_PION_DESC_ELEPHANT; ++id)
    {
        EXPECT_GT(table.getText(id).size(), 80u) << id;
        EXPECT_EQ(table.getText(id).find('\n'), std::string::npos) << id;
    }
    EXPECT_TRUE(table.getText(LANG_PION_DESC_RAT)
                    .starts_with("Le rat est la plus petite cr\xE9"
                                 "ature et il peut \xEAtre d\xE9vor\xE9 par "
                                 "toutes les autres pi\xE8"
                                 "ces du jeu."));
    EXPECT_EQ(table.getText(LANG_PION_DESC_ELEPHANT),
              "L'\xE9l\xE9phant est la pi\xE8"
              "ce la plus puissante du jeu et il peut manger toutes les autres "
              "pi\xE8"
              "ces. Seul le rat qui est la plus petite cr\xE9"
              "ature du jeu, et l'\xE9l\xE9phant adverse "
              "repr\xE9sentent un danger pour lui.");
}

TEST(GameTexts, EmptyLanguageFileKeepsEveryDefaultAndAWrittenFileReadsBack)
{
    Platform::TemporaryDirectory folder;
    Platform::setProgramDirectory(folder.path());
    {
        std::ofstream(folder.path() + "/empty.ini");
    }
    LangTable table;
    registerGameTexts(table);
    ASSERT_EQ(table.loadFile("empty.ini"), 0u);
    for (const GameText& entry : gameTexts())
        EXPECT_EQ(table.getText(entry.id), entry.text) << entry.id;

    // A missing file is written whole; read back, nothing changes and no line
    // is refused.
    LangTable writer;
    registerGameTexts(writer);
    ASSERT_EQ(writer.loadFile("lang.ini"), 0u);
    Platform::ScopedMessageCapture messages;
    LangTable reader;
    registerGameTexts(reader);
    ASSERT_EQ(reader.loadFile("lang.ini"), 0u);
    EXPECT_TRUE(messages.messages().empty());
    for (uint32_t id = 0; id < reader.size(); ++id)
        EXPECT_EQ(reader.getText(id), writer.getText(id)) << id;
}
