#pragma once
// A video held in memory (a file of the resource archive) read as a stream.
// Reads and moves of the position are serialised by the stream's own lock,
// since the decoder reads from its thread while the opener may still hold it.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace Platform
{

class MediaMemoryStream
{
public:
    // The bytes stay alive as long as `owner` does (the holder of the buffer
    // the archive handed over); the stream never writes to them.
    MediaMemoryStream(const uint8_t* data, size_t size, std::shared_ptr<const void> owner);
    explicit MediaMemoryStream(std::vector<uint8_t> bytes);
    MediaMemoryStream(const MediaMemoryStream&) = delete;
    MediaMemoryStream& operator=(const MediaMemoryStream&) = delete;

    // Copies up to `count` bytes from the position, which advances; the count
    // is cut at the end of the data. Returns the bytes copied.
    size_t read(uint8_t* buffer, size_t count);
    // 0, or 1 when the position lies beyond the end (nothing moves then).
    int setPointer(uint64_t position);
    uint64_t position() const;
    uint64_t size() const { return mSize; }

private:
    mutable std::mutex mMutex;
    std::shared_ptr<const void> mOwner;
    const uint8_t* mData;
    uint64_t mSize;
    uint64_t mPosition = 0;
};

} // namespace Platform
