#pragma once
// The bookkeeping of discovery, apart from sockets and clocks: which sessions
// a searching player lists from the answers it hears, and how often a hosted
// session answers those who query it. NetSession runs both on its sockets;
// answers, rounds of queries and times are handed in, so that either can be
// driven through any sequence of events without a network.
#include "Platform/Net/NetAddress.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace Platform
{

// One answer to a discovery query.
struct NetHostInfo
{
    NetGuid application;
    NetGuid instance;
    uint32_t maxPlayers = 0;
    uint32_t currentPlayers = 0;
    std::string sessionName;
    NetAddress address; // where to connect
};

// Anyone on the network can answer a query, as often and as many sessions as
// it likes; a datagram that is no answer of the game searched for counts for
// nothing. A source (address and port) lists at most kNetMaxHostsPerSource
// sessions; one that answers more often than a host answers a round of
// queries is dropped, its sessions withdrawn, and heard again after a whole
// round within that limit. At most kNetMaxAnswerSources sources are
// remembered: in a full table, the one listing no session that was heard from
// longest ago makes way for a new one. At most kNetMaxFoundHosts sessions are
// listed. No bound keeps out a session that answers for one that answered
// none of the last whole round of queries (a forgery that stopped, a game
// that ended): in a full list, or among a source's full share, the one silent
// longest makes way. So does a session listed at one address for the same
// session answering at another; the sessions listed at other addresses for
// the same session are reported again whenever one is withdrawn.
constexpr uint32_t kNetMaxHostsPerSource = 4;
constexpr uint32_t kNetMaxFoundHosts = 64;
constexpr uint32_t kNetMaxAnswerSources = 256;
static_assert(kNetMaxAnswerSources > kNetMaxFoundHosts,
              "a full table of sources holds one that lists no session");

// The sessions a search lists, and the sources it heard them from. Not
// thread-safe: its owner serialises the calls.
class NetHostList
{
public:
    // Told of each change as it happens: a session listed, or listed again
    // with other details (listed true), or withdrawn (listed false).
    using Report = std::function<void(bool listed, const NetHostInfo& host)>;
    explicit NetHostList(Report report) : mReport(std::move(report)) {}

    // Forgets every source and session, for a search of the application whose
    // queries go to `targets` addresses.
    void restart(const NetGuid& application, size_t targets);
    void clear();
    // A round of queries went out: each source has a new share of answers.
    void newRound();
    // A datagram that came from the source to the searching socket.
    void take(uint32_t ip, uint16_t port, const uint8_t* bytes, size_t size);
    // True while the session is listed at that address.
    bool lists(const NetHostInfo& host) const;

    struct Listed
    {
        NetHostInfo info;
        uint16_t sourcePort = 0; // the source is info.address.ip and this port
        uint32_t round = 0;      // the round of queries it last answered
    };
    const std::vector<Listed>& hosts() const { return mFoundHosts; }
    size_t sourceCount() const { return mAnswerSources.size(); }
    // More answers than this from one source in one round is a flood: a host
    // answers each query that reaches it once, and a query may reach it by
    // more than one target.
    static constexpr uint32_t answersPerRound(size_t targets)
    {
        return 4 + 2 * static_cast<uint32_t>(targets);
    }

private:
    struct AnswerSource
    {
        uint32_t ip = 0;
        uint16_t port = 0;
        uint32_t answers = 0; // in this round of queries
        uint32_t hosts = 0;
        bool dropped = false;
        uint64_t heard = 0; // the mAnswersHeard of its latest answer
    };
    // The index of the session listed at that address; the list's size when
    // there is none.
    size_t indexOf(uint32_t ip, const NetGuid& instance) const;
    // True when it answered none of the last whole round of queries.
    bool isSilent(const Listed& found) const { return found.round + 1 < mQueryRound; }
    // The index of the source that makes way for a new one in a full table;
    // the table's size when none may.
    size_t sourceToReplace() const;
    // Withdraws the session silent longest, of the source when one is given,
    // if one was silent for a whole round of queries.
    bool withdrawSilentHost(const AnswerSource* of = nullptr);
    // Takes the entry out of the list and reports it, then reports again the
    // entries of the same session at other addresses, which the listener may
    // have kept out for this one.
    void withdrawHost(size_t index);
    void dropAnswerSource(AnswerSource& source);

    Report mReport;
    NetGuid mApplication;
    uint32_t mAnswersPerRound = answersPerRound(1);
    std::vector<AnswerSource> mAnswerSources;
    uint64_t mAnswersHeard = 0; // answers taken: orders sources by their latest
    uint32_t mQueryRound = 0;   // rounds of queries sent
    std::vector<Listed> mFoundHosts;
};

// Anyone can send a hosted session queries, as fast as it likes and from any
// source address it claims, a searcher's own included. A source (address and
// port) is answered kNetAnswerBurst times at once, then once every
// kNetAnswerSpacingMs: never more within a searcher's round of queries than
// the searcher takes from a host, so that queries sent in its name do not make
// it drop this host. All sources together are answered at most
// kNetAnswersPerSecond times a second. kNetQuerySources sources are
// remembered; one whose allowance is whole again makes way for a new one, and
// while none has, a new source is not answered.
constexpr uint32_t kNetAnswerBurst = 3;
constexpr uint32_t kNetAnswerSpacingMs = 250;
constexpr uint32_t kNetAnswersPerSource = 8; // in any second
static_assert(kNetAnswerBurst + 1000 / kNetAnswerSpacingMs <= kNetAnswersPerSource);
constexpr uint32_t kNetAnswersPerSecond = 256;
constexpr uint32_t kNetQuerySources = 64;

// Whom a hosted session answers, and when. Not thread-safe.
class NetAnswerLimiter
{
public:
    using Clock = std::chrono::steady_clock;
    // True when the query from that source, arrived at `now`, is answered;
    // the answer is then counted. Times never go back.
    bool mayAnswer(uint32_t ip, uint16_t port, Clock::time_point now);

private:
    struct QuerySource
    {
        uint32_t ip = 0;
        uint16_t port = 0;
        // When its allowance is whole again; never: a free entry.
        Clock::time_point whole{};
    };
    std::array<QuerySource, kNetQuerySources> mSources{};
    uint32_t mAnswered = 0; // by all sources since mAnsweredSince
    Clock::time_point mAnsweredSince{};
};

} // namespace Platform
