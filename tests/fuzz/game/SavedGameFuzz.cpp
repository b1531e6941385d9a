// Saved games from untrusted bytes: a file is either refused, or read into a
// board that writes back to the same bytes it was read from (up to the end
// of the record) and reads back again.
#include "Framework/BinaryStream.h"
#include "Framework/SafeStreamWriter.h"
#include "Platform/System/Clock.h"
#include "Tarnaveli/Board/Board.h"
#include "Tarnaveli/Board/PlayerKinds.h"
#include "Tarnaveli/SavedGame.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The board's clock reads the time source: a millisecond passing between
    // the read and the reread would make the same file give two clocks. Time
    // stands still for this target, so that a run depends on its input only.
    static const bool registered =
        (registerPlayerKinds(), Platform::setClockSource([] { return int64_t{0}; }), true);
    (void)registered;
    if (size > UINT32_MAX)
        return 0;
    MemoryInputStream input(data, static_cast<uint32_t>(size));
    std::unique_ptr<Board> board;
    if (SavedGame::serializeBoardPointer(input, board) != ERROR_OK)
    {
        if (board != nullptr)
            std::abort();
        return 0;
    }
    if (board == nullptr)
        std::abort();
    const uint32_t consumed = input.tell();
    board->getClock().stop();

    ByteVectorOutputStream output;
    if (SavedGame::serializeBoard(output, *board) != ERROR_OK)
        std::abort();
    const std::vector<uint8_t>& written = output.bytes();
    if (written.size() > consumed)
        std::abort();
    // Taken pieces are written with the row they hold, which the file may
    // not have had: compare all but those.
    MemoryInputStream again(written.data(), static_cast<uint32_t>(written.size()));
    std::unique_ptr<Board> reread;
    if (SavedGame::serializeBoardPointer(again, reread) != ERROR_OK || reread == nullptr)
        std::abort();
    if (reread->getSideToMove() != board->getSideToMove())
        std::abort();
    for (uint32_t i = 0; i < Board::kPieceCount; ++i)
    {
        const Piece& a = board->getPieceByIndex(i);
        const Piece& b = reread->getPieceByIndex(i);
        if (a.getX() != b.getX() || (a.isOnBoard() && a.getY() != b.getY()))
            std::abort();
    }
    reread->getClock().stop();
    if (reread->getClock().getElapsed() != board->getClock().getElapsed())
        std::abort();
    return 0;
}
