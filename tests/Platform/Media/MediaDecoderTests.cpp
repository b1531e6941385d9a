#include "Platform/Media/MediaDecoder.h"

#include "Platform/System/Paths.h"
#include "TestVideo.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace Platform;

namespace
{

struct Container
{
    const char* container;
    const char* codec;
    const char* extension;
};

class MediaDecoderFormats : public ::testing::TestWithParam<Container>
{
protected:
    void SetUp() override
    {
        TestVideo::Recipe recipe;
        recipe.container = GetParam().container;
        recipe.codec = GetParam().codec;
        mPath = mDirectory.path() + "clip." + GetParam().extension;
        mBytes = TestVideo::encode(recipe, mPath);
        ASSERT_FALSE(mBytes.empty()) << "could not encode " << recipe.codec << " in " << recipe.container;
    }

    TemporaryDirectory mDirectory;
    std::string mPath;
    std::vector<uint8_t> mBytes;
};

// Decodes to the end: the palette index of every picture and its position.
std::vector<std::pair<int, int64_t>> decodeAll(MediaDecoder& decoder)
{
    std::vector<std::pair<int, int64_t>> pictures;
    while (decoder.decodeNext() && pictures.size() < 100)
    {
        const size_t centre =
            static_cast<size_t>(decoder.height() / 2) * decoder.pitch() + decoder.width() / 2 * 4;
        pictures.emplace_back(TestVideo::nearestFrame(decoder.pixels() + centre),
                              decoder.framePositionNs() / 1000000);
    }
    return pictures;
}

// The pictures from `first` to the last, each with its colour and time.
void expectPicturesInOrder(MediaDecoder& decoder, size_t first = 0)
{
    const auto pictures = decodeAll(decoder);
    ASSERT_EQ(pictures.size(), 10u - first);
    for (size_t i = 0; i < pictures.size(); ++i)
    {
        EXPECT_EQ(pictures[i].first, static_cast<int>(first + i)) << "picture " << first + i;
        EXPECT_NEAR(static_cast<double>(pictures[i].second), static_cast<double>((first + i) * 100), 1.0)
            << "picture " << first + i;
    }
}

int pictureAt(const MediaDecoder& decoder)
{
    return TestVideo::nearestFrame(decoder.pixels());
}

} // namespace

TEST_P(MediaDecoderFormats, FileAndMemoryGiveSizeDurationAndEveryPictureInOrder)
{
    MediaDecoder fromFile;
    ASSERT_EQ(fromFile.openFile(mPath), kMediaOk);
    EXPECT_EQ(fromFile.width(), 64u);
    EXPECT_EQ(fromFile.height(), 48u);
    EXPECT_NEAR(static_cast<double>(fromFile.durationNs() / 1000000), 1000.0, 100.0);
    EXPECT_EQ(fromFile.frameDurationNs(), 100000000);
    expectPicturesInOrder(fromFile);

    MediaDecoder fromMemory;
    ASSERT_EQ(fromMemory.openMemory(std::make_shared<MediaMemoryStream>(mBytes),
                                    std::string("clip.") + GetParam().extension),
              kMediaOk);
    EXPECT_EQ(fromMemory.width(), 64u);
    EXPECT_EQ(fromMemory.durationNs(), fromFile.durationNs());
    expectPicturesInOrder(fromMemory);
    // Opaque BGRA.
    EXPECT_GE(fromMemory.pitch(), 64u * 4u);
    EXPECT_EQ(fromMemory.pixels()[3], 0xFF);
}

TEST_P(MediaDecoderFormats, SeekShowsThePictureAtThePositionAndPlaysOnFromThere)
{
    MediaDecoder decoder;
    ASSERT_EQ(decoder.openMemory(std::make_shared<MediaMemoryStream>(mBytes), "clip"), kMediaOk);
    // Between key pictures, forwards and backwards.
    ASSERT_TRUE(decoder.seek(550000000));
    EXPECT_EQ(pictureAt(decoder), 5);
    EXPECT_EQ(decoder.framePositionNs() / 1000000, 500);
    ASSERT_TRUE(decoder.decodeNext());
    EXPECT_EQ(pictureAt(decoder), 6);
    ASSERT_TRUE(decoder.seek(200000000));
    EXPECT_EQ(pictureAt(decoder), 2);
    ASSERT_TRUE(decoder.seek(0));
    EXPECT_EQ(pictureAt(decoder), 0);
    ASSERT_TRUE(decoder.decodeNext());
    EXPECT_EQ(pictureAt(decoder), 1);
    // Past the end the last picture shows, and nothing follows it.
    ASSERT_TRUE(decoder.seek(5000000000));
    EXPECT_EQ(pictureAt(decoder), 9);
    EXPECT_FALSE(decoder.decodeNext());
    // And the stream can be read again after its end.
    ASSERT_TRUE(decoder.seek(900000000));
    EXPECT_EQ(pictureAt(decoder), 9);
    ASSERT_TRUE(decoder.seek(0));
    EXPECT_EQ(pictureAt(decoder), 0);
    expectPicturesInOrder(decoder, 1);
}

INSTANTIATE_TEST_SUITE_P(Containers, MediaDecoderFormats,
                         ::testing::Values(Container{"asf", "wmv2", "wmv"}, Container{"asf", "wmv1", "wmv"},
                                           Container{"avi", "mpeg4", "avi"}, Container{"mov", "mpeg4", "mov"},
                                           Container{"avi", "mjpeg", "avi"}),
                         [](const auto& info)
                         { return std::string(info.param.container) + "_" + info.param.codec; });

TEST(MediaDecoder, MissingFileIsNotFoundAndGamePathsAreMapped)
{
    TemporaryDirectory directory;
    setProgramDirectory(directory.path());
    MediaDecoder decoder;
    EXPECT_EQ(decoder.openFile("data\\Video\\menu.wmv"), kMediaFileNotFound);
    EXPECT_FALSE(decoder.isOpen());

    std::filesystem::create_directories(directory.path() + "data/Video");
    TestVideo::Recipe recipe;
    ASSERT_FALSE(TestVideo::encode(recipe, directory.path() + "data/Video/Menu.WMV").empty());
    ASSERT_EQ(decoder.openFile("data\\Video\\menu.wmv"), kMediaOk);
    EXPECT_TRUE(decoder.decodeNext());
    EXPECT_EQ(decoder.openFile("data\\Video"), kMediaFileNotFound);
    EXPECT_FALSE(decoder.decodeNext());
    setProgramDirectory("");
}

TEST(MediaDecoder, DamagedInputFailsCleanlyOrPlaysWhatItCan)
{
    TemporaryDirectory directory;
    TestVideo::Recipe recipe;
    const auto bytes = TestVideo::encode(recipe, directory.path() + "clip.wmv");
    ASSERT_FALSE(bytes.empty());
    MediaDecoder decoder;

    EXPECT_EQ(decoder.openMemory(std::make_shared<MediaMemoryStream>(std::vector<uint8_t>{}), "empty.wmv"),
              kMediaUnknownFormat);
    std::vector<uint8_t> noise(5000);
    for (size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<uint8_t>(i * 2654435761u >> 13);
    EXPECT_TRUE(resultFailed(decoder.openMemory(std::make_shared<MediaMemoryStream>(noise), "noise.avi")));
    EXPECT_FALSE(decoder.isOpen());
    EXPECT_FALSE(decoder.decodeNext());
    EXPECT_FALSE(decoder.seek(0));

    // Cut short anywhere: either refused or fewer pictures, never a crash.
    for (size_t size : {size_t{16}, size_t{300}, bytes.size() / 3, bytes.size() / 2, bytes.size() - 7})
    {
        std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
        const PlatformResult result = decoder.openMemory(std::make_shared<MediaMemoryStream>(cut), "cut.wmv");
        if (resultFailed(result))
            continue;
        size_t pictures = 0;
        while (decoder.decodeNext())
            ++pictures;
        EXPECT_LE(pictures, 10u) << size;
        decoder.seek(300000000);
    }

    // Scrambled payload after an intact header: decoding goes on.
    std::vector<uint8_t> scrambled = bytes;
    for (size_t i = scrambled.size() / 2; i < scrambled.size(); i += 7)
        scrambled[i] ^= 0x5A;
    if (!resultFailed(decoder.openMemory(std::make_shared<MediaMemoryStream>(scrambled), "bad.wmv")))
    {
        size_t pictures = 0;
        while (decoder.decodeNext() && pictures < 100)
            ++pictures;
        EXPECT_LT(pictures, 100u);
    }
}

TEST(MediaDecoder, ContainerWithoutPicturesOrDecoderIsRefused)
{
    TemporaryDirectory directory;
    MediaDecoder decoder;
    TestVideo::encodeSoundOnly(directory.path() + "sound.wav");
    EXPECT_EQ(decoder.openFile(directory.path() + "sound.wav"), kMediaNoVideo);

    const auto bytes = TestVideo::encodeWithoutDecoder(directory.path() + "avs2.wmv");
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(decoder.openFile(directory.path() + "avs2.wmv"), kMediaNoDecoder);
    EXPECT_EQ(decoder.openMemory(std::make_shared<MediaMemoryStream>(bytes), "avs2.wmv"), kMediaNoDecoder);
    EXPECT_FALSE(decoder.isOpen());
}

TEST(MediaDecoder, WidthsOffTheScalersBlockSizeAreConvertedInPlace)
{
    TemporaryDirectory directory;
    for (int width : {70, 22, 322})
    {
        TestVideo::Recipe recipe;
        recipe.width = width;
        recipe.height = 14;
        recipe.frames = 3;
        const auto bytes = TestVideo::encode(recipe, directory.path() + "odd.wmv");
        ASSERT_FALSE(bytes.empty()) << width;
        MediaDecoder decoder;
        ASSERT_EQ(decoder.openMemory(std::make_shared<MediaMemoryStream>(bytes), "odd.wmv"), kMediaOk);
        ASSERT_EQ(decoder.width(), static_cast<uint32_t>(width));
        for (int i = 0; i < 3; ++i)
        {
            ASSERT_TRUE(decoder.decodeNext()) << width;
            ASSERT_GE(decoder.pitch(), static_cast<uint32_t>(width) * 4);
            // The last pixel of the last row too.
            const uint8_t* last = decoder.pixels() + size_t{13} * decoder.pitch() + size_t(width - 1) * 4;
            EXPECT_EQ(TestVideo::nearestFrame(last), i) << width;
            EXPECT_EQ(last[3], 0xFF);
        }
    }
}
