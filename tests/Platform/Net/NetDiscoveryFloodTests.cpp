// Anyone on the network may answer a search, as fast and as often as it can:
// a joining player must still see the real game, and pay a bounded price.
#include "AnswerFlood.h"
#include "NetSessionHarness.h"
#include "Platform/Net/NetWire.h"

#include <gtest/gtest.h>

using namespace Platform;
using namespace NetTest;

namespace
{
bool isRealHost(const NetHostInfo& host, uint16_t port)
{
    return host.sessionName == "Partie de Bob" && host.address.port == port;
}

// A hosted game and a player searching for it without end.
struct Search
{
    explicit Search(uint32_t maxPlayers)
    {
        hostSession(host, maxPlayers);
        port = host.session.hostedPort();
        EXPECT_EQ(seeker.session.enumHosts(guidOf(7), "127.0.0.1", port, 0), NetResult::Ok);
    }
    Endpoint host;
    Endpoint seeker;
    uint16_t port = 0;
};
} // namespace

TEST(NetDiscoveryFlood, ThreeFloodingSourcesNeitherHideTheRealHostNorGrowTheWork)
{
    Search search(2);
    Endpoint& seeker = search.seeker;
    const uint16_t port = search.port;
    const uint16_t answers = seeker.session.answerPort();
    ASSERT_NE(answers, 0);

    uint64_t flooded = 0;
    {
        AnswerFlood a(answers, guidOf(7), 1);
        AnswerFlood b(answers, guidOf(7), 2);
        AnswerFlood c(answers, guidOf(7), 3);
        // Found while the flood goes on, however long it would last.
        EXPECT_TRUE(seeker.recorder.waitFor(
            [&]
            {
                return std::any_of(seeker.recorder.hosts.begin(), seeker.recorder.hosts.end(),
                                   [&](const NetHostInfo& found) { return isRealHost(found, port); });
            }));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        flooded = a.sent() + b.sent() + c.sent();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    seeker.session.cancelEnumeration();

    const std::vector<NetHostInfo> listed = seeker.recorder.foundHosts();
    const std::vector<NetHostInfo> withdrawn = seeker.recorder.withdrawnHosts();
    const size_t found = listed.size();
    std::printf("%llu fake answers sent, %zu sessions reported\n", static_cast<unsigned long long>(flooded),
                found);
    ASSERT_GT(flooded, 1000u) << "the flood did not run";
    // Each source listed a few sessions at most before it was dropped, and
    // every one of them was withdrawn; the real host stays.
    EXPECT_LE(found, 3 * kNetMaxHostsPerSource + 2);
    size_t fakesListed = 0;
    for (const NetHostInfo& one : listed)
        fakesListed += isRealHost(one, port) ? 0 : 1;
    size_t realLost = 0;
    for (const NetHostInfo& lost : withdrawn)
        realLost += isRealHost(lost, port) ? 1 : 0;
    EXPECT_EQ(withdrawn.size(), fakesListed);
    EXPECT_EQ(realLost, 0u);
}

TEST(NetDiscoveryFlood, ARepeatedAnswerUpdatesItsSessionInsteadOfAddingOne)
{
    Search search(3);
    Endpoint& seeker = search.seeker;
    ASSERT_TRUE(seeker.recorder.waitFor([&] { return !seeker.recorder.hosts.empty(); }));
    // Many rounds of queries later, still the one report.
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    EXPECT_EQ(seeker.recorder.hostCount(), 1u);

    // A player joins: the host's answers change, and the entry with them.
    Endpoint joiner;
    join(joiner, search.host);
    ASSERT_TRUE(joiner.recorder.waitForLine("complete accepted"));
    EXPECT_TRUE(seeker.recorder.waitFor([&] { return seeker.recorder.hosts.size() == 2; }));
    EXPECT_EQ(seeker.recorder.foundHosts().back().currentPlayers, 2u);
    EXPECT_TRUE(seeker.recorder.withdrawnHosts().empty());
}
