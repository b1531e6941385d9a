#include "ImageFixtures.h"

#include <gtest/gtest.h>

using namespace ImageFixtures;

namespace
{
Bytes pixelsOf(DecodedImage& image)
{
    const size_t size = static_cast<size_t>(image.getWidth()) * static_cast<size_t>(image.getHeight()) *
                        getPixelFormatBytes(image.getFormat());
    return Bytes(image.getPixels(), image.getPixels() + size);
}

Bytes palette16()
{
    Bytes palette;
    for (int i = 0; i < 16; ++i)
        palette.insert(palette.end(), {uint8_t(i * 3), uint8_t(i * 5), uint8_t(i * 7), 0});
    return palette;
}

Bytes rgb16(uint16_t pixel)
{
    return {static_cast<uint8_t>(pixel), static_cast<uint8_t>(pixel >> 8)};
}

Bytes rgb32(uint32_t pixel)
{
    return {static_cast<uint8_t>(pixel), static_cast<uint8_t>(pixel >> 8), static_cast<uint8_t>(pixel >> 16),
            static_cast<uint8_t>(pixel >> 24)};
}
} // namespace

TEST(BmpReader, PaletteDepthsGiveIndicesTopRowFirst)
{
    // 1 bit, most significant bit first: 10110000 01010000 over 12 pixels.
    BmpOptions mono{.bits = 1, .palette = {10, 20, 30, 0, 200, 210, 220, 0}};
    DecodedImagePtr image =
        decode(encodeBmp(12, 2, bmpRows(12, 2, 1, {0xB0, 0x50, 0xFF, 0xF0}), mono), IMAGE_FORMAT_BMP);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->getFormat(), PIXEL_FORMAT_I8);
    EXPECT_EQ(image->getPaletteFormat(), PIXEL_FORMAT_B8G8R8);
    EXPECT_EQ(pixelsOf(*image),
              (Bytes{1, 0, 1, 1, 0, 0, 0, 0, 0, 1, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(Bytes(image->getPalette(), image->getPalette() + 9),
              (Bytes{10, 20, 30, 200, 210, 220, 0, 0, 0}));

    BmpOptions four{.bits = 4, .palette = palette16()};
    image = decode(encodeBmp(3, 2, bmpRows(3, 2, 4, {0x12, 0x30, 0xAB, 0xC0}), four), IMAGE_FORMAT_BMP);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(pixelsOf(*image), (Bytes{1, 2, 3, 10, 11, 12}));

    BmpOptions eight{.bits = 8, .palette = palette16(), .coloursUsed = 16};
    image = decode(encodeBmp(3, 2, bmpRows(3, 2, 8, {1, 2, 3, 4, 5, 6}), eight), IMAGE_FORMAT_BMP);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(pixelsOf(*image), (Bytes{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(image->getPalette()[5 * 3 + 2], 35);
}

TEST(BmpReader, ThePaletteHonoursTheColoursUsedField)
{
    // Two entries, then the pixels right after: reading 256 entries would
    // take the pixels for the palette and miss the data.
    BmpOptions eight{.bits = 8, .palette = {1, 2, 3, 0, 4, 5, 6, 0}, .coloursUsed = 2};
    DecodedImagePtr image = decode(encodeBmp(2, 1, bmpRows(2, 1, 8, {1, 0}), eight), IMAGE_FORMAT_BMP);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(pixelsOf(*image), (Bytes{1, 0}));
    EXPECT_EQ(Bytes(image->getPalette(), image->getPalette() + 9), (Bytes{1, 2, 3, 4, 5, 6, 0, 0, 0}));
}

TEST(BmpReader, TheOs2HeaderHasThreeBytePaletteEntries)
{
    Bytes palette(256 * 3, 0);
    palette[3] = 7;
    palette[4] = 8;
    palette[5] = 9;
    BmpOptions os2{.headerSize = 12, .bits = 8, .palette = palette};
    DecodedImagePtr image = decode(encodeBmp(2, 2, bmpRows(2, 2, 8, {1, 0, 0, 1}), os2), IMAGE_FORMAT_BMP);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(pixelsOf(*image), (Bytes{1, 0, 0, 1}));
    EXPECT_EQ(image->getPalette()[3], 7);
    EXPECT_EQ(image->getPalette()[5], 9);
}

TEST(BmpReader, TrueColourDepthsAndDefaultMasks)
{
    const Bytes bgr = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    DecodedImagePtr image = decode(encodeBmp(2, 2, bmpRows(2, 2, 24, bgr), {.bits = 24}), IMAGE_FORMAT_BMP);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->getFormat(), PIXEL_FORMAT_B8G8R8);
    EXPECT_EQ(pixelsOf(*image), bgr);

    // 5-5-5: red 31, green 1, blue 16.
    image = decode(encodeBmp(1, 1, bmpRows(1, 1, 16, rgb16(0x7C30)), {.bits = 16}), IMAGE_FORMAT_BMP);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->getFormat(), PIXEL_FORMAT_R8G8B8);
    EXPECT_EQ(pixelsOf(*image), (Bytes{248, 8, 128}));

    image = decode(encodeBmp(1, 1, bmpRows(1, 1, 32, rgb32(0xAA112233)), {.bits = 32}), IMAGE_FORMAT_BMP);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(pixelsOf(*image), (Bytes{0x11, 0x22, 0x33}));
}

TEST(BmpReader, BitFieldMasksFollowTheHeaderOrSitInIt)
{
    BmpOptions after{.bits = 16, .compression = 3, .masks = {0xF800, 0x07E0, 0x001F}};
    DecodedImagePtr image =
        decode(encodeBmp(1, 1, bmpRows(1, 1, 16, rgb16(0xF81F)), after), IMAGE_FORMAT_BMP);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(pixelsOf(*image), (Bytes{248, 0, 248}));

    for (uint32_t headerSize : {56u, 108u, 124u})
    {
        BmpOptions inside{.headerSize = headerSize,
                          .bits = 32,
                          .compression = 3,
                          .masks = {0x0000FF00, 0x00FF0000, 0xFF000000}};
        image = decode(encodeBmp(1, 1, bmpRows(1, 1, 32, rgb32(0x44332211)), inside), IMAGE_FORMAT_BMP);
        ASSERT_NE(image, nullptr) << headerSize;
        EXPECT_EQ(pixelsOf(*image), (Bytes{0x22, 0x33, 0x44})) << headerSize;
    }
}

TEST(BmpReader, EmptyAndWideMasksStayInRange)
{
    // Red has no mask, green ten bits (scaled down), blue two bits (scaled up).
    BmpOptions odd{.bits = 32, .compression = 3, .masks = {0, 0x000FFC00, 0x3}};
    DecodedImagePtr image =
        decode(encodeBmp(1, 1, bmpRows(1, 1, 32, rgb32(0xFFFFFFFF)), odd), IMAGE_FORMAT_BMP);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(pixelsOf(*image), (Bytes{0, 255, 192}));

    BmpOptions full{.bits = 32, .compression = 3, .masks = {0xFFFFFFFF, 0x80000000, 0x1}};
    image = decode(encodeBmp(1, 1, bmpRows(1, 1, 32, rgb32(0x80000001)), full), IMAGE_FORMAT_BMP);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(pixelsOf(*image), (Bytes{128, 128, 128}));
}

TEST(BmpReader, ANegativeHeightStoresRowsTopFirst)
{
    const Bytes rows = {1, 2, 3, 4, 5, 6};
    BmpOptions topDown{.bits = 24, .topDown = true};
    // bmpRows stores bottom-up; give it the rows reversed so they land top first.
    DecodedImagePtr image =
        decode(encodeBmp(1, 2, bmpRows(1, 2, 24, {4, 5, 6, 1, 2, 3}), topDown), IMAGE_FORMAT_BMP);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->getHeight(), 2);
    EXPECT_EQ(pixelsOf(*image), rows);
}

TEST(BmpReader, Rle8RunsDeltasAndAbsoluteRunsAreClippedToTheImage)
{
    // 8 x 4, rows bottom-up in the stream:
    // row 3: run 3 x 5, absolute 1 2 3 4, run 1 x 9, end of line
    // row 2: delta (3, 1) to row 1 column 3, run 5 x 7, end of line
    // row 0: run 10 x 6 (clipped to 8), end of bitmap
    const Bytes stream = {3, 5, 0, 4, 1, 2, 3, 4, 1, 9, 0, 0, 0, 2, 3, 1, 5, 7, 0, 0, 10, 6, 0, 1};
    BmpOptions rle{.bits = 8, .compression = 1, .palette = palette16(), .coloursUsed = 16};
    DecodedImagePtr image = decode(encodeBmp(8, 4, stream, rle), IMAGE_FORMAT_BMP);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(pixelsOf(*image), (Bytes{6, 6, 6, 6, 6, 6, 6, 6, //
                                       0, 0, 0, 7, 7, 7, 7, 7, //
                                       0, 0, 0, 0, 0, 0, 0, 0, //
                                       5, 5, 5, 1, 2, 3, 4, 9}));
}

TEST(BmpReader, Rle4AlternatesNibblesAndPadsAbsoluteRuns)
{
    const Bytes stream = {4, 0x12, 0, 3, 0x34, 0x50, 0, 0, 0, 6, 0xAB, 0xCD, 0xEF, 0x00, 0, 0, 0, 1};
    BmpOptions rle{.bits = 4, .compression = 2, .palette = palette16()};
    DecodedImagePtr image = decode(encodeBmp(6, 2, stream, rle), IMAGE_FORMAT_BMP);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(pixelsOf(*image), (Bytes{10, 11, 12, 13, 14, 15, 1, 2, 1, 2, 3, 4}));
}

TEST(BmpReader, HostileRunLengthDataStaysInsideTheImage)
{
    BmpOptions rle{.bits = 8, .compression = 1, .palette = palette16(), .coloursUsed = 16};
    // Deltas far past the right and bottom edges, then runs.
    const Bytes deltas = {0, 2, 255, 0, 255, 1, 0, 2, 0, 255, 255, 2, 0, 0, 255, 3};
    EXPECT_NE(decode(encodeBmp(4, 2, deltas, rle), IMAGE_FORMAT_BMP), nullptr);
    // An absolute run longer than the row and than the data left.
    const Bytes absolute = {0, 200, 1, 2, 3};
    DecodedImagePtr image = decode(encodeBmp(4, 2, absolute, rle), IMAGE_FORMAT_BMP);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(pixelsOf(*image), Bytes(8, 0));
    const Bytes longRow = {0, 6, 1, 2, 3, 4, 5, 6, 255, 8};
    image = decode(encodeBmp(4, 2, longRow, rle), IMAGE_FORMAT_BMP);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(pixelsOf(*image), (Bytes{0, 0, 0, 0, 1, 2, 3, 4}));
}

TEST(BmpReader, RefusesBadSizesAndVariants)
{
    const Bytes one = bmpRows(1, 1, 24, {1, 2, 3});
    EXPECT_EQ(decode(encodeBmp(0, 1, {}, {.bits = 24}), IMAGE_FORMAT_BMP), nullptr);
    EXPECT_EQ(decode(encodeBmp(-3, 1, one, {.bits = 24}), IMAGE_FORMAT_BMP), nullptr);
    EXPECT_EQ(decode(encodeBmp(16385, 1, one, {.bits = 24}), IMAGE_FORMAT_BMP), nullptr);
    // Claims far more pixels than the file holds: refused before allocating.
    EXPECT_EQ(decode(encodeBmp(16000, 16000, one, {.bits = 32}), IMAGE_FORMAT_BMP), nullptr);
    EXPECT_EQ(decode(encodeBmp(1, 1, one, {.bits = 24, .compression = 1}), IMAGE_FORMAT_BMP), nullptr);
    EXPECT_EQ(decode(encodeBmp(1, 1, one, {.bits = 2}), IMAGE_FORMAT_BMP), nullptr);
    Bytes badHeader = encodeBmp(1, 1, one, {.bits = 24});
    badHeader[14] = 11; // header size below 12
    EXPECT_EQ(decode(badHeader, IMAGE_FORMAT_BMP), nullptr);
    Bytes badPlanes = encodeBmp(1, 1, one, {.bits = 24});
    badPlanes[26] = 2;
    EXPECT_EQ(decode(badPlanes, IMAGE_FORMAT_BMP), nullptr);
    Bytes minHeight = encodeBmp(1, 1, one, {.bits = 24});
    minHeight[22] = minHeight[23] = minHeight[24] = 0;
    minHeight[25] = 0x80; // INT32_MIN
    EXPECT_EQ(decode(minHeight, IMAGE_FORMAT_BMP), nullptr);
}
