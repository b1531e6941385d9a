#include "FakeGame.h"

#include "Network/NetworkEndpoint.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace
{
std::atomic<int> gLiveEvents{0};

struct CountedEvent : NetworkEvent
{
    CountedEvent(uint32_t producer, uint32_t sequence)
        : NetworkEvent(NETWORK_EVENT_SESSIONS_CHANGED), producer(producer), sequence(sequence)
    {
        ++gLiveEvents;
    }
    ~CountedEvent() override { --gLiveEvents; }
    uint32_t producer;
    uint32_t sequence;
};
} // namespace

TEST(NetworkEndpointEvents, SeveralThreadsPostingWhileOnePopsLoseAndReorderNothing)
{
    constexpr uint32_t kProducers = 4;
    constexpr uint32_t kPerProducer = 5000;
    NetworkEndpoint endpoint;
    EXPECT_FALSE(endpoint.popEvent());
    endpoint.postEvent(nullptr);
    EXPECT_FALSE(endpoint.popEvent());
    std::vector<std::thread> producers;
    for (uint32_t p = 0; p < kProducers; ++p)
    {
        producers.emplace_back(
            [&endpoint, p]
            {
                for (uint32_t i = 0; i < kPerProducer; ++i)
                    endpoint.postEvent(std::make_unique<CountedEvent>(p, i));
            });
    }
    std::vector<uint32_t> next(kProducers, 0);
    uint32_t popped = 0;
    bool ordered = true;
    while (popped < kProducers * kPerProducer)
    {
        auto event = endpoint.popEvent();
        if (!event)
        {
            std::this_thread::yield();
            continue;
        }
        auto& counted = static_cast<CountedEvent&>(*event);
        ordered = ordered && counted.sequence == next[counted.producer];
        next[counted.producer] = counted.sequence + 1;
        ++popped;
    }
    for (auto& thread : producers)
        thread.join();
    EXPECT_TRUE(ordered);
    EXPECT_FALSE(endpoint.popEvent());
    EXPECT_EQ(gLiveEvents, 0);
}

TEST(NetworkEndpointEvents, QueuedEventsAreDeletedWithTheEndpoint)
{
    {
        NetworkEndpoint endpoint;
        for (uint32_t i = 0; i < 3; ++i)
            endpoint.postEvent(std::make_unique<CountedEvent>(0, i));
        EXPECT_EQ(gLiveEvents, 3);
    }
    EXPECT_EQ(gLiveEvents, 0);
}

TEST(NetworkEndpointEvents, DisconnectTextFollowsTheReason)
{
    FakeGameLinks links;
    EXPECT_EQ(NetworkDataEvent(NETWORK_EVENT_SESSION_ENDED, 0).getDisconnectText(), "text 24");
    EXPECT_EQ(NetworkDataEvent(NETWORK_EVENT_SESSION_ENDED, 1).getDisconnectText(), "text 25");
    EXPECT_EQ(NetworkDataEvent(NETWORK_EVENT_SESSION_ENDED, 2).getDisconnectText(), "");
    EXPECT_EQ(NetworkDataEvent(NETWORK_EVENT_CONNECT_RESULT, 0).getDisconnectText(), "");
    links.withTexts = false;
    EXPECT_EQ(NetworkDataEvent(NETWORK_EVENT_SESSION_ENDED, 0).getDisconnectText(), "");
}

TEST(NetworkEndpointEvents, AMessageEventKeepsItsSenderAfterTheSessionDropsIt)
{
    auto sender = std::make_shared<NetworkPlayerInfo>("Ann");
    SlotTable table(nullptr, 2);
    ASSERT_TRUE(table.add(sender));
    std::weak_ptr<NetworkPlayerInfo> watch = sender;
    NetworkMessageEvent event(std::make_unique<ChatMessage>("hi"), sender);
    sender.reset();
    table.remove(event.getSender());
    ASSERT_FALSE(watch.expired());
    EXPECT_EQ(event.getSender()->getName(), "Ann");
}

TEST(SlotTableRecords, AFullTableRefusesWithoutKeepingTheRecord)
{
    SlotTable table(nullptr, 2);
    auto a = std::make_shared<NetworkPlayerInfo>("a");
    auto b = std::make_shared<NetworkPlayerInfo>("b");
    auto c = std::make_shared<NetworkPlayerInfo>("c");
    EXPECT_TRUE(table.add(a));
    EXPECT_FALSE(table.add(a)); // held already
    EXPECT_TRUE(table.add(b));
    EXPECT_FALSE(table.add(c));
    EXPECT_FALSE(table.add(nullptr));
    EXPECT_EQ(table.getCount(), 2u);
    EXPECT_EQ(c.use_count(), 1);
    EXPECT_EQ(table.indexOf(c.get()), -1);
    EXPECT_EQ(table.indexOf(b.get()), 1);

    // Removing an absent player changes nothing; a freed slot is reused first.
    EXPECT_FALSE(table.remove(c.get()));
    EXPECT_EQ(table.getCount(), 2u);
    a->setUserWord(0xC0FFEE);
    EXPECT_EQ(table.remove(a.get()), a);
    EXPECT_EQ(a->getUserWord(), 0xC0FFEEu);
    EXPECT_EQ(b->getUserWord(), 0u);
    EXPECT_EQ(table.getCount(), 1u);
    EXPECT_TRUE(table.add(c));
    EXPECT_EQ(table.indexOf(c.get()), 0);
}

TEST(SlotTableRecords, TheTableReleasesItsRecordsWhenDestroyed)
{
    std::weak_ptr<NetworkPlayerInfo> watch;
    {
        NetworkSession session(nullptr, 3, false);
        auto player = std::make_shared<NetworkPlayerInfo>("p");
        watch = player;
        session.add(std::move(player));
    }
    EXPECT_TRUE(watch.expired());
}
