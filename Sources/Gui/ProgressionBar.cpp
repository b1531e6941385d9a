#include "Gui/ProgressionBar.h"

#include "Engine/Engine2D.h"
#include "Framework/ApplicationGeneric.h"
#include "Gui/GuiManager.h"
#include "Gui/OwnedImages.h"

#include <algorithm>
#include <cmath>

namespace
{

ProgressionBarLook* barLook(uint32_t lookId)
{
    return dynamic_cast<ProgressionBarLook*>(findLook(lookId));
}

uint32_t frameLookOf(uint32_t lookId)
{
    ProgressionBarLook* look = barLook(lookId);
    return look != nullptr ? look->getFrameLookId() : LOOK_EMPTY;
}

// An end piece as high as the bar keeps its texture's aspect.
int32_t endWidth(const Texture* texture, int32_t height)
{
    if (texture == nullptr || texture->getHeight() == 0)
        return 0;
    return static_cast<int32_t>(int64_t{texture->getWidth()} * height / texture->getHeight());
}

} // namespace

ProgressionBar::ProgressionBar(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t lookId)
    : Container(x, y, width, height, frameLookOf(lookId)), mLook(barLook(lookId))
{
    ApplicationGeneric* application = getApplication();
    auto* engine = application != nullptr ? dynamic_cast<Engine2D*>(application->getEngine2D()) : nullptr;
    for (uint32_t piece = 0; piece < 3; ++piece)
    {
        mTextures[piece] = mLook != nullptr ? mLook->getPieceTexture(piece) : nullptr;
        if (engine != nullptr)
            mImages[piece] =
                engine->createImage(static_cast<float>(mX), static_cast<float>(mY), mTextures[piece],
                                    Image2D::SIZE_STRETCHED, 0.0f, 0.0f, mColor, mRenderList);
    }
    updateLayout();
}

ProgressionBar::~ProgressionBar() = default;

void ProgressionBar::setFraction(float fraction)
{
    mFraction = fraction;
    updateLayout();
}

void ProgressionBar::updateLayout()
{
    Container::updateLayout();
    int32_t innerWidth = std::max(mWidth - mMarginLeft - mMarginRight, 0);
    int32_t innerHeight = std::max(mHeight - mMarginTop - mMarginBottom, 0);
    int32_t left = endWidth(mTextures[0], innerHeight);
    int32_t right = endWidth(mTextures[2], innerHeight);
    // A fraction outside 0..1 would draw outside the frame.
    float fraction = std::isnan(mFraction) ? 0.0f : std::clamp(mFraction, 0.0f, 1.0f);
    auto filled = static_cast<int32_t>(static_cast<float>(innerWidth) * fraction);
    int32_t middle = 0;
    if (filled < left + right)
    {
        left = filled / 2;
        right = filled / 2;
    }
    else
    {
        middle = filled - left - right;
    }
    int32_t x = mX + mMarginLeft;
    int32_t y = mY + mMarginTop;
    mPieceRects[0] = {x, y, left, innerHeight};
    mPieceRects[1] = {x + left, y, middle, innerHeight};
    mPieceRects[2] = {x + left + middle, y, right, innerHeight};
    mPieceColor = mColor;
    if (mLook != nullptr && !mLook->getColorRamp().isEmpty())
        mPieceColor = mLook->getColorRamp().colorAt(fraction);
    for (uint32_t piece = 0; piece < 3; ++piece)
    {
        Image2D* image = mImages[piece].get();
        if (image == nullptr)
            continue;
        const Rect& rect = mPieceRects[piece];
        image->setCulled(rect.width <= 0);
        image->setPosition(static_cast<float>(rect.x), static_cast<float>(rect.y));
        image->setSize(static_cast<float>(rect.width), static_cast<float>(rect.height),
                       Image2D::SIZE_STRETCHED);
        image->setColor(mPieceColor);
    }
}

ErrorCode ProgressionBar::render()
{
    if (ErrorCode code = Container::render())
        return code;
    return drawOwnedImages(mImages);
}

void ProgressionBar::setRenderList(RenderList* list)
{
    Container::setRenderList(list);
    setOwnedImagesRenderList(mImages, list);
}

void ProgressionBar::setColor(uint32_t argb)
{
    mColor = argb;
    mPieceColor = argb;
    for (auto& image : mImages)
    {
        if (image)
            image->setColor(argb);
    }
}

uint32_t ProgressionBar::onMouseEvent(const MouseEvent& event)
{
    if (uint32_t result = Container::onMouseEvent(event))
        return result;
    int32_t px = 0;
    int32_t py = 0;
    if (event.mType != MOUSE_EVENT_BUTTON_DOWN || event.mButton != MOUSE_BUTTON_LEFT ||
        !getEventPosition(event, px, py) || !mClickCallback.mFunction)
        return 0;
    int32_t innerX = mX + mMarginLeft;
    int32_t innerY = mY + mMarginTop;
    int32_t innerWidth = mWidth - mMarginLeft - mMarginRight;
    int32_t innerHeight = mHeight - mMarginTop - mMarginBottom;
    if (innerWidth <= 0 || px < innerX || px >= innerX + innerWidth || py < innerY ||
        py >= innerY + innerHeight)
        return 0;
    setFraction(static_cast<float>(px - innerX) / static_cast<float>(innerWidth));
    mClickCallback.invoke(this);
    return 0;
}
