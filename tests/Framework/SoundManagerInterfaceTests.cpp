// The sound manager's platform-neutral part, as the framework's settings and
// the widgets drive it, checked against the recording manager.
#include "../Sound/RecordingSoundManager.h"

#include <gtest/gtest.h>

TEST(SoundManagerInterface, LevelAndVolumeMappingTruncates)
{
    EXPECT_EQ(SoundManager::levelToVolume(255), 0);
    EXPECT_EQ(SoundManager::levelToVolume(0), -3000);
    EXPECT_EQ(SoundManager::levelToVolume(178), -906);
    EXPECT_EQ(SoundManager::levelToVolume(1), -2989);
    EXPECT_EQ(SoundManager::levelToVolume(254), -12);
    EXPECT_EQ(SoundManager::volumeToLevel(-3000), 0);
    EXPECT_EQ(SoundManager::volumeToLevel(0), 255);
}

TEST(SoundManagerInterface, StartsWithThreeSoundNamesAndServiceEight)
{
    RecordingSoundManager sound;
    ASSERT_EQ(sound.getSoundCount(), 3u);
    EXPECT_EQ(sound.getSoundName(0), "");
    EXPECT_EQ(sound.getSoundName(1), "erreur.wav");
    EXPECT_EQ(sound.getSoundName(2), "selectOption.wav");
    EXPECT_EQ(sound.getServiceId(), 8u);
    sound.setSoundCount(9);
    EXPECT_EQ(sound.getSoundName(8), "");
}

TEST(SoundManagerInterface, GroupLevelReachesEveryChannelOfTheGroup)
{
    RecordingSoundManager sound;
    sound.setGroupLevel(1, 100);
    EXPECT_EQ(sound.log, (std::vector<std::string>{"level 0 100"}));
    sound.log.clear();
    sound.setSoundLevel(40);
    ASSERT_EQ(sound.log.size(), 7u);
    EXPECT_EQ(sound.log.front(), "level 1 40");
    EXPECT_EQ(sound.log.back(), "level 7 40");
    EXPECT_EQ(sound.getGroup(0).level, 40u);
    EXPECT_EQ(sound.getGroupLevelOfChannel(3), 40u);
}

TEST(SoundManagerInterface, DisablingStopsAndEnablingStartsNothing)
{
    RecordingSoundManager sound;
    sound.setSoundCount(6);
    sound.setSoundName(5, "intro.wav");
    EXPECT_EQ(sound.playSound(0, 0, 5, -1, true, true), ERROR_OK);
    EXPECT_TRUE(sound.channel(0).playing);
    sound.setGroupEnabled(1, false);
    EXPECT_FALSE(sound.channel(0).playing);
    sound.log.clear();
    sound.setGroupEnabled(1, true);
    EXPECT_TRUE(sound.log.empty());
    EXPECT_FALSE(sound.channel(0).playing);
}

TEST(SoundManagerInterface, PlayTakesTheFirstFreeEnabledChannel)
{
    RecordingSoundManager sound;
    sound.setSoundCount(4);
    sound.setSoundName(3, "clic.wav");
    EXPECT_EQ(sound.playSound(1, 7, 0, -1, false, false), ERROR_OK);
    EXPECT_TRUE(sound.log.empty());
    sound.channel(1).playing = true;
    sound.playSound(1, 7, 3, -1, false, false);
    EXPECT_EQ(sound.log, (std::vector<std::string>{"channel 2 play clic.wav -1"}));
    for (uint32_t i = 1; i <= 7; ++i)
        sound.channel(i).playing = true;
    sound.log.clear();
    EXPECT_EQ(sound.playSound(1, 7, 3, -1, false, false), ERROR_OK);
    EXPECT_TRUE(sound.log.empty());
}

TEST(SoundManagerInterface, ChannelMovedOutOfAGroupIgnoresItsSwitch)
{
    RecordingSoundManager sound;
    sound.setGroupLevel(0, 50);
    sound.setGroupEnabled(0, false);
    sound.setGroupChannels(0, 2, 6);
    EXPECT_EQ(sound.getChannel(1)->getGroup(), -1);
    EXPECT_EQ(sound.getGroupLevelOfChannel(1), 255u);
    sound.log.clear();
    sound.playOnFreeChannel(1, 7, "a.wav", -1, false, false);
    EXPECT_EQ(sound.log, (std::vector<std::string>{"channel 1 play a.wav -1"}));
}

TEST(SoundManagerInterface, GroupOperationsOutsideTheTableDoNothing)
{
    RecordingSoundManager sound;
    sound.setGroupCount(0);
    sound.setGroupLevel(1, 10);
    sound.setGroupEnabled(0, false);
    sound.setGroupChannels(1, 0, 8);
    sound.setSoundLevel(20);
    EXPECT_TRUE(sound.log.empty());
    EXPECT_EQ(sound.getChannel(0)->getGroup(), 1);
    EXPECT_EQ(sound.getGroupLevelOfChannel(0), 255u);
}
