#include "SoundManagerDSound/SoundChannelDSound.h"

#include "Framework/Messages.h"
#include "Sound/SoundErrors.h"
#include "SoundManagerDSound/SoundManagerDSound.h"

#include <mutex>

using namespace Platform;

namespace
{
const char* const kSourceName = "Sources\\SoundManagerDSound\\SoundChannelDSound.cpp";

// Streaming sounds: 8 blocks of 80000 bytes in one buffer.
constexpr uint32_t kStreamBlocks = 8;
constexpr uint32_t kStreamBlockSize = 80000;
constexpr uint32_t kStaticFlags = kBufferControlFrequency | kBufferControlVolume;
constexpr uint32_t kStreamingFlags = kBufferSoftware | kBufferControlVolume;
} // namespace

SoundChannelDSound::SoundChannelDSound(SoundManagerDSound* owner) : SoundChannel(owner), mManager(*owner) {}

SoundChannelDSound::~SoundChannelDSound()
{
    releaseSound();
}

void SoundChannelDSound::releaseSound()
{
    if (mSound != nullptr && mSound->isStreaming())
        mManager.removeStreamingSound(static_cast<StreamingSound*>(mSound.get()));
    mSound.reset();
}

int32_t SoundChannelDSound::resolveLevel(int32_t level) const
{
    if (level != -1)
        return level;
    int32_t master = SoundManager::getMasterSoundLevel();
    if (master != -1)
        return master;
    return static_cast<int32_t>(mManager.getGroupLevelOfChannel(mIndex));
}

ErrorCode SoundChannelDSound::play(const std::string& name, int32_t level, bool loop, bool streaming)
{
    // 1. Allowed to play.
    if (SoundManager::getMasterSoundLevel() != -1 && !SoundManager::isSoundAllowed())
        return ERROR_OK;

    // 2-4. The same static sound is kept; anything else is loaded anew.
    bool reuse = mSound != nullptr && !mSound->isStreaming() && mName == name;
    if (!reuse)
    {
        releaseSound();
        mName.clear();
        PlatformResult result;
        if (streaming)
        {
            // Not signalled: the first refill must wait for the first block
            // to have been played.
            auto event = std::make_shared<AudioEvent>(false, true);
            std::unique_ptr<StreamingSound> sound;
            result = mManager.getDevice().createStreamingSound(name, kStreamingFlags, kStreamBlocks,
                                                               kStreamBlockSize, event, sound);
            mSound = std::move(sound);
        }
        else
        {
            result = mManager.getDevice().createStaticSound(name, kStaticFlags, 1, mSound);
        }
        if (resultFailed(result))
        {
            mSound.reset();
            showMessage("Impossible de charger le son %s", name.c_str());
            return ERROR_DSOUND;
        }
        mName = name;
    }

    // 6. The volume.
    int32_t volume = SoundManager::levelToVolume(resolveLevel(level));

    if (mSound->isStreaming())
    {
        // 5, 7. Reset and filled before the thread knows the sound, so that
        // no refill overwrites its first blocks.
        auto* sound = static_cast<StreamingSound*>(mSound.get());
        {
            std::lock_guard lock(mManager.getNotificationLock());
            sound->stop();
            sound->resetStream();
            sound->fillBuffer(sound->getBuffer(0), false);
            sound->getEvent()->reset();
        }
        mManager.addStreamingSound(sound);
        // Looping: the refills end it.
        sound->play(0, kPlayLooping, volume, -1, 0);
    }
    else
    {
        // 5, 7.
        mSound->reset();
        mSound->stop();
        mSound->play(0, loop ? kPlayLooping : 0, volume, -1, 0);
    }

    // 8.
    setLevel(level);
    return ERROR_OK;
}

ErrorCode SoundChannelDSound::stopIfPlaying()
{
    return stop();
}

ErrorCode SoundChannelDSound::stop()
{
    if (mSound != nullptr && mSound->isPlaying())
        mSound->stop();
    return ERROR_OK;
}

ErrorCode SoundChannelDSound::restart()
{
    if (mSound == nullptr)
        return ERROR_OK;
    for (uint32_t i = 0; i < mSound->getBufferCount(); ++i)
        mSound->getBuffer(i)->play(mSound->getPlayFlags());
    return ERROR_OK;
}

bool SoundChannelDSound::isPlaying()
{
    return mSound != nullptr && mSound->isPlaying();
}

ErrorCode SoundChannelDSound::setLevel(int32_t level)
{
    if (mSound == nullptr || !mSound->isPlaying())
        return ERROR_OK;
    // Every buffer: the one playing may be any of them.
    int32_t volume = SoundManager::levelToVolume(resolveLevel(level));
    for (uint32_t i = 0; i < mSound->getBufferCount(); ++i)
        mSound->getBuffer(i)->setVolume(volume);
    return ERROR_OK;
}

ErrorCode SoundChannelDSound::setFrequency(uint32_t frequency)
{
    if (mSound == nullptr)
        return ERROR_OK;
    PlatformResult result = mSound->getBuffer(0)->setFrequency(frequency);
    return resultFailed(result) ? reportSoundErrorAt(ERROR_DSOUND, result, kSourceName) : ERROR_OK;
}

ErrorCode SoundChannelDSound::getFrequency(uint32_t& frequency)
{
    frequency = 0;
    if (mSound == nullptr)
        return ERROR_OK;
    PlatformResult result = mSound->getBuffer(0)->getFrequency(frequency);
    return resultFailed(result) ? reportSoundErrorAt(ERROR_DSOUND, result, kSourceName) : ERROR_OK;
}

ErrorCode SoundChannelDSound::setPosition(uint32_t samples)
{
    if (mSound == nullptr)
        return ERROR_OK;
    uint64_t bytes = static_cast<uint64_t>(samples) * mSound->getBlockAlign();
    PlatformResult result = bytes < mSound->getBufferSize()
                                ? mSound->getBuffer(0)->setCurrentPosition(static_cast<uint32_t>(bytes))
                                : kAudioInvalidArgument;
    return resultFailed(result) ? reportSoundErrorAt(ERROR_DSOUND, result, kSourceName) : ERROR_OK;
}

ErrorCode SoundChannelDSound::getPosition(uint32_t& samples)
{
    samples = 0;
    if (mSound == nullptr)
        return ERROR_OK;
    uint32_t cursor = 0;
    PlatformResult result = mSound->getBuffer(0)->getCurrentPosition(&cursor, nullptr);
    if (resultFailed(result))
        return reportSoundErrorAt(ERROR_DSOUND, result, kSourceName);
    samples = cursor / mSound->getBlockAlign();
    return ERROR_OK;
}

ErrorCode SoundChannelDSound::getLength(uint32_t& samples)
{
    samples = 0;
    if (mSound == nullptr || mSound->getReader() == nullptr)
        return ERROR_OK;
    samples = mSound->getReader()->size() / mSound->getBlockAlign();
    return ERROR_OK;
}

ErrorCode SoundChannelDSound::setReverse(bool reverse)
{
    if (mSound == nullptr || mSound->isReversed() == reverse)
        return ERROR_OK;
    // A streaming sound's reader belongs to the refill thread meanwhile.
    std::lock_guard lock(mManager.getNotificationLock());
    mSound->setReversed(reverse);
    PlatformResult result = mSound->fillBuffer(mSound->getBuffer(0), false);
    return resultFailed(result) ? reportSoundErrorAt(ERROR_DSOUND, result, kSourceName) : ERROR_OK;
}
