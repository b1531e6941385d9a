#include "ImageFixtures.h"

#include <gtest/gtest.h>

using namespace ImageFixtures;

namespace
{
Bytes le16(uint16_t pixel)
{
    return {static_cast<uint8_t>(pixel), static_cast<uint8_t>(pixel >> 8)};
}

Bytes le32(uint32_t pixel)
{
    return {static_cast<uint8_t>(pixel), static_cast<uint8_t>(pixel >> 8), static_cast<uint8_t>(pixel >> 16),
            static_cast<uint8_t>(pixel >> 24)};
}

Bytes os2Palette()
{
    Bytes palette(256 * 3, 0);
    palette[3] = 7;
    palette[4] = 8;
    palette[5] = 9;
    return palette;
}

struct BmpCase
{
    const char* name;
    int width;
    int height;
    Bytes data; // as stored: rows through bmpRows, or a run-length stream
    BmpOptions options;
    uint32_t format;
    Bytes pixels;
    Bytes palettePrefix; // B, G, R of the first entries, when the case checks them
};

BmpCase row(const char* name, int width, int height, Bytes data, BmpOptions options, uint32_t format,
            Bytes pixels, Bytes palettePrefix = {})
{
    return {name, width, height, data, options, format, pixels, palettePrefix};
}

const BmpCase kCases[] = {
    // 1 bit, most significant bit first: 10110000 01010000 over 12 pixels.
    row("mono", 12, 2, bmpRows(12, 2, 1, {0xB0, 0x50, 0xFF, 0xF0}),
        {.bits = 1, .palette = {10, 20, 30, 0, 200, 210, 220, 0}}, PIXEL_FORMAT_I8,
        {1, 0, 1, 1, 0, 0, 0, 0, 0, 1, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1},
        {10, 20, 30, 200, 210, 220, 0, 0, 0}),
    row("four", 3, 2, bmpRows(3, 2, 4, {0x12, 0x30, 0xAB, 0xC0}), {.bits = 4, .palette = palette16()},
        PIXEL_FORMAT_I8, {1, 2, 3, 10, 11, 12}),
    row("eight", 3, 2, bmpRows(3, 2, 8, {1, 2, 3, 4, 5, 6}),
        {.bits = 8, .palette = palette16(), .coloursUsed = 16}, PIXEL_FORMAT_I8, {1, 2, 3, 4, 5, 6},
        {0, 0, 0, 3, 5, 7, 6, 10, 14, 9, 15, 21, 12, 20, 28, 15, 25, 35}),
    // Two entries, then the pixels right after: reading 256 entries would
    // take the pixels for the palette and miss the data.
    row("coloursUsed", 2, 1, bmpRows(2, 1, 8, {1, 0}),
        {.bits = 8, .palette = {1, 2, 3, 0xEE, 4, 5, 6, 0xEE}, .coloursUsed = 2}, PIXEL_FORMAT_I8, {1, 0},
        {1, 2, 3, 4, 5, 6, 0, 0, 0}),
    // OS/2 palette entries have three bytes.
    row("os2", 2, 2, bmpRows(2, 2, 8, {1, 0, 0, 1}), {.headerSize = 12, .bits = 8, .palette = os2Palette()},
        PIXEL_FORMAT_I8, {1, 0, 0, 1}, {0, 0, 0, 7, 8, 9, 0, 0, 0}),
    row("24", 2, 2, bmpRows(2, 2, 24, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}), {.bits = 24},
        PIXEL_FORMAT_B8G8R8, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}),
    // 5-5-5 by default: red 31, green 1, blue 16.
    row("16", 1, 1, bmpRows(1, 1, 16, le16(0x7C30)), {.bits = 16}, PIXEL_FORMAT_R8G8B8, {248, 8, 128}),
    row("32", 1, 1, bmpRows(1, 1, 32, le32(0xAA112233)), {.bits = 32}, PIXEL_FORMAT_R8G8B8,
        {0x11, 0x22, 0x33}),
    // Masks after a 40-byte header, or inside a longer one.
    row("565", 1, 1, bmpRows(1, 1, 16, le16(0xF81F)),
        {.bits = 16, .compression = 3, .masks = {0xF800, 0x07E0, 0x001F}}, PIXEL_FORMAT_R8G8B8,
        {248, 0, 248}),
    row("masks56", 1, 1, bmpRows(1, 1, 32, le32(0x44332211)),
        {.headerSize = 56, .bits = 32, .compression = 3, .masks = {0xFF00, 0xFF0000, 0xFF000000}},
        PIXEL_FORMAT_R8G8B8, {0x22, 0x33, 0x44}),
    row("v4", 1, 1, bmpRows(1, 1, 32, le32(0x44332211)),
        {.headerSize = 108, .bits = 32, .compression = 3, .masks = {0xFF00, 0xFF0000, 0xFF000000}},
        PIXEL_FORMAT_R8G8B8, {0x22, 0x33, 0x44}),
    row("v5", 1, 1, bmpRows(1, 1, 32, le32(0x44332211)),
        {.headerSize = 124, .bits = 32, .compression = 3, .masks = {0xFF00, 0xFF0000, 0xFF000000}},
        PIXEL_FORMAT_R8G8B8, {0x22, 0x33, 0x44}),
    // Every row of a masked image, top first.
    row("565rows", 1, 2, bmpRows(1, 2, 16, {0x00, 0xF8, 0x1F, 0x00}),
        {.bits = 16, .compression = 3, .masks = {0xF800, 0x07E0, 0x001F}}, PIXEL_FORMAT_R8G8B8,
        {248, 0, 0, 0, 0, 248}),
    // Red has no mask, green ten bits (scaled down), blue two bits (scaled up).
    row("oddMasks", 1, 1, bmpRows(1, 1, 32, le32(0xFFFFFFFF)),
        {.bits = 32, .compression = 3, .masks = {0, 0x000FFC00, 0x3}}, PIXEL_FORMAT_R8G8B8, {0, 255, 192}),
    row("wideMasks", 1, 1, bmpRows(1, 1, 32, le32(0x80000001)),
        {.bits = 32, .compression = 3, .masks = {0xFFFFFFFF, 0x80000000, 0x1}}, PIXEL_FORMAT_R8G8B8,
        {128, 128, 128}),
    // bmpRows stores bottom-up; given the rows reversed they land top first.
    row("topDown", 1, 2, bmpRows(1, 2, 24, {4, 5, 6, 1, 2, 3}), {.bits = 24, .topDown = true},
        PIXEL_FORMAT_B8G8R8, {1, 2, 3, 4, 5, 6}),
    // Rows bottom-up in the stream:
    // row 3: run 3 x 5, absolute 1 2 3 4, run 1 x 9, end of line
    // row 2: delta (3, 1) to row 1 column 3, run 5 x 7, end of line
    // row 0: run 10 x 6 (clipped to 8), end of bitmap
    row("rle8", 8, 4, {3, 5, 0, 4, 1, 2, 3, 4, 1, 9, 0, 0, 0, 2, 3, 1, 5, 7, 0, 0, 10, 6, 0, 1},
        {.bits = 8, .compression = 1, .palette = palette16(), .coloursUsed = 16}, PIXEL_FORMAT_I8,
        {6, 6, 6, 6, 6, 6, 6, 6, 0, 0, 0, 7, 7, 7, 7, 7, 0, 0, 0, 0, 0, 0, 0, 0, 5, 5, 5, 1, 2, 3, 4, 9}),
    // Nibbles alternate; absolute runs are padded to 16 bits.
    row("rle4", 6, 2, {4, 0x12, 0, 3, 0x34, 0x50, 0, 0, 0, 6, 0xAB, 0xCD, 0xEF, 0x00, 0, 0, 0, 1},
        {.bits = 4, .compression = 2, .palette = palette16()}, PIXEL_FORMAT_I8,
        {10, 11, 12, 13, 14, 15, 1, 2, 1, 2, 3, 4}),
    // A run short of the row's end leaves the rest; an absolute run may end
    // the data exactly.
    row("rleShortRun", 4, 1, {2, 5, 0, 1},
        {.bits = 8, .compression = 1, .palette = palette16(), .coloursUsed = 16}, PIXEL_FORMAT_I8,
        {5, 5, 0, 0}),
    row("rleAbsoluteAtEnd", 4, 1, {0, 3, 1, 2, 3},
        {.bits = 8, .compression = 1, .palette = palette16(), .coloursUsed = 16}, PIXEL_FORMAT_I8,
        {1, 2, 3, 0}),
    // Hostile streams stay inside the image: an absolute run longer than the
    // data left, one longer than the row.
    row("rleShortData", 4, 2, {0, 200, 1, 2, 3},
        {.bits = 8, .compression = 1, .palette = palette16(), .coloursUsed = 16}, PIXEL_FORMAT_I8,
        Bytes(8, 0)),
    row("rleLongRow", 4, 2, {0, 6, 1, 2, 3, 4, 5, 6, 255, 8},
        {.bits = 8, .compression = 1, .palette = palette16(), .coloursUsed = 16}, PIXEL_FORMAT_I8,
        {0, 0, 0, 0, 1, 2, 3, 4}),
};
} // namespace

TEST(BmpReader, DecodesEveryVariantToItsPixels)
{
    for (const BmpCase& c : kCases)
    {
        DecodedImagePtr image = decode(encodeBmp(c.width, c.height, c.data, c.options), IMAGE_FORMAT_BMP);
        ASSERT_NE(image, nullptr) << c.name;
        EXPECT_EQ(image->getHeight(), c.height) << c.name;
        EXPECT_EQ(image->getFormat(), c.format) << c.name;
        EXPECT_EQ(pixelsOf(*image), c.pixels) << c.name;
        if (c.format == PIXEL_FORMAT_I8)
        {
            EXPECT_EQ(image->getPaletteFormat(), PIXEL_FORMAT_B8G8R8) << c.name;
        }
        if (!c.palettePrefix.empty())
        {
            EXPECT_EQ(Bytes(image->getPalette(), image->getPalette() + c.palettePrefix.size()),
                      c.palettePrefix)
                << c.name;
        }
    }
}

TEST(BmpReader, DeltasPastTheEdgesStayInsideTheImage)
{
    BmpOptions rle{.bits = 8, .compression = 1, .palette = palette16(), .coloursUsed = 16};
    const Bytes deltas = {0, 2, 255, 0, 255, 1, 0, 2, 0, 255, 255, 2, 0, 0, 255, 3};
    EXPECT_NE(decode(encodeBmp(4, 2, deltas, rle), IMAGE_FORMAT_BMP), nullptr);
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
    // Header size below 12, two planes, a height of INT32_MIN.
    const std::vector<std::pair<size_t, uint8_t>> patches[] = {{{14, 11}}, {{26, 2}}, {{22, 0}, {25, 0x80}}};
    for (const auto& patch : patches)
    {
        Bytes bytes = encodeBmp(1, 1, one, {.bits = 24});
        for (auto [offset, value] : patch)
            bytes[offset] = value;
        EXPECT_EQ(decode(bytes, IMAGE_FORMAT_BMP), nullptr) << patch[0].first;
    }
}
