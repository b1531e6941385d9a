#pragma once
// Little-endian fields from bytes in memory: file headers, wave records,
// glyph tables, network frames. The bytes often come from a hostile file or
// peer, so every read is checked against the bytes really there: a read that
// would pass the end yields 0, moves nothing, and the reader stays failed from
// then on, so that a parser can read a whole record and check ok() once.
// The reader borrows the bytes; they must outlive it.
#include <cstddef>
#include <cstdint>

namespace Platform
{

class ByteReader
{
public:
    ByteReader(const uint8_t* data, size_t size) : mData(data), mLeft(size) {}
    template <size_t N> explicit ByteReader(const uint8_t (&data)[N]) : ByteReader(data, N) {}

    bool ok() const { return mOk; }
    size_t left() const { return mLeft; }
    const uint8_t* position() const { return mData; }

    uint8_t u8() { return static_cast<uint8_t>(take(1)); }
    uint16_t u16() { return static_cast<uint16_t>(take(2)); }
    uint32_t u32() { return static_cast<uint32_t>(take(4)); }
    // Passes over the next size bytes and gives where they start; check ok()
    // before using them.
    const uint8_t* bytes(size_t size)
    {
        if (!fits(0, size))
            return nullptr;
        const uint8_t* start = mData;
        advance(size);
        return start;
    }

    // Fields at an offset from the position, which stays where it is: for
    // headers laid out by offsets.
    uint16_t u16At(size_t offset) { return static_cast<uint16_t>(peek(offset, 2)); }
    uint32_t u32At(size_t offset) { return static_cast<uint32_t>(peek(offset, 4)); }

private:
    bool fits(size_t offset, size_t size)
    {
        if (!mOk || offset > mLeft || size > mLeft - offset)
            mOk = false;
        return mOk;
    }
    void advance(size_t size)
    {
        mData += size;
        mLeft -= size;
    }
    uint64_t peek(size_t offset, size_t size)
    {
        if (!fits(offset, size))
            return 0;
        uint64_t value = 0;
        for (size_t i = 0; i < size; ++i)
            value |= static_cast<uint64_t>(mData[offset + i]) << (8 * i);
        return value;
    }
    uint64_t take(size_t size)
    {
        const uint64_t value = peek(0, size);
        if (mOk)
            advance(size);
        return value;
    }

    const uint8_t* mData;
    size_t mLeft;
    bool mOk = true;
};

} // namespace Platform
