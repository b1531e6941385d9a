#include "Tarnaveli/MenuHooks.h"

#include "Sound/SoundManager.h"
#include "Tarnaveli/GameApplication.h"
#include "Tarnaveli/GameDescription/LinkGroup.h"
#include "Tarnaveli/MenuVideoWindow.h"
#include "Tarnaveli/WindowJoinGame.h"
#include "Tarnaveli/WindowMenu.h"
#include "Tarnaveli/WindowNewGameMulti.h"
#include "Tarnaveli/WindowOption.h"
#include "Tarnaveli/WindowPrepareGame.h"
#include "Tarnaveli/WindowQuit.h"

MenuHooks& menuHooks()
{
    static MenuHooks hooks;
    return hooks;
}

void installMenuHooks()
{
    // The help window's and the closing screen's links.
    LinkGroup::installTextButtons();
    MenuHooks& hooks = menuHooks();
    hooks.setup = []() -> SetupConfig*
    {
        GameApplication* game = GameApplication::current();
        return game != nullptr ? &game->getSetup() : nullptr;
    };
    hooks.scoreTable = []() -> ScoreTable*
    {
        GameApplication* game = GameApplication::current();
        return game != nullptr ? game->getScoreTable() : nullptr;
    };
    hooks.gameDescription = []() -> GameDescription*
    {
        GameApplication* game = GameApplication::current();
        return game != nullptr ? game->getGameDescription() : nullptr;
    };
    hooks.network = []() -> NetworkPeer*
    {
        GameApplication* game = GameApplication::current();
        return game != nullptr ? game->getNetwork() : nullptr;
    };
    hooks.openMenuVideo = []()
    {
        if (GameApplication* game = GameApplication::current())
            game->openMenuVideoWindow();
    };
    hooks.closeMenuVideo = []()
    {
        if (GameApplication* game = GameApplication::current())
            game->closeMenuVideoWindow();
    };
    hooks.quit = []()
    {
        if (GameApplication* game = GameApplication::current())
            game->quit();
    };
    hooks.fatalQuit = []()
    {
        if (GameApplication* game = GameApplication::current())
            game->quitApplication(true);
    };
    hooks.openNetworkMenu = []()
    {
        if (GameApplication* game = GameApplication::current())
            game->openNetworkMenu();
    };
    hooks.startMenuMusic = []()
    {
        if (GameApplication* game = GameApplication::current())
            game->setMusicMode(MusicMode::Menu);
    };
    hooks.playEffect = [](uint32_t soundId)
    {
        GameApplication* game = GameApplication::current();
        if (SoundManager* sound = game != nullptr ? game->getSoundManager() : nullptr)
            sound->playSound(1, 7, soundId, -1, false, false);
    };
    // Each window is made on the running game's objects; without them
    // (no network object yet) nothing opens.
    hooks.openOptions = []
    {
        if (WindowOption* window = WindowOption::createForGame())
            window->open();
    };
    hooks.openJoinWindow = []
    {
        if (WindowJoinGame* window = WindowJoinGame::createForGame())
            window->open();
    };
    // The window learns from the session whether this machine hosts.
    hooks.openWaitingWindow = [](bool)
    {
        if (WindowPrepareGame* window = WindowPrepareGame::createForGame())
            window->open();
    };
    GameApplication::hooks().openMainMenu = [](GameApplication&) { WindowMenu::openNew(); };
    GameApplication::hooks().openMenuVideo = [](GameApplication&) { MenuVideoWindow::openNew(); };
    GameApplication::hooks().closeMenuVideo = [](GameApplication&)
    {
        if (MenuVideoWindow* video = MenuVideoWindow::current())
            video->close();
    };
    // The closing picture quits the program when it ends; a picture that
    // cannot be shown must not keep the program from quitting.
    GameApplication::hooks().openClosingScreen = [](GameApplication& game)
    {
        if (showLayer(std::make_unique<WindowQuit>()) == nullptr)
            game.quitApplication(false);
    };
    GameApplication::hooks().openNetworkGameWindow = [](GameApplication&)
    { (new WindowNewGameMulti())->open(); };
}
