#pragma once
// Small builders of positions and streams shared by the board tests.
#include "Framework/BinaryStream.h"
#include "Tarnaveli/Board/Board.h"

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

namespace BoardTest
{

// Takes every piece off the board (x = -1, y = 0).
inline void clearBoard(Board& board)
{
    for (uint32_t i = 0; i < Board::kPieceCount; ++i)
        board.getPieceByIndex(i).moveTo(-1, 0);
    board.clearDenEntered();
}

inline void place(Board& board, uint32_t side, uint32_t rank, int32_t x, int32_t y)
{
    board.getPiece(side, rank).moveTo(x, y);
}

// A piece written as "side rank x y".
struct Placed
{
    uint32_t side;
    uint32_t rank;
    int32_t x;
    int32_t y;
};

inline void setPosition(Board& board, const std::vector<Placed>& pieces)
{
    clearBoard(board);
    for (const Placed& p : pieces)
        place(board, p.side, p.rank, p.x, p.y);
}

// A crowded mid-game: every piece on the board, the Lions and Tigers beside
// the lakes, a Rat in each lake.
inline const std::vector<Placed> kMidGame = {{0, 0, 3, 5}, {0, 1, 1, 2}, {0, 2, 2, 3}, {0, 3, 1, 4},
                                             {0, 4, 3, 3}, {0, 5, 2, 1}, {0, 6, 2, 5}, {0, 7, 4, 3},
                                             {1, 0, 5, 1}, {1, 1, 7, 4}, {1, 2, 6, 3}, {1, 3, 7, 2},
                                             {1, 4, 5, 3}, {1, 5, 6, 5}, {1, 6, 6, 1}, {1, 7, 6, 4}};
// Few pieces near the dens and traps, a Rat in each lake, jumpers beside them.
inline const std::vector<Placed> kEndGame = {{0, 0, 4, 4}, {0, 6, 2, 2}, {0, 1, 7, 2}, {0, 7, 6, 3},
                                             {1, 0, 4, 1}, {1, 5, 6, 4}, {1, 4, 1, 2}, {1, 3, 2, 3}};

using Target = std::tuple<int32_t, int32_t, uint32_t>; // x, y, kind

inline std::vector<Target> targetsOf(Board& board, uint32_t side, uint32_t rank)
{
    MoveList moves;
    board.generateMoves(side, rank, moves);
    std::vector<Target> out;
    for (const Move& m : moves)
        out.emplace_back(m.getTargetX(), m.getTargetY(), m.getKind());
    return out;
}

// Every piece's cell and every cell's occupant, as text, to compare positions.
inline std::string snapshot(const Board& board)
{
    std::string s;
    for (uint32_t i = 0; i < Board::kPieceCount; ++i)
    {
        const Piece& p = board.getPieceByIndex(i);
        s += std::to_string(p.getX()) + "," + std::to_string(p.getY()) + ";";
    }
    for (int32_t y = 0; y < Board::kHeight; ++y)
    {
        for (int32_t x = 0; x < Board::kWidth; ++x)
        {
            const Piece* o = board.getCell(x, y).mOccupant;
            s += o ? static_cast<char>('A' + o->getSide() * 8 + o->getRank()) : '.';
        }
    }
    s += board.isDenEntered() ? "D" : "-";
    s += std::to_string(board.getSideToMove());
    return s;
}

// True when every piece on the board is its cell's occupant and every
// occupant stands on its cell.
inline bool isConsistent(const Board& board)
{
    int occupied = 0;
    for (int32_t y = 0; y < Board::kHeight; ++y)
    {
        for (int32_t x = 0; x < Board::kWidth; ++x)
        {
            const Piece* o = board.getCell(x, y).mOccupant;
            if (o == nullptr)
                continue;
            ++occupied;
            if (o->getX() != x || o->getY() != y || o->getBoard() != &board)
                return false;
        }
    }
    int onBoard = 0;
    for (uint32_t i = 0; i < Board::kPieceCount; ++i)
    {
        const Piece& p = board.getPieceByIndex(i);
        if (p.getSide() != i / 8 || p.getRank() != i % 8)
            return false;
        if (!p.isOnBoard())
            continue;
        ++onBoard;
        if (!Board::isInside(p.getX(), p.getY()) || board.getCell(p.getX(), p.getY()).mOccupant != &p)
            return false;
    }
    return onBoard == occupied;
}

// Writes into a growing byte vector.
class VectorOutputStream : public OutputStream
{
public:
    ErrorCode transfer(void* address, uint32_t byteCount) override
    {
        const auto* bytes = static_cast<const uint8_t*>(address);
        mBytes.insert(mBytes.end(), bytes, bytes + byteCount);
        return ERROR_OK;
    }
    ErrorCode seek(uint32_t) override { return ERROR_INVALID; }
    uint32_t tell() override { return static_cast<uint32_t>(mBytes.size()); }
    bool isAtEnd() override { return true; }
    std::vector<uint8_t> mBytes;
};

inline std::vector<uint8_t> bytesOf(std::initializer_list<uint32_t> words)
{
    std::vector<uint8_t> out;
    for (uint32_t w : words)
    {
        uint8_t b[4];
        std::memcpy(b, &w, 4);
        out.insert(out.end(), b, b + 4);
    }
    return out;
}

} // namespace BoardTest
