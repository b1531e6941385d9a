#include "Platform/Gpu/ClearCells.h"

#include "Platform/Gpu/GpuTypes.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace Platform::Gpu
{

ClearCells ClearCells::find(uint32_t format, const uint8_t* pixels, uint32_t width, uint32_t height)
{
    ClearCells cells;
    // Below this a split saves less than it costs.
    constexpr uint32_t kSmallest = 256;
    if ((format != FMT_A8R8G8B8 && format != FMT_A1R5G5B5) || width < kSmallest || height < kSmallest)
    {
        return cells;
    }
    const uint32_t columns = (width + kCellSize - 1) / kCellSize, rows = (height + kCellSize - 1) / kCellSize;
    std::vector<uint8_t> seen(size_t(columns) * rows, 0);
    for (uint32_t y = 0; y < height; ++y)
    {
        uint8_t* rowSeen = seen.data() + size_t(y / kCellSize) * columns;
        for (uint32_t x = 0; x < width; ++x)
        {
            size_t i = size_t(y) * width + x;
            bool visible = format == FMT_A8R8G8B8 ? pixels[4 * i + 3] != 0 : (pixels[2 * i + 1] & 0x80) != 0;
            if (visible)
            {
                rowSeen[x / kCellSize] = 1;
            }
        }
    }
    // A lookup near a cell's edge blends in texels of the next cell.
    cells.mClear.assign(size_t(columns) * rows, 0);
    bool anyClear = false;
    for (uint32_t row = 0; row < rows; ++row)
    {
        for (uint32_t column = 0; column < columns; ++column)
        {
            bool clear = true;
            for (uint32_t r = row == 0 ? 0 : row - 1; clear && r <= std::min(row + 1, rows - 1); ++r)
            {
                for (uint32_t c = column == 0 ? 0 : column - 1; c <= std::min(column + 1, columns - 1); ++c)
                {
                    clear = clear && !seen[size_t(r) * columns + c];
                }
            }
            cells.mClear[size_t(row) * columns + column] = clear ? 1 : 0;
            anyClear = anyClear || clear;
        }
    }
    if (!anyClear)
    {
        cells.mClear.clear();
        return cells;
    }
    cells.mWidth = width;
    cells.mHeight = height;
    cells.mColumns = columns;
    cells.mRows = rows;
    return cells;
}

namespace
{

// Cells from first to last (inclusive) that the texel coordinates from a
// to b (either direction) touch.
struct Span
{
    int first, last;
};

Span spanOf(float a, float b, uint32_t cellSize)
{
    float low = std::min(a, b), high = std::max(a, b);
    Span span{int(std::floor(low / float(cellSize))), int(std::floor(high / float(cellSize)))};
    // A range that ends exactly on an edge does not reach into the next cell.
    if (span.last > span.first && float(span.last) * float(cellSize) >= high)
    {
        --span.last;
    }
    return span;
}

// The parameters (0 at a, 1 at b) of the texel range first..last, kept
// within the rectangle: its own edges come out exactly 0 and 1.
std::pair<float, float> parametersOf(float first, float last, float a, float b)
{
    const float low = std::min(a, b), high = std::max(a, b);
    float p = (std::clamp(first, low, high) - a) / (b - a), q = (std::clamp(last, low, high) - a) / (b - a);
    return {std::min(p, q), std::max(p, q)};
}

} // namespace

bool ClearCells::visibleParts(float u0, float u1, float v0, float v1, std::vector<Part>& parts) const
{
    parts.clear();
    if (empty() || u0 == u1 || v0 == v1)
    {
        return false;
    }
    const float x0 = u0 * float(mWidth), x1 = u1 * float(mWidth);
    const float y0 = v0 * float(mHeight), y1 = v1 * float(mHeight);
    const Span columns = spanOf(x0, x1, kCellSize), rows = spanOf(y0, y1, kCellSize);
    if (columns.first < 0 || rows.first < 0 || columns.last >= int(mColumns) || rows.last >= int(mRows))
    {
        return false;
    }
    const float size = float(kCellSize);
    // Runs of visible cells of one row of cells, as (first, last) columns.
    std::vector<Span> runs, previousRuns;
    size_t previousFirstPart = 0;
    for (int row = rows.first; row <= rows.last; ++row)
    {
        runs.clear();
        for (int column = columns.first; column <= columns.last; ++column)
        {
            if (isClear(uint32_t(column), uint32_t(row)))
            {
                continue;
            }
            if (!runs.empty() && runs.back().last == column - 1)
            {
                runs.back().last = column;
            }
            else
            {
                runs.push_back({column, column});
            }
        }
        auto [t0, t1] = parametersOf(float(row) * size, float(row + 1) * size, y0, y1);
        bool sameAsAbove = row > rows.first && !runs.empty() && runs.size() == previousRuns.size() &&
                           std::equal(runs.begin(), runs.end(), previousRuns.begin(),
                                      [](const Span& a, const Span& b)
                                      { return a.first == b.first && a.last == b.last; });
        if (sameAsAbove)
        {
            // The parts of the rows above grow over this one.
            for (size_t i = previousFirstPart; i < parts.size(); ++i)
            {
                parts[i].t0 = std::min(parts[i].t0, t0);
                parts[i].t1 = std::max(parts[i].t1, t1);
            }
            continue;
        }
        previousFirstPart = parts.size();
        for (const Span& run : runs)
        {
            auto [s0, s1] = parametersOf(float(run.first) * size, float(run.last + 1) * size, x0, x1);
            parts.push_back({s0, s1, t0, t1});
        }
        previousRuns = runs;
    }
    return true;
}

} // namespace Platform::Gpu
