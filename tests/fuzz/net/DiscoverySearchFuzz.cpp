// What a searching player is promised, whatever the network sends: once an
// attack stops, the real game comes back to the join window's list by
// itself. The input is a sequence of events, as a hostile network may order
// them: answers from a few sources (the real game's own address and port
// among them) for a few sessions (the real game's among them) with any name,
// counts and port; ends of rounds of queries; Rafraîchir. Then for six rounds
// only the real game answers, once a round. The list the join window shows,
// fed as the game feeds it, must then hold the real game with its own name,
// address and port. No table may ever hold more than its bound, and no listed
// name a control character.
//
// Events, each led by a byte `op`:
//   op % 4 == 0 or 1: answers: u8 count - 1, u8 how (bit 0: each answer from
//       the next source, bit 1: each for the next session, bit 2: for
//       another application, bit 3: damaged), u16 source, u8 session (0: the
//       real game's), u8 most players, u8 players, u16 port, u8 name length,
//       the name.
//   op % 4 == 2: a round of queries ends.
//   op % 4 == 3: Rafraîchir; with bit 2 of op set, what the search reported
//       before reaches the list only after the list was emptied.
#include "NetworkDirectPlay/DirectPlayCommon.h"
#include "Platform/Net/NetDiscovery.h"
#include "Platform/Net/NetWire.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace Platform;

namespace
{
constexpr uint32_t kRealIp = 0x7F000001;
constexpr uint16_t kRealPort = 2301;
constexpr size_t kSources = 1024;
constexpr const char* kRealName = "Partie de Bob";

[[noreturn]] void fail(const char* why)
{
    std::fprintf(stderr, "broken promise: %s\n", why);
    __builtin_trap();
}

// Source 0 is the real game's own; 1 and 2 share its address or its port.
NetAddress sourceOf(size_t index)
{
    switch (index)
    {
    case 0:
        return {kRealIp, kRealPort};
    case 1:
        return {kRealIp, kRealPort + 1};
    case 2:
        return {0x7F000002, kRealPort};
    default:
        index -= 3;
        return {0x0A000000u | static_cast<uint32_t>(index >> 1),
                static_cast<uint16_t>(kRealPort + (index & 1))};
    }
}

NetGuid applicationId()
{
    return DirectPlay::toNetGuid(DirectPlay::kGameApplicationGuid);
}

// Session 0 is the real game's.
NetGuid instanceOf(uint8_t session)
{
    NetGuid guid;
    if (session == 0)
        guid.bytes = {0x52, 0x65, 0x61, 0x6C, 0x20, 0x67, 0x61, 0x6D,
                      0x65, 0x20, 0x6F, 0x66, 0x20, 0x42, 0x6F, 0x62};
    else
        guid.bytes.fill(session);
    return guid;
}

struct Input
{
    const uint8_t* data;
    size_t size;
    size_t at = 0;
    bool more() const { return at < size; }
    uint8_t u8() { return at < size ? data[at++] : 0; }
    uint16_t u16()
    {
        const uint16_t low = u8();
        return static_cast<uint16_t>(low | u8() << 8);
    }
};

// The search's own list, and the join window's as the game feeds it: what
// the search reports waits in a queue until the game's side handles it.
struct Search
{
    // As the peer handles the search's notifications, on another thread:
    // a session reported before the search started again, and no longer
    // listed by it, is not taken.
    void deliver()
    {
        for (const auto& [listed, host] : reported)
        {
            if (!listed)
                DirectPlay::removeFoundHost(sessions, host);
            else if (list.lists(host))
                DirectPlay::addFoundHost(sessions, host);
        }
        reported.clear();
        if (sessions.size() > DirectPlay::kMaxFoundSessions)
            fail("the join window lists more sessions than its bound");
        for (const auto& session : sessions)
        {
            if (std::any_of(session->mSessionName.begin(), session->mSessionName.end(),
                            [](char c) { return static_cast<uint8_t>(c) < 0x20 || c == 0x7F; }))
                fail("a listed name holds a control character");
        }
    }

    void checkBounds() const
    {
        const auto& hosts = list.hosts();
        if (hosts.size() > kNetMaxFoundHosts)
            fail("the search lists more sessions than its bound");
        if (list.sourceCount() > kNetMaxAnswerSources)
            fail("the search remembers more sources than its bound");
        std::array<uint64_t, kNetMaxFoundHosts> sources{};
        for (size_t i = 0; i < hosts.size(); ++i)
            sources[i] = uint64_t{hosts[i].info.address.ip} << 16 | hosts[i].sourcePort;
        std::sort(sources.begin(), sources.begin() + static_cast<ptrdiff_t>(hosts.size()));
        for (size_t i = kNetMaxHostsPerSource; i < hosts.size(); ++i)
        {
            if (sources[i] == sources[i - kNetMaxHostsPerSource])
                fail("a source lists more sessions than its bound");
        }
    }

    void answer(size_t source, const NetHostInfo& host, bool damaged)
    {
        std::vector<uint8_t> bytes = NetWire::encodeAnswer(host);
        if (damaged)
            bytes[bytes.size() / 2] ^= 0x55;
        const NetAddress from = sourceOf(source);
        list.take(from.ip, from.port, bytes.data(), bytes.size());
        checkBounds();
    }

    // The join window's Rafraîchir: the search is cancelled and started
    // again, its list emptied.
    void refresh()
    {
        list.restart(applicationId(), 1);
        sessions.clear();
        list.newRound();
    }

    std::vector<std::pair<bool, NetHostInfo>> reported;
    NetHostList list{[this](bool listed, const NetHostInfo& host) { reported.emplace_back(listed, host); }};
    std::vector<std::unique_ptr<NetworkSessionInfo>> sessions;
};

void answers(Search& search, Input& in)
{
    const size_t count = size_t{in.u8()} + 1;
    const uint8_t how = in.u8();
    const size_t source = in.u16() % kSources;
    const uint8_t session = in.u8();
    NetHostInfo host;
    host.application = applicationId();
    if (how & 4)
        host.application.bytes[0] ^= 1;
    host.maxPlayers = in.u8();
    host.currentPlayers = in.u8();
    host.address.port = in.u16();
    for (size_t length = in.u8(); length > 0 && in.more(); --length)
        host.sessionName.push_back(static_cast<char>(in.u8()));
    for (size_t i = 0; i < count; ++i)
    {
        host.instance = instanceOf(static_cast<uint8_t>(session + ((how & 2) ? i : 0)));
        search.answer((source + ((how & 1) ? i : 0)) % kSources, host, (how & 8) != 0);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Search search;
    search.list.restart(applicationId(), 1);
    search.list.newRound();
    Input in{data, size};
    while (in.more())
    {
        const uint8_t op = in.u8();
        switch (op % 4)
        {
        case 2:
            search.deliver();
            search.list.newRound();
            break;
        case 3:
            if ((op & 4) == 0)
                search.deliver();
            search.refresh();
            search.deliver();
            break;
        default:
            search.deliver();
            answers(search, in);
            break;
        }
    }

    // The attack is over: the real game answers each round, as a host does.
    NetHostInfo real;
    real.application = applicationId();
    real.instance = instanceOf(0);
    real.maxPlayers = 2;
    real.currentPlayers = 1;
    real.address.port = kRealPort;
    real.sessionName = kRealName;
    for (int round = 0; round < 6; ++round)
    {
        search.deliver();
        search.list.newRound();
        search.answer(0, real, false);
    }
    search.deliver();
    const bool listed =
        std::any_of(search.sessions.begin(), search.sessions.end(),
                    [](const std::unique_ptr<NetworkSessionInfo>& session)
                    {
                        return session->mInstanceGuid == instanceOf(0).bytes && session->mHostIp == kRealIp &&
                               session->mHostPort == kRealPort && session->mSessionName == kRealName;
                    });
    if (!listed)
        fail("the real game is not listed once the attack stopped");
    return 0;
}
