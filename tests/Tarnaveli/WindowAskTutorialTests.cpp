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
        auto* ask = f.open(new WindowAskTutorial(mode));
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
        auto* ask = f.open(new WindowAskTutorial(WindowAskTutorial::MODE_SOLO));
        f.clickResult(ask, 4);
        EXPECT_TRUE(f.layers<WindowAskTutorial>().empty());
        EXPECT_NE(f.only<WindowNewGame>(), nullptr);
        EXPECT_TRUE(f.games.empty());
    }
    {
        MenuFixture f;
        auto* ask = f.open(new WindowAskTutorial(WindowAskTutorial::MODE_NETWORK));
        f.clickResult(ask, 4);
        EXPECT_TRUE(f.layers<WindowAskTutorial>().empty());
        EXPECT_EQ(f.calls, Log{"network menu"});
    }
}
