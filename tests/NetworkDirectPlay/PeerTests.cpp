#include "PeerHarness.h"

#include "Platform/Net/NetWire.h"
#include "Platform/System/MessageSink.h"

#include "../Network/FakeGame.h"

#include <dirent.h>

#include <atomic>

namespace
{
// Hosts a session and joins it; both sides know each other's name.
struct Game
{
    Game() : host("Bob"), joiner("Ann") { EXPECT_EQ(host.hostGame(), ERROR_OK); }
    bool join()
    {
        return joiner.connectTo(host.peer) == ERROR_OK && joiner.waitFor(NETWORK_EVENT_CONNECT_RESULT) &&
               joiner.dataOf(NETWORK_EVENT_CONNECT_RESULT) == 0 &&
               joiner.waitFor(NETWORK_EVENT_PLAYER_NAMED) && host.waitFor(NETWORK_EVENT_PLAYER_NAMED);
    }
    NetworkPlayerInfo* other(TestPeer& side)
    {
        auto* named = dynamic_cast<NetworkPlayerEvent*>(side.find(NETWORK_EVENT_PLAYER_NAMED));
        return named != nullptr ? named->getPlayer() : nullptr;
    }
    TestPeer host;
    TestPeer joiner;
};

struct CountedMessage : ChatMessage
{
    explicit CountedMessage(bool& destroyed) : ChatMessage("x"), mDestroyed(destroyed) {}
    ~CountedMessage() override { mDestroyed = true; }
    bool& mDestroyed;
};

int openDescriptors()
{
    int count = 0;
    if (DIR* dir = opendir("/proc/self/fd"))
    {
        while (readdir(dir) != nullptr)
            ++count;
        closedir(dir);
    }
    return count;
}
} // namespace

TEST(PeerDiscovery, AHostIsListedOnceHoweverOftenItAnswers)
{
    TestPeer host("Bob");
    ASSERT_EQ(host.hostGame("Partie de Bob"), ERROR_OK);
    TestPeer seeker("Ann", host.peer.getHostedPort());
    {
        std::scoped_lock guard(seeker.peer);
        ASSERT_EQ(seeker.peer.enumHosts("", 0), ERROR_OK);
        EXPECT_TRUE(seeker.peer.isEnumerating());
    }
    ASSERT_TRUE(seeker.pumpUntil([&] { return seeker.peer.getSessions().size() == 1; }));
    // Many query rounds later, still one row.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    ASSERT_TRUE(seeker.pumpUntil([] { return true; }));
    std::scoped_lock guard(seeker.peer);
    ASSERT_EQ(seeker.peer.getSessions().size(), 1u);
    const NetworkSessionInfo& found = *seeker.peer.getSessions()[0];
    EXPECT_EQ(found.mSessionName, "Partie de Bob");
    EXPECT_EQ(found.mMaxPlayers, 2u);
    EXPECT_EQ(found.mCurrentPlayers, 1u);
    size_t listed = 0;
    for (auto& event : seeker.events)
        listed += event->getKind() == NETWORK_EVENT_SESSIONS_CHANGED ? 1 : 0;
    EXPECT_EQ(listed, 2u); // the enumeration's start, then the one host
    EXPECT_EQ(seeker.peer.cancelEnumeration(), ERROR_OK);
    EXPECT_FALSE(seeker.peer.isEnumerating());

    // Another application's peers see nothing.
    TestPeer stranger("Eve", host.peer.getHostedPort());
    uint8_t otherGuid[16] = {1};
    ASSERT_EQ(stranger.peer.setApplicationGuid(otherGuid, 16), ERROR_OK);
    EXPECT_EQ(stranger.peer.setApplicationGuid(otherGuid, 15), ERROR_INVALID);
    {
        std::scoped_lock strangerGuard(stranger.peer);
        ASSERT_EQ(stranger.peer.enumHosts("127.0.0.1", 3), ERROR_OK);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    std::scoped_lock strangerGuard(stranger.peer);
    EXPECT_TRUE(stranger.peer.getSessions().empty());
}

TEST(PeerDiscovery, OneSourceAnsweringForEndlessSessionsListsNoneOfThem)
{
    // A fake host on this machine answers a query for 100 sessions at once.
    uint16_t port = 0;
    int fake = loopbackSocket(SOCK_DGRAM, port);
    ASSERT_GE(fake, 0);
    timeval timeout{2, 0};
    setsockopt(fake, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    std::thread answering(
        [fake]
        {
            uint8_t query[64];
            sockaddr_in from{};
            socklen_t fromLength = sizeof from;
            if (::recvfrom(fake, query, sizeof query, 0, reinterpret_cast<sockaddr*>(&from), &fromLength) <=
                0)
                return;
            for (uint8_t i = 0; i < 100; ++i)
            {
                Platform::NetHostInfo host;
                host.application = DirectPlay::toNetGuid(DirectPlay::kGameApplicationGuid);
                host.instance.bytes.fill(i);
                host.maxPlayers = 2;
                host.currentPlayers = 1;
                host.address.port = 2301;
                host.sessionName = "Partie " + std::to_string(i);
                std::vector<uint8_t> answer = Platform::NetWire::encodeAnswer(host);
                ::sendto(fake, answer.data(), answer.size(), 0, reinterpret_cast<sockaddr*>(&from),
                         fromLength);
            }
        });
    TestPeer seeker("Ann", port);
    {
        std::scoped_lock guard(seeker.peer);
        ASSERT_EQ(seeker.peer.enumHosts("", 1), ERROR_OK);
    }
    answering.join();
    // A few made the list before the source showed what it was; they go
    // with it, and the list never held more than its share.
    size_t most = 0;
    auto start = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(300))
    {
        ASSERT_TRUE(seeker.pumpUntil([] { return true; }));
        std::scoped_lock guard(seeker.peer);
        most = std::max(most, seeker.peer.getSessions().size());
    }
    std::scoped_lock guard(seeker.peer);
    EXPECT_LE(most, size_t{Platform::kNetMaxHostsPerSource});
    EXPECT_TRUE(seeker.peer.getSessions().empty());
    ::close(fake);
}

// A game's instance is public: answers that forge it from another address,
// before the game's own, hold the game's row only while they go on.
TEST(PeerDiscovery, AForgedRowOfAGameGivesWayToTheGameOnceTheForgeryStops)
{
    // Each query gets a forged answer from 127.0.0.2 and, once it answers,
    // the game's own.
    uint16_t port = 0;
    const int game = loopbackSocket(SOCK_DGRAM, port);
    ASSERT_GE(game, 0);
    const int forger = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in forgerAddress{};
    forgerAddress.sin_family = AF_INET;
    forgerAddress.sin_addr.s_addr = htonl(0x7F000002);
    ASSERT_EQ(::bind(forger, reinterpret_cast<sockaddr*>(&forgerAddress), sizeof forgerAddress), 0);
    timeval timeout{0, 50'000};
    setsockopt(game, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    Platform::NetHostInfo real;
    real.application = DirectPlay::toNetGuid(DirectPlay::kGameApplicationGuid);
    real.instance.bytes.fill(0x5A);
    real.maxPlayers = 2;
    real.sessionName = "Partie de Bob";
    real.address.port = port;
    Platform::NetHostInfo fake = real;
    fake.sessionName = "Piege";
    std::atomic<bool> answering{false};
    std::atomic<bool> forging{true};
    std::atomic<bool> done{false};
    std::thread answers(
        [&]
        {
            const std::vector<uint8_t> realAnswer = Platform::NetWire::encodeAnswer(real);
            const std::vector<uint8_t> fakeAnswer = Platform::NetWire::encodeAnswer(fake);
            uint8_t query[64];
            for (sockaddr_in from{}; !done;)
            {
                socklen_t length = sizeof from;
                if (::recvfrom(game, query, sizeof query, 0, reinterpret_cast<sockaddr*>(&from), &length) <=
                    0)
                    continue;
                if (forging)
                    ::sendto(forger, fakeAnswer.data(), fakeAnswer.size(), 0,
                             reinterpret_cast<sockaddr*>(&from), length);
                if (answering)
                    ::sendto(game, realAnswer.data(), realAnswer.size(), 0,
                             reinterpret_cast<sockaddr*>(&from), length);
            }
        });
    TestPeer seeker("Ann", port);
    auto lists = [&](const char* name, uint32_t ip)
    {
        const auto& sessions = seeker.peer.getSessions();
        return sessions.size() == 1 && sessions[0]->mSessionName == name && sessions[0]->mHostIp == ip;
    };
    {
        std::scoped_lock guard(seeker.peer);
        EXPECT_EQ(seeker.peer.enumHosts("", 0), ERROR_OK);
    }
    EXPECT_TRUE(seeker.pumpUntil([&] { return lists("Piege", 0x7F000002); }));
    // While both answer, the row stays with the address heard first.
    answering = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(seeker.pumpUntil([&] { return lists("Piege", 0x7F000002); }, 0));
    forging = false;
    const size_t before = seeker.events.size();
    EXPECT_TRUE(seeker.pumpUntil(
        [&]
        { return lists("Partie de Bob", 0x7F000001) && seeker.find(NETWORK_EVENT_SESSIONS_CHANGED, before); },
        3000))
        << "the game is not listed after the forgery stopped";
    done = true;
    answers.join();
    ::close(game);
    ::close(forger);
}

// Rafraîchir pressed while the search's report of a session waits for the
// peer's lock: that session belongs to the search before, and stays out of
// the list the new search fills, where nothing would ever withdraw it.
TEST(PeerDiscovery, ASessionReportedBeforeRafraichirStaysOutOfTheNewList)
{
    uint16_t port = 0;
    const int sender = loopbackSocket(SOCK_DGRAM, port);
    ASSERT_GE(sender, 0);
    TestPeer seeker("Ann", port);
    Platform::NetSession* net = seeker.peer.getSessionLayer();
    ASSERT_NE(net, nullptr);
    auto answer = [&](const Platform::NetHostInfo& host)
    {
        const std::vector<uint8_t> bytes = Platform::NetWire::encodeAnswer(host);
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        to.sin_port = htons(net->answerPort());
        ::sendto(sender, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    };
    Platform::NetHostInfo before;
    before.application = DirectPlay::toNetGuid(DirectPlay::kGameApplicationGuid);
    before.instance.bytes.fill(0x5A);
    before.maxPlayers = 2;
    before.address = {0x7F000001, port};
    before.sessionName = "Avant";
    {
        std::scoped_lock guard(seeker.peer);
        ASSERT_EQ(seeker.peer.enumHosts("", 0), ERROR_OK);
        answer(before);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!net->isListed(before) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        ASSERT_TRUE(net->isListed(before));
        ASSERT_EQ(seeker.peer.cancelEnumeration(), ERROR_OK);
        ASSERT_EQ(seeker.peer.enumHosts("", 0), ERROR_OK);
    }
    // Reported after the one before: once it is listed, that one was handled.
    Platform::NetHostInfo after = before;
    after.instance.bytes.fill(0x77);
    after.sessionName = "Apres";
    answer(after);
    auto lists = [&](const char* name)
    {
        const auto& sessions = seeker.peer.getSessions();
        return std::any_of(sessions.begin(), sessions.end(),
                           [&](const auto& session) { return session->mSessionName == name; });
    };
    EXPECT_TRUE(seeker.pumpUntil([&] { return lists("Apres"); }));
    std::scoped_lock guard(seeker.peer);
    EXPECT_FALSE(lists("Avant"));
    ::close(sender);
}

TEST(PeerDiscovery, ABadHostNameGives29)
{
    TestPeer seeker("Ann", 9);
    std::scoped_lock guard(seeker.peer);
    EXPECT_EQ(seeker.peer.enumHosts("nom d'h\xF4te invalide", 1), ERROR_NETWORK_INVALID_HOST_ADRESS);
    EXPECT_FALSE(seeker.peer.isEnumerating());
}

TEST(PeerSessions, AJoinerKnowsEveryPlayerWhenItsConnectCompletesAndNamesAreExchanged)
{
    Game game;
    {
        std::scoped_lock guard(game.joiner.peer);
        ASSERT_EQ(game.joiner.peer.connect(game.joiner.sessionAt(game.host.peer)), ERROR_OK);
        EXPECT_TRUE(game.joiner.peer.isConnecting());
        EXPECT_EQ(game.joiner.peer.closeSession(), ERROR_NOT_IN_A_GAME);
    }
    size_t playersAtCompletion = 0;
    ASSERT_TRUE(game.joiner.pumpUntil(
        [&]
        {
            if (game.joiner.find(NETWORK_EVENT_CONNECT_RESULT) == nullptr)
                return false;
            if (playersAtCompletion == 0 && game.joiner.table())
                playersAtCompletion = game.joiner.table()->getCount();
            return true;
        }));
    EXPECT_EQ(game.joiner.dataOf(NETWORK_EVENT_CONNECT_RESULT), CONNECT_RESULT_OK);
    EXPECT_EQ(playersAtCompletion, 2u);

    ASSERT_TRUE(game.joiner.waitFor(NETWORK_EVENT_PLAYER_NAMED));
    ASSERT_TRUE(game.host.waitFor(NETWORK_EVENT_PLAYER_NAMED));
    // Always the joiner's lock first, as everywhere in these tests.
    std::scoped_lock joinerGuard(game.joiner.peer);
    std::scoped_lock hostGuard(game.host.peer);
    EXPECT_EQ(game.other(game.joiner)->getName(), "Bob");
    EXPECT_EQ(game.other(game.host)->getName(), "Ann");
    EXPECT_EQ(static_cast<NetworkPlayerDirectPlay*>(game.other(game.host))->getHostAddress(), "127.0.0.1");
    EXPECT_EQ(game.host.peer.getLocalPlayer()->getName(), "Bob");
    EXPECT_EQ(game.host.table()->getCount(), 2u);
    EXPECT_TRUE(static_cast<NetworkSession*>(game.host.table())->isHost());
    EXPECT_FALSE(static_cast<NetworkSession*>(game.joiner.table())->isHost());
}

TEST(PeerSessions, MovesAndChatTravelBothWays)
{
    Game game;
    ASSERT_TRUE(game.join());
    FakeGameLinks links;
    FakeGameScreen screen;
    links.screen = &screen;

    {
        std::scoped_lock guard(game.host.peer);
        ASSERT_EQ(game.host.peer.send(makeMove(4, 1), nullptr), ERROR_OK);
        ASSERT_EQ(game.host.peer.send(std::make_unique<ChatMessage>("\xE0 toi"), game.other(game.host)),
                  ERROR_OK);
    }
    // The host plays side 0 and is the joiner's remote player.
    screen.players[game.other(game.joiner)] = {2, 0};
    screen.sideToMove = 0;
    ASSERT_TRUE(game.joiner.pumpUntil([&] { return screen.chat.lines.size() == 1; }));
    ASSERT_EQ(screen.played.size(), 1u);
    EXPECT_EQ(screen.played[0].rank, 4u);
    EXPECT_EQ(screen.played[0].index, 1u);
    EXPECT_EQ(screen.chat.lines[0].text, "\xE0 toi");
    EXPECT_EQ(screen.chat.lines[0].sender, game.other(game.joiner));

    {
        std::scoped_lock guard(game.joiner.peer);
        ASSERT_EQ(game.joiner.peer.send(std::make_unique<ChatMessage>("merci"), nullptr), ERROR_OK);
        ASSERT_EQ(game.joiner.peer.send(makeMove(7, 0), game.other(game.joiner)), ERROR_OK);
    }
    screen.players.clear();
    screen.players[game.other(game.host)] = {2, 1};
    screen.sideToMove = 1;
    ASSERT_TRUE(game.host.pumpUntil([&] { return screen.played.size() == 2; }));
    EXPECT_EQ(screen.chat.lines.back().text, "merci");
    EXPECT_EQ(screen.chat.lines.back().sender, game.other(game.host));
    EXPECT_EQ(screen.played[1].side, 1u);
    EXPECT_EQ(screen.played[1].rank, 7u);
    EXPECT_TRUE(screen.left.empty());
}

TEST(PeerSessions, AThirdPeerIsRefusedAsFull)
{
    Game game;
    ASSERT_TRUE(game.join());
    TestPeer third("Cid");
    ASSERT_EQ(third.connectTo(game.host.peer), ERROR_OK);
    ASSERT_TRUE(third.waitFor(NETWORK_EVENT_CONNECT_RESULT));
    EXPECT_EQ(third.dataOf(NETWORK_EVENT_CONNECT_RESULT), CONNECT_RESULT_SESSION_FULL);
    std::scoped_lock guard(third.peer);
    EXPECT_EQ(third.peer.getPlayerSet(), nullptr);
    EXPECT_EQ(third.peer.getLocalPlayer(), nullptr);
    EXPECT_EQ(third.peer.closeSession(), ERROR_NOT_IN_A_GAME);
}

TEST(PeerSessions, HostingTwiceAndSendingOutsideASessionAreRefused)
{
    TestPeer peer("Bob");
    std::scoped_lock guard(peer.peer);
    bool destroyed = false;
    EXPECT_EQ(peer.peer.send(std::make_unique<CountedMessage>(destroyed), nullptr), ERROR_NOT_IN_A_GAME);
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(peer.peer.closeSession(), ERROR_NOT_IN_A_GAME);
    ASSERT_EQ(peer.peer.host("Partie", 2), ERROR_OK);
    EXPECT_EQ(peer.peer.host("Partie", 2), ERROR_ALREADY_IN_A_GAME);
    NetworkSessionInfo elsewhere;
    elsewhere.mHostIp = 0x7F000001;
    elsewhere.mHostPort = 9;
    elsewhere.mMaxPlayers = 2;
    EXPECT_NE(peer.peer.connect(elsewhere), ERROR_OK);
    EXPECT_NE(peer.peer.getPlayerSet(),
              nullptr); // the hosted session is untouched
    destroyed = false;
    EXPECT_EQ(peer.peer.send(std::make_unique<CountedMessage>(destroyed), nullptr), ERROR_OK);
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(peer.peer.closeSession(), ERROR_OK);
    EXPECT_EQ(peer.peer.closeSession(), ERROR_NOT_IN_A_GAME);
    EXPECT_EQ(peer.peer.host("Encore", 2), ERROR_OK);
}

TEST(PeerSessions, SessionSizesOutsideOneToTheLimitAreRefused)
{
    TestPeer peer("Bob");
    std::scoped_lock guard(peer.peer);
    NetworkSessionInfo target;
    target.mHostIp = 0x7F000001;
    target.mHostPort = 9;
    for (uint32_t size : {0u, Platform::kNetMaxPlayers + 1})
    {
        target.mMaxPlayers = size;
        EXPECT_EQ(peer.peer.connect(target), ERROR_INVALID) << size;
        EXPECT_EQ(peer.peer.host("Partie", size), ERROR_INVALID) << size;
    }
    ASSERT_EQ(peer.peer.host("Partie", Platform::kNetMaxPlayers), ERROR_OK);
    // The host's own name is known from the start.
    EXPECT_FALSE(peer.peer.getLocalPlayer()->isNamePending());
}

TEST(PeerSessions, HostingOnAPortInUseSaysSoAndWorksOnceItIsFree)
{
    // Another program listens on the port the game hosts on.
    uint16_t port = 0;
    int holder = loopbackSocket(SOCK_STREAM, port);
    ASSERT_GE(holder, 0);

    registerGameMessages();
    NetworkPeerDirectPlay peer(port, port, fastTimings());
    ASSERT_EQ(peer.init(), ERROR_OK);
    std::scoped_lock guard(peer);
    EXPECT_EQ(peer.host("Partie", 2), ERROR_NETWORK_ALREADY_IN_A_GAME);
    EXPECT_EQ(peer.getPlayerSet(), nullptr);
    ::close(holder);
    EXPECT_EQ(peer.host("Partie", 2), ERROR_OK);
    EXPECT_EQ(peer.getHostedPort(), port);
}

TEST(PeerSessions, TheHostClosingGivesReasonZeroAndALostLinkReasonOne)
{
    {
        Game game;
        ASSERT_TRUE(game.join());
        {
            std::scoped_lock guard(game.host.peer);
            ASSERT_EQ(game.host.peer.closeSession(), ERROR_OK);
        }
        ASSERT_TRUE(game.joiner.waitFor(NETWORK_EVENT_SESSION_ENDED));
        EXPECT_EQ(game.joiner.dataOf(NETWORK_EVENT_SESSION_ENDED), DISCONNECT_HOST_LEFT);
        FakeGameLinks links;
        EXPECT_EQ(static_cast<NetworkDataEvent*>(game.joiner.find(NETWORK_EVENT_SESSION_ENDED))
                      ->getDisconnectText(),
                  "text 24");
        std::scoped_lock guard(game.joiner.peer);
        EXPECT_EQ(game.joiner.peer.getPlayerSet(), nullptr);
    }
    {
        Game game;
        ASSERT_TRUE(game.join());
        game.host.peer.getSessionLayer()->abortConnections();
        ASSERT_TRUE(game.joiner.waitFor(NETWORK_EVENT_SESSION_ENDED));
        EXPECT_EQ(game.joiner.dataOf(NETWORK_EVENT_SESSION_ENDED), DISCONNECT_CONNECTION_LOST);
    }
}

TEST(PeerSessions, APlayerWhoLeavesTravelsInsideItsEvent)
{
    Game game;
    ASSERT_TRUE(game.join());
    {
        std::scoped_lock guard(game.joiner.peer);
        ASSERT_EQ(game.joiner.peer.closeSession(), ERROR_OK);
    }
    ASSERT_TRUE(game.host.waitFor(NETWORK_EVENT_PLAYER_LEFT));
    std::scoped_lock guard(game.host.peer);
    auto* left = static_cast<NetworkPlayerEvent*>(game.host.find(NETWORK_EVENT_PLAYER_LEFT));
    EXPECT_EQ(left->getPlayer()->getName(), "Ann");
    EXPECT_EQ(game.host.table()->indexOf(left->getPlayer()), -1);
    EXPECT_EQ(game.host.table()->getCount(), 1u);
}

TEST(PeerSessions, CancellingAConnectFreesItsRecordsOnce)
{
    uint16_t port = 0;
    int silent = loopbackSocket(SOCK_STREAM, port);
    ASSERT_GE(silent, 0);
    NetworkSessionInfo nowhere;
    nowhere.mHostIp = 0x7F000001;
    nowhere.mHostPort = port;
    nowhere.mMaxPlayers = 2;

    TestPeer joiner("Ann");
    {
        std::scoped_lock guard(joiner.peer);
        ASSERT_EQ(joiner.peer.connect(nowhere), ERROR_OK);
        // A second connect cancels the first.
        ASSERT_EQ(joiner.peer.connect(nowhere), ERROR_OK);
        ASSERT_EQ(joiner.peer.cancelConnect(), ERROR_OK);
        EXPECT_EQ(joiner.peer.cancelConnect(), ERROR_INVALID);
        EXPECT_EQ(joiner.peer.getPlayerSet(), nullptr);
    }
    // The cancelled completions arrive and change nothing.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_TRUE(joiner.pumpUntil([] { return true; }));
    EXPECT_EQ(joiner.find(NETWORK_EVENT_CONNECT_RESULT), nullptr);
    ::close(silent);

    // Cancelling against a real host races the completion; either way the
    // records are settled once and the peer can close or connect again.
    TestPeer host("Bob");
    ASSERT_EQ(host.hostGame("Partie"), ERROR_OK);
    for (int i = 0; i < 40; ++i)
    {
        bool cancelled = false;
        {
            std::scoped_lock guard(joiner.peer);
            ASSERT_EQ(joiner.peer.connect(joiner.sessionAt(host.peer)), ERROR_OK);
            if (i % 2 == 1)
                std::this_thread::sleep_for(std::chrono::microseconds(200 * (i % 7)));
            cancelled = joiner.peer.cancelConnect() == ERROR_OK;
        }
        if (!cancelled)
        {
            size_t before = joiner.events.size();
            ASSERT_TRUE(joiner.pumpUntil([&] { return joiner.find(NETWORK_EVENT_CONNECT_RESULT, before); }));
            std::scoped_lock guard(joiner.peer);
            if (joiner.peer.getPlayerSet() != nullptr)
            {
                EXPECT_EQ(joiner.peer.closeSession(), ERROR_OK);
            }
        }
        std::scoped_lock guard(joiner.peer);
        EXPECT_EQ(joiner.peer.getPlayerSet(), nullptr);
        EXPECT_FALSE(joiner.peer.isConnecting());
    }
}

TEST(PeerSessions, AHostilePeerIsDisconnectedWithoutHarm)
{
    TestPeer host("Bob");
    ASSERT_EQ(host.hostGame("Partie"), ERROR_OK);
    int raw = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(host.peer.getHostedPort());
    ASSERT_EQ(::connect(raw, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    auto sendAll = [&](std::vector<uint8_t> bytes)
    { (void)::send(raw, bytes.data(), bytes.size(), MSG_NOSIGNAL); };

    // A proper join, then messages that do not read: an unknown kind, a string
    // longer than its frame.
    std::vector<uint8_t> join{38, 0, 0, 0, 1};
    join.insert(join.end(), DirectPlay::kGameApplicationGuid, DirectPlay::kGameApplicationGuid + 16);
    join.insert(join.end(), 16, 0);
    join.insert(join.end(), {0, 0, 0});
    sendAll(join);
    sendAll({13, 0, 0, 0, 6, 0, 0, 0, 0, 1, 0, 0, 0, 9, 0, 0, 0});
    sendAll({17, 0, 0, 0, 6, 0, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F});
    // Then a frame length past any limit.
    sendAll({0xFF, 0xFF, 0xFF, 0xFF, 6});
    ASSERT_TRUE(host.waitFor(NETWORK_EVENT_PLAYER_LEFT));
    EXPECT_TRUE(host.messages.empty());
    ::close(raw);

    // The session still takes an honest player.
    TestPeer joiner("Ann");
    ASSERT_EQ(joiner.connectTo(host.peer), ERROR_OK);
    ASSERT_TRUE(joiner.waitFor(NETWORK_EVENT_CONNECT_RESULT));
    EXPECT_EQ(joiner.dataOf(NETWORK_EVENT_CONNECT_RESULT), CONNECT_RESULT_OK);
}

TEST(PeerSessions, TwoHundredHostJoinPlayCloseCyclesLeakNothing)
{
    TestPeer host("Bob");
    TestPeer joiner("Ann");
    int descriptorsBefore = openDescriptors();
    for (int cycle = 0; cycle < 200; ++cycle)
    {
        SCOPED_TRACE(cycle);
        host.events.clear();
        joiner.events.clear();
        host.messages.clear();
        ASSERT_EQ(host.hostGame("Partie de Bob"), ERROR_OK);
        ASSERT_EQ(joiner.connectTo(host.peer), ERROR_OK);
        ASSERT_TRUE(joiner.waitFor(NETWORK_EVENT_CONNECT_RESULT));
        ASSERT_EQ(joiner.dataOf(NETWORK_EVENT_CONNECT_RESULT), CONNECT_RESULT_OK);
        {
            std::scoped_lock guard(joiner.peer);
            ASSERT_EQ(joiner.peer.send(makeMove(static_cast<uint8_t>(cycle % 8), 0), nullptr), ERROR_OK);
        }
        ASSERT_TRUE(host.pumpUntil(
            [&] {
                return std::find(host.messages.begin(), host.messages.end(), MESSAGE_MOVE) !=
                       host.messages.end();
            }));
        if (cycle % 2 == 0)
        {
            std::scoped_lock guard(joiner.peer);
            ASSERT_EQ(joiner.peer.closeSession(), ERROR_OK);
        }
        {
            std::scoped_lock guard(host.peer);
            ASSERT_EQ(host.peer.closeSession(), ERROR_OK);
        }
        if (cycle % 2 == 1)
        {
            ASSERT_TRUE(joiner.waitFor(NETWORK_EVENT_SESSION_ENDED));
        }
    }
    // Closed links drain within the linger time.
    bool settled = false;
    for (int i = 0; i < 200 && !settled; ++i)
    {
        settled = openDescriptors() <= descriptorsBefore;
        if (!settled)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(settled) << openDescriptors() << " descriptors, " << descriptorsBefore << " before";
}

TEST(PeerSessions, ClosingUnderTheLockNeverWaitsAndLateNotificationsAreIgnored)
{
    Game game;
    ASSERT_TRUE(game.join());
    {
        std::scoped_lock guard(game.joiner.peer);
        {
            std::scoped_lock hostGuard(game.host.peer);
            for (int i = 0; i < 3; ++i)
                ASSERT_EQ(game.host.peer.send(std::make_unique<ChatMessage>("tard"), nullptr), ERROR_OK);
        }
        // The joiner's I/O thread is now waiting for this lock inside a
        // receive notification.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_EQ(game.joiner.peer.closeSession(), ERROR_OK);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_TRUE(game.joiner.pumpUntil([] { return true; }));
    EXPECT_EQ(std::count(game.joiner.messages.begin(), game.joiner.messages.end(), MESSAGE_CHAT), 0);
    EXPECT_EQ(game.joiner.find(NETWORK_EVENT_SESSION_ENDED), nullptr);
    // And the peer is free for the next game.
    ASSERT_TRUE(game.host.waitFor(NETWORK_EVENT_PLAYER_LEFT));
    std::scoped_lock guard(game.joiner.peer);
    EXPECT_EQ(game.joiner.peer.host("Revanche", 2), ERROR_OK);
}
