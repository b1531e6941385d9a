// Linked into every test program: the environment every test runs in, set
// before main so that a test started by hand (not through CTest or ./test)
// behaves the same. Values already set in the environment are kept.
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <string>
#include <unistd.h>

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
    // joined, and it can crash that check. Named here so that it can be found.
    ~TestEnvironment()
    {
        DIR* tasks = opendir("/proc/self/task");
        if (tasks == nullptr)
            return;
        std::string names;
        int count = 0;
        const std::string self = std::to_string(getpid());
        while (const dirent* entry = readdir(tasks))
        {
            const std::string id = entry->d_name;
            if (id == "." || id == ".." || id == self)
                continue;
            ++count;
            char name[64] = {};
            if (FILE* comm = std::fopen(("/proc/self/task/" + id + "/comm").c_str(), "r"))
            {
                if (std::fgets(name, sizeof name, comm) == nullptr)
                    name[0] = 0;
                std::fclose(comm);
            }
            std::string label = name;
            if (!label.empty() && label.back() == '\n')
                label.pop_back();
            names += " " + id + ":" + label;
        }
        closedir(tasks);
        if (count != 0)
            std::fprintf(stderr, "threads still running at exit:%s\n", names.c_str());
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
