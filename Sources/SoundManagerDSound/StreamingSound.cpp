#include "SoundManagerDSound/StreamingSound.h"

#include <cstring>

using namespace Platform;

namespace
{
std::vector<std::unique_ptr<AudioBuffer>> one(std::unique_ptr<AudioBuffer> buffer)
{
    std::vector<std::unique_ptr<AudioBuffer>> buffers;
    if (buffer != nullptr)
        buffers.push_back(std::move(buffer));
    return buffers;
}
} // namespace

StreamingSound::StreamingSound(std::unique_ptr<AudioBuffer> buffer, uint32_t flags,
                               std::unique_ptr<SoundFileReader> reader, uint32_t blockSize,
                               std::shared_ptr<AudioEvent> event)
    : StaticSound(one(std::move(buffer)), flags, std::move(reader)), mBlockSize(blockSize),
      mEvent(std::move(event))
{
}

StreamingSound::~StreamingSound()
{
    // The buffer's notifications point at the event: the buffer goes first.
    releaseBuffers();
}

PlatformResult StreamingSound::resetStream()
{
    mNextWriteOffset = 0;
    mLastPlayPosition = 0;
    mBytesPlayed = 0;
    mEnd = false;
    if (mReader != nullptr)
        mReader->reset();
    return reset();
}

PlatformResult StreamingSound::refill()
{
    // 1. A restored buffer is filled again whole.
    AudioBuffer* buffer = getBuffer(0);
    if (buffer == nullptr || mReader == nullptr || mBlockSize == 0)
        return kAudioNotInitialised;
    bool restored = false;
    restoreBuffer(buffer, restored);
    if (restored)
        return fillBuffer(buffer, false);

    // 2. One block at the writing offset; blocks divide the buffer, so the
    // lock never wraps.
    AudioLockRegions regions;
    PlatformResult result = buffer->lock(mNextWriteOffset, mBlockSize, regions);
    if (resultFailed(result))
        return result;
    if (regions.second != nullptr)
    {
        buffer->unlock(regions);
        return kAudioUnexpected;
    }

    // 3. The next bytes of the sound, then silence once it has run out.
    uint32_t read = 0;
    if (!mEnd)
        mReader->read(regions.first, regions.firstBytes, &read);
    if (read < regions.firstBytes)
    {
        std::memset(regions.first + read, silenceByte(), regions.firstBytes - read);
        mEnd = true;
    }

    // 4. Progress of the play cursor since the last refill.
    result = buffer->unlock(regions);
    uint32_t cursor = 0;
    buffer->getCurrentPosition(&cursor, nullptr);
    uint32_t size = buffer->size();
    mBytesPlayed += (static_cast<uint64_t>(cursor) + size - mLastPlayPosition) % size;
    mLastPlayPosition = cursor;

    // 5. Everything heard: stop, whatever looping was asked.
    if (mEnd && mBytesPlayed >= mReader->size())
        buffer->stop();

    // 6.
    mNextWriteOffset = (mNextWriteOffset + mBlockSize) % size;
    return result;
}
