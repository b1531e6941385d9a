#pragma once
// The sound device: secondary buffers mixed in software into the primary
// format (22050 Hz, 16-bit, stereo unless changed) and played through SDL's
// audio callback. With AudioOutput::Manual nothing is opened and tests drive
// the mixer themselves through pump(), so they run without a sound card and
// at full speed.
#include "Platform/Audio/AudioBuffer.h"
#include "Platform/Audio/AudioResult.h"
#include "Platform/Audio/WaveFormat.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace Platform
{

enum class AudioOutput
{
    System,
    Manual
};

struct AudioCaps
{
    uint32_t minSecondaryRate = kFrequencyMin;
    uint32_t maxSecondaryRate = kFrequencyMax;
};

class AudioDevice
{
public:
    AudioDevice();
    ~AudioDevice();
    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;

    // kAudioNoDriver when the system has no usable audio output.
    PlatformResult open(AudioOutput output);
    void close();
    bool isOpen() const { return mOpen; }

    // 16-bit output, mono or stereo, any rate in the device's range.
    PlatformResult setPrimaryFormat(uint16_t channels, uint32_t rate, uint16_t bits);
    const WaveFormat& primaryFormat() const { return mPrimary; }
    PlatformResult getCaps(AudioCaps& caps) const;

    PlatformResult createBuffer(const AudioBufferDesc& desc, std::unique_ptr<AudioBuffer>& buffer);
    // A buffer that plays the same bytes with its own cursor and settings.
    PlatformResult duplicateBuffer(const AudioBuffer& original, std::unique_ptr<AudioBuffer>& buffer);

    // The one listener of the positional buffers; setting it moves every
    // such buffer's sound at once.
    PlatformResult setListener(const Audio3DListener& listener);
    PlatformResult getListener(Audio3DListener& listener) const;

    // Buffers that the mixer is playing now.
    uint32_t playingBufferCount() const;
    // Sound bytes the buffers hold, a duplicate's shared bytes counted once.
    uint64_t bufferBytes() const;

    // Mixes `frames` frames of the primary format into `out` (interleaved
    // 16-bit samples). The audio callback runs this; in manual mode tests do.
    void pump(int16_t* out, uint32_t frames);

private:
    friend class AudioBuffer;
    static void audioCallback(void* user, uint8_t* stream, int length);
    PlatformResult openSystemDevice();
    void closeSystemDevice();
    void addBuffer(AudioBuffer* buffer);
    void removeBuffer(AudioBuffer* buffer);

    static constexpr uint32_t kMixChunkFrames = 512;

    bool mOpen = false;
    AudioOutput mOutput = AudioOutput::Manual;
    bool mSdlAudioStarted = false;
    uint32_t mSdlDevice = 0;
    WaveFormat mPrimary;

    // The lock the mixer takes once per callback; it guards every buffer's
    // playing state and this list.
    mutable std::mutex mMutex;
    std::vector<AudioBuffer*> mBuffers;
    Audio3DListener mListener;
    int32_t mAccumulator[kMixChunkFrames * 2] = {};
};

} // namespace Platform
