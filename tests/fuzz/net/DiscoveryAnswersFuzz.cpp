// What a hosted game promises those who search for it, whatever queries
// reach it and from whichever source they claim to come: no source ever gets
// more answers within half a second than a searcher takes from one host in a
// round, so that queries forged in a searcher's name never make it drop the
// host; and once the queries stop, a searcher that queries every half second
// is answered within two seconds.
//
// The input: u8 when the searcher's queries fall within their half second,
// then events of u16 the time since the one before (ms, modulo 4096), u16 the
// source (0: the searcher's own address and port), u8 count - 1 queries from
// it at that time. The searcher queries every half second throughout.
#include "Platform/Net/NetDiscovery.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>

using namespace Platform;
using namespace std::chrono_literals;

namespace
{
using Clock = NetAnswerLimiter::Clock;
constexpr size_t kSources = 1024;
constexpr auto kRound = 500ms;
// What a searcher with one target takes from a source in a round.
constexpr uint32_t kMostPerRound = NetHostList::answersPerRound(1);

[[noreturn]] void fail(const char* why)
{
    std::fprintf(stderr, "broken promise: %s\n", why);
    __builtin_trap();
}

NetAddress sourceOf(size_t index)
{
    return {0xC0A80000u | static_cast<uint32_t>(index >> 2), static_cast<uint16_t>(2301 + (index & 3))};
}

struct Host
{
    // True when the query is answered.
    bool query(size_t source, Clock::time_point now)
    {
        const NetAddress from = sourceOf(source);
        if (!limiter.mayAnswer(from.ip, from.port, now))
            return false;
        // The last answers to each source, oldest first once the ring is full.
        Answers& answers = last[source];
        Clock::time_point& oldest = answers.times[answers.count % kMostPerRound];
        if (answers.count >= kMostPerRound && now - oldest < kRound)
            fail("a source got more answers within half a second than a searcher takes from a host");
        oldest = now;
        ++answers.count;
        return true;
    }

    struct Answers
    {
        std::array<Clock::time_point, kMostPerRound> times{};
        uint64_t count = 0;
    };
    NetAnswerLimiter limiter;
    std::array<Answers, kSources> last{};
};

uint16_t u16(const uint8_t* data)
{
    return static_cast<uint16_t>(data[0] | data[1] << 8);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    Host host;
    Clock::time_point now = Clock::time_point() + 1h;
    Clock::time_point searcherNext = now + std::chrono::milliseconds(data[0] * 2 % 500);
    for (size_t at = 1; at + 5 <= size; at += 5)
    {
        now += std::chrono::milliseconds(u16(data + at) % 4096);
        for (; searcherNext <= now; searcherNext += kRound)
            host.query(0, searcherNext);
        const size_t source = u16(data + at + 2) % kSources;
        for (int count = data[at + 4] + 1; count > 0; --count)
            host.query(source, now);
    }

    // The queries stopped at `now`.
    bool answered = false;
    for (; !answered && searcherNext <= now + 2s; searcherNext += kRound)
        answered = host.query(0, searcherNext);
    if (!answered)
        fail("a searcher is not answered within two seconds of the queries' end");
    return 0;
}
