#include "Framework/BinaryStream.h"

#include <cstring>
#include <vector>

ByteBuffer::ByteBuffer(const void* bytes, uint32_t size) : ByteBuffer(size)
{
    if (size != 0)
        std::memcpy(mData.get(), bytes, size);
}

ErrorCode BinaryStream::transferBool(bool& value)
{
    uint8_t byte = value ? 1 : 0;
    ErrorCode error = transfer(&byte, 1);
    if (error == ERROR_OK && isReading())
        value = byte != 0;
    return error;
}

ErrorCode OutputStream::transferString(std::string& text)
{
    uint32_t length = static_cast<uint32_t>(text.size());
    if (ErrorCode error = transfer(&length, sizeof length))
        return error;
    if (length == 0)
        return ERROR_OK;
    return transfer(text.data(), length);
}

ErrorCode InputStream::transferString(std::string& text)
{
    uint32_t length = 0;
    if (ErrorCode error = transfer(&length, sizeof length))
        return error;
    if (length > bytesLeft())
        return ERROR_FILEIO_READERROR;
    std::vector<char> bytes(static_cast<size_t>(length) + 1, '\0');
    if (length != 0)
    {
        if (ErrorCode error = transfer(bytes.data(), length))
            return error;
    }
    text.assign(bytes.data()); // a NUL inside the data ends the text
    return ERROR_OK;
}

MemoryInputStream::MemoryInputStream(const void* start, uint32_t size, uint32_t flags)
    : InputStream(flags), mStart(static_cast<const uint8_t*>(start)), mSize(start != nullptr ? size : 0)
{
}

void MemoryInputStream::reset(const void* start, uint32_t size)
{
    mStart = static_cast<const uint8_t*>(start);
    mSize = start != nullptr ? size : 0;
    mPosition = 0;
}

ErrorCode MemoryInputStream::transfer(void* address, uint32_t byteCount)
{
    if (byteCount > mSize - mPosition)
        return ERROR_INVALID;
    if (byteCount != 0)
        std::memcpy(address, mStart + mPosition, byteCount);
    mPosition += byteCount;
    return ERROR_OK;
}

ErrorCode MemoryInputStream::seek(uint32_t position)
{
    if (position > mSize)
        return ERROR_INVALID;
    mPosition = position;
    return ERROR_OK;
}

ArchiveInputStream::ArchiveInputStream(std::unique_ptr<ByteBuffer> buffer, uint32_t flags)
    : MemoryInputStream(buffer ? buffer->data() : nullptr, buffer ? buffer->size() : 0, flags),
      mBuffer(buffer ? std::move(buffer) : std::make_unique<ByteBuffer>())
{
}
