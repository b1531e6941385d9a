#include "Engine/Image2D.h"

Image2D::Image2D(float x, float y, Texture* texture, uint32_t flags, float width, float height,
                 uint32_t color, RenderList* renderList)
    : mX(x), mY(y), mWidth(width), mHeight(height), mFlags(flags), mColor(color), mRenderList(renderList)
{
    // The texture is bound by the implementation, once it can draw it.
    (void)texture;
    if (mRenderList != nullptr)
        mRenderList->add(this);
}

Image2D::~Image2D()
{
    if (mTexture != nullptr)
        mTexture->unload();
    if (mRenderList != nullptr)
        mRenderList->remove(this);
}

bool Image2D::fitsTexture(const Texture* texture)
{
    return texture->getWidth() == texture->getTextureWidth() &&
           texture->getHeight() == texture->getTextureHeight();
}

ErrorCode Image2D::setTexture(Texture* texture)
{
    ErrorCode error;
    if (!switchTexture(mTexture, texture, error))
        return error;
    switch (getSizeMode())
    {
    case SIZE_NATURAL:
        mWidth = static_cast<float>(mTexture->getWidth());
        mHeight = static_cast<float>(mTexture->getHeight());
        break;
    case SIZE_TILED:
        if (!fitsTexture(mTexture))
            return ERROR_TEXTURE_NOT_POWER_OF_2;
        break;
    default:
        break;
    }
    return update();
}

ErrorCode Image2D::setSize(float width, float height, uint32_t mode)
{
    mode &= SIZE_MASK;
    if (mode == SIZE_TILED && mTexture != nullptr && !fitsTexture(mTexture))
        return ERROR_TEXTURE_NOT_POWER_OF_2;
    mWidth = width;
    mHeight = height;
    setSizeMode(mode);
    return update();
}

ErrorCode Image2D::resetSize()
{
    setSizeMode(SIZE_NATURAL);
    if (mTexture == nullptr)
        return 0;
    mWidth = static_cast<float>(mTexture->getWidth());
    mHeight = static_cast<float>(mTexture->getHeight());
    return update();
}

ErrorCode Image2D::setSourceRect(int32_t x, int32_t y, int32_t width, int32_t height)
{
    setSizeMode(SIZE_SOURCE_RECT);
    mSourceRect = {x, y, width, height};
    return update();
}

ErrorCode Image2D::setPosition(float x, float y)
{
    if (x == mX && y == mY)
        return 0;
    mX = x;
    mY = y;
    return update();
}

ErrorCode Image2D::setColor(uint32_t color)
{
    if (color == mColor)
        return 0;
    mColor = color;
    return update();
}

void Image2D::setMirrorX(bool mirror)
{
    if (mirror == isMirrorX())
        return;
    mFlags ^= FLAG_MIRROR_X;
    update();
}

void Image2D::setMirrorY(bool mirror)
{
    if (mirror == isMirrorY())
        return;
    mFlags ^= FLAG_MIRROR_Y;
    update();
}

void Image2D::setRenderList(RenderList* renderList)
{
    if (renderList == mRenderList)
        return;
    if (mRenderList != nullptr)
        mRenderList->remove(this);
    mRenderList = renderList;
    if (mRenderList != nullptr)
        mRenderList->add(this);
    update();
}
