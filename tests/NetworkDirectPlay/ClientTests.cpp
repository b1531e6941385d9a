#include "LobbyHarness.h"

#include "Network/NetworkStreams.h"
#include "NetworkDirectPlay/NetworkClientDirectPlay.h"

#include "../Network/FakeGame.h"

#include <condition_variable>

namespace
{
using LobbyServer = StandInLobbyServer;

struct TestClient : EventLog
{
    explicit TestClient(uint16_t serverPort) : client(fastTimings())
    {
        client.setPorts(DirectPlay::kLobbyPort, serverPort);
        EXPECT_EQ(client.setApplicationGuid(DirectPlay::kLobbyApplicationGuid, 16), ERROR_OK);
        client.setNickname("Ann");
        EXPECT_EQ(client.init(), ERROR_OK);
    }
    // The server sends as nobody in particular.
    bool pumpUntil(const std::function<bool()>& done)
    {
        return pump(
            client,
            [&](NetworkMessageEvent& received)
            {
                EXPECT_EQ(received.getSender(), nullptr);
                received.getMessage()->execute(&client, received.getSender());
            },
            done);
    }
    NetworkClientDirectPlay client;
};
} // namespace

TEST(LobbyClient, FindsTheServerLogsInAndHearsItsChat)
{
    LobbyServer server;
    TestClient lobby(server.net.hostedPort());
    {
        std::scoped_lock guard(lobby.client);
        ASSERT_EQ(lobby.client.enumHosts("127.0.0.1", 1), ERROR_OK);
    }
    ASSERT_TRUE(lobby.pumpUntil([&] { return lobby.client.getServers().size() == 1; }));
    {
        std::scoped_lock guard(lobby.client);
        EXPECT_EQ(lobby.client.getServers()[0]->mSessionName, "Morvex Games");
        ASSERT_EQ(lobby.client.connect(*lobby.client.getServers()[0]), ERROR_OK);
    }
    ASSERT_TRUE(lobby.pumpUntil([&] { return lobby.find(NETWORK_EVENT_CONNECT_RESULT) != nullptr; }));
    EXPECT_EQ(lobby.dataOf(NETWORK_EVENT_CONNECT_RESULT), CONNECT_RESULT_OK);
    {
        std::scoped_lock guard(lobby.client);
        EXPECT_FALSE(lobby.client.getPlayerSet()->isPlayerTable());
        ASSERT_EQ(lobby.client.send(std::make_unique<LobbyRequest>("ann", "pw", "FR", 1)), ERROR_OK);
    }
    ASSERT_TRUE(server.waitForMessages(2));
    {
        std::lock_guard lock(server.mutex);
        auto* name = dynamic_cast<PlayerNameMessage*>(server.received[0].get());
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(name->getName(), "Ann");
        auto* request = dynamic_cast<LobbyRequest*>(server.received[1].get());
        ASSERT_NE(request, nullptr);
        EXPECT_EQ(request->getLogin(), "ann");
        EXPECT_EQ(request->getMode(), 1u);
    }

    FakeListener listener;
    lobby.client.setListener(&listener);
    ChatMessage chat("bienvenue");
    server.send(chat);
    ASSERT_TRUE(lobby.pumpUntil([&] { return !listener.chats.empty(); }));
    EXPECT_EQ(listener.chats[0], "bienvenue");

    server.net.close();
    ASSERT_TRUE(lobby.pumpUntil([&] { return lobby.find(NETWORK_EVENT_SESSION_ENDED) != nullptr; }));
    EXPECT_EQ(lobby.dataOf(NETWORK_EVENT_SESSION_ENDED), DISCONNECT_HOST_LEFT);
    std::scoped_lock guard(lobby.client);
    EXPECT_EQ(lobby.client.getPlayerSet(), nullptr);
    EXPECT_EQ(lobby.client.close(), ERROR_NOT_IN_A_GAME);
    EXPECT_EQ(lobby.client.send(std::make_unique<ChatMessage>("x")), ERROR_NOT_IN_A_GAME);
}

TEST(LobbyClient, AGamePeerCannotJoinTheLobbyNorTheReverse)
{
    LobbyServer server;
    TestPeer peer("Bob");
    {
        std::scoped_lock guard(peer.peer);
        NetworkSessionInfo lobby;
        lobby.mHostIp = 0x7F000001;
        lobby.mHostPort = server.net.hostedPort();
        lobby.mMaxPlayers = 16;
        ASSERT_EQ(peer.peer.setApplicationGuid(DirectPlay::kLobbyApplicationGuid, 16), ERROR_OK);
        ASSERT_EQ(peer.peer.connect(lobby), ERROR_OK);
    }
    ASSERT_TRUE(peer.waitFor(NETWORK_EVENT_CONNECT_RESULT));
    EXPECT_EQ(peer.dataOf(NETWORK_EVENT_CONNECT_RESULT), CONNECT_RESULT_REJECTED);
}
