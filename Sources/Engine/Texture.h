#pragma once
// The engines' texture: a resource whose data is one device texture. Its
// sides are the image's (getWidth, getHeight) and the device surface's,
// each rounded up to a power of two (getTextureWidth, getTextureHeight).
// Textures are made only through the 2D engine's factories and given back
// with release (or the engine's releaseTexture).
//
// A texture may also be a part of another one (an atlas of small pictures
// such as a font's glyphs): its image then lies at (getSurfaceX,
// getSurfaceY) on the shared surface, whose sides are getTextureWidth and
// getTextureHeight once loaded. Drawables take their texture coordinates
// through surfaceU and surfaceV, which hold for both kinds.
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
        FLAG_MIPMAPS = 0x2000,
        // Caller pixels that the 2D pass alone draws: no mip-map chain. (The
        // 2D pass samples level 0 only.)
        FLAG_SINGLE_LEVEL = 0x4000
    };

    using Resource::Resource;

    uint32_t getSurfaceX() const { return mSurfaceX; }
    uint32_t getSurfaceY() const { return mSurfaceY; }
    // The texture coordinate of a point x texels right of (y below) the
    // image's top-left corner.
    float surfaceU(float x) const
    {
        return (static_cast<float>(mSurfaceX) + x) / static_cast<float>(mTextureWidth);
    }
    float surfaceV(float y) const
    {
        return (static_cast<float>(mSurfaceY) + y) / static_cast<float>(mTextureHeight);
    }

protected:
    uint32_t mSurfaceX = 0;
    uint32_t mSurfaceY = 0;
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
