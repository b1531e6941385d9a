#include "Platform/Media/MediaMemoryStream.h"
#include "Platform/Media/MediaResult.h"

#include "Framework/ErrorCodes.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace Platform;

static_assert(kVideoErrorCodecUnavailable == ERROR_VIDEO_CODEC_UNAVAILABLE);
static_assert(kVideoErrorWmv9Unavailable == ERROR_VIDEO_CODEC_WMV9_UNAVAILABLE);
static_assert(kVideoErrorFileNotFound == ERROR_FILENOTFOUND);

TEST(MediaMemoryStream, ReadsAreCutAtTheEndAndThePointerStaysInside)
{
    MediaMemoryStream stream(std::vector<uint8_t>{1, 2, 3, 4, 5});
    uint8_t buffer[8] = {};
    EXPECT_EQ(stream.read(buffer, 3), 3u);
    EXPECT_EQ(buffer[2], 3);
    EXPECT_EQ(stream.read(buffer, 8), 2u);
    EXPECT_EQ(buffer[1], 5);
    EXPECT_EQ(stream.read(buffer, 8), 0u);
    EXPECT_EQ(stream.setPointer(6), 1);
    EXPECT_EQ(stream.position(), 5u);
    EXPECT_EQ(stream.setPointer(5), 0);
    EXPECT_EQ(stream.setPointer(1), 0);
    EXPECT_EQ(stream.read(buffer, 1), 1u);
    EXPECT_EQ(buffer[0], 2);

    MediaMemoryStream empty(nullptr, 100, nullptr);
    EXPECT_EQ(empty.size(), 0u);
    EXPECT_EQ(empty.read(buffer, 4), 0u);
}

TEST(MediaMemoryStream, ConcurrentReadersShareTheBytesWithoutLossOrRepeat)
{
    std::vector<uint8_t> bytes(64 * 1024);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 7);
    auto held = std::make_shared<std::vector<uint8_t>>(bytes);
    MediaMemoryStream stream(held->data(), held->size(), held);
    held.reset();

    std::atomic<uint64_t> total{0};
    std::atomic<uint64_t> sum{0};
    std::vector<std::thread> readers;
    for (int t = 0; t < 4; ++t)
        readers.emplace_back(
            [&, t]
            {
                uint8_t buffer[97];
                for (;;)
                {
                    const size_t n = stream.read(buffer, 13 + static_cast<size_t>(t) * 21);
                    if (n == 0)
                        break;
                    total += n;
                    for (size_t i = 0; i < n; ++i)
                        sum += buffer[i];
                }
            });
    for (auto& reader : readers)
        reader.join();
    uint64_t expected = 0;
    for (uint8_t b : bytes)
        expected += b;
    EXPECT_EQ(total.load(), bytes.size());
    EXPECT_EQ(sum.load(), expected);
}

TEST(PlatformResult, OpenFailuresBecomeTheGameErrorCodes)
{
    EXPECT_EQ(videoOpenErrorCode(kMediaOk, "data\\Video\\menu.wmv"), ERROR_OK);
    EXPECT_EQ(videoOpenErrorCode(kMediaFileNotFound, "data\\Video\\menu.wmv"), ERROR_FILENOTFOUND);
    EXPECT_EQ(videoOpenErrorCode(kMediaNoDecoder, "data\\Video\\menu.wmv"),
              ERROR_VIDEO_CODEC_WMV9_UNAVAILABLE);
    EXPECT_EQ(videoOpenErrorCode(kMediaUnknownFormat, "INTRO.WMV"), ERROR_VIDEO_CODEC_WMV9_UNAVAILABLE);
    EXPECT_EQ(videoOpenErrorCode(kMediaNoDecoder, "intro.avi"), ERROR_VIDEO_CODEC_UNAVAILABLE);
    EXPECT_EQ(videoOpenErrorCode(kMediaNoVideo, "intro.wmvx"), ERROR_VIDEO_CODEC_UNAVAILABLE);
    EXPECT_EQ(videoOpenErrorCode(kMediaNoDecoder, "wmv"), ERROR_VIDEO_CODEC_UNAVAILABLE);
}
