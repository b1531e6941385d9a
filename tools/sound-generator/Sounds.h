#pragma once
// The game's sounds, each built from the synthesis blocks.
#include "Synth.h"

namespace SoundGen
{

Buffer errorSound();
Buffer optionSound();
Buffer buttonClick();
Buffer menuClick();
Buffer pieceSelect();
Buffer winJingle();
Buffer loseJingle();

// The calm menu music: a few minutes long, from silence to silence.
Buffer menuMusic();

// rank 0 (Rat) .. 7 (Elephant); action 0 move, 1 attack, 2 death.
Buffer animalSound(int rank, int action);

} // namespace SoundGen
