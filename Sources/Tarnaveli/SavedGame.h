#pragma once
// Saved games (.tnv files under data\saves\): the two player records, the
// side to move, the cells of the sixteen pieces and the game clock, with no
// header. Reading builds a new board and hands it over only when the whole
// file was valid, so a damaged file never reaches the game in progress;
// writing goes to a temporary file that replaces the target once complete.
#include "Framework/BinaryStream.h"

#include <memory>
#include <string>

class Board;

class SavedGame
{
public:
    // The folder of the saved games and their extension.
    static constexpr const char* kFolder = "data\\saves\\";
    static constexpr const char* kExtension = ".tnv";

    // The board's players, side to move, piece cells and clock, in either
    // direction. Reading fills `board`, which should be fresh: on failure it
    // is left half-read and must be discarded.
    static ErrorCode serializeBoard(BinaryStream& stream, Board& board);
    // Reading makes a new board into `board` only when the whole record was
    // valid (the pointer is untouched otherwise); writing writes `*board`.
    static ErrorCode serializeBoardPointer(BinaryStream& stream, std::unique_ptr<Board>& board);

    // 13 when the file cannot be created or written; the previous file at the
    // path stays whole on any failure.
    static ErrorCode save(const std::string& path, Board& board);
    // 17 when the file cannot be opened; 13 or the stream's code when it is
    // damaged. `board` is replaced only on success.
    static ErrorCode load(const std::string& path, std::unique_ptr<Board>& board);
    // The same check, then the game is read into `board` itself (its history
    // emptied), so whatever holds the board keeps it. `board` is untouched
    // unless the whole file is valid.
    static ErrorCode loadInto(const std::string& path, Board& board);

    // No valid file comes near this; a larger one is refused unread.
    static constexpr uint64_t kMaxFileSize = 4096;
};
