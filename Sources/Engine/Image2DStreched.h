#pragma once
// A textured quad with four free corners (top-left, top-right, bottom-left,
// bottom-right, each x, y, z): the whole image is stretched over it. Made by
// the 2D engine (createStretchedImage); keeps its texture loaded while
// bound.
#include "Engine/Texture.h"
#include "Platform/Math/Vector.h"

#include <array>
#include <cstdint>

class Image2DStreched
{
public:
    enum : uint32_t
    {
        FLAG_ADDITIVE = 0x4,
        FLAG_MIRROR_X = 0x10,
        FLAG_MIRROR_Y = 0x20
    };
    enum : uint32_t
    {
        CULL_LEAVE = 0, // the render state is left alone
        CULL_CLOCKWISE = 1,
        CULL_COUNTER_CLOCKWISE = 2
    };
    using Corners = std::array<Platform::Vector3, 4>;

    // Null corners put all four at the origin. The fourth value is not kept.
    Image2DStreched(const Platform::Vector3* corners, Texture* texture, uint32_t color, uint32_t unused);
    virtual ~Image2DStreched();
    Image2DStreched(const Image2DStreched&) = delete;
    Image2DStreched& operator=(const Image2DStreched&) = delete;

    virtual ErrorCode draw() = 0;
    virtual ErrorCode update() = 0;

    ErrorCode setTexture(Texture* texture);
    ErrorCode setCorners(const Platform::Vector3* corners);
    void setMirrorX(bool mirror);
    void setMirrorY(bool mirror);
    ErrorCode setColor(uint32_t color);
    void setCullMode(uint32_t mode) { mCullMode = mode; }
    void setAdditive(bool additive)
    {
        mFlags = additive ? (mFlags | FLAG_ADDITIVE) : (mFlags & ~FLAG_ADDITIVE);
    }

    Texture* getTexture() const { return mTexture; }
    uint32_t getColor() const { return mColor; }
    uint32_t getFlags() const { return mFlags; }
    uint32_t getCullMode() const { return mCullMode; }
    const Corners& getCorners() const { return mCorners; }

protected:
    Texture* mTexture = nullptr;
    uint32_t mFlags = 0;
    uint32_t mColor;
    uint32_t mCullMode = CULL_LEAVE;
    Corners mCorners{};
};
