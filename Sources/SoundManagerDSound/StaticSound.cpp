#include "SoundManagerDSound/StaticSound.h"

#include "Platform/System/Random.h"

#include <algorithm>
#include <cstring>

using namespace Platform;

StaticSound::StaticSound(std::vector<std::unique_ptr<AudioBuffer>> buffers, uint32_t flags,
                         std::unique_ptr<SoundFileReader> reader)
    : mBuffers(std::move(buffers)), mCreationFlags(flags), mReader(std::move(reader))
{
    if (!mBuffers.empty())
    {
        mBufferSize = mBuffers[0]->size();
        mBlockAlign = std::max<uint32_t>(1, mBuffers[0]->format().blockAlign);
    }
}

StaticSound::~StaticSound()
{
    releaseBuffers();
}

uint8_t StaticSound::silenceByte() const
{
    return !mBuffers.empty() && mBuffers[0]->format().bitsPerSample == 8 ? 0x80 : 0;
}

PlatformResult StaticSound::fillBuffer(AudioBuffer* buffer, bool repeat)
{
    // 1. A buffer to fill.
    if (buffer == nullptr || mReader == nullptr)
        return kAudioNotInitialised;
    bool restored = false;
    restoreBuffer(buffer, restored);

    // 2. The whole buffer, from the first byte of the sound.
    AudioLockRegions regions;
    PlatformResult result = buffer->lock(0, 0, regions, kLockEntireBuffer);
    if (resultFailed(result))
        return result;
    uint8_t* data = regions.first;
    uint32_t size = regions.firstBytes;
    uint32_t read = 0;
    if (mReader->reset() == kAudioOk)
        mReader->read(data, size, &read);

    // 3. Reversed frame by frame.
    if (mReverse && read > 0)
    {
        uint32_t frames = read / mBlockAlign;
        for (uint32_t i = 0; i < frames / 2; ++i)
            std::swap_ranges(data + i * mBlockAlign, data + (i + 1) * mBlockAlign,
                             data + (frames - 1 - i) * mBlockAlign);
    }

    // 4. The rest: the sound again, or silence. A reader that yields nothing
    // more ends the repeat rather than spinning.
    uint32_t filled = read;
    while (repeat && read > 0 && filled < size)
    {
        read = 0;
        if (mReader->reset() != kAudioOk)
            break;
        mReader->read(data + filled, size - filled, &read);
        filled += read;
    }
    if (filled < size)
        std::memset(data + filled, silenceByte(), size - filled);

    // 5.
    return buffer->unlock(regions);
}

AudioBuffer* StaticSound::getFreeBuffer()
{
    if (mBuffers.empty())
        return nullptr;
    for (const auto& buffer : mBuffers)
    {
        uint32_t status = 0;
        buffer->getStatus(status);
        if ((status & kStatusPlaying) == 0)
            return buffer.get();
    }
    return mBuffers[static_cast<size_t>(Platform::random()) % mBuffers.size()].get();
}

PlatformResult StaticSound::restoreBuffer(AudioBuffer* buffer, bool& restored)
{
    restored = false;
    if (buffer == nullptr)
        return kAudioNotInitialised;
    uint32_t status = 0;
    PlatformResult result = buffer->getStatus(status);
    if (resultFailed(result) || (status & kStatusLost) == 0)
        return result;
    do
    {
        result = buffer->restore();
    } while (result == kAudioBufferLost);
    restored = true;
    return result;
}

PlatformResult StaticSound::takeBufferToPlay(AudioBuffer*& buffer)
{
    buffer = nullptr;
    if (mBuffers.empty())
        return kAudioNotInitialised;
    buffer = getFreeBuffer();
    if (buffer == nullptr)
        return kAudioFailed;
    bool restored = false;
    PlatformResult result = restoreBuffer(buffer, restored);
    if (resultFailed(result))
        return result;
    if (restored)
        fillBuffer(buffer, false);
    return kAudioOk;
}

PlatformResult StaticSound::play(uint32_t priority, uint32_t flags, int32_t volume, int32_t frequency,
                                 int32_t pan)
{
    AudioBuffer* buffer = nullptr;
    PlatformResult result = takeBufferToPlay(buffer);
    if (resultFailed(result))
        return result;
    if ((mCreationFlags & kBufferControlVolume) != 0)
        buffer->setVolume(volume);
    if (frequency != -1 && (mCreationFlags & kBufferControlFrequency) != 0)
        buffer->setFrequency(static_cast<uint32_t>(frequency));
    if ((mCreationFlags & kBufferControlPan) != 0)
        buffer->setPan(pan);
    mPriority = priority;
    mPlayFlags = flags;
    return buffer->play(flags);
}

PlatformResult StaticSound::play3D(const Audio3DBuffer& parameters, uint32_t priority, uint32_t flags,
                                   int32_t frequency)
{
    if (!mBuffers.empty() && (mCreationFlags & kBufferControl3D) == 0)
        return kAudioControlUnavailable;
    AudioBuffer* buffer = nullptr;
    PlatformResult result = takeBufferToPlay(buffer);
    if (resultFailed(result))
        return result;
    result = buffer->set3DParameters(parameters);
    if (resultFailed(result))
        return result;
    if (frequency != -1 && (mCreationFlags & kBufferControlFrequency) != 0)
        buffer->setFrequency(static_cast<uint32_t>(frequency));
    mPriority = priority;
    mPlayFlags = flags;
    return buffer->play(flags);
}

PlatformResult StaticSound::get3DBuffer(uint32_t index, AudioBuffer*& buffer) const
{
    buffer = nullptr;
    if (mBuffers.empty())
        return kAudioNotInitialised;
    if (index >= mBuffers.size())
        return kAudioInvalidArgument;
    if ((mCreationFlags & kBufferControl3D) == 0)
        return kAudioControlUnavailable;
    buffer = mBuffers[index].get();
    return kAudioOk;
}

PlatformResult StaticSound::stop()
{
    if (mBuffers.empty())
        return kAudioNotInitialised;
    for (const auto& buffer : mBuffers)
        buffer->stop();
    return kAudioOk;
}

PlatformResult StaticSound::reset()
{
    if (mBuffers.empty())
        return kAudioNotInitialised;
    for (const auto& buffer : mBuffers)
        buffer->setCurrentPosition(0);
    return kAudioOk;
}

bool StaticSound::isPlaying() const
{
    for (const auto& buffer : mBuffers)
    {
        uint32_t status = 0;
        buffer->getStatus(status);
        if ((status & kStatusPlaying) != 0)
            return true;
    }
    return false;
}
