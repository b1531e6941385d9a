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
    PlatformResult result;
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

namespace
{
TestWave::Recipe recipe(std::vector<uint8_t> data, uint16_t channels = 1, uint16_t bits = 16)
{
    TestWave::Recipe r;
    r.channels = channels;
    r.bits = bits;
    r.data = std::move(data);
    return r;
}
} // namespace

TEST(WaveSoundReader, OpensEveryLayoutWithItsFormatAndSound)
{
    struct Case
    {
        const char* name;
        TestWave::Recipe recipe;
        uint16_t blockAlign;
        std::vector<uint8_t> sound; // what reading gives
    };
    std::vector<Case> cases = {
        {"eight bits", recipe({0x80, 0xFF, 0x00}, 1, 8), 1, {0x80, 0xFF, 0x00}},
        {"stereo", recipe(TestWave::samples16({1, -1, 300, -300}), 2), 4,
         TestWave::samples16({1, -1, 300, -300})},
        // Odd and LIST chunks around the format are skipped.
        {"chunks", recipe(TestWave::samples16({5, 6, 7})), 2, TestWave::samples16({5, 6, 7})},
        // A data size past the bytes present is clamped to them.
        {"oversized", recipe(TestWave::samples16({1, 2, 3})), 2, TestWave::samples16({1, 2, 3})},
        // Other formats keep their extra bytes.
        {"adpcm", recipe(std::vector<uint8_t>(256, 1), 1, 4), 256, std::vector<uint8_t>(256, 1)},
    };
    cases[0].recipe.rate = 11025;
    cases[2].recipe.junkBeforeFormat = cases[2].recipe.listBeforeData = true;
    cases[3].recipe.declaredDataSize = 1000000;
    TestWave::Recipe& adpcm = cases[4].recipe;
    adpcm.formatTag = 2;
    adpcm.blockAlign = 256;
    adpcm.extraSizeField = 4;
    adpcm.extra = {9, 8, 7, 6};
    for (Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Opened opened(c.recipe);
        ASSERT_EQ(opened.result, kAudioOk);
        const WaveFormat* format = opened.reader.format();
        EXPECT_EQ(format->formatTag, c.recipe.formatTag);
        EXPECT_EQ(format->channels, c.recipe.channels);
        EXPECT_EQ(format->bitsPerSample, c.recipe.bits);
        EXPECT_EQ(format->samplesPerSec, c.recipe.rate);
        EXPECT_EQ(format->blockAlign, c.blockAlign);
        EXPECT_EQ(format->avgBytesPerSec, c.blockAlign * c.recipe.rate);
        EXPECT_EQ(opened.reader.extraFormatBytes(), c.recipe.extra);
        EXPECT_EQ(format->extraSize, c.recipe.extra.size());
        EXPECT_EQ(opened.reader.size(), c.sound.size());
        EXPECT_EQ(opened.readAll(), c.sound);
    }
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

TEST(WaveSoundReader, OnlyWholeFramesAreSound)
{
    // Truncated inside the last frame.
    TestWave::Recipe cut = recipe(TestWave::samples16({1, 2, 3}));
    cut.declaredDataSize = 1000000;
    std::vector<uint8_t> bytes = TestWave::build(cut);
    bytes.pop_back();
    WaveSoundReader reader;
    ASSERT_EQ(reader.openMemory(bytes.data(), static_cast<uint32_t>(bytes.size()), nullptr, 1), kAudioOk);
    EXPECT_EQ(reader.size(), 4u);
}

TEST(WaveSoundReader, MalformedHeadersFailToOpen)
{
    TestWave::Recipe base;
    base.data = TestWave::samples16({1, 2});

    // No data chunk, a short format chunk, a zero block size, an extra-format
    // size larger than the chunk that holds it.
    std::vector<TestWave::Recipe> bad(4, base);
    bad[0].noDataChunk = true;
    bad[1].formatChunkSize = 14;
    bad[2].blockAlign = 0;
    bad[3].formatTag = 2;
    bad[3].extraSizeField = 40;
    bad[3].extra = {1, 2, 3, 4};
    for (const TestWave::Recipe& recipe : bad)
        EXPECT_EQ(Opened(recipe).result, kAudioFailed);

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
        // A writer does not read, and needs somewhere to say how much it wrote.
        uint8_t byte = 0;
        uint32_t got = 7;
        EXPECT_NE(writer.read(&byte, 1, &got), kAudioOk);
        EXPECT_EQ(got, 0u);
        EXPECT_NE(writer.write(data.data(), 2, nullptr), kAudioOk);
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
    EXPECT_NE(reader.read(nullptr, 4, &got), kAudioOk);

    // Memory readers do not write.
    uint32_t written = 0;
    std::vector<uint8_t> bytes = TestWave::build({});
    WaveSoundReader memory;
    ASSERT_EQ(memory.openMemory(bytes.data(), static_cast<uint32_t>(bytes.size()), nullptr, 1), kAudioOk);
    EXPECT_EQ(memory.write(data.data(), 2, &written), kAudioNotImplemented);
    EXPECT_EQ(memory.openMemory(bytes.data(), 4, &format, SoundFileReader::kModeWrite), kAudioNotImplemented);
}
