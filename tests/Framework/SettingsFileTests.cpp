// The settings file: its 14-byte base layout, the sound manager it drives,
// and damaged or missing files.
#include "Framework/SettingsFile.h"
#include "TestApplication.h"

#include <gtest/gtest.h>

namespace
{
std::string bytes(std::initializer_list<int> values)
{
    std::string out;
    for (int v : values)
        out += static_cast<char>(v);
    return out;
}

// flags 0, music 100, sound 255, music off, sound on
const std::string kGolden = bytes({0, 0, 0, 0, 100, 0, 0, 0, 255, 0, 0, 0, 0, 1});

class SettingsFileTest : public ::testing::Test
{
protected:
    TestApplication app;
};
} // namespace

TEST_F(SettingsFileTest, NewSettingsHaveDefaultLevelsAppliedAtOnce)
{
    SettingsFile settings("data\\settings.dat", 0);
    EXPECT_EQ(settings.getMusicLevel(), 178u);
    EXPECT_EQ(settings.getSoundLevel(), 178u);
    EXPECT_TRUE(settings.isMusicEnabled());
    EXPECT_TRUE(settings.isSoundEnabled());
    EXPECT_EQ(app.sound().getGroup(1).level, 178u);
    EXPECT_EQ(app.sound().getGroup(0).level, 178u);
    EXPECT_EQ(app.sound().channel(0).level, 178);
    EXPECT_EQ(app.sound().channel(7).level, 178);
}

TEST_F(SettingsFileTest, SavedFileIsTheFourteenByteLayout)
{
    SettingsFile settings("data\\settings.dat", 0);
    settings.setMusicLevel(100);
    settings.setSoundLevel(255);
    settings.setMusicEnabled(false);
    std::filesystem::create_directories(app.directory() + "data");
    ASSERT_EQ(settings.save(), ERROR_OK);
    EXPECT_EQ(app.readFile("data/settings.dat"), kGolden);
    EXPECT_FALSE(app.hasFile("data/settings.dat.tmp"));

    SettingsFile flagged("data\\flagged.dat", 0x01020304);
    ASSERT_EQ(flagged.save(), ERROR_OK);
    EXPECT_EQ(app.readFile("data/flagged.dat"), bytes({4, 3, 2, 1, 178, 0, 0, 0, 178, 0, 0, 0, 1, 1}));
}

TEST_F(SettingsFileTest, LoadReadsTheGoldenFileAndApplies)
{
    app.writeFile("data/settings.dat", kGolden);
    SettingsFile settings("data\\settings.dat", 0);
    app.sound().log.clear();
    ASSERT_EQ(settings.load(), ERROR_OK);
    EXPECT_EQ(settings.getMusicLevel(), 100u);
    EXPECT_EQ(settings.getSoundLevel(), 255u);
    EXPECT_FALSE(settings.isMusicEnabled());
    EXPECT_TRUE(settings.isSoundEnabled());
    EXPECT_EQ(app.sound().getGroup(1).level, 100u);
    EXPECT_EQ(app.sound().getGroup(0).level, 255u);
    // The music switch acts only on a change, so the load does not push it.
    EXPECT_TRUE(app.sound().getGroup(1).enabled);
    EXPECT_EQ(app.sound().log.front(), "level 0 100");
}

TEST_F(SettingsFileTest, SwitchesDriveTheirGroups)
{
    SettingsFile settings("data\\settings.dat", 0);
    app.sound().channel(0).playing = true;
    app.sound().channel(3).playing = true;
    settings.setSoundEnabled(false);
    EXPECT_FALSE(app.sound().getGroup(0).enabled);
    EXPECT_FALSE(app.sound().channel(3).playing);
    EXPECT_TRUE(app.sound().channel(0).playing);
    settings.setMusicEnabled(false);
    EXPECT_FALSE(app.sound().channel(0).playing);
    app.sound().log.clear();
    settings.setMusicEnabled(false);
    EXPECT_TRUE(app.sound().log.empty());
}

TEST_F(SettingsFileTest, ADamagedFileChangesNothingAndReachesNoSound)
{
    SettingsFile settings("data\\settings.dat", 0);
    settings.setMusicLevel(10);
    app.sound().log.clear();

    // Music level 256, sound level 50, music off, sound off.
    app.writeFile("data/settings.dat", bytes({0, 0, 0, 0, 0, 1, 0, 0, 50, 0, 0, 0, 0, 0}));
    EXPECT_EQ(settings.load(), ERROR_INVALID);
    // Cut short by one byte.
    app.writeFile("data/settings.dat", kGolden.substr(0, 13));
    EXPECT_EQ(settings.load(), ERROR_FILEIO_READERROR);
    std::filesystem::remove(app.directory() + "data/settings.dat");
    EXPECT_EQ(settings.load(), ERROR_FILEIO_FILENOTFOUND);

    EXPECT_EQ(settings.getMusicLevel(), 10u);
    EXPECT_EQ(settings.getSoundLevel(), 178u);
    EXPECT_TRUE(settings.isMusicEnabled());
    EXPECT_TRUE(settings.isSoundEnabled());
    EXPECT_TRUE(app.sound().log.empty());
}

TEST_F(SettingsFileTest, FailedSaveKeepsThePreviousFile)
{
    app.writeFile("data/settings.dat", kGolden);
    std::filesystem::create_directories(app.directory() + "data/settings.dat.tmp");
    SettingsFile settings("data\\settings.dat", 0);
    EXPECT_NE(settings.save(), ERROR_OK);
    EXPECT_EQ(app.readFile("data/settings.dat"), kGolden);
}

namespace
{
// A subclass appending a field of its own, as the game's settings do.
class ExtendedSettings : public SettingsFile
{
public:
    using SettingsFile::SettingsFile;
    ErrorCode serialize(BinaryStream& stream) override
    {
        if (ErrorCode error = SettingsFile::serialize(stream))
            return error;
        return stream.transferValue(extra);
    }
    uint32_t extra = 7;
};
} // namespace

TEST_F(SettingsFileTest, SubclassFieldsFollowAndAMissingOneRejectsTheFile)
{
    ExtendedSettings settings("data\\settings.dat", 0);
    settings.extra = 0xAABBCCDD;
    std::filesystem::create_directories(app.directory() + "data");
    ASSERT_EQ(settings.save(), ERROR_OK);
    EXPECT_EQ(app.readFile("data/settings.dat").substr(14), bytes({0xDD, 0xCC, 0xBB, 0xAA}));

    ExtendedSettings other("data\\settings.dat", 0);
    other.setMusicLevel(5);
    app.writeFile("data/settings.dat", kGolden + bytes({1, 2}));
    EXPECT_EQ(other.load(), ERROR_FILEIO_READERROR);
    EXPECT_EQ(other.getMusicLevel(), 5u);
}
