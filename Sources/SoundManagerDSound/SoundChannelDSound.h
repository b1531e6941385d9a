#pragma once
// A channel of the sound manager of kind 1: it loads a sound file by name
// into a static sound (kept while the same name is played again) or into a
// new streaming sound on each play.
#include "Sound/SoundManager.h"
#include "SoundManagerDSound/StaticSound.h"
#include "SoundManagerDSound/StreamingSound.h"

#include <memory>
#include <string>

class SoundManagerDSound;

class SoundChannelDSound final : public SoundChannel
{
public:
    explicit SoundChannelDSound(SoundManagerDSound* owner);
    ~SoundChannelDSound() override;

    ErrorCode play(const std::string& name, int32_t level, bool loop, bool streaming) override;
    ErrorCode stopIfPlaying() override;
    ErrorCode stop() override;
    ErrorCode restart() override;
    bool isPlaying() override;
    ErrorCode setLevel(int32_t level) override;
    ErrorCode setFrequency(uint32_t frequency) override;
    ErrorCode getFrequency(uint32_t& frequency) override;
    ErrorCode setPosition(uint32_t samples) override;
    ErrorCode getPosition(uint32_t& samples) override;
    ErrorCode getLength(uint32_t& samples) override;
    ErrorCode setReverse(bool reverse) override;

    StaticSound* getSound() const { return mSound.get(); }
    const std::string& getSoundName() const { return mName; }

private:
    // Takes a streaming sound off the notification thread, then deletes it.
    void releaseSound();
    // -1 is the master level, or else the channel's group level.
    int32_t resolveLevel(int32_t level) const;

    SoundManagerDSound& mManager;
    std::unique_ptr<StaticSound> mSound;
    std::string mName;
};
