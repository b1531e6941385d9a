#pragma once
// The platform-neutral sound service (service 8). It keeps the table of sound
// names by id, owns a fixed set of playback channels and the channel groups
// (effects, music) that carry a level and an on/off switch. The platform's
// manager derives from it and supplies the channels and the play-by-id path.
//
// The group operations are defined here, inline, because the framework's
// settings object drives them without linking the sound library.
#include "Framework/AppService.h"
#include "Framework/ErrorCodes.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class SoundManager;

// One playback channel, owned by its manager. Levels passed as -1 are resolved
// by the channel when it uses them (master level, then its group's level).
class SoundChannel
{
public:
    explicit SoundChannel(SoundManager* owner) : mOwner(owner) {}
    virtual ~SoundChannel() = default;
    SoundChannel(const SoundChannel&) = delete;
    SoundChannel& operator=(const SoundChannel&) = delete;

    virtual ErrorCode play(const std::string& name, int32_t level, bool loop, bool streaming) = 0;
    virtual ErrorCode stopIfPlaying() = 0;
    virtual ErrorCode stop() = 0;
    // Starts every buffer again from its current position.
    virtual ErrorCode restart() = 0;
    virtual bool isPlaying() = 0;
    virtual ErrorCode setLevel(int32_t level) = 0;
    virtual ErrorCode setFrequency(uint32_t frequency) = 0;
    virtual ErrorCode getFrequency(uint32_t& frequency) = 0;
    virtual ErrorCode setPosition(uint32_t samples) = 0;
    virtual ErrorCode getPosition(uint32_t& samples) = 0;
    virtual ErrorCode getLength(uint32_t& samples) = 0;
    virtual ErrorCode setReverse(bool reverse) = 0;

    SoundManager* getOwner() const { return mOwner; }
    int32_t getGroup() const { return mGroup; }
    void setGroup(int32_t group) { mGroup = group; }
    uint32_t getIndex() const { return mIndex; }
    void setIndex(uint32_t index) { mIndex = index; }

protected:
    SoundManager* mOwner;
    int32_t mGroup = -1;
    uint32_t mIndex = 0;
};

class SoundManager : public AppService
{
public:
    // Volume of level 0, in hundredths of a decibel.
    static constexpr int32_t VOLUME_FLOOR = -3000;
    static constexpr uint32_t SERVICE_ID = 8;

    struct ChannelGroup
    {
        uint32_t first = 0;
        uint32_t count = 0;
        uint32_t level = 255;
        bool enabled = true;
    };

    SoundManager() : mSoundNames{"", "erreur.wav", "selectOption.wav"} {}
    ~SoundManager() override { clearSoundNames(); }
    SoundManager(const SoundManager&) = delete;
    SoundManager& operator=(const SoundManager&) = delete;

    // Slots in the order the platform managers override them.
    ErrorCode init() override { return ERROR_OK; }
    uint32_t getServiceId() override { return SERVICE_ID; }
    // Channels beyond n are deleted; new ones come from createChannel and learn their index.
    virtual void setChannelCount(uint32_t n)
    {
        size_t old = mChannels.size();
        mChannels.resize(n);
        for (size_t i = old; i < n; ++i)
        {
            mChannels[i].reset(createChannel());
            mChannels[i]->setIndex(static_cast<uint32_t>(i));
        }
    }
    // Plays a sound of the name table by id on the manager's own buffers; callers pass level -1.
    virtual ErrorCode playSound(uint32_t id, int32_t level, bool loop) = 0;
    virtual void stopChannel(uint32_t channel) = 0;
    virtual void setChannelLevel(uint32_t channel, int32_t level) = 0;
    virtual void setSoundCount(uint32_t n) { mSoundNames.resize(n); }
    virtual uint32_t getMinSampleRate() = 0;
    virtual uint32_t getMaxSampleRate() = 0;
    virtual uint32_t getCapability() = 0;
    // A new channel owned by this manager, in no group.
    virtual SoundChannel* createChannel() = 0;

    static int32_t levelToVolume(int32_t level) { return VOLUME_FLOOR - VOLUME_FLOOR * level / 255; }
    static int32_t volumeToLevel(int32_t volume) { return (VOLUME_FLOOR - volume) * 255 / VOLUME_FLOOR; }

    void setGroupCount(uint32_t n) { mGroups.resize(n); }
    uint32_t getGroupCount() const { return static_cast<uint32_t>(mGroups.size()); }
    const ChannelGroup& getGroup(uint32_t group) const { return mGroups.at(group); }

    void setGroupLevel(uint32_t group, uint32_t level)
    {
        if (group >= mGroups.size())
            return;
        ChannelGroup& g = mGroups[group];
        g.level = level;
        for (uint32_t i = g.first; i < g.first + g.count && i < mChannels.size(); ++i)
            setChannelLevel(i, static_cast<int32_t>(level));
    }
    // Levels are not reapplied to the channels that join the group.
    void setGroupChannels(uint32_t group, uint32_t first, uint32_t count)
    {
        if (group >= mGroups.size())
            return;
        ChannelGroup& g = mGroups[group];
        for (uint32_t i = g.first; i < g.first + g.count && i < mChannels.size(); ++i)
            mChannels[i]->setGroup(-1);
        g.first = first;
        g.count = count;
        for (uint32_t i = first; i < first + count && i < mChannels.size(); ++i)
            mChannels[i]->setGroup(static_cast<int32_t>(group));
    }
    // Switching a group off stops its channels; switching it on starts nothing.
    void setGroupEnabled(uint32_t group, bool enabled)
    {
        if (group >= mGroups.size())
            return;
        ChannelGroup& g = mGroups[group];
        g.enabled = enabled;
        if (enabled)
            return;
        for (uint32_t i = g.first; i < g.first + g.count && i < mChannels.size(); ++i)
            stopChannel(i);
    }
    void setMusicLevel(uint32_t level) { setGroupLevel(1, level); }
    void setSoundEnabled(bool enabled) { setGroupEnabled(0, enabled); }
    void setMusicEnabled(bool enabled) { setGroupEnabled(1, enabled); }
    // The effects' level, kept in group 0 and given to its channels. The
    // videos of the 2D engine's components follow it once the engine exists.
    void setSoundLevel(uint32_t level) { setGroupLevel(0, level); }

    // Plays sound index `index` of the name table on the first free channel of first..last.
    ErrorCode playSound(uint32_t first, uint32_t last, uint32_t index, int32_t level, bool loop,
                        bool streaming)
    {
        if (index == 0 || index >= mSoundNames.size())
            return ERROR_OK;
        return playOnFreeChannel(first, last, mSoundNames[index], level, loop, streaming);
    }
    // A sound finding no free, enabled channel is dropped silently.
    ErrorCode playOnFreeChannel(uint32_t first, uint32_t last, const std::string& name, int32_t level,
                                bool loop, bool streaming)
    {
        for (uint32_t i = first; i <= last && i < mChannels.size(); ++i)
        {
            SoundChannel& channel = *mChannels[i];
            int32_t group = channel.getGroup();
            if (group >= 0 && static_cast<size_t>(group) < mGroups.size() && !mGroups[group].enabled)
                continue;
            if (channel.isPlaying())
                continue;
            return channel.play(name, level, loop, streaming);
        }
        return ERROR_OK;
    }
    uint32_t getGroupLevelOfChannel(uint32_t channel) const
    {
        int32_t group = mChannels.at(channel)->getGroup();
        if (group < 0 || static_cast<size_t>(group) >= mGroups.size())
            return 255;
        return mGroups[group].level;
    }

    uint32_t getChannelCount() const { return static_cast<uint32_t>(mChannels.size()); }
    SoundChannel* getChannel(uint32_t channel) const { return mChannels.at(channel).get(); }
    uint32_t getSoundCount() const { return static_cast<uint32_t>(mSoundNames.size()); }
    const std::string& getSoundName(uint32_t id) const { return mSoundNames.at(id); }
    void setSoundName(uint32_t id, const std::string& name) { mSoundNames.at(id) = name; }
    void clearSoundNames()
    {
        mSoundNames.clear();
        mSoundNames.shrink_to_fit();
    }

protected:
    std::vector<std::string> mSoundNames;
    std::vector<ChannelGroup> mGroups;
    std::vector<std::unique_ptr<SoundChannel>> mChannels;
};
