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

TEST_F(GameSettingsTest, AShortFileOrALevelAbove255IsRejectedAsAWhole)
{
    // Music level, sound level, music on, sound on after loading the bytes.
    const struct
    {
        std::vector<uint8_t> bytes;
        bool accepted;
        uint32_t music, sound;
        bool musicOn, soundOn;
    } cases[] = {
        {{0, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 0, 0}, true, 255, 255, false, false},
        // One level out of range: nothing of the file is kept.
        {{0, 0, 0, 0, 10, 0, 0, 0, 0, 1, 0, 0, 0, 0}, false, 178, 178, true, true},
        {{0, 0, 0, 0, 0, 1, 0, 0, 9, 0, 0, 0, 0, 1}, false, 178, 178, true, true},
        // A file cut short, even by its last byte.
        {{0, 0, 0, 0, 9, 0, 0, 0, 7, 0, 0, 0, 0}, false, 178, 178, true, true},
        {{0, 0, 0, 0, 9, 0, 0}, false, 178, 178, true, true},
        {{}, false, 178, 178, true, true},
    };
    for (const auto& c : cases)
    {
        writeFile(c.bytes);
        GameSettings settings;
        EXPECT_EQ(settings.load() == 0u, c.accepted) << c.bytes.size();
        EXPECT_EQ(settings.getMusicLevel(), c.music) << c.bytes.size();
        EXPECT_EQ(settings.getSoundLevel(), c.sound) << c.bytes.size();
        EXPECT_EQ(settings.isMusicEnabled(), c.musicOn) << c.bytes.size();
        EXPECT_EQ(settings.isSoundEnabled(), c.soundOn) << c.bytes.size();
    }
    GameSettings missing;
    EXPECT_NE(missing.load(), 0u);
}
