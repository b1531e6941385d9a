#include "Sound/OggSoundReader.h"

#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstdio>
#include <limits>

using namespace Platform;

OggSoundReader::OggSoundReader() = default;

OggSoundReader::~OggSoundReader()
{
    close();
}

PlatformResult OggSoundReader::open(const char* path, const WaveFormat* /*format*/, uint32_t mode)
{
    if (path == nullptr)
        return kAudioInvalidArgument;
    if (mode != kModeRead)
        return kAudioNotImplemented;
    close();
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr)
        return kAudioFailed;
    auto vorbis = std::make_unique<OggVorbis_File>();
    if (ov_open(file, vorbis.get(), nullptr, 0) < 0)
    {
        std::fclose(file);
        return kAudioFailed;
    }
    // From here ov_clear closes the file.
    const vorbis_info* info = ov_info(vorbis.get(), -1);
    ogg_int64_t samples = ov_pcm_total(vorbis.get(), -1);
    bool usable = info != nullptr && info->channels > 0 && info->channels <= 16 && info->rate > 0 &&
                  info->rate <= std::numeric_limits<int32_t>::max() && samples >= 0;
    uint64_t bytes = usable ? static_cast<uint64_t>(samples) * static_cast<uint64_t>(info->channels) * 2 : 0;
    // Buffers are sized from the length: a stream whose length is unknown or
    // does not fit is refused rather than read past what was sized.
    if (!usable || bytes > std::numeric_limits<uint32_t>::max())
    {
        ov_clear(vorbis.get());
        return kAudioFailed;
    }
    mFormat = makePcmFormat(static_cast<uint16_t>(info->channels), static_cast<uint32_t>(info->rate), 16);
    mSize = static_cast<uint32_t>(bytes);
    mStartPosition = ov_pcm_tell(vorbis.get());
    mVorbis = std::move(vorbis);
    mOpen = true;
    return kAudioOk;
}

PlatformResult OggSoundReader::openMemory(const uint8_t*, uint32_t, const WaveFormat*, uint32_t)
{
    return kAudioNotImplemented;
}

PlatformResult OggSoundReader::close()
{
    if (mOpen)
        ov_clear(mVorbis.get());
    mVorbis.reset();
    mOpen = false;
    mSize = 0;
    return kAudioOk;
}

PlatformResult OggSoundReader::read(uint8_t* destination, uint32_t count, uint32_t* bytesRead)
{
    if (bytesRead != nullptr)
        *bytesRead = 0;
    if (!mOpen)
        return kAudioNotInitialised;
    if (destination == nullptr || bytesRead == nullptr)
        return kAudioInvalidArgument;
    uint32_t done = 0;
    while (done < count)
    {
        int section = 0;
        uint32_t want = count - done;
        // Little-endian, 16-bit, signed.
        long got = ov_read(mVorbis.get(), reinterpret_cast<char*>(destination + done),
                           static_cast<int>(std::min<uint32_t>(want, 1u << 20)), 0, 2, 1, &section);
        if (got <= 0)
            break;
        done += static_cast<uint32_t>(got);
    }
    *bytesRead = done;
    return kAudioOk;
}

PlatformResult OggSoundReader::write(const uint8_t*, uint32_t, uint32_t* bytesWritten)
{
    if (bytesWritten != nullptr)
        *bytesWritten = 0;
    return kAudioNotImplemented;
}

PlatformResult OggSoundReader::reset()
{
    if (!mOpen)
        return kAudioNotInitialised;
    return ov_pcm_seek(mVorbis.get(), mStartPosition) == 0 ? kAudioOk : kAudioFailed;
}
