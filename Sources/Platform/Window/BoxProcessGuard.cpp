#include "Platform/Window/BoxProcessGuard.h"

#include <atomic>
#include <new>
#include <pthread.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace Platform
{
namespace
{
constexpr int kSignals[2] = {SIGTERM, SIGINT};

// Lives in a page shared with the box's process, so that whichever of the
// two moves second sees what the other did: the game's handler sets the
// request and then looks for the box, the box records itself and then looks
// for a request.
struct SharedState
{
    std::atomic<pid_t> boxPid{0};
    std::atomic<int> signal{0};
};
static_assert(std::atomic<pid_t>::is_always_lock_free && std::atomic<int>::is_always_lock_free,
              "used from a signal handler and across processes");

std::mutex gBoxMutex;
SharedState* gShared = nullptr;
pid_t gGamePid = 0;
// Only a fork made by the thread that shows the box makes the box's process.
thread_local bool tShowing = false;
std::atomic<bool> gTerminationRequested{false};

void inForkedChild()
{
    if (!tShowing)
        return;
    tShowing = false;
    // Killed as soon as the game's thread that waits for it is gone.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != gGamePid)
        ::_exit(1); // the game went before the line above
    gShared->boxPid.store(::getpid());
    if (gShared->signal.load() != 0)
        ::_exit(1); // asked to end before the game could know this process
}

void onTerminationRequest(int signal)
{
    gShared->signal.store(signal);
    const pid_t box = gShared->boxPid.load();
    if (box > 0)
        ::kill(box, SIGKILL);
}

SharedState* sharedState()
{
    static SharedState* state = []() -> SharedState*
    {
        void* page =
            ::mmap(nullptr, sizeof(SharedState), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
        if (page == MAP_FAILED)
            return nullptr;
        if (::pthread_atfork(nullptr, nullptr, inForkedChild) != 0)
        {
            ::munmap(page, sizeof(SharedState));
            return nullptr;
        }
        return new (page) SharedState;
    }();
    return state;
}
} // namespace

BoxProcessGuard::BoxProcessGuard() : mLock(gBoxMutex)
{
    gShared = sharedState();
    if (gShared == nullptr)
        return;
    gGamePid = ::getpid();
    gShared->boxPid.store(0);
    gShared->signal.store(0);
    struct sigaction action = {};
    action.sa_handler = onTerminationRequest;
    sigemptyset(&action.sa_mask);
    for (size_t i = 0; i < 2; ++i)
        ::sigaction(kSignals[i], &action, &mPrevious[i]);
    tShowing = true;
    mArmed = true;
}

BoxProcessGuard::~BoxProcessGuard()
{
    if (!mArmed)
        return;
    tShowing = false;
    for (size_t i = 0; i < 2; ++i)
        ::sigaction(kSignals[i], &mPrevious[i], nullptr);
    gShared->boxPid.store(0);
    const int signal = gShared->signal.exchange(0);
    if (signal == 0)
        return;
    gTerminationRequested.store(true);
    mLock.unlock();
    // Whatever the game had set up for it: SDL's quit event, or the end.
    ::raise(signal);
}

bool terminationRequested()
{
    return gTerminationRequested.load();
}

} // namespace Platform
