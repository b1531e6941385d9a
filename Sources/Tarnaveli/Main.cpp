// Entry point of the game: fills the start-up settings, runs the game's
// application and deletes it once run has returned, whatever ended it.
#include "Engine2DD3D/Engine2DD3D.h"
#include "Engine3DD3D/Engine3DD3D.h"
#include "Gui/GuiManager.h"
#include "Gui/InputManager.h"
#include "Gui/Skin.h"
#include "Platform/System/Paths.h"
#include "Platform/Window/SdlMessageSink.h"
#include "SoundManagerDSound/SoundManagerDSound.h"
#include "Tarnaveli/DifficultySelector.h"
#include "Tarnaveli/GameApplication.h"
#include "Tarnaveli/GameScreen.h"
#include "Tarnaveli/MenuHooks.h"

#include <filesystem>
#include <memory>
#include <string_view>

int main(int argc, char** argv)
{
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

    ApplicationSettings settings =
        GameApplication::makeSettings(std::filesystem::exists(Platform::mapPath("data\\Ressources.dat")));
    // --timing shows the frame times over the game, for a player whose
    // machine draws without a graphics card.
    for (int i = 1; i < argc; ++i)
        if (std::string_view(argv[i]) == "--timing")
            settings.mTimingOverlay = true;
    auto application = std::make_unique<GameApplication>(settings);
    ErrorCode code = application->run();
    if (code != 0)
        showRunError(code);
    application.reset();
    return static_cast<int>(code);
}
