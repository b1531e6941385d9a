#pragma once
// A colour for a fraction between 0 and 1, blended between evenly spaced
// colours: the progression bar tints its pieces with it.
#include <cstdint>
#include <vector>

class ColorRamp
{
public:
    // Grows the ramp to hold index i.
    void setColor(uint32_t i, uint32_t argb);
    // Opaque white with fewer than two colours.
    uint32_t colorAt(float t) const;
    uint32_t getCount() const { return static_cast<uint32_t>(mColors.size()); }
    bool isEmpty() const { return mColors.empty(); }

private:
    std::vector<uint32_t> mColors;
};
