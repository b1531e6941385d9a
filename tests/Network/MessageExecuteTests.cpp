#include "FakeGame.h"

#include "Network/NetworkEndpoint.h"

#include <gtest/gtest.h>

namespace
{
class TestEndpoint : public NetworkEndpoint
{
public:
    SlotTable& startSession(uint32_t capacity)
    {
        mPlayerSet = std::make_unique<NetworkSession>(this, capacity, true);
        return *static_cast<SlotTable*>(mPlayerSet.get());
    }
    void linkToServer() { mPlayerSet = std::make_unique<NetworkServerLink>(nullptr, 0); }
    void endSession() { mPlayerSet.reset(); }
};

std::unique_ptr<MoveMessage> moveMessage(uint8_t piece, uint8_t index)
{
    auto payload = std::make_unique<MovePayload>(piece, index);
    payload->computeSize();
    return std::make_unique<MoveMessage>(std::move(payload));
}

class MoveExecution : public ::testing::Test
{
protected:
    void SetUp() override
    {
        links.screen = &screen;
        screen.players[&remote] = {2, 1};
        screen.players[&local] = {3, 0};
    }
    FakeGameLinks links;
    FakeGameScreen screen;
    TestEndpoint endpoint;
    NetworkPlayerInfo remote{"remote"};
    NetworkPlayerInfo local{"local"};
};
} // namespace

TEST_F(MoveExecution, ALegalMoveOfTheRemotePlayerOnTurnIsPlayed)
{
    moveMessage(4, 2)->execute(&endpoint, &remote);
    ASSERT_EQ(screen.played.size(), 1u);
    EXPECT_EQ(screen.played[0].side, 1u);
    EXPECT_EQ(screen.played[0].rank, 4u);
    EXPECT_EQ(screen.played[0].index, 2u);
    EXPECT_TRUE(screen.left.empty());
}

TEST_F(MoveExecution, EveryFailedCheckEndsTheGameWithTheSyncText)
{
    struct Case
    {
        const char* what;
        uint8_t piece, index;
        NetworkPlayerInfo* sender;
        uint32_t sideToMove;
    } cases[] = {
        {"index equal to the move count", 4, 3, &remote, 1},
        {"sender not on turn", 4, 0, &remote, 0},
        {"sender is the local player", 4, 0, &local, 0},
        {"sender unknown to the game", 4, 0, nullptr, 1},
        {"rank 8", 8, 0, &remote, 1},
        {"rank 255", 255, 0, &remote, 1},
        {"piece taken", 6, 0, &remote, 1},
    };
    screen.takenRank = 6;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        screen.left.clear();
        screen.sideToMove = c.sideToMove;
        moveMessage(c.piece, c.index)->execute(&endpoint, c.sender);
        EXPECT_TRUE(screen.played.empty());
        ASSERT_EQ(screen.left.size(), 1u);
        EXPECT_EQ(screen.left[0], "text 268");
    }
    // A move read without its payload, and without the language texts.
    links.withTexts = false;
    screen.left.clear();
    screen.sideToMove = 1;
    MoveMessage().execute(&endpoint, &remote);
    ASSERT_EQ(screen.left.size(), 1u);
    EXPECT_EQ(screen.left[0], "");
}

TEST_F(MoveExecution, IgnoredOnALobbyConnectionAndOutsideAGame)
{
    FakeListener listener;
    endpoint.setListener(&listener);
    moveMessage(9, 9)->execute(&endpoint, &remote);
    endpoint.setListener(nullptr);
    links.screen = nullptr;
    moveMessage(9, 9)->execute(&endpoint, &remote);
    EXPECT_TRUE(screen.played.empty());
    EXPECT_TRUE(screen.left.empty());
}

TEST(ChatRouting, LinesGoToTheListenerThenTheGameThenTheWaitingWindow)
{
    FakeGameLinks links;
    FakeGameScreen screen;
    FakeWaitingWindow window;
    FakeListener listener;
    NetworkEndpoint endpoint;
    NetworkPlayerInfo sender("Ann");
    ChatMessage chat("bonjour");

    // Nothing open: dropped.
    EXPECT_EQ(chat.execute(&endpoint, &sender), ERROR_OK);

    links.window = &window;
    chat.execute(&endpoint, &sender);
    ASSERT_EQ(window.chat.lines.size(), 1u);
    EXPECT_EQ(window.chat.lines[0].text, "bonjour");
    EXPECT_EQ(window.chat.lines[0].sender, &sender);

    links.screen = &screen;
    chat.execute(&endpoint, &sender);
    EXPECT_EQ(screen.chat.lines.size(), 1u);
    EXPECT_EQ(window.chat.lines.size(), 1u);

    endpoint.setListener(&listener);
    chat.execute(&endpoint, nullptr);
    EXPECT_EQ(listener.chats, std::vector<std::string>{"bonjour"});
    EXPECT_EQ(screen.chat.lines.size(), 1u);
}

TEST(PlayerNameExecution, NamesAPlayerOfTheSessionAndPostsTheFirstNamingOnce)
{
    TestEndpoint endpoint;
    SlotTable& table = endpoint.startSession(2);
    auto player = std::make_shared<NetworkPlayerInfo>("New Player", true);
    table.add(player);

    PlayerNameMessage("Zed").execute(&endpoint, player.get());
    EXPECT_EQ(player->getName(), "Zed");
    EXPECT_FALSE(player->isNamePending());
    auto event = endpoint.popEvent();
    ASSERT_TRUE(event);
    ASSERT_EQ(event->getKind(), NETWORK_EVENT_PLAYER_NAMED);
    EXPECT_EQ(static_cast<NetworkPlayerEvent&>(*event).getPlayer(), player.get());

    PlayerNameMessage("Zoe").execute(&endpoint, player.get());
    EXPECT_EQ(player->getName(), "Zoe");
    EXPECT_FALSE(endpoint.popEvent());
    // Shown on one line wherever it goes: control characters become spaces.
    PlayerNameMessage(std::string("\n\r\tZ\0o\x1B\x7F\xE9", 9)).execute(&endpoint, player.get());
    EXPECT_EQ(player->getName(), "   Z o  \xE9");

    // The named event keeps the record alive after the session is gone.
    PlayerNameMessage("Yan").execute(&endpoint, player.get());
    player->setNamePending(true);
    PlayerNameMessage("Yves").execute(&endpoint, player.get());
    NetworkPlayerInfo* raw = player.get();
    player.reset();
    endpoint.endSession();
    auto late = endpoint.popEvent();
    ASSERT_TRUE(late);
    EXPECT_EQ(static_cast<NetworkPlayerEvent&>(*late).getPlayer(), raw);
    EXPECT_EQ(raw->getName(), "Yves");
}

TEST(PlayerNameExecution, IgnoredForStrangersAndOnAServerLink)
{
    TestEndpoint endpoint;
    NetworkPlayerInfo stranger("x", true);
    PlayerNameMessage("Eve").execute(&endpoint, &stranger);
    endpoint.startSession(2);
    PlayerNameMessage("Eve").execute(&endpoint, &stranger);
    PlayerNameMessage("Eve").execute(&endpoint, nullptr);
    endpoint.linkToServer();
    PlayerNameMessage("Eve").execute(&endpoint, &stranger);
    EXPECT_EQ(stranger.getName(), "x");
    EXPECT_FALSE(endpoint.popEvent());
}

TEST(LoginReplyExecution, ReachesTheLobbyClientOnlyInItsLoginState)
{
    NetworkEndpoint endpoint;
    FakeListener listener;
    LoginReplyMessage(1).execute(&endpoint, nullptr);
    endpoint.setListener(&listener);
    listener.state = 3;
    LoginReplyMessage(1).execute(&endpoint, nullptr);
    EXPECT_TRUE(listener.failures.empty());
    listener.state = kLobbyStateAwaitingLogin;
    LoginReplyMessage(1).execute(&endpoint, nullptr);
    LoginReplyMessage(0).execute(&endpoint, nullptr);
    ASSERT_EQ(listener.failures.size(), 2u);
    EXPECT_EQ(listener.failures[0], "Vous \xEAtes d\xE9j\xE0 connect\xE9");
    EXPECT_EQ(listener.failures[1], "Login ou mot de passe invalide");
}
