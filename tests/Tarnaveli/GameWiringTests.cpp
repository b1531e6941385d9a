// How the network windows reach the screens and widgets that serve them.
#include "GameScreenFixture.h"
#include "Gui/ContainerLift.h"
#include "Tarnaveli/Board/PlayerKinds.h"
#include "Tarnaveli/WindowPrepareGame.h"

#include <gtest/gtest.h>

TEST(GameWiring, TheWaitingWindowStartsANetworkScreenWithTheHostAsWhite)
{
    GameScreenFixture fixture;
    GameScreen* screen = GameScreen::startNetworkGame(
        fixture.game, std::make_unique<NetworkPlayer>(PLAYER_NETWORK_LOCAL, 0, fixture.peer.local.get()),
        std::make_unique<NetworkPlayer>(PLAYER_NETWORK_REMOTE, 1, fixture.peer.remote.get()));
    fixture.app.gui().processDeferred();

    ASSERT_EQ(GameScreen::current(), screen);
    EXPECT_TRUE(fixture.hasLayer(screen));
    EXPECT_TRUE(screen->isNetworkGame());
    EXPECT_EQ(screen->getBoard()->getPlayer(0)->getKind(), PLAYER_NETWORK_LOCAL);
    EXPECT_EQ(screen->getBoard()->getPlayer(1)->getKind(), PLAYER_NETWORK_REMOTE);
    // A network game has its chat from the start.
    EXPECT_NE(screen->getChatPanelWidget(), nullptr);
}

TEST(GameWiring, TheWaitingWindowsChatPanelShowsItsNoticesAndReceivesChat)
{
    GameScreenFixture fixture;
    WaitingChatPanel parts = ChatPanel::makeWaitingPanel(10, 20, 300, 200);
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
}

TEST(GameWiring, ReceivedMessagesFindNoWaitingWindowWhenNoneIsOpen)
{
    GameScreenFixture fixture;
    ASSERT_NE(getNetworkGameLinks(), nullptr);
    EXPECT_EQ(WindowPrepareGame::current(), nullptr);
    EXPECT_EQ(getNetworkGameLinks()->getWaitingWindow(), nullptr);
}
