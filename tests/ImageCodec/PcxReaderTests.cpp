#include "ImageFixtures.h"

#include <gtest/gtest.h>

using namespace ImageFixtures;

TEST(PcxReader, OnePlaneGivesIndicesWithTheTrailingPalette)
{
    // Lines one byte longer than the image: the padding byte is not a pixel.
    const Bytes lines = {0xC7, 0xC7, 0xC7, 0xC7, 1, 2, 3, 9, 200, 200, 0xFF, 0xFF};
    const Bytes palette = pattern(256, 1, 3, 2);
    DecodedImagePtr image = decode(encodePcx(3, 3, 1, 4, lines, palette), IMAGE_FORMAT_PCX);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->getFormat(), PIXEL_FORMAT_I8);
    EXPECT_EQ(image->getPaletteFormat(), PIXEL_FORMAT_R8G8B8);
    EXPECT_EQ(pixelsOf(*image), (Bytes{0xC7, 0xC7, 0xC7, 1, 2, 3, 200, 200, 0xFF}));
    EXPECT_EQ(Bytes(image->getPalette(), image->getPalette() + 768), palette);
}

TEST(PcxReader, ThreePlanesGiveRgb)
{
    // One line: red plane, green plane, blue plane, two bytes each.
    const Bytes line = {10, 11, 20, 21, 30, 31};
    DecodedImagePtr image = decode(encodePcx(2, 1, 3, 2, line), IMAGE_FORMAT_PCX);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->getFormat(), PIXEL_FORMAT_R8G8B8);
    EXPECT_EQ(pixelsOf(*image), (Bytes{10, 20, 30, 11, 21, 31}));
}

TEST(PcxReader, RunsLongerThanTheLineAreCut)
{
    Bytes bytes = encodePcx(2, 1, 3, 2, Bytes(6, 0));
    // Replace the data by one run of 63 over the 6-byte line.
    bytes.resize(128);
    bytes.insert(bytes.end(), {0xFF, 0x33});
    DecodedImagePtr image = decode(bytes, IMAGE_FORMAT_PCX);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(pixelsOf(*image), Bytes(6, 0x33));
}

TEST(PcxReader, RefusesABadPaletteMarkerOrShortLines)
{
    const Bytes palette(768, 1);
    Bytes marker = encodePcx(2, 2, 1, 2, {1, 2, 3, 4}, palette);
    marker[marker.size() - 769] = 13;
    EXPECT_EQ(decode(marker, IMAGE_FORMAT_PCX), nullptr);
    // Bytes per line smaller than the width.
    EXPECT_EQ(decode(encodePcx(4, 1, 1, 2, {1, 2}, palette), IMAGE_FORMAT_PCX), nullptr);
    EXPECT_EQ(decode(encodePcx(2, 1, 2, 2, {1, 2, 3, 4}), IMAGE_FORMAT_PCX), nullptr);
    Bytes inverted = encodePcx(2, 1, 3, 2, Bytes(6, 0));
    inverted[4] = 5; // xmin past xmax
    EXPECT_EQ(decode(inverted, IMAGE_FORMAT_PCX), nullptr);
    Bytes huge = encodePcx(2, 1, 3, 2, Bytes(6, 0));
    huge[10] = huge[11] = 0x3F; // 16128 rows over a few bytes
    huge[66] = 0xFF;
    huge[67] = 0x3F;
    huge[8] = 0xFE;
    huge[9] = 0x3F;
    EXPECT_EQ(decode(huge, IMAGE_FORMAT_PCX), nullptr);
}
