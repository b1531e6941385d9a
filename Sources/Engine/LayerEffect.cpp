#include "Engine/LayerEffect.h"

#include <cmath>

float easeOutSwing(float t)
{
    return 1.0f - (1.0f - t) * std::cos(2.3561945f * t);
}
