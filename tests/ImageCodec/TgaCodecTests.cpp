#include "ImageFixtures.h"
#include "Platform/System/Paths.h"

#include <gtest/gtest.h>

using namespace ImageFixtures;

namespace
{
// 2 x 2 pixels of 3 bytes: a b / c d as stored.
const Bytes kStored = {1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4};
} // namespace

TEST(TgaReader, TheDescriptorDecidesRowAndColumnOrder)
{
    const std::pair<uint8_t, Bytes> cases[] = {
        {0x20, kStored},
        {0x00, {3, 3, 3, 4, 4, 4, 1, 1, 1, 2, 2, 2}},
        {0x30, {2, 2, 2, 1, 1, 1, 4, 4, 4, 3, 3, 3}},
    };
    for (const auto& [descriptor, pixels] : cases)
    {
        DecodedImagePtr image = decode(encodeTga(2, 2, 24, descriptor, kStored), IMAGE_FORMAT_TGA);
        ASSERT_NE(image, nullptr) << int{descriptor};
        EXPECT_EQ(image->getFormat(), PIXEL_FORMAT_B8G8R8);
        EXPECT_EQ(pixelsOf(*image), pixels) << int{descriptor};
    }
}

TEST(TgaReader, ThirtyTwoBitsKeepAlphaAndSkipIdAndColourMap)
{
    const Bytes bgra = pattern(3, 2, 4);
    DecodedImagePtr image = decode(encodeTga(3, 2, 32, 0x28, bgra, 5, 3), IMAGE_FORMAT_TGA);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->getFormat(), PIXEL_FORMAT_B8G8R8A8);
    EXPECT_EQ(pixelsOf(*image), bgra);
}

TEST(TgaReader, RefusesOtherTypesDepthsAndSizes)
{
    Bytes compressed = encodeTga(2, 2, 24, 0x20, kStored);
    compressed[2] = 10;
    EXPECT_EQ(decode(compressed, IMAGE_FORMAT_TGA), nullptr);
    EXPECT_EQ(decode(encodeTga(2, 2, 16, 0x20, Bytes(8, 0)), IMAGE_FORMAT_TGA), nullptr);
    EXPECT_EQ(decode(encodeTga(0, 2, 24, 0x20, {}), IMAGE_FORMAT_TGA), nullptr);
    EXPECT_EQ(decode(encodeTga(20000, 1, 24, 0x20, Bytes(60000, 0)), IMAGE_FORMAT_TGA), nullptr);
    // A header claiming 16384 x 16384 over a few bytes.
    EXPECT_EQ(decode(encodeTga(16384, 16384, 32, 0x20, kStored), IMAGE_FORMAT_TGA), nullptr);
}

TEST(TgaWriter, WritesTopFirstBgraThatReadsBack)
{
    Platform::TemporaryDirectory directory;
    const Bytes rgba = pattern(4, 3, 4);
    DecodedImagePtr image(createImage(4, 3, PIXEL_FORMAT_R8G8B8A8, rgba.data()));
    const std::string name = directory.path() + "out.Tga";
    ASSERT_TRUE(saveImageByName(name.c_str(), IMAGE_FORMAT_AUTODETECT, image.get()));
    DecodedImagePtr back(openImageByName(name.c_str(), IMAGE_FORMAT_AUTODETECT));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->getFormat(), PIXEL_FORMAT_B8G8R8A8);
    back.reset(convertImage(back.release(), PIXEL_FORMAT_R8G8B8A8));
    EXPECT_EQ(pixelsOf(*back), rgba);

    ImageFilePtr file(openImageFile(name.c_str(), false));
    uint8_t header[18];
    ASSERT_EQ(file->read(header, 18), 18u);
    EXPECT_EQ(header[2], 2);
    EXPECT_EQ(header[12], 4);
    EXPECT_EQ(header[14], 3);
    EXPECT_EQ(header[16], 32);
    EXPECT_EQ(header[17], 0x28);
}
