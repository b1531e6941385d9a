// Entry point of the game: fills the start-up settings, runs the game's
// application and deletes it once run has returned, whatever ended it.
#include "Framework/AppWindow.h"
#include "Platform/System/Memory.h"
#include "Platform/Window/SdlMessageSink.h"
#include "Tarnaveli/GameApplication.h"
#include "Tarnaveli/GameParts.h"
#include "Tarnaveli/ScriptedRun.h"

#include <memory>
#include <string_view>

// Built with the leak checker, the program reports at exit what it never
// freed, and a report should mean a leak of the game's own. The desktop bus
// library SDL opens keeps allocations for the life of the process: they are
// the library's, not the game's.
#ifdef VELMORIQUE_LEAK_CHECKED
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libdbus-1.so\n";
}
#endif

int main(int argc, char** argv)
{
    // The game covers the desktop; "--windowed" keeps it in a window of the
    // frame's size, for development and tests.
    bool windowed = false;
    bool timing = false;
    for (int i = 1; i < argc; ++i)
    {
        const std::string_view argument = argv[i];
        windowed = windowed || argument == "--windowed";
        timing = timing || argument == "--timing";
    }

    // A failed start-up is shown to the person at the display, not only on
    // standard error.
    Platform::installInteractiveMessageSink();

    installGameParts();

    ApplicationSettings settings = makeProgramSettings();
    // --timing shows the frame times over the game, for a player whose
    // machine draws without a graphics card.
    settings.mTimingOverlay = timing;
    // A run without a person, for the install check, when the environment asks.
    std::unique_ptr<GameApplication> application = makeApplicationFromEnvironment(settings);
    if (AppWindow* window = application->getAppWindow())
        window->setWindowedMode(windowed);
    ErrorCode code = application->run();
    if (code != 0)
        showRunError(code);
#ifdef VELMORIQUE_LEAK_CHECKED
    // The graphics driver goes with the display, holding what it allocated.
    Platform::keepLoadedLibraries();
#endif
    application.reset();
    return static_cast<int>(code);
}
