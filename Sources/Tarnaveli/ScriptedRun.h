#pragma once
// A run of the game without a person at the controls, for checking an
// installed copy from a script: when the environment names
// VELMORIQUE_SCRIPTED_RUN, the program, once its first window is up, starts
// a game against the computer, saves it under that name through the
// saved-games dialog, sets the music level to kScriptedMusicLevel as the
// options window would, and quits the way the window's close does. What it
// leaves behind is what a player's first session leaves: a saved game, the
// settings, the set-up file and the language file, in the user's folder.
#include "Tarnaveli/GameApplication.h"

#include <cstdint>
#include <memory>

constexpr uint32_t kScriptedMusicLevel = 77;

// The game's application, which runs the script when the variable is set
// and not empty.
std::unique_ptr<GameApplication> makeApplicationFromEnvironment(const ApplicationSettings& settings);
