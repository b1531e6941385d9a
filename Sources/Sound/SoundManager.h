#pragma once
// The platform-neutral sound service (service 8). It keeps the table of sound
// names by id, owns a fixed set of playback channels and the channel groups
// (effects, music) that carry a level and an on/off switch. The platform's
// manager derives from it and supplies the channels and the play-by-id path.
//
// Everything here is defined inline: the framework creates, configures and
// drives the manager (application base, settings file) without linking the
// sound library, which sits above it.
//
// Indices come from callers, tables and files: a sound, channel or group
// index outside its table is no sound and changes nothing.
#include "Framework/AppService.h"
#include "Framework/ErrorCodes.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class SoundManager;

namespace Platform
{
class AudioDevice;
}

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
    // Positions and lengths in samples (frames).
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
    static constexpr uint32_t EFFECTS_GROUP = 0;
    static constexpr uint32_t MUSIC_GROUP = 1;

    struct ChannelGroup
    {
        uint32_t first = 0;
        uint32_t count = 0;
        uint32_t level = 255;
        bool enabled = true;
    };

    SoundManager() : mSoundNames{"", "erreur.wav", "selectOption.wav"} {}
    // Implementations delete their channels in their own destructor, while
    // the state the channels use still exists.
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
            assert(mChannels[i] != nullptr);
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
    // The mixer the effects play on, for other sound sources (the videos'
    // sound tracks) to share; null when the manager has none.
    virtual Platform::AudioDevice* getSharedAudioDevice() { return nullptr; }

    // Integer division truncating toward zero is part of the mapping; levels
    // above 255 count as 255.
    static int32_t levelToVolume(int32_t level)
    {
        level = std::clamp(level, 0, 255);
        return VOLUME_FLOOR - VOLUME_FLOOR * level / 255;
    }
    // The inverse for -3000..0; any other volume gives a level clamped to 0..255.
    static int32_t volumeToLevel(int32_t volume)
    {
        int64_t level = (static_cast<int64_t>(VOLUME_FLOOR) - volume) * 255 / VOLUME_FLOOR;
        return static_cast<int32_t>(std::clamp<int64_t>(level, 0, 255));
    }

    // New groups have no channels, level 255 and are enabled.
    void setGroupCount(uint32_t n) { mGroups.resize(n); }
    uint32_t getGroupCount() const { return static_cast<uint32_t>(mGroups.size()); }
    // An unknown group reads as a group without channels at level 255.
    const ChannelGroup& getGroup(uint32_t group) const
    {
        static const ChannelGroup none;
        return group < mGroups.size() ? mGroups[group] : none;
    }

    void setGroupLevel(uint32_t group, uint32_t level)
    {
        if (group >= mGroups.size())
            return;
        ChannelGroup& g = mGroups[group];
        g.level = level;
        forEachChannel(g, [&](uint32_t i) { setChannelLevel(i, static_cast<int32_t>(level)); });
    }
    // Levels are not reapplied to the channels that join the group.
    void setGroupChannels(uint32_t group, uint32_t first, uint32_t count)
    {
        if (group >= mGroups.size())
            return;
        ChannelGroup& g = mGroups[group];
        forEachChannel(g, [&](uint32_t i) { mChannels[i]->setGroup(-1); });
        g.first = first;
        g.count = count;
        forEachChannel(g, [&](uint32_t i) { mChannels[i]->setGroup(static_cast<int32_t>(group)); });
    }
    // Switching a group off stops its channels; switching it on starts nothing.
    void setGroupEnabled(uint32_t group, bool enabled)
    {
        if (group >= mGroups.size())
            return;
        ChannelGroup& g = mGroups[group];
        g.enabled = enabled;
        if (!enabled)
            forEachChannel(g, [&](uint32_t i) { stopChannel(i); });
    }
    void setMusicLevel(uint32_t level) { setGroupLevel(MUSIC_GROUP, level); }
    void setSoundEnabled(bool enabled) { setGroupEnabled(EFFECTS_GROUP, enabled); }
    void setMusicEnabled(bool enabled) { setGroupEnabled(MUSIC_GROUP, enabled); }
    // The effects' level, kept in group 0 and given to its channels, then to
    // the level listener (the 2D engine passes it to its videos).
    void setSoundLevel(uint32_t level)
    {
        setGroupLevel(EFFECTS_GROUP, level);
        if (mLevelListener)
            mLevelListener(level);
    }
    void setLevelListener(std::function<void(uint32_t level)> listener)
    {
        mLevelListener = std::move(listener);
    }

    // Plays sound index `index` of the name table on the first free channel of first..last.
    ErrorCode playSound(uint32_t first, uint32_t last, uint32_t index, int32_t level, bool loop,
                        bool streaming)
    {
        if (index == 0 || index >= mSoundNames.size())
            return ERROR_OK;
        // A copy: the name must survive whatever the channel does to the table.
        std::string name = mSoundNames[index];
        return playOnFreeChannel(first, last, name, level, loop, streaming);
    }
    // A sound finding no free, enabled channel is dropped silently.
    ErrorCode playOnFreeChannel(uint32_t first, uint32_t last, const std::string& name, int32_t level,
                                bool loop, bool streaming)
    {
        for (uint64_t i = first; i <= last && i < mChannels.size(); ++i)
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
    // 255 for a channel in no group (or no channel at all).
    uint32_t getGroupLevelOfChannel(uint32_t channel) const
    {
        if (channel >= mChannels.size())
            return 255;
        int32_t group = mChannels[channel]->getGroup();
        if (group < 0 || static_cast<size_t>(group) >= mGroups.size())
            return 255;
        return mGroups[group].level;
    }

    uint32_t getChannelCount() const { return static_cast<uint32_t>(mChannels.size()); }
    // Null outside the channel table.
    SoundChannel* getChannel(uint32_t channel) const
    {
        return channel < mChannels.size() ? mChannels[channel].get() : nullptr;
    }
    uint32_t getSoundCount() const { return static_cast<uint32_t>(mSoundNames.size()); }
    // The empty name (no sound) outside the table.
    const std::string& getSoundName(uint32_t id) const
    {
        static const std::string none;
        return id < mSoundNames.size() ? mSoundNames[id] : none;
    }
    void setSoundName(uint32_t id, const std::string& name)
    {
        if (id < mSoundNames.size())
            mSoundNames[id] = name;
    }
    void clearSoundNames()
    {
        mSoundNames.clear();
        mSoundNames.shrink_to_fit();
    }

    // The application's master level (-1: none, the only answer of this game)
    // and whether sound may play at all; the application may install its own.
    static int32_t getMasterSoundLevel() { return queries().masterLevel ? queries().masterLevel() : -1; }
    static bool isSoundAllowed() { return queries().soundAllowed ? queries().soundAllowed() : true; }
    static void setApplicationQueries(std::function<int32_t()> masterLevel,
                                      std::function<bool()> soundAllowed)
    {
        queries().masterLevel = std::move(masterLevel);
        queries().soundAllowed = std::move(soundAllowed);
    }

protected:
    std::vector<std::string> mSoundNames;
    std::vector<ChannelGroup> mGroups;
    std::vector<std::unique_ptr<SoundChannel>> mChannels;

private:
    struct Queries
    {
        std::function<int32_t()> masterLevel;
        std::function<bool()> soundAllowed;
    };
    static Queries& queries()
    {
        static Queries instance;
        return instance;
    }

    // Calls f for each channel of the group's range that exists.
    template <typename F> void forEachChannel(const ChannelGroup& g, F f)
    {
        uint64_t end = std::min<uint64_t>(static_cast<uint64_t>(g.first) + g.count, mChannels.size());
        for (uint64_t i = g.first; i < end; ++i)
            f(static_cast<uint32_t>(i));
    }

    std::function<void(uint32_t)> mLevelListener;
};

// Makes the sound manager of a kind from the creators registered by the
// platform managers (SoundManagerDSound registers kind 1). An unknown kind
// gives a manager that can be configured like any other but whose init fails
// with ERROR_DSOUND, so that the application stops at start-up instead of
// using a service that is not there.
using SoundManagerCreator = std::unique_ptr<SoundManager> (*)();

inline std::map<uint32_t, SoundManagerCreator>& soundManagerCreators()
{
    static std::map<uint32_t, SoundManagerCreator> creators;
    return creators;
}

inline void registerSoundManagerKind(uint32_t kind, SoundManagerCreator creator)
{
    soundManagerCreators()[kind] = creator;
}

// A channel that plays nothing and reports nothing playing.
class SilentSoundChannel : public SoundChannel
{
public:
    using SoundChannel::SoundChannel;
    ErrorCode play(const std::string&, int32_t, bool, bool) override { return ERROR_OK; }
    ErrorCode stopIfPlaying() override { return ERROR_OK; }
    ErrorCode stop() override { return ERROR_OK; }
    ErrorCode restart() override { return ERROR_OK; }
    bool isPlaying() override { return false; }
    ErrorCode setLevel(int32_t) override { return ERROR_OK; }
    ErrorCode setFrequency(uint32_t) override { return ERROR_OK; }
    ErrorCode getFrequency(uint32_t& frequency) override
    {
        frequency = 0;
        return ERROR_OK;
    }
    ErrorCode setPosition(uint32_t) override { return ERROR_OK; }
    ErrorCode getPosition(uint32_t& samples) override
    {
        samples = 0;
        return ERROR_OK;
    }
    ErrorCode getLength(uint32_t& samples) override
    {
        samples = 0;
        return ERROR_OK;
    }
    ErrorCode setReverse(bool) override { return ERROR_OK; }
};

class UnavailableSoundManager final : public SoundManager
{
public:
    ~UnavailableSoundManager() override { mChannels.clear(); }
    ErrorCode init() override { return ERROR_DSOUND; }
    using SoundManager::playSound;
    ErrorCode playSound(uint32_t, int32_t, bool) override { return ERROR_OK; }
    void stopChannel(uint32_t) override {}
    void setChannelLevel(uint32_t, int32_t) override {}
    uint32_t getMinSampleRate() override { return 0; }
    uint32_t getMaxSampleRate() override { return 0; }
    uint32_t getCapability() override { return 0; }
    SoundChannel* createChannel() override { return new SilentSoundChannel(this); }
};

inline std::unique_ptr<SoundManager> createSoundManager(uint32_t kind)
{
    auto found = soundManagerCreators().find(kind);
    std::unique_ptr<SoundManager> manager = found != soundManagerCreators().end() ? found->second() : nullptr;
    if (manager == nullptr)
        manager = std::make_unique<UnavailableSoundManager>();
    return manager;
}
