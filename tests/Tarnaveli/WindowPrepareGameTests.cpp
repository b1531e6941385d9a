// The waiting window between two peers on this machine: Launch only with two
// players, both sides starting the game with the host as white, and an
// opponent who goes away.
#include "NetworkWindowTestSupport.h"

#include "Framework/LangTable.h"
#include "Gui/ContainerLift.h"
#include "Gui/Label.h"
#include "Tarnaveli/Board/Player.h"
#include "Tarnaveli/ChatPanel.h"
#include "Tarnaveli/GameLang.h"
#include "Tarnaveli/GameScreen.h"

TEST(WindowPrepareGame, AloneTheHostSeesAnEmptySlotAndCannotLaunch)
{
    TestPeer host{"Alice"};
    NetworkWindowFixture f;
    {
        std::scoped_lock guard(host.peer);
        ASSERT_EQ(host.peer.host("Partie", 2), ERROR_OK);
    }
    auto* window = openNow(f.app, new WindowPrepareGame(host.peer, f.game));
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
    game.f.game.makeChatPanel = [&](int32_t x, int32_t y, int32_t width, int32_t height)
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

TEST(WindowPrepareGame, AChatFloodIsHandledAFewLinesAFrameAndKeptBounded)
{
    JoinedGame game;
    ChatPanel* chat = nullptr;
    game.f.game.makeChatPanel = [&](int32_t x, int32_t y, int32_t width, int32_t height)
    {
        auto* panel = new ChatPanel(x, y, width, height);
        if (chat == nullptr)
            chat = panel; // the host's window comes first
        WaitingChatPanel parts;
        parts.widget = panel;
        parts.receiver = panel;
        parts.append = [panel](const std::string& text, uint32_t color) { panel->append(text, color); };
        return parts;
    };
    ASSERT_TRUE(game.join());
    ASSERT_NE(chat, nullptr);
    // Received lines reach the waiting window's panel as in the game; of the
    // two windows in this process, the host's.
    WaitingWindowLinks links;
    links.window = game.hostWindow;
    setNetworkGameLinks(&links);
    NetworkPeerDirectPlay& host = game.host.peer;
    auto floodLinesShown = [&]
    {
        uint32_t count = 0;
        for (uint32_t i = 0; i < chat->getList()->getRowCount(); ++i)
        {
            auto* line = static_cast<Label*>(chat->getList()->getRow(i));
            count += line->getTextObject()->getText().rfind("Bruno : ", 0) == 0 ? 1 : 0;
        }
        return count;
    };
    // One host frame, checking what it handled and what it keeps.
    uint32_t frames = 0;
    auto frame = [&]
    {
        uint32_t before = chat->getList()->getRowCount();
        game.hostWindow->update();
        game.f.app.gui().processDeferred();
        ++frames;
        EXPECT_LE(chat->getList()->getRowCount(), before + NetworkEndpoint::kEventsPerFrame);
        EXPECT_LE(host.getQueuedMessageCount(), NetworkEndpoint::kMaxQueuedMessages);
    };

    // The attack of a peer that joined: 80 chat lines of 60 KB.
    const std::string big(60 * 1024, 'x');
    constexpr uint32_t kLines = 80;
    for (uint32_t i = 0; i < kLines; ++i)
    {
        {
            std::scoped_lock guard(game.joiner.peer);
            ASSERT_EQ(game.joiner.peer.send(std::make_unique<ChatMessage>(std::to_string(i) + big), nullptr),
                      ERROR_OK);
        }
        if (i % 10 == 9)
            frame();
    }
    ASSERT_TRUE(game.f.frames(
        frame, [&] { return floodLinesShown() + host.getDroppedMessageCount() == kLines; }, 30000))
        << floodLinesShown() << " shown, " << host.getDroppedMessageCount() << " dropped";
    EXPECT_GT(floodLinesShown(), 0u);
    EXPECT_GE(frames, floodLinesShown() / NetworkEndpoint::kEventsPerFrame);
    EXPECT_LE(chat->getList()->getRowCount(), ChatPanel::kMaxLines);
    for (uint32_t i = 0; i < chat->getList()->getRowCount(); ++i)
    {
        auto* line = static_cast<Label*>(chat->getList()->getRow(i));
        EXPECT_LE(line->getTextObject()->getText().size(), ChatPanel::kMaxLineLength);
    }
    // The host still listens, in order.
    {
        std::scoped_lock guard(game.joiner.peer);
        ASSERT_EQ(game.joiner.peer.send(std::make_unique<ChatMessage>("fin"), nullptr), ERROR_OK);
    }
    ASSERT_TRUE(game.f.frames(frame,
                              [&]
                              {
                                  auto* last = static_cast<Label*>(
                                      chat->getList()->getRow(chat->getList()->getRowCount() - 1));
                                  return last->getTextObject()->getText() == "Bruno : fin";
                              }));
}
