#pragma once
// One square of the 9 x 7 board: its terrain and the piece standing on it.
#include <cstdint>

class Piece;

// Terrain kinds. The rules test them arithmetically: the trap of side s is
// s + 2, the den of side s is s + 4, the enemy den of side s is 5 - s.
enum : uint32_t
{
    TERRAIN_WATER = 0,
    TERRAIN_LAND = 1,
    TERRAIN_TRAP_0 = 2,
    TERRAIN_TRAP_1 = 3,
    TERRAIN_DEN_0 = 4,
    TERRAIN_DEN_1 = 5
};

struct BoardCell
{
    uint32_t mKind = TERRAIN_LAND;
    // Not owned: the board owns every piece.
    Piece* mOccupant = nullptr;
};
