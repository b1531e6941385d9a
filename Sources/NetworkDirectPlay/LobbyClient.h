#pragma once
// The online lobby: finds the matchmaking server, connects to it, sends it the
// lobby request and tells the screen that derives from this class how that
// goes. It lives here rather than in Network because it makes and owns the
// DirectPlay client of each connection attempt.
//
// Everything runs on the game thread: the screen calls update every frame,
// and every notification comes from login or update with the connection's
// lock held. A notification may call resetConnection (the old connection is
// let go once login or update has returned) and login after it; it must not
// delete this object.
#include "Framework/Timer.h"
#include "Network/NetworkGameLinks.h"
#include "NetworkDirectPlay/NetworkClientDirectPlay.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Language ids of the lobby's texts (the game registers them).
namespace LobbyTextId
{
constexpr uint32_t Disconnected = 267;   // LANG_NETWORK_DISCONNECTED
constexpr uint32_t NoServer = 272;       // LANG_NETWORK_INTERNET_SERVER_NOGAMES
constexpr uint32_t ServerFull = 273;     // LANG_NETWORK_INTERNET_SERVER_GAME_FULL
constexpr uint32_t ServerError = 274;    // LANG_NETWORK_INTERNET_SERVER_ERROR
constexpr uint32_t ServerRejected = 275; // LANG_NETWORK_INTERNET_SERVER_HOST_REJECT
constexpr uint32_t LanguageId = 330;     // LANG_ID
} // namespace LobbyTextId

// The setup key that names the lobby server, and the name used when the setup
// file has none. The default lies in the reserved .invalid domain, so that no
// build ever contacts a host that is not ours; a release names the real one.
constexpr const char* kLobbyServerSetupKey = "MorvexGamesServer";
constexpr const char* kLobbyDefaultServerName = "lobby.velmorique.invalid";
// The language id sent when the language table gives none.
constexpr const char* kLobbyDefaultLanguageId = "FR";

enum : uint32_t
{
    LOBBY_STATE_IDLE = 0,
    LOBBY_STATE_LOOKING_FOR_SERVER = 1,
    LOBBY_STATE_CONNECTING = 2,
    LOBBY_STATE_REQUEST_SENT = 3
};

class LobbyClient : public NetworkListener
{
public:
    // Server searches: at most this many tries, this far apart.
    static constexpr uint32_t kMaxTries = 5;
    static constexpr uint32_t kRetryIntervalMs = 5000;

    // The timings go to the session layer of every connection.
    explicit LobbyClient(Platform::NetTimings timings = Platform::NetTimings());
    ~LobbyClient() override;
    LobbyClient(const LobbyClient&) = delete;
    LobbyClient& operator=(const LobbyClient&) = delete;

    // Replaces the connection by a new client on the lobby's ports and
    // application id, keeps the request mode and returns the client's init.
    ErrorCode resetConnection(uint32_t mode);
    // Starts looking for the server; notifications follow from update. Fails
    // without a connection, or with the first try's code.
    ErrorCode login(const std::string& serverName, const std::string& login, const std::string& password);
    // Once per frame: retries the search, and handles the connection's events.
    void update();

    uint32_t getState() const override { return mState; }
    // Tries so far beyond the first: the screen shows try getRetryCount() + 1.
    uint32_t getRetryCount() const { return mRetryCount; }
    uint32_t getMode() const { return mMode; }
    const std::string& getServerName() const { return mServerName; }
    // Null before the first resetConnection.
    NetworkClientDirectPlay* getConnection() const { return mConnection.get(); }

protected:
    // onFailure (text) and onChat (text) come from NetworkListener.
    virtual void onStateChanged(uint32_t previousState) = 0;
    virtual void onDisconnected(const std::string& text) = 0;

private:
    class BusyScope;

    ErrorCode tryOnce();
    // Shows the text, then goes back to idle. False: update must end.
    bool fail(NetworkClientDirectPlay& connection, const std::string& text);
    void setState(uint32_t state);
    // False when a notification has replaced the connection.
    bool isCurrent(const NetworkClientDirectPlay& connection) const
    {
        return mConnection.get() == &connection;
    }
    bool retrySearch(NetworkClientDirectPlay& connection);
    bool handleEvent(NetworkClientDirectPlay& connection, NetworkEvent& event);
    bool handleConnectResult(NetworkClientDirectPlay& connection, uint32_t result);

    Platform::NetTimings mTimings;
    std::unique_ptr<NetworkClientDirectPlay> mConnection;
    // Connections replaced while login or update held their lock.
    std::vector<std::unique_ptr<NetworkClientDirectPlay>> mRetired;
    uint32_t mBusyDepth = 0;
    uint32_t mMode = 0;
    uint32_t mState = LOBBY_STATE_IDLE;
    std::string mLogin;
    std::string mPassword;
    Timer mRetryTimer;
    uint32_t mRetryCount = 0;
    std::string mServerName;
};
