#include "ImageFixtures.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace ImageFixtures;

namespace
{
// A smooth gradient survives compression within a few levels.
Bytes gradient(int width, int height, int channels)
{
    Bytes out;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < channels; ++c)
                out.push_back(static_cast<uint8_t>(x * 3 + y * 2 + c * 30));
    return out;
}

void expectClose(DecodedImage& image, const Bytes& rgb)
{
    ASSERT_EQ(image.getFormat(), PIXEL_FORMAT_R8G8B8);
    int worst = 0;
    for (size_t i = 0; i < rgb.size(); ++i)
        worst = std::max(worst, std::abs(int{image.getPixels()[i]} - int{rgb[i]}));
    EXPECT_LE(worst, 8);
}
} // namespace

TEST(JpegReader, BaselineProgressiveAndGreyImagesDecodeToRgb)
{
    struct Case
    {
        int width;
        int height;
        int components;
        bool progressive;
    };
    for (const Case c : {Case{40, 24, 3, false}, Case{33, 17, 3, true}, Case{24, 16, 1, false}})
    {
        const Bytes samples = gradient(c.width, c.height, c.components);
        DecodedImagePtr image = decode(
            encodeJpeg(c.width, c.height, c.components, samples, 95, c.progressive), IMAGE_FORMAT_JPEG);
        ASSERT_NE(image, nullptr) << c.width;
        EXPECT_EQ(image->getWidth(), c.width);
        EXPECT_EQ(image->getHeight(), c.height);
        EXPECT_EQ(image->getPalette(), nullptr);
        if (c.components == 3)
        {
            expectClose(*image, samples);
            continue;
        }
        // Grey fills all three channels alike.
        Bytes expected;
        for (uint8_t value : samples)
            expected.insert(expected.end(), {value, value, value});
        expectClose(*image, expected);
        for (size_t i = 0; i < samples.size(); ++i)
        {
            ASSERT_EQ(image->getPixels()[3 * i], image->getPixels()[3 * i + 1]);
            ASSERT_EQ(image->getPixels()[3 * i], image->getPixels()[3 * i + 2]);
        }
    }
}

TEST(JpegReader, ACutFileIsNotPassedOffAsAnImage)
{
    // The decoder would fill the missing rows with grey; the reader refuses.
    const Bytes whole = encodeJpeg(64, 64, 3, pattern(64, 64, 3), 90);
    EXPECT_NE(decode(whole, IMAGE_FORMAT_JPEG), nullptr);
    EXPECT_EQ(
        decode(Bytes(whole.begin(), whole.begin() + static_cast<long>(whole.size() / 2)), IMAGE_FORMAT_JPEG),
        nullptr);
    // Only the final marker missing.
    EXPECT_EQ(decode(Bytes(whole.begin(), whole.end() - 2), IMAGE_FORMAT_JPEG), nullptr);
}

TEST(JpegReader, RefusesOtherDataAndFourComponentImages)
{
    EXPECT_EQ(decode(encodeJpeg(8, 8, 4, pattern(8, 8, 4)), IMAGE_FORMAT_JPEG), nullptr);
    EXPECT_EQ(decode(Bytes{0xFF, 0xD8, 0xFF, 0xD9}, IMAGE_FORMAT_JPEG), nullptr);
    EXPECT_EQ(decode(Bytes(100, 0x42), IMAGE_FORMAT_JPEG), nullptr);
    EXPECT_EQ(decode(Bytes{}, IMAGE_FORMAT_JPEG), nullptr);
}

TEST(JpegReader, FramesClaimingMoreThanTheirDataAreRefusedCheaply)
{
    // Progressive: a huge image; baseline: 4096 rows, the scan ending long
    // before them.
    for (bool progressive : {true, false})
    {
        Bytes bytes = encodeJpeg(16, 16, 3, pattern(16, 16, 3), 50, progressive);
        const uint8_t marker = progressive ? 0xC2 : 0xC0;
        size_t frame = 0;
        for (size_t i = 0; i + 8 < bytes.size() && frame == 0; ++i)
            frame = bytes[i] == 0xFF && bytes[i + 1] == marker ? i : 0;
        ASSERT_NE(frame, 0u);
        // Height and width, big-endian, after the marker, length and precision.
        const Bytes size = progressive ? Bytes{0x3E, 0x80, 0x3E, 0x80} : Bytes{0x10, 0x00, 0x00, 0x10};
        std::copy(size.begin(), size.end(), bytes.begin() + static_cast<long>(frame + 5));
        EXPECT_EQ(decode(bytes, IMAGE_FORMAT_JPEG), nullptr) << progressive;
    }
}
