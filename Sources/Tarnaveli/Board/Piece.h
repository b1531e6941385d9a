#pragma once
// One animal of one side. The board owns its sixteen pieces; a piece only
// changes place through moveTo, which keeps the cells' occupants in step.
#include <cstdint>

class Board;

enum : uint32_t
{
    RANK_RAT = 0,
    RANK_CAT = 1,
    RANK_WOLF = 2,
    RANK_DOG = 3,
    RANK_PANTHER = 4,
    RANK_TIGER = 5,
    RANK_LION = 6,
    RANK_ELEPHANT = 7
};

class Piece
{
public:
    Piece() = default;
    Piece(const Piece&) = delete;
    Piece& operator=(const Piece&) = delete;

    // x = -1 takes the piece off the board. Coordinates that lie neither on
    // the board nor off it (x = -1), or a cell that another piece holds, are
    // refused (false) and leave the piece where it is: a damaged saved game
    // can neither write outside the cells nor put two pieces on one cell.
    bool moveTo(int32_t x, int32_t y);

    int32_t getX() const { return mX; }
    int32_t getY() const { return mY; }
    uint32_t getSide() const { return mSide; }
    uint32_t getRank() const { return mRank; }
    bool isOnBoard() const { return mX != -1; }
    Board* getBoard() const { return mBoard; }

private:
    friend class Board;

    int32_t mX = -1;
    int32_t mY = -1;
    uint32_t mSide = 0;
    uint32_t mRank = 0;
    Board* mBoard = nullptr;
};
