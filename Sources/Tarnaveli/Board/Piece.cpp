#include "Tarnaveli/Board/Piece.h"

#include "Tarnaveli/Board/Board.h"

void Piece::moveTo(int32_t x, int32_t y)
{
    if (x != -1 && !Board::isInside(x, y))
        return;
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
}
