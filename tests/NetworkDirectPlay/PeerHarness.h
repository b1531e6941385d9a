#pragma once
// Peers on 127.0.0.1 with free ports and short timings, and a pump that plays
// the game thread: it pops events, executes received messages and keeps
// everything for the test to look at. Every wait has a time-out.
#include "Network/GameMessages.h"
#include "NetworkDirectPlay/DirectPlayCommon.h"
#include "NetworkDirectPlay/NetworkPeerDirectPlay.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <thread>
#include <vector>

inline Platform::NetTimings fastTimings()
{
    Platform::NetTimings timings;
    timings.enumRetryMs = 30;
    // Long enough that a test thread held up on a busy machine still
    // answers inside the search.
    timings.enumTimeoutMs = 2000;
    timings.connectTimeoutMs = 3000;
    timings.handshakeTimeoutMs = 1000;
    timings.lingerMs = 300;
    return timings;
}

// A socket on 127.0.0.1 with a free port, listening if it is a stream
// socket; -1 when it cannot be had.
inline int loopbackSocket(int type, uint16_t& port)
{
    int fd = ::socket(AF_INET, type | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        (type != SOCK_STREAM || ::listen(fd, 8) == 0) &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
    {
        port = ntohs(address.sin_port);
        return fd;
    }
    if (fd >= 0)
        ::close(fd);
    return -1;
}

// What an endpoint posted, popped as the game thread does.
struct EventLog
{
    // Pops and keeps events under the endpoint's lock, handing each received
    // message to `onMessage`, until the condition holds; false on time-out.
    template <typename Endpoint>
    bool pump(Endpoint& endpoint, const std::function<void(NetworkMessageEvent&)>& onMessage,
              const std::function<bool()>& done, int ms = 5000)
    {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        for (;;)
        {
            {
                std::scoped_lock guard(endpoint);
                while (auto event = endpoint.popEvent())
                {
                    if (event->getKind() == NETWORK_EVENT_MESSAGE)
                        onMessage(static_cast<NetworkMessageEvent&>(*event));
                    events.push_back(std::move(event));
                }
                if (done())
                    return true;
            }
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    // The first event of that kind seen so far, or null.
    NetworkEvent* find(uint32_t kind, size_t from = 0)
    {
        for (size_t i = from; i < events.size(); ++i)
        {
            if (events[i]->getKind() == kind)
                return events[i].get();
        }
        return nullptr;
    }
    uint32_t dataOf(uint32_t kind)
    {
        auto* event = dynamic_cast<NetworkDataEvent*>(find(kind));
        return event != nullptr ? event->getData() : 0xFFFFFFFF;
    }

    std::vector<std::unique_ptr<NetworkEvent>> events;
};

struct TestPeer : EventLog
{
    explicit TestPeer(const std::string& nickname, uint32_t remotePort = 0)
        : peer(0, remotePort, fastTimings())
    {
        registerGameMessages();
        EXPECT_EQ(peer.setApplicationGuid(DirectPlay::kGameApplicationGuid, 16), ERROR_OK);
        peer.setNickname(nickname);
        EXPECT_EQ(peer.init(), ERROR_OK);
    }

    // Received messages are executed, as the game does, and their kinds kept.
    bool pumpUntil(const std::function<bool()>& done, int ms = 5000)
    {
        return pump(
            peer,
            [&](NetworkMessageEvent& received)
            {
                messages.push_back(received.getMessage()->getKind());
                received.getMessage()->execute(&peer, received.getSender());
            },
            done, ms);
    }
    bool waitFor(uint32_t kind, int ms = 5000)
    {
        return pumpUntil([&] { return find(kind) != nullptr; }, ms);
    }
    SlotTable* table() { return dynamic_cast<SlotTable*>(peer.getPlayerSet()); }

    NetworkSessionInfo sessionAt(NetworkPeerDirectPlay& host)
    {
        NetworkSessionInfo info;
        info.mHostIp = 0x7F000001;
        info.mHostPort = host.getHostedPort();
        info.mMaxPlayers = 2;
        return info;
    }
    ErrorCode hostGame(const std::string& name = "Partie de Bob")
    {
        std::scoped_lock guard(peer);
        return peer.host(name, 2);
    }
    ErrorCode connectTo(NetworkPeerDirectPlay& host)
    {
        std::scoped_lock guard(peer);
        return peer.connect(sessionAt(host));
    }

    NetworkPeerDirectPlay peer;
    std::vector<uint32_t> messages;
};

inline std::unique_ptr<MoveMessage> makeMove(uint8_t piece, uint8_t index)
{
    auto payload = std::make_unique<MovePayload>(piece, index);
    payload->computeSize();
    return std::make_unique<MoveMessage>(std::move(payload));
}
