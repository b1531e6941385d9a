#pragma once
#include "Tarnaveli/Board/Move.h"

// One played move of the game: a copy of the list it was taken from (which
// keeps its from cell and captured rank for the undo) and its index there.
struct HistoryEntry
{
    MoveList mMoves;
    int32_t mIndex = -1;
};
