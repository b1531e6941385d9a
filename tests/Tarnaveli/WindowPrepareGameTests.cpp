// The waiting window between two peers on this machine: Launch only with two
// players, both sides starting the game with the host as white, and an
// opponent who goes away.
#include "NetworkWindowTestSupport.h"

#include "Framework/LangTable.h"
#include "Gui/Label.h"
#include "Tarnaveli/Board/Player.h"
#include "Tarnaveli/GameLang.h"

TEST(WindowPrepareGame, AloneTheHostSeesAnEmptySlotAndCannotLaunch)
{
    TestPeer host{"Alice"};
    NetworkWindowFixture f;
    {
        std::scoped_lock guard(host.peer);
        ASSERT_EQ(host.peer.host("Partie", 2), ERROR_OK);
    }
    auto* window = openNow(f.app, new WindowPrepareGame(host.peer));
    ASSERT_EQ(window->getRows().size(), 2u);
    EXPECT_TRUE(f.frames([&] { window->update(); },
                         [&] { return window->getRows()[0]->getTextObject()->getText() == "Alice"; }))
        << window->getRows()[0]->getTextObject()->getText();
    EXPECT_EQ(window->getRows()[1]->getTextObject()->getText(), getLangText(LANG_WINDOWPREPAREGAME_NOPLAYER));
    EXPECT_EQ(window->getRows()[1]->getColor(), 0xFF808080u);
    EXPECT_FALSE(window->isLaunchEnabled());
    window->onResult(1);
    EXPECT_FALSE(window->isGameStarted());
    EXPECT_TRUE(f.games.empty());
}

TEST(WindowPrepareGame, LaunchStartsTheGameOnBothSidesWithTheHostAsWhite)
{
    JoinedGame game;
    ASSERT_TRUE(game.join());
    game.hostWindow->onResult(1);
    ASSERT_EQ(game.f.games.size(), 1u);
    EXPECT_EQ(game.f.games[0].whiteKind, uint32_t{PLAYER_NETWORK_LOCAL});
    EXPECT_EQ(game.f.games[0].blackKind, uint32_t{PLAYER_NETWORK_REMOTE});
    EXPECT_EQ(game.f.games[0].whiteInfo, game.host.peer.getLocalPlayer());
    ASSERT_TRUE(
        game.f.frames([&] { game.joinerWindow->update(); }, [&] { return game.f.games.size() == 2; }));
    EXPECT_EQ(game.f.games[1].whiteKind, uint32_t{PLAYER_NETWORK_REMOTE});
    EXPECT_EQ(game.f.games[1].blackKind, uint32_t{PLAYER_NETWORK_LOCAL});
    EXPECT_EQ(game.f.games[1].blackInfo, game.joiner.peer.getLocalPlayer());
    ASSERT_NE(game.f.games[1].whiteInfo, nullptr);
    EXPECT_EQ(game.f.games[1].whiteInfo->getName(), "Alice");
    // Both windows closed.
    game.f.app.gui().processDeferred();
    EXPECT_EQ(WindowPrepareGame::current(), nullptr);
}

TEST(WindowPrepareGame, TheHostSeesALostOpponentLeaveAndLaunchTurnsOff)
{
    JoinedGame game;
    ASSERT_TRUE(game.join());
    {
        std::scoped_lock guard(game.joiner.peer);
        ASSERT_EQ(game.joiner.peer.closeSession(), ERROR_OK);
    }
    ASSERT_TRUE(game.f.frames([&] { game.hostWindow->update(); },
                              [&] { return !game.hostWindow->isLaunchEnabled(); }));
    EXPECT_EQ(game.hostWindow->getRows()[1]->getTextObject()->getText(),
              getLangText(LANG_WINDOWPREPAREGAME_NOPLAYER));
    EXPECT_EQ(game.hostWindow->getRows()[1]->getColor(), 0xFF808080u);
    ASSERT_FALSE(game.hostWindow->getNotices().empty());
    EXPECT_NE(game.hostWindow->getNotices().back().find("Bruno"), std::string::npos);
    game.hostWindow->onResult(1);
    EXPECT_TRUE(game.f.games.empty());
}

TEST(WindowPrepareGame, TheJoinerLosingTheHostReturnsToTheNetworkMenu)
{
    JoinedGame game;
    ASSERT_TRUE(game.join());
    int menusBefore = game.f.menus;
    {
        std::scoped_lock guard(game.host.peer);
        ASSERT_EQ(game.host.peer.closeSession(), ERROR_OK);
    }
    WindowPrepareGame* joiner = game.joinerWindow;
    ASSERT_TRUE(game.f.frames([&] { joiner->update(); }, [&] { return game.f.menus > menusBefore; }));
    // The window closes: it goes with the queue, and a disconnection notice
    // stays open in its place.
    game.f.app.gui().processDeferred();
    EXPECT_NE(WindowPrepareGame::current(), joiner);
    bool notice = false;
    for (Component* child : game.f.app.root().getChildren())
        notice = notice || dynamic_cast<MessageDialog*>(child) != nullptr;
    EXPECT_TRUE(notice);
    EXPECT_TRUE(game.f.games.empty());
}

TEST(WindowPrepareGame, TheChatPanelFillsTheRestAndShowsTheNoticesInOlive)
{
    JoinedGame game;
    std::vector<std::pair<std::string, uint32_t>> lines;
    Component* panel = nullptr;
    networkWindowHooks().createChatPanel = [&](int32_t x, int32_t y, int32_t width, int32_t height)
    {
        WaitingChatPanel chat;
        chat.widget = new Container(x, y, width, height, LOOK_EMPTY);
        chat.append = [&](const std::string& text, uint32_t color) { lines.emplace_back(text, color); };
        if (panel == nullptr)
            panel = chat.widget;
        return chat;
    };
    ASSERT_TRUE(game.join());
    ASSERT_NE(panel, nullptr);
    // Under the 64-pixel panel of player slots, down to the buttons.
    EXPECT_EQ(panel->getY(), game.hostWindow->getRows()[0]->getY() + 64);
    EXPECT_EQ(panel->getHeight(), game.hostWindow->getContentHeight() - 64);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back().first, "Bruno a rejoint la partie.");
    EXPECT_EQ(lines.back().second, 0xFF808000u);
}
