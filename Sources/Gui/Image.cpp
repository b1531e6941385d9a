#include "Gui/Image.h"

#include "Engine/Engine2D.h"
#include "Framework/ApplicationGeneric.h"
#include "Gui/Skin.h"

namespace
{
// The current skin of the skin manager, unless a test replaces it.
Texture* (*gSkinTextureSource)(uint32_t) = &findSkinTexture;
} // namespace

void Image::setSkinTextureSource(Texture* (*source)(uint32_t id))
{
    gSkinTextureSource = source != nullptr ? source : &findSkinTexture;
}

Image::Image(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t skinTextureId)
    : Component(x, y, width, height), mSkinTextureId(skinTextureId)
{
    makeImage();
}

Image::Image(int32_t x, int32_t y, int32_t width, int32_t height, Texture* texture)
    : Component(x, y, width, height), mTexture(texture)
{
    makeImage();
}

Image::Image(const Rect& rect, Texture* texture) : Image(rect.x, rect.y, rect.width, rect.height, texture) {}

Image::Image(const Rect& rect, Texture* texture, Engine2D& engine)
    : Component(rect.x, rect.y, rect.width, rect.height), mTexture(texture)
{
    makeImage(&engine);
}

Image::Image(int32_t x, int32_t y, Texture* texture)
    : Image(x, y, texture != nullptr ? static_cast<int32_t>(texture->getWidth()) : 0,
            texture != nullptr ? static_cast<int32_t>(texture->getHeight()) : 0, texture)
{
    // A texture learns its size only when it is loaded, which may be when
    // the image above took it or later.
    mFitsTexture = true;
    fitTexture();
    updateLayout();
}

void Image::fitTexture()
{
    Texture* texture = currentTexture();
    if (!mFitsTexture || texture == nullptr || texture->getWidth() == 0 || texture->getHeight() == 0)
        return;
    mFitsTexture = false;
    resize(static_cast<int32_t>(texture->getWidth()), static_cast<int32_t>(texture->getHeight()), true);
}

Image::~Image()
{
    mImage.reset();
}

Texture* Image::currentTexture() const
{
    if (mSkinTextureId != kNoSkinTexture)
        return gSkinTextureSource != nullptr ? gSkinTextureSource(mSkinTextureId) : nullptr;
    return mTexture;
}

void Image::makeImage()
{
    ApplicationGeneric* application = getApplication();
    makeImage(application != nullptr ? dynamic_cast<Engine2D*>(application->getEngine2D()) : nullptr);
}

void Image::makeImage(Engine2D* engine)
{
    if (engine == nullptr)
        return;
    mImage = engine->createImage(static_cast<float>(mX), static_cast<float>(mY), currentTexture(),
                                 Image2D::SIZE_STRETCHED, static_cast<float>(mWidth),
                                 static_cast<float>(mHeight), mColor, mRenderList);
}

ErrorCode Image::render()
{
    fitTexture();
    return mImage ? mImage->draw() : 0;
}

void Image::updateLayout()
{
    if (!mImage)
        return;
    mImage->setPosition(static_cast<float>(mX), static_cast<float>(mY));
    mImage->setSize(static_cast<float>(mWidth), static_cast<float>(mHeight), Image2D::SIZE_STRETCHED);
    mImage->setColor(mColor);
    // The current skin may have changed since the last layout.
    if (mSkinTextureId != kNoSkinTexture)
        mImage->setTexture(currentTexture());
    mImage->update();
}

void Image::setRenderList(RenderList* list)
{
    Component::setRenderList(list);
    if (mImage)
        mImage->setRenderList(list);
}

void Image::setTexture(Texture* texture)
{
    mSkinTextureId = kNoSkinTexture;
    mTexture = texture;
    if (mImage)
        mImage->setTexture(texture);
}

void Image::setSkinTexture(uint32_t id)
{
    mSkinTextureId = id;
    mTexture = nullptr;
    if (mImage)
        mImage->setTexture(currentTexture());
}
