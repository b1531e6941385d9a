#pragma once
// SDL shows a message box in a process of its own, forked from the game's,
// and waits for it to end. Held around that call, the guard ties the box's
// process to the game's: the box goes when the game goes, however the game
// ends, and a termination request (SIGTERM, SIGINT) that comes while the box
// is open closes the box and then reaches the game as it would have without
// one. One box at a time: a second guard waits for the first.
#include <csignal>
#include <mutex>

namespace Platform
{

class BoxProcessGuard
{
public:
    BoxProcessGuard();
    // Puts the game's own signal handling back, then delivers a request that
    // came while the box was open.
    ~BoxProcessGuard();
    BoxProcessGuard(const BoxProcessGuard&) = delete;
    BoxProcessGuard& operator=(const BoxProcessGuard&) = delete;

private:
    std::unique_lock<std::mutex> mLock;
    bool mArmed = false;
    struct sigaction mPrevious[2];
};

// True once a termination request has closed a box: the game is ending, and
// it shows no further box.
bool terminationRequested();

} // namespace Platform
