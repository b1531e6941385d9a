#include "SoundManagerDSound/SoundManagerDSound.h"

#include "Framework/Messages.h"
#include "Framework/Text1252Literal.h"
#include "Sound/SoundErrors.h"
#include "SoundManagerDSound/SoundChannelDSound.h"

#include <algorithm>
#include <chrono>
#include <system_error>

using namespace Platform;

namespace
{
const char* const kSourceName = "Sources\\SoundManagerDSound\\SoundManagerDSound.cpp";
} // namespace

SoundManagerDSound::SoundManagerDSound(AudioOutput output) : mDevice(output), mWake(false, true)
{
    mLoadedSounds.resize(getSoundCount());
}

SoundManagerDSound::~SoundManagerDSound()
{
    // The thread goes first: nothing it may touch is released before it ends.
    stopNotificationThread();
    mChannels.clear();
    mLoadedSounds.clear();
}

void SoundManagerDSound::registerKind()
{
    registerSoundManagerKind(
        KIND, []() -> std::unique_ptr<SoundManager> { return std::make_unique<SoundManagerDSound>(); });
}

ErrorCode SoundManagerDSound::init()
{
    if (mInitialised)
        return ERROR_OK;
    // 1.
    if (ErrorCode error = SoundManager::init())
        return error;
    // 2. The device.
    PlatformResult result = mDevice.initialize();
    if (resultFailed(result))
        return reportSoundErrorAt(ERROR_DSOUND, result, kSourceName);
    // 3. The primary format.
    result = mDevice.setPrimaryBufferFormat(2, 22050, 16);
    if (resultFailed(result))
        return reportSoundErrorAt(ERROR_DSOUND, result, kSourceName);
    // 4. The device's capabilities.
    result = mDevice.getCaps(mCaps);
    if (resultFailed(result))
        return reportSoundErrorAt(ERROR_DSOUND, result, kSourceName);
    // 5. The notification thread.
    try
    {
        mThread = std::thread(&SoundManagerDSound::notificationThread, this);
    }
    catch (const std::system_error&)
    {
        return ERROR_INVALID;
    }
    mInitialised = true;
    return ERROR_OK;
}

ErrorCode SoundManagerDSound::playSound(uint32_t id, int32_t /*level*/, bool loop)
{
    // 1. No sound, or none the tables know.
    if (id == 0 || id >= getSoundCount() || id >= mLoadedSounds.size())
        return ERROR_OK;

    // 2. Allowed to play.
    if (getMasterSoundLevel() != -1)
    {
        if (!isSoundAllowed())
            return ERROR_OK;
    }
    else if (!getGroup(EFFECTS_GROUP).enabled)
    {
        return ERROR_OK;
    }

    // 3. Loaded on first use.
    std::unique_ptr<StaticSound>& sound = mLoadedSounds[id];
    if (sound == nullptr)
    {
        const std::string name = getSoundName(id);
        if (name.empty())
            showMessage(TEXT_1252("Son non initialisé %i"), static_cast<int>(id));
        PlatformResult result = mDevice.createStaticSound(name, kBufferControlVolume, 1, sound);
        if (resultFailed(result))
        {
            showMessage("Impossible de charger le son %s", name.c_str());
            return ERROR_DSOUND;
        }
    }

    // 4. From the start again.
    if (sound->isPlaying())
    {
        sound->reset();
        sound->stop();
    }

    // 5.
    sound->play(0, loop ? kPlayLooping : 0,
                levelToVolume(static_cast<int32_t>(getGroup(EFFECTS_GROUP).level)), -1, 0);
    return ERROR_OK;
}

void SoundManagerDSound::stopChannel(uint32_t channel)
{
    if (SoundChannel* c = getChannel(channel))
        c->stop();
}

void SoundManagerDSound::setChannelLevel(uint32_t channel, int32_t level)
{
    if (SoundChannel* c = getChannel(channel))
        c->setLevel(level);
}

void SoundManagerDSound::setSoundCount(uint32_t n)
{
    SoundManager::setSoundCount(n);
    mLoadedSounds.resize(n);
}

SoundChannel* SoundManagerDSound::createChannel()
{
    return new SoundChannelDSound(this);
}

void SoundManagerDSound::addStreamingSound(StreamingSound* sound)
{
    {
        std::lock_guard lock(mNotificationLock);
        mRegistrations.push_back({sound, sound->getEvent()});
    }
    mWake.set();
}

void SoundManagerDSound::removeStreamingSound(StreamingSound* sound)
{
    {
        std::lock_guard lock(mNotificationLock);
        mRegistrations.erase(std::remove_if(mRegistrations.begin(), mRegistrations.end(),
                                            [sound](const Registration& r) { return r.sound == sound; }),
                             mRegistrations.end());
    }
    mWake.set();
}

size_t SoundManagerDSound::getStreamingSoundCount()
{
    std::lock_guard lock(mNotificationLock);
    return mRegistrations.size();
}

void SoundManagerDSound::notificationThread()
{
    // The events waited on are held here until the list is rebuilt, so that
    // a sound removed meanwhile never leaves a dangling entry.
    std::vector<std::shared_ptr<AudioEvent>> held;
    std::vector<AudioEvent*> waitList{&mWake};
    for (;;)
    {
        // 1-2. Wait for any event, then take the lock.
        size_t index = AudioEvent::waitAny(waitList.data(), waitList.size(), &mThreadIdle);
        std::lock_guard lock(mNotificationLock);
        if (mStopping)
            return;
        if (index == waitList.size() - 1)
        {
            // 3. The wake event: the registered sounds changed.
            held.clear();
            waitList.clear();
            for (const Registration& r : mRegistrations)
            {
                held.push_back(r.event);
                waitList.push_back(r.event.get());
            }
            waitList.push_back(&mWake);
            continue;
        }
        // 4. A sound's block was played: refill it once.
        AudioEvent* fired = waitList[index];
        for (const Registration& r : mRegistrations)
        {
            if (r.event.get() == fired)
            {
                r.sound->refill();
                break;
            }
        }
    }
}

void SoundManagerDSound::stopNotificationThread()
{
    if (!mThread.joinable())
        return;
    {
        std::lock_guard lock(mNotificationLock);
        mStopping = true;
    }
    mWake.set();
    mThread.join();
}

bool SoundManagerDSound::waitForNotifications(uint32_t timeoutMs)
{
    if (!mThread.joinable())
        return true;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;)
    {
        bool pending = mWake.isSet();
        {
            std::lock_guard lock(mNotificationLock);
            for (const Registration& r : mRegistrations)
                pending = pending || r.event->isSet();
        }
        if (!pending && mThreadIdle.load())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
}
