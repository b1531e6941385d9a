#include "Platform/Audio/AudioDevice.h"

#include <SDL.h>

#include <algorithm>
#include <cassert>
#include <cstring>
#include <set>

namespace Platform
{

bool isPlayableFormat(const WaveFormat& format)
{
    if (format.formatTag != kWaveFormatPcm)
        return false;
    if (format.channels != 1 && format.channels != 2)
        return false;
    if (format.bitsPerSample != 8 && format.bitsPerSample != 16)
        return false;
    if (format.blockAlign != format.channels * (format.bitsPerSample / 8))
        return false;
    return format.samplesPerSec >= kFrequencyMin && format.samplesPerSec <= kFrequencyMax;
}

namespace
{
// The largest buffer the device makes; larger requests are refused.
constexpr uint32_t kMaxBufferBytes = 0x0FFFFFFF;
} // namespace

AudioDevice::AudioDevice() : mPrimary(makePcmFormat(2, 22050, 16)) {}

AudioDevice::~AudioDevice()
{
    close();
    assert(mBuffers.empty() && "audio buffers must be released before their device");
}

PlatformResult AudioDevice::open(AudioOutput output)
{
    if (mOpen)
        return kAudioOk;
    mOutput = output;
    if (output == AudioOutput::System)
    {
        PlatformResult result = openSystemDevice();
        if (resultFailed(result))
            return result;
    }
    mOpen = true;
    return kAudioOk;
}

void AudioDevice::close()
{
    // The callback may be waiting for the mixer lock: never hold it here.
    closeSystemDevice();
    mOpen = false;
}

PlatformResult AudioDevice::openSystemDevice()
{
    if (!mSdlAudioStarted)
    {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
            return kAudioNoDriver;
        mSdlAudioStarted = true;
    }
    SDL_AudioSpec wanted;
    std::memset(&wanted, 0, sizeof wanted);
    wanted.freq = static_cast<int>(mPrimary.samplesPerSec);
    wanted.format = AUDIO_S16SYS;
    wanted.channels = static_cast<Uint8>(mPrimary.channels);
    wanted.samples = 1024;
    wanted.callback = &AudioDevice::audioCallback;
    wanted.userdata = this;
    SDL_AudioSpec obtained;
    // SDL converts to whatever the hardware wants, so the mixer always sees
    // the primary format.
    mSdlDevice = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (mSdlDevice == 0)
    {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        mSdlAudioStarted = false;
        return kAudioNoDriver;
    }
    SDL_PauseAudioDevice(mSdlDevice, 0);
    return kAudioOk;
}

void AudioDevice::closeSystemDevice()
{
    if (mSdlDevice != 0)
    {
        SDL_CloseAudioDevice(mSdlDevice);
        mSdlDevice = 0;
    }
    if (mSdlAudioStarted)
    {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        mSdlAudioStarted = false;
    }
}

void AudioDevice::audioCallback(void* user, uint8_t* stream, int length)
{
    auto* device = static_cast<AudioDevice*>(user);
    uint32_t frameBytes = device->mPrimary.blockAlign;
    device->pump(reinterpret_cast<int16_t*>(stream), static_cast<uint32_t>(length) / frameBytes);
}

PlatformResult AudioDevice::setPrimaryFormat(uint16_t channels, uint32_t rate, uint16_t bits)
{
    if (!mOpen)
        return kAudioNotInitialised;
    if ((channels != 1 && channels != 2) || bits != 16 || rate < kFrequencyMin || rate > kFrequencyMax)
        return kAudioBadFormat;
    WaveFormat format = makePcmFormat(channels, rate, bits);
    if (mOutput == AudioOutput::System)
    {
        closeSystemDevice();
        WaveFormat previous = mPrimary;
        {
            std::lock_guard lock(mMutex);
            mPrimary = format;
        }
        PlatformResult result = openSystemDevice();
        if (resultFailed(result))
        {
            mPrimary = previous;
            mOpen = false;
            return result;
        }
        return kAudioOk;
    }
    std::lock_guard lock(mMutex);
    mPrimary = format;
    return kAudioOk;
}

PlatformResult AudioDevice::getCaps(AudioCaps& caps) const
{
    if (!mOpen)
        return kAudioNotInitialised;
    caps = AudioCaps{};
    return kAudioOk;
}

PlatformResult AudioDevice::createBuffer(const AudioBufferDesc& desc, std::unique_ptr<AudioBuffer>& buffer)
{
    buffer.reset();
    if (!mOpen)
        return kAudioNotInitialised;
    if ((desc.flags & kBufferPrimary) != 0)
        return kAudioInvalidArgument;
    if (!isPlayableFormat(desc.format))
        return kAudioBadFormat;
    // Only whole frames are kept.
    uint32_t bytes = desc.bytes - desc.bytes % desc.format.blockAlign;
    if (bytes == 0 || bytes > kMaxBufferBytes)
        return kAudioInvalidArgument;
    uint8_t silence = desc.format.bitsPerSample == 8 ? 0x80 : 0;
    auto data = std::make_shared<std::vector<uint8_t>>(bytes, silence);
    buffer.reset(new AudioBuffer(*this, desc.flags, desc.format, std::move(data)));
    return kAudioOk;
}

PlatformResult AudioDevice::duplicateBuffer(const AudioBuffer& original, std::unique_ptr<AudioBuffer>& buffer)
{
    buffer.reset();
    if (!mOpen)
        return kAudioNotInitialised;
    if (&original.mDevice != this)
        return kAudioInvalidArgument;
    buffer.reset(new AudioBuffer(*this, original.mFlags, original.mFormat, original.mData));
    return kAudioOk;
}

PlatformResult AudioDevice::setListener(const Audio3DListener& listener)
{
    if (!mOpen)
        return kAudioNotInitialised;
    if (!isValid3DListener(listener))
        return kAudioInvalidArgument;
    std::lock_guard lock(mMutex);
    mListener = listener;
    for (AudioBuffer* buffer : mBuffers)
        buffer->updateGains();
    return kAudioOk;
}

PlatformResult AudioDevice::getListener(Audio3DListener& listener) const
{
    if (!mOpen)
        return kAudioNotInitialised;
    std::lock_guard lock(mMutex);
    listener = mListener;
    return kAudioOk;
}

uint32_t AudioDevice::playingBufferCount() const
{
    std::lock_guard lock(mMutex);
    return static_cast<uint32_t>(
        std::count_if(mBuffers.begin(), mBuffers.end(), [](const AudioBuffer* b) { return b->mPlaying; }));
}

uint64_t AudioDevice::bufferBytes() const
{
    std::lock_guard lock(mMutex);
    std::set<const std::vector<uint8_t>*> counted;
    uint64_t total = 0;
    for (const AudioBuffer* buffer : mBuffers)
        if (counted.insert(buffer->mData.get()).second)
            total += buffer->mData->size();
    return total;
}

void AudioDevice::addBuffer(AudioBuffer* buffer)
{
    std::lock_guard lock(mMutex);
    mBuffers.push_back(buffer);
}

void AudioDevice::removeBuffer(AudioBuffer* buffer)
{
    std::lock_guard lock(mMutex);
    mBuffers.erase(std::remove(mBuffers.begin(), mBuffers.end(), buffer), mBuffers.end());
}

void AudioDevice::pump(int16_t* out, uint32_t frames)
{
    std::lock_guard lock(mMutex);
    const uint32_t channels = mPrimary.channels;
    const uint32_t rate = mPrimary.samplesPerSec;
    while (frames > 0)
    {
        uint32_t count = std::min(frames, kMixChunkFrames);
        std::fill(mAccumulator, mAccumulator + count * channels, 0);
        for (AudioBuffer* buffer : mBuffers)
            buffer->mixInto(mAccumulator, count, channels, rate);
        for (uint32_t i = 0; i < count * channels; ++i)
            out[i] = static_cast<int16_t>(std::clamp(mAccumulator[i], -32768, 32767));
        out += count * channels;
        frames -= count;
    }
}

} // namespace Platform
