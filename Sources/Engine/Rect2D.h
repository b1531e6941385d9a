#pragma once
// A rectangle in screen pixels: x, y, width, height.
#include <cstdint>

struct Rect2D
{
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;

    bool operator==(const Rect2D&) const = default;
};
