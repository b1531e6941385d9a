// The new-game window: the level panel's visibility, what OK stores and
// starts, and the way back to the main menu.
#include "Gui/CheckBox.h"
#include "Gui/ComboBox.h"
#include "MenuTestSupport.h"
#include "Tarnaveli/DifficultySelector.h"
#include "Tarnaveli/WindowMenu.h"
#include "Tarnaveli/WindowNewGame.h"

TEST(WindowNewGame, TheLevelPanelShowsWhileEitherSideIsTheComputer)
{
    MenuFixture f;
    f.setup.mLastPlayerType0 = 0;
    f.setup.mLastPlayerType1 = 0;
    f.setup.mLastComputerDiff0 = 2;
    auto* window = f.open(new WindowNewGame(f.game));
    EXPECT_FALSE(window->getLevelPanel()->isVisible());
    EXPECT_EQ(window->getSelector()->getValue(), 2u);
    EXPECT_EQ(window->getLevelPanel()->getX() - window->getX() - window->getMarginLeft() -
                  window->getContentLeft(),
              330);

    window->getPlayerCombo(1)->setSelectedIndex(1);
    window->getPlayerCombo(1)->onChange.invoke(window->getPlayerCombo(1));
    EXPECT_TRUE(window->getLevelPanel()->isVisible());
    window->getPlayerCombo(1)->setSelectedIndex(0);
    window->getPlayerCombo(1)->onChange.invoke(window->getPlayerCombo(1));
    EXPECT_FALSE(window->getLevelPanel()->isVisible());
}

TEST(WindowNewGame, OkStoresTheChoicesAndStartsTheGameAtTheOneLevel)
{
    MenuFixture f;
    f.setup.mLastPlayerType0 = 1;
    f.setup.mLastPlayerType1 = 1;
    f.setup.mLastComputerDiff0 = 0;
    f.setup.mLastComputerDiff1 = 2;
    auto* window = f.open(new WindowNewGame(f.game));
    EXPECT_TRUE(window->getLevelPanel()->isVisible());
    f.clickOn(window->getSelector()->getLevelButton(1));
    f.clickResult(window, 1);

    EXPECT_TRUE(f.layers<WindowNewGame>().empty());
    ASSERT_EQ(f.games.size(), 1u);
    EXPECT_EQ(f.games[0].playerKind[0], 1u);
    EXPECT_EQ(f.games[0].playerKind[1], 1u);
    EXPECT_EQ(f.games[0].level, 1u);
    EXPECT_FALSE(f.games[0].tutorial);
    EXPECT_EQ(f.setup.mLastComputerDiff0, 1);
    // The black computer's stored level is not this window's.
    EXPECT_EQ(f.setup.mLastComputerDiff1, 2);
    EXPECT_EQ(f.setup.mLastPlayerType0, 1);
    EXPECT_TRUE(f.layers<WindowMenu>().empty());
}

TEST(WindowNewGame, CancelReturnsToTheMainMenuWithoutAGame)
{
    MenuFixture f;
    auto* window = f.open(new WindowNewGame(f.game));
    f.clickResult(window, 8);
    EXPECT_TRUE(f.layers<WindowNewGame>().empty());
    EXPECT_NE(f.only<WindowMenu>(), nullptr);
    EXPECT_TRUE(f.games.empty());
}
