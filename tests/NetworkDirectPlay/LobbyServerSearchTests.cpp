// How the lobby looks for its server: the tries, their spacing on the
// program's clock, and what ends the search.
#include "LobbyHarness.h"

#include "Framework/ErrorText.h"
#include "Platform/System/Clock.h"

namespace
{
// A lobby looking for a server on a port that never answers, the program's
// clock under the test's hand, then a fresh time base.
class LobbySearch : public ::testing::Test
{
protected:
    void SetUp() override
    {
        lobby.resetOn(silent.port());
        ASSERT_EQ(lobby.login("127.0.0.1", "", ""), ERROR_OK);
    }
    // Moves the clock on and runs a frame.
    void after(uint32_t ms)
    {
        held.advanceMs(ms);
        lobby.update();
    }

    Platform::ManualClock held;
    struct TimeBase
    {
        TimeBase() { resetTimeBase(); }
    } timeBase;
    LobbyTexts texts;
    SilentPort silent;
    RecordingLobby lobby;
};
} // namespace

TEST_F(LobbySearch, TriesFiveTimesFiveSecondsApartThenReportsNoServer)
{
    EXPECT_EQ(lobby.getState(), LOBBY_STATE_LOOKING_FOR_SERVER);
    EXPECT_EQ(lobby.previousStates, std::vector<uint32_t>{LOBBY_STATE_IDLE});
    ASSERT_TRUE(silent.receiveQuery()) << "first try";

    for (uint32_t retry = 1; retry < LobbyClient::kMaxTries; ++retry)
    {
        after(LobbyClient::kRetryIntervalMs - 1);
        EXPECT_EQ(lobby.getRetryCount(), retry - 1);
        after(1);
        EXPECT_EQ(lobby.getRetryCount(), retry);
        EXPECT_EQ(lobby.getState(), LOBBY_STATE_LOOKING_FOR_SERVER);
        ASSERT_TRUE(silent.receiveQuery()) << "try " << retry + 1;
    }
    EXPECT_TRUE(lobby.failures.empty());

    after(LobbyClient::kRetryIntervalMs - 1);
    EXPECT_TRUE(lobby.failures.empty());
    after(1);
    EXPECT_EQ(lobby.failures, std::vector<std::string>{"Aucun serveur"});
    EXPECT_EQ(lobby.getState(), LOBBY_STATE_IDLE);
    EXPECT_EQ(lobby.previousStates,
              (std::vector<uint32_t>{LOBBY_STATE_IDLE, LOBBY_STATE_LOOKING_FOR_SERVER}));
    EXPECT_FALSE(silent.receiveQuery(100)) << "no sixth try";

    // Having given up, it stays quiet.
    after(60000);
    EXPECT_EQ(lobby.failures.size(), 1u);
    EXPECT_EQ(lobby.previousStates.size(), 2u);
}

TEST_F(LobbySearch, AFreshLoginStartsTheCountAgain)
{
    for (int i = 0; i < 3; ++i)
        after(LobbyClient::kRetryIntervalMs);
    ASSERT_EQ(lobby.getRetryCount(), 3u);

    lobby.resetOn(silent.port());
    ASSERT_EQ(lobby.login("127.0.0.1", "", ""), ERROR_OK);
    EXPECT_EQ(lobby.getRetryCount(), 0u);
    // The new search waits its own five seconds before the second try.
    after(LobbyClient::kRetryIntervalMs - 1);
    EXPECT_EQ(lobby.getRetryCount(), 0u);
    EXPECT_TRUE(lobby.failures.empty());
}

TEST_F(LobbySearch, ARetryThatCannotBeSentEndsTheSearchWithItsError)
{
    // No port can carry the second try.
    lobby.getConnection()->setPorts(DirectPlay::kLobbyPort, 0x10000);
    after(LobbyClient::kRetryIntervalMs);
    EXPECT_EQ(lobby.failures, std::vector<std::string>{errorCodeToText(ERROR_NETWORK_INVALID_HOST_ADRESS)});
    EXPECT_EQ(lobby.getState(), LOBBY_STATE_IDLE);
    EXPECT_EQ(lobby.previousStates,
              (std::vector<uint32_t>{LOBBY_STATE_IDLE, LOBBY_STATE_LOOKING_FOR_SERVER}));
}

TEST(LobbyServerSearch, LoginNeedsAConnectionAndAServerNameThatResolves)
{
    RecordingLobby lobby;
    EXPECT_EQ(lobby.login("127.0.0.1", "ann", "pw"), ERROR_INVALID);

    lobby.resetOn(1);
    // Not a host name at all, so nothing is asked of any resolver.
    EXPECT_EQ(lobby.login("pas un h\xF4te", "ann", "pw"), ERROR_NETWORK_INVALID_HOST_ADRESS);
    EXPECT_EQ(lobby.getState(), LOBBY_STATE_IDLE);
    EXPECT_TRUE(lobby.previousStates.empty());
    EXPECT_TRUE(lobby.failures.empty());
}

TEST(LobbyServerSearch, ResetConnectionMakesAClientOnTheLobbyPortsThatReportsHere)
{
    RecordingLobby lobby;
    EXPECT_EQ(lobby.getConnection(), nullptr);
    ASSERT_EQ(lobby.resetConnection(7), ERROR_OK);
    NetworkClientDirectPlay* connection = lobby.getConnection();
    ASSERT_NE(connection, nullptr);
    EXPECT_EQ(connection->getLocalPort(), DirectPlay::kLobbyPort);
    EXPECT_EQ(connection->getRemotePort(), DirectPlay::kLobbyPort);
    EXPECT_EQ(connection->getListener(), &lobby);
    EXPECT_EQ(lobby.getMode(), 7u);

    // A connect result outside a connection attempt changes nothing.
    connection->postEvent(
        std::make_unique<NetworkDataEvent>(NETWORK_EVENT_CONNECT_RESULT, CONNECT_RESULT_OK));
    connection->postEvent(
        std::make_unique<NetworkDataEvent>(NETWORK_EVENT_CONNECT_RESULT, CONNECT_RESULT_SESSION_FULL));
    lobby.update();
    EXPECT_EQ(lobby.getState(), LOBBY_STATE_IDLE);
    EXPECT_TRUE(lobby.failures.empty());
    EXPECT_TRUE(lobby.previousStates.empty());

    // Events of the old connection go with it.
    connection->postEvent(
        std::make_unique<NetworkDataEvent>(NETWORK_EVENT_SESSION_ENDED, DISCONNECT_HOST_LEFT));
    ASSERT_EQ(lobby.resetConnection(1), ERROR_OK);
    lobby.update();
    EXPECT_TRUE(lobby.disconnections.empty());
    EXPECT_EQ(lobby.getMode(), 1u);
}
