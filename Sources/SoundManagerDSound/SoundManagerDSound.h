#pragma once
// The sound manager of kind 1, on the audio device: it keeps one loaded sound
// per sound id for play-by-id, makes SoundChannelDSound channels, and runs the
// notification thread that refills streaming buffers block by block.
//
// Threads: everything runs on the main thread except the notification
// thread, which touches only the registered streaming sounds, under the
// notification lock. The main thread takes that lock to register a sound, to
// remove one, and around anything else that touches a registered sound's
// reader or writing state.
#include "Platform/Audio/AudioEvent.h"
#include "Sound/SoundManager.h"
#include "SoundManagerDSound/SoundDevice.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class SoundChannelDSound;

class SoundManagerDSound : public SoundManager
{
public:
    static constexpr uint32_t KIND = 1;

    // Manual output opens no system device: tests drive the mixer through
    // getAudioDevice().pump().
    explicit SoundManagerDSound(Platform::AudioOutput output = Platform::AudioOutput::System);
    ~SoundManagerDSound() override;

    ErrorCode init() override;
    using SoundManager::playSound;
    ErrorCode playSound(uint32_t id, int32_t level, bool loop) override;
    void stopChannel(uint32_t channel) override;
    void setChannelLevel(uint32_t channel, int32_t level) override;
    void setSoundCount(uint32_t n) override;
    uint32_t getMinSampleRate() override { return mCaps.minSecondaryRate; }
    uint32_t getMaxSampleRate() override { return mCaps.maxSecondaryRate; }
    uint32_t getCapability() override { return 1; }
    SoundChannel* createChannel() override;
    // Null until init has opened the device.
    Platform::AudioDevice* getSharedAudioDevice() override
    {
        return mInitialised ? &mDevice.audioDevice() : nullptr;
    }

    SoundDevice& getDevice() { return mDevice; }
    Platform::AudioDevice& getAudioDevice() { return mDevice.audioDevice(); }
    // The sound loaded for play-by-id, or null.
    StaticSound* getLoadedSound(uint32_t id) const
    {
        return id < mLoadedSounds.size() ? mLoadedSounds[id].get() : nullptr;
    }

    // Registration of the streaming sounds with the notification thread. The
    // sound must be ready to play: the thread may refill it at once.
    void addStreamingSound(StreamingSound* sound);
    void removeStreamingSound(StreamingSound* sound);
    std::mutex& getNotificationLock() { return mNotificationLock; }
    size_t getStreamingSoundCount();

    // Waits (up to the time-out) until the notification thread has handled
    // every pending signal; tests pumping the mixer by hand call it between
    // pumps. False on time-out.
    bool waitForNotifications(uint32_t timeoutMs = 5000);

    // Makes kind 1 known to createSoundManager.
    static void registerKind();

private:
    struct Registration
    {
        StreamingSound* sound;
        std::shared_ptr<Platform::AudioEvent> event;
    };
    void notificationThread();
    void stopNotificationThread();

    SoundDevice mDevice;
    Platform::AudioCaps mCaps;
    bool mInitialised = false;
    std::vector<std::unique_ptr<StaticSound>> mLoadedSounds;

    std::mutex mNotificationLock;
    std::vector<Registration> mRegistrations;
    Platform::AudioEvent mWake;
    bool mStopping = false;
    std::atomic<bool> mThreadIdle{false};
    std::thread mThread;
};
