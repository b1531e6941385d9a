#pragma once
// The streams a network message goes through: a counter that measures it, a
// buffer of exactly that size that it is written into, and a reader over the
// bytes that arrived. Every failure is code 1; none of them reads or writes a
// byte outside its block.
#include "Framework/BinaryStream.h"

#include <memory>

// Counts the bytes a transfer would write, and writes nothing.
class SizeCountingStream : public OutputStream
{
public:
    using OutputStream::OutputStream;
    bool isSizeCounter() const override { return true; }
    // 1 when the count would pass 4 GiB.
    ErrorCode transfer(void* address, uint32_t byteCount) override;
    ErrorCode seek(uint32_t position) override;
    uint32_t tell() override { return mCount; }
    bool isAtEnd() override { return false; }

private:
    uint32_t mCount = 0;
};

// Writes into a block of fixed capacity that it owns.
class NetworkBuffer : public OutputStream
{
public:
    explicit NetworkBuffer(uint32_t capacity, uint32_t flags = 0);
    ErrorCode transfer(void* address, uint32_t byteCount) override;
    ErrorCode seek(uint32_t position) override;
    uint32_t tell() override { return mCursor; }
    bool isAtEnd() override { return mCursor >= mCapacity; }

    const uint8_t* data() const { return mBytes.get(); }
    uint32_t capacity() const { return mCapacity; }

private:
    std::unique_ptr<uint8_t[]> mBytes;
    uint32_t mCapacity;
    uint32_t mCursor = 0;
};

// Reads received bytes that the network layer owns for the duration of the
// receive notification; the reader must not outlive them.
class NetworkReadBuffer : public MemoryInputStream
{
public:
    NetworkReadBuffer(const void* bytes, uint32_t size, uint32_t flags = 0)
        : MemoryInputStream(bytes, size, flags)
    {
    }
    // A length that passes the received bytes fails before anything is
    // allocated.
    ErrorCode transferString(std::string& text) override;
};
