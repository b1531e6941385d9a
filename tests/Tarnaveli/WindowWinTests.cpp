// The end-of-game window: the winner's text and sound for each kind of game,
// and the records-table offer when a person beats the computer.
#include "Gui/TextField.h"
#include "MenuTestSupport.h"
#include "Tarnaveli/ScoreListView.h"
#include "Tarnaveli/WindowWin.h"

namespace
{
GameOutcome personBeatsComputer(uint32_t ms)
{
    GameOutcome outcome;
    outcome.winnerSide = 0;
    outcome.playerKind[0] = 0;
    outcome.playerKind[1] = 1;
    outcome.computerLevel = 1;
    outcome.elapsedMs = ms;
    outcome.moves = 31;
    return outcome;
}
} // namespace

TEST(WindowWin, LocalGamesOfOneKindNameTheColourAndPlayNothing)
{
    MenuFixture f;
    GameOutcome outcome;
    outcome.playerKind[0] = outcome.playerKind[1] = 1;
    outcome.winnerSide = 1;
    auto* window = f.open(new WindowWin(outcome, f.game));
    EXPECT_EQ(window->getResultText(), "Le joueur noir a gagn\xE9 la partie !");
    EXPECT_FALSE(window->isRecordCandidate());
    EXPECT_TRUE(f.calls.empty());
    f.clickResult(window, 1);
    EXPECT_EQ(f.calls, Log{"leave []"});
    EXPECT_TRUE(f.layers<ScoreListView>().empty());
    EXPECT_TRUE(f.layers<WindowWin>().empty());
}

TEST(WindowWin, NetworkAndComputerWinsPlayTheirSounds)
{
    MenuFixture f;
    GameOutcome network;
    network.network = true;
    network.winnerIsLocal = true;
    EXPECT_EQ(WindowWin(network, f.game).getResultText(), getLangText(LANG_WINDOW_WIN_YOU));
    network.winnerIsLocal = false;
    EXPECT_EQ(WindowWin(network, f.game).getResultText(), getLangText(LANG_WINDOW_WIN_ADVERS));
    GameOutcome lost = personBeatsComputer(1000);
    lost.winnerSide = 1;
    WindowWin computer(lost, f.game);
    EXPECT_EQ(computer.getResultText(), getLangText(LANG_WINDOW_WIN_COMPUTER));
    EXPECT_FALSE(computer.isRecordCandidate());
    EXPECT_EQ(f.calls, (Log{"sound 7", "sound 8", "sound 8"}));
}

TEST(WindowWin, AFastWinAsksANameAndOkEntersItInTheComputersLevel)
{
    MenuFixture f;
    auto* window = f.open(new WindowWin(personBeatsComputer(60000), f.game));
    EXPECT_EQ(f.calls, Log{"sound 7"});
    ASSERT_TRUE(window->isRecordCandidate());
    ASSERT_NE(window->getNameField(), nullptr);
    window->getNameField()->setText("Zo\xE9");
    f.clickResult(window, 1);

    const auto& level = f.table.getCategory(1);
    ASSERT_FALSE(level.empty());
    auto* entry = static_cast<const ScoreEntry*>(level[0].get());
    EXPECT_EQ(entry->mName, "Zo\xE9");
    EXPECT_EQ(entry->mTime, 60000u);
    EXPECT_EQ(entry->mMoves, 31u);
    EXPECT_TRUE(std::filesystem::exists(f.directory.path() + "data/score.dat"));
    auto* scores = f.only<ScoreListView>();
    ASSERT_NE(scores, nullptr);
    EXPECT_EQ(scores->getHighlightRow(), 0);
    EXPECT_EQ(f.calls, (Log{"sound 7", "leave []"}));
}

TEST(WindowWin, ASlowWinAsksNoNameAndOkShowsTheLevelUnmarked)
{
    MenuFixture f;
    ScoreEntry fast;
    fast.mTime = 1000;
    for (uint32_t i = 0; i < ScoreTable::MAX_ENTRIES; ++i)
        f.table.insert(fast, 1);
    auto* window = f.open(new WindowWin(personBeatsComputer(3600000), f.game));
    EXPECT_TRUE(window->isRecordCandidate());
    EXPECT_EQ(window->getNameField(), nullptr);
    f.clickResult(window, 1);
    auto* scores = f.only<ScoreListView>();
    ASSERT_NE(scores, nullptr);
    EXPECT_EQ(scores->getHighlightRow(), -1);
    EXPECT_EQ(scores->getListContainer()->getChildren().size(), ScoreTable::MAX_ENTRIES);
}

TEST(WindowWin, CancelLeavesWithoutEnteringTheRecord)
{
    MenuFixture f;
    auto* window = f.open(new WindowWin(personBeatsComputer(60000), f.game));
    ASSERT_NE(window->getNameField(), nullptr);
    f.clickResult(window, 8);
    EXPECT_TRUE(f.table.getCategory(1).empty());
    EXPECT_TRUE(f.layers<ScoreListView>().empty());
    EXPECT_EQ(f.calls, (Log{"sound 7", "leave []"}));
}

TEST(WindowWin, EnterAfterTypingTheNameEntersTheRecordAndEscapeCancels)
{
    for (uint32_t key : {KEY_ENTER, KEY_ESCAPE})
    {
        MenuFixture f;
        f.useGameDialogLook();
        auto* window = f.open(new WindowWin(personBeatsComputer(60000), f.game));
        ASSERT_NE(window->getNameField(), nullptr);
        f.app.key(KEY_Z, "Z");
        f.app.key(key, key == KEY_ENTER ? "\r" : "\x1B");
        f.app.gui().processDeferred();
        EXPECT_TRUE(f.layers<WindowWin>().empty()) << key;
        const auto& level = f.table.getCategory(1);
        if (key == KEY_ESCAPE)
        {
            EXPECT_TRUE(level.empty());
            continue;
        }
        ASSERT_EQ(level.size(), 1u);
        EXPECT_EQ(static_cast<const ScoreEntry*>(level[0].get())->mName, "Z");
    }
}

TEST(WindowWin, EchapLeavesTheScoresWithoutOfferingTheReset)
{
    MenuFixture f;
    f.useGameDialogLook();
    f.open(new WindowWin(personBeatsComputer(60000), f.game));
    f.app.key(KEY_ENTER, "\r");
    f.app.gui().processDeferred();
    ASSERT_NE(f.only<ScoreListView>(), nullptr);
    f.app.key(KEY_ESCAPE, "\x1B");
    f.app.gui().processDeferred();
    EXPECT_TRUE(f.layers<ScoreListView>().empty());
    EXPECT_TRUE(f.layers<MessageDialog>().empty()) << "no reset question";
    EXPECT_EQ(f.table.getCategory(1).size(), 1u);
}
