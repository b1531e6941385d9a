#pragma once
// Installs, before the game's application is built, the implementations and
// links the program runs with: the engines and the sound manager by kind,
// the GUI's services, the menus' hooks and the in-game screen's links. The
// entry point calls it; so does anything else that runs the whole game in
// its own process.
void installGameParts();
