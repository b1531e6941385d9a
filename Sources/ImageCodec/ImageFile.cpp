#include "ImageCodec/ImageFile.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

MemoryImageFile* MemoryImageFile::create(const void* bytes, size_t size)
{
    size_t capacity = 1;
    while (capacity < size)
    {
        if (capacity > std::numeric_limits<size_t>::max() / 2)
            return nullptr;
        capacity *= 2;
    }
    std::unique_ptr<MemoryImageFile> file(new (std::nothrow) MemoryImageFile());
    if (!file)
        return nullptr;
    file->mBuffer.reset(new (std::nothrow) uint8_t[capacity]);
    if (!file->mBuffer)
        return nullptr;
    if (size != 0)
        std::memcpy(file->mBuffer.get(), bytes, size);
    file->mSize = size;
    file->mCapacity = capacity;
    return file.release();
}

size_t MemoryImageFile::read(void* buffer, size_t size)
{
    const size_t count = std::min(size, mSize - mPosition);
    if (count != 0)
        std::memcpy(buffer, mBuffer.get() + mPosition, count);
    mPosition += count;
    return count;
}

size_t MemoryImageFile::write(const void* buffer, size_t size)
{
    if (size == 0)
        return 0;
    if (size > std::numeric_limits<size_t>::max() - mPosition)
        return 0;
    const size_t needed = mPosition + size;
    if (needed > mCapacity)
    {
        size_t capacity = mCapacity;
        while (capacity < needed)
        {
            if (capacity > std::numeric_limits<size_t>::max() / 2)
                return 0;
            capacity *= 2;
        }
        std::unique_ptr<uint8_t[]> grown(new (std::nothrow) uint8_t[capacity]);
        if (!grown)
            return 0;
        std::memcpy(grown.get(), mBuffer.get(), mSize);
        mBuffer = std::move(grown);
        mCapacity = capacity;
    }
    std::memcpy(mBuffer.get() + mPosition, buffer, size);
    mPosition = needed;
    if (mPosition > mSize)
        mSize = mPosition;
    return size;
}

bool MemoryImageFile::seek(int64_t position, int mode)
{
    int64_t base;
    switch (mode)
    {
    case 0:
        base = 0;
        break;
    case 1:
        base = static_cast<int64_t>(mPosition);
        break;
    case 2:
        base = static_cast<int64_t>(mSize);
        break;
    default:
        return false;
    }
    // Both terms are within int64 range except a hostile offset; keep the sum
    // from overflowing before it is compared.
    if ((position > 0 && base > std::numeric_limits<int64_t>::max() - position) ||
        (position < 0 && base < std::numeric_limits<int64_t>::min() - position))
    {
        mPosition = 0;
        return false;
    }
    const int64_t target = base + position;
    if (target < 0 || static_cast<uint64_t>(target) > mSize)
    {
        mPosition = 0;
        return false;
    }
    mPosition = static_cast<size_t>(target);
    return true;
}

StdioImageFile* StdioImageFile::open(const char* linuxPath, bool writeable)
{
    if (linuxPath == nullptr)
        return nullptr;
    std::FILE* file = std::fopen(linuxPath, writeable ? "wb" : "rb");
    if (file == nullptr)
        return nullptr;
    StdioImageFile* result = new (std::nothrow) StdioImageFile(file);
    if (result == nullptr)
        std::fclose(file);
    return result;
}

StdioImageFile::~StdioImageFile()
{
    close();
}

void StdioImageFile::destroy()
{
    delete this;
}

bool StdioImageFile::close()
{
    if (mFile == nullptr)
        return true;
    const bool ok = std::fclose(mFile) == 0;
    mFile = nullptr;
    return ok;
}

size_t StdioImageFile::read(void* buffer, size_t size)
{
    return mFile != nullptr && size != 0 ? std::fread(buffer, 1, size, mFile) : 0;
}

size_t StdioImageFile::write(const void* buffer, size_t size)
{
    return mFile != nullptr && size != 0 ? std::fwrite(buffer, 1, size, mFile) : 0;
}

bool StdioImageFile::seek(int64_t position, int mode)
{
    static const int kWhence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    if (mFile == nullptr || mode < 0 || mode > 2 || position < std::numeric_limits<long>::min() ||
        position > std::numeric_limits<long>::max())
        return false;
    return std::fseek(mFile, static_cast<long>(position), kWhence[mode]) == 0;
}

int64_t StdioImageFile::tell()
{
    return mFile != nullptr ? static_cast<int64_t>(std::ftell(mFile)) : -1;
}
