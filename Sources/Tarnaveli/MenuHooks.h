#pragma once
// What the menus and the small screens ask of the rest of the game. The
// application answers the first group (installMenuHooks wires it); the game
// screen, the saved-games dialogs and the options window plug into the rest
// when they exist. An empty hook is skipped.
#include <cstdint>
#include <functional>
#include <string>

class GameDescription;
class NetworkPeer;
class ScoreTable;
class SetupConfig;

// A local game to start on a new game screen. Kinds: 0 a person, 1 the
// computer; both computer players play at the one level.
struct LocalGameRequest
{
    uint32_t playerKind[2] = {0, 1};
    uint32_t level = 0;
    bool tutorial = false;
};

struct MenuHooks
{
    // The application.
    std::function<SetupConfig*()> setup;
    std::function<ScoreTable*()> scoreTable;
    std::function<GameDescription*()> gameDescription;
    std::function<void()> openMenuVideo;
    std::function<void()> closeMenuVideo;
    std::function<void()> quit;
    // Ends the program at once after a fatal error.
    std::function<void()> fatalQuit;
    std::function<void()> openNetworkMenu;
    // The network object, once the network menu has made it.
    std::function<NetworkPeer*()> network;
    // Music mode 1: the menu music.
    std::function<void()> startMenuMusic;
    // Plays a sound of the table on the effects channels.
    std::function<void(uint32_t soundId)> playEffect;

    // The game screen.
    std::function<void(const LocalGameRequest&)> startLocalGame;
    std::function<void(const std::string& message)> leaveToMainMenu;
    // Gives the board its buttons back when the in-game menu goes.
    std::function<void()> closeGameMenu;
    std::function<bool()> isNetworkGame;
    // The den has been entered: nothing left to save.
    std::function<bool()> isGameOver;

    // The saved-games dialogs: from the main menu a new game screen loads the
    // chosen game, from the in-game menu the current screen does.
    std::function<void(bool inGame)> openLoadDialog;
    std::function<void()> openSaveDialog;
    // The network windows: the list of games to join, and the waiting room
    // of the session just hosted (host) or joined.
    std::function<void()> openJoinWindow;
    std::function<void(bool host)> openWaitingWindow;
    // The options window.
    std::function<void()> openOptions;
};

MenuHooks& menuHooks();

// Answers the application's hooks from the running GameApplication and makes
// it open these menus (main menu, closing path, menu video).
void installMenuHooks();
