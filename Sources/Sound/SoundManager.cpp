#include "Sound/SoundManager.h"

#include "Framework/Messages.h"

#include <algorithm>
#include <cstdarg>
#include <map>
#include <mutex>

namespace
{
// More groups than any layout needs: a wild group index is ignored.
constexpr uint32_t kMaxGroups = 64;

std::mutex gHooksMutex;
std::function<int32_t()> gMasterLevel;
std::function<bool()> gSoundAllowed;
SoundErrorReporter gErrorReporter;
std::map<uint32_t, SoundManagerCreator> gCreators;

// The channel of a manager that has no device: it plays nothing.
class SilentChannel final : public SoundChannel
{
public:
    using SoundChannel::SoundChannel;
    ErrorCode play(const std::string&, int32_t, bool, bool) override { return ERROR_OK; }
    ErrorCode stopIfPlaying() override { return ERROR_OK; }
    ErrorCode stop() override { return ERROR_OK; }
    ErrorCode replay() override { return ERROR_OK; }
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

// What an unknown kind gives: configurable like any manager, failing init.
class UnavailableSoundManager final : public SoundManager
{
public:
    ~UnavailableSoundManager() override { destroyChannels(); }
    ErrorCode init() override { return ERROR_DSOUND; }
    ErrorCode playSound(uint32_t, int32_t, bool) override { return ERROR_OK; }
    using SoundManager::playSound;
    ErrorCode stopChannel(uint32_t) override { return ERROR_OK; }
    ErrorCode setChannelLevel(uint32_t, int32_t) override { return ERROR_OK; }
    uint32_t getMinSampleRate() override { return 0; }
    uint32_t getMaxSampleRate() override { return 0; }
    uint32_t getCapabilities() override { return 0; }
    std::unique_ptr<SoundChannel> createChannel() override { return std::make_unique<SilentChannel>(*this); }
};
} // namespace

SoundManager::SoundManager() : mSoundNames{"", "erreur.wav", "selectOption.wav"} {}

SoundManager::~SoundManager()
{
    destroyChannels();
    clearSoundNames();
}

void SoundManager::destroyChannels()
{
    mChannels.clear();
}

void SoundManager::setChannelCount(uint32_t count)
{
    uint32_t previous = getChannelCount();
    if (count < previous)
    {
        mChannels.resize(count);
        return;
    }
    for (uint32_t i = previous; i < count; ++i)
    {
        std::unique_ptr<SoundChannel> channel = createChannel();
        channel->setIndex(i);
        mChannels.push_back(std::move(channel));
    }
}

void SoundManager::setSoundCount(uint32_t count)
{
    mSoundNames.resize(count);
}

int32_t SoundManager::levelToVolume(uint32_t level)
{
    // Integer division truncating toward zero is part of the mapping.
    int32_t clamped = static_cast<int32_t>(std::min<uint32_t>(level, 255));
    return kSoundVolumeFloor - kSoundVolumeFloor * clamped / 255;
}

uint32_t SoundManager::volumeToLevel(int32_t volume)
{
    int64_t level = (static_cast<int64_t>(kSoundVolumeFloor) - volume) * 255 / kSoundVolumeFloor;
    return static_cast<uint32_t>(std::clamp<int64_t>(level, 0, 255));
}

const ChannelGroup* SoundManager::getGroup(uint32_t group) const
{
    return group < mGroups.size() ? &mGroups[group] : nullptr;
}

void SoundManager::setGroupLevel(uint32_t group, uint32_t level)
{
    if (group >= mGroups.size())
        return;
    ChannelGroup& g = mGroups[group];
    g.level = level;
    uint64_t end =
        std::min<uint64_t>(static_cast<uint64_t>(g.firstChannel) + g.channelCount, getChannelCount());
    for (uint64_t i = g.firstChannel; i < end; ++i)
        setChannelLevel(static_cast<uint32_t>(i), static_cast<int32_t>(level));
}

void SoundManager::setGroupChannels(uint32_t group, ChannelRange range)
{
    if (group >= kMaxGroups)
        return;
    if (group >= mGroups.size())
        mGroups.resize(group + 1);
    ChannelGroup& g = mGroups[group];
    auto assign = [this](uint32_t first, uint32_t count, int32_t value)
    {
        uint64_t end = std::min<uint64_t>(static_cast<uint64_t>(first) + count, getChannelCount());
        for (uint64_t i = first; i < end; ++i)
            mChannels[i]->setGroup(value);
    };
    assign(g.firstChannel, g.channelCount, -1);
    g.firstChannel = range.first;
    g.channelCount = range.count;
    assign(g.firstChannel, g.channelCount, static_cast<int32_t>(group));
}

void SoundManager::setGroupEnabled(uint32_t group, bool enabled)
{
    if (group >= mGroups.size())
        return;
    ChannelGroup& g = mGroups[group];
    g.enabled = enabled;
    if (enabled)
        return;
    uint64_t end =
        std::min<uint64_t>(static_cast<uint64_t>(g.firstChannel) + g.channelCount, getChannelCount());
    for (uint64_t i = g.firstChannel; i < end; ++i)
        stopChannel(static_cast<uint32_t>(i));
}

void SoundManager::setSoundLevel(uint32_t level)
{
    setGroupLevel(kEffectsGroup, level);
    if (mLevelListener)
        mLevelListener(level);
}

bool SoundManager::isGroupEnabled(uint32_t group) const
{
    return group < mGroups.size() && mGroups[group].enabled;
}

uint32_t SoundManager::getGroupLevel(uint32_t group) const
{
    return group < mGroups.size() ? mGroups[group].level : 255;
}

uint32_t SoundManager::getGroupLevelOfChannel(uint32_t channel) const
{
    SoundChannel* c = getChannel(channel);
    if (c == nullptr || c->getGroup() < 0)
        return 255;
    return getGroupLevel(static_cast<uint32_t>(c->getGroup()));
}

SoundChannel* SoundManager::getChannel(uint32_t channel) const
{
    return channel < mChannels.size() ? mChannels[channel].get() : nullptr;
}

ErrorCode SoundManager::playSound(uint32_t firstChannel, uint32_t lastChannel, uint32_t index, int32_t level,
                                  bool loop, bool streaming)
{
    if (index == 0 || index >= mSoundNames.size())
        return ERROR_OK;
    // A copy: playing may change the table through the channel.
    std::string name = mSoundNames[index];
    return playOnFreeChannel(firstChannel, lastChannel, name, level, loop, streaming);
}

ErrorCode SoundManager::playOnFreeChannel(uint32_t firstChannel, uint32_t lastChannel,
                                          const std::string& name, int32_t level, bool loop, bool streaming)
{
    if (mChannels.empty())
        return ERROR_OK;
    uint32_t last = std::min(lastChannel, getChannelCount() - 1);
    for (uint32_t i = firstChannel; i <= last; ++i)
    {
        SoundChannel& channel = *mChannels[i];
        int32_t group = channel.getGroup();
        if (group >= 0 && !isGroupEnabled(static_cast<uint32_t>(group)))
            continue;
        if (channel.isPlaying())
            continue;
        return channel.play(name, level, loop, streaming);
    }
    return ERROR_OK;
}

const std::string& SoundManager::getSoundName(uint32_t soundId) const
{
    static const std::string kNone;
    return soundId < mSoundNames.size() ? mSoundNames[soundId] : kNone;
}

void SoundManager::setSoundName(uint32_t soundId, const std::string& name)
{
    if (soundId < mSoundNames.size())
        mSoundNames[soundId] = name;
}

void SoundManager::clearSoundNames()
{
    mSoundNames.clear();
    mSoundNames.shrink_to_fit();
}

int32_t SoundManager::getMasterSoundLevel()
{
    std::lock_guard lock(gHooksMutex);
    return gMasterLevel ? gMasterLevel() : -1;
}

bool SoundManager::isSoundAllowed()
{
    std::lock_guard lock(gHooksMutex);
    return gSoundAllowed ? gSoundAllowed() : true;
}

void SoundManager::setApplicationQueries(std::function<int32_t()> masterLevel,
                                         std::function<bool()> soundAllowed)
{
    std::lock_guard lock(gHooksMutex);
    gMasterLevel = std::move(masterLevel);
    gSoundAllowed = std::move(soundAllowed);
}

void registerSoundManagerKind(uint32_t kind, SoundManagerCreator creator)
{
    std::lock_guard lock(gHooksMutex);
    gCreators[kind] = creator;
}

std::unique_ptr<SoundManager> createSoundManager(uint32_t kind)
{
    SoundManagerCreator creator = nullptr;
    {
        std::lock_guard lock(gHooksMutex);
        auto found = gCreators.find(kind);
        if (found != gCreators.end())
            creator = found->second;
    }
    std::unique_ptr<SoundManager> manager = creator != nullptr ? creator() : nullptr;
    if (manager == nullptr)
        manager = std::make_unique<UnavailableSoundManager>();
    return manager;
}

void setSoundErrorReporter(SoundErrorReporter reporter)
{
    std::lock_guard lock(gHooksMutex);
    gErrorReporter = std::move(reporter);
}

ErrorCode reportSoundError(ErrorCode code, Platform::AudioResult result, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string detail = formatMessage(format, args);
    va_end(args);
    SoundErrorReporter reporter;
    {
        std::lock_guard lock(gHooksMutex);
        reporter = gErrorReporter;
    }
    if (reporter)
    {
        reporter(code, result, detail);
        return code;
    }
    const char* name = Platform::audioResultName(result);
    if (name != nullptr)
        showMessage("%s%s", name, detail.c_str());
    else
        showMessage("0x%08X%s", static_cast<unsigned>(result), detail.c_str());
    return code;
}
