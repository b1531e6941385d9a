#include "ImageFixtures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using ImageFixtures::pixelsOf;

namespace
{
DecodedImagePtr twoByOne(uint32_t format, std::vector<uint8_t> pixels)
{
    return DecodedImagePtr(createImage(2, 1, format, pixels.data()));
}
} // namespace

TEST(ImageConversion, DirectFormatsMoveChannelsAndSupplyOpaqueAlpha)
{
    DecodedImagePtr image(
        convertImage(twoByOne(PIXEL_FORMAT_R8G8B8, {1, 2, 3, 4, 5, 6}).release(), PIXEL_FORMAT_B8G8R8A8));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->getFormat(), PIXEL_FORMAT_B8G8R8A8);
    EXPECT_EQ(pixelsOf(*image), (std::vector<uint8_t>{3, 2, 1, 255, 6, 5, 4, 255}));

    image.reset(convertImage(image.release(), PIXEL_FORMAT_R8G8B8A8));
    EXPECT_EQ(pixelsOf(*image), (std::vector<uint8_t>{1, 2, 3, 255, 4, 5, 6, 255}));

    DecodedImagePtr translucent(convertImage(
        twoByOne(PIXEL_FORMAT_B8G8R8A8, {1, 2, 3, 40, 4, 5, 6, 50}).release(), PIXEL_FORMAT_B8G8R8));
    EXPECT_EQ(pixelsOf(*translucent), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));
    translucent.reset(convertImage(twoByOne(PIXEL_FORMAT_B8G8R8A8, {1, 2, 3, 40, 4, 5, 6, 50}).release(),
                                   PIXEL_FORMAT_R8G8B8A8));
    EXPECT_EQ(pixelsOf(*translucent), (std::vector<uint8_t>{3, 2, 1, 40, 6, 5, 4, 50}));
}

TEST(ImageConversion, SameOrDontCareFormatReturnsTheImageItself)
{
    DecodedImagePtr image = twoByOne(PIXEL_FORMAT_R8G8B8, {1, 2, 3, 4, 5, 6});
    DecodedImage* original = image.get();
    EXPECT_EQ(convertImage(original, PIXEL_FORMAT_R8G8B8), original);
    EXPECT_EQ(convertImage(original, PIXEL_FORMAT_DONT_CARE), original);
    EXPECT_EQ(convertImage(nullptr, PIXEL_FORMAT_R8G8B8), nullptr);
}

TEST(ImageConversion, ImpossibleTargetsConsumeTheSourceAndGiveNull)
{
    // The sanitizer run catches a leak if the source were kept.
    EXPECT_EQ(convertImage(twoByOne(PIXEL_FORMAT_R8G8B8, {1, 2, 3, 4, 5, 6}).release(), PIXEL_FORMAT_I8),
              nullptr);
    EXPECT_EQ(convertImage(twoByOne(PIXEL_FORMAT_R8G8B8, {1, 2, 3, 4, 5, 6}).release(), 0x2FF), nullptr);
    DecodedImagePtr indexed(createPaletteImage(2, 2, PIXEL_FORMAT_I8, 256, PIXEL_FORMAT_R8G8B8));
    EXPECT_EQ(convertImage(indexed.release(), 0x123), nullptr);
}

TEST(ImageConversion, PaletteImagesExpandThroughTheirPalette)
{
    DecodedImagePtr image(createPaletteImage(3, 1, PIXEL_FORMAT_I8, 256, PIXEL_FORMAT_R8G8B8A8));
    ASSERT_NE(image, nullptr);
    image->getPixels()[0] = 0;
    image->getPixels()[1] = 255;
    image->getPixels()[2] = 7;
    const uint8_t first[4] = {10, 20, 30, 0};
    const uint8_t last[4] = {40, 50, 60, 128};
    std::memcpy(image->getPalette(), first, 4);
    std::memcpy(image->getPalette() + 255 * 4, last, 4);

    DecodedImagePtr same(
        convertImage(cloneImage(image.get(), PIXEL_FORMAT_DONT_CARE), PIXEL_FORMAT_R8G8B8A8));
    EXPECT_EQ(same->getPalette(), nullptr);
    EXPECT_EQ(same->getPaletteSize(), 0);
    EXPECT_EQ(same->getPaletteFormat(), PIXEL_FORMAT_DONT_CARE);
    EXPECT_EQ(pixelsOf(*same), (std::vector<uint8_t>{10, 20, 30, 0, 40, 50, 60, 128, 0, 0, 0, 0}));

    DecodedImagePtr bgr(convertImage(image.release(), PIXEL_FORMAT_B8G8R8));
    EXPECT_EQ(pixelsOf(*bgr), (std::vector<uint8_t>{30, 20, 10, 60, 50, 40, 0, 0, 0}));
}

TEST(ImageConversion, CreationRefusesBadSizesAndNonDirectFormats)
{
    EXPECT_EQ(createImage(0, 5, PIXEL_FORMAT_R8G8B8, nullptr), nullptr);
    EXPECT_EQ(createImage(5, -1, PIXEL_FORMAT_R8G8B8, nullptr), nullptr);
    EXPECT_EQ(createImage(16385, 1, PIXEL_FORMAT_R8G8B8, nullptr), nullptr);
    EXPECT_EQ(createImage(2, 2, PIXEL_FORMAT_I8, nullptr), nullptr);
    EXPECT_EQ(createImage(2, 2, PIXEL_FORMAT_DONT_CARE, nullptr), nullptr);
    DecodedImagePtr blank(createImage(2, 2, PIXEL_FORMAT_B8G8R8A8, nullptr));
    ASSERT_NE(blank, nullptr);
    EXPECT_EQ(pixelsOf(*blank), std::vector<uint8_t>(16, 0));

    EXPECT_EQ(createPaletteImage(2, 2, PIXEL_FORMAT_I8, 16, PIXEL_FORMAT_R8G8B8), nullptr);
    EXPECT_EQ(createPaletteImage(2, 2, PIXEL_FORMAT_R8G8B8, 256, PIXEL_FORMAT_R8G8B8), nullptr);
    EXPECT_EQ(createPaletteImage(2, 2, PIXEL_FORMAT_I8, 256, PIXEL_FORMAT_I8), nullptr);
    DecodedImagePtr indexed(createPaletteImage(2, 2, PIXEL_FORMAT_I8, 256, PIXEL_FORMAT_B8G8R8));
    ASSERT_NE(indexed, nullptr);
    EXPECT_EQ(indexed->getPaletteSize(), 256);
    EXPECT_EQ(std::vector<uint8_t>(indexed->getPalette(), indexed->getPalette() + 768),
              std::vector<uint8_t>(768, 0));
}

TEST(ImageConversion, ClonesAreIndependentCopies)
{
    DecodedImagePtr indexed(createPaletteImage(2, 1, PIXEL_FORMAT_I8, 256, PIXEL_FORMAT_R8G8B8));
    indexed->getPixels()[1] = 1;
    indexed->getPalette()[3] = 99;
    DecodedImagePtr copy(cloneImage(indexed.get(), PIXEL_FORMAT_DONT_CARE));
    indexed->getPalette()[3] = 1;
    indexed->getPixels()[1] = 0;
    EXPECT_EQ(copy->getPixels()[1], 1);
    EXPECT_EQ(copy->getPalette()[3], 99);
    EXPECT_EQ(cloneImage(nullptr, PIXEL_FORMAT_DONT_CARE), nullptr);

    DecodedImagePtr converted(cloneImage(copy.get(), PIXEL_FORMAT_R8G8B8));
    EXPECT_EQ(pixelsOf(*converted), (std::vector<uint8_t>{0, 0, 0, 99, 0, 0}));
    EXPECT_EQ(copy->getFormat(), PIXEL_FORMAT_I8);
}

TEST(ImageConversion, FlipSwapsRowsAndMirrorsColumns)
{
    const std::vector<uint8_t> pixels = {1, 2, 3, 4, 5, 6}; // 3 x 2, one byte each as I8
    DecodedImagePtr image(createPaletteImage(3, 2, PIXEL_FORMAT_I8, 256, PIXEL_FORMAT_R8G8B8));
    std::memcpy(image->getPixels(), pixels.data(), 6);
    flipImage(image.get(), FLIP_VERTICAL);
    EXPECT_EQ(pixelsOf(*image), (std::vector<uint8_t>{4, 5, 6, 1, 2, 3}));
    flipImage(image.get(), FLIP_HORIZONTAL);
    EXPECT_EQ(pixelsOf(*image), (std::vector<uint8_t>{6, 5, 4, 3, 2, 1}));
    flipImage(image.get(), FLIP_VERTICAL | FLIP_HORIZONTAL);
    EXPECT_EQ(pixelsOf(*image), pixels);

    DecodedImagePtr wide = twoByOne(PIXEL_FORMAT_R8G8B8, {1, 2, 3, 4, 5, 6});
    flipImage(wide.get(), FLIP_HORIZONTAL);
    EXPECT_EQ(pixelsOf(*wide), (std::vector<uint8_t>{4, 5, 6, 1, 2, 3}));
}

TEST(ImageConversion, PalettesAreReexpressedInAnotherFormat)
{
    DecodedImagePtr image(createPaletteImage(1, 1, PIXEL_FORMAT_I8, 256, PIXEL_FORMAT_B8G8R8));
    image->getPalette()[0] = 1; // blue
    image->getPalette()[2] = 3; // red
    ASSERT_TRUE(convertPalette(image.get(), PIXEL_FORMAT_R8G8B8A8));
    EXPECT_EQ(image->getPaletteFormat(), PIXEL_FORMAT_R8G8B8A8);
    EXPECT_EQ(std::vector<uint8_t>(image->getPalette(), image->getPalette() + 8),
              (std::vector<uint8_t>{3, 0, 1, 255, 0, 0, 0, 255}));
    EXPECT_FALSE(convertPalette(image.get(), PIXEL_FORMAT_I8));
    DecodedImagePtr direct = twoByOne(PIXEL_FORMAT_R8G8B8, {1, 2, 3, 4, 5, 6});
    EXPECT_FALSE(convertPalette(direct.get(), PIXEL_FORMAT_B8G8R8));
}

TEST(ImageFormats, DescriptorsListTheReadableFormatsInDetectionOrder)
{
    const auto formats = getReadableImageFormats();
    ASSERT_EQ(formats.size(), 6u);
    const uint32_t order[] = {IMAGE_FORMAT_PNG, IMAGE_FORMAT_JPEG, IMAGE_FORMAT_PCX,
                              IMAGE_FORMAT_BMP, IMAGE_FORMAT_TGA,  IMAGE_FORMAT_GIF};
    for (size_t i = 0; i < 6; ++i)
        EXPECT_EQ(formats[i].getFormat(), order[i]);
    ASSERT_EQ(formats[1].getExtensionCount(), 2);
    EXPECT_STREQ(formats[1].getExtension(0), "jpeg");
    EXPECT_STREQ(formats[1].getExtension(1), "jpg");
    EXPECT_EQ(formats[1].getExtension(2), nullptr);
    EXPECT_STREQ(formats[5].getExtension(0), "gif");
    EXPECT_EQ(getPixelFormatBytes(0x206), 0u);
}
