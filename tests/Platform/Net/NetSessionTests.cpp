#include "NetSessionHarness.h"
#include "Platform/Net/NetSession.h"

#include <gtest/gtest.h>

using namespace Platform;
using namespace NetTest;

TEST(NetDiscovery, FindsHostsOfTheSameApplicationOnly)
{
    Endpoint host;
    hostSession(host, 2);
    Endpoint seeker;
    ASSERT_EQ(seeker.session.enumHosts(guidOf(7), "", host.session.hostedPort(), 0), NetResult::Ok);
    ASSERT_TRUE(seeker.recorder.waitFor([&] { return !seeker.recorder.hosts.empty(); }));
    seeker.session.cancelEnumeration();
    NetHostInfo found = seeker.recorder.foundHosts()[0];
    EXPECT_EQ(found.sessionName, "Partie de Bob");
    EXPECT_EQ(found.maxPlayers, 2u);
    EXPECT_EQ(found.currentPlayers, 1u);
    EXPECT_EQ(found.address.port, host.session.hostedPort());
    EXPECT_EQ(found.address.ipText(), "127.0.0.1");

    Endpoint stranger;
    ASSERT_EQ(stranger.session.enumHosts(guidOf(8), "127.0.0.1", host.session.hostedPort(), 3),
              NetResult::Ok);
    EXPECT_FALSE(stranger.recorder.waitFor([&] { return !stranger.recorder.hosts.empty(); }, 300));
}

TEST(NetDiscovery, ABadHostNameIsRefusedWithoutALookUp)
{
    Endpoint seeker;
    EXPECT_EQ(seeker.session.enumHosts(guidOf(7), "pas un nom!", 9, 1), NetResult::InvalidHost);
    EXPECT_EQ(seeker.session.enumHosts(guidOf(7), "a..b", 9, 1), NetResult::InvalidHost);
    uint32_t ip = 0;
    EXPECT_TRUE(resolveHostName("localhost", ip));
    EXPECT_EQ(ip, INADDR_LOOPBACK);
    EXPECT_TRUE(resolveHostName(" 127.0.0.1 ", ip));
    EXPECT_EQ(ip, INADDR_LOOPBACK);
}

TEST(NetDiscovery, TargetsComeFromTheEnvironmentElseTheLocalNetworks)
{
    const char* saved = std::getenv("VELMORIQUE_DISCOVERY");
    std::string keep = saved != nullptr ? saved : "";
    setenv("VELMORIQUE_DISCOVERY", "127.0.0.1, 127.0.0.2,junk", 1);
    EXPECT_EQ(discoveryTargets(), (std::vector<uint32_t>{0x7F000001, 0x7F000002}));
    EXPECT_EQ(listenAddress(), INADDR_LOOPBACK);
    // Only computed here: no query is sent. The interfaces' own broadcast
    // addresses are checked in network namespaces by the peer's tests.
    unsetenv("VELMORIQUE_DISCOVERY");
    std::vector<uint32_t> targets = discoveryTargets();
    EXPECT_NE(std::find(targets.begin(), targets.end(), INADDR_BROADCAST), targets.end());
    EXPECT_NE(std::find(targets.begin(), targets.end(), INADDR_LOOPBACK), targets.end());
    std::sort(targets.begin(), targets.end());
    EXPECT_EQ(std::adjacent_find(targets.begin(), targets.end()), targets.end()) << "each target once";
    EXPECT_EQ(listenAddress(), INADDR_ANY);
    if (saved != nullptr)
        setenv("VELMORIQUE_DISCOVERY", keep.c_str(), 1);
}

TEST(NetDiscovery, MalformedAnswersAreIgnored)
{
    // A fake host on a UDP port answers every query with damaged datagrams
    // first, then with a good one.
    int fake = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(fake, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    socklen_t length = sizeof address;
    getsockname(fake, reinterpret_cast<sockaddr*>(&address), &length);
    timeval timeout{2, 0};
    setsockopt(fake, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);

    Endpoint seeker;
    // Searching until cancelled: the fake may be held up on a busy machine
    // past a search of one round.
    ASSERT_EQ(seeker.session.enumHosts(guidOf(7), "127.0.0.1", ntohs(address.sin_port), 0), NetResult::Ok);
    uint8_t query[64];
    sockaddr_in from{};
    socklen_t fromLength = sizeof from;
    ASSERT_EQ(::recvfrom(fake, query, sizeof query, 0, reinterpret_cast<sockaddr*>(&from), &fromLength), 21);

    auto answer = [&](uint32_t maxPlayers, uint32_t current, uint16_t nameLength, size_t nameBytes)
    {
        std::vector<uint8_t> bytes{'V', 'L', 'M', 'R', 1};
        bytes.insert(bytes.end(), 16, 7);
        bytes.insert(bytes.end(), 16, 1);
        auto add = [&](std::vector<uint8_t> more) { bytes.insert(bytes.end(), more.begin(), more.end()); };
        add(le32(maxPlayers));
        add(le32(current));
        add({0x39, 0x30, static_cast<uint8_t>(nameLength), static_cast<uint8_t>(nameLength >> 8)});
        bytes.insert(bytes.end(), nameBytes, 'x');
        ::sendto(fake, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&from), fromLength);
    };
    answer(2, 1, 0xFFFF, 10); // name longer than the datagram
    answer(0, 0, 1, 1);       // no room for anyone
    answer(1000000, 1, 1, 1); // absurd maximum
    answer(2, 3, 1, 1);       // more players than room
    answer(2, 1, 4, 4);       // good
    ASSERT_TRUE(seeker.recorder.waitFor([&] { return !seeker.recorder.hosts.empty(); }));
    EXPECT_EQ(seeker.recorder.hostCount(), 1u);
    EXPECT_EQ(seeker.recorder.hosts[0].sessionName, "xxxx");
    EXPECT_EQ(seeker.recorder.hosts[0].address.port, 0x3039);
    seeker.session.cancelEnumeration();
    ::close(fake);
}

TEST(NetSessions, AJoinerSeesEveryPlayerBeforeItsConnectCompletes)
{
    Endpoint host;
    hostSession(host, 3);
    Endpoint first;
    join(first, host);
    ASSERT_TRUE(first.recorder.waitForLine("complete accepted"));
    Endpoint second;
    join(second, host);
    ASSERT_TRUE(second.recorder.waitForLine("complete accepted"));
    EXPECT_EQ(second.recorder.lines(),
              (std::vector<std::string>{"created 1", "created 2", "created 3 local", "complete accepted"}));
    ASSERT_TRUE(first.recorder.waitForLine("created 3"));
    EXPECT_EQ(first.recorder.lines(),
              (std::vector<std::string>{"created 1", "created 2 local", "complete accepted", "created 3"}));
    ASSERT_TRUE(host.recorder.waitForLine("created 3"));
    EXPECT_EQ(host.recorder.lines(), (std::vector<std::string>{"created 1 local", "created 2", "created 3"}));
    std::string address;
    EXPECT_TRUE(second.session.playerAddress(1, address));
    EXPECT_EQ(address, "127.0.0.1");
    EXPECT_FALSE(second.session.playerAddress(9, address));
}

TEST(NetSessions, MessagesArriveInOrderToOneOrAllWithoutLoopBack)
{
    Endpoint host;
    hostSession(host, 3);
    Endpoint a;
    join(a, host);
    ASSERT_TRUE(a.recorder.waitForLine("complete accepted"));
    Endpoint b;
    join(b, host);
    ASSERT_TRUE(b.recorder.waitForLine("complete accepted"));
    ASSERT_TRUE(a.recorder.waitForLine("created 3"));

    for (int i = 0; i < 50; ++i)
    {
        std::string text = "h" + std::to_string(i);
        ASSERT_EQ(host.session.sendTo(kNetAllPlayers, text.data(), static_cast<uint32_t>(text.size())),
                  NetResult::Ok);
    }
    std::string toB = "a to b";
    ASSERT_EQ(a.session.sendTo(3, toB.data(), static_cast<uint32_t>(toB.size())), NetResult::Ok);
    std::string toAll = "a to all";
    ASSERT_EQ(a.session.sendTo(kNetAllPlayers, toAll.data(), static_cast<uint32_t>(toAll.size())),
              NetResult::Ok);
    std::string self = "self";
    EXPECT_EQ(a.session.sendTo(2, self.data(), 4), NetResult::Ok);

    ASSERT_TRUE(b.recorder.waitForLine("from 2: a to all"));
    ASSERT_TRUE(host.recorder.waitForLine("from 2: a to all"));
    std::vector<std::string> seen;
    for (const std::string& line : b.recorder.lines())
    {
        if (line.rfind("from ", 0) == 0)
            seen.push_back(line);
    }
    ASSERT_EQ(seen.size(), 52u);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(seen[static_cast<size_t>(i)], "from 1: h" + std::to_string(i));
    EXPECT_EQ(seen[50], "from 2: a to b");
    EXPECT_EQ(seen[51], "from 2: a to all");
    for (const std::string& line : host.recorder.lines())
        EXPECT_NE(line, "from 2: a to b");
    for (const std::string& line : a.recorder.lines())
    {
        EXPECT_NE(line, "from 2: self");
        EXPECT_NE(line, "from 2: a to all");
    }
    std::vector<uint8_t> tooBig(kNetMaxMessageSize + 1);
    EXPECT_EQ(a.session.sendTo(1, tooBig.data(), static_cast<uint32_t>(tooBig.size())),
              NetResult::MessageTooLarge);
}

TEST(NetSessions, RefusalsCarryTheirReason)
{
    Endpoint host;
    hostSession(host, 2, NetRole::Peer, "secret");
    Endpoint wrong;
    join(wrong, host, NetRole::Peer, "guess");
    EXPECT_TRUE(wrong.recorder.waitForLine("complete password"));
    Endpoint client;
    join(client, host, NetRole::ClientServer, "secret");
    EXPECT_TRUE(client.recorder.waitForLine("complete rejected"));
    Endpoint right;
    join(right, host, NetRole::Peer, "secret");
    EXPECT_TRUE(right.recorder.waitForLine("complete accepted"));
    Endpoint third;
    join(third, host, NetRole::Peer, "secret");
    EXPECT_TRUE(third.recorder.waitForLine("complete full"));
    EXPECT_EQ(third.recorder.lines(), std::vector<std::string>{"complete full"});

    Endpoint nobody;
    uint32_t session = 0;
    uint16_t closedPort = host.session.hostedPort();
    host.session.close();
    ASSERT_EQ(nobody.session.connect(loopback(closedPort), guidOf(7), NetGuid(), NetRole::Peer, "", session),
              NetResult::Ok);
    EXPECT_TRUE(nobody.recorder.waitForLine("complete failed"));
}

// A join names the session it found. Once that session has ended, the join
// fails as it would had its host gone, even where the host runs another
// session now: nobody refused the player.
TEST(NetSessions, AJoinForASessionThatHasEndedFailsWhereANewOneIsHosted)
{
    Endpoint host;
    hostSession(host);
    const uint16_t port = host.session.hostedPort();
    Endpoint joiner;
    ASSERT_EQ(joiner.session.enumHosts(guidOf(7), "", port, 0), NetResult::Ok);
    ASSERT_TRUE(joiner.recorder.waitFor([&] { return !joiner.recorder.hosts.empty(); }));
    joiner.session.cancelEnumeration();
    const NetGuid ended = joiner.recorder.foundHosts()[0].instance;
    host.session.close();
    hostSession(host, 2, NetRole::Peer, "", port);

    uint32_t session = 0;
    ASSERT_EQ(joiner.session.connect(loopback(port), guidOf(7), ended, NetRole::Peer, "", session),
              NetResult::Ok);
    EXPECT_TRUE(joiner.recorder.waitForLine("complete failed"));
    EXPECT_EQ(joiner.recorder.lines(), std::vector<std::string>{"complete failed"});
}

TEST(NetSessions, EndingsCarryTheirReason)
{
    Endpoint host;
    hostSession(host, 3);
    Endpoint a;
    join(a, host);
    Endpoint b;
    ASSERT_TRUE(a.recorder.waitForLine("complete accepted"));
    join(b, host);
    ASSERT_TRUE(b.recorder.waitForLine("complete accepted"));

    // A joiner leaving is a player destroyed for everyone else.
    b.session.close();
    EXPECT_TRUE(host.recorder.waitForLine("destroyed 3"));
    EXPECT_TRUE(a.recorder.waitForLine("destroyed 3"));
    EXPECT_EQ(b.session.sendTo(kNetAllPlayers, "x", 1), NetResult::NotInSession);

    host.session.close();
    EXPECT_TRUE(a.recorder.waitForLine("ended host"));
    EXPECT_EQ(host.session.hostedPort(), 0);

    // Hosting again right away works; a dropped link is a lost connection.
    hostSession(host, 2);
    Endpoint c;
    join(c, host);
    ASSERT_TRUE(c.recorder.waitForLine("complete accepted"));
    host.session.abortConnections();
    EXPECT_TRUE(c.recorder.waitForLine("ended lost"));
    for (const std::string& line : host.recorder.lines())
        EXPECT_NE(line, "destroyed 2");
}

TEST(NetSessions, ACancelledConnectCompletesOnceAsCancelled)
{
    // A listener that never answers keeps the connect pending.
    int silent = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(silent, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(silent, 4), 0);
    socklen_t length = sizeof address;
    getsockname(silent, reinterpret_cast<sockaddr*>(&address), &length);

    Endpoint joiner;
    uint32_t session = 0;
    ASSERT_EQ(joiner.session.connect(loopback(ntohs(address.sin_port)), guidOf(7), NetGuid(), NetRole::Peer,
                                     "", session),
              NetResult::Ok);
    EXPECT_EQ(joiner.session.connect(loopback(1), guidOf(7), NetGuid(), NetRole::Peer, "", session),
              NetResult::AlreadyInSession);
    EXPECT_EQ(joiner.session.cancelConnect(), NetResult::Ok);
    EXPECT_EQ(joiner.session.cancelConnect(), NetResult::NoPendingConnect);
    EXPECT_TRUE(joiner.recorder.waitForLine("complete cancelled"));

    // And one that is left alone times out.
    NetTimings quick = fastTimings();
    quick.connectTimeoutMs = 150;
    Recorder recorder;
    NetSession impatient(recorder, quick);
    ASSERT_TRUE(impatient.start());
    ASSERT_EQ(impatient.connect(loopback(ntohs(address.sin_port)), guidOf(7), NetGuid(), NetRole::Peer, "",
                                session),
              NetResult::Ok);
    EXPECT_TRUE(recorder.waitForLine("complete timed out"));
    EXPECT_EQ(recorder.lines(), std::vector<std::string>{"complete timed out"});
    EXPECT_EQ(joiner.recorder.lines(), std::vector<std::string>{"complete cancelled"});
    ::close(silent);
}

TEST(NetSessions, GarbageAndOversizedFramesCostOnlyTheirSender)
{
    Endpoint host;
    hostSession(host, 2);
    uint16_t port = host.session.hostedPort();

    std::vector<std::vector<uint8_t>> attacks = {
        le32(0xFFFFFFFF),            // absurd length
        le32(kNetMaxFrameSize + 1),  // just too long
        le32(0),                     // empty frame
        {5, 0, 0, 0, 6, 1, 2, 3, 4}, // data before joining
        {3, 0, 0, 0, 1, 7, 7},       // truncated join
        {1, 0, 0, 0, 0x42},          // unknown type
    };
    for (const auto& attack : attacks)
    {
        RawSocket raw;
        ASSERT_TRUE(raw.connectTo(port));
        raw.sendBytes(attack);
        EXPECT_TRUE(raw.closedByPeer());
    }
    // A joined peer that turns hostile is dropped like a lost player.
    {
        RawSocket raw;
        ASSERT_TRUE(raw.connectTo(port));
        raw.sendBytes(joinFrame(7));
        ASSERT_TRUE(host.recorder.waitForLine("created 2"));
        std::vector<uint8_t> garbage = le32(3);
        garbage.insert(garbage.end(), {0x99, 0, 0});
        raw.sendBytes(garbage);
        EXPECT_TRUE(raw.closedByPeer());
        EXPECT_TRUE(host.recorder.waitForLine("destroyed 2"));
    }
    // A half frame followed by silence is simply waited for; the session
    // still works for an honest joiner.
    RawSocket slow;
    ASSERT_TRUE(slow.connectTo(port));
    slow.sendBytes({10, 0, 0, 0, 1});
    Endpoint honest;
    join(honest, host);
    ASSERT_TRUE(honest.recorder.waitForLine("complete accepted"));
    ASSERT_EQ(honest.session.sendTo(1, "hi", 2), NetResult::Ok);
    EXPECT_TRUE(host.recorder.waitForLine("from 3: hi"));
}

TEST(NetSessions, SilentConnectionsCannotKeepAPlayerOut)
{
    NetTimings patient = fastTimings();
    patient.handshakeTimeoutMs = 60000; // here only a newcomer closes them
    Endpoint host(patient);
    hostSession(host, 2);
    uint16_t port = host.session.hostedPort();
    // Four addresses, four connections each that send half a frame and wait:
    // every place for a connection that has not said who it is.
    std::vector<std::unique_ptr<RawSocket>> silent;
    for (uint32_t i = 0; i < 16; ++i)
    {
        silent.push_back(std::make_unique<RawSocket>());
        ASSERT_TRUE(silent.back()->connectTo(port, INADDR_LOOPBACK + 1 + i / 4));
        silent.back()->sendBytes({10, 0, 0, 0, 1});
    }
    Endpoint honest;
    join(honest, host);
    EXPECT_TRUE(honest.recorder.waitForLine("complete accepted"));
    EXPECT_TRUE(silent[0]->closedByPeer()) << "the oldest made way";
    // A fifth from one address replaces that address's oldest, though there
    // is room in all.
    RawSocket fifth;
    ASSERT_TRUE(fifth.connectTo(port, INADDR_LOOPBACK + 4));
    EXPECT_TRUE(silent[12]->closedByPeer());
}

TEST(NetSessions, AJoinThatArrivedInTimeIsReadEvenWhenTheHostIsLate)
{
    // No time at all to say who one is: only what has already arrived when
    // the host looks counts.
    NetTimings strict = fastTimings();
    strict.handshakeTimeoutMs = 0;
    Endpoint host(strict);
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    // The host's thread is held in its first notification (its own player)
    // while the joiner connects and says who it is.
    host.recorder.onCreated = [released] { released.wait(); };
    hostSession(host, 2);
    RawSocket raw;
    ASSERT_TRUE(raw.connectTo(host.session.hostedPort()));
    raw.sendBytes(joinFrame(7));
    std::this_thread::sleep_for(std::chrono::milliseconds(50)); // lets the bytes arrive; not asserted
    release.set_value();
    EXPECT_TRUE(host.recorder.waitForLine("created 2"));
}

TEST(NetSessions, AHostileHostCannotHurtAJoiner)
{
    int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listener, 4), 0);
    socklen_t length = sizeof address;
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    uint16_t port = ntohs(address.sin_port);

    auto acceptOne = [&]
    {
        timeval timeout{2, 0};
        setsockopt(listener, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
        return ::accept(listener, nullptr, nullptr);
    };
    std::vector<std::vector<uint8_t>> answers = {
        // An accept that claims a huge player count.
        {13, 0, 0, 0, 2, 2, 0, 0, 0, 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF},
        // An accept whose list does not name the joiner.
        {21, 0, 0, 0, 2, 2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0},
        // A length past the maximum.
        le32(0x7FFFFFFF),
    };
    for (const auto& answer : answers)
    {
        Endpoint joiner;
        uint32_t session = 0;
        ASSERT_EQ(joiner.session.connect(loopback(port), guidOf(7), NetGuid(), NetRole::Peer, "", session),
                  NetResult::Ok);
        int fd = acceptOne();
        ASSERT_GE(fd, 0);
        (void)::send(fd, answer.data(), answer.size(), MSG_NOSIGNAL);
        EXPECT_TRUE(joiner.recorder.waitForLine("complete failed"));
        EXPECT_EQ(joiner.recorder.lines(), std::vector<std::string>{"complete failed"});
        ::close(fd);
    }
    ::close(listener);
}

TEST(NetSessions, HandlersMaySendAndCloseFromTheIOThread)
{
    Endpoint host;
    hostSession(host, 2);
    host.recorder.onMessage = [&](NetPlayerId from, const std::string& text)
    {
        std::string echo = "echo " + text;
        host.session.sendTo(from, echo.data(), static_cast<uint32_t>(echo.size()));
        if (text == "bye")
            host.session.close();
    };
    Endpoint joiner;
    join(joiner, host);
    ASSERT_TRUE(joiner.recorder.waitForLine("complete accepted"));
    joiner.session.sendTo(1, "ping", 4);
    EXPECT_TRUE(joiner.recorder.waitForLine("from 1: echo ping"));
    joiner.session.sendTo(1, "bye", 3);
    EXPECT_TRUE(joiner.recorder.waitForLine("from 1: echo bye"));
    EXPECT_TRUE(joiner.recorder.waitForLine("ended host"));
}

TEST(NetSessions, AClientSeesOnlyItsServer)
{
    Endpoint server;
    hostSession(server, 8, NetRole::ClientServer);
    Endpoint a;
    join(a, server, NetRole::ClientServer);
    ASSERT_TRUE(a.recorder.waitForLine("complete accepted"));
    Endpoint b;
    join(b, server, NetRole::ClientServer);
    ASSERT_TRUE(b.recorder.waitForLine("complete accepted"));
    a.session.sendTo(kNetAllPlayers, "login", 5);
    ASSERT_TRUE(server.recorder.waitForLine("from 2: login"));
    server.session.sendTo(2, "welcome", 7);
    ASSERT_TRUE(a.recorder.waitForLine("from 1: welcome"));
    EXPECT_EQ(a.recorder.lines(), (std::vector<std::string>{"complete accepted", "from 1: welcome"}));
    EXPECT_EQ(b.recorder.lines(), std::vector<std::string>{"complete accepted"});
    server.session.close();
    EXPECT_TRUE(b.recorder.waitForLine("ended host"));
}

TEST(NetSessions, FramesSplitAcrossReadsAreReassembled)
{
    Endpoint host;
    hostSession(host, 2);
    RawSocket raw;
    ASSERT_TRUE(raw.connectTo(host.session.hostedPort()));
    std::vector<uint8_t> join = joinFrame(7);
    std::vector<uint8_t> data = le32(13);
    data.insert(data.end(), {6, 0, 0, 0, 0, 1, 0, 0, 0, 'a', 'b', 'c', 'd'});
    join.insert(join.end(), data.begin(), data.end());
    for (uint8_t byte : join)
    {
        raw.sendBytes({byte});
        std::this_thread::sleep_for(std::chrono::microseconds(300));
    }
    EXPECT_TRUE(host.recorder.waitForLine("from 2: abcd"));
    uint8_t reply[5] = {};
    ASSERT_EQ(::recv(raw.fd, reply, sizeof reply, MSG_WAITALL), 5);
    EXPECT_EQ(reply[4], 2); // accepted
}
