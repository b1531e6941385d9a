#include "Sound/SoundManager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
class RecordingChannel;

// Records what the base asks of its channels.
class RecordingManager : public SoundManager
{
public:
    ~RecordingManager() override { destroyChannels(); }
    using SoundManager::playSound;
    ErrorCode playSound(uint32_t, int32_t, bool) override { return ERROR_OK; }
    ErrorCode stopChannel(uint32_t channel) override
    {
        stopped.push_back(channel);
        return ERROR_OK;
    }
    ErrorCode setChannelLevel(uint32_t channel, int32_t level) override
    {
        levels.emplace_back(channel, level);
        return ERROR_OK;
    }
    uint32_t getMinSampleRate() override { return 100; }
    uint32_t getMaxSampleRate() override { return 200000; }
    uint32_t getCapabilities() override { return 1; }
    std::unique_ptr<SoundChannel> createChannel() override;

    RecordingChannel& channel(uint32_t i);

    std::vector<uint32_t> stopped;
    std::vector<std::pair<uint32_t, int32_t>> levels;
};

class RecordingChannel final : public SoundChannel
{
public:
    using SoundChannel::SoundChannel;
    ErrorCode play(const std::string& name, int32_t level, bool loop, bool streaming) override
    {
        played = name;
        playedLevel = level;
        playedLoop = loop;
        playedStreaming = streaming;
        playing = true;
        return playResult;
    }
    ErrorCode stopIfPlaying() override { return stop(); }
    ErrorCode stop() override
    {
        playing = false;
        return ERROR_OK;
    }
    ErrorCode replay() override { return ERROR_OK; }
    bool isPlaying() override { return playing; }
    ErrorCode setLevel(int32_t) override { return ERROR_OK; }
    ErrorCode setFrequency(uint32_t) override { return ERROR_OK; }
    ErrorCode getFrequency(uint32_t&) override { return ERROR_OK; }
    ErrorCode setPosition(uint32_t) override { return ERROR_OK; }
    ErrorCode getPosition(uint32_t&) override { return ERROR_OK; }
    ErrorCode getLength(uint32_t&) override { return ERROR_OK; }
    ErrorCode setReverse(bool) override { return ERROR_OK; }

    std::string played;
    int32_t playedLevel = 0;
    bool playedLoop = false;
    bool playedStreaming = false;
    bool playing = false;
    ErrorCode playResult = ERROR_OK;
};

std::unique_ptr<SoundChannel> RecordingManager::createChannel()
{
    return std::make_unique<RecordingChannel>(*this);
}

RecordingChannel& RecordingManager::channel(uint32_t i)
{
    return static_cast<RecordingChannel&>(*getChannel(i));
}

// The layout the application sets up: 8 channels, effects on 1..7, music on 0.
void configure(SoundManager& manager)
{
    manager.setChannelCount(8);
    manager.setGroupChannels(SoundManager::kEffectsGroup, {1, 7});
    manager.setGroupChannels(SoundManager::kMusicGroup, {0, 1});
}
} // namespace

TEST(SoundManager, LevelsMapToVolumesWithTruncation)
{
    EXPECT_EQ(SoundManager::levelToVolume(255), 0);
    EXPECT_EQ(SoundManager::levelToVolume(0), -3000);
    EXPECT_EQ(SoundManager::levelToVolume(178), -906);
    EXPECT_EQ(SoundManager::levelToVolume(1), -2989);
    EXPECT_EQ(SoundManager::levelToVolume(254), -12);
    EXPECT_EQ(SoundManager::volumeToLevel(-3000), 0u);
    EXPECT_EQ(SoundManager::volumeToLevel(0), 255u);
    EXPECT_EQ(SoundManager::volumeToLevel(-906), 177u); // truncated, not an exact inverse
    // Outside -3000..0 the level is clamped rather than wrapped.
    EXPECT_EQ(SoundManager::volumeToLevel(-10000), 0u);
    EXPECT_EQ(SoundManager::volumeToLevel(500), 255u);
    EXPECT_EQ(SoundManager::levelToVolume(1000), 0);
}

TEST(SoundManager, ChannelsKnowTheirIndexAndGroup)
{
    RecordingManager manager;
    configure(manager);
    ASSERT_EQ(manager.getChannelCount(), 8u);
    for (uint32_t i = 0; i < 8; ++i)
    {
        EXPECT_EQ(manager.getChannel(i)->getIndex(), i);
        EXPECT_EQ(manager.getChannel(i)->getGroup(), i == 0 ? 1 : 0);
    }
    manager.setChannelCount(3);
    EXPECT_EQ(manager.getChannelCount(), 3u);
    EXPECT_EQ(manager.getChannel(3), nullptr);
    manager.setChannelCount(5);
    EXPECT_EQ(manager.getChannel(4)->getIndex(), 4u);
    EXPECT_EQ(manager.getChannel(4)->getGroup(), -1);
}

TEST(SoundManager, PlaysOnTheFirstFreeEnabledChannel)
{
    RecordingManager manager;
    configure(manager);
    manager.setSoundCount(4);
    manager.setSoundName(3, "data\\sons\\clicBouton.wav");

    manager.channel(1).playing = true;
    EXPECT_EQ(manager.playSound(1, 7, 3, -1, true, false), ERROR_OK);
    EXPECT_EQ(manager.channel(2).played, "data\\sons\\clicBouton.wav");
    EXPECT_EQ(manager.channel(2).playedLevel, -1);
    EXPECT_TRUE(manager.channel(2).playedLoop);
    EXPECT_TRUE(manager.channel(1).played.empty());

    // The callee's result is passed up.
    manager.channel(3).playResult = ERROR_DSOUND;
    EXPECT_EQ(manager.playSound(1, 7, 3, -1, false, false), ERROR_DSOUND);

    // Every channel busy: nothing plays, no error.
    for (uint32_t i = 1; i < 8; ++i)
        manager.channel(i).playing = true;
    manager.channel(7).played.clear();
    EXPECT_EQ(manager.playSound(1, 7, 3, -1, false, false), ERROR_OK);
    EXPECT_TRUE(manager.channel(7).played.empty());
}

TEST(SoundManager, UnknownSoundsAndChannelsPlayNothing)
{
    RecordingManager manager;
    configure(manager);
    EXPECT_EQ(manager.playSound(0, 7, 0, -1, false, false), ERROR_OK);
    EXPECT_EQ(manager.playSound(0, 7, 3, -1, false, false), ERROR_OK); // past the 3-entry table
    EXPECT_EQ(manager.playSound(0, 7, 0xFFFFFFFF, -1, false, false), ERROR_OK);
    for (uint32_t i = 0; i < 8; ++i)
        EXPECT_TRUE(manager.channel(i).played.empty());
    EXPECT_EQ(manager.getSoundName(99), "");
    manager.setSoundName(99, "x.wav");
    EXPECT_EQ(manager.getSoundCount(), 3u);

    // A range past the channel table is cut to it.
    manager.channel(0).playing = true;
    manager.setGroupEnabled(SoundManager::kEffectsGroup, false);
    EXPECT_EQ(manager.playOnFreeChannel(5, 1000, "a.wav", -1, false, false), ERROR_OK);
    EXPECT_EQ(manager.playOnFreeChannel(100, 1000, "a.wav", -1, false, false), ERROR_OK);
    EXPECT_EQ(manager.getGroupLevelOfChannel(1000), 255u);
    manager.setGroupChannels(1, {6, 1000});
    manager.setGroupLevel(1, 20);
    EXPECT_EQ(manager.levels.size(), 2u); // channels 6 and 7 only
    manager.setGroupLevel(40, 1);
    manager.setGroupEnabled(40, false);
    EXPECT_EQ(manager.getGroupCount(), 2u);
}

TEST(SoundManager, GroupSwitchesStopButNeverStart)
{
    RecordingManager manager;
    configure(manager);
    manager.channel(0).playing = true;
    manager.setMusicEnabled(false);
    EXPECT_EQ(manager.stopped, (std::vector<uint32_t>{0}));
    // A disabled group's channels are skipped.
    EXPECT_EQ(manager.playOnFreeChannel(0, 0, "music.ogg", -1, true, true), ERROR_OK);
    EXPECT_TRUE(manager.channel(0).played.empty());

    manager.stopped.clear();
    manager.setMusicEnabled(true);
    EXPECT_TRUE(manager.stopped.empty());
    EXPECT_TRUE(manager.channel(0).played.empty());
    // Turning off what is off stops again.
    manager.setSoundEnabled(false);
    manager.setSoundEnabled(false);
    EXPECT_EQ(manager.stopped.size(), 14u);
}

TEST(SoundManager, GroupLevelsReachTheirChannelsAndTheListener)
{
    RecordingManager manager;
    configure(manager);
    std::vector<uint32_t> heard;
    manager.setLevelListener([&](uint32_t level) { heard.push_back(level); });

    manager.setMusicLevel(178);
    EXPECT_EQ(manager.levels, (std::vector<std::pair<uint32_t, int32_t>>{{0, 178}}));
    EXPECT_EQ(manager.getGroupLevelOfChannel(0), 178u);
    EXPECT_TRUE(heard.empty());

    manager.levels.clear();
    manager.setSoundLevel(100);
    EXPECT_EQ(manager.levels.size(), 7u);
    EXPECT_EQ(manager.levels.front(), std::make_pair(1u, 100));
    EXPECT_EQ(heard, (std::vector<uint32_t>{100}));

    // A channel moved out of its group plays whatever the group's state and
    // resolves its level to 255.
    manager.setGroupChannels(SoundManager::kEffectsGroup, {2, 6});
    EXPECT_EQ(manager.getChannel(1)->getGroup(), -1);
    EXPECT_EQ(manager.getGroupLevelOfChannel(1), 255u);
    manager.setSoundEnabled(false);
    EXPECT_EQ(manager.playOnFreeChannel(1, 7, "x.wav", -1, false, false), ERROR_OK);
    EXPECT_EQ(manager.channel(1).played, "x.wav");
}

TEST(SoundManager, AnUnknownKindFailsAtStartUpInsteadOfBeingNull)
{
    std::unique_ptr<SoundManager> manager = createSoundManager(77);
    ASSERT_NE(manager, nullptr);
    configure(*manager);
    manager->setGroupLevel(0, 178);
    EXPECT_EQ(manager->init(), ERROR_DSOUND);
    EXPECT_EQ(manager->getServiceId(), 8u);
    EXPECT_EQ(manager->playSound(1, 7, 1, -1, false, false), ERROR_OK);
}
