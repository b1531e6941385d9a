#include "Platform/Audio/AudioEvent.h"

#include <cstdint>

namespace Platform
{
namespace
{
// Every set bumps this counter; waiters sleep on it, so one wait covers any
// number of events without a lock on the setter's side.
std::atomic<uint32_t> gGeneration{0};
} // namespace

AudioEvent::AudioEvent(bool initiallySet, bool autoReset) : mSet(initiallySet), mAutoReset(autoReset) {}

void AudioEvent::set()
{
    mSet.store(true);
    gGeneration.fetch_add(1);
    gGeneration.notify_all();
}

bool AudioEvent::tryWait()
{
    if (mAutoReset)
        return mSet.exchange(false);
    return mSet.load();
}

size_t AudioEvent::waitAny(AudioEvent* const* events, size_t count, std::atomic<bool>* idle)
{
    for (;;)
    {
        // Reading the generation before the flags means a set that lands
        // after the scan changes it, and the wait below returns at once.
        uint32_t generation = gGeneration.load();
        if (idle != nullptr)
            idle->store(false);
        for (size_t i = 0; i < count; ++i)
        {
            if (events[i]->tryWait())
                return i;
        }
        if (idle != nullptr)
            idle->store(true);
        gGeneration.wait(generation);
    }
}

} // namespace Platform
