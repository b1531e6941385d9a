#pragma once
// The steps a player takes again and again, through the menus and buttons.
#include "PlayDriver.h"

#include <functional>
#include <string>

class Board;
class BoardGraphics3D;
class WindowMenu;

namespace Play
{

// Lets the intro run its course and the first main menu unfold.
WindowMenu* reachMainMenu(Driver& driver);
// The main menu's entry (WindowMenu::Entry), once the menu has unfolded.
void clickMenuEntry(Driver& driver, uint32_t entry);
// The main menu reached, then its entry clicked; false when no menu came.
bool openMainMenuEntry(Driver& driver, uint32_t entry);
// The window of type T the main menu's entry opens; null when none.
template <class T> T* fromMainMenu(Driver& driver, uint32_t entry)
{
    return openMainMenuEntry(driver, entry) ? driver.layer<T>() : nullptr;
}
// "Charger une partie" from the main menu: the saved game named (UTF-8)
// chosen in the file dialog, then OK; false when a step is missing.
bool loadFromMainMenu(Driver& driver, const std::string& fileName);
// Clicks the shown label or button with this text (UTF-8); false when none.
bool clickText(Driver& driver, const std::string& utf8);
// Main menu, "Partie solo", the first-game question answered "Non", the
// new-game window's defaults (a person against the computer at level 0),
// OK; the board is shown and still.
BoardGraphics3D* startSoloGame(Driver& driver);
// The game screen of a network game between this machine (White) and a
// peer that never speaks, its chat window open: what the player sees does
// not depend on the peer.
BoardGraphics3D* startNetworkScreen(Driver& driver);
// Where the cell's centre is drawn in the frame, by the view's camera.
bool cellPoint(Driver& driver, int cellX, int cellY, int& x, int& y);
// Where a point of the cell is drawn: (u, v) from (-1, -1) to (1, 1) spans
// the cell from corner to corner, (0, 0) is its centre.
bool cellPoint(Driver& driver, int cellX, int cellY, float u, float v, int& x, int& y);
// White's first legal move found from the rat up, by board cells.
bool firstWhiteMove(Board& board, int& fromX, int& fromY, int& toX, int& toY);
// Clicks the piece on (fromX, fromY), then the cell (toX, toY), and waits
// for the move to be played.
bool playMove(Driver& driver, int fromX, int fromY, int toX, int toY);
// Waits for the computer's reply and its animation.
bool waitForTurn(Driver& driver, uint32_t side, int budget = 400);

// In a child process, prepares the fresh install, then runs the start-up as
// the program does: exit 0 when it succeeded, else 100 + the code (mod 100).
ChildRun startInChild(const std::function<void(Driver&)>& prepare);
// The child's message boxes, one a line.
std::string shownMessages(const ChildRun& run);

} // namespace Play
