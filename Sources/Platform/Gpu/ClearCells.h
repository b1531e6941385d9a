#pragma once
// Which parts of a picture are fully transparent, in square cells of texels,
// so that a rectangle drawn with it under source-alpha blending can leave
// out the parts that would not change a pixel (a frame around the screen is
// mostly its transparent middle).
#include <cstddef>
#include <cstdint>
#include <vector>

namespace Platform::Gpu
{

class ClearCells
{
public:
    static constexpr uint32_t kCellSize = 32;

    // Nothing is found for formats without alpha or pictures too small to
    // be worth it.
    static ClearCells find(uint32_t format, const uint8_t* pixels, uint32_t width, uint32_t height);

    bool empty() const { return mClear.empty(); }
    // The cell, and every texel a bilinear lookup inside it may reach, has
    // an alpha of zero.
    bool isClear(uint32_t column, uint32_t row) const { return mClear[size_t(row) * mColumns + column] != 0; }

    // Part of the rectangle whose texture coordinates run from u0 at s = 0
    // to u1 at s = 1 and from v0 at t = 0 to v1 at t = 1.
    struct Part
    {
        float s0, s1, t0, t1;
    };
    // The parts of that rectangle that may reach a non-transparent texel,
    // cells side by side in a row and rows of the same pattern merged.
    // False when the rectangle cannot be split this way (coordinates outside
    // the texture): draw it whole.
    bool visibleParts(float u0, float u1, float v0, float v1, std::vector<Part>& parts) const;

private:
    uint32_t mWidth = 0, mHeight = 0, mColumns = 0, mRows = 0;
    std::vector<uint8_t> mClear;
};

} // namespace Platform::Gpu
