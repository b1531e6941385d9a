#pragma once
// A move of one piece and the list of the (at most four) moves of that piece.
// A move carries its own undo data (from cell, captured rank), so the search
// applies and takes back moves in place without allocating.
#include <cassert>
#include <cstdint>

class Board;
class MoveList;
class Piece;

enum : uint32_t
{
    MOVE_PLAIN = 0,
    MOVE_CAPTURE = 1,
    MOVE_DEN_ENTRY = 2
};

class Move
{
public:
    Move() = default;
    Move(MoveList* owner, int32_t targetX, int32_t targetY, uint32_t kind)
        : mKind(kind), mTargetX(static_cast<uint8_t>(targetX)), mTargetY(static_cast<uint8_t>(targetY)),
          mOwner(owner)
    {
    }

    // Change the board without touching the side to move or the history.
    void apply();
    void revert();
    // More than one cell from the moving piece's current cell (a jump over a
    // lake); valid before the move is applied.
    bool isJump() const;

    uint32_t getKind() const { return mKind; }
    uint32_t getCapturedRank() const { return mCapturedRank; }
    int32_t getFromX() const { return static_cast<int8_t>(mFromX); }
    int32_t getFromY() const { return static_cast<int8_t>(mFromY); }
    int32_t getTargetX() const { return static_cast<int8_t>(mTargetX); }
    int32_t getTargetY() const { return static_cast<int8_t>(mTargetY); }
    MoveList* getOwner() const { return mOwner; }
    Piece* getPiece() const;

private:
    friend class MoveList;

    uint32_t mKind = MOVE_PLAIN;
    uint32_t mCapturedRank = 0;
    uint8_t mFromX = 0;
    uint8_t mFromY = 0;
    uint8_t mTargetX = 0;
    uint8_t mTargetY = 0;
    MoveList* mOwner = nullptr;
};

class MoveList
{
public:
    static constexpr uint32_t kCapacity = 4;

    MoveList() = default;
    // Copies point their moves at the new list.
    MoveList(const MoveList& other) { *this = other; }
    MoveList& operator=(const MoveList& other);

    // Slot index of a move that lies inside this list, else -1.
    int32_t indexOf(const Move* move) const;

    void clear(Board* board, uint32_t side, uint32_t rank)
    {
        mBoard = board;
        mSide = side;
        mRank = rank;
        mCount = 0;
    }
    void add(int32_t targetX, int32_t targetY, uint32_t kind)
    {
        assert(mCount < kCapacity);
        mMoves[mCount++] = Move(this, targetX, targetY, kind);
    }

    Board* getBoard() const { return mBoard; }
    uint32_t getSide() const { return mSide; }
    uint32_t getRank() const { return mRank; }
    uint32_t getCount() const { return mCount; }
    Move& operator[](uint32_t index) { return mMoves[index]; }
    const Move& operator[](uint32_t index) const { return mMoves[index]; }
    Move* begin() { return mMoves; }
    Move* end() { return mMoves + mCount; }
    const Move* begin() const { return mMoves; }
    const Move* end() const { return mMoves + mCount; }

private:
    Board* mBoard = nullptr;
    uint32_t mSide = 0;
    uint32_t mRank = 0;
    Move mMoves[kCapacity];
    uint32_t mCount = 0;
};
