// The main menu and its unfolding buttons: where each button leads, which
// actions close the menu, and the first-game tutorial offer.
#include "MenuTestSupport.h"
#include "Tarnaveli/OnlineGameWindow.h"
#include "Tarnaveli/ScoreListView.h"
#include "Tarnaveli/WindowAskTutorial.h"
#include "Tarnaveli/WindowHelp.h"
#include "Tarnaveli/WindowMenu.h"
#include "Tarnaveli/WindowNewGame.h"

namespace
{
struct MainMenu : MenuFixture
{
    WindowMenu* menu = nullptr;

    explicit MainMenu(bool firstGame = false)
    {
        setup.mFirstGame = firstGame;
        menu = WindowMenu::openNew(game);
        app.gui().processDeferred();
        // Fully unfolded.
        app.frame(2000);
    }
    void press(uint32_t entry) { clickOn(menu->getMenuButton(entry)); }
    bool menuOpen() { return !layers<WindowMenu>().empty(); }
};
} // namespace

TEST(MenuWindowBase, ButtonsUnfoldOneAfterAnotherAndSettleAt1600Ms)
{
    MenuFixture f;
    auto* menu = f.open(new WindowMenu(f.game));
    MenuButton* first = menu->getMenuButton(0);
    MenuButton* last = menu->getMenuButton(7);

    f.app.frame(0);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->getWidth(), 1);
    EXPECT_EQ(first->getHeight(), 1);
    EXPECT_EQ(first->getColor() >> 24, 0u);
    EXPECT_FALSE(last->isVisible());

    f.app.frame(699);
    EXPECT_FALSE(last->isVisible());
    f.app.frame(1);
    EXPECT_TRUE(last->isVisible());
    // Still growing, the first button stays centred on its place.
    const int32_t centreX = first->getX() + first->getWidth() / 2;
    EXPECT_NEAR(centreX, menu->getX() + menu->getMarginLeft() + 300, 1);

    f.app.frame(899);
    EXPECT_FALSE(menu->isUnfolded());
    f.app.frame(1);
    EXPECT_TRUE(menu->isUnfolded());
    for (uint32_t i = 0; i < WindowMenu::BUTTON_COUNT; ++i)
    {
        MenuButton* button = menu->getMenuButton(i);
        EXPECT_EQ(button->getWidth(), 208) << i;
        EXPECT_EQ(button->getHeight(), 54) << i;
        EXPECT_EQ(button->getColor(), 0xFFFFFFFFu) << i;
        EXPECT_EQ(button->getX() - menu->getX() - menu->getMarginLeft(), 196) << i;
        EXPECT_EQ(button->getY() - menu->getY() - menu->getMarginTop(), static_cast<int32_t>(i) * 62 + 46)
            << i;
    }
    EXPECT_EQ(menu->getWidth() - menu->getMarginLeft() - menu->getMarginRight(), 600);
    EXPECT_EQ(menu->getHeight() - menu->getMarginTop() - menu->getMarginBottom(), 8 * 62 + 46);
    EXPECT_EQ(f.calls, Log{"video on"});
}

TEST(WindowMenu, ButtonsCarryTheirSkinPicturesAndInfotips)
{
    MainMenu f;
    const uint32_t skins[] = {37, 38, 39, 40, 41, 42, 43, 44};
    const uint32_t tips[] = {184, 186, 188, 190, 196, 194, 198, 200};
    for (uint32_t i = 0; i < WindowMenu::BUTTON_COUNT; ++i)
    {
        EXPECT_EQ(f.menu->getMenuButton(i)->getSkinTextureId(), skins[i]);
        EXPECT_EQ(f.menu->getMenuButton(i)->getInfotipText(), getLangText(tips[i]));
    }
    EXPECT_EQ(getLangText(LANG_WINDOW_MENU_QUIT_INFOTIP), "Quitte le jeu et retourne sous Windows.");
}

TEST(WindowMenu, TutorialClosesTheMenuAndStartsAPersonAgainstTheEasyComputer)
{
    MainMenu f;
    f.press(WindowMenu::TUTORIAL);
    EXPECT_FALSE(f.menuOpen());
    ASSERT_EQ(f.games.size(), 1u);
    EXPECT_EQ(f.games[0].playerKind[0], 0u);
    EXPECT_EQ(f.games[0].playerKind[1], 1u);
    EXPECT_EQ(f.games[0].level, 0u);
    EXPECT_TRUE(f.games[0].tutorial);
}

TEST(WindowMenu, SoloAndNetworkOpenTheirWindowsOnceTheFirstGameIsPast)
{
    {
        MainMenu f;
        f.press(WindowMenu::SOLO);
        EXPECT_FALSE(f.menuOpen());
        EXPECT_NE(f.only<WindowNewGame>(), nullptr);
        EXPECT_TRUE(f.layers<WindowAskTutorial>().empty());
    }
    {
        MainMenu f;
        f.press(WindowMenu::MULTI);
        EXPECT_FALSE(f.menuOpen());
        EXPECT_EQ(f.calls, (Log{"video on", "network menu"}));
    }
}

TEST(WindowMenu, TheFirstGameOffersTheTutorialInTheRightMode)
{
    {
        MainMenu f(true);
        f.press(WindowMenu::SOLO);
        auto* ask = f.only<WindowAskTutorial>();
        ASSERT_NE(ask, nullptr);
        EXPECT_EQ(ask->getMode(), WindowAskTutorial::MODE_SOLO);
        EXPECT_TRUE(f.layers<WindowNewGame>().empty());
    }
    {
        MainMenu f(true);
        f.press(WindowMenu::MULTI);
        auto* ask = f.only<WindowAskTutorial>();
        ASSERT_NE(ask, nullptr);
        EXPECT_EQ(ask->getMode(), WindowAskTutorial::MODE_NETWORK);
        EXPECT_EQ(f.calls, Log{"video on"});
    }
}

TEST(WindowMenu, LoadScoresOptionsAndHelpOpenOverTheMenu)
{
    MainMenu f;
    f.setup.mLastPlayerType1 = 1;
    f.setup.mLastComputerDiff1 = 2;
    f.setup.mLastComputerDiff0 = 1;
    ScoreEntry record;
    record.mName = "Max";
    f.table.insert(record, 2);

    f.press(WindowMenu::LOAD);
    f.press(WindowMenu::OPTIONS);
    EXPECT_EQ(f.calls, (Log{"video on", "load", "options"}));
    f.press(WindowMenu::SCORES);
    auto* scores = f.only<ScoreListView>();
    ASSERT_NE(scores, nullptr);
    // The hard level, where the one record is.
    EXPECT_EQ(scores->getListContainer()->getChildren().size(), 1u);
    EXPECT_EQ(scores->getHighlightRow(), -1);
    scores->close();
    f.app.gui().processDeferred();

    f.press(WindowMenu::HELP);
    EXPECT_NE(f.only<WindowHelp>(), nullptr);
    EXPECT_TRUE(f.menuOpen());
}

TEST(WindowMenu, QuitStopsTheVideoBeforeQuitting)
{
    MainMenu f;
    f.press(WindowMenu::QUIT);
    EXPECT_FALSE(f.menuOpen());
    EXPECT_EQ(f.calls, (Log{"video on", "video off", "quit"}));
}
