#include "Sound/WaveSoundReader.h"

#include "Platform/System/ByteReader.h"
#include "Sound/ProgramSounds.h"

#include <algorithm>
#include <cstring>

using namespace Platform;

namespace
{
constexpr uint32_t kWaveForm = makeFourCC('W', 'A', 'V', 'E');
constexpr uint32_t kFormatChunk = makeFourCC('f', 'm', 't', ' ');
constexpr uint32_t kDataChunk = makeFourCC('d', 'a', 't', 'a');
constexpr uint32_t kFactChunk = makeFourCC('f', 'a', 'c', 't');

void put16(uint8_t* p, uint16_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

void put32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}
} // namespace

WaveSoundReader::~WaveSoundReader()
{
    close();
}

PlatformResult WaveSoundReader::open(const char* path, const WaveFormat* format, uint32_t mode)
{
    if (path == nullptr)
        return kAudioInvalidArgument;
    close();
    mMode = mode;
    if (mode == kModeRead)
    {
        if (!mFile.openFile(path, RiffMode::Read))
            return openProgramSound(mGameName.empty() ? std::string(path) : mGameName);
        return readHeader();
    }
    if (format == nullptr)
        return kAudioInvalidArgument;
    if (!mFile.openFile(path, RiffMode::Create))
        return kAudioFailed;
    return writeHeader(*format);
}

PlatformResult WaveSoundReader::openMemory(const uint8_t* data, uint32_t size, const WaveFormat* /*format*/,
                                           uint32_t mode)
{
    if (data == nullptr && size != 0)
        return kAudioInvalidArgument;
    if (mode != kModeRead)
        return kAudioNotImplemented;
    close();
    mMode = mode;
    if (!mFile.openMemory(data, size))
        return kAudioFailed;
    return readHeader();
}

PlatformResult WaveSoundReader::openProgramSound(const std::string& name)
{
    std::span<const uint8_t> bytes = findProgramSound(name, "WAVE");
    if (bytes.empty())
        bytes = findProgramSound(name, "WAV");
    if (bytes.empty())
        return kAudioFailed;
    return openCopy(std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

PlatformResult WaveSoundReader::openCopy(std::vector<uint8_t> bytes)
{
    if (bytes.size() > UINT32_MAX)
        return kAudioInvalidArgument;
    close();
    mOwnedBytes = std::move(bytes);
    mMode = kModeRead;
    if (!mFile.openMemory(mOwnedBytes.data(), static_cast<uint32_t>(mOwnedBytes.size())))
    {
        close();
        return kAudioFailed;
    }
    return readHeader();
}

PlatformResult WaveSoundReader::readHeader()
{
    auto fail = [this]()
    {
        close();
        return kAudioFailed;
    };
    // 1. The file is one RIFF chunk of form WAVE.
    if (!mFile.descend(mRiffChunk, nullptr, RiffFind::Next) || mRiffChunk.id != kRiffId ||
        mRiffChunk.formType != kWaveForm)
        return fail();

    // 2. Its 'fmt ' chunk holds at least the 16-byte PCM record.
    RiffChunk formatChunk;
    formatChunk.id = kFormatChunk;
    if (!mFile.descend(formatChunk, &mRiffChunk, RiffFind::Chunk) || formatChunk.size < 16)
        return fail();
    uint8_t record[16];
    if (mFile.read(record, 16) != 16)
        return fail();
    ByteReader fields(record);
    mFormat.formatTag = fields.u16();
    mFormat.channels = fields.u16();
    mFormat.samplesPerSec = fields.u32();
    mFormat.avgBytesPerSec = fields.u32();
    mFormat.blockAlign = fields.u16();
    mFormat.bitsPerSample = fields.u16();
    mFormat.extraSize = 0;
    mExtra.clear();

    // 3. Other formats carry a count of extra bytes, which must lie inside
    // the chunk.
    if (mFormat.formatTag != kWaveFormatPcm)
    {
        uint8_t extraSize[2];
        if (formatChunk.size < 18 || mFile.read(extraSize, 2) != 2)
            return fail();
        mFormat.extraSize = ByteReader(extraSize).u16();
        if (mFormat.extraSize > formatChunk.size - 18)
            return fail();
        mExtra.resize(mFormat.extraSize);
        if (mFormat.extraSize != 0 && mFile.read(mExtra.data(), mFormat.extraSize) != mFormat.extraSize)
            return fail();
    }
    // Every size below is counted in frames: a format without a frame size
    // cannot be read.
    if (mFormat.blockAlign == 0 || mFormat.channels == 0)
        return fail();
    if (!mFile.ascend(formatChunk))
        return fail();
    mHasFormat = true;

    // 4. Find the samples.
    if (reset() != kAudioOk)
        return fail();
    return kAudioOk;
}

PlatformResult WaveSoundReader::reset()
{
    if (!mFile.isOpen() || mMode != kModeRead)
        return kAudioNotInitialised;
    if (!mFile.seek(mRiffChunk.dataOffset + 4))
        return kAudioFailed;
    mChunk = {};
    mChunk.id = kDataChunk;
    if (!mFile.descend(mChunk, &mRiffChunk, RiffFind::Chunk))
        return kAudioFailed;
    // The chunk's size is already clamped to the bytes present; a trailing
    // partial frame is not sound.
    mSize = mChunk.size - mChunk.size % mFormat.blockAlign;
    mRemaining = mSize;
    return kAudioOk;
}

PlatformResult WaveSoundReader::read(uint8_t* destination, uint32_t count, uint32_t* bytesRead)
{
    if (bytesRead != nullptr)
        *bytesRead = 0;
    if (!mFile.isOpen() || mMode != kModeRead)
        return kAudioNotInitialised;
    if (bytesRead == nullptr || (destination == nullptr && count != 0))
        return kAudioInvalidArgument;
    uint32_t wanted = std::min(count, mRemaining);
    uint32_t got = wanted != 0 ? mFile.read(destination, wanted) : 0;
    mRemaining -= got;
    *bytesRead = got;
    return got == wanted ? kAudioOk : kAudioFailed;
}

PlatformResult WaveSoundReader::writeHeader(const WaveFormat& format)
{
    auto fail = [this]()
    {
        mFile.close();
        return kAudioFailed;
    };
    mRiffChunk = {};
    mRiffChunk.formType = kWaveForm;
    if (!mFile.createChunk(mRiffChunk, RiffFind::Riff))
        return fail();

    RiffChunk formatChunk;
    formatChunk.id = kFormatChunk;
    if (!mFile.createChunk(formatChunk, RiffFind::Chunk))
        return fail();
    uint8_t record[18];
    put16(record, format.formatTag);
    put16(record + 2, format.channels);
    put32(record + 4, format.samplesPerSec);
    put32(record + 8, format.avgBytesPerSec);
    put16(record + 12, format.blockAlign);
    put16(record + 14, format.bitsPerSample);
    put16(record + 16, 0);
    // Only the extra-size field is written for other formats: their extra
    // bytes are not known here.
    bool pcm = format.formatTag == kWaveFormatPcm;
    if (!mFile.write(record, pcm ? 16 : 18) || !mFile.ascend(formatChunk))
        return fail();

    // The 'fact' chunk holds the sample count, unknown until closing.
    mFactChunk = {};
    mFactChunk.id = kFactChunk;
    uint8_t unknown[4];
    put32(unknown, 0xFFFFFFFFu);
    if (!mFile.createChunk(mFactChunk, RiffFind::Chunk) || !mFile.write(unknown, 4) ||
        !mFile.ascend(mFactChunk))
        return fail();

    mChunk = {};
    mChunk.id = kDataChunk;
    if (!mFile.createChunk(mChunk, RiffFind::Chunk))
        return fail();
    mFormat = format;
    mFormat.extraSize = 0;
    mHasFormat = true;
    mSize = 0;
    return kAudioOk;
}

PlatformResult WaveSoundReader::write(const uint8_t* source, uint32_t count, uint32_t* bytesWritten)
{
    if (bytesWritten != nullptr)
        *bytesWritten = 0;
    if (mFile.isMemory())
        return kAudioNotImplemented;
    if (!mFile.isOpen() || mMode == kModeRead)
        return kAudioNotInitialised;
    if (bytesWritten == nullptr || (source == nullptr && count != 0))
        return kAudioInvalidArgument;
    if (count != 0 && !mFile.write(source, count))
        return kAudioFailed;
    mSize += count;
    *bytesWritten = count;
    return kAudioOk;
}

PlatformResult WaveSoundReader::close()
{
    PlatformResult result = kAudioOk;
    if (mFile.isOpen() && mMode != kModeRead)
    {
        uint8_t zero[4] = {0, 0, 0, 0};
        bool ok = mFile.ascend(mChunk) && mFile.ascend(mRiffChunk) && mFile.seek(mFactChunk.dataOffset) &&
                  mFile.write(zero, 4);
        if (!ok)
            result = kAudioFailed;
    }
    if (mFile.isOpen() && !mFile.close())
        result = kAudioFailed;
    mOwnedBytes.clear();
    mOwnedBytes.shrink_to_fit();
    mHasFormat = false;
    mExtra.clear();
    mMode = 0;
    mSize = 0;
    mRemaining = 0;
    return result;
}
