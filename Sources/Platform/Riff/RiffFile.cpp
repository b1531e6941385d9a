#include "Platform/Riff/RiffFile.h"

#include "Platform/System/ByteReader.h"

#include <algorithm>
#include <cstring>
#include <sys/stat.h>

namespace Platform
{
namespace
{
void writeLe32(uint8_t* p, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(value >> (8 * i));
}
} // namespace

RiffFile::~RiffFile()
{
    close();
}

bool RiffFile::openFile(const std::string& path, RiffMode mode)
{
    close();
    // Reading a folder "succeeds" with fopen: only regular files are RIFF files.
    struct stat st;
    if (mode != RiffMode::Create && (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)))
        return false;
    const char* how = mode == RiffMode::Read ? "rb" : mode == RiffMode::ReadWrite ? "r+b" : "w+b";
    mFile = std::fopen(path.c_str(), how);
    if (mFile == nullptr)
        return false;
    long length = -1;
    if (std::fseek(mFile, 0, SEEK_END) == 0)
        length = std::ftell(mFile);
    // Chunk offsets are 32-bit: a file that does not fit is refused.
    if (length < 0 || static_cast<unsigned long>(length) > 0xFFFFFFFFul ||
        std::fseek(mFile, 0, SEEK_SET) != 0)
    {
        std::fclose(mFile);
        mFile = nullptr;
        return false;
    }
    mSize = static_cast<uint32_t>(length);
    mPosition = 0;
    mWritable = mode != RiffMode::Read;
    mWriteFailed = false;
    return true;
}

bool RiffFile::openMemory(const void* data, uint32_t size)
{
    close();
    if (data == nullptr && size != 0)
        return false;
    static const uint8_t kEmpty = 0;
    mMemory = data != nullptr ? static_cast<const uint8_t*>(data) : &kEmpty;
    mSize = size;
    mPosition = 0;
    mWritable = false;
    mWriteFailed = false;
    return true;
}

bool RiffFile::close()
{
    bool ok = !mWriteFailed;
    if (mFile != nullptr)
    {
        if (mWritable && std::fflush(mFile) != 0)
            ok = false;
        if (std::fclose(mFile) != 0)
            ok = false;
        mFile = nullptr;
    }
    mMemory = nullptr;
    mSize = 0;
    mPosition = 0;
    mWritable = false;
    mWriteFailed = false;
    return ok;
}

uint32_t RiffFile::read(void* destination, uint32_t count)
{
    if (!isOpen() || mPosition >= mSize)
        return 0;
    count = std::min(count, mSize - mPosition);
    if (mMemory != nullptr)
    {
        std::memcpy(destination, mMemory + mPosition, count);
    }
    else
    {
        if (std::fseek(mFile, static_cast<long>(mPosition), SEEK_SET) != 0)
            return 0;
        count = static_cast<uint32_t>(std::fread(destination, 1, count, mFile));
    }
    mPosition += count;
    return count;
}

bool RiffFile::write(const void* source, uint32_t count)
{
    if (mFile == nullptr || !mWritable)
        return false;
    if (count > 0xFFFFFFFFu - mPosition)
        return false;
    if (std::fseek(mFile, static_cast<long>(mPosition), SEEK_SET) != 0 ||
        std::fwrite(source, 1, count, mFile) != count)
    {
        mWriteFailed = true;
        return false;
    }
    mPosition += count;
    mSize = std::max(mSize, mPosition);
    return true;
}

bool RiffFile::seek(uint32_t position)
{
    if (!isOpen() || position > mSize)
        return false;
    mPosition = position;
    return true;
}

bool RiffFile::writeU32At(uint32_t position, uint32_t value)
{
    uint8_t bytes[4];
    writeLe32(bytes, value);
    uint32_t saved = mPosition;
    mPosition = position;
    bool ok = write(bytes, 4);
    mPosition = saved;
    return ok;
}

bool RiffFile::descend(RiffChunk& chunk, const RiffChunk* parent, RiffFind find)
{
    if (!isOpen())
        return false;
    // The chunk must lie inside its parent's data and inside the file.
    uint64_t limit = mSize;
    if (parent != nullptr)
        limit = std::min<uint64_t>(limit, static_cast<uint64_t>(parent->dataOffset) + parent->size);
    uint64_t position = mPosition;
    for (;;)
    {
        if (position + 8 > limit)
            return false;
        mPosition = static_cast<uint32_t>(position);
        uint8_t header[12];
        if (!readExact(header, 8))
            return false;
        ByteReader fields(header);
        uint32_t id = fields.u32();
        uint64_t dataOffset = position + 8;
        uint64_t size = std::min<uint64_t>(fields.u32(), limit - dataOffset);
        bool isForm = id == kRiffId || id == kListId;
        uint32_t formType = 0;
        if (isForm)
        {
            if (size < 4 || !readExact(header + 8, 4))
                return false;
            formType = fields.u32();
        }
        bool match = false;
        switch (find)
        {
        case RiffFind::Next:
            match = true;
            break;
        case RiffFind::Chunk:
            match = id == chunk.id;
            break;
        case RiffFind::Riff:
            match = id == kRiffId && formType == chunk.formType;
            break;
        case RiffFind::List:
            match = id == kListId && formType == chunk.formType;
            break;
        }
        if (match)
        {
            chunk.id = id;
            chunk.size = static_cast<uint32_t>(size);
            chunk.formType = formType;
            chunk.dataOffset = static_cast<uint32_t>(dataOffset);
            chunk.created = false;
            mPosition = static_cast<uint32_t>(dataOffset + (isForm ? 4 : 0));
            return true;
        }
        // Chunks are padded to an even length.
        position = dataOffset + size + (size & 1);
    }
}

bool RiffFile::ascend(RiffChunk& chunk)
{
    if (!isOpen())
        return false;
    if (chunk.created)
    {
        if (mPosition < chunk.dataOffset)
            return false;
        chunk.size = mPosition - chunk.dataOffset;
        if (!writeU32At(chunk.dataOffset - 4, chunk.size))
            return false;
        if ((chunk.size & 1) != 0)
        {
            uint8_t pad = 0;
            mPosition = chunk.dataOffset + chunk.size;
            if (!write(&pad, 1))
                return false;
        }
        chunk.created = false;
    }
    uint64_t end = static_cast<uint64_t>(chunk.dataOffset) + chunk.size + (chunk.size & 1);
    mPosition = static_cast<uint32_t>(std::min<uint64_t>(end, mSize));
    return true;
}

bool RiffFile::createChunk(RiffChunk& chunk, RiffFind kind)
{
    if (mFile == nullptr || !mWritable)
        return false;
    bool isForm = kind == RiffFind::Riff || kind == RiffFind::List;
    if (isForm)
        chunk.id = kind == RiffFind::Riff ? kRiffId : kListId;
    uint8_t header[12];
    writeLe32(header, chunk.id);
    writeLe32(header + 4, isForm ? 4 : 0);
    writeLe32(header + 8, chunk.formType);
    uint32_t start = mPosition;
    if (!write(header, isForm ? 12 : 8))
        return false;
    chunk.dataOffset = start + 8;
    chunk.size = isForm ? 4 : 0;
    chunk.created = true;
    return true;
}

} // namespace Platform
