#pragma once
// The glyphs of a bitmap font packed side by side into one picture of alpha
// bytes, so that the font needs one texture instead of one per glyph (each
// small texture costs the graphics driver far more than its texels).
//
// Every glyph is framed by a border of one texel that repeats its edge: a
// filtered lookup at the glyph's edge then reads what it read when the
// glyph was a texture of its own, clamped at its border, and never a
// neighbour. The picture's sides are powers of two. Owned by its font; the
// font's atlas texture reads the pixels for as long as it may load again.
#include "Engine/Resource.h"

#include <array>
#include <cstdint>
#include <vector>

class GlyphTable;

class GlyphAtlas
{
public:
    // The frame round each glyph, in texels.
    static constexpr uint32_t kBorder = 1;

    // Packs every glyph of the table that has pixels. False, and an empty
    // atlas, when they do not fit in a square of maxSide.
    bool pack(const GlyphTable& table, uint32_t maxSide);
    void clear();

    uint32_t getWidth() const { return mWidth; }
    uint32_t getHeight() const { return mHeight; }
    // width x height alpha bytes, rows top down.
    const std::vector<uint8_t>& getPixels() const { return mPixels; }
    // Where the glyph's own pixels lie (border excluded); empty for a code
    // without a glyph.
    const ResourceRect& getRect(uint8_t code) const { return mRects[code]; }

private:
    uint32_t mWidth = 0;
    uint32_t mHeight = 0;
    std::vector<uint8_t> mPixels;
    std::array<ResourceRect, 256> mRects{};
};
