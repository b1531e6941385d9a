#include "ImageFixtures.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

using namespace ImageFixtures;

namespace
{
Bytes readFile(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Bytes sixteenColours()
{
    return pattern(16, 1, 3, 3);
}

GifImage fullImage(int width, int height, bool interlaced = false, int transparent = -1)
{
    GifImage image{0, 0, width, height, interlaced, pattern(width, height, 1), transparent};
    for (uint8_t& index : image.raster)
        index &= 15;
    return image;
}
} // namespace

TEST(GifReader, FirstImageGivesIndicesAndAnOpaquePalette)
{
    const GifImage first = fullImage(10, 9);
    const Bytes colours = sixteenColours();
    DecodedImagePtr image = decode(encodeGif(10, 9, colours, 0, {first, fullImage(10, 9)}), IMAGE_FORMAT_GIF);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->getFormat(), PIXEL_FORMAT_I8);
    EXPECT_EQ(image->getPaletteFormat(), PIXEL_FORMAT_R8G8B8A8);
    ASSERT_EQ(image->getPaletteSize(), 256);
    EXPECT_EQ(pixelsOf(*image), first.raster);
    const uint8_t* palette = image->getPalette();
    for (int i = 0; i < 16; ++i)
    {
        EXPECT_EQ(palette[4 * i], colours[3 * i]);
        EXPECT_EQ(palette[4 * i + 2], colours[3 * i + 2]);
        EXPECT_EQ(palette[4 * i + 3], 255);
    }
    EXPECT_EQ(palette[4 * 16 + 3], 0);
}

TEST(GifReader, InterlacedRowsAreNotReorderedTwice)
{
    const GifImage interlaced = fullImage(10, 19, true);
    DecodedImagePtr image = decode(encodeGif(10, 19, sixteenColours(), 0, {interlaced}), IMAGE_FORMAT_GIF);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(pixelsOf(*image), interlaced.raster);
}

TEST(GifReader, OnlyTheTransparentIndexLosesItsAlpha)
{
    const Bytes colours = pattern(256, 1, 3, 4);
    GifImage image{0, 0, 2, 1, false, {200, 1}, 200};
    DecodedImagePtr decoded = decode(encodeGif(2, 1, colours, 0, {image}), IMAGE_FORMAT_GIF);
    ASSERT_NE(decoded, nullptr);
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(decoded->getPalette()[4 * i + 3], i == 200 ? 0 : 255) << i;
}

TEST(GifReader, ASmallFirstImageSitsAtItsOffsetOnTheBackground)
{
    GifImage inner{3, 2, 4, 3, false, Bytes(12, 5), -1};
    DecodedImagePtr image = decode(encodeGif(10, 9, sixteenColours(), 2, {inner}), IMAGE_FORMAT_GIF);
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->getWidth(), 10);
    ASSERT_EQ(image->getHeight(), 9);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 10; ++x)
        {
            const bool inside = x >= 3 && x < 7 && y >= 2 && y < 5;
            ASSERT_EQ(image->getPixels()[y * 10 + x], inside ? 5 : 2) << x << "," << y;
        }

    // With a transparent index the uncovered screen is transparent instead.
    inner.transparent = 9;
    image = decode(encodeGif(10, 9, sixteenColours(), 2, {inner}), IMAGE_FORMAT_GIF);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->getPixels()[0], 9);
    EXPECT_EQ(image->getPixels()[2 * 10 + 3], 5);
}

TEST(GifReader, AnImageReachingPastTheScreenIsClipped)
{
    GifImage wide = fullImage(8, 6);
    wide.left = 5;
    wide.top = 4;
    DecodedImagePtr image = decode(encodeGif(10, 7, sixteenColours(), 1, {wide}), IMAGE_FORMAT_GIF);
    ASSERT_NE(image, nullptr);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 10; ++x)
        {
            const bool inside = x >= 5 && y >= 4;
            const uint8_t expected = inside ? wide.raster[static_cast<size_t>((y - 4) * 8 + (x - 5))] : 1;
            ASSERT_EQ(image->getPixels()[y * 10 + x], expected) << x << "," << y;
        }

    GifImage outside = fullImage(4, 4);
    outside.left = 30;
    image = decode(encodeGif(10, 7, sixteenColours(), 1, {outside}), IMAGE_FORMAT_GIF);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(pixelsOf(*image), Bytes(70, 1));
}

TEST(GifReader, RefusesMissingPalettesOrImagesAndOversizedFrames)
{
    EXPECT_EQ(decode(encodeGif(4, 4, {}, 0, {fullImage(4, 4)}), IMAGE_FORMAT_GIF), nullptr);
    EXPECT_EQ(decode(encodeGif(4, 4, sixteenColours(), 0, {}), IMAGE_FORMAT_GIF), nullptr);
    EXPECT_EQ(decode(Bytes{'G', 'I', 'F', '8', '9', 'a'}, IMAGE_FORMAT_GIF), nullptr);
    // A side beyond the largest texture is refused before giflib decodes the
    // frame.
    const int beyond = kMaxImageSide + 1;
    GifImage wide{0, 0, beyond, 1, false, Bytes(size_t(beyond), 1), -1};
    EXPECT_EQ(decode(encodeGif(4, 1, sixteenColours(), 0, {wide}), IMAGE_FORMAT_GIF), nullptr);
    // A later frame counts too: giflib decodes them all.
    EXPECT_EQ(decode(encodeGif(4, 1, sixteenColours(), 0, {fullImage(4, 1), wide}), IMAGE_FORMAT_GIF),
              nullptr);
    wide.width = kMaxImageSide;
    wide.raster.resize(size_t(kMaxImageSide));
    EXPECT_NE(decode(encodeGif(4, 1, sixteenColours(), 0, {wide}), IMAGE_FORMAT_GIF), nullptr);
    EXPECT_EQ(decode(encodeGif(beyond, 1, sixteenColours(), 0, {fullImage(4, 1)}), IMAGE_FORMAT_GIF),
              nullptr);
}

// The sizes a file declares must stand in proportion to the data it holds
// before anything is allocated for them.
TEST(GifReader, RefusesSizesItsDataCouldNeverFill)
{
    // A frame of 4,000 x 4,000 over the few codes of a 4 x 4 frame.
    Bytes small = encodeGif(4, 4, sixteenColours(), 0, {fullImage(4, 4)});
    Bytes declared = small;
    const size_t frame = 13 + 48 + 1; // header, colour table, image separator
    ASSERT_EQ(declared[frame - 1], 0x2C);
    for (size_t at : {frame + 4, frame + 6})
    {
        declared[at] = 4000 & 0xFF;
        declared[at + 1] = 4000 >> 8;
    }
    EXPECT_EQ(decode(declared, IMAGE_FORMAT_GIF), nullptr);

    // A screen of 2,000 x 2,000 painted by one 4 x 4 frame; a screen of
    // 1,000 x 1,000 is small enough to be taken as it comes.
    for (int side : {2000, 1000})
    {
        Bytes screen = small;
        screen[6] = static_cast<uint8_t>(side & 0xFF);
        screen[7] = static_cast<uint8_t>(side >> 8);
        screen[8] = screen[6];
        screen[9] = screen[7];
        DecodedImagePtr image = decode(screen, IMAGE_FORMAT_GIF);
        EXPECT_EQ(image != nullptr, side == 1000) << side;
    }

    // The 149-byte file that declares a 14,342 x 14,992 screen.
    const Bytes hostile =
        readFile(VELMORIQUE_SOURCE_DIR "/tests/fuzz/corpus/fuzz_gif/gif-declares-14342x14992.gif");
    ASSERT_EQ(hostile.size(), 149u);
    EXPECT_EQ(decode(hostile, IMAGE_FORMAT_GIF), nullptr);
}
