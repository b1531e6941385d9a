// Linked into every test program: the environment every test runs in, set
// before main so that a test started by hand (not through CTest or ./test)
// behaves the same. Values already set in the environment are kept.
#include <cstdlib>

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
