// How the menus and the network windows reach the windows and screens that
// serve them once the game has installed its hooks.
#include "GameScreenFixture.h"
#include "Gui/ContainerLift.h"
#include "Tarnaveli/Board/PlayerKinds.h"
#include "Tarnaveli/MenuHooks.h"
#include "Tarnaveli/NetworkWindowHooks.h"
#include "Tarnaveli/WindowPrepareGame.h"

#include <gtest/gtest.h>

TEST(GameWiring, TheWaitingWindowStartsANetworkScreenWithTheHostAsWhite)
{
    GameScreenFixture fixture;
    GameScreen::installWindowHooks();
    ASSERT_TRUE(networkWindowHooks().startNetworkGame);
    networkWindowHooks().startNetworkGame(
        std::make_unique<NetworkPlayer>(PLAYER_NETWORK_LOCAL, 0, fixture.peer.local.get()),
        std::make_unique<NetworkPlayer>(PLAYER_NETWORK_REMOTE, 1, fixture.peer.remote.get()));
    fixture.app.gui().processDeferred();

    GameScreen* screen = GameScreen::current();
    ASSERT_NE(screen, nullptr);
    EXPECT_TRUE(fixture.hasLayer(screen));
    EXPECT_TRUE(screen->isNetworkGame());
    EXPECT_EQ(screen->getBoard()->getPlayer(0)->getKind(), PLAYER_NETWORK_LOCAL);
    EXPECT_EQ(screen->getBoard()->getPlayer(1)->getKind(), PLAYER_NETWORK_REMOTE);
    // A network game has its chat from the start.
    EXPECT_NE(screen->getChatPanelWidget(), nullptr);
    networkWindowHooks() = NetworkWindowHooks();
    menuHooks() = MenuHooks{};
}

TEST(GameWiring, TheWaitingWindowsChatPanelShowsItsNoticesAndReceivesChat)
{
    GameScreenFixture fixture;
    GameScreen::installWindowHooks();
    ASSERT_TRUE(networkWindowHooks().createChatPanel);
    WaitingChatPanel parts = networkWindowHooks().createChatPanel(10, 20, 300, 200);
    auto* panel = dynamic_cast<ChatPanel*>(parts.widget);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(parts.receiver, static_cast<NetworkChatPanel*>(panel));
    EXPECT_EQ(panel->getX(), 10);
    EXPECT_EQ(panel->getY(), 20);
    ASSERT_TRUE(parts.append);
    const uint32_t before = panel->getList()->getRowCount();
    parts.append("Bruno a rejoint la partie", 0xFF808000);
    EXPECT_EQ(panel->getList()->getRowCount(), before + 1);
    delete panel;
    networkWindowHooks() = NetworkWindowHooks();
    menuHooks() = MenuHooks{};
}

TEST(GameWiring, ReceivedMessagesFindNoWaitingWindowWhenNoneIsOpen)
{
    GameScreenFixture fixture;
    // The fixture cleared the screen's hooks: installing the links again
    // gives the waiting-window link its default.
    GameScreen::installLinks();
    ASSERT_TRUE(GameScreen::hooks().waitingWindow);
    ASSERT_NE(getNetworkGameLinks(), nullptr);
    EXPECT_EQ(WindowPrepareGame::current(), nullptr);
    EXPECT_EQ(getNetworkGameLinks()->getWaitingWindow(), nullptr);
    networkWindowHooks() = NetworkWindowHooks();
    menuHooks() = MenuHooks{};
}

TEST(GameWiring, MenuWindowsNeedingTheRunningGameOpenNothingWithoutIt)
{
    GameScreenFixture fixture;
    installMenuHooks();
    MenuHooks& hooks = menuHooks();
    ASSERT_TRUE(hooks.openOptions);
    ASSERT_TRUE(hooks.openJoinWindow);
    ASSERT_TRUE(hooks.openWaitingWindow);
    const size_t layers = fixture.app.root().getChildren().size();
    hooks.openOptions();
    hooks.openJoinWindow();
    hooks.openWaitingWindow(true);
    fixture.app.gui().processDeferred();
    EXPECT_EQ(fixture.app.root().getChildren().size(), layers);
    menuHooks() = MenuHooks{};
}
