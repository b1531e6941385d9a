// Entry point of the game: fills the start-up settings, runs the game's
// application and deletes it once run has returned, whatever ended it.
#include "Platform/Window/SdlMessageSink.h"
#include "Tarnaveli/GameApplication.h"
#include "Tarnaveli/GameParts.h"

#include <memory>

int main()
{
    // A failed start-up is shown to the person at the display, not only on
    // standard error.
    Platform::installInteractiveMessageSink();

    installGameParts();

    const ApplicationSettings settings = makeProgramSettings();
    auto application = std::make_unique<GameApplication>(settings);
    ErrorCode code = application->run();
    if (code != 0)
        showRunError(code);
    application.reset();
    return static_cast<int>(code);
}
