// Random games played forward and taken back to the start, checking after
// every step that cells and pieces agree.
#include "BoardTestHelpers.h"
#include "Platform/System/Random.h"
#include "Tarnaveli/Board/Board.h"

#include <gtest/gtest.h>

using namespace BoardTest;

namespace
{
// Plays a random legal move of the side to move; false when it has none.
bool playRandomMove(Board& board)
{
    MoveList all[8];
    uint32_t total = 0;
    for (uint32_t rank = 0; rank < 8; ++rank)
    {
        board.generateMoves(board.getSideToMove(), rank, all[rank]);
        total += all[rank].getCount();
    }
    if (total == 0)
        return false;
    uint32_t pick = static_cast<uint32_t>(Platform::random()) % total;
    for (MoveList& moves : all)
    {
        if (pick < moves.getCount())
        {
            board.playMove(moves[pick]);
            return true;
        }
        pick -= moves.getCount();
    }
    return false;
}
} // namespace

TEST(Playout, RandomGamesUndoneStepByStepReturnToTheStart)
{
    const std::vector<Placed> sparse = {{0, 0, 4, 4}, {0, 6, 2, 2}, {0, 5, 3, 0}, {0, 7, 6, 3},
                                        {1, 0, 4, 1}, {1, 5, 6, 4}, {1, 6, 5, 6}, {1, 7, 2, 3}};
    int captures = 0, denEntries = 0;
    for (uint32_t seed = 1; seed <= 40; ++seed)
    {
        Platform::seedRandom(seed);
        Board board;
        if (seed % 2 == 0)
            setPosition(board, sparse);
        const std::string start = snapshot(board);
        std::vector<std::string> trail{start};
        while (trail.size() < 200 && !board.isDenEntered() && playRandomMove(board))
        {
            ASSERT_TRUE(isConsistent(board)) << "seed " << seed << " move " << trail.size();
            trail.push_back(snapshot(board));
        }
        ASSERT_EQ(board.getMoveCount() + 1, trail.size());
        for (const HistoryEntry& entry : board.getHistory())
            captures += entry.mMoves[static_cast<uint32_t>(entry.mIndex)].getKind() == MOVE_CAPTURE;
        denEntries += board.isDenEntered();
        while (board.getMoveCount() != 0)
        {
            trail.pop_back();
            board.undoMove();
            ASSERT_TRUE(isConsistent(board)) << "seed " << seed;
            ASSERT_EQ(snapshot(board), trail.back()) << "seed " << seed;
        }
        EXPECT_EQ(snapshot(board), start) << "seed " << seed;
    }
    // The games must have gone through the moves that change most.
    EXPECT_GT(captures, 20);
    EXPECT_GT(denEntries, 5);
}
