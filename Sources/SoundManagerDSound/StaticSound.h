#pragma once
// A sound loaded into one or more device buffers (the first one created, the
// others duplicates or new buffers) from a sound reader, which it owns.
// Several buffers let the same sound overlap itself.
#include "Platform/Audio/AudioBuffer.h"
#include "Sound/SoundFileReader.h"

#include <cstdint>
#include <memory>
#include <vector>

class StaticSound
{
public:
    StaticSound(std::vector<std::unique_ptr<Platform::AudioBuffer>> buffers, uint32_t flags,
                std::unique_ptr<SoundFileReader> reader);
    virtual ~StaticSound();
    StaticSound(const StaticSound&) = delete;
    StaticSound& operator=(const StaticSound&) = delete;

    virtual bool isStreaming() const { return false; }

    // Fills the buffer from the start of the sound: reversed when the reverse
    // flag is set, then repeated (repeat) or followed by silence.
    Platform::PlatformResult fillBuffer(Platform::AudioBuffer* buffer, bool repeat);
    // The first buffer not playing; when all play, a random one.
    Platform::AudioBuffer* getFreeBuffer();
    // Restores a lost buffer; `restored` says whether it had been lost.
    Platform::PlatformResult restoreBuffer(Platform::AudioBuffer* buffer, bool& restored);
    // Volume in hundredths of a decibel; frequency -1 leaves it unchanged.
    Platform::PlatformResult play(uint32_t priority, uint32_t flags, int32_t volume, int32_t frequency,
                                  int32_t pan);
    // Plays a free buffer from the given place; the sound must have been
    // made with kBufferControl3D. Frequency -1 leaves it unchanged.
    Platform::PlatformResult play3D(const Platform::Audio3DBuffer& parameters, uint32_t priority,
                                    uint32_t flags, int32_t frequency);
    // The positional controls of one buffer (the buffer itself), or
    // kAudioControlUnavailable for a sound that is not positional.
    Platform::PlatformResult get3DBuffer(uint32_t index, Platform::AudioBuffer*& buffer) const;
    Platform::PlatformResult stop();
    // Every buffer back to position 0.
    Platform::PlatformResult reset();
    bool isPlaying() const;

    uint32_t getBufferCount() const { return static_cast<uint32_t>(mBuffers.size()); }
    Platform::AudioBuffer* getBuffer(uint32_t index) const
    {
        return index < mBuffers.size() ? mBuffers[index].get() : nullptr;
    }
    uint32_t getBufferSize() const { return mBufferSize; }
    uint32_t getCreationFlags() const { return mCreationFlags; }
    uint32_t getBlockAlign() const { return mBlockAlign; }
    SoundFileReader* getReader() const { return mReader.get(); }
    uint32_t getPriority() const { return mPriority; }
    uint32_t getPlayFlags() const { return mPlayFlags; }
    bool isReversed() const { return mReverse; }
    void setReversed(bool reverse) { mReverse = reverse; }

protected:
    // A free buffer, restored and refilled when it had been lost.
    Platform::PlatformResult takeBufferToPlay(Platform::AudioBuffer*& buffer);
    // Buffers go before anything their notifications point to.
    void releaseBuffers() { mBuffers.clear(); }
    uint8_t silenceByte() const;

    std::vector<std::unique_ptr<Platform::AudioBuffer>> mBuffers;
    uint32_t mBufferSize = 0;
    uint32_t mCreationFlags;
    std::unique_ptr<SoundFileReader> mReader;
    uint32_t mBlockAlign = 1;
    uint32_t mPriority = 0;
    uint32_t mPlayFlags = 0;
    bool mReverse = false;
};
