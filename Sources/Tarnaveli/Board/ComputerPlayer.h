#pragma once
// The computer side: a plain minimax to a fixed depth (level + 2 below its own
// move), a static evaluation that pulls each own piece towards a target cell
// and counts enemy pieces by their distance to the own den, and a random
// choice among the equally best first moves. Owned by the board like every
// player; the board view also builds a short-lived level-1 one for hints.
#include "Tarnaveli/Board/Board.h"
#include "Tarnaveli/Board/Move.h"
#include "Tarnaveli/Board/Player.h"

#include <cstdint>
#include <memory>

class Board;

class ComputerPlayer : public Player
{
public:
    static constexpr uint32_t kMaxLevel = 2;
    // The most moves a side can have: eight pieces, four moves each.
    static constexpr uint32_t kMaxRootMoves = 32;
    static constexpr int32_t kWinValue = 1000000;

    // One first move of the last search: the piece's rank, the move's index
    // in that piece's list, and the value the minimax gave it.
    struct RootMove
    {
        uint32_t mRank = 0;
        uint32_t mIndex = 0;
        int32_t mValue = 0;
    };

    // A move as the search's own generator sees it: the piece's rank, its
    // target cell and the move's kind.
    struct SearchMove
    {
        uint32_t mRank = 0;
        int32_t mX = 0;
        int32_t mY = 0;
        uint32_t mKind = MOVE_PLAIN;
    };

    // Side 0, no board, no tables: board, side and level come with serialize.
    ComputerPlayer();
    ComputerPlayer(Board* board, uint32_t side, uint32_t level);
    ~ComputerPlayer() override;

    // Search depth = level + 2; builds the distance tables for the side.
    void init();

    // Searches `board` (null: the player's own board) and returns the chosen
    // move, which lies in this player's own list and stays valid until the
    // next search. Null when the side has no legal move, or when the player
    // has no board or no tables yet. Allocates nothing.
    Move* chooseMove(Board* board = nullptr);

    // The static value of a position for this player. A decided position
    // (den entered) is worth -kWinValue when reached by the opponent's move
    // (in a max node) and kWinValue + remainingDepth when reached by the
    // computer's own move (in a min node).
    int32_t evaluate(const Board* board, int32_t remainingDepth, bool inMaxNode) const;

    // Every legal move of `side` as the search generates them inside its
    // tree, in the board's order (rank by rank, each in the direction order of
    // Board::generateMoves); returns their count. The search must agree with
    // the board move for move, and this is how that is checked.
    static uint32_t listSearchMoves(const Board& board, uint32_t side, SearchMove (&out)[kMaxRootMoves]);

    // Side, then level. Reading refuses a side other than 0 or 1, a level
    // above 2 or a stream whose context holds no board, and then leaves the
    // player unchanged; otherwise it takes that board and runs init.
    ErrorCode serialize(BinaryStream& stream) override;

    Board* getBoard() const { return mBoard; }
    uint32_t getLevel() const { return mLevel; }
    uint32_t getSearchDepth() const { return mSearchDepth; }
    // A column of a distance table: the board's height, rounded up.
    static constexpr int32_t kDistanceColumn = 8;
    // Entry [x * kDistanceColumn + y]: distance from (x, y) to the rank's
    // target; null before init.
    const uint8_t* getDistanceTable(uint32_t rank) const { return mDistanceTables[rank].get(); }
    // Target cell of a rank for this player's side.
    void getTarget(uint32_t rank, int32_t& x, int32_t& y) const;

    // The first moves of the last search in playing order, and the tie list
    // of the best ones the choice was drawn from.
    uint32_t getRootMoveCount() const { return mRootMoveCount; }
    const RootMove& getRootMove(uint32_t i) const { return mRootMoves[i]; }
    uint32_t getTieCount() const { return mTieCount; }
    const RootMove& getTie(uint32_t i) const { return mTies[i]; }

private:
    Board* mBoard = nullptr;
    MoveList mMoves;
    std::unique_ptr<uint8_t[]> mDistanceTables[8];
    uint32_t mLevel = 0;
    uint32_t mSearchDepth = 2;

    // What each piece standing on a cell adds to the evaluation (row 16 is
    // "no piece" and stays zero), so the search keeps the value up to date
    // move by move instead of summing sixteen pieces at every leaf.
    int32_t mContribution[Board::kPieceCount + 1][Board::kCellCount + 1] = {};
    bool mReady = false;

    RootMove mRootMoves[kMaxRootMoves];
    uint32_t mRootMoveCount = 0;
    RootMove mTies[kMaxRootMoves];
    uint32_t mTieCount = 0;
};
