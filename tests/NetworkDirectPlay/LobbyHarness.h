#pragma once
// A lobby screen that records what it is told, a stand-in for the online
// server on 127.0.0.1, a port where nothing answers, and the lobby's texts.
// Every wait has a time-out.
#include "PeerHarness.h"

#include "NetworkDirectPlay/LobbyClient.h"

#include <poll.h>

#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>

// The screen that derives from the lobby client, reduced to its records.
class RecordingLobby : public LobbyClient
{
public:
    RecordingLobby() : LobbyClient(fastTimings()) { registerGameMessages(); }

    void onFailure(const std::string& text) override
    {
        failures.push_back(text);
        if (failureHook)
            failureHook();
    }
    void onChat(const std::string& text) override { chats.push_back(text); }
    void onStateChanged(uint32_t previousState) override { previousStates.push_back(previousState); }
    void onDisconnected(const std::string& text) override { disconnections.push_back(text); }

    // A fresh connection on the lobby's port, looking for servers on `port`.
    void resetOn(uint16_t port, uint32_t mode = 0)
    {
        ASSERT_EQ(resetConnection(mode), ERROR_OK);
        getConnection()->setPorts(DirectPlay::kLobbyPort, port);
    }
    // Runs frames until the condition holds; false on time-out.
    bool updateUntil(const std::function<bool()>& done, int ms = 5000)
    {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        for (;;)
        {
            update();
            if (done())
                return true;
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    std::function<void()> failureHook;
    std::vector<std::string> failures;
    std::vector<std::string> chats;
    std::vector<uint32_t> previousStates;
    std::vector<std::string> disconnections;
};

// The lobby's language texts, as the game's language table gives them.
struct LobbyTexts : NetworkGameLinks
{
    LobbyTexts()
    {
        texts[NetworkTextId::DisconnectHostLeft] = "L'h\xF4te a quitt\xE9";
        texts[LobbyTextId::Disconnected] = "D\xE9"
                                           "connect\xE9";
        texts[LobbyTextId::NoServer] = "Aucun serveur";
        texts[LobbyTextId::ServerFull] = "Le serveur est plein";
        texts[LobbyTextId::ServerError] = "Erreur du serveur";
        texts[LobbyTextId::ServerRejected] = "Connexion refus\xE9"
                                             "e";
        texts[LobbyTextId::LanguageId] = "EN";
        setNetworkGameLinks(this);
    }
    ~LobbyTexts() override { setNetworkGameLinks(nullptr); }
    NetworkGameScreen* getGameScreen() override { return nullptr; }
    NetworkWaitingWindow* getWaitingWindow() override { return nullptr; }
    std::string getText(uint32_t id) override
    {
        auto found = texts.find(id);
        return found != texts.end() ? found->second : std::string();
    }
    std::map<uint32_t, std::string> texts;
};

// A stand-in for the online server: keeps what its client sends.
class StandInLobbyServer : public Platform::NetHandler
{
public:
    static Platform::NetHostOptions lobbyOptions()
    {
        Platform::NetHostOptions options;
        options.application = DirectPlay::toNetGuid(DirectPlay::kLobbyApplicationGuid);
        options.sessionName = "Morvex Games";
        options.maxPlayers = 16;
        options.role = Platform::NetRole::ClientServer;
        return options;
    }

    explicit StandInLobbyServer(const Platform::NetHostOptions& options = lobbyOptions())
        : net(*this, fastTimings())
    {
        registerGameMessages();
        EXPECT_TRUE(net.start());
        uint32_t session = 0;
        EXPECT_EQ(net.host(options, session), Platform::NetResult::Ok);
    }
    ~StandInLobbyServer() override { net.shutdown(); }

    uint16_t port() { return net.hostedPort(); }

    void onHostFound(const Platform::NetHostInfo&) override {}
    void onConnectComplete(uint32_t, Platform::NetConnectResult) override {}
    void onPlayerCreated(uint32_t, Platform::NetPlayerId player, bool isLocal) override
    {
        if (!isLocal)
            client = player;
    }
    void onPlayerDestroyed(uint32_t, Platform::NetPlayerId) override {}
    void onReceive(uint32_t, Platform::NetPlayerId, const uint8_t* data, uint32_t size) override
    {
        std::unique_ptr<NetworkMessage> message;
        if (readNetworkMessage(data, size, message) != ERROR_OK)
            return;
        std::lock_guard lock(mutex);
        received.push_back(std::move(message));
        changed.notify_all();
    }
    void onSessionEnded(uint32_t, Platform::NetCloseReason) override {}

    bool waitForMessages(size_t count)
    {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(5), [&] { return received.size() >= count; });
    }
    void send(NetworkMessage& message) { EXPECT_EQ(DirectPlay::sendMessage(net, message, client), ERROR_OK); }

    Platform::NetSession net;
    std::atomic<Platform::NetPlayerId> client{0};
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::unique_ptr<NetworkMessage>> received;
};

// A UDP port on 127.0.0.1 that hears discovery queries and never answers.
class SilentPort
{
public:
    SilentPort() : mFd(loopbackSocket(SOCK_DGRAM, mPort)) { EXPECT_GE(mFd, 0); }
    ~SilentPort()
    {
        if (mFd >= 0)
            ::close(mFd);
    }
    SilentPort(const SilentPort&) = delete;
    SilentPort& operator=(const SilentPort&) = delete;

    uint16_t port() const { return mPort; }
    // Takes one datagram; false when none comes within the time.
    bool receiveQuery(int ms = 3000)
    {
        pollfd waiting{mFd, POLLIN, 0};
        if (::poll(&waiting, 1, ms) != 1)
            return false;
        uint8_t buffer[1024];
        return ::recv(mFd, buffer, sizeof buffer, 0) > 0;
    }

private:
    uint16_t mPort = 0;
    int mFd = -1;
};
