#include "Gui/TimeDisplay.h"

#include "Engine/Engine2D.h"
#include "Framework/ApplicationGeneric.h"
#include "Gui/Font.h"
#include "Gui/OwnedImages.h"

#include <algorithm>

namespace
{

Engine2D* engine2D()
{
    ApplicationGeneric* application = getApplication();
    return application != nullptr ? dynamic_cast<Engine2D*>(application->getEngine2D()) : nullptr;
}

} // namespace

TimeDisplay::TimeDisplay(const Rect& rect, Timer* timer, uint32_t color, Font* font, uint32_t lookId)
    : Container(rect, lookId), mTimer(timer), mFont(font != nullptr ? font : findFont(0)),
      mPictures(dynamic_cast<CharPictureSource*>(mFont))
{
    mColor = color;
    int32_t innerHeight = mHeight - mMarginTop - mMarginBottom;
    mDigitHeight = static_cast<uint32_t>(std::max(innerHeight, 0));
    if (Engine2D* engine = engine2D())
    {
        for (auto& image : mImages)
            image = engine->createImage(static_cast<float>(mX), static_cast<float>(mY), nullptr,
                                        Image2D::SIZE_STRETCHED, 0.0f, 0.0f, color, mRenderList);
    }
    uint32_t spacing = mFont != nullptr ? static_cast<uint32_t>(std::max(mFont->getLetterSpacing(), 0)) : 0;
    for (uint8_t digit = '0'; digit <= '9'; ++digit)
    {
        CharPicture picture = pictureOf(digit);
        if (picture.height > 0)
            mDigitSlotWidth =
                std::max(mDigitSlotWidth, (static_cast<uint32_t>(picture.width) + spacing) * mDigitHeight /
                                              static_cast<uint32_t>(picture.height));
    }
    mColonSlotWidth = scaledWidth(pictureOf(':')) + 2;
    layoutChars();
}

TimeDisplay::~TimeDisplay() = default;

CharPicture TimeDisplay::pictureOf(uint8_t code) const
{
    auto pictureFor = [this](uint8_t c) -> CharPicture
    {
        if (mPictures != nullptr)
            return mPictures->getCharPicture(c);
        if (auto* bitmap = dynamic_cast<BitmapFont*>(mFont))
            return {bitmap->getGlyphTexture(c), 0, 0, bitmap->getGlyphWidth(c), bitmap->getGlyph0Height()};
        return {};
    };
    CharPicture picture = pictureFor(code);
    if (picture.width <= 0 || picture.height <= 0)
        picture = pictureFor(0);
    if (picture.width <= 0 || picture.height <= 0)
        return {};
    return picture;
}

uint32_t TimeDisplay::scaledWidth(const CharPicture& picture) const
{
    if (picture.height <= 0)
        return 0;
    return static_cast<uint32_t>(picture.width) * mDigitHeight / static_cast<uint32_t>(picture.height);
}

void TimeDisplay::setTime(uint32_t ms)
{
    if (ms == mTime)
        return;
    // Only whole seconds are shown: the pictures change once a second.
    bool sameSecond = ms / 1000 == mTime / 1000;
    mTime = ms;
    if (!sameSecond)
        layoutChars();
}

void TimeDisplay::showHours(bool show)
{
    mShowHours = show;
    layoutChars();
}

std::string TimeDisplay::getShownText() const
{
    std::string text;
    for (int i = mShowHours ? 0 : 3; i < CHAR_COUNT; ++i)
        text += mChars[static_cast<size_t>(i)];
    return text;
}

void TimeDisplay::layoutChars()
{
    uint32_t total = mTime / 1000;
    uint32_t seconds = total % 60;
    uint32_t minutes = (total / 60) % 60;
    uint32_t hours = total / 3600;
    mChars = {static_cast<char>('0' + (hours / 10) % 10), static_cast<char>('0' + hours % 10),   ':',
              static_cast<char>('0' + minutes / 10),      static_cast<char>('0' + minutes % 10), ':',
              static_cast<char>('0' + seconds / 10),      static_cast<char>('0' + seconds % 10)};

    int32_t digitSlot = static_cast<int32_t>(mDigitSlotWidth);
    int32_t colonSlot = static_cast<int32_t>(mColonSlotWidth);
    int32_t contentWidth = mShowHours ? 6 * digitSlot + 2 * colonSlot : 4 * digitSlot + colonSlot;
    int32_t innerWidth = mWidth - mMarginLeft - mMarginRight;
    int32_t innerHeight = mHeight - mMarginTop - mMarginBottom;
    int32_t x = mX + mMarginLeft + (innerWidth - contentWidth) / 2;
    int32_t y = mY + mMarginTop + (innerHeight - static_cast<int32_t>(mDigitHeight)) / 2;
    int first = mShowHours ? 0 : 3;
    for (int i = 0; i < CHAR_COUNT; ++i)
    {
        auto index = static_cast<size_t>(i);
        Image2D* image = mImages[index].get();
        if (i < first)
        {
            mCharRects[index] = {};
            if (image != nullptr)
                image->setCulled(true);
            continue;
        }
        CharPicture picture = pictureOf(static_cast<uint8_t>(mChars[index]));
        int32_t slot = mChars[index] == ':' ? colonSlot : digitSlot;
        int32_t width = static_cast<int32_t>(scaledWidth(picture));
        mCharRects[index] = {x + (slot - width) / 2, y, width, static_cast<int32_t>(mDigitHeight)};
        if (image != nullptr)
        {
            image->setCulled(picture.texture == nullptr);
            if (picture.texture != nullptr && image->getTexture() != picture.texture)
                image->setTexture(picture.texture);
            image->setSourceRect(picture.x, picture.y, picture.width, picture.height);
            image->setSize(static_cast<float>(width), static_cast<float>(mDigitHeight),
                           Image2D::SIZE_SOURCE_RECT);
            image->setPosition(static_cast<float>(mCharRects[index].x), static_cast<float>(y));
            image->setColor(mColor);
            image->update();
        }
        x += slot;
    }
}

ErrorCode TimeDisplay::render()
{
    if (ErrorCode code = Container::render())
        return code;
    return drawOwnedImages(mImages);
}

void TimeDisplay::updateLayout()
{
    Container::updateLayout();
    layoutChars();
}

void TimeDisplay::animate()
{
    Container::animate();
    if (mTimer != nullptr)
        setTime(mTimer->getElapsed());
}

void TimeDisplay::setRenderList(RenderList* list)
{
    Container::setRenderList(list);
    setOwnedImagesRenderList(mImages, list);
}

void TimeDisplay::setColor(uint32_t argb)
{
    mColor = argb;
    for (auto& image : mImages)
    {
        if (image)
            image->setColor(argb);
    }
}
