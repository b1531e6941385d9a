#include "Tarnaveli/SavedGame.h"

#include "Framework/DiskFile.h"
#include "Framework/SafeStreamWriter.h"
#include "Tarnaveli/Board/Board.h"
#include "Tarnaveli/Board/Player.h"
#include "Tarnaveli/Board/PlayerKinds.h"

#include <vector>

namespace
{
// The board is the context while it is transferred (a computer player finds
// its board there), and the previous context comes back afterwards.
class ScopedContext
{
public:
    ScopedContext(BinaryStream& stream, void* context) : mStream(stream), mPrevious(stream.getContext())
    {
        stream.setContext(context);
    }
    ~ScopedContext() { mStream.setContext(mPrevious); }
    ScopedContext(const ScopedContext&) = delete;
    ScopedContext& operator=(const ScopedContext&) = delete;

private:
    BinaryStream& mStream;
    void* mPrevious;
};

ErrorCode serializePlayer(BinaryStream& stream, Board& board, uint32_t side)
{
    if (!stream.isReading())
    {
        Player* player = board.getPlayer(side);
        // A player of a kind that has no creator could never be read back.
        const std::vector<PlayerCreator>& creators = playerCreators();
        if (player == nullptr || player->getKind() >= creators.size() ||
            creators[player->getKind()] == nullptr)
            return ERROR_INVALID;
        uint32_t kind = player->getKind();
        if (ErrorCode error = stream.transferValue(kind))
            return error;
        return player->serialize(stream);
    }
    std::unique_ptr<Player> player;
    if (ErrorCode error = transferPlayer(stream, player))
        return error;
    // A record naming the other side would leave one side without a player.
    if (player == nullptr || player->getSide() != side)
        return ERROR_FILEIO_INVALIDFILE;
    board.setPlayer(side, std::move(player));
    return ERROR_OK;
}
} // namespace

ErrorCode SavedGame::serializeBoard(BinaryStream& stream, Board& board)
{
    ScopedContext context(stream, &board);
    for (uint32_t side = 0; side < 2; ++side)
        if (ErrorCode error = serializePlayer(stream, board, side))
            return error;

    uint32_t sideToMove = board.getSideToMove();
    if (ErrorCode error = stream.transferValue(sideToMove))
        return error;
    const bool reading = stream.isReading();
    if (reading)
    {
        for (uint32_t index = 0; index < Board::kPieceCount; ++index)
            board.getPieceByIndex(index).moveTo(-1, 0);
        if (sideToMove >= 2)
            return ERROR_FILEIO_INVALIDFILE;
        board.setSideToMove(sideToMove);
    }

    for (uint32_t index = 0; index < Board::kPieceCount; ++index)
    {
        Piece& piece = board.getPieceByIndex(index);
        int32_t x = piece.getX();
        int32_t y = piece.getY();
        if (ErrorCode error = stream.transferValue(x))
            return error;
        if (ErrorCode error = stream.transferValue(y))
            return error;
        if (!reading)
            continue;
        if (x == -1)
            continue; // taken; its y means nothing
        // Outside the cells, or a cell another piece already holds.
        if (!Board::isInside(x, y) || !piece.moveTo(x, y))
            return ERROR_FILEIO_INVALIDFILE;
    }

    uint32_t elapsed = reading ? 0 : board.getClock().getElapsed();
    if (ErrorCode error = stream.transferValue(elapsed))
        return error;
    if (reading)
        board.getClock().setElapsed(elapsed);
    return ERROR_OK;
}

ErrorCode SavedGame::serializeBoardPointer(BinaryStream& stream, std::unique_ptr<Board>& board)
{
    if (!stream.isReading())
        return board != nullptr ? serializeBoard(stream, *board) : ERROR_INVALID;
    auto fresh = std::make_unique<Board>();
    if (ErrorCode error = serializeBoard(stream, *fresh))
        return error;
    board = std::move(fresh);
    return ERROR_OK;
}

ErrorCode SavedGame::save(const std::string& path, Board& board)
{
    ErrorCode code =
        writeStreamSafely(path, 0, [&board](OutputStream& file) { return serializeBoard(file, board); });
    // The player is told only that the game could not be written.
    return code == ERROR_OK ? ERROR_OK : ERROR_FILEIO_INVALIDFILE;
}

namespace
{
// The whole file, once; refused unread when it is larger than any saved game.
ErrorCode readSavedFile(const std::string& path, std::vector<uint8_t>& bytes)
{
    DiskInputFile file(path, 0);
    if (file.open() != ERROR_OK)
        return ERROR_FILEIO_FILENOTFOUND;
    const uint64_t size = file.bytesLeft();
    if (size > SavedGame::kMaxFileSize)
    {
        file.close();
        return ERROR_FILEIO_INVALIDFILE;
    }
    bytes.resize(static_cast<size_t>(size));
    ErrorCode error = size != 0 ? file.transfer(bytes.data(), static_cast<uint32_t>(size)) : ERROR_OK;
    file.close();
    return error;
}
} // namespace

ErrorCode SavedGame::load(const std::string& path, std::unique_ptr<Board>& board)
{
    std::vector<uint8_t> bytes;
    if (ErrorCode error = readSavedFile(path, bytes))
        return error;
    MemoryInputStream stream(bytes.data(), static_cast<uint32_t>(bytes.size()));
    return serializeBoardPointer(stream, board);
}

ErrorCode SavedGame::loadInto(const std::string& path, Board& board)
{
    // Checked and installed from the same bytes.
    std::vector<uint8_t> bytes;
    if (ErrorCode error = readSavedFile(path, bytes))
        return error;

    std::unique_ptr<Board> checked;
    MemoryInputStream check(bytes.data(), static_cast<uint32_t>(bytes.size()));
    if (ErrorCode invalid = serializeBoardPointer(check, checked))
        return invalid;

    board.reset();
    MemoryInputStream install(bytes.data(), static_cast<uint32_t>(bytes.size()));
    return serializeBoard(install, board);
}
