#include "Gui/Infotip.h"

#include "Framework/ApplicationGeneric.h"

#include <algorithm>

namespace
{

const Margins kNoMargins{};

void screenSize(int32_t& width, int32_t& height)
{
    ApplicationGeneric* application = getApplication();
    width = application != nullptr ? static_cast<int32_t>(application->getSettings().mClientWidth) : 1024;
    height = application != nullptr ? static_cast<int32_t>(application->getSettings().mClientHeight) : 768;
}

} // namespace

Infotip::Infotip() : Container(0, 0, 200, 10, LOOK_ID, &kNoMargins)
{
    makeText(findFont(0));
}

Infotip::~Infotip()
{
    // The extra widget belongs to the widget that asked for it.
    if (mShownComponent != nullptr && mShownComponent->getParent() == this)
        removeChild(mShownComponent);
    mShownComponent = nullptr;
}

void Infotip::install()
{
    GuiManager::setInfotipCreator([] { return std::make_unique<Infotip>(); });
}

void Infotip::makeText(Font* font)
{
    mText.reset();
    if (font != nullptr)
        mText = font->createText(0, 0, 200, std::string(), 0xFF000000, font->getLineHeight(),
                                 TEXT_ALIGN_CENTER | TEXT_WORD_WRAP);
}

void Infotip::setFont(Font* font)
{
    std::string text = mText ? mText->getText() : std::string();
    makeText(font);
    if (mText)
    {
        mText->setText(text, true);
        mText->setColor(mAlpha << 24);
        mText->setRenderList(mRenderList);
    }
}

void Infotip::setRequest(const InfotipRequest& request)
{
    GuiManager* manager = GuiManager::current();
    if (mShownComponent != nullptr)
    {
        if (manager != nullptr)
            manager->postOperation(mShownComponent, GUI_OP_REMOVE, nullptr);
        else if (mShownComponent->getParent() == this)
            removeChild(mShownComponent);
        mShownComponent = nullptr;
    }
    mRequest = request;
    // The tip may have been made before the font table was filled.
    if (!mText)
        makeText(findFont(0));
    mLastTick = getTimeMs();
    mWaited = 0;
    mShown = false;
    if (mText)
        mText->setText(request.text, true);
    int32_t textWidth = mText && !request.text.empty() ? mText->getMaxLineWidth() : 0;
    int32_t textHeight = mText && !request.text.empty() ? mText->getHeight() : 0;
    int32_t width = textWidth;
    int32_t height = textHeight;
    if (Component* extra = request.component)
    {
        width = std::max(width, extra->getWidth());
        height += extra->getHeight();
        extra->moveTo((width - extra->getWidth()) / 2, textHeight, false);
        // Lent by the widget that asked: never deleted from here.
        if (manager != nullptr)
            manager->postAdd(lend(extra), GUI_OP_ADD, this);
        else
            appendChild(lend(extra));
        mShownComponent = extra;
    }
    resize(width + mMarginLeft + mMarginRight, height + mMarginTop + mMarginBottom, true);
    mAlpha = 0;
    if (mText)
        mText->setColor(0x00000000);
    Component::setColor(0x00FFFFFF);
}

void Infotip::forgetComponent(Component* component)
{
    InfotipPopup::forgetComponent(component);
    if (component == nullptr)
        return;
    if (component == mShownComponent)
        mShownComponent = nullptr;
    // A widget deleted while it still stands in the tip must not be drawn or
    // deleted again from here.
    if (component->getParent() == this)
        removeChild(component);
}

void Infotip::place(int32_t width, int32_t height, int32_t& x, int32_t& y) const
{
    int32_t screenWidth = 0;
    int32_t screenHeight = 0;
    screenSize(screenWidth, screenHeight);
    const int32_t X = mRequest.x;
    const int32_t Y = mRequest.y;
    const int32_t W = mRequest.width;
    const int32_t H = mRequest.height;
    auto position = [&](uint32_t code, int32_t& px, int32_t& py)
    {
        switch (code)
        {
        case INFOTIP_ABOVE:
            px = X + (W - width) / 2;
            py = Y - height;
            break;
        case INFOTIP_LEFT:
            px = X - width;
            py = Y + (H - height) / 2;
            break;
        case INFOTIP_RIGHT:
            px = X + W;
            py = Y + (H - height) / 2;
            break;
        case INFOTIP_BELOW:
            px = X + (W - width) / 2;
            py = Y + H;
            break;
        case INFOTIP_ABOVE_LEFT:
            px = X - width;
            py = Y - height;
            break;
        case INFOTIP_ABOVE_RIGHT:
            px = X + W;
            py = Y - height;
            break;
        case INFOTIP_BELOW_LEFT:
            px = X - width;
            py = Y + H;
            break;
        case INFOTIP_BELOW_RIGHT:
            px = X + W;
            py = Y + H;
            break;
        default:
        {
            ApplicationGeneric* application = getApplication();
            CursorManagerBase* cursor = application != nullptr ? application->getCursorManager() : nullptr;
            px = cursor != nullptr ? cursor->mMouseX : 0;
            py = (cursor != nullptr ? cursor->mMouseY : 0) - height;
            break;
        }
        }
    };
    auto fits = [&](int32_t px, int32_t py)
    { return px >= 0 && py >= 0 && px + width <= screenWidth && py + height <= screenHeight; };
    if (mRequest.placement <= INFOTIP_AT_CURSOR)
    {
        position(mRequest.placement, x, y);
        if (fits(x, y))
            return;
    }
    static const uint32_t fallBacks[] = {INFOTIP_ABOVE,     INFOTIP_BELOW,       INFOTIP_RIGHT,
                                         INFOTIP_LEFT,      INFOTIP_ABOVE_RIGHT, INFOTIP_ABOVE_LEFT,
                                         INFOTIP_BELOW_LEFT};
    for (uint32_t code : fallBacks)
    {
        position(code, x, y);
        if (fits(x, y))
            return;
    }
    position(INFOTIP_BELOW_RIGHT, x, y);
}

void Infotip::animate()
{
    Container::animate();
    if (mRequest.text.empty() && mRequest.component == nullptr)
        return;
    if (!mShown)
    {
        uint32_t now = getTimeMs();
        mWaited += now - mLastTick;
        mLastTick = now;
        if (mWaited < mRequest.delay)
            return;
        int32_t x = 0;
        int32_t y = 0;
        place(mWidth, mHeight, x, y);
        moveTo(x, y, true);
        if (mText)
        {
            // The lines are centred across the text object's whole wrapping
            // width, wider than the tip: that width is centred on the tip so
            // that every line lies inside it.
            int32_t textWidth = mRequest.text.empty() ? 0 : mText->getMaxLineWidth();
            if ((mText->getFlags() & 3) == TEXT_ALIGN_CENTER)
                textWidth = mText->getWidth();
            mText->setPosition(x + mMarginLeft + (mWidth - textWidth - mMarginLeft - mMarginRight) / 2,
                               y + mMarginTop);
        }
        mShown = true;
        mFadeTimer.start();
    }
    uint32_t alpha =
        static_cast<uint32_t>(std::min<uint64_t>(uint64_t{mFadeTimer.getElapsed()} * 255 / FADE_MS, 255));
    // Setting the same colours again would lay the tip out again, its
    // pictures rewritten, for a frame that shows nothing new.
    if (alpha == mAlpha)
        return;
    mAlpha = alpha;
    if (mText)
        mText->setColor(alpha << 24);
    Component::setColor((alpha << 24) | 0xFFFFFF);
}

ErrorCode Infotip::render()
{
    if (!mShown)
        return 0;
    if (ErrorCode code = Container::render())
        return code;
    return mText ? mText->render() : 0;
}

ErrorCode Infotip::onDeviceLost()
{
    return Container::onDeviceLost();
}

ErrorCode Infotip::onDeviceReset()
{
    return Container::onDeviceReset();
}
