#include "Sound/WaveSoundReader.h"
#include "WaveBuilder.h"

#include "Platform/System/Paths.h"

#include <gtest/gtest.h>

using namespace Platform;

namespace
{
struct Opened
{
    std::vector<uint8_t> bytes;
    WaveSoundReader reader;
    AudioResult result;
    explicit Opened(const TestWave::Recipe& recipe) : bytes(TestWave::build(recipe))
    {
        result = reader.openMemory(bytes.data(), static_cast<uint32_t>(bytes.size()), nullptr,
                                   SoundFileReader::kModeRead);
    }
    std::vector<uint8_t> readAll()
    {
        std::vector<uint8_t> out(reader.size() + 16);
        uint32_t got = 0;
        EXPECT_EQ(reader.read(out.data(), static_cast<uint32_t>(out.size()), &got), kAudioOk);
        out.resize(got);
        return out;
    }
};
} // namespace

TEST(WaveSoundReader, ReadsEightSixteenBitAndStereoPcm)
{
    TestWave::Recipe eight;
    eight.bits = 8;
    eight.rate = 11025;
    eight.data = {0x80, 0xFF, 0x00};
    Opened a(eight);
    ASSERT_EQ(a.result, kAudioOk);
    EXPECT_EQ(a.reader.format()->bitsPerSample, 8);
    EXPECT_EQ(a.reader.format()->samplesPerSec, 11025u);
    EXPECT_EQ(a.reader.size(), 3u);
    EXPECT_EQ(a.readAll(), eight.data);

    TestWave::Recipe stereo;
    stereo.channels = 2;
    stereo.data = TestWave::samples16({1, -1, 300, -300});
    Opened b(stereo);
    ASSERT_EQ(b.result, kAudioOk);
    EXPECT_EQ(b.reader.format()->blockAlign, 4);
    EXPECT_EQ(b.reader.format()->avgBytesPerSec, 4u * 22050);
    EXPECT_EQ(b.readAll(), stereo.data);
}

TEST(WaveSoundReader, SkipsOddAndListChunksAroundTheFormat)
{
    TestWave::Recipe recipe;
    recipe.junkBeforeFormat = true;
    recipe.listBeforeData = true;
    recipe.data = TestWave::samples16({5, 6, 7});
    Opened opened(recipe);
    ASSERT_EQ(opened.result, kAudioOk);
    EXPECT_EQ(opened.readAll(), recipe.data);
}

TEST(WaveSoundReader, ReadsStopAtTheEndAndResetRewinds)
{
    TestWave::Recipe recipe;
    recipe.data = TestWave::samples16({1, 2, 3, 4});
    Opened opened(recipe);
    ASSERT_EQ(opened.result, kAudioOk);
    uint8_t part[6];
    uint32_t got = 0;
    ASSERT_EQ(opened.reader.read(part, 6, &got), kAudioOk);
    EXPECT_EQ(got, 6u);
    ASSERT_EQ(opened.reader.read(part, 6, &got), kAudioOk);
    EXPECT_EQ(got, 2u);
    ASSERT_EQ(opened.reader.read(part, 6, &got), kAudioOk);
    EXPECT_EQ(got, 0u);
    ASSERT_EQ(opened.reader.reset(), kAudioOk);
    EXPECT_EQ(opened.readAll(), recipe.data);
}

TEST(WaveSoundReader, DataSizesPastTheBytesPresentAreClamped)
{
    TestWave::Recipe recipe;
    recipe.data = TestWave::samples16({1, 2, 3});
    recipe.declaredDataSize = 1000000;
    Opened opened(recipe);
    ASSERT_EQ(opened.result, kAudioOk);
    EXPECT_EQ(opened.reader.size(), 6u);
    EXPECT_EQ(opened.readAll(), recipe.data);

    // Truncated inside the last frame: only whole frames are sound.
    Opened cut(recipe);
    cut.bytes.pop_back();
    ASSERT_EQ(cut.reader.openMemory(cut.bytes.data(), static_cast<uint32_t>(cut.bytes.size()), nullptr, 1),
              kAudioOk);
    EXPECT_EQ(cut.reader.size(), 4u);
}

TEST(WaveSoundReader, MalformedHeadersFailToOpen)
{
    TestWave::Recipe base;
    base.data = TestWave::samples16({1, 2});

    TestWave::Recipe noData = base;
    noData.noDataChunk = true;
    EXPECT_EQ(Opened(noData).result, kAudioFailed);

    TestWave::Recipe shortFormat = base;
    shortFormat.formatChunkSize = 14;
    EXPECT_EQ(Opened(shortFormat).result, kAudioFailed);

    TestWave::Recipe zeroAlign = base;
    zeroAlign.blockAlign = 0;
    EXPECT_EQ(Opened(zeroAlign).result, kAudioFailed);

    // An extra-format size larger than the chunk that holds it.
    TestWave::Recipe bigExtra = base;
    bigExtra.formatTag = 2;
    bigExtra.extraSizeField = 40;
    bigExtra.extra = {1, 2, 3, 4};
    EXPECT_EQ(Opened(bigExtra).result, kAudioFailed);

    std::vector<uint8_t> notRiff = TestWave::build(base);
    notRiff[0] = 'X';
    WaveSoundReader reader;
    EXPECT_EQ(reader.openMemory(notRiff.data(), static_cast<uint32_t>(notRiff.size()), nullptr, 1),
              kAudioFailed);
    std::vector<uint8_t> notWave = TestWave::build(base);
    notWave[8] = 'X';
    EXPECT_EQ(reader.openMemory(notWave.data(), static_cast<uint32_t>(notWave.size()), nullptr, 1),
              kAudioFailed);
    EXPECT_EQ(reader.format(), nullptr);
    uint32_t got = 7;
    uint8_t byte;
    EXPECT_EQ(reader.read(&byte, 1, &got), kAudioNotInitialised);
    EXPECT_EQ(got, 0u);

    // Every truncation of a good file fails or opens with fewer bytes.
    std::vector<uint8_t> good = TestWave::build(base);
    for (size_t n = 0; n < good.size(); ++n)
    {
        WaveSoundReader cut;
        if (cut.openMemory(good.data(), static_cast<uint32_t>(n), nullptr, 1) == kAudioOk)
        {
            EXPECT_LE(cut.size(), 4u);
        }
    }
}

TEST(WaveSoundReader, OtherFormatsKeepTheirExtraBytes)
{
    TestWave::Recipe recipe;
    recipe.formatTag = 2;
    recipe.bits = 4;
    recipe.blockAlign = 256;
    recipe.extraSizeField = 4;
    recipe.extra = {9, 8, 7, 6};
    recipe.data = std::vector<uint8_t>(256, 1);
    Opened opened(recipe);
    ASSERT_EQ(opened.result, kAudioOk);
    EXPECT_EQ(opened.reader.format()->formatTag, 2);
    EXPECT_EQ(opened.reader.format()->extraSize, 4);
    EXPECT_EQ(opened.reader.extraFormatBytes(), recipe.extra);
}

TEST(WaveSoundReader, WrittenFilesReadBack)
{
    TemporaryDirectory dir;
    std::string path = dir.path() + "written.wav";
    WaveFormat format = makePcmFormat(2, 22050, 16);
    std::vector<uint8_t> data = TestWave::samples16({10, 20, 30, 40, 50, 60});
    {
        WaveSoundReader writer;
        ASSERT_EQ(writer.open(path.c_str(), &format, SoundFileReader::kModeWrite), kAudioOk);
        uint32_t written = 0;
        ASSERT_EQ(writer.write(data.data(), 4, &written), kAudioOk);
        ASSERT_EQ(writer.write(data.data() + 4, 8, &written), kAudioOk);
        EXPECT_EQ(written, 8u);
        ASSERT_EQ(writer.close(), kAudioOk);
    }
    WaveSoundReader reader;
    ASSERT_EQ(reader.open(path.c_str(), nullptr, SoundFileReader::kModeRead), kAudioOk);
    EXPECT_EQ(reader.format()->channels, 2);
    EXPECT_EQ(reader.size(), 12u);
    std::vector<uint8_t> back(12);
    uint32_t got = 0;
    ASSERT_EQ(reader.read(back.data(), 12, &got), kAudioOk);
    EXPECT_EQ(back, data);

    // Memory readers do not write.
    uint32_t written = 0;
    std::vector<uint8_t> bytes = TestWave::build({});
    WaveSoundReader memory;
    ASSERT_EQ(memory.openMemory(bytes.data(), static_cast<uint32_t>(bytes.size()), nullptr, 1), kAudioOk);
    EXPECT_EQ(memory.write(data.data(), 2, &written), kAudioNotImplemented);
    EXPECT_EQ(memory.openMemory(bytes.data(), 4, &format, SoundFileReader::kModeWrite), kAudioNotImplemented);
}
