// Entry point of the game: fills the start-up settings, runs the game's
// application and deletes it once run has returned, whatever ended it.
#include "Engine2DD3D/Engine2DD3D.h"
#include "Engine3DD3D/Engine3DD3D.h"
#include "Framework/AppWindow.h"
#include "Gui/GuiManager.h"
#include "Gui/InputManager.h"
#include "Gui/Skin.h"
#include "Platform/Window/SdlMessageSink.h"
#include "SoundManagerDSound/SoundManagerDSound.h"
#include "Tarnaveli/DifficultySelector.h"
#include "Tarnaveli/GameApplication.h"
#include "Tarnaveli/GameScreen.h"
#include "Tarnaveli/MenuHooks.h"
#include "Tarnaveli/ScriptedRun.h"

#include <cstring>
#include <memory>

int main(int argc, char** argv)
{
    // The game covers the desktop; "--windowed" keeps it in a window of the
    // frame's size, for development and tests.
    bool windowed = false;
    for (int i = 1; i < argc; ++i)
    {
        if (std::strcmp(argv[i], "--windowed") == 0)
            windowed = true;
    }

    // A failed start-up is shown to the person at the display, not only on
    // standard error.
    Platform::installInteractiveMessageSink();

    // Sound manager kind 1 and 2D engine kind 1.
    SoundManagerDSound::registerKind();
    Engine2DD3D::registerKind();
    // 3D engine kind 1.
    Engine3DD3D::registerKind();
    // The look table and the GUI manager.
    GuiManager::registerServices();
    // The skins and the input manager with its cursor.
    SkinManager::registerService();
    InputManager::registerService();
    // The menus and the level selector of the scores window.
    installMenuHooks();
    DifficultySelector::installAsScoreSelector();
    // Received messages and the frame's 3D pass reach the in-game screen.
    GameScreen::installLinks();
    // A run without a person, for the install check.
    installScriptedRunFromEnvironment();

    // The archive is required: without it the start-up reports it missing
    // and stops, rather than running on whatever loose files lie about.
    const ApplicationSettings settings = GameApplication::makeSettings(true);
    auto application = std::make_unique<GameApplication>(settings);
    if (AppWindow* window = application->getAppWindow())
        window->setWindowedMode(windowed);
    ErrorCode code = application->run();
    if (code != 0)
        showRunError(code);
    application.reset();
    return static_cast<int>(code);
}
