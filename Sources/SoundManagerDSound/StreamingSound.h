#pragma once
// A sound played through one buffer that the notification thread refills
// block by block as the play cursor passes the end of each block. All its
// state is touched under the sound manager's notification lock.
#include "Platform/Audio/AudioEvent.h"
#include "SoundManagerDSound/StaticSound.h"

#include <memory>

class StreamingSound : public StaticSound
{
public:
    StreamingSound(std::unique_ptr<Platform::AudioBuffer> buffer, uint32_t flags,
                   std::unique_ptr<SoundFileReader> reader, uint32_t blockSize,
                   std::shared_ptr<Platform::AudioEvent> event);
    ~StreamingSound() override;

    bool isStreaming() const override { return true; }
    // Writing offset, progress and end flag back to 0, the reader to its
    // start and the buffer to position 0.
    Platform::PlatformResult resetStream();
    // Writes the next block behind the play cursor; once the sound's bytes
    // have all been played, stops the buffer.
    Platform::PlatformResult refill();

    const std::shared_ptr<Platform::AudioEvent>& getEvent() const { return mEvent; }
    uint32_t getBlockSize() const { return mBlockSize; }
    bool isAtEnd() const { return mEnd; }
    uint64_t getBytesPlayed() const { return mBytesPlayed; }

private:
    uint32_t mBlockSize;
    uint32_t mNextWriteOffset = 0;
    uint32_t mLastPlayPosition = 0;
    uint64_t mBytesPlayed = 0;
    bool mEnd = false;
    std::shared_ptr<Platform::AudioEvent> mEvent;
};
