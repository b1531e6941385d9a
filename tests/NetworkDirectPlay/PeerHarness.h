#pragma once
// Peers on 127.0.0.1 with free ports and short timings, and a pump that plays
// the game thread: it pops events, executes received messages and keeps
// everything for the test to look at. Every wait has a time-out.
#include "Network/GameMessages.h"
#include "NetworkDirectPlay/DirectPlayCommon.h"
#include "NetworkDirectPlay/NetworkPeerDirectPlay.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>
#include <vector>

inline Platform::NetTimings fastTimings()
{
    Platform::NetTimings timings;
    timings.enumRetryMs = 30;
    timings.enumTimeoutMs = 200;
    timings.connectTimeoutMs = 3000;
    timings.handshakeTimeoutMs = 1000;
    timings.lingerMs = 300;
    return timings;
}

struct TestPeer
{
    explicit TestPeer(const std::string& nickname, uint32_t remotePort = 0)
        : peer(0, remotePort, fastTimings())
    {
        registerGameMessages();
        EXPECT_EQ(peer.setApplicationGuid(DirectPlay::kGameApplicationGuid, 16), ERROR_OK);
        peer.setNickname(nickname);
        EXPECT_EQ(peer.init(), ERROR_OK);
    }

    // Pops and handles events until the condition holds; false on time-out.
    bool pumpUntil(const std::function<bool()>& done, int ms = 5000)
    {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        for (;;)
        {
            {
                std::scoped_lock guard(peer);
                while (auto event = peer.popEvent())
                {
                    if (event->getKind() == NETWORK_EVENT_MESSAGE)
                    {
                        auto& received = static_cast<NetworkMessageEvent&>(*event);
                        messages.push_back(received.getMessage()->getKind());
                        received.getMessage()->execute(&peer, received.getSender());
                    }
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
    bool waitFor(uint32_t kind, int ms = 5000)
    {
        return pumpUntil([&] { return find(kind) != nullptr; }, ms);
    }
    uint32_t dataOf(uint32_t kind)
    {
        auto* event = dynamic_cast<NetworkDataEvent*>(find(kind));
        return event != nullptr ? event->getData() : 0xFFFFFFFF;
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

    NetworkPeerDirectPlay peer;
    std::vector<std::unique_ptr<NetworkEvent>> events;
    std::vector<uint32_t> messages;
};

inline std::unique_ptr<MoveMessage> makeMove(uint8_t piece, uint8_t index)
{
    auto payload = std::make_unique<MovePayload>(piece, index);
    payload->computeSize();
    return std::make_unique<MoveMessage>(std::move(payload));
}
