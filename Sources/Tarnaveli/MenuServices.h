#pragma once
// What the main menu and the windows reached from it ask of the running
// game: its objects, the menu's video and music, and the games, dialogs and
// windows they open. The game application answers; each window is given it
// when it is made and hands it on to the windows it opens.
#include <cstdint>

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

class MenuServices
{
public:
    virtual SetupConfig& getSetup() = 0;
    // Null until the start-up has made them.
    virtual ScoreTable* getScoreTable() const = 0;
    virtual GameDescription* getGameDescription() const = 0;
    // Null until the network menu has made it.
    virtual NetworkPeer* getNetwork() const = 0;

    virtual void openMenuVideoWindow() = 0;
    virtual void closeMenuVideoWindow() = 0;
    // Music mode 1: the menu music.
    virtual void startMenuMusic() = 0;

    virtual void startLocalGame(const LocalGameRequest& request) = 0;
    // From the main menu a new game screen loads the chosen game, from the
    // in-game menu the current screen does.
    virtual void openLoadDialog(bool inGame) = 0;
    virtual void openNetworkMenu() = 0;
    virtual void openOptions() = 0;
    // The list of games to join, and the waiting room of the session just
    // hosted; both on the network object, and nothing opens without it.
    virtual void openJoinWindow() = 0;
    virtual void openWaitingWindow() = 0;
    // The main menu's quit button.
    virtual void quit() = 0;
    // Ends the program at once after a fatal error.
    virtual void fatalQuit() = 0;

protected:
    ~MenuServices() = default;
};
