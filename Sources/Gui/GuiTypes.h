#pragma once
// Small records shared by every widget: rectangles, inner margins and the
// click callback slot.
#include "Engine/Rect2D.h"

#include <cstdint>
#include <functional>

class Component;
// The clipping context of the 2D images (owned by the 2D engine's side); a
// container hands it down to its children.
class RenderList;

// A widget's rectangle, as the 2D engine takes it.
using Rect = Rect2D;

// Inner margins of a container's client area.
struct Margins
{
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    bool operator==(const Margins&) const = default;
};

// The callback slot of every clickable widget. Owners fill it after
// construction; invoking an empty slot does nothing.
struct WidgetCallback
{
    uint32_t mUserValue = 0;
    uint32_t mReserved = 0;
    std::function<void(Component* sender, uint32_t userValue)> mFunction;

    void invoke(Component* sender) const
    {
        if (mFunction)
            mFunction(sender, mUserValue);
    }
};
