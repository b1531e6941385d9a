#pragma once
// What the program's entry point sets up before it builds the game's
// application, kept apart so that anything else running the whole game in
// its own process sets up exactly the same.
#include "Framework/ApplicationGeneric.h"

// Installs the implementations and links the program runs with: the engines
// and the sound manager by kind, the GUI's services, the links' text buttons
// and the in-game screen's links.
void installGameParts();

// The start-up settings the program runs with, for the data folder beside it.
ApplicationSettings makeProgramSettings();
