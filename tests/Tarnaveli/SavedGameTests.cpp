// Saved games: the exact bytes of a file, the round trip, and damaged files
// that must be refused without touching the game in progress.
#include "Framework/BinaryStream.h"
#include "Framework/ErrorCodes.h"
#include "Platform/System/Clock.h"
#include "Platform/System/Paths.h"
#include "Tarnaveli/Board/Board.h"
#include "Tarnaveli/Board/ComputerPlayer.h"
#include "Tarnaveli/Board/NetworkPlayer.h"
#include "Tarnaveli/Board/PlayerKinds.h"
#include "Tarnaveli/SavedGame.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace
{
using Bytes = std::vector<uint8_t>;

void putU32(Bytes& out, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// Two humans, side 0 to move, the opening cells, clock 0.
Bytes openingFile(const Board& board)
{
    Bytes out;
    putU32(out, PLAYER_HUMAN);
    putU32(out, 0);
    putU32(out, PLAYER_HUMAN);
    putU32(out, 1);
    putU32(out, 0);
    for (uint32_t i = 0; i < Board::kPieceCount; ++i)
    {
        putU32(out, static_cast<uint32_t>(board.getPieceByIndex(i).getX()));
        putU32(out, static_cast<uint32_t>(board.getPieceByIndex(i).getY()));
    }
    putU32(out, 0);
    return out;
}

// Offset of piece record `index` in a file of two human players.
constexpr size_t pieceOffset(uint32_t index)
{
    return 20 + 8 * index;
}

void setU32(Bytes& bytes, size_t offset, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

class SavedGameTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        registerPlayerKinds();
        Platform::setProgramDirectory(folder.path());
        std::filesystem::create_directories(folder.path() + "data/saves");
        board.reset();
        board.setPlayer(0, std::make_unique<HumanPlayer>(0));
        board.setPlayer(1, std::make_unique<HumanPlayer>(1));
    }
    std::string path() const { return folder.path() + "data/saves/partie.tnv"; }
    Bytes readFile() const
    {
        std::ifstream in(path(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void writeFile(const Bytes& bytes) const
    {
        std::ofstream out(path(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    ErrorCode readBytes(const Bytes& bytes, std::unique_ptr<Board>& out)
    {
        MemoryInputStream stream(bytes.data(), static_cast<uint32_t>(bytes.size()));
        return SavedGame::serializeBoardPointer(stream, out);
    }

    Platform::TemporaryDirectory folder;
    Board board;
};

TEST_F(SavedGameTest, TwoHumansAtTheOpeningWriteTheGoldenBytes)
{
    board.getClock().stop();
    board.getClock().setElapsed(0x01020304);
    ASSERT_EQ(SavedGame::save(path(), board), ERROR_OK);
    Bytes golden;
    putU32(golden, 0); // human
    putU32(golden, 0); // side 0
    putU32(golden, 0); // human
    putU32(golden, 1); // side 1
    putU32(golden, 0); // side 0 to move
    const int32_t opening[8][2] = {{2, 6}, {1, 1}, {2, 2}, {1, 5}, {2, 4}, {0, 0}, {0, 6}, {2, 0}};
    for (uint32_t side = 0; side < 2; ++side)
        for (const auto& cell : opening)
        {
            putU32(golden, static_cast<uint32_t>(side == 0 ? cell[0] : 8 - cell[0]));
            putU32(golden, static_cast<uint32_t>(side == 0 ? cell[1] : 6 - cell[1]));
        }
    golden.insert(golden.end(), {0x04, 0x03, 0x02, 0x01});
    Bytes bytes = readFile();
    ASSERT_EQ(bytes.size(), 152u);
    EXPECT_EQ(bytes, golden);
}

TEST_F(SavedGameTest, RoundTripKeepsPlayersSideCellsClockAndLevel)
{
    // A loaded game's clock runs on from the saved time: with time standing
    // still it reads exactly what the file kept.
    Platform::ManualClock clock;
    board.setPlayer(1, std::make_unique<ComputerPlayer>(&board, 1, 2));
    MoveList moves;
    board.generateMoves(0, RANK_RAT, moves);
    ASSERT_GT(moves.getCount(), 0u);
    board.playMove(moves[0]);
    board.getPiece(1, RANK_CAT).moveTo(-1, 0);
    board.getClock().stop();
    board.getClock().setElapsed(123456);

    ASSERT_EQ(SavedGame::save(path(), board), ERROR_OK);
    EXPECT_EQ(readFile().size(), 156u);

    std::unique_ptr<Board> loaded;
    ASSERT_EQ(SavedGame::load(path(), loaded), ERROR_OK);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->getSideToMove(), 1u);
    ASSERT_NE(loaded->getPlayer(0), nullptr);
    ASSERT_NE(loaded->getPlayer(1), nullptr);
    EXPECT_EQ(loaded->getPlayer(0)->getKind(), PLAYER_HUMAN);
    ASSERT_EQ(loaded->getPlayer(1)->getKind(), PLAYER_COMPUTER);
    auto* computer = static_cast<ComputerPlayer*>(loaded->getPlayer(1));
    EXPECT_EQ(computer->getLevel(), 2u);
    EXPECT_EQ(computer->getSide(), 1u);
    for (uint32_t i = 0; i < Board::kPieceCount; ++i)
    {
        EXPECT_EQ(loaded->getPieceByIndex(i).getX(), board.getPieceByIndex(i).getX()) << i;
        if (board.getPieceByIndex(i).isOnBoard())
        {
            EXPECT_EQ(loaded->getPieceByIndex(i).getY(), board.getPieceByIndex(i).getY()) << i;
            const Piece& piece = loaded->getPieceByIndex(i);
            EXPECT_EQ(loaded->getCell(piece.getX(), piece.getY()).mOccupant, &piece);
        }
    }
    EXPECT_EQ(loaded->getClock().getElapsed(), 123456u);
}

TEST_F(SavedGameTest, TakenPieceReadsWithAnyRowButOtherCellsOutsideAreRefused)
{
    Bytes bytes = openingFile(board);
    setU32(bytes, pieceOffset(3), static_cast<uint32_t>(-1));
    setU32(bytes, pieceOffset(3) + 4, 0xDEADBEEF);
    std::unique_ptr<Board> loaded;
    ASSERT_EQ(readBytes(bytes, loaded), ERROR_OK);
    EXPECT_FALSE(loaded->getPiece(0, RANK_DOG).isOnBoard());

    struct Cell
    {
        int32_t x, y;
    };
    for (Cell cell : {Cell{-2, 0}, Cell{9, 0}, Cell{0, 7}, Cell{0, -1}, Cell{INT32_MIN, 3}})
    {
        Bytes damaged = openingFile(board);
        setU32(damaged, pieceOffset(5), static_cast<uint32_t>(cell.x));
        setU32(damaged, pieceOffset(5) + 4, static_cast<uint32_t>(cell.y));
        std::unique_ptr<Board> none;
        EXPECT_EQ(readBytes(damaged, none), ERROR_FILEIO_INVALIDFILE) << cell.x << "," << cell.y;
        EXPECT_EQ(none, nullptr);
    }
}

TEST_F(SavedGameTest, DamagedFilesAreRefusedAndLeaveTheGameAlone)
{
    const Bytes good = openingFile(board);
    std::vector<Bytes> damaged;
    // Side to move of 2.
    damaged.push_back(good);
    setU32(damaged.back(), 16, 2);
    // Two pieces on one cell.
    damaged.push_back(good);
    setU32(damaged.back(), pieceOffset(1), static_cast<uint32_t>(board.getPiece(0, 0).getX()));
    setU32(damaged.back(), pieceOffset(1) + 4, static_cast<uint32_t>(board.getPiece(0, 0).getY()));
    // A kind with no creator (a network player), and a huge kind.
    damaged.push_back(good);
    setU32(damaged.back(), 0, PLAYER_NETWORK_REMOTE);
    damaged.push_back(good);
    setU32(damaged.back(), 0, 0xFFFFFFFF);
    // Both records claim side 0.
    damaged.push_back(good);
    setU32(damaged.back(), 12, 0);
    // A computer level out of range.
    {
        Bytes bytes;
        putU32(bytes, PLAYER_COMPUTER);
        putU32(bytes, 0);
        putU32(bytes, 3);
        bytes.insert(bytes.end(), good.begin() + 8, good.end());
        damaged.push_back(bytes);
    }
    // Far too long to be a saved game.
    damaged.push_back(good);
    damaged.back().resize(SavedGame::kMaxFileSize + 1);
    // Every cut of the file.
    for (size_t size = 0; size < good.size(); size += 3)
        damaged.emplace_back(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size));

    for (size_t i = 0; i < damaged.size(); ++i)
    {
        writeFile(damaged[i]);
        auto current = std::make_unique<Board>();
        Board* before = current.get();
        EXPECT_NE(SavedGame::load(path(), current), ERROR_OK) << i;
        EXPECT_EQ(current.get(), before) << i;
        // Read into a game in progress: the game stays exactly as it was.
        Board kept;
        kept.setPlayer(0, std::make_unique<HumanPlayer>(0));
        kept.setPlayer(1, std::make_unique<HumanPlayer>(1));
        MoveList moves;
        kept.generateMoves(0, RANK_RAT, moves);
        kept.playMove(moves[0]);
        EXPECT_NE(SavedGame::loadInto(path(), kept), ERROR_OK) << i;
        EXPECT_EQ(kept.getMoveCount(), 1u) << i;
        EXPECT_EQ(kept.getSideToMove(), 1u) << i;
        EXPECT_EQ(kept.getPiece(0, RANK_RAT).getX(), moves[0].getTargetX()) << i;
    }
}

TEST_F(SavedGameTest, MissingFileAndUnwritableTargetReportTheirCodes)
{
    std::unique_ptr<Board> none;
    EXPECT_EQ(SavedGame::load(folder.path() + "data/saves/absent.tnv", none), ERROR_FILEIO_FILENOTFOUND);
    EXPECT_EQ(SavedGame::save(folder.path() + "data/nofolder/x.tnv", board), ERROR_FILEIO_INVALIDFILE);
}

TEST_F(SavedGameTest, NetworkGameIsRefusedAndKeepsThePreviousFile)
{
    ASSERT_EQ(SavedGame::save(path(), board), ERROR_OK);
    const Bytes before = readFile();
    board.setPlayer(0, std::make_unique<NetworkPlayer>(PLAYER_NETWORK_LOCAL, 0));
    EXPECT_NE(SavedGame::save(path(), board), ERROR_OK);
    EXPECT_EQ(readFile(), before);
}
} // namespace
