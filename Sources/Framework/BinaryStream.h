#pragma once
// The two-way stream of every persistent or transmitted type: a type has one
// transfer operation, and the stream it is given decides whether that reads or
// writes. Values lie little-endian exactly as in memory; streams add no header.
#include "Framework/ErrorCodes.h"

#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>

// The bytes of a file read from a resource archive or the disk. Owns them.
class ByteBuffer
{
public:
    ByteBuffer() = default;
    explicit ByteBuffer(uint32_t size) : mData(size != 0 ? new uint8_t[size]() : nullptr), mSize(size) {}
    ByteBuffer(const void* bytes, uint32_t size);
    ByteBuffer(const ByteBuffer&) = delete;
    ByteBuffer& operator=(const ByteBuffer&) = delete;

    uint8_t* data() { return mData.get(); }
    const uint8_t* data() const { return mData.get(); }
    uint32_t size() const { return mSize; }

private:
    std::unique_ptr<uint8_t[]> mData;
    uint32_t mSize = 0;
};

class BinaryStream
{
public:
    explicit BinaryStream(uint32_t flags = 0) : mFlags(flags) {}
    virtual ~BinaryStream() = default;
    BinaryStream(const BinaryStream&) = delete;
    BinaryStream& operator=(const BinaryStream&) = delete;

    virtual ErrorCode transferString(std::string& text) = 0;
    virtual ErrorCode transfer(void* address, uint32_t byteCount) = 0;
    virtual bool isReading() const { return false; }
    virtual bool isWriting() const { return false; }
    virtual bool isSizeCounter() const { return false; }
    virtual ErrorCode seek(uint32_t position) = 0;
    virtual uint32_t tell() = 0;
    virtual bool isAtEnd() = 0;

    // A fixed-width integer, float or enum, in memory order.
    template <typename T>
    ErrorCode transferValue(T& value)
    {
        static_assert(std::is_arithmetic_v<T> || std::is_enum_v<T>);
        static_assert(!std::is_same_v<T, bool>, "use transferBool");
        return transfer(&value, sizeof(T));
    }
    // One byte; a read byte other than 0 is true.
    ErrorCode transferBool(bool& value);

    uint32_t getFlags() const { return mFlags; }
    // A serializer may point the context at its owner for one transfer.
    void* getContext() const { return mContext; }
    void setContext(void* context) { mContext = context; }

protected:
    uint32_t mFlags;
    void* mContext = nullptr;
};

class OutputStream : public BinaryStream
{
public:
    using BinaryStream::BinaryStream;
    bool isWriting() const override { return true; }
    ErrorCode transferString(std::string& text) override;
};

class InputStream : public BinaryStream
{
public:
    using BinaryStream::BinaryStream;
    bool isReading() const override { return true; }
    // Reads a u32 length and that many bytes; the text ends at the first NUL.
    // A length larger than the bytes left fails before anything is allocated.
    ErrorCode transferString(std::string& text) override;
    // Bytes that can still be read.
    virtual uint64_t bytesLeft() = 0;
};

// Reads from a block of memory it does not own.
class MemoryInputStream : public InputStream
{
public:
    MemoryInputStream(const void* start, uint32_t size, uint32_t flags = 0);
    ErrorCode transfer(void* address, uint32_t byteCount) override;
    ErrorCode seek(uint32_t position) override;
    uint32_t tell() override { return mPosition; }
    bool isAtEnd() override { return mPosition >= mSize; }
    uint64_t bytesLeft() override { return mSize - mPosition; }

protected:
    void reset(const void* start, uint32_t size);

private:
    const uint8_t* mStart;
    uint32_t mPosition = 0;
    uint32_t mSize;
};

// Reads a file taken from a resource archive; owns its bytes.
class ArchiveInputStream : public MemoryInputStream
{
public:
    explicit ArchiveInputStream(std::unique_ptr<ByteBuffer> buffer, uint32_t flags = 0);
    const ByteBuffer& buffer() const { return *mBuffer; }

private:
    std::unique_ptr<ByteBuffer> mBuffer;
};
