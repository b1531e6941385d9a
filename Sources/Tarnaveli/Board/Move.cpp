#include "Tarnaveli/Board/Move.h"

#include "Tarnaveli/Board/Board.h"

#include <cassert>

Piece* Move::getPiece() const
{
    return &mOwner->getBoard()->getPiece(*mOwner);
}

void Move::apply()
{
    Board& board = *mOwner->getBoard();
    Piece& piece = board.getPiece(*mOwner);
    mFromX = static_cast<uint8_t>(piece.getX());
    mFromY = static_cast<uint8_t>(piece.getY());
    if (mKind == MOVE_CAPTURE)
    {
        Piece* taken = board.getCell(getTargetX(), getTargetY()).mOccupant;
        assert(taken != nullptr);
        mCapturedRank = taken->getRank();
        taken->moveTo(-1, 0);
    }
    else if (mKind == MOVE_DEN_ENTRY)
    {
        board.setDenEntered();
    }
    piece.moveTo(getTargetX(), getTargetY());
}

void Move::revert()
{
    Board& board = *mOwner->getBoard();
    board.getPiece(*mOwner).moveTo(getFromX(), getFromY());
    if (mKind == MOVE_CAPTURE)
        board.getPiece(1 - mOwner->getSide(), mCapturedRank).moveTo(getTargetX(), getTargetY());
    else if (mKind == MOVE_DEN_ENTRY)
        board.clearDenEntered();
}

bool Move::isJump() const
{
    const Piece& piece = *getPiece();
    int32_t step = (getTargetX() - piece.getX()) + (getTargetY() - piece.getY());
    return step > 1 || step < -1;
}

MoveList& MoveList::operator=(const MoveList& other)
{
    mBoard = other.mBoard;
    mSide = other.mSide;
    mRank = other.mRank;
    mCount = other.mCount;
    for (uint32_t i = 0; i < mCount; ++i)
    {
        mMoves[i] = other.mMoves[i];
        mMoves[i].mOwner = this;
    }
    return *this;
}

int32_t MoveList::indexOf(const Move* move) const
{
    for (uint32_t i = 0; i < kCapacity; ++i)
    {
        if (move == &mMoves[i])
            return static_cast<int32_t>(i);
    }
    return -1;
}
