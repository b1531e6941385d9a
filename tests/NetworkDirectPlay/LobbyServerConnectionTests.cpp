// The lobby against a stand-in server: the login request, what the server
// says afterwards, and every way the connection can be refused.
#include "LobbyHarness.h"

#include "Framework/ErrorText.h"

namespace
{
LobbyRequest* requestAt(StandInLobbyServer& server, size_t index)
{
    std::lock_guard lock(server.mutex);
    return index < server.received.size() ? dynamic_cast<LobbyRequest*>(server.received[index].get())
                                          : nullptr;
}

// Each notification names the state left: idle on login, looking when the
// connect starts, connecting when it completes either way.
const std::vector<uint32_t> kStatesLeft{LOBBY_STATE_IDLE, LOBBY_STATE_LOOKING_FOR_SERVER,
                                        LOBBY_STATE_CONNECTING};
} // namespace

TEST(LobbyServerConnection, SendsTheRequestThenHearsChatAndTheDisconnection)
{
    LobbyTexts texts;
    StandInLobbyServer server;
    RecordingLobby lobby;
    lobby.resetOn(server.port(), 3);
    ASSERT_EQ(lobby.login("127.0.0.1", "ann", "secret"), ERROR_OK);
    ASSERT_TRUE(lobby.updateUntil([&] { return lobby.getState() == LOBBY_STATE_REQUEST_SENT; }));
    EXPECT_EQ(lobby.previousStates, kStatesLeft);

    // The connection's own name first, then the request.
    ASSERT_TRUE(server.waitForMessages(2));
    LobbyRequest* request = requestAt(server, 1);
    ASSERT_NE(request, nullptr);
    EXPECT_EQ(request->getLogin(), "ann");
    EXPECT_EQ(request->getPassword(), "secret");
    EXPECT_EQ(request->getLanguageId(), "EN");
    EXPECT_EQ(request->getReserved(), 0u);
    EXPECT_EQ(request->getMode(), 3u);

    // A login reply and the value messages do not move the client on; chat
    // lines reach the screen in order.
    ChatMessage hello("bonjour");
    LoginReplyMessage reply(1);
    ValueMessageA valueA(5);
    ValueMessageB valueB(6);
    ChatMessage last("fin");
    server.send(hello);
    server.send(reply);
    server.send(valueA);
    server.send(valueB);
    server.send(last);
    ASSERT_TRUE(lobby.updateUntil([&] { return lobby.chats.size() == 2; }));
    EXPECT_EQ(lobby.chats, (std::vector<std::string>{"bonjour", "fin"}));
    EXPECT_TRUE(lobby.failures.empty());
    EXPECT_EQ(lobby.getState(), LOBBY_STATE_REQUEST_SENT);

    server.net.close();
    ASSERT_TRUE(lobby.updateUntil([&] { return !lobby.disconnections.empty(); }));
    EXPECT_EQ(lobby.disconnections[0], "D\xE9"
                                       "connect\xE9 : L'h\xF4te a quitt\xE9");
    EXPECT_EQ(lobby.previousStates.size(), 3u);
}

TEST(LobbyServerConnection, WithoutLanguageTextsTheRequestSaysFrench)
{
    StandInLobbyServer server;
    RecordingLobby lobby;
    lobby.resetOn(server.port());
    ASSERT_EQ(lobby.login("127.0.0.1", "", ""), ERROR_OK);
    ASSERT_TRUE(lobby.updateUntil([&] { return lobby.getState() == LOBBY_STATE_REQUEST_SENT; }));
    ASSERT_TRUE(server.waitForMessages(2));
    LobbyRequest* request = requestAt(server, 1);
    ASSERT_NE(request, nullptr);
    EXPECT_EQ(request->getLanguageId(), "FR");
    EXPECT_EQ(request->getLogin(), "");

    server.net.close();
    ASSERT_TRUE(lobby.updateUntil([&] { return !lobby.disconnections.empty(); }));
    EXPECT_EQ(lobby.disconnections[0], " : ");
}

TEST(LobbyServerConnection, ARefusingServerIsReportedAndTheClientGoesIdle)
{
    LobbyTexts texts;
    struct Case
    {
        const char* what;
        Platform::NetHostOptions options;
        std::string text;
    };
    Platform::NetHostOptions gamePeer = StandInLobbyServer::lobbyOptions();
    gamePeer.role = Platform::NetRole::Peer;
    Platform::NetHostOptions full = StandInLobbyServer::lobbyOptions();
    full.maxPlayers = 1;
    const Case cases[] = {{"rejected", gamePeer, texts.texts[LobbyTextId::ServerRejected]},
                          {"full", full, texts.texts[LobbyTextId::ServerFull]}};
    for (const Case& refusal : cases)
    {
        SCOPED_TRACE(refusal.what);
        StandInLobbyServer server(refusal.options);
        RecordingLobby lobby;
        lobby.resetOn(server.port());
        ASSERT_EQ(lobby.login("127.0.0.1", "", ""), ERROR_OK);
        ASSERT_TRUE(lobby.updateUntil([&] { return !lobby.failures.empty(); }));
        EXPECT_EQ(lobby.failures, std::vector<std::string>{refusal.text});
        EXPECT_EQ(lobby.getState(), LOBBY_STATE_IDLE);
        EXPECT_EQ(lobby.previousStates, kStatesLeft);
    }
}

TEST(LobbyServerConnection, AServerGoneBeforeTheConnectIsAServerError)
{
    LobbyTexts texts;
    RecordingLobby lobby;
    {
        StandInLobbyServer server;
        lobby.resetOn(server.port());
        ASSERT_EQ(lobby.login("127.0.0.1", "", ""), ERROR_OK);
        // Wait for the answer without running a frame, then take the server away.
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        for (;;)
        {
            {
                std::scoped_lock guard(*lobby.getConnection());
                if (!lobby.getConnection()->getServers().empty())
                    break;
            }
            ASSERT_LT(std::chrono::steady_clock::now(), deadline);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    ASSERT_TRUE(lobby.updateUntil([&] { return !lobby.failures.empty(); }));
    EXPECT_EQ(lobby.failures, std::vector<std::string>{texts.texts[LobbyTextId::ServerError]});
    EXPECT_EQ(lobby.getState(), LOBBY_STATE_IDLE);
    EXPECT_EQ(lobby.previousStates, kStatesLeft);
}

TEST(LobbyServerConnection, APasswordRefusalLeavesTheClientConnecting)
{
    LobbyTexts texts;
    Platform::NetHostOptions options = StandInLobbyServer::lobbyOptions();
    options.password = "x";
    StandInLobbyServer server(options);
    RecordingLobby lobby;
    lobby.resetOn(server.port());
    ASSERT_EQ(lobby.login("127.0.0.1", "", ""), ERROR_OK);
    ASSERT_TRUE(lobby.updateUntil(
        [&]
        {
            std::scoped_lock guard(*lobby.getConnection());
            return lobby.getState() == LOBBY_STATE_CONNECTING && !lobby.getConnection()->isConnecting();
        }));
    // The completion is queued by now: one more frame handles it.
    lobby.update();
    {
        std::scoped_lock guard(*lobby.getConnection());
        EXPECT_EQ(lobby.getConnection()->popEvent(), nullptr);
    }
    EXPECT_EQ(lobby.getState(), LOBBY_STATE_CONNECTING);
    EXPECT_TRUE(lobby.failures.empty());
    EXPECT_EQ(lobby.previousStates,
              (std::vector<uint32_t>{LOBBY_STATE_IDLE, LOBBY_STATE_LOOKING_FOR_SERVER}));
}

TEST(LobbyServerConnection, AScreenMayStartAgainFromItsFailureNotice)
{
    LobbyTexts texts;
    Platform::NetHostOptions full = StandInLobbyServer::lobbyOptions();
    full.maxPlayers = 1;
    StandInLobbyServer server(full);
    RecordingLobby lobby;
    int again = 1;
    // Like a retry button: a new connection and a new login, from inside the
    // frame that reported the refusal.
    lobby.failureHook = [&]
    {
        if (again-- <= 0)
            return;
        lobby.resetOn(server.port());
        EXPECT_EQ(lobby.login("127.0.0.1", "", ""), ERROR_OK);
    };
    lobby.resetOn(server.port());
    ASSERT_EQ(lobby.login("127.0.0.1", "", ""), ERROR_OK);
    ASSERT_TRUE(lobby.updateUntil([&] { return lobby.failures.size() == 2; }));
    EXPECT_EQ(lobby.getState(), LOBBY_STATE_IDLE);
    // The first refusal did not send the new search back to idle.
    EXPECT_EQ(lobby.previousStates,
              (std::vector<uint32_t>{LOBBY_STATE_IDLE, LOBBY_STATE_LOOKING_FOR_SERVER, LOBBY_STATE_CONNECTING,
                                     LOBBY_STATE_LOOKING_FOR_SERVER, LOBBY_STATE_CONNECTING}));
}
