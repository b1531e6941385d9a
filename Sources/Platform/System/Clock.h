#pragma once
// The one time source every clock of the program reads. Tests replace it with
// a manual clock so that timers, pacing and animations are deterministic.
#include <cstdint>
#include <functional>

namespace Platform
{

// Nanoseconds on a monotonic clock (or on the clock installed for tests).
int64_t clockNanoseconds();

// Installs a replacement source; an empty function restores the real clock.
void setClockSource(std::function<int64_t()> source);

// A manual clock for tests: installs itself on construction, restores the real
// clock on destruction.
class ManualClock
{
public:
    ManualClock();
    ~ManualClock();
    ManualClock(const ManualClock&) = delete;
    ManualClock& operator=(const ManualClock&) = delete;

    void advanceMs(int64_t ms) { mNow += ms * 1000000; }
    void advanceNs(int64_t ns) { mNow += ns; }
    void setNs(int64_t ns) { mNow = ns; }
    int64_t nowNs() const { return mNow; }

private:
    int64_t mNow = 0;
};

// Sleeps the calling thread; with a manual clock installed it advances that
// clock instead, so paced loops run at full speed in tests.
void sleepMs(uint32_t ms);

} // namespace Platform
