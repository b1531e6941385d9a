#include "ImageFixtures.h"
#include "Platform/System/Paths.h"

#include <gtest/gtest.h>

#include <png.h>

using namespace ImageFixtures;

namespace
{
PngOptions png(int colourType, int bitDepth = 8, bool interlaced = false)
{
    PngOptions options;
    options.colourType = colourType;
    options.bitDepth = bitDepth;
    options.interlaced = interlaced;
    return options;
}

// Grey (and alpha) samples as the RGBA the reader gives.
Bytes greyAlphaToRgba(const Bytes& samples)
{
    Bytes out;
    for (size_t i = 0; i + 1 < samples.size(); i += 2)
        out.insert(out.end(), {samples[i], samples[i], samples[i], samples[i + 1]});
    return out;
}

// The high byte of each big-endian 16-bit sample.
Bytes highBytes(const Bytes& samples)
{
    Bytes out;
    for (size_t i = 0; i < samples.size(); i += 2)
        out.push_back(samples[i]);
    return out;
}

struct PngCase
{
    const char* name;
    int width;
    int height;
    Bytes samples;
    PngOptions options;
    uint32_t format;
    Bytes pixels;
};

PngCase row(const char* name, int width, int height, Bytes samples, PngOptions options, uint32_t format,
            Bytes pixels)
{
    return {name, width, height, samples, options, format, pixels};
}

PngOptions indexed(Bytes transparency = {})
{
    PngOptions options = png(PNG_COLOR_TYPE_PALETTE);
    options.palette = {10, 20, 30, 40, 50, 60, 70, 80, 90};
    options.transparency = std::move(transparency);
    return options;
}

PngOptions greyKey()
{
    PngOptions options = png(PNG_COLOR_TYPE_GRAY);
    options.transparentGrey = 7;
    return options;
}
} // namespace

TEST(PngReader, DecodesEveryVariantToItsPixels)
{
    const PngCase cases[] = {
        row("rgba", 9, 7, pattern(9, 7, 4), {}, PIXEL_FORMAT_R8G8B8A8, pattern(9, 7, 4)),
        row("rgb", 9, 7, pattern(9, 7, 3), png(PNG_COLOR_TYPE_RGB), PIXEL_FORMAT_R8G8B8, pattern(9, 7, 3)),
        // Interlaced rows are not reordered twice.
        row("interlaced", 17, 11, pattern(17, 11, 4), png(PNG_COLOR_TYPE_RGB_ALPHA, 8, true),
            PIXEL_FORMAT_R8G8B8A8, pattern(17, 11, 4)),
        row("greyAlphaInterlaced", 17, 11, pattern(17, 11, 2), png(PNG_COLOR_TYPE_GRAY_ALPHA, 8, true),
            PIXEL_FORMAT_R8G8B8A8, greyAlphaToRgba(pattern(17, 11, 2))),
        row("16bit", 5, 4, pattern(5, 4, 6), png(PNG_COLOR_TYPE_RGB, 16), PIXEL_FORMAT_R8G8B8,
            highBytes(pattern(5, 4, 6))),
        row("grey", 9, 7, pattern(9, 7, 1), png(PNG_COLOR_TYPE_GRAY), PIXEL_FORMAT_I8, pattern(9, 7, 1)),
        // Four pixels per byte: 0, 1, 2, 3, scaled to eight bits.
        row("grey2", 4, 1, {0x1B}, png(PNG_COLOR_TYPE_GRAY, 2), PIXEL_FORMAT_I8, {0, 85, 170, 255}),
        row("paletteAlpha", 3, 1, {0, 1, 2}, indexed({0, 128}), PIXEL_FORMAT_R8G8B8A8,
            {10, 20, 30, 0, 40, 50, 60, 128, 70, 80, 90, 255}),
        row("palette", 3, 1, {2, 0, 1}, indexed(), PIXEL_FORMAT_R8G8B8, {70, 80, 90, 10, 20, 30, 40, 50, 60}),
        row("greyKey", 2, 1, {7, 9}, greyKey(), PIXEL_FORMAT_R8G8B8A8, {7, 7, 7, 0, 9, 9, 9, 255}),
    };
    for (const PngCase& c : cases)
    {
        DecodedImagePtr image = decode(encodePng(c.width, c.height, c.samples, c.options), IMAGE_FORMAT_PNG);
        ASSERT_NE(image, nullptr) << c.name;
        EXPECT_EQ(image->getWidth(), c.width) << c.name;
        EXPECT_EQ(image->getFormat(), c.format) << c.name;
        EXPECT_EQ(pixelsOf(*image), c.pixels) << c.name;
    }
}

TEST(PngReader, GreyIndicesPointIntoAGreyRamp)
{
    const Bytes samples = pattern(9, 7, 1);
    DecodedImagePtr image = decode(encodePng(9, 7, samples, png(PNG_COLOR_TYPE_GRAY)), IMAGE_FORMAT_PNG);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->getPaletteSize(), 256);
    EXPECT_EQ(image->getPaletteFormat(), PIXEL_FORMAT_R8G8B8A8);
    DecodedImagePtr bgra(convertImage(image.release(), PIXEL_FORMAT_B8G8R8A8));
    ASSERT_NE(bgra, nullptr);
    Bytes expected;
    for (uint8_t grey : samples)
        expected.insert(expected.end(), {grey, grey, grey, 255});
    EXPECT_EQ(pixelsOf(*bgra), expected);
}

TEST(PngReader, RefusesOtherSignaturesAndOversizedImages)
{
    Bytes bytes = encodePng(2, 2, pattern(2, 2, 4));
    bytes[1] = 'Q';
    EXPECT_EQ(decode(bytes, IMAGE_FORMAT_PNG), nullptr);
    // Nothing wider than the largest texture.
    const int beyond = kMaxImageSide + 1;
    EXPECT_EQ(decode(encodePng(beyond, 1, Bytes(size_t(beyond) * 4, 0)), IMAGE_FORMAT_PNG), nullptr);
    EXPECT_NE(decode(encodePng(kMaxImageSide, 1, Bytes(size_t(kMaxImageSide) * 4, 0)), IMAGE_FORMAT_PNG),
              nullptr);
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
