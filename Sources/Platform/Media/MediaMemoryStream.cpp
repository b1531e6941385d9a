#include "Platform/Media/MediaMemoryStream.h"

#include <cstring>

namespace Platform
{

MediaMemoryStream::MediaMemoryStream(const uint8_t* data, size_t size, std::shared_ptr<const void> owner)
    : mOwner(std::move(owner)), mData(data), mSize(data != nullptr ? size : 0)
{
}

MediaMemoryStream::MediaMemoryStream(std::vector<uint8_t> bytes)
{
    auto held = std::make_shared<const std::vector<uint8_t>>(std::move(bytes));
    mData = held->data();
    mSize = held->size();
    mOwner = std::move(held);
}

size_t MediaMemoryStream::read(uint8_t* buffer, size_t count)
{
    std::lock_guard<std::mutex> lock(mMutex);
    const uint64_t left = mSize - mPosition;
    if (count > left)
        count = static_cast<size_t>(left);
    if (count != 0)
        std::memcpy(buffer, mData + mPosition, count);
    mPosition += count;
    return count;
}

int MediaMemoryStream::setPointer(uint64_t position)
{
    std::lock_guard<std::mutex> lock(mMutex);
    if (position > mSize)
        return 1;
    mPosition = position;
    return 0;
}

uint64_t MediaMemoryStream::position() const
{
    std::lock_guard<std::mutex> lock(mMutex);
    return mPosition;
}

} // namespace Platform
