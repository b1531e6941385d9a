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
    }
};
const TestEnvironment gTestEnvironment;
} // namespace
