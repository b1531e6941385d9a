#pragma once
// The application's sound service: a table of sounds by file name, a fixed
// set of playback channels and the channel groups (sound effects, music) that
// carry a level from 0 to 255 and an on/off switch. The platform part (device,
// buffers, loading) lives in the implementation chosen by kind.
#include "Framework/ErrorCodes.h"
#include "Platform/Audio/AudioResult.h"
#include "Sound/SoundChannel.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Volume, in hundredths of a decibel, of level 0.
inline constexpr int32_t kSoundVolumeFloor = -3000;

struct ChannelRange
{
    uint32_t first = 0;
    uint32_t count = 0;
};

struct ChannelGroup
{
    uint32_t firstChannel = 0;
    uint32_t channelCount = 0;
    uint32_t level = 255;
    bool enabled = true;
};

class SoundManager
{
public:
    static constexpr uint32_t kServiceId = 8;
    // The groups the application sets up.
    static constexpr uint32_t kEffectsGroup = 0;
    static constexpr uint32_t kMusicGroup = 1;

    SoundManager();
    virtual ~SoundManager();
    SoundManager(const SoundManager&) = delete;
    SoundManager& operator=(const SoundManager&) = delete;

    virtual ErrorCode init() { return ERROR_OK; }
    virtual uint32_t getServiceId() const { return kServiceId; }
    // Channels beyond n are deleted; new ones come from createChannel.
    virtual void setChannelCount(uint32_t count);
    // Plays a sound of the table by id with the effects group's level. An id
    // outside the table is no sound.
    virtual ErrorCode playSound(uint32_t soundId, int32_t level, bool loop) = 0;
    virtual ErrorCode stopChannel(uint32_t channel) = 0;
    virtual ErrorCode setChannelLevel(uint32_t channel, int32_t level) = 0;
    virtual void setSoundCount(uint32_t count);
    virtual uint32_t getMinSampleRate() = 0;
    virtual uint32_t getMaxSampleRate() = 0;
    virtual uint32_t getCapabilities() = 0;
    virtual std::unique_ptr<SoundChannel> createChannel() = 0;

    static int32_t levelToVolume(uint32_t level);
    // Clamped to 0..255 whatever the volume.
    static uint32_t volumeToLevel(int32_t volume);

    void setGroupLevel(uint32_t group, uint32_t level);
    // The group is created (level 255, enabled) when it does not exist yet.
    void setGroupChannels(uint32_t group, ChannelRange range);
    void setGroupEnabled(uint32_t group, bool enabled);
    void setMusicLevel(uint32_t level) { setGroupLevel(kMusicGroup, level); }
    void setSoundEnabled(bool enabled) { setGroupEnabled(kEffectsGroup, enabled); }
    void setMusicEnabled(bool enabled) { setGroupEnabled(kMusicGroup, enabled); }
    // The effects level; it also reaches the videos through the level listener.
    void setSoundLevel(uint32_t level);

    // Plays sound `index` of the table on the first free enabled channel of
    // first..last; index 0, an index outside the table or no free channel
    // plays nothing and returns 0.
    ErrorCode playSound(uint32_t firstChannel, uint32_t lastChannel, uint32_t index, int32_t level, bool loop,
                        bool streaming);
    ErrorCode playOnFreeChannel(uint32_t firstChannel, uint32_t lastChannel, const std::string& name,
                                int32_t level, bool loop, bool streaming);

    // 255 for a channel without a group (or an unknown channel).
    uint32_t getGroupLevelOfChannel(uint32_t channel) const;
    bool isGroupEnabled(uint32_t group) const;
    uint32_t getGroupLevel(uint32_t group) const;
    uint32_t getGroupCount() const { return static_cast<uint32_t>(mGroups.size()); }
    const ChannelGroup* getGroup(uint32_t group) const;

    uint32_t getChannelCount() const { return static_cast<uint32_t>(mChannels.size()); }
    // Null outside the channel table.
    SoundChannel* getChannel(uint32_t channel) const;

    uint32_t getSoundCount() const { return static_cast<uint32_t>(mSoundNames.size()); }
    // The empty name outside the table.
    const std::string& getSoundName(uint32_t soundId) const;
    // Ignored outside the table.
    void setSoundName(uint32_t soundId, const std::string& name);
    void clearSoundNames();

    // The application's master level (-1 for none, the only answer this game
    // gives) and whether sound may play at all. The application may install
    // its own answers.
    static int32_t getMasterSoundLevel();
    static bool isSoundAllowed();
    static void setApplicationQueries(std::function<int32_t()> masterLevel,
                                      std::function<bool()> soundAllowed);

    // Called with the effects level by setSoundLevel; the 2D engine installs
    // one that passes it to its videos.
    void setLevelListener(std::function<void(uint32_t level)> listener)
    {
        mLevelListener = std::move(listener);
    }

protected:
    // Deletes every channel; implementations call it from their destructor
    // while the state their channels use still exists.
    void destroyChannels();

private:
    std::vector<std::string> mSoundNames;
    std::vector<ChannelGroup> mGroups;
    std::vector<std::unique_ptr<SoundChannel>> mChannels;
    std::function<void(uint32_t)> mLevelListener;
};

// Makes the sound manager of a kind. An unknown kind gives a manager whose
// init fails with ERROR_DSOUND, so that the application stops at start-up
// instead of using a missing service.
using SoundManagerCreator = std::unique_ptr<SoundManager> (*)();
void registerSoundManagerKind(uint32_t kind, SoundManagerCreator creator);
std::unique_ptr<SoundManager> createSoundManager(uint32_t kind);

// Reports a failure of the sound layer and returns `code`. The default shows
// the result's name followed by the formatted detail through showMessage; the
// application installs its own report (language texts, the no-sound-card text
// for Platform::kAudioNoDriver).
using SoundErrorReporter =
    std::function<void(ErrorCode code, Platform::AudioResult result, const std::string& detail)>;
void setSoundErrorReporter(SoundErrorReporter reporter);
ErrorCode reportSoundError(ErrorCode code, Platform::AudioResult result, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
