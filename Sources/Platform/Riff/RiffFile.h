#pragma once
// RIFF chunk reading and writing over a file or a block of memory, as the
// WAVE reader needs it. Chunk sizes come from untrusted files: a chunk never
// reaches past its parent or past the bytes really present, and reads stop at
// the end of the data.
#include <cstdint>
#include <cstdio>
#include <string>

namespace Platform
{

constexpr uint32_t makeFourCC(char a, char b, char c, char d)
{
    return static_cast<uint32_t>(static_cast<uint8_t>(a)) |
           (static_cast<uint32_t>(static_cast<uint8_t>(b)) << 8) |
           (static_cast<uint32_t>(static_cast<uint8_t>(c)) << 16) |
           (static_cast<uint32_t>(static_cast<uint8_t>(d)) << 24);
}

inline constexpr uint32_t kRiffId = makeFourCC('R', 'I', 'F', 'F');
inline constexpr uint32_t kListId = makeFourCC('L', 'I', 'S', 'T');

struct RiffChunk
{
    uint32_t id = 0;
    // Bytes of data; for RIFF and LIST chunks this counts the form type.
    uint32_t size = 0;
    uint32_t formType = 0;
    // Offset of the data (of the form type for RIFF and LIST chunks).
    uint32_t dataOffset = 0;
    // Set on a chunk created for writing, whose size ascend writes back.
    bool created = false;
};

enum class RiffFind
{
    // The next chunk, whatever it is.
    Next,
    // The next chunk whose id is chunk.id.
    Chunk,
    // The next RIFF chunk whose form type is chunk.formType.
    Riff,
    // The next LIST chunk whose form type is chunk.formType.
    List
};

enum class RiffMode
{
    Read,
    ReadWrite,
    Create
};

class RiffFile
{
public:
    RiffFile() = default;
    ~RiffFile();
    RiffFile(const RiffFile&) = delete;
    RiffFile& operator=(const RiffFile&) = delete;

    // The path is a Linux path.
    bool openFile(const std::string& path, RiffMode mode);
    // Reads the caller's bytes, which must outlive the open file.
    bool openMemory(const void* data, uint32_t size);
    // False when something written could not be flushed.
    bool close();
    bool isOpen() const { return mFile != nullptr || mMemory != nullptr; }
    bool isMemory() const { return mMemory != nullptr; }

    // Reads the header of a chunk at the current position (searching forward
    // inside the parent, or the whole file, as `find` says) and leaves the
    // position at its data (after the form type of RIFF and LIST chunks).
    bool descend(RiffChunk& chunk, const RiffChunk* parent, RiffFind find);
    // Moves past the end of the chunk and its pad byte; a created chunk gets
    // its size written first.
    bool ascend(RiffChunk& chunk);
    // Writes a chunk header at the current position: chunk.id (RIFF or LIST
    // for those kinds, with chunk.formType) and a size fixed by ascend.
    bool createChunk(RiffChunk& chunk, RiffFind kind);

    // Bytes read: fewer than asked at the end of the data.
    uint32_t read(void* destination, uint32_t count);
    bool write(const void* source, uint32_t count);
    bool seek(uint32_t position);
    uint32_t tell() const { return mPosition; }
    uint32_t size() const { return mSize; }

private:
    bool readExact(void* destination, uint32_t count) { return read(destination, count) == count; }
    bool writeU32At(uint32_t position, uint32_t value);

    std::FILE* mFile = nullptr;
    const uint8_t* mMemory = nullptr;
    bool mWritable = false;
    bool mWriteFailed = false;
    uint32_t mSize = 0;
    uint32_t mPosition = 0;
};

} // namespace Platform
