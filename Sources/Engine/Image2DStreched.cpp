#include "Engine/Image2DStreched.h"

Image2DStreched::Image2DStreched(const Platform::Vector3* corners, Texture* texture, uint32_t color,
                                 uint32_t unused)
    : mColor(color)
{
    // The texture is bound by the implementation, once it can draw it.
    (void)texture;
    (void)unused;
    if (corners != nullptr)
        mCorners = {corners[0], corners[1], corners[2], corners[3]};
}

Image2DStreched::~Image2DStreched()
{
    if (mTexture != nullptr)
        mTexture->unload();
}

ErrorCode Image2DStreched::setTexture(Texture* texture)
{
    ErrorCode error;
    if (!switchTexture(mTexture, texture, error))
        return error;
    return update();
}

ErrorCode Image2DStreched::setCorners(const Platform::Vector3* corners)
{
    if (corners != nullptr)
        mCorners = {corners[0], corners[1], corners[2], corners[3]};
    return update();
}

void Image2DStreched::setMirrorX(bool mirror)
{
    if (mirror == ((mFlags & FLAG_MIRROR_X) != 0))
        return;
    mFlags ^= FLAG_MIRROR_X;
    update();
}

void Image2DStreched::setMirrorY(bool mirror)
{
    if (mirror == ((mFlags & FLAG_MIRROR_Y) != 0))
        return;
    mFlags ^= FLAG_MIRROR_Y;
    update();
}

ErrorCode Image2DStreched::setColor(uint32_t color)
{
    mColor = color;
    return update();
}
