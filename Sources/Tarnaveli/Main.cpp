// Entry point of the game: fills the start-up settings, runs the game's
// application and deletes it once run has returned, whatever ended it.
#include "Framework/AppWindow.h"
#include "Platform/Window/SdlMessageSink.h"
#include "Tarnaveli/GameApplication.h"
#include "Tarnaveli/GameParts.h"
#include "Tarnaveli/ScriptedRun.h"

#include <memory>
#include <string_view>

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
    application.reset();
    return static_cast<int>(code);
}
