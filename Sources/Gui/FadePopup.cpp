#include "Gui/FadePopup.h"

#include "Engine/Engine2D.h"
#include "Framework/ApplicationGeneric.h"
#include "Gui/GuiManager.h"
#include "Sound/SoundManager.h"

#include <algorithm>

namespace
{

Engine2D* engine2D()
{
    ApplicationGeneric* application = getApplication();
    return application != nullptr ? dynamic_cast<Engine2D*>(application->getEngine2D()) : nullptr;
}

SoundManager* soundManager()
{
    ApplicationGeneric* application = getApplication();
    return application != nullptr ? application->getSoundManager() : nullptr;
}

int32_t screenWidth()
{
    ApplicationGeneric* application = getApplication();
    return application != nullptr ? static_cast<int32_t>(application->getSettings().mClientWidth) : 1024;
}

int32_t screenHeight()
{
    ApplicationGeneric* application = getApplication();
    return application != nullptr ? static_cast<int32_t>(application->getSettings().mClientHeight) : 768;
}

uint32_t blendChannel(uint32_t to, uint32_t from, uint32_t alpha, int shift)
{
    uint32_t a = (to >> shift) & 0xFF;
    uint32_t b = (from >> shift) & 0xFF;
    return ((a * alpha + b * (255 - alpha)) / 255) << shift;
}

} // namespace

FadePopup::FadePopup(const IntroScreen& screen, EndCallback callback, uint32_t userValue, uint32_t flag)
    : Layer(0, 0, screenWidth(), screenHeight(), LOOK_EMPTY, false), mScreen(screen),
      mCallback(std::move(callback)), mUserValue(userValue), mFlag(flag)
{
    Engine2D* engine = engine2D();
    if (engine != nullptr && mScreen.mImage != nullptr)
    {
        mPicture =
            engine->createImage(0.0f, 0.0f, mScreen.mImage, Image2D::SIZE_NATURAL, 0.0f, 0.0f, 0, nullptr);
        // A texture's size is known once it is loaded, which binding it to the
        // image does: centre the picture only then.
        if (mPicture != nullptr)
        {
            auto width = static_cast<int32_t>(mScreen.mImage->getWidth());
            auto height = static_cast<int32_t>(mScreen.mImage->getHeight());
            mPicture->setPosition(static_cast<float>((mWidth - width) / 2),
                                  static_cast<float>((mHeight - height) / 2));
        }
    }
    mTimer.start();
    if (engine != nullptr)
    {
        mSavedClearColor = engine->getClearColor();
        engine->setClearColor(mScreen.mColor);
    }
    if (mScreen.mSoundId != 0)
    {
        if (SoundManager* sound = soundManager())
            sound->playSound(0, 0, mScreen.mSoundId, -1, false, false);
    }
}

FadePopup::~FadePopup() = default;

void FadePopup::installIntroScreenOpener()
{
    GuiManager::setIntroScreenOpener(
        [](const IntroScreen& screen, std::function<void()> onEnd)
        {
            auto popup = std::make_unique<FadePopup>(
                screen,
                [onEnd](FadePopup*, uint32_t)
                {
                    if (onEnd)
                        onEnd();
                },
                0, 0);
            // No manager to show it: the screen ends at once.
            if (showLayer(std::move(popup)) == nullptr && onEnd)
                onEnd();
        });
}

void FadePopup::applyAlpha(uint32_t alpha)
{
    mAlpha = alpha;
    if (Engine2D* engine = engine2D())
    {
        uint32_t color = 0;
        for (int shift = 24; shift >= 0; shift -= 8)
            color |= blendChannel(mScreen.mColor, mSavedClearColor, alpha, shift);
        engine->setClearColor(color);
    }
    mPictureColor =
        mScreen.mFadeMode != 0 ? (alpha << 24) | 0xFFFFFF : 0xFF000000 | alpha << 16 | alpha << 8 | alpha;
    if (mPicture)
        mPicture->setColor(mPictureColor);
}

void FadePopup::animate()
{
    Layer::animate();
    if (mFinished)
        return;
    uint32_t t = mTimer.getElapsed();
    uint32_t fade = mScreen.mFadeMs;
    uint32_t alpha = 255;
    // A fade of no length is a cut, not a division by zero.
    switch (mState)
    {
    case STATE_FADE_IN:
        alpha = fade == 0 ? 255 : static_cast<uint32_t>(std::min<uint64_t>(uint64_t{t} * 255 / fade, 255));
        if (t >= fade)
        {
            mState = STATE_SHOWN;
            mTimer.start();
        }
        break;
    case STATE_SHOWN:
        if (t >= mScreen.mDisplayMs)
        {
            mState = STATE_FADE_OUT;
            mTimer.start();
        }
        break;
    case STATE_FADE_OUT:
        alpha =
            fade == 0 ? 0 : 255 - static_cast<uint32_t>(std::min<uint64_t>(uint64_t{t} * 255 / fade, 255));
        if (t >= fade)
        {
            mState = STATE_DONE;
            mTimer.start();
        }
        break;
    default:
        finish();
        return;
    }
    applyAlpha(alpha);
}

ErrorCode FadePopup::render()
{
    if (ErrorCode code = Layer::render())
        return code;
    return mPicture ? mPicture->draw() : 0;
}

void FadePopup::finish()
{
    if (mFinished)
        return;
    mFinished = true;
    mState = STATE_DONE;
    if (Engine2D* engine = engine2D())
        engine->setClearColor(mSavedClearColor);
    if (mScreen.mSoundId != 0)
    {
        if (SoundManager* sound = soundManager())
            sound->stopChannel(0);
    }
    if (mCallback)
        mCallback(this, mUserValue);
    close();
}

uint32_t FadePopup::onMouseEvent(const MouseEvent& event)
{
    // Buttons laid over the picture keep their clicks.
    if (uint32_t result = Container::onMouseEvent(event))
        return result;
    if (event.mType == MOUSE_EVENT_BUTTON_DOWN)
        finish();
    return 1;
}

uint32_t FadePopup::onKeyEvent(const KeyEvent& event)
{
    if (uint32_t result = Container::onKeyEvent(event))
        return result;
    if (event.mType == KEY_EVENT_PRESSED)
        finish();
    return 1;
}
