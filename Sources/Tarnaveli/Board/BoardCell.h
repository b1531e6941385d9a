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

// Terrain of (x, y) on the 9 x 7 board: two lakes in the middle, each side's
// den at the middle of its end, ringed by its three traps.
constexpr uint32_t terrainAt(int32_t x, int32_t y)
{
    if (x >= 3 && x <= 5 && (y == 1 || y == 2 || y == 4 || y == 5))
        return TERRAIN_WATER;
    if (y == 3 && (x == 0 || x == 8))
        return x == 0 ? TERRAIN_DEN_0 : TERRAIN_DEN_1;
    if ((x == 0 && (y == 2 || y == 4)) || (x == 1 && y == 3))
        return TERRAIN_TRAP_0;
    if ((x == 8 && (y == 2 || y == 4)) || (x == 7 && y == 3))
        return TERRAIN_TRAP_1;
    return TERRAIN_LAND;
}

struct BoardCell
{
    uint32_t mKind = TERRAIN_LAND;
    // Not owned: the board owns every piece.
    Piece* mOccupant = nullptr;
};
