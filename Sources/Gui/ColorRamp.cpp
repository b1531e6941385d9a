#include "Gui/ColorRamp.h"

#include <algorithm>
#include <cmath>

void ColorRamp::setColor(uint32_t i, uint32_t argb)
{
    if (i >= mColors.size())
        mColors.resize(static_cast<size_t>(i) + 1, 0);
    mColors[i] = argb;
}

namespace
{

uint32_t scaleChannel(uint32_t color, int shift, float factor)
{
    float value = static_cast<float>((color >> shift) & 0xFF) * factor;
    return static_cast<uint32_t>(std::clamp(value, 0.0f, 255.0f));
}

} // namespace

uint32_t ColorRamp::colorAt(float t) const
{
    if (mColors.size() < 2)
        return 0xFFFFFFFF;
    // A fraction outside 0..1 (or not a number) stays on the ramp rather than
    // indexing past it.
    if (!(t >= 0.0f))
        t = 0.0f;
    t = std::min(t, 1.0f);
    uint32_t last = static_cast<uint32_t>(mColors.size()) - 1;
    float s = static_cast<float>(last) * t;
    uint32_t i = static_cast<uint32_t>(s);
    float f = s - static_cast<float>(i);
    if (i >= last)
    {
        i = last - 1;
        f = 1.0f;
    }
    uint32_t result = 0;
    for (int shift = 24; shift >= 0; shift -= 8)
    {
        uint32_t sum = scaleChannel(mColors[i + 1], shift, f) + scaleChannel(mColors[i], shift, 1.0f - f);
        result |= (sum & 0xFF) << shift;
    }
    return result;
}
