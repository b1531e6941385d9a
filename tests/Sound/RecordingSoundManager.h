#pragma once
// A sound manager for tests: plays nothing and records every call that reaches
// the platform part, in order, as short texts ("stop 3", "level 0 178",
// "play 1 -1 loop", "channel 2 play name.wav 255").
#include "Sound/SoundManager.h"

#include <string>
#include <vector>

class RecordingSoundManager;

class RecordingSoundChannel final : public SilentSoundChannel
{
public:
    RecordingSoundChannel(SoundManager* owner, std::vector<std::string>& log)
        : SilentSoundChannel(owner), mLog(log)
    {
    }

    ErrorCode play(const std::string& name, int32_t level, bool loop, bool streaming) override
    {
        mLog.push_back("channel " + std::to_string(mIndex) + " play " + name + " " + std::to_string(level) +
                       (loop ? " loop" : "") + (streaming ? " stream" : ""));
        playing = true;
        return playResult;
    }
    ErrorCode stopIfPlaying() override { return stop(); }
    ErrorCode stop() override
    {
        playing = false;
        return ERROR_OK;
    }
    bool isPlaying() override { return playing; }
    ErrorCode setLevel(int32_t level) override
    {
        this->level = level;
        return ERROR_OK;
    }
    ErrorCode getFrequency(uint32_t& frequency) override
    {
        frequency = 22050;
        return ERROR_OK;
    }

    bool playing = false;
    int32_t level = -1;
    ErrorCode playResult = ERROR_OK;

private:
    std::vector<std::string>& mLog;
};

class RecordingSoundManager final : public SoundManager
{
public:
    // Configured as the application base configures the real one: 8 channels,
    // group 0 (effects) = channels 1..7, group 1 (music) = channel 0, both at 255.
    RecordingSoundManager()
    {
        setChannelCount(8);
        setGroupCount(2);
        setGroupChannels(1, 0, 1);
        setGroupLevel(1, 255);
        setGroupChannels(0, 1, 7);
        setGroupLevel(0, 255);
        log.clear();
    }
    ~RecordingSoundManager() override { mChannels.clear(); }

    using SoundManager::playSound;
    ErrorCode playSound(uint32_t id, int32_t level, bool loop) override
    {
        log.push_back("play " + std::to_string(id) + " " + std::to_string(level) + (loop ? " loop" : ""));
        return ERROR_OK;
    }
    void stopChannel(uint32_t channel) override
    {
        log.push_back("stop " + std::to_string(channel));
        getChannel(channel)->stop();
    }
    void setChannelLevel(uint32_t channel, int32_t level) override
    {
        log.push_back("level " + std::to_string(channel) + " " + std::to_string(level));
        getChannel(channel)->setLevel(level);
    }
    uint32_t getMinSampleRate() override { return 100; }
    uint32_t getMaxSampleRate() override { return 100000; }
    uint32_t getCapability() override { return 1; }
    SoundChannel* createChannel() override { return new RecordingSoundChannel(this, log); }

    RecordingSoundChannel& channel(uint32_t index)
    {
        return static_cast<RecordingSoundChannel&>(*getChannel(index));
    }

    std::vector<std::string> log;
};
