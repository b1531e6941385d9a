#include "Network/NetworkStreams.h"

#include <cstring>

ErrorCode SizeCountingStream::transfer(void*, uint32_t byteCount)
{
    if (byteCount > UINT32_MAX - mCount)
        return ERROR_INVALID;
    mCount += byteCount;
    return ERROR_OK;
}

ErrorCode SizeCountingStream::seek(uint32_t position)
{
    mCount = position;
    return ERROR_OK;
}

NetworkBuffer::NetworkBuffer(uint32_t capacity, uint32_t flags)
    : OutputStream(flags), mBytes(capacity != 0 ? new uint8_t[capacity]() : nullptr), mCapacity(capacity)
{
}

ErrorCode NetworkBuffer::transfer(void* address, uint32_t byteCount)
{
    if (byteCount > mCapacity - mCursor)
        return ERROR_INVALID;
    if (byteCount != 0)
        std::memcpy(mBytes.get() + mCursor, address, byteCount);
    mCursor += byteCount;
    return ERROR_OK;
}

ErrorCode NetworkBuffer::seek(uint32_t position)
{
    if (position > mCapacity)
        return ERROR_INVALID;
    mCursor = position;
    return ERROR_OK;
}

ErrorCode NetworkReadBuffer::transferString(std::string& text)
{
    return MemoryInputStream::transferString(text) == ERROR_OK ? ERROR_OK : ERROR_INVALID;
}
