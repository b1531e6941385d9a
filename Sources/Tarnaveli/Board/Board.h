#pragma once
// One game of animal chess: the 63 cells with their terrain, the sixteen
// pieces, the two players, the side to move, the den-entered flag, the game
// clock and the history of played moves. Owned by the in-game screen; used on
// the main thread only. No display, no file, no virtual operation.
#include "Framework/Timer.h"
#include "Tarnaveli/Board/BoardCell.h"
#include "Tarnaveli/Board/HistoryEntry.h"
#include "Tarnaveli/Board/Move.h"
#include "Tarnaveli/Board/Piece.h"

#include <cstdint>
#include <list>
#include <memory>

class Player;

class Board
{
public:
    static constexpr int32_t kWidth = 9;  // x, along the board
    static constexpr int32_t kHeight = 7; // y, across it
    static constexpr uint32_t kCellCount = kWidth * kHeight;
    static constexpr uint32_t kPieceCount = 16;

    Board();
    ~Board();
    Board(const Board&) = delete;
    Board& operator=(const Board&) = delete;

    // The opening position, side 0 to move, clock restarted, history emptied.
    void reset();

    // The legal moves of one piece in the fixed direction order (x - 1, y - 1,
    // x + 1, y + 1). Empty for a piece off the board or a side or rank out of
    // range (a network message can name a captured piece).
    void generateMoves(uint32_t side, uint32_t rank, MoveList& out);
    bool hasLegalMove(uint32_t side);

    // Plays a move taken from a MoveList of this board and passes the turn.
    // It trusts the move: callers check moves that come from outside. A copy
    // of a move plays the matching move of its list; a move of no list of
    // this board is ignored.
    void playMove(const Move& move);
    // Takes back the last played move; nothing on an empty history.
    void undoMove();

    // Takes ownership; deletes the side's previous player. Giving the player
    // the side already holds changes nothing.
    void setPlayer(uint32_t side, std::unique_ptr<Player> player);
    Player* getPlayer(uint32_t side) const { return side < 2 ? mPlayers[side].get() : nullptr; }

    static constexpr bool isInside(int32_t x, int32_t y)
    {
        return x >= 0 && x < kWidth && y >= 0 && y < kHeight;
    }
    // Cells are numbered row by row: x + kWidth * y.
    static constexpr int32_t cellIndex(int32_t x, int32_t y) { return x + kWidth * y; }
    BoardCell& getCell(int32_t x, int32_t y) { return mCells[cellIndex(x, y)]; }
    const BoardCell& getCell(int32_t x, int32_t y) const { return mCells[cellIndex(x, y)]; }
    Piece& getPiece(uint32_t side, uint32_t rank) { return mPieces[side * 8 + rank]; }
    const Piece& getPiece(uint32_t side, uint32_t rank) const { return mPieces[side * 8 + rank]; }
    Piece& getPiece(const MoveList& moves) { return getPiece(moves.getSide(), moves.getRank()); }
    // Index side * 8 + rank.
    Piece& getPieceByIndex(uint32_t index) { return mPieces[index]; }
    const Piece& getPieceByIndex(uint32_t index) const { return mPieces[index]; }

    uint32_t getSideToMove() const { return mSideToMove; }
    void setSideToMove(uint32_t side) { mSideToMove = side & 1; }
    bool isDenEntered() const { return mDenEntered != 0; }
    void setDenEntered() { mDenEntered = 1; }
    void clearDenEntered() { mDenEntered = 0; }
    Timer& getClock() { return mClock; }
    // The game's move count: moves of both sides, taken-back moves not counted.
    uint32_t getMoveCount() const { return static_cast<uint32_t>(mHistory.size()); }
    const std::list<HistoryEntry>& getHistory() const { return mHistory; }

private:
    BoardCell mCells[kCellCount];
    Piece mPieces[kPieceCount];
    uint32_t mSideToMove = 0;
    std::unique_ptr<Player> mPlayers[2];
    uint8_t mDenEntered = 0;
    Timer mClock;
    std::list<HistoryEntry> mHistory;
};
