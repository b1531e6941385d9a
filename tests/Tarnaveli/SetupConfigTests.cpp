// data\setup.ini: written with the defaults when missing, clamped when read,
// and the same after a round trip.
#include "Platform/System/MessageSink.h"
#include "Platform/System/Paths.h"
#include "Tarnaveli/SetupConfig.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace
{
class SetupConfigTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Platform::setProgramDirectory(folder.path());
        std::filesystem::create_directory(folder.path() + "/data");
    }
    std::string path() const { return folder.path() + "/data/setup.ini"; }
    std::string readFile() const
    {
        std::ifstream in(path(), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    void writeFile(const std::string& text) const { std::ofstream(path(), std::ios::binary) << text; }

    Platform::TemporaryDirectory folder;
};
} // namespace

TEST_F(SetupConfigTest, MissingFileIsWrittenWithEveryKeyInOrderAndTheDefaults)
{
    SetupConfig setup;
    EXPECT_EQ(setup.load(), 0u);
    EXPECT_EQ(readFile(), "Infotip = 1\r\n"
                          "SkinName = Default\r\n"
                          "SystemCursor = 0\r\n"
                          "FileSkinsIni = data\\\\Ressources\\\\skins\\\\skins.ini\r\n"
                          "SkinsDir = data\\\\Ressources\\\\skins\\\\\r\n"
                          "TutorialFile = data\\\\Video\\\\intro VMQ 400x320.wmv\r\n"
                          "LastPlayerType0 = 0\r\n"
                          "LastPlayerType1 = 1\r\n"
                          "LastComputerDiff0 = 0\r\n"
                          "LastComputerDiff1 = 0\r\n"
                          "NetworkPlayerNickname = \r\n"
                          "MorvexGamesServer = 127.0.0.1\r\n"
                          "PionSet = 0\r\n"
                          "FirstGame = 1\r\n");
    EXPECT_TRUE(setup.mInfotip);
    EXPECT_EQ(setup.mSkinsDir, "data\\Ressources\\skins\\");
}

TEST_F(SetupConfigTest, ValuesOutOfRangeAreBroughtBack)
{
    writeFile("Infotip = 2\r\nSystemCursor = 2\r\nLastPlayerType0 = -1\r\nLastPlayerType1 = 7\r\n"
              "LastComputerDiff0 = 3\r\nLastComputerDiff1 = -4\r\nPionSet = 150\r\nFirstGame = 5\r\n");
    SetupConfig setup;
    setup.mInfotip = false;
    setup.mFirstGame = false;
    setup.mSystemCursor = true;
    EXPECT_EQ(setup.load(), 0u);
    EXPECT_TRUE(setup.mInfotip);
    EXPECT_FALSE(setup.mSystemCursor);
    EXPECT_EQ(setup.mLastPlayerType0, 0);
    EXPECT_EQ(setup.mLastPlayerType1, 1);
    EXPECT_EQ(setup.mLastComputerDiff0, 0);
    EXPECT_EQ(setup.mLastComputerDiff1, 0);
    EXPECT_EQ(setup.mPionSet, 0);
    EXPECT_TRUE(setup.mFirstGame);

    writeFile("Infotip = 0\r\nSystemCursor = 1\r\nLastPlayerType0 = 1\r\nLastPlayerType1 = 0\r\n"
              "LastComputerDiff0 = 2\r\nLastComputerDiff1 = 1\r\nPionSet = 99\r\nFirstGame = 0\r\n");
    EXPECT_EQ(setup.load(), 0u);
    EXPECT_FALSE(setup.mInfotip);
    EXPECT_TRUE(setup.mSystemCursor);
    EXPECT_EQ(setup.mLastPlayerType0, 1);
    EXPECT_EQ(setup.mLastPlayerType1, 0);
    EXPECT_EQ(setup.mLastComputerDiff0, 2);
    EXPECT_EQ(setup.mLastComputerDiff1, 1);
    EXPECT_EQ(setup.mPionSet, 99);
    EXPECT_FALSE(setup.mFirstGame);
}

TEST_F(SetupConfigTest, SavedValuesReadBackAlike)
{
    SetupConfig saved;
    saved.mInfotip = false;
    saved.mSkinName = "Jade";
    saved.mSystemCursor = true;
    saved.mSkinsDir = "skins";
    saved.mLastPlayerType0 = 1;
    saved.mLastComputerDiff1 = 2;
    saved.mNetworkPlayerNickname = "Zo\xE9 = la\\reine";
    saved.mMorvexGamesServer = "127.0.0.1:2300";
    saved.mPionSet = 42;
    saved.mFirstGame = false;
    ASSERT_EQ(saved.save(), 0u);
    std::string written = readFile();

    SetupConfig loaded;
    ASSERT_EQ(loaded.load(), 0u);
    EXPECT_EQ(loaded.mInfotip, saved.mInfotip);
    EXPECT_EQ(loaded.mSkinName, saved.mSkinName);
    EXPECT_EQ(loaded.mSystemCursor, saved.mSystemCursor);
    EXPECT_EQ(loaded.mSkinsDir, saved.mSkinsDir);
    EXPECT_EQ(loaded.mLastPlayerType0, 1);
    EXPECT_EQ(loaded.mLastComputerDiff1, 2);
    EXPECT_EQ(loaded.mNetworkPlayerNickname, saved.mNetworkPlayerNickname);
    EXPECT_EQ(loaded.mMorvexGamesServer, saved.mMorvexGamesServer);
    EXPECT_EQ(loaded.mPionSet, 42);
    EXPECT_FALSE(loaded.mFirstGame);
    // Loading an existing file does not rewrite it.
    EXPECT_EQ(readFile(), written);
}

TEST_F(SetupConfigTest, PartialOrDamagedFileKeepsTheDefaultsOfWhatItLacks)
{
    writeFile("PionSet = 7\r\nno equals sign\r\nUnknown = 3\r\n");
    Platform::ScopedMessageCapture messages;
    SetupConfig setup;
    EXPECT_EQ(setup.load(), 0u);
    EXPECT_EQ(setup.mPionSet, 7);
    EXPECT_EQ(setup.mSkinName, "Default");
    EXPECT_EQ(setup.mLastPlayerType1, 1);
    // One report for the file, naming it where it is.
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_NE(messages.messages()[0].text.find(folder.path() + "data/setup.ini"), std::string::npos);
    // It is not a set-up file as the game writes one: the game runs on its
    // values and the defaults, and leaves the file as it found it.
    setup.mPionSet = 2;
    EXPECT_NE(setup.save(), 0u);
    EXPECT_EQ(readFile(), "PionSet = 7\r\nno equals sign\r\nUnknown = 3\r\n");
}

TEST_F(SetupConfigTest, PieceSetIsHeldToThePieceSetsThatExist)
{
    // Value, piece sets of the description, value after.
    const int32_t cases[][3] = {{0, 3, 0}, {2, 3, 2}, {3, 3, 0}, {99, 3, 0}, {-1, 3, 0}, {5, 0, 5}};
    for (const auto& c : cases)
    {
        SetupConfig setup;
        setup.mPionSet = c[0];
        setup.clampPieceSet(static_cast<size_t>(c[1]));
        EXPECT_EQ(setup.mPionSet, c[2]) << c[0] << " of " << c[1];
    }
}
