#include "Platform/Gpu/ClearCells.h"

#include "Platform/Gpu/GpuTypes.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Platform::Gpu;

namespace
{

constexpr uint32_t kSide = 256;

// ARGB texels of a square picture: a visible band `border` texels wide round
// a fully transparent middle.
std::vector<uint32_t> framePicture(uint32_t border)
{
    std::vector<uint32_t> texels(kSide * kSide, 0x00FFFFFF);
    for (uint32_t y = 0; y < kSide; ++y)
    {
        for (uint32_t x = 0; x < kSide; ++x)
        {
            if (x < border || y < border || x >= kSide - border || y >= kSide - border)
            {
                texels[y * kSide + x] = 0x80FF0000;
            }
        }
    }
    return texels;
}

ClearCells cellsOf(const std::vector<uint32_t>& texels, uint32_t side = kSide)
{
    return ClearCells::find(FMT_A8R8G8B8, reinterpret_cast<const uint8_t*>(texels.data()), side, side);
}

// Whether the parameter point (s, t) lies in one of the parts.
bool covered(const std::vector<ClearCells::Part>& parts, float s, float t)
{
    for (const ClearCells::Part& part : parts)
    {
        if (s >= part.s0 && s <= part.s1 && t >= part.t0 && t <= part.t1)
        {
            return true;
        }
    }
    return false;
}

} // namespace

TEST(ClearCells, OnlyCellsFarFromEveryVisibleTexelAreClear)
{
    // An 8-texel band: cell 0 holds it, cell 1 touches cell 0, so cells 2 to 5
    // of each row and column are clear.
    ClearCells cells = cellsOf(framePicture(8));
    ASSERT_FALSE(cells.empty());
    EXPECT_FALSE(cells.isClear(0, 4));
    EXPECT_FALSE(cells.isClear(1, 4));
    EXPECT_TRUE(cells.isClear(2, 2));
    EXPECT_TRUE(cells.isClear(5, 5));
    EXPECT_FALSE(cells.isClear(6, 5));
    // One visible texel in the middle keeps its cell and the ones round it.
    std::vector<uint32_t> texels = framePicture(8);
    texels[100 * kSide + 100] = 0x01000000;
    cells = cellsOf(texels);
    EXPECT_FALSE(cells.isClear(2, 2));
    EXPECT_FALSE(cells.isClear(4, 4));
    EXPECT_TRUE(cells.isClear(5, 5));
}

TEST(ClearCells, NothingIsFoundWhereSplittingCannotPay)
{
    EXPECT_TRUE(cellsOf(std::vector<uint32_t>(64 * 64, 0), 64).empty());
    EXPECT_TRUE(cellsOf(std::vector<uint32_t>(kSide * kSide, 0xFF000000)).empty());
    std::vector<uint32_t> clear(kSide * kSide, 0);
    EXPECT_TRUE(ClearCells::find(FMT_X8R8G8B8, reinterpret_cast<const uint8_t*>(clear.data()), kSide, kSide).empty());
    EXPECT_FALSE(cellsOf(clear).empty());
}

TEST(ClearCells, PartsCoverEveryVisibleCellAndMergeRowsOfTheSamePattern)
{
    ClearCells cells = cellsOf(framePicture(8));
    std::vector<ClearCells::Part> parts;
    for (bool flipped : {false, true})
    {
        SCOPED_TRACE(flipped ? "flipped coordinates" : "upright coordinates");
        ASSERT_TRUE(flipped ? cells.visibleParts(1, 0, 1, 0, parts) : cells.visibleParts(0, 1, 0, 1, parts));
        // The top rows, the two sides of the middle rows, the bottom rows.
        EXPECT_EQ(parts.size(), 4u);
        for (float at : {0.0f, 0.03f, 0.2f, 0.5f, 0.8f, 0.97f, 1.0f})
        {
            EXPECT_TRUE(covered(parts, at, 0.0f));
            EXPECT_TRUE(covered(parts, at, 1.0f));
            EXPECT_TRUE(covered(parts, 0.0f, at));
            EXPECT_TRUE(covered(parts, 1.0f, at));
            EXPECT_TRUE(covered(parts, 0.2f, at));
        }
        EXPECT_FALSE(covered(parts, 0.5f, 0.5f));
        EXPECT_FALSE(covered(parts, 0.3f, 0.7f));
        // The rectangle's own edges come out exact.
        float low = 1, high = 0;
        for (const ClearCells::Part& part : parts)
        {
            low = std::min({low, part.s0, part.t0});
            high = std::max({high, part.s1, part.t1});
        }
        EXPECT_EQ(low, 0.0f);
        EXPECT_EQ(high, 1.0f);
    }
    // Part of the picture: only its own cells count, in its own parameters.
    ASSERT_TRUE(cells.visibleParts(0.25f, 0.75f, 0.25f, 0.75f, parts));
    EXPECT_TRUE(parts.empty());
    // Coordinates past the texture wrap or clamp: drawn whole.
    EXPECT_FALSE(cells.visibleParts(-0.5f, 1, 0, 1, parts));
    EXPECT_FALSE(cells.visibleParts(0, 2, 0, 1, parts));
}
