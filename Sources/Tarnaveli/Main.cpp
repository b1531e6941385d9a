// Entry point of the game: fills the start-up settings, runs the application
// and deletes it once run has returned, whatever ended it.
#include "Engine2DD3D/Engine2DD3D.h"
#include "Engine3DD3D/Engine3DD3D.h"
#include "Framework/ApplicationGeneric.h"
#include "Gui/GuiManager.h"
#include "Gui/InputManager.h"
#include "Gui/Skin.h"
#include "Platform/System/Paths.h"
#include "Platform/Window/SdlMessageSink.h"
#include "SoundManagerDSound/SoundManagerDSound.h"

#include <filesystem>
#include <memory>

namespace
{
// Opens the window and runs the loop until the window is closed; the game's
// screens come with the game's application class.
class StartApplication final : public ApplicationGeneric
{
public:
    using ApplicationGeneric::ApplicationGeneric;
    void createFirstWindow() override {}
};
} // namespace

int main()
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

    ApplicationSettings settings;
    settings.mTitle = "Velmorique";
    settings.mClientWidth = 1024;
    settings.mClientHeight = 768;
    settings.mSystemCursor = false;
    settings.mIconResourceId = 125;
    settings.mLanguageFile = "data\\Ressources\\lang.ini";
    settings.mImagesFolder = "data\\Ressources\\images\\";
    // The build packs the game's data into the archive; a tree without it
    // still starts, reading files from the disk.
    if (std::filesystem::exists(Platform::mapPath("data\\Ressources.dat")))
        settings.mArchivePath = "data\\Ressources.dat";
    settings.mPass3DEnabled = true;

    auto application = std::make_unique<StartApplication>(settings);
    ErrorCode code = application->run();
    if (code != 0)
        showRunError(code);
    application.reset();
    return static_cast<int>(code);
}
