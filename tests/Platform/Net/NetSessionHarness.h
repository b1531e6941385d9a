#pragma once
// What the session-layer tests share: a recorder of notifications that tests
// wait on, endpoints with short timings, and a raw socket for playing a
// hostile peer.
#include "Platform/Net/NetSession.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <thread>

using namespace Platform;

namespace NetTest
{
inline constexpr int kWaitMs = 5000;

inline NetTimings fastTimings()
{
    NetTimings timings;
    timings.enumRetryMs = 40;
    timings.enumTimeoutMs = 200;
    timings.connectTimeoutMs = 3000;
    timings.handshakeTimeoutMs = 1000;
    timings.lingerMs = 500;
    return timings;
}

inline NetGuid guidOf(uint8_t seed)
{
    NetGuid guid;
    guid.bytes.fill(seed);
    return guid;
}

inline const char* resultName(NetConnectResult result)
{
    switch (result)
    {
    case NetConnectResult::Accepted:
        return "accepted";
    case NetConnectResult::Rejected:
        return "rejected";
    case NetConnectResult::SessionFull:
        return "full";
    case NetConnectResult::InvalidPassword:
        return "password";
    case NetConnectResult::Failed:
        return "failed";
    case NetConnectResult::TimedOut:
        return "timed out";
    case NetConnectResult::Cancelled:
        return "cancelled";
    }
    return "?";
}

// Writes every notification as one line of a log that tests wait on.
class Recorder : public NetHandler
{
public:
    void onHostFound(const NetHostInfo& host) override
    {
        std::lock_guard lock(mMutex);
        hosts.push_back(host);
        mChanged.notify_all();
    }
    void onHostLost(const NetHostInfo& host) override
    {
        std::lock_guard lock(mMutex);
        lostHosts.push_back(host);
        mChanged.notify_all();
    }
    void onConnectComplete(uint32_t, NetConnectResult result) override
    {
        add(std::string("complete ") + resultName(result));
    }
    void onPlayerCreated(uint32_t, NetPlayerId player, bool isLocal) override
    {
        if (onCreated)
            onCreated();
        add("created " + std::to_string(player) + (isLocal ? " local" : ""));
    }
    void onPlayerDestroyed(uint32_t, NetPlayerId player) override
    {
        add("destroyed " + std::to_string(player));
    }
    void onReceive(uint32_t, NetPlayerId from, const uint8_t* data, uint32_t size) override
    {
        add("from " + std::to_string(from) + ": " + std::string(reinterpret_cast<const char*>(data), size));
        if (onMessage)
            onMessage(from, std::string(reinterpret_cast<const char*>(data), size));
    }
    void onSessionEnded(uint32_t, NetCloseReason reason) override
    {
        add(reason == NetCloseReason::HostEnded ? "ended host" : "ended lost");
    }

    bool waitFor(const std::function<bool()>& done, int ms = kWaitMs)
    {
        std::unique_lock lock(mMutex);
        return mChanged.wait_for(lock, std::chrono::milliseconds(ms), done);
    }
    bool waitForLine(const std::string& line, int ms = kWaitMs)
    {
        return waitFor([&] { return std::find(log.begin(), log.end(), line) != log.end(); }, ms);
    }
    std::vector<std::string> lines()
    {
        std::lock_guard lock(mMutex);
        return log;
    }
    std::vector<NetHostInfo> foundHosts()
    {
        std::lock_guard lock(mMutex);
        return hosts;
    }
    std::vector<NetHostInfo> withdrawnHosts()
    {
        std::lock_guard lock(mMutex);
        return lostHosts;
    }
    size_t hostCount()
    {
        std::lock_guard lock(mMutex);
        return hosts.size();
    }

    std::vector<std::string> log;
    std::vector<NetHostInfo> hosts;
    std::vector<NetHostInfo> lostHosts;
    std::function<void(NetPlayerId, const std::string&)> onMessage;
    std::function<void()> onCreated;

private:
    void add(std::string line)
    {
        std::lock_guard lock(mMutex);
        log.push_back(std::move(line));
        mChanged.notify_all();
    }
    std::mutex mMutex;
    std::condition_variable mChanged;
};

// How long the machine held the test up: a thread that sleeps 10 ms at a
// time keeps the longest it slept past that. A program held up so long
// stops its frames and its links as long, whatever its code does. A loaded
// machine runs every thread within a few tens of milliseconds: a hold-up of
// kHeldUpMs or more is a machine that stopped the test.
inline constexpr int64_t kHeldUpMs = 250;
struct HoldUps
{
    using Clock = std::chrono::steady_clock;
    HoldUps() : thread([this] { run(); }) {}
    ~HoldUps()
    {
        stop = true;
        thread.join();
    }
    void run()
    {
        while (!stop)
        {
            const Clock::time_point before = Clock::now();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            const auto slept =
                std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - before).count();
            longestMs = std::max<int64_t>(longestMs, slept - 10);
        }
    }
    std::atomic<bool> stop{false};
    std::atomic<int64_t> longestMs{0};
    std::thread thread;
};

struct Endpoint
{
    explicit Endpoint(NetTimings timings = fastTimings()) : session(recorder, timings)
    {
        EXPECT_TRUE(session.start());
    }
    Recorder recorder;
    NetSession session;
};

inline NetAddress loopback(uint16_t port)
{
    return NetAddress{INADDR_LOOPBACK, port};
}

inline uint32_t hostSession(Endpoint& host, uint32_t maxPlayers = 2, NetRole role = NetRole::Peer,
                            const std::string& password = "", uint16_t port = 0)
{
    NetHostOptions options;
    options.application = guidOf(7);
    options.sessionName = "Partie de Bob";
    options.maxPlayers = maxPlayers;
    options.role = role;
    options.password = password;
    options.port = port;
    uint32_t session = 0;
    EXPECT_EQ(host.session.host(options, session), NetResult::Ok);
    EXPECT_NE(host.session.hostedPort(), 0);
    return session;
}

inline void join(Endpoint& joiner, Endpoint& host, NetRole role = NetRole::Peer,
                 const std::string& password = "")
{
    uint32_t session = 0;
    ASSERT_EQ(joiner.session.connect(loopback(host.session.hostedPort()), guidOf(7), NetGuid(), role,
                                     password, session),
              NetResult::Ok);
}

// A TCP socket listening on a free port of the loopback, for playing a
// hostile or silent host; -1 on failure.
inline int loopbackListener(uint16_t& port)
{
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd, 4) != 0 || getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
    {
        if (fd >= 0)
            ::close(fd);
        return -1;
    }
    port = ntohs(address.sin_port);
    return fd;
}

// A raw TCP socket for playing a hostile peer.
struct RawSocket
{
    ~RawSocket()
    {
        if (fd >= 0)
            ::close(fd);
    }
    // From `source`, any address of the loopback network.
    bool connectTo(uint16_t port, uint32_t source = INADDR_LOOPBACK)
    {
        fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = htonl(source);
        if (::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0)
            return false;
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(port);
        timeval timeout{2, 0};
        setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
        return ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    void sendBytes(const std::vector<uint8_t>& bytes)
    {
        (void)::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    }
    // True when the other side closed the connection within the time-out.
    bool closedByPeer()
    {
        uint8_t buffer[256];
        for (;;)
        {
            ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
            if (got == 0 || (got < 0 && errno == ECONNRESET))
                return true;
            if (got < 0)
                return false;
        }
    }
    int fd = -1;
};

inline std::vector<uint8_t> le32(uint32_t value)
{
    return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value >> 16),
            static_cast<uint8_t>(value >> 24)};
}

inline std::vector<uint8_t> joinFrame(uint8_t application)
{
    std::vector<uint8_t> body{1};
    body.insert(body.end(), 16, application);
    body.insert(body.end(), 16, 0);
    body.insert(body.end(), {0, 0, 0});
    body.insert(body.begin(), 4, 0);
    const auto length = static_cast<uint32_t>(body.size() - 4);
    for (int i = 0; i < 4; ++i)
        body[static_cast<size_t>(i)] = static_cast<uint8_t>(length >> (8 * i));
    return body;
}
} // namespace NetTest
