#pragma once
// The menus' load and save entries: the saved-games dialog on the saves
// folder, and what the chosen file does to the game screens. Loading from
// the main menu plays the file on a new screen; loading or saving in a game
// works on the screen shown, and closes the in-game menu once done.
class GameScreenServices;
class MenuServices;

namespace SavedGameDialogs
{
// A file that does not load leaves the game, or the main menu, as it was,
// under the error. The menu services give the main menu its video back
// when the screen made for the load goes again.
void openLoadDialog(GameScreenServices& screens, MenuServices& menus, bool inGame);
void openSaveDialog();
} // namespace SavedGameDialogs
