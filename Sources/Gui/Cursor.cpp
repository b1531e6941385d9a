#include "Gui/Cursor.h"

#include "Engine/Engine2D.h"
#include "Framework/ApplicationGeneric.h"
#include "Gui/Skin.h"
#include "Platform/Window/Window.h"

CursorLayer::~CursorLayer()
{
    if (mOwnsImage && mImage != nullptr)
        mImage->release();
}

CursorLayer::CursorLayer(CursorLayer&& other) noexcept
    : mImage(other.mImage), mHotspotX(other.mHotspotX), mHotspotY(other.mHotspotY),
      mOwnsImage(other.mOwnsImage)
{
    other.mImage = nullptr;
    other.mOwnsImage = false;
}

CursorLayer& CursorLayer::operator=(CursorLayer&& other) noexcept
{
    if (this != &other)
    {
        setImage(other.mImage, other.mOwnsImage);
        mHotspotX = other.mHotspotX;
        mHotspotY = other.mHotspotY;
        other.mImage = nullptr;
        other.mOwnsImage = false;
    }
    return *this;
}

void CursorLayer::setImage(Texture* image, bool owns)
{
    if (mOwnsImage && mImage != nullptr && mImage != image)
        mImage->release();
    mImage = image;
    mOwnsImage = owns;
}

CursorManager::CursorManager() : mLayers(1), mCurrentLayers(&mLayers) {}

CursorManager::~CursorManager()
{
    // The sprites let their textures go before the layers release theirs.
    mSprites.clear();
}

ErrorCode CursorManager::init()
{
    update();
    return 0;
}

bool CursorManager::isSystemCursor() const
{
    ApplicationGeneric* application = getApplication();
    return application != nullptr && application->getSettings().mSystemCursor;
}

void CursorManager::showSystemArrow(bool show)
{
    Platform::showSystemCursor(show);
}

void CursorManager::update()
{
    if (mDisabled)
    {
        showSystemArrow(true);
        return;
    }
    std::vector<CursorLayer>& layers = *mCurrentLayers;
    if (isSystemCursor())
    {
        showSystemArrow(!layers.empty() && layers[0].getImage() != nullptr);
        return;
    }
    if (mSprites.size() < layers.size())
    {
        if (Engine2D* engine = findEngine2D())
        {
            while (mSprites.size() < layers.size())
            {
                std::unique_ptr<Image2D> sprite = engine->createImage(
                    0.0f, 0.0f, nullptr, Image2D::SIZE_NATURAL, 0.0f, 0.0f, 0xFFFFFFFF, nullptr);
                if (!sprite)
                    break;
                mSprites.push_back(std::move(sprite));
            }
        }
    }
    for (size_t i = 0; i < mSprites.size(); ++i)
    {
        // Sprites past the layers in use stay, but let their pictures go:
        // lent layers may be freed once they are no longer in use.
        mSprites[i]->setTexture(i < layers.size() ? layers[i].getImage() : nullptr);
    }
    placeSprites();
    showSystemArrow(false);
}

void CursorManager::placeSprites()
{
    if (mDisabled || isSystemCursor())
        return;
    const std::vector<CursorLayer>& layers = *mCurrentLayers;
    for (size_t i = 0; i < layers.size() && i < mSprites.size(); ++i)
    {
        mSprites[i]->setPosition(static_cast<float>(mMouseX - layers[i].getHotspotX()),
                                 static_cast<float>(mMouseY - layers[i].getHotspotY()));
        mSprites[i]->update();
    }
}

ErrorCode CursorManager::render()
{
    if (mDisabled || isSystemCursor())
        return 0;
    const size_t count = mCurrentLayers->size();
    for (size_t i = 0; i < count && i < mSprites.size(); ++i)
    {
        if (mSprites[i]->getTexture() == nullptr)
            continue;
        if (ErrorCode code = mSprites[i]->draw())
            return code;
    }
    return 0;
}

void CursorManager::setImage(Texture* image)
{
    mLayers[0].setImage(image, false);
    mCurrentLayers = &mLayers;
    update();
}

void CursorManager::setLayers(std::vector<CursorLayer>* layers)
{
    if (layers == nullptr)
    {
        mLayers[0].setImage(nullptr, false);
        mCurrentLayers = &mLayers;
    }
    else
        mCurrentLayers = layers;
    update();
}
