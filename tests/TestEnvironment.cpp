// Linked into every test program: the environment every test runs in, set
// before main so that a test started by hand (not through CTest or ./test)
// behaves the same. Values already set in the environment are kept.
#include "TestThreads.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <string>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

namespace TestThreads
{

std::map<int, std::string> others()
{
    std::map<int, std::string> threads;
    DIR* tasks = opendir("/proc/self/task");
    if (tasks == nullptr)
        return threads;
    const int self = static_cast<int>(syscall(SYS_gettid));
    while (const dirent* entry = readdir(tasks))
    {
        const int id = std::atoi(entry->d_name);
        if (id <= 0 || id == self)
            continue;
        char name[64] = {};
        if (FILE* comm = std::fopen(("/proc/self/task/" + std::to_string(id) + "/comm").c_str(), "r"))
        {
            if (std::fgets(name, sizeof name, comm) == nullptr)
                name[0] = 0;
            std::fclose(comm);
        }
        std::string label = name;
        if (!label.empty() && label.back() == '\n')
            label.pop_back();
        threads[id] = label;
    }
    closedir(tasks);
    return threads;
}

std::string waitForOthersToEnd(const std::map<int, std::string>& kept, int timeoutMs)
{
    std::string running;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;)
    {
        running.clear();
        for (const auto& [id, name] : others())
            if (kept.count(id) == 0)
                running += " " + std::to_string(id) + ":" + name;
        if (running.empty() || std::chrono::steady_clock::now() >= deadline)
            return running;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

} // namespace TestThreads

namespace
{
struct TestEnvironment
{
    TestEnvironment()
    {
        // Game discovery must never leave this machine.
        setenv("VELMORIQUE_DISCOVERY", "127.0.0.1", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
        setenv("VELMORIQUE_SOURCE_DIR", VELMORIQUE_SOURCE_DIR, 0);
        // Files the tests write stay in their scratch folders, whatever
        // user folder the person running them has named.
        unsetenv("VELMORIQUE_USER_DIR");
    }
    // Runs after main has returned, before the leak checker stops every
    // thread to scan it: a thread still running then is one its owner never
    // joined, or one a system library keeps (the play driver keeps the
    // rasteriser's), and one being torn down can crash that check. Threads
    // already joined are given the moment the kernel needs to finish them;
    // any other is named here so that it can be found.
    ~TestEnvironment()
    {
        const std::string running = TestThreads::waitForOthersToEnd({}, 200);
        if (!running.empty())
            std::fprintf(stderr, "threads still running at exit:%s\n", running.c_str());
    }
};
const TestEnvironment gTestEnvironment;
} // namespace

// System libraries that keep allocations for the life of the process (the
// desktop bus SDL opens under a display, X11, Mesa's drivers) are not our
// leaks.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libdbus-1.so\n"
           "leak:libX11.so\n"
           "leak:libxcb.so\n"
           "leak:libGLX_mesa.so\n"
           "leak:libEGL_mesa.so\n"
           "leak:swrast_dri.so\n"
           "leak:libgallium\n"
           "leak:libLLVM\n"
           "leak:libfontconfig.so\n";
}

// The sanitizer runtime's watch of dynamic thread-local storage takes a block
// that malloc happens to place 16 bytes past a page boundary for the header
// an old glibc put there, reads a bogus range from the two words before it,
// and the leak checker's tracer then dies at exit ("Tracer caught signal
// 11"), at random with the heap's layout. The leak check itself stays on;
// ASAN_OPTIONS from the environment still adds to or overrides this.
extern "C" const char* __asan_default_options()
{
    return "intercept_tls_get_addr=0";
}
