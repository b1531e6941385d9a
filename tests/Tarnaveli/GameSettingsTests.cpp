// data\settings.dat: its 14-byte layout, what makes it rejected, and what a
// load gives the sound manager.
#include "DataFileTest.h"
#include "Framework/BinaryStream.h"
#include "Tarnaveli/GameSettings.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
class GameSettingsTest : public DataFileTest
{
protected:
    GameSettingsTest() : DataFileTest("settings.dat") {}
};
} // namespace

TEST_F(GameSettingsTest, DefaultsAreWrittenAsFourteenLittleEndianBytes)
{
    GameSettings settings;
    ASSERT_EQ(settings.save(), 0u);
    EXPECT_EQ(readFile(), (std::vector<uint8_t>{0, 0, 0, 0, 178, 0, 0, 0, 178, 0, 0, 0, 1, 1}));

    settings.setMusicLevel(255);
    settings.setSoundLevel(7);
    settings.setMusicEnabled(false);
    ASSERT_EQ(settings.save(), 0u);
    EXPECT_EQ(readFile(), (std::vector<uint8_t>{0, 0, 0, 0, 255, 0, 0, 0, 7, 0, 0, 0, 0, 1}));
    EXPECT_EQ(readFile().size(), GameSettings::FILE_SIZE);
}

TEST_F(GameSettingsTest, LevelsOf255AreReadAndAbove255TheWholeFileIsRejected)
{
    writeFile({0, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 0, 0});
    GameSettings settings;
    ASSERT_EQ(settings.load(), 0u);
    EXPECT_EQ(settings.getMusicLevel(), 255u);
    EXPECT_EQ(settings.getSoundLevel(), 255u);
    EXPECT_FALSE(settings.isMusicEnabled());
    EXPECT_FALSE(settings.isSoundEnabled());

    writeFile({0, 0, 0, 0, 10, 0, 0, 0, 0, 1, 0, 0, 0, 0});
    GameSettings rejected;
    EXPECT_NE(rejected.load(), 0u);
    EXPECT_EQ(rejected.getMusicLevel(), 178u);
    EXPECT_EQ(rejected.getSoundLevel(), 178u);
    EXPECT_TRUE(rejected.isMusicEnabled());
    EXPECT_TRUE(rejected.isSoundEnabled());
}

TEST_F(GameSettingsTest, ShortOrMissingFileIsAFailureThatChangesNothing)
{
    GameSettings missing;
    EXPECT_NE(missing.load(), 0u);
    for (size_t size : {0u, 3u, 8u, 13u})
    {
        std::vector<uint8_t> bytes = {0, 0, 0, 0, 9, 0, 0, 0, 9, 0, 0, 0, 0, 0};
        bytes.resize(size);
        writeFile(bytes);
        GameSettings settings;
        EXPECT_NE(settings.load(), 0u) << size;
        EXPECT_EQ(settings.getMusicLevel(), 178u) << size;
        EXPECT_EQ(settings.getSoundLevel(), 178u) << size;
        EXPECT_TRUE(settings.isMusicEnabled()) << size;
    }
}
