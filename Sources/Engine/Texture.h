#pragma once
// The engines' texture: a resource whose data is one device texture. Its
// sides are the image's (getWidth, getHeight) and the device surface's,
// each rounded up to a power of two (getTextureWidth, getTextureHeight).
// Textures are made only through the 2D engine's factories and given back
// with release (or the engine's releaseTexture).
#include "Engine/Resource.h"

class Texture : public Resource
{
public:
    // Options in the bits outside the source bits.
    enum : uint16_t
    {
        FLAG_ALPHA_FROM_BRIGHTNESS = 0x1,
        FLAG_NEGATIVE = 0x2,
        FLAG_PIXELS_ALPHA8 = 0x4,
        FLAG_PIXELS_32BIT = 0x8,
        FLAG_PIXELS_24BIT = 0x10,
        FLAG_STRETCH_POINT_FILTER = 0x400,
        FLAG_RENDER_TARGET = 0x1000,
        FLAG_MIPMAPS = 0x2000
    };

    using Resource::Resource;
};

// Moves an image from the texture it holds to another: the old one's load is
// given back, the new one's taken. True where the image holds a newly loaded
// texture to lay out; a failed load leaves it with none and its code in error.
inline bool switchTexture(Texture*& held, Texture* texture, ErrorCode& error)
{
    error = 0;
    if (texture == held)
        return false;
    if (held != nullptr)
        held->unload();
    held = texture;
    if (held == nullptr)
        return false;
    if ((error = held->load()) != 0)
    {
        // Not kept: the image would give back a load it never got.
        held = nullptr;
        return false;
    }
    return true;
}
