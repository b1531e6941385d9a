#pragma once
// What the in-game menu and the end-of-game window ask of the game being
// played. The game application answers for the screen shown at the time of
// the call: a window that outlives its screen asks nothing of a screen that
// is gone.
#include <cstdint>
#include <string>

class ScoreTable;

class InGameServices
{
public:
    virtual ScoreTable* getScoreTable() const = 0;
    // Plays a sound of the table on the effects channels.
    virtual void playEffect(uint32_t soundId) = 0;
    virtual void openOptions() = 0;
    virtual void openLoadDialog(bool inGame) = 0;
    virtual void openSaveDialog() = 0;
    virtual void leaveToMainMenu(const std::string& message) = 0;
    // The in-game menu went: the board gets its buttons back.
    virtual void closeGameMenu() = 0;
    virtual bool isNetworkGame() const = 0;
    // The den has been entered: nothing left to save.
    virtual bool isGameOver() const = 0;

protected:
    ~InGameServices() = default;
};
