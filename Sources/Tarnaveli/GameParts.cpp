#include "Tarnaveli/GameParts.h"

#include "Engine2DD3D/Engine2DD3D.h"
#include "Engine3DD3D/Engine3DD3D.h"
#include "Gui/GuiManager.h"
#include "Gui/InputManager.h"
#include "Gui/Skin.h"
#include "SoundManagerDSound/SoundManagerDSound.h"
#include "Tarnaveli/BuiltInSounds.h"
#include "Tarnaveli/DifficultySelector.h"
#include "Tarnaveli/GameApplication.h"
#include "Tarnaveli/GameDescription/LinkGroup.h"
#include "Tarnaveli/GameScreen.h"

void installGameParts()
{
    // Sound manager kind 1 and 2D engine kind 1.
    SoundManagerDSound::registerKind();
    registerBuiltInSounds();
    Engine2DD3D::registerKind();
    // 3D engine kind 1.
    Engine3DD3D::registerKind();
    // The look table and the GUI manager.
    GuiManager::registerServices();
    // The skins and the input manager with its cursor.
    SkinManager::registerService();
    InputManager::registerService();
    // The help window's and the closing screen's links, and the level
    // selector of the scores window.
    LinkGroup::installTextButtons();
    DifficultySelector::installAsScoreSelector();
    // Received messages reach the in-game screen and the waiting window.
    GameScreen::installLinks();
}

ApplicationSettings makeProgramSettings()
{
    // The archive is required: without it the start-up reports it missing
    // and stops, rather than running on whatever loose files lie about.
    return GameApplication::makeSettings(true);
}
