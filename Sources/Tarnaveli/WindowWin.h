#pragma once
// The end-of-game window: names the winner, plays the result sound and, when
// a person has beaten the computer fast enough, asks a name for the records.
#include "Gui/Dialog.h"
#include "Tarnaveli/InGameServices.h"
#include "Tarnaveli/ScoreTable.h"

class Container;
class TextField;

// What the game screen knows of a finished game.
struct GameOutcome
{
    uint32_t winnerSide = 0;
    bool network = false;
    // Network games: the winner is the player of this machine.
    bool winnerIsLocal = false;
    // Local games: 0 a person, 1 the computer, by side.
    uint32_t playerKind[2] = {0, 0};
    uint32_t computerLevel = 0;
    uint32_t elapsedMs = 0;
    // History entries of both sides.
    uint32_t moves = 0;
};

class WindowWin : public Dialog
{
public:
    static constexpr uint32_t NAME_LENGTH = 24;

    WindowWin(const GameOutcome& outcome, InGameServices& services);

    // Back to the main menu; OK of a records candidate enters the name and
    // shows the level's records.
    void onResult(uint32_t buttonBits) override;

    bool isRecordCandidate() const { return mCandidate; }
    const std::string& getResultText() const { return mResultText; }
    TextField* getNameField() const { return mNameField; }
    Container* getPanel() const { return mPanel; }

private:
    InGameServices& mServices;
    std::string mResultText;
    Container* mPanel = nullptr;
    TextField* mNameField = nullptr;
    bool mCandidate = false;
    uint32_t mCategory = 0;
    ScoreEntry mEntry;
};
