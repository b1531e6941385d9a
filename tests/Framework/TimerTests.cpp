#include "Framework/Timer.h"
#include "Platform/System/Clock.h"

#include <gtest/gtest.h>

TEST(Timer, StopKeepsElapsedAndResumeSkipsStoppedTime)
{
    Platform::ManualClock clock;
    resetTimeBase();
    Timer timer;
    timer.start();
    clock.advanceMs(100);
    timer.stop();
    clock.advanceMs(500);
    EXPECT_EQ(timer.getElapsed(), 100u);
    timer.resume();
    clock.advanceMs(20);
    EXPECT_EQ(timer.getElapsed(), 120u);
    timer.start();
    EXPECT_EQ(timer.getElapsed(), 0u);
}

TEST(Timer, SetElapsedOnARunningTimerCountsOnFromTheValue)
{
    Platform::ManualClock clock;
    resetTimeBase();
    Timer timer;
    timer.start();
    clock.advanceMs(40);
    timer.setElapsed(1000);
    clock.advanceMs(7);
    EXPECT_EQ(timer.getElapsed(), 1007u);
}

TEST(Timer, MillisecondCounterWrapsAt32Bits)
{
    Platform::ManualClock clock;
    resetTimeBase();
    Timer timer;
    clock.setNs((int64_t{1} << 32) * 1000000 - 5 * 1000000); // 5 ms before the wrap
    timer.start();
    clock.advanceMs(10);
    EXPECT_EQ(getTimeMs(), 5u);
    EXPECT_EQ(timer.getElapsed(), 10u);
}
