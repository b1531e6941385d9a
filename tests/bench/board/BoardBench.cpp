#include "Platform/System/Random.h"
#include "Tarnaveli/Board/Board.h"
#include "Tarnaveli/Board/ComputerPlayer.h"

#include <benchmark/benchmark.h>

namespace
{
// A crowded mid-game: every piece still on the board, both sides advanced
// towards the lakes, where the Lions and Tigers can jump.
void setMidGame(Board& board)
{
    struct P
    {
        uint32_t side, rank;
        int32_t x, y;
    };
    const P pieces[] = {{0, 0, 3, 5}, {0, 1, 1, 2}, {0, 2, 2, 3}, {0, 3, 1, 4}, {0, 4, 3, 3}, {0, 5, 2, 1},
                        {0, 6, 2, 5}, {0, 7, 4, 3}, {1, 0, 5, 1}, {1, 1, 7, 4}, {1, 2, 6, 3}, {1, 3, 7, 2},
                        {1, 4, 5, 3}, {1, 5, 6, 5}, {1, 6, 6, 1}, {1, 7, 6, 4}};
    for (uint32_t i = 0; i < Board::kPieceCount; ++i)
        board.getPieceByIndex(i).moveTo(-1, 0);
    for (const P& p : pieces)
        board.getPiece(p.side, p.rank).moveTo(p.x, p.y);
}

void BM_GenerateApplyRevert(benchmark::State& state)
{
    Board board;
    if (state.range(0) == 1)
        setMidGame(board);
    MoveList moves;
    int64_t count = 0;
    for (auto _ : state)
    {
        for (uint32_t side = 0; side < 2; ++side)
        {
            for (uint32_t rank = 0; rank < 8; ++rank)
            {
                board.generateMoves(side, rank, moves);
                for (Move& m : moves)
                {
                    m.apply();
                    m.revert();
                }
                count += moves.getCount();
            }
        }
        benchmark::DoNotOptimize(board);
    }
    state.SetItemsProcessed(count);
    state.SetLabel(state.range(0) == 1 ? "mid-game" : "opening");
}
BENCHMARK(BM_GenerateApplyRevert)->Arg(0)->Arg(1);

void BM_ChooseMove(benchmark::State& state)
{
    Board board;
    if (state.range(1) == 1)
        setMidGame(board);
    ComputerPlayer player(&board, 0, static_cast<uint32_t>(state.range(0)));
    Platform::seedRandom(1);
    for (auto _ : state)
        benchmark::DoNotOptimize(player.chooseMove());
    state.SetLabel(state.range(1) == 1 ? "mid-game" : "opening");
}
BENCHMARK(BM_ChooseMove)
    ->ArgsProduct({{0, 1, 2}, {0, 1}})
    ->ArgNames({"level", "midgame"})
    ->Unit(benchmark::kMillisecond);
} // namespace
