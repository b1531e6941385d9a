#pragma once
// One textured quad drawn in screen pixels during the 2D pass: the building
// block of every widget, skin frame, glyph and cursor. The image keeps its
// texture loaded while bound. Its quad is recomputed by update after every
// change, so that drawing costs one draw call. Made by the 2D engine
// (createImage) and owned by whoever asked for it.
#include "Engine/RenderList.h"
#include "Engine/Texture.h"

#include <cstdint>

class Image2D
{
public:
    enum : uint32_t
    {
        // Size modes, bits 0-1.
        SIZE_NATURAL = 0,     // drawn at the image's own size
        SIZE_TILED = 1,       // the texture repeats over the size (power-of-two images only)
        SIZE_STRETCHED = 2,   // the whole image stretched over the size
        SIZE_SOURCE_RECT = 3, // a rectangle of texels (setSourceRect) over the size
        SIZE_MASK = 3,
        FLAG_ADDITIVE = 0x4,
        FLAG_CULLED = 0x8,
        FLAG_MIRROR_X = 0x10,
        FLAG_MIRROR_Y = 0x20,
        FLAG_LINEAR = 0x40
    };

    Image2D(float x, float y, Texture* texture, uint32_t flags, float width, float height, uint32_t color,
            RenderList* renderList);
    // Unloads the texture and leaves the render list.
    virtual ~Image2D();
    Image2D(const Image2D&) = delete;
    Image2D& operator=(const Image2D&) = delete;

    // Nothing when the image is culled or has no texture; 0 whatever the
    // device answers.
    virtual ErrorCode draw() = 0;
    // Recomputes the quad.
    virtual ErrorCode update() = 0;

    // Binds another texture (loaded, the old one unloaded). In natural size
    // the drawn size becomes the image's; in tiled mode an image that is not
    // a power of two gives 12 (bound, but the size not applied).
    ErrorCode setTexture(Texture* texture);
    // Tiled mode with a texture that is not a power of two: 12, nothing
    // changed.
    ErrorCode setSize(float width, float height, uint32_t mode);
    // Natural size: the texture's image size.
    ErrorCode resetSize();
    // Source-rectangle mode over that rectangle of texels.
    ErrorCode setSourceRect(int32_t x, int32_t y, int32_t width, int32_t height);
    ErrorCode setPosition(float x, float y);
    ErrorCode setColor(uint32_t color);
    void setMirrorX(bool mirror);
    void setMirrorY(bool mirror);
    void setRenderList(RenderList* renderList);

    bool isAdditive() const { return (mFlags & FLAG_ADDITIVE) != 0; }
    void setAdditive(bool additive) { setFlag(FLAG_ADDITIVE, additive); }
    bool isCulled() const { return (mFlags & FLAG_CULLED) != 0; }
    void setCulled(bool culled) { setFlag(FLAG_CULLED, culled); }
    bool isLinear() const { return (mFlags & FLAG_LINEAR) != 0; }
    void setLinear(bool linear) { setFlag(FLAG_LINEAR, linear); }
    uint32_t getSizeMode() const { return mFlags & SIZE_MASK; }
    // Changes the mode alone, without recomputing the quad.
    void setSizeMode(uint32_t mode) { mFlags = (mFlags & ~SIZE_MASK) | (mode & SIZE_MASK); }
    bool isMirrorX() const { return (mFlags & FLAG_MIRROR_X) != 0; }
    bool isMirrorY() const { return (mFlags & FLAG_MIRROR_Y) != 0; }

    Texture* getTexture() const { return mTexture; }
    float getX() const { return mX; }
    float getY() const { return mY; }
    float getWidth() const { return mWidth; }
    float getHeight() const { return mHeight; }
    uint32_t getFlags() const { return mFlags; }
    uint32_t getColor() const { return mColor; }
    RenderList* getRenderList() const { return mRenderList; }
    const Rect2D& getSourceRect() const { return mSourceRect; }

protected:
    friend class RenderList;

    void setFlag(uint32_t flag, bool on) { mFlags = on ? (mFlags | flag) : (mFlags & ~flag); }
    // A tiled image must fill its texture exactly.
    static bool fitsTexture(const Texture* texture);

    Texture* mTexture = nullptr;
    float mX, mY;
    float mWidth, mHeight;
    uint32_t mFlags;
    uint32_t mColor;
    RenderList* mRenderList;
    Rect2D mSourceRect;
};
