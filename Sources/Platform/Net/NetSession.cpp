#include "Platform/Net/NetSession.h"

#include "Platform/Net/NetWire.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cassert>
#include <cerrno>
#include <cstring>

namespace Platform
{

using namespace NetWire;

namespace
{
// Connections that have not said who they are yet: at most this many in all,
// and from one address.
constexpr uint32_t kMaxPendingJoiners = 16;
constexpr uint32_t kMaxPendingPerAddress = 4;
constexpr size_t kMaxQueuedBytes = 4 * 1024 * 1024;
// After a share of queries the discovery port rests this long, so that a
// flood neither holds the lock the caller's sends wait for nor takes a whole
// processor.
constexpr auto kQueryRest = std::chrono::milliseconds(2);

sockaddr_in socketAddress(uint32_t ip, uint16_t port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(ip);
    address.sin_port = htons(port);
    return address;
}

void closeFd(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

// The I/O thread's poll holds the sockets it waits on until it returns: a
// listener only closed would keep its port a moment longer. Out of listening
// first, its port can be hosted again at once.
void closeListener(int& fd)
{
    if (fd >= 0)
        ::shutdown(fd, SHUT_RDWR);
    closeFd(fd);
}

int openUdp(uint32_t ip, uint16_t port)
{
    int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    int yes = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address = socketAddress(ip, port);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
    {
        int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

int openListener(uint32_t ip, uint16_t port, uint16_t& boundPort)
{
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    int yes = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address = socketAddress(ip, port);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 16) != 0)
    {
        int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    boundPort = ntohs(address.sin_port);
    return fd;
}

void setNoDelay(int fd)
{
    int yes = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
}

void setAbortive(int fd)
{
    linger option{1, 0};
    setsockopt(fd, SOL_SOCKET, SO_LINGER, &option, sizeof option);
}
} // namespace

struct NetSession::Connection
{
    enum class State
    {
        Connecting,     // joiner: TCP connect in progress
        AwaitingAccept, // joiner: JOIN sent
        AwaitingJoin,   // host: accepted socket, no JOIN yet
        Joined,
        Closing // draining before the socket is closed
    };

    int fd = -1;
    State state = State::AwaitingJoin;
    NetPlayerId id = 0;
    uint32_t ip = 0;
    std::vector<uint8_t> in;
    std::vector<uint8_t> out;
    size_t outSent = 0;
    Clock::time_point deadline{};
    // Both ends send keep-alives, so silence means the peer is gone.
    bool timed = false;
    Clock::time_point lastHeard{};
    Clock::time_point lastSent{};
    bool shutDown = false;
    bool dead = false;
};

struct NetSession::Notification
{
    enum class Type
    {
        HostFound,
        HostLost,
        ConnectComplete,
        PlayerCreated,
        PlayerDestroyed,
        Receive,
        SessionEnded
    };
    explicit Notification(Type kind) : type(kind) {}
    Type type;
    uint32_t session = 0;
    NetPlayerId player = 0;
    bool isLocal = false;
    NetConnectResult result = NetConnectResult::Failed;
    NetCloseReason reason = NetCloseReason::ConnectionLost;
    std::vector<uint8_t> data;
    NetHostInfo host;
};

NetSession::NetSession(NetHandler& handler, NetTimings timings)
    : mHandler(handler), mTimings(timings),
      mHostList(
          [this](bool listed, const NetHostInfo& host)
          {
              Notification report{listed ? Notification::Type::HostFound : Notification::Type::HostLost};
              report.host = host;
              notify(std::move(report));
          })
{
}

NetSession::~NetSession()
{
    shutdown();
    for (auto& connection : mConnections)
        closeFd(connection->fd);
    closeFd(mListenFd);
    closeFd(mHostUdpFd);
    closeFd(mEnumFd);
    closeFd(mWakeFd);
}

void NetSession::shutdown()
{
    assert(!mThread.joinable() || mThread.get_id() != std::this_thread::get_id());
    close();
    {
        std::lock_guard lock(mMutex);
        mStop = true;
    }
    wake();
    if (mThread.joinable())
        mThread.join();
}

bool NetSession::start()
{
    std::lock_guard lock(mMutex);
    if (mStarted || mStop)
        return mStarted;
    int probe = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (probe < 0)
        return false;
    ::close(probe);
    mWakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    mEnumFd = openUdp(INADDR_ANY, 0);
    if (mWakeFd < 0 || mEnumFd < 0)
    {
        closeFd(mWakeFd);
        closeFd(mEnumFd);
        return false;
    }
    // Queries go to every interface's broadcast address, not only to the
    // limited one.
    int yes = 1;
    setsockopt(mEnumFd, SOL_SOCKET, SO_BROADCAST, &yes, sizeof yes);
    try
    {
        mThread = std::thread([this] { run(); });
    }
    catch (const std::system_error&)
    {
        closeFd(mWakeFd);
        closeFd(mEnumFd);
        return false;
    }
    mStarted = true;
    return true;
}

void NetSession::wake()
{
    if (mWakeFd >= 0)
    {
        uint64_t one = 1;
        [[maybe_unused]] ssize_t written = ::write(mWakeFd, &one, sizeof one);
    }
}

// ---------------------------------------------------------------- caller side

NetResult NetSession::host(const NetHostOptions& options, uint32_t& session)
{
    std::lock_guard lock(mMutex);
    if (!mStarted)
        return NetResult::Failed;
    if (mMode != Mode::Idle)
        return NetResult::AlreadyInSession;
    if (options.maxPlayers > kNetMaxPlayers || options.sessionName.size() > kNetMaxSessionName ||
        options.password.size() > kMaxPasswordLength)
        return NetResult::Failed;

    // The discovery socket shares the session's port number; with a free port
    // asked for, try a few until both are free.
    uint32_t ip = listenAddress();
    for (int attempt = 0; attempt < 16 && mHostUdpFd < 0; ++attempt)
    {
        uint16_t port = 0;
        mListenFd = openListener(ip, options.port, port);
        if (mListenFd < 0)
            return errno == EADDRINUSE ? NetResult::AddressInUse : NetResult::Failed;
        mHostUdpFd = openUdp(ip, port);
        if (mHostUdpFd < 0)
        {
            int error = errno;
            closeFd(mListenFd);
            if (options.port != 0)
                return error == EADDRINUSE ? NetResult::AddressInUse : NetResult::Failed;
            continue;
        }
        mHostedPort = port;
    }
    if (mHostUdpFd < 0)
        return NetResult::Failed;

    mHostOptions = options;
    if (mHostOptions.maxPlayers == 0)
        mHostOptions.maxPlayers = kNetMaxPlayers;
    mInstance = NetGuid::generate();
    mRole = options.role;
    mMode = Mode::Hosting;
    mSession = mDeliverSession = session = mNextSession++;
    mHostId = mLocalId = mNextPlayerId++;
    mPlayerIps.assign({{mLocalId, ip == INADDR_ANY ? INADDR_LOOPBACK : ip}});
    Notification created{Notification::Type::PlayerCreated};
    created.session = mSession;
    created.player = mLocalId;
    created.isLocal = true;
    notify(std::move(created));
    wake();
    return NetResult::Ok;
}

uint16_t NetSession::hostedPort()
{
    std::lock_guard lock(mMutex);
    return mMode == Mode::Hosting ? mHostedPort : 0;
}

NetResult NetSession::enumHosts(const NetGuid& application, const std::string& hostName, uint16_t port,
                                uint32_t count)
{
    std::vector<uint32_t> targets;
    if (hostName.empty())
    {
        targets = discoveryTargets();
    }
    else
    {
        uint32_t ip = 0;
        if (!resolveHostName(hostName, ip))
            return NetResult::InvalidHost;
        targets.push_back(ip);
    }
    std::lock_guard lock(mMutex);
    if (!mStarted)
        return NetResult::Failed;
    mEnumActive = true;
    mEnumApplication = application;
    mEnumTargets = std::move(targets);
    mEnumPort = port;
    mEnumForever = count == 0;
    mEnumRemaining = count;
    mEnumNext = Clock::now();
    mEnumUnsent = false;
    mHostList.restart(application, mEnumTargets.size());
    wake();
    return NetResult::Ok;
}

void NetSession::cancelEnumeration()
{
    std::lock_guard lock(mMutex);
    mEnumActive = false;
    mEnumUnsent = false;
    mHostList.clear();
}

uint16_t NetSession::answerPort()
{
    std::lock_guard lock(mMutex);
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (mEnumFd < 0 || getsockname(mEnumFd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return 0;
    return ntohs(address.sin_port);
}

bool NetSession::queriesUnsent()
{
    std::lock_guard lock(mMutex);
    return mEnumActive && mEnumUnsent;
}

bool NetSession::isListed(const NetHostInfo& host)
{
    std::lock_guard lock(mMutex);
    return mHostList.lists(host);
}

NetResult NetSession::connect(const NetAddress& host, const NetGuid& application, const NetGuid& instance,
                              NetRole role, const std::string& password, uint32_t& session)
{
    std::lock_guard lock(mMutex);
    if (!mStarted)
        return NetResult::Failed;
    if (mMode != Mode::Idle)
        return NetResult::AlreadyInSession;
    if (password.size() > kMaxPasswordLength)
        return NetResult::Failed;
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return NetResult::Failed;
    setNoDelay(fd);

    auto connection = std::make_unique<Connection>();
    connection->fd = fd;
    connection->ip = host.ip;
    connection->state = Connection::State::Connecting;
    connection->out = encodeJoin(JoinRequest{application, instance, static_cast<uint8_t>(role), password});

    mRole = role;
    mMode = Mode::Connecting;
    mSession = mDeliverSession = session = mNextSession++;
    mConnectDeadline = Clock::now() + std::chrono::milliseconds(mTimings.connectTimeoutMs);
    mHostLink = connection.get();
    mConnections.push_back(std::move(connection));

    // Every outcome, an immediate refusal included, arrives as the completion.
    sockaddr_in address = socketAddress(host.ip, host.port);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 && errno != EINPROGRESS)
        completeConnect(NetConnectResult::Failed);
    wake();
    return NetResult::Ok;
}

NetResult NetSession::cancelConnect()
{
    std::lock_guard lock(mMutex);
    if (mMode != Mode::Connecting)
        return NetResult::NoPendingConnect;
    completeConnect(NetConnectResult::Cancelled);
    mDeliverSession = 0;
    wake();
    return NetResult::Ok;
}

NetResult NetSession::sendTo(NetPlayerId target, const void* data, uint32_t size)
{
    std::lock_guard lock(mMutex);
    if (mMode != Mode::Hosting && mMode != Mode::Joined)
        return NetResult::NotInSession;
    if (size > kNetMaxMessageSize)
        return NetResult::MessageTooLarge;
    if (target == mLocalId)
        return NetResult::Ok; // no loop-back

    auto frameFor = [&](NetPlayerId to) { return encodeData(mLocalId, to, data, size); };
    if (mMode == Mode::Joined)
    {
        if (mHostLink == nullptr)
            return NetResult::NotInSession;
        queueFrame(*mHostLink, frameFor(target));
    }
    else if (target == kNetAllPlayers)
    {
        std::vector<uint8_t> frame = frameFor(kNetAllPlayers);
        for (auto& connection : mConnections)
        {
            if (connection->state == Connection::State::Joined && !connection->dead)
                queueFrame(*connection, frame);
        }
    }
    else
    {
        Connection* connection = findPlayer(target);
        if (connection == nullptr)
            return NetResult::Failed;
        queueFrame(*connection, frameFor(target));
    }
    wake();
    return NetResult::Ok;
}

void NetSession::close()
{
    std::lock_guard lock(mMutex);
    switch (mMode)
    {
    case Mode::Idle:
        return;
    case Mode::Connecting:
        completeConnect(NetConnectResult::Cancelled);
        break;
    case Mode::Hosting:
    {
        Writer end = startFrame(FRAME_END);
        std::vector<uint8_t> frame = finishFrame(end);
        for (auto& connection : mConnections)
        {
            if (connection->state == Connection::State::Joined)
            {
                queueFrame(*connection, frame);
                closeLink(*connection, false);
            }
            else if (connection->state == Connection::State::AwaitingJoin)
            {
                closeLink(*connection, true);
            }
        }
        // Closed at once so that the port can be hosted again right away.
        closeListener(mListenFd);
        closeFd(mHostUdpFd);
        mHostedPort = 0;
        break;
    }
    case Mode::Joined:
        if (mHostLink != nullptr)
            closeLink(*mHostLink, false);
        break;
    }
    endSessionLocally();
    mDeliverSession = 0;
    wake();
}

void NetSession::abortConnections()
{
    std::lock_guard lock(mMutex);
    for (auto& connection : mConnections)
        closeLink(*connection, true);
    if (mMode == Mode::Connecting)
        completeConnect(NetConnectResult::Cancelled);
    closeListener(mListenFd);
    closeFd(mHostUdpFd);
    mHostedPort = 0;
    endSessionLocally();
    mDeliverSession = 0;
    wake();
}

bool NetSession::playerAddress(NetPlayerId player, std::string& address)
{
    std::lock_guard lock(mMutex);
    for (auto& [id, ip] : mPlayerIps)
    {
        if (id == player && ip != 0)
        {
            address = ipToText(ip);
            return true;
        }
    }
    return false;
}

NetPlayerId NetSession::localPlayer()
{
    std::lock_guard lock(mMutex);
    return mLocalId;
}

// ------------------------------------------------------------ shared helpers
// Everything below runs with mMutex held.

void NetSession::notify(Notification notification)
{
    mNotifications.push_back(std::move(notification));
}

void NetSession::endSessionLocally()
{
    mMode = Mode::Idle;
    mSession = 0;
    mHostLink = nullptr;
    mLocalId = 0;
    mHostId = 0;
    mPlayerIps.clear();
}

void NetSession::completeConnect(NetConnectResult result)
{
    Notification done{Notification::Type::ConnectComplete};
    done.session = mSession;
    done.result = result;
    if (result == NetConnectResult::Accepted)
    {
        mMode = Mode::Joined;
    }
    else
    {
        if (mHostLink != nullptr)
            closeLink(*mHostLink, true);
        endSessionLocally();
    }
    notify(std::move(done));
}

void NetSession::closeLink(Connection& connection, bool abortive)
{
    if (connection.dead)
        return;
    if (abortive || connection.state == Connection::State::Connecting)
    {
        if (abortive)
            setAbortive(connection.fd);
        connection.dead = true;
        return;
    }
    connection.state = Connection::State::Closing;
    connection.deadline = Clock::now() + std::chrono::milliseconds(mTimings.lingerMs);
    flush(connection);
}

void NetSession::queueFrame(Connection& connection, std::vector<uint8_t> frame)
{
    if (connection.dead || connection.state == Connection::State::Closing)
        return;
    connection.out.insert(connection.out.end(), frame.begin(), frame.end());
    connection.lastSent = Clock::now();
    if (connection.out.size() - connection.outSent > kMaxQueuedBytes)
    {
        // A peer that reads nothing does not get to grow our memory.
        lose(connection);
        return;
    }
    if (connection.state != Connection::State::Connecting)
        flush(connection);
}

void NetSession::flush(Connection& connection)
{
    while (!connection.dead && connection.outSent < connection.out.size())
    {
        ssize_t sent = ::send(connection.fd, connection.out.data() + connection.outSent,
                              connection.out.size() - connection.outSent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent < 0)
        {
            if (errno == EAGAIN || errno == EWOULDBLOCK)
                return;
            if (errno == EINTR)
                continue;
            lose(connection);
            return;
        }
        connection.outSent += static_cast<size_t>(sent);
    }
    connection.out.clear();
    connection.outSent = 0;
    if (connection.state == Connection::State::Closing && !connection.shutDown)
    {
        ::shutdown(connection.fd, SHUT_WR);
        connection.shutDown = true;
    }
}

NetSession::Connection* NetSession::findConnection(int fd)
{
    for (auto& connection : mConnections)
    {
        if (connection->fd == fd && !connection->dead)
            return connection.get();
    }
    return nullptr;
}

NetSession::Connection* NetSession::findPlayer(NetPlayerId player)
{
    for (auto& connection : mConnections)
    {
        if (connection->id == player && connection->state == Connection::State::Joined && !connection->dead)
            return connection.get();
    }
    return nullptr;
}

uint32_t NetSession::countPlayers() const
{
    uint32_t count = 1; // the host
    for (auto& connection : mConnections)
    {
        if (connection->state == Connection::State::Joined && !connection->dead)
            ++count;
    }
    return count;
}

// A connection that failed, closed or misbehaved.
void NetSession::lose(Connection& connection)
{
    if (connection.dead)
        return;
    connection.dead = true;
    if (connection.state == Connection::State::Closing || connection.state == Connection::State::AwaitingJoin)
        return;
    if (&connection == mHostLink)
    {
        if (mMode == Mode::Connecting)
        {
            completeConnect(NetConnectResult::Failed);
        }
        else if (mMode == Mode::Joined)
        {
            Notification ended{Notification::Type::SessionEnded};
            ended.session = mSession;
            ended.reason = NetCloseReason::ConnectionLost;
            notify(std::move(ended));
            endSessionLocally();
        }
        return;
    }
    if (mMode != Mode::Hosting || connection.state != Connection::State::Joined)
        return;
    // A joiner left: the host and, in a peer session, every other joiner hear of it.
    std::erase_if(mPlayerIps, [&](const auto& entry) { return entry.first == connection.id; });
    Notification destroyed{Notification::Type::PlayerDestroyed};
    destroyed.session = mSession;
    destroyed.player = connection.id;
    notify(std::move(destroyed));
    if (mRole == NetRole::Peer)
    {
        Writer writer = startFrame(FRAME_PLAYER_DESTROYED);
        writer.u32(connection.id);
        std::vector<uint8_t> frame = finishFrame(writer);
        for (auto& other : mConnections)
        {
            if (other.get() != &connection && other->state == Connection::State::Joined && !other->dead)
                queueFrame(*other, frame);
        }
    }
}

// ------------------------------------------------------------------ I/O thread

void NetSession::run()
{
    std::vector<pollfd> fds;
    std::vector<Notification> ready;
    for (;;)
    {
        int timeoutMs = 0;
        {
            std::lock_guard lock(mMutex);
            if (mStop)
                break;
            sweep();
            handleTimers(Clock::now());
            ready.swap(mNotifications);
            if (ready.empty())
                timeoutMs = buildPollSet(fds, Clock::now());
        }
        if (!ready.empty())
        {
            dispatch(ready);
            ready.clear();
            continue;
        }
        int count = ::poll(fds.data(), fds.size(), timeoutMs);
        if (count <= 0)
            continue;
        std::lock_guard lock(mMutex);
        for (const pollfd& entry : fds)
        {
            if (entry.revents != 0)
                handlePollResult(entry);
        }
    }
}

void NetSession::dispatch(std::vector<Notification>& ready)
{
    for (Notification& n : ready)
    {
        if (n.type != Notification::Type::HostFound && n.type != Notification::Type::HostLost &&
            n.type != Notification::Type::ConnectComplete)
        {
            // Nothing more of a session that the caller closed.
            std::lock_guard lock(mMutex);
            if (n.session != mDeliverSession)
                continue;
        }
        switch (n.type)
        {
        case Notification::Type::HostFound:
            mHandler.onHostFound(n.host);
            break;
        case Notification::Type::HostLost:
            mHandler.onHostLost(n.host);
            break;
        case Notification::Type::ConnectComplete:
            mHandler.onConnectComplete(n.session, n.result);
            break;
        case Notification::Type::PlayerCreated:
            mHandler.onPlayerCreated(n.session, n.player, n.isLocal);
            break;
        case Notification::Type::PlayerDestroyed:
            mHandler.onPlayerDestroyed(n.session, n.player);
            break;
        case Notification::Type::Receive:
            mHandler.onReceive(n.session, n.player, n.data.data(), static_cast<uint32_t>(n.data.size()));
            break;
        case Notification::Type::SessionEnded:
            mHandler.onSessionEnded(n.session, n.reason);
            break;
        }
    }
}

// Sockets are closed here only, on the I/O thread, so that a number never
// changes meaning while poll waits on it.
void NetSession::sweep()
{
    std::erase_if(mConnections,
                  [&](const std::unique_ptr<Connection>& connection)
                  {
                      if (!connection->dead)
                          return false;
                      if (connection.get() == mHostLink)
                          mHostLink = nullptr;
                      closeFd(connection->fd);
                      return true;
                  });
}

void NetSession::handleTimers(Clock::time_point now)
{
    if (mEnumActive)
    {
        if ((mEnumForever || mEnumRemaining > 0) && now >= mEnumNext)
        {
            sendQueries();
            mEnumNext = now + std::chrono::milliseconds(mTimings.enumRetryMs);
            if (!mEnumForever && --mEnumRemaining == 0)
                mEnumEnd = now + std::chrono::milliseconds(mTimings.enumTimeoutMs);
        }
        else if (!mEnumForever && mEnumRemaining == 0 && now >= mEnumEnd)
        {
            // Answers that came in time but wait unread (the thread was
            // late) still count.
            readHostAnswers();
            mEnumActive = false;
        }
    }
    // A deadline is checked before the sockets are read: what arrived in
    // time but waits unread (the thread was late) is read first, so that a
    // busy machine does not turn away the answer it was waiting for.
    if (mMode == Mode::Connecting && now >= mConnectDeadline && mHostLink != nullptr &&
        mHostLink->state == Connection::State::AwaitingAccept && !mHostLink->dead)
        readConnection(*mHostLink);
    if (mMode == Mode::Connecting && now >= mConnectDeadline)
        completeConnect(NetConnectResult::TimedOut);
    for (auto& connection : mConnections)
    {
        if (connection->state == Connection::State::AwaitingJoin && !connection->dead &&
            now >= connection->deadline)
            readConnection(*connection);
        bool timed = connection->state == Connection::State::AwaitingJoin ||
                     connection->state == Connection::State::Closing;
        if (timed && !connection->dead && now >= connection->deadline)
            connection->dead = true;
        if (connection->state == Connection::State::Joined && connection->timed && !connection->dead)
            checkLiveness(*connection, now);
    }
    sweep();
}

void NetSession::checkLiveness(Connection& connection, Clock::time_point now)
{
    const auto deadAfter = std::chrono::milliseconds(mTimings.deadPeerMs);
    if (now - connection.lastHeard >= deadAfter)
    {
        // What arrived while this thread was late (a busy machine, a handler
        // waiting for its lock) still counts.
        readConnection(connection);
        if (connection.dead || connection.state != Connection::State::Joined)
            return;
        if (now - connection.lastHeard >= deadAfter)
        {
            setAbortive(connection.fd);
            lose(connection);
            return;
        }
    }
    if (now - connection.lastSent >= std::chrono::milliseconds(mTimings.keepAliveMs))
        queueFrame(connection, encodeKeepAlive());
}

int NetSession::buildPollSet(std::vector<pollfd>& fds, Clock::time_point now)
{
    fds.clear();
    fds.push_back({mWakeFd, POLLIN, 0});
    fds.push_back({mEnumFd, POLLIN, 0});
    if (mListenFd >= 0)
        fds.push_back({mListenFd, POLLIN, 0});
    Clock::time_point next = now + std::chrono::seconds(1);
    if (mHostUdpFd >= 0 && now >= mQueriesResume)
        fds.push_back({mHostUdpFd, POLLIN, 0});
    else if (mHostUdpFd >= 0)
        next = mQueriesResume;
    for (auto& connection : mConnections)
    {
        short events = POLLIN;
        if (connection->state == Connection::State::Connecting ||
            connection->outSent < connection->out.size())
            events |= POLLOUT;
        fds.push_back({connection->fd, events, 0});
        if (connection->state == Connection::State::AwaitingJoin ||
            connection->state == Connection::State::Closing)
            next = std::min(next, connection->deadline);
        if (connection->state == Connection::State::Joined && connection->timed && !connection->dead)
            next = std::min({next, connection->lastHeard + std::chrono::milliseconds(mTimings.deadPeerMs),
                             connection->lastSent + std::chrono::milliseconds(mTimings.keepAliveMs)});
    }
    if (mEnumActive)
        next = std::min(next, (mEnumForever || mEnumRemaining > 0) ? mEnumNext : mEnumEnd);
    if (mMode == Mode::Connecting)
        next = std::min(next, mConnectDeadline);
    auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(next - now).count();
    return static_cast<int>(std::clamp<int64_t>(wait + 1, 0, 1000));
}

// Readiness only says where to look: every socket is non-blocking and every
// conclusion is drawn from the call itself.
void NetSession::handlePollResult(const pollfd& entry)
{
    if (entry.fd == mWakeFd)
    {
        uint64_t value = 0;
        [[maybe_unused]] ssize_t got = ::read(mWakeFd, &value, sizeof value);
        return;
    }
    if (entry.fd == mEnumFd)
    {
        readHostAnswers();
        return;
    }
    if (entry.fd == mListenFd && mListenFd >= 0)
    {
        acceptJoiners();
        return;
    }
    if (entry.fd == mHostUdpFd && mHostUdpFd >= 0)
    {
        answerQueries();
        return;
    }
    Connection* connection = findConnection(entry.fd);
    if (connection == nullptr)
        return;
    if (connection->state == Connection::State::Connecting)
    {
        finishConnect(*connection);
        return;
    }
    if (entry.revents & POLLOUT)
        flush(*connection);
    if (!connection->dead && (entry.revents & (POLLIN | POLLHUP | POLLERR)))
        readConnection(*connection);
}

void NetSession::sendQueries()
{
    std::vector<uint8_t> query = encodeQuery(mEnumApplication);
    // One unreachable target (the limited broadcast without a default
    // route, a network that is down) does not stop the others. The loopback
    // always takes a query, so it says nothing of the network: with other
    // targets, the network is judged by those that belong to an interface
    // (the limited broadcast only follows a default route).
    bool networkTargets = false;
    size_t sent = 0;
    size_t sentToNetwork = 0;
    for (uint32_t ip : mEnumTargets)
        networkTargets = networkTargets || !isLoopback(ip);
    for (uint32_t ip : mEnumTargets)
    {
        sockaddr_in address = socketAddress(ip, mEnumPort);
        if (::sendto(mEnumFd, query.data(), query.size(), MSG_NOSIGNAL, reinterpret_cast<sockaddr*>(&address),
                     sizeof address) < 0)
            continue;
        ++sent;
        if (!isLoopback(ip) && ip != INADDR_BROADCAST)
            ++sentToNetwork;
    }
    mEnumUnsent = networkTargets ? sentToNetwork == 0 : sent == 0;
    mHostList.newRound();
}

// A bounded share per round, and a rest after it, so that a flood of queries
// cannot keep the sessions' own frames, keep-alives and reads waiting.
void NetSession::answerQueries()
{
    uint8_t buffer[512];
    const Clock::time_point now = Clock::now();
    mQueriesResume = now + kQueryRest;
    for (uint32_t read = 0; read < kNetQueryReadBudget; ++read)
    {
        sockaddr_in from{};
        socklen_t length = sizeof from;
        ssize_t got =
            ::recvfrom(mHostUdpFd, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &length);
        if (got < 0)
            return;
        NetGuid application;
        if (!decodeQuery(buffer, static_cast<size_t>(got), application) ||
            !(application == mHostOptions.application) ||
            !mAnswerLimiter.mayAnswer(ntohl(from.sin_addr.s_addr), ntohs(from.sin_port), now))
            continue;
        NetHostInfo self;
        self.application = mHostOptions.application;
        self.instance = mInstance;
        self.maxPlayers = mHostOptions.maxPlayers;
        self.currentPlayers = countPlayers();
        self.address.port = mHostedPort;
        self.sessionName = mHostOptions.sessionName;
        std::vector<uint8_t> answer = encodeAnswer(self);
        ::sendto(mHostUdpFd, answer.data(), answer.size(), MSG_NOSIGNAL, reinterpret_cast<sockaddr*>(&from),
                 length);
    }
}

void NetSession::readHostAnswers()
{
    uint8_t buffer[1024];
    for (uint32_t read = 0; read < kNetAnswerReadBudget; ++read)
    {
        sockaddr_in from{};
        socklen_t length = sizeof from;
        ssize_t got =
            ::recvfrom(mEnumFd, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &length);
        if (got < 0)
            return;
        if (mEnumActive)
            mHostList.take(ntohl(from.sin_addr.s_addr), ntohs(from.sin_port), buffer,
                           static_cast<size_t>(got));
    }
}

void NetSession::acceptJoiners()
{
    for (;;)
    {
        sockaddr_in from{};
        socklen_t length = sizeof from;
        int fd =
            ::accept4(mListenFd, reinterpret_cast<sockaddr*>(&from), &length, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0)
            return;
        if (mMode != Mode::Hosting)
        {
            ::close(fd);
            continue;
        }
        uint32_t ip = ntohl(from.sin_addr.s_addr);
        makeRoomForJoiner(ip);
        setNoDelay(fd);
        auto connection = std::make_unique<Connection>();
        connection->fd = fd;
        connection->ip = ip;
        connection->state = Connection::State::AwaitingJoin;
        connection->deadline = Clock::now() + std::chrono::milliseconds(mTimings.handshakeTimeoutMs);
        mConnections.push_back(std::move(connection));
    }
}

// Whoever holds connections open without a word must not keep a real player
// out: a newcomer is never refused, the oldest waiting connection makes way,
// first among those of the newcomer's own address.
void NetSession::makeRoomForJoiner(uint32_t ip)
{
    Connection* oldest = nullptr;
    Connection* oldestSameAddress = nullptr;
    uint32_t pending = 0;
    uint32_t sameAddress = 0;
    // mConnections is in the order of arrival.
    for (auto& connection : mConnections)
    {
        if (connection->state != Connection::State::AwaitingJoin || connection->dead)
            continue;
        ++pending;
        if (oldest == nullptr)
            oldest = connection.get();
        if (connection->ip == ip)
        {
            ++sameAddress;
            if (oldestSameAddress == nullptr)
                oldestSameAddress = connection.get();
        }
    }
    if (sameAddress >= kMaxPendingPerAddress)
        closeLink(*oldestSameAddress, true);
    else if (pending >= kMaxPendingJoiners)
        closeLink(*oldest, true);
}

void NetSession::finishConnect(Connection& connection)
{
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(connection.fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0)
    {
        lose(connection);
        return;
    }
    sockaddr_in peer{};
    length = sizeof peer;
    if (getpeername(connection.fd, reinterpret_cast<sockaddr*>(&peer), &length) != 0)
        return; // still connecting
    connection.state = Connection::State::AwaitingAccept;
    flush(connection);
}

void NetSession::readConnection(Connection& connection)
{
    uint8_t buffer[16 * 1024];
    // A bounded share per round, so that a peer that never stops sending
    // cannot keep its notifications from being delivered.
    for (int round = 0; round < 16; ++round)
    {
        ssize_t got = ::recv(connection.fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        if (got <= 0)
        {
            // The other side closed or the link broke. A closing connection
            // has drained.
            if (connection.state == Connection::State::Closing)
                connection.dead = true;
            else
                lose(connection);
            return;
        }
        if (connection.state == Connection::State::Closing)
            continue;
        connection.lastHeard = Clock::now();
        connection.in.insert(connection.in.end(), buffer, buffer + got);

        // Every whole frame in the buffer.
        size_t offset = 0;
        while (connection.in.size() - offset >= 4 && !connection.dead)
        {
            const uint8_t* start = connection.in.data() + offset;
            uint32_t frameLength = ByteReader(start, connection.in.size() - offset).u32();
            if (frameLength == 0 || frameLength > kNetMaxFrameSize)
            {
                lose(connection);
                return;
            }
            if (connection.in.size() - offset - 4 < frameLength)
                break;
            if (!handleFrame(connection, start[4], start + 5, frameLength - 1))
            {
                lose(connection);
                return;
            }
            offset += 4 + frameLength;
        }
        if (connection.dead || connection.state == Connection::State::Closing)
            return;
        connection.in.erase(connection.in.begin(),
                            connection.in.begin() + static_cast<std::ptrdiff_t>(offset));
    }
}

// False when the frame has no place here: the connection is then dropped.
bool NetSession::handleFrame(Connection& connection, uint8_t type, const uint8_t* body, uint32_t size)
{
    Reader reader(body, size);
    switch (connection.state)
    {
    case Connection::State::AwaitingJoin:
        return type == FRAME_JOIN && handleJoin(connection, body, size);
    case Connection::State::AwaitingAccept:
        if (type == FRAME_ACCEPT)
            return handleAccept(connection, body, size);
        if (type == FRAME_REJECT)
        {
            // A session that has ended is gone, as a host that has gone is.
            const uint8_t reason = reader.u8();
            completeConnect(reason == REJECT_FULL              ? NetConnectResult::SessionFull
                            : reason == REJECT_PASSWORD        ? NetConnectResult::InvalidPassword
                            : reason == REJECT_NO_SUCH_SESSION ? NetConnectResult::Failed
                                                               : NetConnectResult::Rejected);
            return true;
        }
        return false;
    case Connection::State::Joined:
        break;
    default:
        return true;
    }

    if (type == FRAME_KEEP_ALIVE)
        return connection.timed; // hearing it was its whole purpose
    if (&connection != mHostLink)
        return type == FRAME_DATA && handleHostData(connection, body, size);

    // A joiner hears from its host.
    switch (type)
    {
    case FRAME_DATA:
    {
        DataHeader data;
        if (!decodeData(body, size, data))
            return false;
        Notification received{Notification::Type::Receive};
        received.session = mSession;
        received.player = data.from;
        received.data.assign(data.message, data.message + data.size);
        notify(std::move(received));
        return true;
    }
    case FRAME_PLAYER_CREATED:
    case FRAME_PLAYER_DESTROYED:
    {
        NetPlayerId id = reader.u32();
        uint32_t ip = type == FRAME_PLAYER_CREATED ? reader.u32() : 0;
        if (!reader.ok() || id == kNetAllPlayers || id == mLocalId)
            return false;
        bool known =
            std::any_of(mPlayerIps.begin(), mPlayerIps.end(), [&](const auto& e) { return e.first == id; });
        if (type == FRAME_PLAYER_CREATED && (known || mPlayerIps.size() >= kNetMaxPlayers))
            return false;
        if (type == FRAME_PLAYER_CREATED)
            mPlayerIps.push_back({id, ip});
        else
            std::erase_if(mPlayerIps, [&](const auto& entry) { return entry.first == id; });
        if (mRole == NetRole::Peer)
        {
            Notification n{type == FRAME_PLAYER_CREATED ? Notification::Type::PlayerCreated
                                                        : Notification::Type::PlayerDestroyed};
            n.session = mSession;
            n.player = id;
            notify(std::move(n));
        }
        return true;
    }
    case FRAME_END:
    {
        Notification ended{Notification::Type::SessionEnded};
        ended.session = mSession;
        ended.reason = NetCloseReason::HostEnded;
        notify(std::move(ended));
        connection.dead = true;
        endSessionLocally();
        return true;
    }
    default:
        return false;
    }
}

bool NetSession::handleJoin(Connection& connection, const uint8_t* body, uint32_t size)
{
    JoinRequest join;
    if (!decodeJoin(body, size, join))
        return false;

    uint8_t refusal = 0;
    if (!(join.application == mHostOptions.application) || join.role != static_cast<uint8_t>(mRole))
        refusal = REJECT_REFUSED;
    else if (!join.instance.isZero() && !(join.instance == mInstance))
        refusal = REJECT_NO_SUCH_SESSION;
    else if (join.password != mHostOptions.password)
        refusal = REJECT_PASSWORD;
    else if (countPlayers() >= mHostOptions.maxPlayers)
        refusal = REJECT_FULL;
    if (refusal != 0)
    {
        Writer reject = startFrame(FRAME_REJECT);
        reject.u8(refusal);
        queueFrame(connection, finishFrame(reject));
        closeLink(connection, false);
        return true;
    }

    connection.id = mNextPlayerId++;
    connection.state = Connection::State::Joined;
    connection.timed = join.version >= kFirstKeepAliveVersion;
    connection.lastHeard = Clock::now();
    mPlayerIps.push_back({connection.id, connection.ip});

    // The joiner learns of everyone already there, itself included, in one frame.
    AcceptInfo accept;
    accept.yourId = connection.id;
    accept.hostId = mHostId;
    accept.version = connection.timed ? kSessionVersion : 1;
    for (auto& [id, ip] : mPlayerIps)
        accept.players.push_back({id, id == mHostId ? 0 : ip});
    queueFrame(connection, encodeAccept(accept));

    if (mRole == NetRole::Peer)
    {
        Writer created = startFrame(FRAME_PLAYER_CREATED);
        created.u32(connection.id);
        created.u32(connection.ip);
        std::vector<uint8_t> frame = finishFrame(created);
        for (auto& other : mConnections)
        {
            if (other.get() != &connection && other->state == Connection::State::Joined && !other->dead)
                queueFrame(*other, frame);
        }
    }
    Notification joined{Notification::Type::PlayerCreated};
    joined.session = mSession;
    joined.player = connection.id;
    notify(std::move(joined));
    return true;
}

bool NetSession::handleAccept(Connection& connection, const uint8_t* body, uint32_t size)
{
    AcceptInfo accept;
    if (!decodeAccept(body, size, accept))
        return false;
    const NetPlayerId yourId = accept.yourId;
    std::vector<std::pair<NetPlayerId, uint32_t>> players = accept.players;
    // The host is where the connection goes.
    for (auto& [id, ip] : players)
    {
        if (id == accept.hostId)
            ip = connection.ip;
    }
    mLocalId = yourId;
    mHostId = accept.hostId;
    mPlayerIps = players;
    if (mRole == NetRole::Peer)
    {
        for (auto& [id, ip] : players)
        {
            Notification created{Notification::Type::PlayerCreated};
            created.session = mSession;
            created.player = id;
            created.isLocal = id == yourId;
            notify(std::move(created));
        }
    }
    connection.state = Connection::State::Joined;
    connection.timed = accept.version >= kFirstKeepAliveVersion;
    connection.lastHeard = connection.lastSent = Clock::now();
    completeConnect(NetConnectResult::Accepted);
    return true;
}

// The host receives a message from a joiner: for the host, for another
// joiner, or for everyone.
bool NetSession::handleHostData(Connection& connection, const uint8_t* body, uint32_t size)
{
    DataHeader data; // the sender is the connection, whatever it claims
    if (!decodeData(body, size, data))
        return false;
    const NetPlayerId to = data.to;
    const uint8_t* message = data.message;
    size_t messageSize = data.size;

    if (to == kNetAllPlayers || to == mHostId)
    {
        Notification received{Notification::Type::Receive};
        received.session = mSession;
        received.player = connection.id;
        received.data.assign(message, message + messageSize);
        notify(std::move(received));
    }
    if (mRole != NetRole::Peer || to == mHostId)
        return true;
    std::vector<uint8_t> frame = encodeData(connection.id, to, message, messageSize);
    for (auto& other : mConnections)
    {
        if (other.get() == &connection || other->state != Connection::State::Joined || other->dead)
            continue;
        if (to == kNetAllPlayers || other->id == to)
            queueFrame(*other, frame);
    }
    return true;
}

} // namespace Platform
