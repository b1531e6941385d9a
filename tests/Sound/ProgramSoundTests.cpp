#include "Sound/ProgramSounds.h"
#include "Sound/SoundFileReader.h"
#include "Sound/WaveSoundReader.h"
#include "WaveBuilder.h"

#include "Platform/System/Paths.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace Platform;

namespace
{
// A program folder of its own, no archive, and an empty table of the
// program's sounds before and after.
class ProgramSoundTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mPrevious = programDirectory();
        setProgramDirectory(mFolder.path());
        std::filesystem::create_directories(mFolder.path() + "data/sons");
        setSoundArchiveReader([](const std::string&, std::unique_ptr<ByteBuffer>&) { return ERROR_OK; });
        clearProgramSounds();
    }
    void TearDown() override
    {
        clearProgramSounds();
        setSoundArchiveReader(nullptr);
        setProgramDirectory(mPrevious);
    }

    static std::vector<uint8_t> wave(std::vector<int16_t> samples)
    {
        TestWave::Recipe recipe;
        recipe.data = TestWave::samples16(samples);
        return TestWave::build(recipe);
    }

    static std::vector<uint8_t> readAll(SoundFileReader& reader)
    {
        std::vector<uint8_t> out(reader.size());
        uint32_t got = 0;
        EXPECT_EQ(reader.read(out.data(), static_cast<uint32_t>(out.size()), &got), kAudioOk);
        out.resize(got);
        return out;
    }

    TemporaryDirectory mFolder;
    std::string mPrevious;
};
} // namespace

TEST_F(ProgramSoundTest, ANameThatIsNoFileOpensTheProgramsWaveThenWavSound)
{
    const std::vector<uint8_t> wavKind = wave({7, 8, 9});
    registerProgramSound("data\\sons\\bip.wav", "WAV", wavKind);
    WaveSoundReader reader;
    ASSERT_EQ(reader.openByName("data\\sons\\bip.wav", nullptr, SoundFileReader::kModeRead), kAudioOk);
    EXPECT_EQ(readAll(reader), TestWave::samples16({7, 8, 9}));

    // "WAVE" is looked for first; names and kinds ignore case.
    const std::vector<uint8_t> waveKind = wave({1, 2});
    registerProgramSound("DATA\\SONS\\BIP.WAV", "wave", waveKind);
    ASSERT_EQ(reader.openByName("data\\sons\\bip.wav", nullptr, SoundFileReader::kModeRead), kAudioOk);
    EXPECT_EQ(readAll(reader), TestWave::samples16({1, 2}));
    // The reader keeps its own copy.
    ASSERT_EQ(reader.reset(), kAudioOk);
    clearProgramSounds();
    EXPECT_EQ(readAll(reader), TestWave::samples16({1, 2}));
}

TEST_F(ProgramSoundTest, AFileOfTheNameComesFirstAndNothingIsAFailure)
{
    const std::vector<uint8_t> builtIn = wave({1, 2});
    registerProgramSound("data\\sons\\bip.wav", "WAVE", builtIn);
    TestWave::writeFile(mFolder.path() + "data/sons/bip.wav", wave({5, 5, 5}));
    WaveSoundReader reader;
    ASSERT_EQ(reader.openByName("data\\sons\\bip.wav", nullptr, SoundFileReader::kModeRead), kAudioOk);
    EXPECT_EQ(readAll(reader), TestWave::samples16({5, 5, 5}));

    EXPECT_EQ(reader.openByName("data\\sons\\absent.wav", nullptr, SoundFileReader::kModeRead),
              static_cast<PlatformResult>(0x80004005u));
    EXPECT_EQ(reader.format(), nullptr);
    // A damaged built-in sound fails like a damaged file.
    const std::vector<uint8_t> damaged = {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'A', 'V', 'I', ' '};
    registerProgramSound("data\\sons\\damaged.wav", "WAVE", damaged);
    EXPECT_EQ(reader.openByName("data\\sons\\damaged.wav", nullptr, SoundFileReader::kModeRead),
              static_cast<PlatformResult>(0x80004005u));
}
