#include "ImageFixtures.h"
#include "Platform/System/Paths.h"

#include <gtest/gtest.h>

#include <png.h>

using namespace ImageFixtures;

namespace
{
Bytes pixelsOf(DecodedImage& image)
{
    const size_t size = static_cast<size_t>(image.getWidth()) * static_cast<size_t>(image.getHeight()) *
                        getPixelFormatBytes(image.getFormat());
    return Bytes(image.getPixels(), image.getPixels() + size);
}
} // namespace

TEST(PngReader, TrueColourImagesKeepTheirSamples)
{
    const Bytes rgba = pattern(9, 7, 4);
    DecodedImagePtr image = decode(encodePng(9, 7, rgba), IMAGE_FORMAT_PNG);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->getWidth(), 9);
    EXPECT_EQ(image->getHeight(), 7);
    EXPECT_EQ(image->getFormat(), PIXEL_FORMAT_R8G8B8A8);
    EXPECT_EQ(pixelsOf(*image), rgba);

    PngOptions rgb;
    rgb.colourType = PNG_COLOR_TYPE_RGB;
    const Bytes samples = pattern(9, 7, 3);
    image = decode(encodePng(9, 7, samples, rgb), IMAGE_FORMAT_PNG);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->getFormat(), PIXEL_FORMAT_R8G8B8);
    EXPECT_EQ(pixelsOf(*image), samples);
}

TEST(PngReader, InterlacedImagesMatchTheirRowOrderTwin)
{
    const Bytes rgba = pattern(17, 11, 4);
    PngOptions interlaced;
    interlaced.interlaced = true;
    DecodedImagePtr image = decode(encodePng(17, 11, rgba, interlaced), IMAGE_FORMAT_PNG);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(pixelsOf(*image), rgba);

    PngOptions greyAlpha;
    greyAlpha.colourType = PNG_COLOR_TYPE_GRAY_ALPHA;
    greyAlpha.interlaced = true;
    const Bytes samples = pattern(17, 11, 2);
    image = decode(encodePng(17, 11, samples, greyAlpha), IMAGE_FORMAT_PNG);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->getPixels()[4 * 16 + 0], samples[2 * 16]);
    EXPECT_EQ(image->getPixels()[4 * 16 + 3], samples[2 * 16 + 1]);
}

TEST(PngReader, SixteenBitSamplesKeepTheirHighByte)
{
    PngOptions deep;
    deep.colourType = PNG_COLOR_TYPE_RGB;
    deep.bitDepth = 16;
    const Bytes samples = pattern(5, 4, 6);
    DecodedImagePtr image = decode(encodePng(5, 4, samples, deep), IMAGE_FORMAT_PNG);
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->getFormat(), PIXEL_FORMAT_R8G8B8);
    for (size_t i = 0; i < 5 * 4 * 3; ++i)
        ASSERT_EQ(image->getPixels()[i], samples[2 * i]) << i;
}

TEST(PngReader, GreyImagesBecomeIndicesIntoAGreyRamp)
{
    PngOptions grey;
    grey.colourType = PNG_COLOR_TYPE_GRAY;
    const Bytes samples = pattern(9, 7, 1);
    DecodedImagePtr image = decode(encodePng(9, 7, samples, grey), IMAGE_FORMAT_PNG);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->getFormat(), PIXEL_FORMAT_I8);
    EXPECT_EQ(image->getPaletteSize(), 256);
    EXPECT_EQ(image->getPaletteFormat(), PIXEL_FORMAT_R8G8B8A8);
    EXPECT_EQ(pixelsOf(*image), samples);

    DecodedImagePtr bgra(convertImage(image.release(), PIXEL_FORMAT_B8G8R8A8));
    ASSERT_NE(bgra, nullptr);
    for (size_t i = 0; i < samples.size(); ++i)
    {
        const uint8_t* pixel = bgra->getPixels() + 4 * i;
        ASSERT_EQ(pixel[0], samples[i]);
        ASSERT_EQ(pixel[1], samples[i]);
        ASSERT_EQ(pixel[2], samples[i]);
        ASSERT_EQ(pixel[3], 255);
    }
}

TEST(PngReader, SmallGreyDepthsAreScaledToEightBits)
{
    PngOptions grey;
    grey.colourType = PNG_COLOR_TYPE_GRAY;
    grey.bitDepth = 2;
    // Four pixels per byte: 0, 1, 2, 3.
    DecodedImagePtr image = decode(encodePng(4, 1, {0x1B}, grey), IMAGE_FORMAT_PNG);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(pixelsOf(*image), (Bytes{0, 85, 170, 255}));
}

TEST(PngReader, TransparencyBecomesAlpha)
{
    PngOptions indexed;
    indexed.colourType = PNG_COLOR_TYPE_PALETTE;
    indexed.palette = {10, 20, 30, 40, 50, 60, 70, 80, 90};
    indexed.transparency = {0, 128};
    DecodedImagePtr image = decode(encodePng(3, 1, {0, 1, 2}, indexed), IMAGE_FORMAT_PNG);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->getFormat(), PIXEL_FORMAT_R8G8B8A8);
    EXPECT_EQ(pixelsOf(*image), (Bytes{10, 20, 30, 0, 40, 50, 60, 128, 70, 80, 90, 255}));

    PngOptions keyed;
    keyed.colourType = PNG_COLOR_TYPE_GRAY;
    keyed.transparentGrey = 7;
    image = decode(encodePng(2, 1, {7, 9}, keyed), IMAGE_FORMAT_PNG);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->getFormat(), PIXEL_FORMAT_R8G8B8A8);
    EXPECT_EQ(pixelsOf(*image), (Bytes{7, 7, 7, 0, 9, 9, 9, 255}));
}

TEST(PngReader, RefusesOtherSignaturesAndOversizedImages)
{
    Bytes bytes = encodePng(2, 2, pattern(2, 2, 4));
    bytes[1] = 'Q';
    EXPECT_EQ(decode(bytes, IMAGE_FORMAT_PNG), nullptr);
    EXPECT_EQ(decode(encodePng(16385, 1, Bytes(16385 * 4, 0)), IMAGE_FORMAT_PNG), nullptr);
    EXPECT_NE(decode(encodePng(16384, 1, Bytes(16384 * 4, 0)), IMAGE_FORMAT_PNG), nullptr);
}

TEST(PngReader, ACorruptChunkFailsCleanly)
{
    Bytes bytes = encodePng(9, 7, pattern(9, 7, 4));
    // Damage a byte inside the compressed pixels: the chunk's CRC fails.
    bytes[bytes.size() - 20] ^= 0x55;
    EXPECT_EQ(decode(bytes, IMAGE_FORMAT_PNG), nullptr);
}

TEST(PngWriter, WrittenFilesReadBackWithTheirAlpha)
{
    Platform::TemporaryDirectory directory;
    const Bytes rgba = pattern(6, 5, 4);
    DecodedImagePtr image(createImage(6, 5, PIXEL_FORMAT_R8G8B8A8, rgba.data()));
    const std::string name = directory.path() + "out.PNG";
    ASSERT_TRUE(saveImageByName(name.c_str(), IMAGE_FORMAT_AUTODETECT, image.get()));
    DecodedImagePtr back(openImageByName(name.c_str(), IMAGE_FORMAT_PNG));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->getFormat(), PIXEL_FORMAT_R8G8B8A8);
    EXPECT_EQ(pixelsOf(*back), rgba);

    // Any image is written through its RGBA form.
    DecodedImagePtr bgr(createImage(1, 1, PIXEL_FORMAT_B8G8R8, Bytes{1, 2, 3}.data()));
    ASSERT_TRUE(saveImageByName(name.c_str(), IMAGE_FORMAT_PNG, bgr.get()));
    back.reset(openImageByName(name.c_str(), IMAGE_FORMAT_AUTODETECT));
    EXPECT_EQ(pixelsOf(*back), (Bytes{3, 2, 1, 255}));
}

TEST(ImageWriter, RefusesUnknownNamesAndLeavesNoPartialFile)
{
    Platform::TemporaryDirectory directory;
    DecodedImagePtr image(createImage(1, 1, PIXEL_FORMAT_B8G8R8A8, nullptr));
    const std::string bmp = directory.path() + "out.bmp";
    EXPECT_FALSE(saveImageByName(bmp.c_str(), IMAGE_FORMAT_AUTODETECT, image.get()));
    EXPECT_FALSE(saveImageByName(bmp.c_str(), IMAGE_FORMAT_BMP, image.get()));
    EXPECT_FALSE(
        saveImageByName((directory.path() + "none/x.png").c_str(), IMAGE_FORMAT_AUTODETECT, image.get()));
    EXPECT_FALSE(saveImageByName((directory.path() + "x.png").c_str(), IMAGE_FORMAT_AUTODETECT, nullptr));
    EXPECT_TRUE(Platform::listDirectory(directory.path()).empty());
}
