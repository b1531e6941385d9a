#include "Gui/Font.h"
#include "Gui/GlyphAtlas.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
// A glyph whose bytes all differ: code, then its place in the glyph.
std::vector<uint8_t> numbered(uint8_t code, uint32_t width, uint32_t height)
{
    std::vector<uint8_t> pixels;
    for (uint32_t i = 0; i < width * height; ++i)
        pixels.push_back(static_cast<uint8_t>(code * 7 + i));
    return pixels;
}

GlyphTable tableOf(uint32_t height, const std::vector<std::pair<uint8_t, uint32_t>>& widths)
{
    GlyphTable table;
    table.height = height;
    for (auto [code, width] : widths)
        table.setGlyph(code, width, numbered(code, width, height));
    return table;
}

uint8_t at(const GlyphAtlas& atlas, int64_t x, int64_t y)
{
    return atlas.getPixels()[size_t(y) * atlas.getWidth() + size_t(x)];
}

bool isPowerOfTwo(uint32_t value)
{
    return value != 0 && (value & (value - 1)) == 0;
}
} // namespace

// Each glyph keeps its bytes, framed by its own edges repeated once, and no
// two frames overlap: a lookup at a glyph's edge never reads a neighbour.
TEST(GlyphAtlas, EveryGlyphKeepsItsPixelsInAFrameOfItsOwnEdges)
{
    std::vector<std::pair<uint8_t, uint32_t>> widths;
    for (uint32_t code = 0; code < 256; code += 3)
        widths.emplace_back(static_cast<uint8_t>(code), 1 + code % 23);
    const GlyphTable table = tableOf(11, widths);
    GlyphAtlas atlas;
    ASSERT_TRUE(atlas.pack(table, 8192));
    EXPECT_TRUE(isPowerOfTwo(atlas.getWidth()));
    EXPECT_TRUE(isPowerOfTwo(atlas.getHeight()));
    ASSERT_EQ(atlas.getPixels().size(), size_t(atlas.getWidth()) * atlas.getHeight());

    std::vector<uint8_t> owner(atlas.getPixels().size(), 0);
    for (auto [code, width] : widths)
    {
        const ResourceRect& rect = atlas.getRect(code);
        ASSERT_EQ(rect.width, width) << int(code);
        ASSERT_EQ(rect.height, 11u);
        ASSERT_GE(rect.x, 1u);
        ASSERT_GE(rect.y, 1u);
        ASSERT_LE(rect.x + rect.width + 1, atlas.getWidth());
        ASSERT_LE(rect.y + rect.height + 1, atlas.getHeight());
        const std::vector<uint8_t>& pixels = table.getGlyph(code).pixels;
        for (int64_t y = -1; y <= int64_t(rect.height); ++y)
        {
            for (int64_t x = -1; x <= int64_t(rect.width); ++x)
            {
                const int64_t sx = std::clamp<int64_t>(x, 0, rect.width - 1);
                const int64_t sy = std::clamp<int64_t>(y, 0, rect.height - 1);
                const int64_t ax = rect.x + x, ay = rect.y + y;
                ASSERT_EQ(at(atlas, ax, ay), pixels[size_t(sy * rect.width + sx)])
                    << int(code) << " at " << x << "," << y;
                uint8_t& cell = owner[size_t(ay) * atlas.getWidth() + size_t(ax)];
                ASSERT_EQ(cell, 0) << int(code) << " overlaps another glyph";
                cell = 1;
            }
        }
    }
    EXPECT_EQ(atlas.getRect(1).width, 0u) << "no glyph, no place";
}

TEST(GlyphAtlas, TakesTheSmallestSurfaceAndRefusesWhatCannotFit)
{
    // 16 glyphs of 6 x 6, 8 x 8 framed: 32 x 32 holds them exactly.
    std::vector<std::pair<uint8_t, uint32_t>> widths;
    for (uint8_t code = 0; code < 16; ++code)
        widths.emplace_back(code, 6);
    GlyphAtlas atlas;
    ASSERT_TRUE(atlas.pack(tableOf(6, widths), 8192));
    EXPECT_EQ(uint64_t{atlas.getWidth()} * atlas.getHeight(), 32u * 32u);
    // Wider than the largest side once framed: the font keeps a texture per glyph.
    EXPECT_FALSE(atlas.pack(tableOf(4, {{0, 63}}), 64));
    EXPECT_TRUE(atlas.getPixels().empty());
}
