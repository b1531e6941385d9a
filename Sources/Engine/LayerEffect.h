#pragma once
// The opening effects of GUI layers: a layer opened with a random effect
// takes Engine2D::createOpeningEffect(rand() % getOpeningEffectCount()) and,
// while the effect's duration runs, draws itself between begin (with its
// progress t from 0 to 1) and end. The layer owns the effect and frees it
// once the duration has passed.
#include "Engine/Rect2D.h"

#include <cstdint>

class LayerEffect
{
public:
    virtual ~LayerEffect() = default;
    // Milliseconds.
    virtual uint32_t getDuration() { return 350; }
    // layer: the layer's rectangle in screen pixels.
    virtual void begin(float t, const Rect2D& layer) = 0;
    virtual void end() = 0;
};

// 1 - (1 - t) cos(3 pi / 4 t): 0 at 0, 1 at 1, overshooting 1 before the end.
float easeOutSwing(float t);
