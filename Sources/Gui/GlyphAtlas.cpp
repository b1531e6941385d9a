#include "Gui/GlyphAtlas.h"

#include "Gui/Font.h"

#include <cstring>

namespace
{
// Heights stay far below the top bit: at most 256 rows of framed glyphs of
// a bounded height.
uint64_t powerOfTwo(uint64_t value)
{
    uint64_t result = 1;
    while (result < value)
        result <<= 1;
    return result;
}

// Lays the framed glyphs out in rows, in code order, each row filled up to
// the width, and calls place (code, x, y) with each cell's corner: the
// height the rows take, 0 when a glyph is wider than the width.
template <class Place> uint64_t layCells(const GlyphTable& table, uint32_t width, Place&& place)
{
    const uint64_t cellHeight = uint64_t{table.height} + 2 * GlyphAtlas::kBorder;
    uint64_t rows = 0;
    uint64_t x = width;
    for (uint32_t code = 0; code < GlyphTable::kTableSize; ++code)
    {
        const auto glyph = static_cast<uint8_t>(code);
        if (!table.hasGlyph(glyph))
            continue;
        const uint64_t cellWidth = uint64_t{table.getGlyph(glyph).width} + 2 * GlyphAtlas::kBorder;
        if (cellWidth > width)
            return 0;
        if (x + cellWidth > width)
        {
            ++rows;
            x = 0;
        }
        place(glyph, static_cast<uint32_t>(x), static_cast<uint32_t>((rows - 1) * cellHeight));
        x += cellWidth;
    }
    return rows * cellHeight;
}
} // namespace

void GlyphAtlas::clear()
{
    *this = GlyphAtlas();
}

bool GlyphAtlas::pack(const GlyphTable& table, uint32_t maxSide)
{
    clear();
    if (table.glyphCount == 0 || table.height == 0)
        return false;
    // 1. The width that gives the smallest surface once both sides are
    // rounded up, the narrower on a tie.
    uint64_t bestArea = 0;
    for (uint32_t width = 16; width != 0 && width <= maxSide; width *= 2)
    {
        const uint64_t packed = layCells(table, width, [](uint8_t, uint32_t, uint32_t) {});
        const uint64_t height = packed == 0 ? 0 : powerOfTwo(packed);
        if (height == 0 || height > maxSide)
            continue;
        if (bestArea == 0 || uint64_t{width} * height < bestArea)
        {
            bestArea = uint64_t{width} * height;
            mWidth = width;
            mHeight = static_cast<uint32_t>(height);
        }
    }
    if (bestArea == 0)
    {
        clear();
        return false;
    }
    // 2. Each glyph in its cell, then its edges repeated into the frame.
    mPixels.assign(static_cast<size_t>(bestArea), 0);
    const uint32_t height = table.height;
    layCells(table, mWidth,
             [&](uint8_t code, uint32_t x, uint32_t y)
             {
                 const GlyphTable::Glyph& source = table.getGlyph(code);
                 const uint32_t width = source.width;
                 mRects[code] = {x + kBorder, y + kBorder, width, height};
                 // The cell's rows; the glyph's first row is cell row 1.
                 auto row = [&](uint32_t r) { return mPixels.data() + size_t(y + r) * mWidth + x; };
                 for (uint32_t r = 1; r <= height; ++r)
                 {
                     uint8_t* target = row(r);
                     std::memcpy(target + 1, source.pixels.data() + size_t(r - 1) * width, width);
                     target[0] = target[1];
                     target[width + 1] = target[width];
                 }
                 std::memcpy(row(0), row(1), width + 2);
                 std::memcpy(row(height + 1), row(height), width + 2);
             });
    return true;
}
