#pragma once
// Short games against the computer played with random input at random
// frames (clicks on cells and pieces, a pointer moved and pressed in the same
// frame, hint, undo, camera, the in-game menu opened and closed), with the
// game's turn checked after every frame. One seed drives the input and the
// game's own random choices, so that a failure is played again from its seed.
#include "PlayDriver.h"

#include <cstdint>
#include <string>

namespace Play
{

struct RandomPlayReport
{
    uint64_t seed = 0;
    int frames = 0;
    int games = 0;
    int moves = 0;
    // The first thing found wrong, with the frame it was found in; empty
    // when all went well.
    std::string fault;
};

// The seed of this run: VELMORIQUE_PLAY_SEED when it is set, else one drawn
// from the time, so that runs cover different games.
uint64_t randomPlaySeed();

// Starts a solo game through the menus and plays for that many frames.
// When the random input played fewer moves than moveFloor by then, White's
// moves are played on purpose, still checked every frame, until there are
// that many; a game that takes none within a bound is a fault.
RandomPlayReport playRandomly(Driver& driver, uint64_t seed, int frames, int moveFloor = 0);

} // namespace Play
