#pragma once
// Sessions between copies of the game, and between the lobby client and its
// server, on POSIX sockets: what the game's peer and client expect of a
// peer-to-peer session service.
//
// - Discovery over UDP: a query carrying the application id goes to one host,
//   or to the discovery targets (see discoveryTargets); hosts of that
//   application answer with their session name, player count and maximum,
//   instance id and port.
// - Sessions over TCP with length-prefixed frames. The host is the hub: every
//   joiner holds one connection to it, and the host relays what one joiner
//   sends to the others, so messages stay reliable and ordered per sender.
// - One I/O thread per object runs the sockets and calls the handler. Calls
//   from other threads never wait for that thread, so a caller may hold a lock
//   that the handler takes; the handler may call back into the object (send,
//   close). A session closed by the caller reports nothing more.
#include "Platform/Net/NetAddress.h"
#include "Platform/Net/NetDiscovery.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct pollfd;

namespace Platform
{

using NetPlayerId = uint32_t;
constexpr NetPlayerId kNetAllPlayers = 0;
// The largest frame on a session connection, and so the largest message.
constexpr uint32_t kNetMaxFrameSize = 64 * 1024;
constexpr uint32_t kNetMaxMessageSize = kNetMaxFrameSize - 9;
constexpr uint32_t kNetMaxPlayers = 64;
constexpr uint32_t kNetMaxSessionName = 255;

// Peers see each other as players; a client sees only its server.
enum class NetRole : uint8_t
{
    Peer = 0,
    ClientServer = 1
};

enum class NetConnectResult
{
    Accepted,
    Rejected,
    SessionFull,
    InvalidPassword,
    Failed,
    TimedOut,
    Cancelled
};

enum class NetCloseReason
{
    HostEnded,
    ConnectionLost
};

enum class NetResult
{
    Ok,
    Failed,
    InvalidHost,
    AlreadyInSession,
    NotInSession,
    NoPendingConnect,
    MessageTooLarge,
    AddressInUse // the port to host on is taken
};

// Answers are read at most kNetAnswerReadBudget at a time between two rounds
// of notifications, and queries at most kNetQueryReadBudget at a time between
// two rounds of the sessions' own work, after which the discovery port rests
// a moment. What is answered and what is listed: NetDiscovery.h.
constexpr uint32_t kNetAnswerReadBudget = 256;
constexpr uint32_t kNetQueryReadBudget = 256;

// Called on the I/O thread. Session notifications carry the session number
// that host or connect gave.
class NetHandler
{
public:
    virtual ~NetHandler() = default;
    // A session found, or found again with other details (the same host
    // address and instance).
    virtual void onHostFound(const NetHostInfo& host) = 0;
    // A session listed before whose source turned out to flood the search.
    virtual void onHostLost(const NetHostInfo&) {}
    // Exactly one per connect, cancelled ones included.
    virtual void onConnectComplete(uint32_t session, NetConnectResult result) = 0;
    // A joiner learns of every player already there, itself included, before
    // its connect completes.
    virtual void onPlayerCreated(uint32_t session, NetPlayerId player, bool isLocal) = 0;
    virtual void onPlayerDestroyed(uint32_t session, NetPlayerId player) = 0;
    // The bytes live for the duration of the call.
    virtual void onReceive(uint32_t session, NetPlayerId from, const uint8_t* data, uint32_t size) = 0;
    virtual void onSessionEnded(uint32_t session, NetCloseReason reason) = 0;
};

struct NetHostOptions
{
    NetGuid application;
    std::string sessionName;
    uint32_t maxPlayers = 2; // 1 to kNetMaxPlayers; 0 means kNetMaxPlayers
    uint16_t port = 0;       // 0: any free port
    NetRole role = NetRole::Peer;
    std::string password;
};

// A link that has carried nothing for kNetKeepAliveMs gets a keep-alive
// frame; a peer heard from for none of kNetDeadPeerMs is taken for gone (its
// machine off, its cable out, its program hung), as TCP alone would wait for
// ever on an idle connection. Peers of an older version send no keep-alive
// and are not timed.
constexpr uint32_t kNetKeepAliveMs = 1000;
constexpr uint32_t kNetDeadPeerMs = 10000;

struct NetTimings
{
    uint32_t enumRetryMs = 500;
    uint32_t enumTimeoutMs = 1500; // after the last query
    uint32_t connectTimeoutMs = 5000;
    // A joiner sends who it is as soon as it is connected; one that has not
    // within this time is dropped, so that silent connections cost little.
    uint32_t handshakeTimeoutMs = 1500;
    uint32_t lingerMs = 2000; // a closed connection still draining
    uint32_t keepAliveMs = kNetKeepAliveMs;
    uint32_t deadPeerMs = kNetDeadPeerMs;
};

class NetSession
{
public:
    explicit NetSession(NetHandler& handler, NetTimings timings = NetTimings());
    // Stops the I/O thread; never call it from a handler. Open connections are
    // closed as by close().
    ~NetSession();
    NetSession(const NetSession&) = delete;
    NetSession& operator=(const NetSession&) = delete;

    // Creates the sockets and the I/O thread; false when there is no TCP/IP.
    bool start();
    // Leaves any session as close() does and stops the I/O thread, waiting for
    // a notification in progress to return; nothing is reported afterwards.
    // Never call it from a handler, nor while holding a lock a handler takes.
    void shutdown();

    NetResult host(const NetHostOptions& options, uint32_t& session);
    // The port the hosted session listens on (0 outside a hosted session).
    uint16_t hostedPort();

    // Sends `count` queries (0: until cancelled) to the host or, with an empty
    // name, to the discovery targets, on `port`. A running enumeration is
    // replaced. InvalidHost when the name cannot be resolved.
    NetResult enumHosts(const NetGuid& application, const std::string& hostName, uint16_t port,
                        uint32_t count);
    void cancelEnumeration();
    // The port answers to this object's queries come back to.
    uint16_t answerPort();
    // True while an enumeration runs whose latest queries reached no network:
    // no interface besides the loopback has a broadcast address, or every
    // send to one failed (no network up, no route). Only a game on this very
    // machine can answer then. With only loopback targets (a test setting),
    // true when not even those could be sent to.
    bool queriesUnsent();
    // True while the search lists the session at that address. A handler
    // that takes a lock of its own in onHostFound may get it only after the
    // search was started again: a session the new search does not list
    // belongs to the search before.
    bool isListed(const NetHostInfo& host);

    NetResult connect(const NetAddress& host, const NetGuid& application, const NetGuid& instance,
                      NetRole role, const std::string& password, uint32_t& session);
    // NoPendingConnect when no connect is pending (it may have completed); the
    // Cancelled completion follows otherwise.
    NetResult cancelConnect();

    // To one player, or to every other player with kNetAllPlayers; never to
    // the sender itself.
    NetResult sendTo(NetPlayerId target, const void* data, uint32_t size);

    // Leaves the session gracefully: a host tells every joiner that the
    // session ended. A pending connect is cancelled.
    void close();
    // Drops every connection without a word, as a pulled cable would.
    void abortConnections();

    // The player's IPv4 address as text; false for an unknown player.
    bool playerAddress(NetPlayerId player, std::string& address);
    NetPlayerId localPlayer();

private:
    using Clock = std::chrono::steady_clock;
    struct Connection;
    struct Notification;
    enum class Mode
    {
        Idle,
        Hosting,
        Connecting,
        Joined
    };

    void run();
    void wake();
    void dispatch(std::vector<Notification>& ready);
    void handleTimers(Clock::time_point now);
    void checkLiveness(Connection& connection, Clock::time_point now);
    int buildPollSet(std::vector<::pollfd>& fds, Clock::time_point now);
    void handlePollResult(const ::pollfd& entry);
    void sweep();

    void acceptJoiners();
    void makeRoomForJoiner(uint32_t ip);
    void answerQueries();
    void readHostAnswers();
    void sendQueries();
    void finishConnect(Connection& connection);
    void readConnection(Connection& connection);
    void flush(Connection& connection);
    bool handleFrame(Connection& connection, uint8_t type, const uint8_t* body, uint32_t size);
    bool handleJoin(Connection& connection, const uint8_t* body, uint32_t size);
    bool handleAccept(Connection& connection, const uint8_t* body, uint32_t size);
    bool handleHostData(Connection& connection, const uint8_t* body, uint32_t size);
    void lose(Connection& connection);
    void completeConnect(NetConnectResult result);
    void queueFrame(Connection& connection, std::vector<uint8_t> frame);
    void closeLink(Connection& connection, bool abortive);
    void endSessionLocally();
    void notify(Notification notification);
    Connection* findConnection(int fd);
    Connection* findPlayer(NetPlayerId player);
    uint32_t countPlayers() const;

    NetHandler& mHandler;
    NetTimings mTimings;
    std::mutex mMutex;
    std::thread mThread;
    bool mStarted = false;
    bool mStop = false;
    int mWakeFd = -1;
    int mEnumFd = -1;

    Mode mMode = Mode::Idle;
    NetRole mRole = NetRole::Peer;
    uint32_t mSession = 0;        // the session the sockets are in
    uint32_t mDeliverSession = 0; // the session the caller still listens to
    uint32_t mNextSession = 1;
    NetPlayerId mLocalId = 0;
    NetPlayerId mHostId = 0;
    NetPlayerId mNextPlayerId = 1;
    std::vector<std::pair<NetPlayerId, uint32_t>> mPlayerIps;

    // Hosting.
    NetHostOptions mHostOptions;
    NetGuid mInstance;
    int mListenFd = -1;
    int mHostUdpFd = -1;
    uint16_t mHostedPort = 0;
    NetAnswerLimiter mAnswerLimiter;
    Clock::time_point mQueriesResume{}; // the port rests until then

    // Joining.
    Connection* mHostLink = nullptr;
    Clock::time_point mConnectDeadline;

    // Enumeration.
    bool mEnumActive = false;
    NetGuid mEnumApplication;
    std::vector<uint32_t> mEnumTargets;
    uint16_t mEnumPort = 0;
    uint32_t mEnumRemaining = 0;
    bool mEnumForever = false;
    bool mEnumUnsent = false;
    Clock::time_point mEnumNext;
    Clock::time_point mEnumEnd;

    NetHostList mHostList;

    std::vector<std::unique_ptr<Connection>> mConnections;
    std::vector<Notification> mNotifications;
};

} // namespace Platform
