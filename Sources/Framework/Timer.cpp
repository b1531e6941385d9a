#include "Framework/Timer.h"

#include "Platform/System/Clock.h"

#include <atomic>

namespace
{
std::atomic<int64_t> gTimeBase{Platform::clockNanoseconds()};
}

uint32_t getTimeMs()
{
    // Whole milliseconds in 64 bits, then cut to 32: the counter wraps after
    // about 49.7 days instead of converting an out-of-range double.
    int64_t ns = Platform::clockNanoseconds() - gTimeBase.load(std::memory_order_relaxed);
    return static_cast<uint32_t>(static_cast<uint64_t>(ns / 1000000));
}

double getTimeSeconds()
{
    return static_cast<double>(Platform::clockNanoseconds() - gTimeBase.load(std::memory_order_relaxed)) / 1e9;
}

void resetTimeBase()
{
    gTimeBase.store(Platform::clockNanoseconds(), std::memory_order_relaxed);
}

void Timer::start()
{
    mRunning = true;
    mLast = getTimeMs();
    mElapsed = 0;
}

void Timer::stop()
{
    if (mRunning)
    {
        update();
        mRunning = false;
    }
}

void Timer::resume()
{
    if (!mRunning)
    {
        mRunning = true;
        mLast = getTimeMs();
    }
}

uint32_t Timer::update()
{
    uint32_t now = getTimeMs();
    if (mRunning)
    {
        mElapsed += now - mLast;
        mLast = now;
    }
    return now;
}

uint32_t Timer::getElapsed()
{
    if (mRunning)
        update();
    return mElapsed;
}

void Timer::setElapsed(uint32_t ms)
{
    mElapsed = ms;
    mLast = getTimeMs();
}
