#pragma once
// The program's millisecond clock and the small start/stop/resume timer that
// every animation, fade, caret and the game clock embed by value.
#include <cstdint>

// Milliseconds since the time base, as a 32-bit counter that wraps.
uint32_t getTimeMs();
// Seconds since the time base.
double getTimeSeconds();
// Sets the time base to the clock's current reading (done once at start-up;
// tests call it after installing a manual clock).
void resetTimeBase();

class Timer
{
public:
    void start();
    void stop();
    void resume();
    uint32_t update();
    uint32_t getElapsed();
    void setElapsed(uint32_t ms);
    bool isRunning() const { return mRunning; }

private:
    uint32_t mLast = 0;
    uint32_t mElapsed = 0;
    bool mRunning = false;
};
