// The in-game menu: what network games and finished games may not do, and
// the way back to the board or to the main menu.
#include "MenuTestSupport.h"
#include "Tarnaveli/ScoreListView.h"
#include "Tarnaveli/WindowGameMenu.h"

namespace
{
WindowGameMenu* openGameMenu(MenuFixture& f)
{
    auto* menu = f.open(new WindowGameMenu(f.game));
    f.app.frame(2000);
    return menu;
}
} // namespace

TEST(WindowGameMenu, ALocalGameInProgressOffersEverythingAndPlaysNoVideo)
{
    MenuFixture f;
    WindowGameMenu* menu = openGameMenu(f);
    EXPECT_EQ(menu->getHeight() - menu->getMarginTop() - menu->getMarginBottom(), 6 * 62 + 6);
    f.clickOn(menu->getMenuButton(WindowGameMenu::LOAD));
    f.clickOn(menu->getMenuButton(WindowGameMenu::SAVE));
    f.clickOn(menu->getMenuButton(WindowGameMenu::OPTIONS));
    EXPECT_EQ(f.calls, (Log{"load in game", "save", "options"}));
    f.clickOn(menu->getMenuButton(WindowGameMenu::SCORES));
    EXPECT_NE(f.only<ScoreListView>(), nullptr);
}

TEST(WindowGameMenu, NetworkGamesCannotLoadOrSaveAndFinishedGamesCannotSave)
{
    {
        MenuFixture f;
        f.network = true;
        WindowGameMenu* menu = openGameMenu(f);
        EXPECT_FALSE(menu->getMenuButton(WindowGameMenu::LOAD)->isEnabled());
        EXPECT_FALSE(menu->getMenuButton(WindowGameMenu::SAVE)->isEnabled());
        f.clickOn(menu->getMenuButton(WindowGameMenu::LOAD));
        f.clickOn(menu->getMenuButton(WindowGameMenu::SAVE));
        EXPECT_TRUE(f.calls.empty());
    }
    {
        MenuFixture f;
        f.gameOver = true;
        WindowGameMenu* menu = openGameMenu(f);
        EXPECT_TRUE(menu->getMenuButton(WindowGameMenu::LOAD)->isEnabled());
        EXPECT_FALSE(menu->getMenuButton(WindowGameMenu::SAVE)->isEnabled());
    }
}

TEST(WindowGameMenu, ContinueAndAbortCloseTheMenuAndGiveTheBoardItsButtonsBack)
{
    {
        MenuFixture f;
        WindowGameMenu* menu = openGameMenu(f);
        f.clickOn(menu->getMenuButton(WindowGameMenu::CONTINUE));
        EXPECT_TRUE(f.layers<WindowGameMenu>().empty());
        EXPECT_EQ(f.calls, Log{"board buttons back"});
    }
    {
        MenuFixture f;
        WindowGameMenu* menu = openGameMenu(f);
        f.clickOn(menu->getMenuButton(WindowGameMenu::ABORT));
        EXPECT_TRUE(f.layers<WindowGameMenu>().empty());
        EXPECT_EQ(f.calls, (Log{"leave []", "board buttons back"}));
    }
}
