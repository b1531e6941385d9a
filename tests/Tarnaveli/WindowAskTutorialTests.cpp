// The first-game question: OK starts the tutorial, the other answer goes on
// to the window the player asked for.
#include "MenuTestSupport.h"
#include "Tarnaveli/WindowAskTutorial.h"
#include "Tarnaveli/WindowNewGame.h"

TEST(WindowAskTutorial, OkStartsTheTutorialInEitherMode)
{
    for (uint32_t mode : {WindowAskTutorial::MODE_SOLO, WindowAskTutorial::MODE_NETWORK})
    {
        MenuFixture f;
        auto* ask = f.open(new WindowAskTutorial(mode, f.game));
        f.clickResult(ask, 1);
        EXPECT_TRUE(f.layers<WindowAskTutorial>().empty());
        EXPECT_TRUE(f.layers<WindowNewGame>().empty());
        ASSERT_EQ(f.games.size(), 1u);
        EXPECT_TRUE(f.games[0].tutorial);
        EXPECT_TRUE(f.calls.empty());
    }
}

TEST(WindowAskTutorial, NoGoesToTheNewGameWindowOrTheNetworkMenu)
{
    {
        MenuFixture f;
        auto* ask = f.open(new WindowAskTutorial(WindowAskTutorial::MODE_SOLO, f.game));
        f.clickResult(ask, 4);
        EXPECT_TRUE(f.layers<WindowAskTutorial>().empty());
        EXPECT_NE(f.only<WindowNewGame>(), nullptr);
        EXPECT_TRUE(f.games.empty());
    }
    {
        MenuFixture f;
        auto* ask = f.open(new WindowAskTutorial(WindowAskTutorial::MODE_NETWORK, f.game));
        f.clickResult(ask, 4);
        EXPECT_TRUE(f.layers<WindowAskTutorial>().empty());
        EXPECT_EQ(f.calls, Log{"network menu"});
    }
}

TEST(WindowAskTutorial, EnterAnswersYesAndEscapeNo)
{
    for (uint32_t key : {KEY_ENTER, KEY_ESCAPE})
    {
        MenuFixture f;
        f.useGameDialogLook();
        f.open(new WindowAskTutorial(WindowAskTutorial::MODE_SOLO, f.game));
        f.app.key(key);
        f.app.gui().processDeferred();
        EXPECT_TRUE(f.layers<WindowAskTutorial>().empty()) << key;
        EXPECT_EQ(f.games.size(), key == KEY_ENTER ? 1u : 0u) << key;
        EXPECT_EQ(f.layers<WindowNewGame>().size(), key == KEY_ESCAPE ? 1u : 0u) << key;
    }
}
