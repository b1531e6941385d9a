#include "Tarnaveli/Board/Board.h"

#include "Tarnaveli/Board/Player.h"

#include <utility>

namespace
{
struct Placement
{
    int32_t x;
    int32_t y;
};

// Side 0's opening cells by rank; side 1 takes the point reflection.
constexpr Placement kOpening[8] = {{2, 6}, {1, 1}, {2, 2}, {1, 5}, {2, 4}, {0, 0}, {0, 6}, {2, 0}};

} // namespace

Board::Board()
{
    for (int32_t y = 0; y < kHeight; ++y)
    {
        for (int32_t x = 0; x < kWidth; ++x)
            getCell(x, y).mKind = terrainAt(x, y);
    }
    for (uint32_t i = 0; i < kPieceCount; ++i)
    {
        mPieces[i].mSide = i / 8;
        mPieces[i].mRank = i % 8;
        mPieces[i].mBoard = this;
    }
    reset();
}

Board::~Board() = default;

void Board::reset()
{
    mDenEntered = 0;
    mSideToMove = 0;
    mHistory.clear();
    for (Piece& piece : mPieces)
        piece.moveTo(-1, 0);
    for (uint32_t rank = 0; rank < 8; ++rank)
    {
        getPiece(0, rank).moveTo(kOpening[rank].x, kOpening[rank].y);
        getPiece(1, rank).moveTo(kWidth - 1 - kOpening[rank].x, kHeight - 1 - kOpening[rank].y);
    }
    mClock.start();
}

void Board::generateMoves(uint32_t side, uint32_t rank, MoveList& out)
{
    out.clear(this, side, rank);
    if (side > 1 || rank > 7)
        return;
    const Piece& piece = getPiece(side, rank);
    if (!piece.isOnBoard())
        return;
    const int32_t x = piece.getX();
    const int32_t y = piece.getY();
    const uint32_t fromKind = getCell(x, y).mKind;
    static constexpr int32_t kDx[4] = {-1, 0, 1, 0};
    static constexpr int32_t kDy[4] = {0, -1, 0, 1};

    for (int dir = 0; dir < 4; ++dir)
    {
        int32_t tx = x + kDx[dir];
        int32_t ty = y + kDy[dir];
        if (!isInside(tx, ty))
            continue;
        const BoardCell& target = getCell(tx, ty);
        const Piece* other = target.mOccupant;

        // 1. An occupied target: the rank rule, the Rat's exceptions, the traps.
        if (other != nullptr)
        {
            if (other->getSide() == side)
                continue;
            const uint32_t otherRank = other->getRank();
            bool takes = rank >= otherRank && target.mKind != TERRAIN_WATER;
            if (!takes && rank == RANK_RAT)
                takes = otherRank == RANK_RAT || (otherRank == RANK_ELEPHANT && fromKind != TERRAIN_WATER);
            if (!takes)
                takes = target.mKind == side + 2;
            if (takes)
                out.add(tx, ty, MOVE_CAPTURE);
            continue;
        }
        // 2. An empty land cell: the enemy den ends the game, the own den is closed.
        if (target.mKind != TERRAIN_WATER)
        {
            if (target.mKind == 5 - side)
                out.add(tx, ty, MOVE_DEN_ENTRY);
            else if (target.mKind != side + 4)
                out.add(tx, ty, MOVE_PLAIN);
            continue;
        }
        // 3. Empty water: the Rat swims, the Lion and the Tiger jump the lake.
        if (rank == RANK_RAT)
        {
            out.add(tx, ty, MOVE_PLAIN);
            continue;
        }
        if (rank != RANK_LION && rank != RANK_TIGER)
            continue;
        bool blocked = false;
        while (isInside(tx, ty) && getCell(tx, ty).mKind == TERRAIN_WATER)
        {
            if (getCell(tx, ty).mOccupant != nullptr)
                blocked = true;
            tx += kDx[dir];
            ty += kDy[dir];
        }
        if (blocked || !isInside(tx, ty))
            continue;
        const Piece* landed = getCell(tx, ty).mOccupant;
        if (landed == nullptr)
            out.add(tx, ty, MOVE_PLAIN);
        else if (landed->getSide() != side && rank >= landed->getRank())
            out.add(tx, ty, MOVE_CAPTURE);
    }
}

bool Board::hasLegalMove(uint32_t side)
{
    MoveList moves;
    for (uint32_t rank = 0; rank < 8; ++rank)
    {
        generateMoves(side, rank, moves);
        if (moves.getCount() != 0)
            return true;
    }
    return false;
}

void Board::playMove(const Move& move)
{
    if (move.getOwner() == nullptr || move.getOwner()->getBoard() != this)
        return;
    MoveList& owner = *move.getOwner();
    int32_t index = owner.indexOf(&move);
    if (index < 0)
    {
        // A copy taken out of its list: play the list's own move of the same
        // target, whose slot the history can record.
        for (uint32_t i = 0; i < owner.getCount() && index < 0; ++i)
        {
            if (owner[i].getTargetX() == move.getTargetX() && owner[i].getTargetY() == move.getTargetY() &&
                owner[i].getKind() == move.getKind())
                index = static_cast<int32_t>(i);
        }
        if (index < 0)
            return;
    }
    owner[static_cast<uint32_t>(index)].apply();
    HistoryEntry& entry = mHistory.emplace_back();
    entry.mMoves = owner;
    entry.mIndex = index;
    mSideToMove = 1 - mSideToMove;
}

void Board::undoMove()
{
    if (mHistory.empty())
        return;
    HistoryEntry& entry = mHistory.back();
    entry.mMoves[static_cast<uint32_t>(entry.mIndex)].revert();
    mHistory.pop_back();
    mSideToMove = 1 - mSideToMove;
}

void Board::setPlayer(uint32_t side, std::unique_ptr<Player> player)
{
    if (side > 1)
        return;
    if (player.get() == mPlayers[side].get())
    {
        // The caller handed back the object we already own: keep one owner.
        (void)player.release();
        return;
    }
    mPlayers[side] = std::move(player);
}
