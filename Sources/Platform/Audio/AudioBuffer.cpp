#include "Platform/Audio/AudioBuffer.h"

#include "Platform/Audio/AudioDevice.h"
#include "Platform/Audio/AudioEvent.h"

#include <algorithm>
#include <cmath>

namespace Platform
{

double volumeToGain(int32_t volume)
{
    return std::pow(10.0, static_cast<double>(volume) / 2000.0);
}

AudioBuffer::AudioBuffer(AudioDevice& device, uint32_t flags, const WaveFormat& format,
                         std::shared_ptr<std::vector<uint8_t>> data)
    : mDevice(device), mFlags(flags), mFormat(format), mData(std::move(data)),
      mBytes(static_cast<uint32_t>(mData->size())), mFrames(mBytes / format.blockAlign),
      mFrequency(format.samplesPerSec)
{
    {
        // A positional buffer is heard from where the listener is now.
        std::lock_guard lock(mDevice.mMutex);
        updateGains();
    }
    mDevice.addBuffer(this);
}

AudioBuffer::~AudioBuffer()
{
    mDevice.removeBuffer(this);
}

PlatformResult AudioBuffer::lock(uint32_t offset, uint32_t bytes, AudioLockRegions& regions, uint32_t flags)
{
    regions = {};
    if ((flags & kLockEntireBuffer) != 0)
    {
        offset = 0;
        bytes = mBytes;
    }
    if (offset >= mBytes || bytes == 0 || bytes > mBytes)
        return kAudioInvalidArgument;
    uint8_t* data = mData->data();
    regions.first = data + offset;
    regions.firstBytes = std::min(bytes, mBytes - offset);
    if (regions.firstBytes < bytes)
    {
        regions.second = data;
        regions.secondBytes = bytes - regions.firstBytes;
    }
    return kAudioOk;
}

PlatformResult AudioBuffer::unlock(const AudioLockRegions& regions)
{
    const uint8_t* begin = mData->data();
    const uint8_t* end = begin + mBytes;
    auto inside = [&](const uint8_t* p, uint32_t n)
    { return p == nullptr || (p >= begin && p <= end && n <= static_cast<uint32_t>(end - p)); };
    if (!inside(regions.first, regions.firstBytes) || !inside(regions.second, regions.secondBytes))
        return kAudioInvalidArgument;
    // Taking the mixer's lock orders the bytes just written before any later
    // mix that reads them.
    std::lock_guard lock(mDevice.mMutex);
    return kAudioOk;
}

PlatformResult AudioBuffer::play(uint32_t flags)
{
    std::lock_guard lock(mDevice.mMutex);
    mPlaying = true;
    mLooping = (flags & kPlayLooping) != 0;
    return kAudioOk;
}

PlatformResult AudioBuffer::stop()
{
    std::lock_guard lock(mDevice.mMutex);
    mPlaying = false;
    return kAudioOk;
}

PlatformResult AudioBuffer::getStatus(uint32_t& status) const
{
    std::lock_guard lock(mDevice.mMutex);
    status = 0;
    if (mPlaying)
        status = kStatusPlaying | (mLooping ? kStatusLooping : 0);
    return kAudioOk;
}

PlatformResult AudioBuffer::getCurrentPosition(uint32_t* playCursor, uint32_t* writeCursor) const
{
    std::lock_guard lock(mDevice.mMutex);
    uint32_t frame = static_cast<uint32_t>(mPosition >> 32);
    uint32_t cursor = frame < mFrames ? frame * mFormat.blockAlign : 0;
    if (playCursor != nullptr)
        *playCursor = cursor;
    if (writeCursor != nullptr)
        *writeCursor = cursor;
    return kAudioOk;
}

PlatformResult AudioBuffer::setCurrentPosition(uint32_t offset)
{
    if (offset >= mBytes)
        return kAudioInvalidArgument;
    std::lock_guard lock(mDevice.mMutex);
    mPosition = static_cast<uint64_t>(offset / mFormat.blockAlign) << 32;
    return kAudioOk;
}

PlatformResult AudioBuffer::setVolume(int32_t volume)
{
    if ((mFlags & kBufferControlVolume) == 0)
        return kAudioControlUnavailable;
    if (volume < kVolumeMin || volume > kVolumeMax)
        return kAudioInvalidArgument;
    std::lock_guard lock(mDevice.mMutex);
    mVolume = volume;
    updateGains();
    return kAudioOk;
}

PlatformResult AudioBuffer::getVolume(int32_t& volume) const
{
    if ((mFlags & kBufferControlVolume) == 0)
        return kAudioControlUnavailable;
    std::lock_guard lock(mDevice.mMutex);
    volume = mVolume;
    return kAudioOk;
}

PlatformResult AudioBuffer::setFrequency(uint32_t frequency)
{
    if ((mFlags & kBufferControlFrequency) == 0)
        return kAudioControlUnavailable;
    if (frequency == kFrequencyOriginal)
        frequency = mFormat.samplesPerSec;
    if (frequency < kFrequencyMin || frequency > kFrequencyMax)
        return kAudioInvalidArgument;
    std::lock_guard lock(mDevice.mMutex);
    mFrequency = frequency;
    return kAudioOk;
}

PlatformResult AudioBuffer::getFrequency(uint32_t& frequency) const
{
    if ((mFlags & kBufferControlFrequency) == 0)
        return kAudioControlUnavailable;
    std::lock_guard lock(mDevice.mMutex);
    frequency = mFrequency;
    return kAudioOk;
}

PlatformResult AudioBuffer::setPan(int32_t pan)
{
    if ((mFlags & kBufferControlPan) == 0)
        return kAudioControlUnavailable;
    if (pan < kPanLeft || pan > kPanRight)
        return kAudioInvalidArgument;
    std::lock_guard lock(mDevice.mMutex);
    mPan = pan;
    updateGains();
    return kAudioOk;
}

PlatformResult AudioBuffer::getPan(int32_t& pan) const
{
    if ((mFlags & kBufferControlPan) == 0)
        return kAudioControlUnavailable;
    std::lock_guard lock(mDevice.mMutex);
    pan = mPan;
    return kAudioOk;
}

PlatformResult AudioBuffer::setNotificationPositions(const std::vector<AudioNotification>& positions)
{
    if ((mFlags & kBufferControlNotify) == 0)
        return kAudioControlUnavailable;
    for (const AudioNotification& n : positions)
    {
        if (n.offset >= mBytes || n.event == nullptr)
            return kAudioInvalidArgument;
    }
    std::lock_guard lock(mDevice.mMutex);
    if (mPlaying)
        return kAudioFailed;
    mNotifications = positions;
    return kAudioOk;
}

PlatformResult AudioBuffer::set3DParameters(const Audio3DBuffer& parameters)
{
    if ((mFlags & kBufferControl3D) == 0)
        return kAudioControlUnavailable;
    if (!isValid3DBuffer(parameters))
        return kAudioInvalidArgument;
    std::lock_guard lock(mDevice.mMutex);
    m3D = parameters;
    updateGains();
    return kAudioOk;
}

PlatformResult AudioBuffer::get3DParameters(Audio3DBuffer& parameters) const
{
    if ((mFlags & kBufferControl3D) == 0)
        return kAudioControlUnavailable;
    std::lock_guard lock(mDevice.mMutex);
    parameters = m3D;
    return kAudioOk;
}

void AudioBuffer::updateGains()
{
    // The pan attenuates the side away from which the sound is moved.
    double gain = volumeToGain(mVolume);
    mGainLeft = gain * (mPan > 0 ? volumeToGain(-mPan) : 1.0);
    mGainRight = gain * (mPan < 0 ? volumeToGain(mPan) : 1.0);
    if ((mFlags & kBufferControl3D) != 0)
    {
        const Audio3DListener& listener = mDevice.mListener;
        const double distance = positionalGain(m3D, listener);
        const Audio3DSides sides = balanceSides(positionalBalance(m3D, listener));
        mGainLeft *= distance * sides.left;
        mGainRight *= distance * sides.right;
    }
}

void AudioBuffer::signalPlayed(uint32_t fromByte, uint32_t toByte)
{
    for (const AudioNotification& n : mNotifications)
    {
        if (n.offset >= fromByte && n.offset < toByte)
            n.event->set();
    }
}

void AudioBuffer::mixInto(int32_t* accumulator, uint32_t frames, uint32_t outputChannels, uint32_t outputRate)
{
    if (!mPlaying || mFrames == 0)
        return;
    const uint8_t* data = mData->data();
    const uint32_t align = mFormat.blockAlign;
    const bool eightBit = mFormat.bitsPerSample == 8;
    const bool stereo = mFormat.channels == 2;
    const uint64_t end = static_cast<uint64_t>(mFrames) << 32;
    const uint64_t step = (static_cast<uint64_t>(mFrequency) << 32) / outputRate;
    uint32_t playedFrom = static_cast<uint32_t>(mPosition >> 32) * align;

    // At the end of the bytes: report everything up to the end as played,
    // then wrap or stop. False when the buffer stopped.
    auto reachEnd = [&]()
    {
        signalPlayed(playedFrom, mBytes);
        playedFrom = 0;
        if (!mLooping)
        {
            mPlaying = false;
            mPosition = 0;
            return false;
        }
        mPosition %= end;
        playedFrom = static_cast<uint32_t>(mPosition >> 32) * align;
        return true;
    };

    for (uint32_t i = 0; i < frames; ++i)
    {
        if (mPosition >= end && !reachEnd())
            return;
        const uint8_t* p = data + static_cast<size_t>(mPosition >> 32) * align;
        int32_t left;
        int32_t right;
        if (eightBit)
        {
            left = (static_cast<int32_t>(p[0]) - 128) * 256;
            right = stereo ? (static_cast<int32_t>(p[1]) - 128) * 256 : left;
        }
        else
        {
            left = static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8)));
            right = stereo ? static_cast<int16_t>(static_cast<uint16_t>(p[2] | (p[3] << 8))) : left;
        }
        if (outputChannels == 2)
        {
            accumulator[2 * i] += static_cast<int32_t>(std::lrint(left * mGainLeft));
            accumulator[2 * i + 1] += static_cast<int32_t>(std::lrint(right * mGainRight));
        }
        else
        {
            accumulator[i] += static_cast<int32_t>(std::lrint((left * mGainLeft + right * mGainRight) / 2.0));
        }
        mPosition += step;
    }
    if (mPosition >= end)
    {
        reachEnd();
        return;
    }
    signalPlayed(playedFrom, static_cast<uint32_t>(mPosition >> 32) * align);
}

} // namespace Platform
