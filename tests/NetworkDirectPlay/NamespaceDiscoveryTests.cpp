// Finding a hosted game on a real local network, without VELMORIQUE_DISCOVERY:
// each side runs in a network namespace made for the test, joined to the
// others by virtual cables only, with private addresses and no way out, so
// that nothing the test sends can leave them. Skipped where namespaces cannot
// be made.
#include "Network/GameMessages.h"
#include "Network/NetworkEvent.h"
#include "NetworkDirectPlay/DirectPlayCommon.h"
#include "NetworkDirectPlay/NetworkPeerDirectPlay.h"
#include "Platform/Net/NetSession.h"

#include "../Platform/Net/TcpRelay.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace
{
constexpr const char* kPrefix = "velmt";

bool run(const std::string& command)
{
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// Namespaces of this test, deleted with their cables when it ends, however it
// ends; those a killed run left behind go at the next run.
class Namespaces
{
public:
    Namespaces()
    {
        static std::atomic<int> counter{0};
        mStem = kPrefix + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-";
        removeOrphans();
    }
    ~Namespaces()
    {
        for (const std::string& name : mNames)
            run("ip netns del " + name);
    }
    Namespaces(const Namespaces&) = delete;
    Namespaces& operator=(const Namespaces&) = delete;

    // The full name of namespace `role`, made on first use; empty when it
    // cannot be made.
    std::string add(const std::string& role, bool loopbackUp = true)
    {
        std::string name = mStem + role;
        if (!run("ip netns add " + name))
            return std::string();
        mNames.push_back(name);
        if (loopbackUp)
            run("ip -n " + name + " link set lo up");
        return name;
    }
    // A cable between two namespaces, each end with its address (a.b.c.d/24).
    bool cable(const std::string& a, const std::string& aEnd, const std::string& aAddress,
               const std::string& b, const std::string& bEnd, const std::string& bAddress)
    {
        return run("ip -n " + a + " link add " + aEnd + " type veth peer name " + bEnd + " netns " + b) &&
               run("ip -n " + a + " addr add " + aAddress + " dev " + aEnd) &&
               run("ip -n " + b + " addr add " + bAddress + " dev " + bEnd) &&
               run("ip -n " + a + " link set " + aEnd + " up") &&
               run("ip -n " + b + " link set " + bEnd + " up");
    }

private:
    static void removeOrphans()
    {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator("/run/netns", error))
        {
            std::string name = entry.path().filename().string();
            if (name.rfind(kPrefix, 0) != 0)
                continue;
            pid_t owner = static_cast<pid_t>(std::atoi(name.c_str() + std::strlen(kPrefix)));
            if (owner > 0 && ::kill(owner, 0) != 0 && errno == ESRCH)
                run("ip netns del " + name);
        }
    }

    std::string mStem;
    std::vector<std::string> mNames;
};

// A copy of the game's network side in a child process that lives in a
// namespace, as a second program would; it reports through a pipe.
class Program
{
public:
    // body runs in the child with the write end of the report pipe and the
    // read end of the stop pipe (end of file: stop).
    Program(const std::string& space, const std::function<void(int report, int stop)>& body)
    {
        int report[2];
        int stop[2];
        if (::pipe(report) != 0 || ::pipe(stop) != 0)
            return;
        mPid = ::fork();
        if (mPid == 0)
        {
            ::close(report[0]);
            ::close(stop[1]);
            int fd = ::open(("/run/netns/" + space).c_str(), O_RDONLY | O_CLOEXEC);
            if (fd < 0 || ::setns(fd, CLONE_NEWNET) != 0)
                ::_exit(3);
            ::unsetenv("VELMORIQUE_DISCOVERY");
            body(report[1], stop[0]);
            ::_exit(0);
        }
        ::close(report[1]);
        ::close(stop[0]);
        mReport = report[0];
        mStop = stop[1];
    }
    ~Program()
    {
        if (mStop >= 0)
            ::close(mStop);
        if (mPid > 0)
        {
            // A child that does not stop by itself is stopped.
            for (int i = 0; i < 500 && ::waitpid(mPid, nullptr, WNOHANG) == 0; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            if (::kill(mPid, SIGKILL) == 0)
                ::waitpid(mPid, nullptr, 0);
        }
        if (mReport >= 0)
            ::close(mReport);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // One line for the child (see watchSession).
    void tell(const std::string& line)
    {
        std::string text = line + "\n";
        [[maybe_unused]] ssize_t written = ::write(mStop, text.data(), text.size());
    }

    // The next line of the child's report; empty on time-out or end.
    std::string readLine(int ms = 15000)
    {
        std::string line;
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        for (;;)
        {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd entry{mReport, POLLIN, 0};
            if (left.count() <= 0 || ::poll(&entry, 1, static_cast<int>(left.count())) <= 0)
                return std::string();
            char c = 0;
            if (::read(mReport, &c, 1) != 1)
                return std::string();
            if (c == '\n')
                return line;
            line += c;
        }
    }

private:
    pid_t mPid = -1;
    int mReport = -1;
    int mStop = -1;
};

void say(int fd, const std::string& line)
{
    std::string text = line + "\n";
    [[maybe_unused]] ssize_t written = ::write(fd, text.data(), text.size());
}

NetworkPeerDirectPlay* makeGamePeer(const std::string& nickname)
{
    registerGameMessages();
    auto* peer = new NetworkPeerDirectPlay(DirectPlay::kGamePort, DirectPlay::kGamePort);
    peer->setApplicationGuid(DirectPlay::kGameApplicationGuid, 16);
    peer->setNickname(nickname);
    return peer->init() == ERROR_OK ? peer : nullptr;
}

// Hosts Alice's game on the game's port and reports "hosting"; null, after
// "no host", when that fails.
std::unique_ptr<NetworkPeerDirectPlay> hostAlicesGame(int report)
{
    std::unique_ptr<NetworkPeerDirectPlay> peer(makeGamePeer("Alice"));
    if (!peer || peer->host("Partie de Alice", 2) != ERROR_OK)
    {
        say(report, "no host");
        return nullptr;
    }
    say(report, "hosting");
    return peer;
}

// Hosts a game on the game's port until told to stop.
void hostGame(int report, int stop)
{
    std::unique_ptr<NetworkPeerDirectPlay> peer = hostAlicesGame(report);
    if (!peer)
        return;
    char c = 0;
    while (::read(stop, &c, 1) > 0)
    {
    }
    std::scoped_lock guard(*peer);
    peer->closeSession();
}

// Searches the local networks as the join window does; reports
// "unreachable" once when the queries reach no network, then "found <name>
// <ms>" for the first game found, or "none".
void searchGames(int report, int)
{
    std::unique_ptr<NetworkPeerDirectPlay> peer(makeGamePeer("Bruno"));
    if (!peer)
    {
        say(report, "no peer");
        return;
    }
    auto start = std::chrono::steady_clock::now();
    {
        std::scoped_lock guard(*peer);
        if (peer->enumHosts(std::string(), 0) != ERROR_OK)
        {
            say(report, "no listing");
            return;
        }
    }
    bool toldUnreachable = false;
    while (std::chrono::steady_clock::now() - start < std::chrono::seconds(10))
    {
        if (!toldUnreachable && peer->isListingUnreachable())
        {
            toldUnreachable = true;
            say(report, "unreachable");
        }
        {
            std::scoped_lock guard(*peer);
            while (peer->popEvent())
            {
            }
            if (!peer->getSessions().empty())
            {
                auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                              std::chrono::steady_clock::now() - start)
                              .count();
                say(report, "found " + peer->getSessions()[0]->mSessionName + " " + std::to_string(ms));
                peer->cancelEnumeration();
                return;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    say(report, "none");
}

int64_t monotonicMs()
{
    // The monotonic clock is the machine's, whatever namespace reads it.
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Runs a session until the command pipe ends: "say <text>" sends a chat line
// to everyone; reports "said <text>", "left <ms>" and
// "ended <reason> <ms>" (ms on the monotonic clock).
void watchSession(NetworkPeerDirectPlay& peer, int report, int commands)
{
    ::fcntl(commands, F_SETFL, O_NONBLOCK);
    std::string pending;
    for (;;)
    {
        char buffer[256];
        ssize_t got = ::read(commands, buffer, sizeof buffer);
        if (got == 0)
            break;
        if (got > 0)
            pending.append(buffer, static_cast<size_t>(got));
        for (size_t end = pending.find('\n'); end != std::string::npos; end = pending.find('\n'))
        {
            std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            if (line.rfind("say ", 0) == 0)
            {
                std::scoped_lock guard(peer);
                peer.send(std::make_unique<ChatMessage>(line.substr(4)), nullptr);
            }
        }
        {
            std::scoped_lock guard(peer);
            while (auto event = peer.popEvent())
            {
                switch (event->getKind())
                {
                case NETWORK_EVENT_PLAYER_LEFT:
                    say(report, "left " + std::to_string(monotonicMs()));
                    break;
                case NETWORK_EVENT_SESSION_ENDED:
                    say(report, "ended " + std::to_string(static_cast<NetworkDataEvent&>(*event).getData()) +
                                    " " + std::to_string(monotonicMs()));
                    break;
                case NETWORK_EVENT_MESSAGE:
                    if (auto* chat = dynamic_cast<ChatMessage*>(
                            static_cast<NetworkMessageEvent&>(*event).getMessage()))
                        say(report, "said " + chat->getText());
                    break;
                default:
                    break;
                }
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    std::scoped_lock guard(peer);
    peer.closeSession();
}

void hostAndWatch(int report, int commands)
{
    if (std::unique_ptr<NetworkPeerDirectPlay> peer = hostAlicesGame(report))
        watchSession(*peer, report, commands);
}

// Connects to the session (the enumeration already cancelled) and reports
// "joined", then watches it.
void connectAndWatch(NetworkPeerDirectPlay& peer, const NetworkSessionInfo& session, int report, int commands)
{
    {
        std::scoped_lock guard(peer);
        if (peer.connect(session) != ERROR_OK)
            return say(report, "no connect");
    }
    auto start = std::chrono::steady_clock::now();
    int result = -1;
    while (result < 0 && std::chrono::steady_clock::now() - start < std::chrono::seconds(10))
    {
        {
            std::scoped_lock guard(peer);
            while (auto event = peer.popEvent())
            {
                if (event->getKind() == NETWORK_EVENT_CONNECT_RESULT)
                    result = static_cast<int>(static_cast<NetworkDataEvent&>(*event).getData());
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (result != CONNECT_RESULT_OK)
        return say(report, "not joined");
    say(report, "joined");
    watchSession(peer, report, commands);
}

// Finds the game hosted at 10.201.7.1 and joins it.
void joinAndWatch(int report, int commands)
{
    std::unique_ptr<NetworkPeerDirectPlay> peer(makeGamePeer("Bruno"));
    if (!peer)
        return say(report, "no peer");
    {
        std::scoped_lock guard(*peer);
        if (peer->enumHosts("10.201.7.1", 0) != ERROR_OK)
            return say(report, "no listing");
    }
    auto start = std::chrono::steady_clock::now();
    std::unique_ptr<NetworkSessionInfo> found;
    while (!found && std::chrono::steady_clock::now() - start < std::chrono::seconds(10))
    {
        {
            std::scoped_lock guard(*peer);
            while (peer->popEvent())
            {
            }
            if (!peer->getSessions().empty())
            {
                found = std::make_unique<NetworkSessionInfo>(*peer->getSessions()[0]);
                peer->cancelEnumeration();
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (!found)
        return say(report, "not found");
    // Not under the lock: the connection completes on the session's thread.
    connectAndWatch(*peer, *found, report, commands);
}

// Joins whatever game of the application listens at 10.202.9.2:kRelayPort.
constexpr uint16_t kRelayPort = 2400;
void joinThroughRelayAndWatch(int report, int commands)
{
    std::unique_ptr<NetworkPeerDirectPlay> peer(makeGamePeer("Bruno"));
    if (!peer)
        return say(report, "no peer");
    NetworkSessionInfo session;
    session.mHostIp = 0x0ACA0902; // 10.202.9.2
    session.mHostPort = kRelayPort;
    session.mMaxPlayers = 2;
    connectAndWatch(*peer, session, report, commands);
}

// A router between the two cables that passes the game's connection on 200 ms
// late each way.
void relaySlowly(int report, int stop)
{
    Relay relay(static_cast<uint16_t>(DirectPlay::kGamePort), 200, 0x0ACA0902, 0x0AC90701, kRelayPort);
    say(report, "relaying");
    char c = 0;
    while (::read(stop, &c, 1) > 0)
    {
    }
}

// "found <name> <ms>" -> the name; the time goes to the test's record.
std::string foundName(const std::string& line, const char* property)
{
    if (line.rfind("found ", 0) != 0)
        return line;
    size_t lastSpace = line.rfind(' ');
    ::testing::Test::RecordProperty(property, line.substr(lastSpace + 1));
    std::printf("discovery took %s ms (%s)\n", line.substr(lastSpace + 1).c_str(), property);
    return line.substr(6, lastSpace - 6);
}

// Hosts a game in one namespace and searches from another: the name of the
// game found, empty when the host did not start.
std::string hostFoundFrom(const std::string& host, const std::string& seeker, const char* timingLabel)
{
    Program hosting(host, hostGame);
    if (hosting.readLine() != "hosting")
        return {};
    Program searching(seeker, searchGames);
    return foundName(searching.readLine(), timingLabel);
}

#define REQUIRE_NAMESPACE(name)                                                                              \
    if ((name).empty())                                                                                      \
    GTEST_SKIP() << "network namespaces cannot be made here (needs root and ip netns); not tested"
} // namespace

TEST(NamespaceDiscovery, AHostOnALanWithoutARouterIsFound)
{
    Namespaces spaces;
    std::string host = spaces.add("h");
    REQUIRE_NAMESPACE(host);
    std::string seeker = spaces.add("s");
    ASSERT_FALSE(seeker.empty());
    // Two machines on a switch: one cable, no default route anywhere.
    ASSERT_TRUE(spaces.cable(host, "eth0", "10.201.7.1/24 brd +", seeker, "eth0", "10.201.7.2/24 brd +"));

    EXPECT_EQ(hostFoundFrom(host, seeker, "one_lan_ms"), "Partie de Alice");
}

TEST(NamespaceDiscovery, AHostOnTheSecondInterfaceIsFound)
{
    Namespaces spaces;
    std::string seeker = spaces.add("s");
    REQUIRE_NAMESPACE(seeker);
    std::string empty = spaces.add("a");
    std::string host = spaces.add("b");
    ASSERT_FALSE(empty.empty() || host.empty());
    // The default route leads to a LAN with nobody on it (and no further);
    // the game is on the other interface's LAN. These addresses have no
    // broadcast address set, as `ip addr add` leaves them.
    ASSERT_TRUE(spaces.cable(seeker, "eth0", "10.201.7.2/24", empty, "eth0", "10.201.7.1/24"));
    ASSERT_TRUE(spaces.cable(seeker, "eth1", "10.202.8.2/24", host, "eth0", "10.202.8.1/24"));
    ASSERT_TRUE(run("ip -n " + seeker + " route add default via 10.201.7.1"));

    EXPECT_EQ(hostFoundFrom(host, seeker, "second_lan_ms"), "Partie de Alice");
}

TEST(NamespaceDiscovery, NoNetworkIsReportedAndAGameOnThisMachineIsStillFound)
{
    Namespaces spaces;
    // A machine with its loopback, as every machine has, and nothing else.
    std::string machine = spaces.add("m");
    REQUIRE_NAMESPACE(machine);
    Program hosting(machine, hostGame);
    ASSERT_EQ(hosting.readLine(), "hosting");
    Program searching(machine, searchGames);
    EXPECT_EQ(searching.readLine(), "unreachable");
    EXPECT_EQ(foundName(searching.readLine(), "loopback_ms"), "Partie de Alice");
}

namespace
{
// A host and a joiner on two machines joined by one cable, in a game that
// has carried a line.
struct CabledGame
{
    bool start()
    {
        host = spaces.add("h");
        if (host.empty())
            return false;
        joiner = spaces.add("j");
        EXPECT_TRUE(spaces.cable(host, "eth0", "10.201.7.1/24 brd +", joiner, "eth0", "10.201.7.2/24 brd +"));
        hosting = std::make_unique<Program>(host, hostAndWatch);
        EXPECT_EQ(hosting->readLine(), "hosting");
        joining = std::make_unique<Program>(joiner, joinAndWatch);
        EXPECT_EQ(joining->readLine(), "joined");
        joining->tell("say bonjour");
        EXPECT_EQ(hosting->readLine(), "said bonjour");
        return true;
    }
    // The host's end of the cable, as a cable pulled there.
    void cut() { EXPECT_TRUE(run("ip -n " + host + " link set eth0 down")); }
    void mend() { EXPECT_TRUE(run("ip -n " + host + " link set eth0 up")); }

    Namespaces spaces;
    std::string host;
    std::string joiner;
    std::unique_ptr<Program> hosting;
    std::unique_ptr<Program> joining;
};

// "<word> <ms>" or "ended <reason> <ms>" -> ms; -1 for anything else.
int64_t reportedAt(const std::string& line)
{
    size_t space = line.rfind(' ');
    return space == std::string::npos ? -1 : std::atoll(line.c_str() + space + 1);
}

// How long the test waits for a report that is due at the bound: only a
// report that never comes may fail it, however late a loaded machine runs the
// programs. What the test holds the report to is that it does not come before
// the bound.
constexpr int kReportDeadlineMs = 3 * static_cast<int>(Platform::kNetDeadPeerMs);
} // namespace

TEST(NamespaceLink, ACableCutForGoodIsReportedOnBothSidesWithinTheBound)
{
    CabledGame game;
    REQUIRE_NAMESPACE(std::string(game.start() ? "made" : ""));
    // Last words each way: each side heard the other after this, so neither
    // may give the other up before a bound from it.
    const int64_t lastWords = monotonicMs();
    game.hosting->tell("say au revoir");
    game.joining->tell("say au revoir");
    ASSERT_EQ(game.joining->readLine(), "said au revoir");
    ASSERT_EQ(game.hosting->readLine(), "said au revoir");
    const int64_t cut = monotonicMs();
    game.cut();
    std::string joinerLine = game.joining->readLine(kReportDeadlineMs);
    std::string hostLine = game.hosting->readLine(kReportDeadlineMs);
    EXPECT_EQ(joinerLine.rfind("ended 1 ", 0), 0u) << joinerLine;
    EXPECT_EQ(hostLine.rfind("left ", 0), 0u) << hostLine;
    const int64_t joinerMs = reportedAt(joinerLine) - cut;
    const int64_t hostMs = reportedAt(hostLine) - cut;
    std::printf("cable cut for good: joiner told after %lld ms, host after %lld ms (bound %u ms)\n",
                static_cast<long long>(joinerMs), static_cast<long long>(hostMs), Platform::kNetDeadPeerMs);
    ::testing::Test::RecordProperty("joiner_ms", std::to_string(joinerMs));
    ::testing::Test::RecordProperty("host_ms", std::to_string(hostMs));
    EXPECT_GE(reportedAt(joinerLine) - lastWords, static_cast<int64_t>(Platform::kNetDeadPeerMs))
        << "the joiner gave up before the bound";
    EXPECT_GE(reportedAt(hostLine) - lastWords, static_cast<int64_t>(Platform::kNetDeadPeerMs))
        << "the host gave up before the bound";
}

TEST(NamespaceLink, ACutShorterThanTheBoundLosesNoMoveAndShowsNothing)
{
    CabledGame game;
    REQUIRE_NAMESPACE(std::string(game.start() ? "made" : ""));
    game.cut();
    game.joining->tell("say pendant");
    std::this_thread::sleep_for(std::chrono::milliseconds(4000));
    game.mend();
    game.joining->tell("say apres");
    EXPECT_EQ(game.hosting->readLine(), "said pendant");
    EXPECT_EQ(game.hosting->readLine(), "said apres");
    // Nothing more on either side, well past the bound counted from the cut.
    EXPECT_EQ(game.hosting->readLine(static_cast<int>(Platform::kNetDeadPeerMs) - 2000), "");
    EXPECT_EQ(game.joining->readLine(500), "");
}

TEST(NamespaceLink, A200MsDelayEachWayRaisesNoFalseAlarm)
{
    Namespaces spaces;
    std::string host = spaces.add("h");
    REQUIRE_NAMESPACE(host);
    std::string router = spaces.add("r");
    std::string joiner = spaces.add("j");
    ASSERT_TRUE(spaces.cable(host, "eth0", "10.201.7.1/24 brd +", router, "eth0", "10.201.7.2/24 brd +"));
    ASSERT_TRUE(spaces.cable(router, "eth1", "10.202.9.2/24 brd +", joiner, "eth0", "10.202.9.1/24 brd +"));
    Program hosting(host, hostAndWatch);
    ASSERT_EQ(hosting.readLine(), "hosting");
    Program relaying(router, relaySlowly);
    ASSERT_EQ(relaying.readLine(), "relaying");
    Program joining(joiner, joinThroughRelayAndWatch);
    ASSERT_EQ(joining.readLine(), "joined");
    // One and a half bounds of a slow but live link, a line now and then.
    const int rounds = static_cast<int>(Platform::kNetDeadPeerMs) * 3 / 2 / 1000;
    for (int i = 0; i < rounds; ++i)
    {
        joining.tell("say ligne " + std::to_string(i));
        EXPECT_EQ(hosting.readLine(), "said ligne " + std::to_string(i));
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
    }
    EXPECT_EQ(joining.readLine(100), "");
}
