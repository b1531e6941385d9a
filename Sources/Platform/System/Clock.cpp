#include "Platform/System/Clock.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

namespace Platform
{
namespace
{
std::mutex gSourceMutex;
std::function<int64_t()> gSource;
std::atomic<bool> gHasSource{false};
ManualClock* gManual = nullptr;
} // namespace

int64_t clockNanoseconds()
{
    if (gHasSource.load(std::memory_order_acquire))
    {
        std::lock_guard lock(gSourceMutex);
        if (gSource)
            return gSource();
    }
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void setClockSource(std::function<int64_t()> source)
{
    std::lock_guard lock(gSourceMutex);
    gSource = std::move(source);
    gHasSource.store(static_cast<bool>(gSource), std::memory_order_release);
}

ManualClock::ManualClock()
{
    setClockSource([this] { return mNow; });
    gManual = this;
}

ManualClock::~ManualClock()
{
    gManual = nullptr;
    setClockSource({});
}

void sleepMs(uint32_t ms)
{
    if (gManual != nullptr)
    {
        gManual->advanceMs(ms);
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace Platform
