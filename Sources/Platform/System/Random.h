#pragma once
// The game's random generator: the classic linear congruential generator with
// results in 0..32767, the range the game's code assumes. One generator for
// the whole program, seeded once at start-up (and by tests).
#include <cstdint>

namespace Platform
{

constexpr int kRandMax = 32767;
void seedRandom(uint32_t seed);
int random();

} // namespace Platform
