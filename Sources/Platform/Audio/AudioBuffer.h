#pragma once
// A secondary sound buffer of the audio device: PCM bytes that the game fills
// through lock/unlock and the device's mixer plays, once or looping, at the
// buffer's volume, frequency and pan. Duplicates share the bytes and have
// their own cursor and settings. The caller owns its buffers and must release
// them before the device.
#include "Platform/Audio/Audio3D.h"
#include "Platform/Audio/AudioResult.h"
#include "Platform/Audio/WaveFormat.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace Platform
{

class AudioDevice;
class AudioEvent;

// Creation flags.
inline constexpr uint32_t kBufferPrimary = 0x1;
inline constexpr uint32_t kBufferSoftware = 0x8;
// Positional sound (Audio3D.h).
inline constexpr uint32_t kBufferControl3D = 0x10;
inline constexpr uint32_t kBufferControlFrequency = 0x20;
inline constexpr uint32_t kBufferControlPan = 0x40;
inline constexpr uint32_t kBufferControlVolume = 0x80;
inline constexpr uint32_t kBufferControlNotify = 0x100;
inline constexpr uint32_t kBufferControlEffects = 0x200;
inline constexpr uint32_t kBufferPrecisePosition = 0x10000;

// Play flags.
inline constexpr uint32_t kPlayLooping = 0x1;

// Status bits.
inline constexpr uint32_t kStatusPlaying = 0x1;
inline constexpr uint32_t kStatusLost = 0x2;
inline constexpr uint32_t kStatusLooping = 0x4;

// Lock flags.
inline constexpr uint32_t kLockEntireBuffer = 0x2;

// Ranges of the settings.
inline constexpr int32_t kVolumeMin = -10000;
inline constexpr int32_t kVolumeMax = 0;
inline constexpr int32_t kPanLeft = -10000;
inline constexpr int32_t kPanRight = 10000;
inline constexpr uint32_t kFrequencyOriginal = 0;
inline constexpr uint32_t kFrequencyMin = 100;
inline constexpr uint32_t kFrequencyMax = 200000;

// The linear gain of a volume in hundredths of a decibel: 10^(volume / 2000).
double volumeToGain(int32_t volume);

struct AudioBufferDesc
{
    uint32_t flags = 0;
    uint32_t bytes = 0;
    WaveFormat format;
};

// The one or two regions a lock hands out; the second is used when the
// locked range runs past the end of the buffer and wraps to its start.
struct AudioLockRegions
{
    uint8_t* first = nullptr;
    uint32_t firstBytes = 0;
    uint8_t* second = nullptr;
    uint32_t secondBytes = 0;
};

struct AudioNotification
{
    // Byte offset in the buffer; the event is set once the play cursor has
    // played the byte at that offset.
    uint32_t offset = 0;
    AudioEvent* event = nullptr;
};

class AudioBuffer
{
public:
    ~AudioBuffer();
    AudioBuffer(const AudioBuffer&) = delete;
    AudioBuffer& operator=(const AudioBuffer&) = delete;

    // Hands out the bytes from offset (or the whole buffer with
    // kLockEntireBuffer). The mixer keeps playing meanwhile: the caller writes
    // only bytes the cursor is not about to play.
    PlatformResult lock(uint32_t offset, uint32_t bytes, AudioLockRegions& regions, uint32_t flags = 0);
    PlatformResult unlock(const AudioLockRegions& regions);

    PlatformResult play(uint32_t flags);
    PlatformResult stop();
    PlatformResult getStatus(uint32_t& status) const;
    // Lost buffers do not exist here; restoring always succeeds.
    PlatformResult restore() { return kAudioOk; }

    PlatformResult getCurrentPosition(uint32_t* playCursor, uint32_t* writeCursor) const;
    PlatformResult setCurrentPosition(uint32_t offset);

    PlatformResult setVolume(int32_t volume);
    PlatformResult getVolume(int32_t& volume) const;
    // kFrequencyOriginal restores the format's rate.
    PlatformResult setFrequency(uint32_t frequency);
    PlatformResult getFrequency(uint32_t& frequency) const;
    PlatformResult setPan(int32_t pan);
    PlatformResult getPan(int32_t& pan) const;

    // Only for buffers created with kBufferControl3D; the mixer follows a new
    // place at once.
    PlatformResult set3DParameters(const Audio3DBuffer& parameters);
    PlatformResult get3DParameters(Audio3DBuffer& parameters) const;

    // Only for buffers created with kBufferControlNotify, and only while stopped.
    PlatformResult setNotificationPositions(const std::vector<AudioNotification>& positions);

    uint32_t size() const { return mBytes; }
    uint32_t flags() const { return mFlags; }
    const WaveFormat& format() const { return mFormat; }

private:
    friend class AudioDevice;
    AudioBuffer(AudioDevice& device, uint32_t flags, const WaveFormat& format,
                std::shared_ptr<std::vector<uint8_t>> data);

    // Called by the mixer under the device lock: adds this buffer's next
    // frames to the accumulator and advances the cursor. Returns false when
    // the buffer stopped at its end.
    void mixInto(int32_t* accumulator, uint32_t frames, uint32_t outputChannels, uint32_t outputRate);
    void signalPlayed(uint32_t fromByte, uint32_t toByte);
    void updateGains();

    AudioDevice& mDevice;
    const uint32_t mFlags;
    const WaveFormat mFormat;
    std::shared_ptr<std::vector<uint8_t>> mData;
    const uint32_t mBytes;
    const uint32_t mFrames;

    // Guarded by the device lock.
    bool mPlaying = false;
    bool mLooping = false;
    // Cursor in frames, 32.32 fixed point.
    uint64_t mPosition = 0;
    int32_t mVolume = 0;
    int32_t mPan = 0;
    uint32_t mFrequency;
    double mGainLeft = 1.0;
    double mGainRight = 1.0;
    std::vector<AudioNotification> mNotifications;
    Audio3DBuffer m3D;
};

} // namespace Platform
