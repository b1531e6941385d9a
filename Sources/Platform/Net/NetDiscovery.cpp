#include "Platform/Net/NetDiscovery.h"

#include "Platform/Net/NetWire.h"

#include <algorithm>

namespace Platform
{

// ------------------------------------------------------------ searching side

void NetHostList::restart(const NetGuid& application, size_t targets)
{
    clear();
    mApplication = application;
    mAnswersPerRound = answersPerRound(targets);
}

void NetHostList::clear()
{
    mAnswerSources.clear();
    mFoundHosts.clear();
}

void NetHostList::newRound()
{
    // A source dropped for flooding that kept within its share for the whole
    // round just ended is heard again: the penalty lasts as long as the flood.
    ++mQueryRound;
    for (AnswerSource& source : mAnswerSources)
    {
        if (source.dropped && source.answers <= mAnswersPerRound)
            source.dropped = false;
        source.answers = 0;
    }
}

size_t NetHostList::indexOf(uint32_t ip, const NetGuid& instance) const
{
    size_t index = 0;
    while (index < mFoundHosts.size() &&
           !(mFoundHosts[index].info.address.ip == ip && mFoundHosts[index].info.instance == instance))
        ++index;
    return index;
}

bool NetHostList::lists(const NetHostInfo& host) const
{
    return indexOf(host.address.ip, host.instance) < mFoundHosts.size();
}

void NetHostList::take(uint32_t ip, uint16_t port, const uint8_t* bytes, size_t size)
{
    // What is no answer of this game tells nothing of its sender, and takes
    // no place among the sources.
    NetHostInfo host;
    if (!NetWire::decodeAnswer(bytes, size, host) || !(host.application == mApplication))
        return;
    auto source =
        std::find_if(mAnswerSources.begin(), mAnswerSources.end(),
                     [&](const AnswerSource& known) { return known.ip == ip && known.port == port; });
    if (source == mAnswerSources.end())
    {
        if (mAnswerSources.size() < kNetMaxAnswerSources)
        {
            source = mAnswerSources.insert(mAnswerSources.end(), AnswerSource{ip, port});
        }
        else
        {
            source = mAnswerSources.begin() + static_cast<ptrdiff_t>(sourceToReplace());
            if (source == mAnswerSources.end())
                return;
            *source = AnswerSource{ip, port};
        }
    }
    source->heard = ++mAnswersHeard;
    // Counted while dropped too: a round within the share lifts the drop.
    if (++source->answers > mAnswersPerRound && !source->dropped)
        dropAnswerSource(*source);
    if (source->dropped)
        return;
    host.address.ip = ip;
    // The same session listed at another address that has gone silent (a
    // forgery that stopped) makes way for this one.
    for (size_t i = 0; i < mFoundHosts.size();)
    {
        const Listed& other = mFoundHosts[i];
        if (other.info.instance == host.instance && other.info.address.ip != ip && isSilent(other))
            withdrawHost(i);
        else
            ++i;
    }
    if (const size_t known = indexOf(ip, host.instance); known < mFoundHosts.size())
    {
        Listed& entry = mFoundHosts[known];
        entry.round = mQueryRound;
        const NetHostInfo& was = entry.info;
        if (was.sessionName == host.sessionName && was.maxPlayers == host.maxPlayers &&
            was.currentPlayers == host.currentPlayers && was.address.port == host.address.port)
            return;
        entry.info = host;
    }
    else
    {
        // A silent session gives its place to one that answers, among the
        // source's share as in the whole list.
        if ((source->hosts >= kNetMaxHostsPerSource && !withdrawSilentHost(&*source)) ||
            (mFoundHosts.size() >= kNetMaxFoundHosts && !withdrawSilentHost()))
            return;
        ++source->hosts;
        mFoundHosts.push_back({host, port, mQueryRound});
    }
    mReport(true, host);
}

// A source that lists no session (one dropped for flooding, one whose
// sessions found no room) keeps no newcomer out: the one heard from longest
// ago makes way, so that a flooder still at work is forgotten last. At most
// kNetMaxFoundHosts sources list a session, so a full table always holds one
// that lists none.
size_t NetHostList::sourceToReplace() const
{
    size_t oldest = mAnswerSources.size();
    for (size_t i = 0; i < mAnswerSources.size(); ++i)
    {
        const AnswerSource& source = mAnswerSources[i];
        if (source.hosts == 0 &&
            (oldest == mAnswerSources.size() || source.heard < mAnswerSources[oldest].heard))
            oldest = i;
    }
    return oldest;
}

// The sessions a source listed go with it: they were as likely fake as the
// rest of what it sent.
void NetHostList::dropAnswerSource(AnswerSource& source)
{
    source.dropped = true;
    for (size_t i = 0; i < mFoundHosts.size();)
    {
        if (mFoundHosts[i].info.address.ip == source.ip && mFoundHosts[i].sourcePort == source.port)
            withdrawHost(i);
        else
            ++i;
    }
    source.hosts = 0;
}

// A full list keeps out no one for good: a session that answered none of
// the last round of queries (one a flood left behind, a game that ended)
// makes way, the longest silent first. Every host answers every round.
bool NetHostList::withdrawSilentHost(const AnswerSource* of)
{
    size_t silent = mFoundHosts.size();
    for (size_t i = 0; i < mFoundHosts.size(); ++i)
    {
        const Listed& found = mFoundHosts[i];
        if (of != nullptr && (found.info.address.ip != of->ip || found.sourcePort != of->port))
            continue;
        if (isSilent(found) && (silent == mFoundHosts.size() || found.round < mFoundHosts[silent].round))
            silent = i;
    }
    if (silent == mFoundHosts.size())
        return false;
    withdrawHost(silent);
    return true;
}

// A listener lists a session once, at the first address it heard it from: the
// other addresses it kept out are told of again, and one may take its place.
void NetHostList::withdrawHost(size_t index)
{
    const Listed gone = std::move(mFoundHosts[index]);
    mFoundHosts.erase(mFoundHosts.begin() + static_cast<ptrdiff_t>(index));
    for (AnswerSource& source : mAnswerSources)
    {
        if (source.ip == gone.info.address.ip && source.port == gone.sourcePort && source.hosts > 0)
            --source.hosts;
    }
    mReport(false, gone.info);
    for (const Listed& other : mFoundHosts)
    {
        if (other.info.instance == gone.info.instance)
            mReport(true, other.info);
    }
}

// --------------------------------------------------------------- host side

// A searcher sends a query every half second or so, which may reach a host
// by more than one of its targets; a source that asks more often, or claims
// to be someone it is not, gets little: the host is not to be turned into a
// flood of answers at a third machine, nor into a flood that makes a
// searcher drop it.
bool NetAnswerLimiter::mayAnswer(uint32_t ip, uint16_t port, Clock::time_point now)
{
    const auto spacing = std::chrono::milliseconds(kNetAnswerSpacingMs);
    QuerySource* source = nullptr;
    QuerySource* free = nullptr;
    for (QuerySource& known : mSources)
    {
        if (known.ip == ip && known.port == port && known.whole != Clock::time_point{})
        {
            source = &known;
            break;
        }
        // One whose allowance is whole remembers nothing a new one would not.
        if (free == nullptr && known.whole <= now)
            free = &known;
    }
    if (source == nullptr)
    {
        if (free == nullptr)
            return false;
        source = free;
        *source = QuerySource{ip, port, now};
    }
    if (source->whole > now + (kNetAnswerBurst - 1) * spacing)
        return false;
    if (now - mAnsweredSince >= std::chrono::seconds(1))
    {
        mAnsweredSince = now;
        mAnswered = 0;
    }
    if (mAnswered >= kNetAnswersPerSecond)
        return false;
    source->whole = std::max(source->whole, now) + spacing;
    ++mAnswered;
    return true;
}

} // namespace Platform
