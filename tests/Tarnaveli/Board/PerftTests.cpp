// Counts of all move sequences to a fixed depth, from fixed positions, by the
// board's generator and by a second one written as plainly as the rules read.
// A position where a den has been entered ends the game: nothing follows it.
#include "BoardTestHelpers.h"
#include "Tarnaveli/Board/Board.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace BoardTest;

namespace
{
// The second generator: its own position (a grid of piece indices) and a
// legality test for a piece and a target cell, asked for every cell in the
// piece's row and column.
struct SimplePosition
{
    int grid[9][7];
    int px[16];
    int py[16];
    bool den = false;
    int side = 0;
};

bool lake(int x, int y)
{
    return (x == 3 || x == 4 || x == 5) && (y == 1 || y == 2 || y == 4 || y == 5);
}

SimplePosition fromBoard(const Board& board)
{
    SimplePosition p;
    for (auto& column : p.grid)
        for (int& cell : column)
            cell = -1;
    for (int i = 0; i < 16; ++i)
    {
        const Piece& piece = board.getPieceByIndex(static_cast<uint32_t>(i));
        p.px[i] = piece.getX();
        p.py[i] = piece.getY();
        if (piece.isOnBoard())
            p.grid[p.px[i]][p.py[i]] = i;
    }
    p.den = board.isDenEntered();
    p.side = static_cast<int>(board.getSideToMove());
    return p;
}

bool isLegal(const SimplePosition& p, int piece, int tx, int ty)
{
    const int side = piece / 8, rank = piece % 8;
    const int x = p.px[piece], y = p.py[piece];
    if ((tx != x && ty != y) || (tx == x && ty == y))
        return false;
    if (tx == (side == 0 ? 0 : 8) && ty == 3)
        return false; // own den
    const int distance = std::abs(tx - x) + std::abs(ty - y);
    const int target = p.grid[tx][ty];
    if (target >= 0 && target / 8 == side)
        return false;
    if (distance > 1)
    {
        // A lake jump: Lion or Tiger, every cell between is empty water, the
        // landing cell is land, and a piece there must not outrank the jumper.
        if ((rank != 5 && rank != 6) || lake(tx, ty))
            return false;
        const int sx = (tx > x) - (tx < x), sy = (ty > y) - (ty < y);
        for (int cx = x + sx, cy = y + sy; cx != tx || cy != ty; cx += sx, cy += sy)
            if (!lake(cx, cy) || p.grid[cx][cy] >= 0)
                return false;
        return target < 0 || rank >= target % 8;
    }
    if (lake(tx, ty) && rank != 0)
        return false;
    if (target < 0)
        return true;
    const int targetRank = target % 8;
    const bool ownTrap = side == 0 ? (tx == 0 && (ty == 2 || ty == 4)) || (tx == 1 && ty == 3)
                                   : (tx == 8 && (ty == 2 || ty == 4)) || (tx == 7 && ty == 3);
    if (ownTrap)
        return true;
    if (rank == 0 && targetRank == 0)
        return true;
    if (rank == 0 && targetRank == 7)
        return !lake(x, y);
    return rank >= targetRank && !lake(tx, ty);
}

template <typename Visit> void forEachSimpleMove(const SimplePosition& p, Visit&& visit)
{
    for (int piece = p.side * 8; piece < p.side * 8 + 8; ++piece)
    {
        if (p.px[piece] < 0)
            continue;
        for (int tx = 0; tx < 9; ++tx)
            if (isLegal(p, piece, tx, p.py[piece]))
                visit(piece, tx, p.py[piece]);
        for (int ty = 0; ty < 7; ++ty)
            if (isLegal(p, piece, p.px[piece], ty))
                visit(piece, p.px[piece], ty);
    }
}

uint64_t simplePerft(SimplePosition& p, int depth)
{
    if (p.den)
        return 0;
    uint64_t count = 0;
    forEachSimpleMove(p,
                      [&](int piece, int tx, int ty)
                      {
                          if (depth == 1)
                          {
                              ++count;
                              return;
                          }
                          const int fx = p.px[piece], fy = p.py[piece];
                          const int taken = p.grid[tx][ty];
                          if (taken >= 0)
                              p.px[taken] = -1;
                          p.grid[fx][fy] = -1;
                          p.grid[tx][ty] = piece;
                          p.px[piece] = tx;
                          p.py[piece] = ty;
                          const bool den = tx == (p.side == 0 ? 8 : 0) && ty == 3;
                          p.den = den;
                          p.side = 1 - p.side;
                          count += simplePerft(p, depth - 1);
                          p.side = 1 - p.side;
                          p.den = false;
                          p.px[piece] = fx;
                          p.py[piece] = fy;
                          p.grid[fx][fy] = piece;
                          p.grid[tx][ty] = taken;
                          if (taken >= 0)
                          {
                              p.px[taken] = tx;
                              p.py[taken] = ty;
                          }
                      });
    return count;
}

uint64_t boardPerft(Board& board, int depth)
{
    if (board.isDenEntered())
        return 0;
    uint64_t count = 0;
    MoveList moves;
    const uint32_t side = board.getSideToMove();
    for (uint32_t rank = 0; rank < 8; ++rank)
    {
        board.generateMoves(side, rank, moves);
        if (depth == 1)
        {
            count += moves.getCount();
            continue;
        }
        for (Move& move : moves)
        {
            board.playMove(move);
            count += boardPerft(board, depth - 1);
            board.undoMove();
        }
    }
    return count;
}

struct PerftCase
{
    const char* name;
    std::vector<Placed> position; // empty: the opening
    uint32_t sideToMove;
    std::vector<uint64_t> counts; // depths 1..5
};

} // namespace

TEST(Perft, MoveSequenceCountsMatchASimpleSecondGenerator)
{
    const std::vector<PerftCase> cases = {
        {"opening", {}, 0, {24, 576, 12240, 260100, 5111725}},
        {"crowded mid-game, side 1 to move", kMidGame, 1, {17, 357, 5773, 110839, 1806591}},
        {"end game near the dens", kEndGame, 0, {16, 195, 2829, 33726, 462929}},
    };
    for (const PerftCase& c : cases)
    {
        Board board;
        if (!c.position.empty())
            setPosition(board, c.position);
        board.setSideToMove(c.sideToMove);
        const std::string before = snapshot(board);
        for (int depth = 1; depth <= 5; ++depth)
        {
            SimplePosition simple = fromBoard(board);
            const uint64_t expected = simplePerft(simple, depth);
            const uint64_t counted = boardPerft(board, depth);
            EXPECT_EQ(counted, expected) << c.name << " depth " << depth;
            EXPECT_EQ(counted, c.counts[static_cast<size_t>(depth - 1)]) << c.name << " depth " << depth;
        }
        EXPECT_EQ(snapshot(board), before) << c.name;
    }
}
