#include "Tarnaveli/Board/Piece.h"

#include "Tarnaveli/Board/Board.h"

bool Piece::moveTo(int32_t x, int32_t y)
{
    if (x != -1)
    {
        if (!Board::isInside(x, y))
            return false;
        const Piece* occupant = mBoard->getCell(x, y).mOccupant;
        if (occupant != nullptr && occupant != this)
            return false;
    }
    if (mX != -1)
    {
        BoardCell& old = mBoard->getCell(mX, mY);
        if (old.mOccupant == this)
            old.mOccupant = nullptr;
    }
    mX = x;
    mY = y;
    if (x != -1)
        mBoard->getCell(x, y).mOccupant = this;
    return true;
}
