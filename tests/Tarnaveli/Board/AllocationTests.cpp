// Counts every global allocation of this program, to prove that a search
// allocates nothing.
#include "Tarnaveli/Board/Board.h"
#include "Tarnaveli/Board/ComputerPlayer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace
{
std::atomic<uint64_t> gAllocations{0};
}

void* operator new(std::size_t size)
{
    gAllocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size != 0 ? size : 1))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size)
{
    return operator new(size);
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete[](void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}

TEST(ComputerPlayerAllocation, ASearchAllocatesNothing)
{
    Board board;
    ComputerPlayer player(&board, 0, 1);
    // Searches from a few positions along a game, for both sides.
    ComputerPlayer opponent(&board, 1, 0);
    for (int i = 0; i < 4; ++i)
    {
        ComputerPlayer& mover = i % 2 == 0 ? player : opponent;
        const uint64_t before = gAllocations.load();
        Move* move = mover.chooseMove();
        const uint64_t during = gAllocations.load() - before;
        EXPECT_EQ(during, 0u) << "search " << i;
        ASSERT_NE(move, nullptr);
        board.playMove(*move);
    }

    ComputerPlayer other(&board, 1, 2);
    const uint64_t start = gAllocations.load();
    EXPECT_NE(other.chooseMove(), nullptr);
    EXPECT_EQ(gAllocations.load() - start, 0u);

    // Move generation, apply and revert do not allocate either.
    MoveList moves;
    const uint64_t genStart = gAllocations.load();
    for (uint32_t rank = 0; rank < 8; ++rank)
    {
        board.generateMoves(1, rank, moves);
        for (Move& m : moves)
        {
            m.apply();
            m.revert();
        }
    }
    EXPECT_EQ(gAllocations.load() - genStart, 0u);
}
