#include "RecordingSoundManager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(SoundManager, LevelsMapToVolumesWithTruncationAndClamping)
{
    // Level to volume, then volume to level: truncated, not an exact inverse,
    // and clamped rather than wrapped outside the ranges.
    const std::pair<int, int> toVolume[] = {{255, 0},   {0, -3000}, {178, -906}, {1, -2989},
                                            {254, -12}, {1000, 0},  {-5, -3000}};
    for (auto [level, volume] : toVolume)
        EXPECT_EQ(SoundManager::levelToVolume(level), volume) << level;
    const std::pair<int, int> toLevel[] = {{-3000, 0}, {0, 255}, {-906, 177}, {-10000, 0}, {500, 255}};
    for (auto [volume, level] : toLevel)
        EXPECT_EQ(SoundManager::volumeToLevel(volume), level) << volume;
}

TEST(SoundManager, ChannelsKnowTheirIndexAndGroup)
{
    RecordingSoundManager manager;
    ASSERT_EQ(manager.getChannelCount(), 8u);
    for (uint32_t i = 0; i < 8; ++i)
    {
        EXPECT_EQ(manager.getChannel(i)->getIndex(), i);
        EXPECT_EQ(manager.getChannel(i)->getGroup(), i == 0 ? 1 : 0);
    }
    manager.setChannelCount(3);
    EXPECT_EQ(manager.getChannel(3), nullptr);
    manager.setChannelCount(5);
    EXPECT_EQ(manager.getChannel(4)->getIndex(), 4u);
    EXPECT_EQ(manager.getChannel(4)->getGroup(), -1);
}

TEST(SoundManager, TheChannelsResultIsPassedUp)
{
    RecordingSoundManager manager;
    manager.setSoundCount(4);
    manager.setSoundName(3, "data\\sons\\clicBouton.wav");
    manager.channel(1).playResult = ERROR_DSOUND;
    EXPECT_EQ(manager.playSound(1, 7, 3, -1, false, true), ERROR_DSOUND);
    EXPECT_EQ(manager.log, (std::vector<std::string>{"channel 1 play data\\sons\\clicBouton.wav -1 stream"}));
}

TEST(SoundManager, IndicesOutsideTheTablesAreNoSound)
{
    RecordingSoundManager manager;
    EXPECT_EQ(manager.playSound(0, 7, 3, -1, false, false), ERROR_OK); // past the 3-entry table
    EXPECT_EQ(manager.playSound(0, 7, 0xFFFFFFFF, -1, false, false), ERROR_OK);
    EXPECT_TRUE(manager.log.empty());
    EXPECT_EQ(manager.getSoundName(99), "");
    manager.setSoundName(99, "x.wav");
    EXPECT_EQ(manager.getSoundCount(), 3u);

    // Channel ranges past the table are cut to it.
    EXPECT_EQ(manager.playOnFreeChannel(100, 0xFFFFFFFF, "a.wav", -1, false, false), ERROR_OK);
    EXPECT_TRUE(manager.log.empty());
    for (uint32_t i = 0; i < 8; ++i)
        manager.channel(i).playing = true;
    EXPECT_EQ(manager.playOnFreeChannel(0, 0xFFFFFFFF, "a.wav", -1, false, false), ERROR_OK);
    EXPECT_TRUE(manager.log.empty());
    EXPECT_EQ(manager.getChannel(8), nullptr);
    EXPECT_EQ(manager.getGroupLevelOfChannel(1000), 255u);

    manager.setGroupChannels(1, 6, 0xFFFFFFF0);
    manager.setGroupLevel(1, 20);
    EXPECT_EQ(manager.log, (std::vector<std::string>{"level 6 20", "level 7 20"}));

    // Unknown groups change nothing.
    manager.log.clear();
    manager.setGroupLevel(40, 1);
    manager.setGroupEnabled(40, false);
    manager.setGroupChannels(40, 0, 8);
    EXPECT_TRUE(manager.log.empty());
    EXPECT_EQ(manager.getGroupCount(), 2u);
    EXPECT_EQ(manager.getGroup(40).level, 255u);
    EXPECT_EQ(manager.getChannel(2)->getGroup(), 0);
}

TEST(SoundManager, TheEffectsLevelReachesTheListener)
{
    RecordingSoundManager manager;
    std::vector<uint32_t> heard;
    manager.setLevelListener([&](uint32_t level) { heard.push_back(level); });
    manager.setMusicLevel(178);
    EXPECT_TRUE(heard.empty());
    manager.setSoundLevel(100);
    EXPECT_EQ(manager.log.size(), 8u); // one music channel, seven effect channels
    EXPECT_EQ(heard, (std::vector<uint32_t>{100}));
}

TEST(SoundManager, AnUnknownKindFailsAtStartUpInsteadOfBeingNull)
{
    std::unique_ptr<SoundManager> manager = createSoundManager(77);
    ASSERT_NE(manager, nullptr);
    manager->setChannelCount(8);
    manager->setGroupCount(2);
    manager->setGroupChannels(0, 1, 7);
    manager->setGroupLevel(0, 178);
    manager->setGroupEnabled(0, false);
    EXPECT_EQ(manager->init(), ERROR_DSOUND);
    EXPECT_EQ(manager->getServiceId(), 8u);
    EXPECT_EQ(manager->playSound(1, 7, 1, -1, false, false), ERROR_OK);
}
