#include "Gui/VideoFullScreenLayer.h"

#include "Engine/Engine2D.h"
#include "Framework/ApplicationGeneric.h"
#include "Gui/Font.h"
#include "Gui/GuiManager.h"
#include "Gui/VideoControler.h"

namespace
{

Engine2D* engine2D()
{
    ApplicationGeneric* application = getApplication();
    return application != nullptr ? dynamic_cast<Engine2D*>(application->getEngine2D()) : nullptr;
}

int32_t windowWidth()
{
    ApplicationGeneric* application = getApplication();
    return application != nullptr ? static_cast<int32_t>(application->getSettings().mClientWidth) : 1024;
}

int32_t windowHeight()
{
    ApplicationGeneric* application = getApplication();
    return application != nullptr ? static_cast<int32_t>(application->getSettings().mClientHeight) : 768;
}

void setOtherLayersVisible(const Component* self, bool visible)
{
    GuiManager* manager = GuiManager::current();
    if (manager == nullptr || manager->getRoot() == nullptr)
        return;
    for (Component* layer : manager->getRoot()->getChildren())
    {
        if (layer != self)
            layer->setVisible(visible);
    }
}

} // namespace

VideoFullScreenLayer::VideoFullScreenLayer(VideoControler* controler)
    : Layer(0, 0, windowWidth(), windowHeight(), LOOK_EMPTY, false), mControler(controler)
{
    mTimer.start();
    mDisplayRect = {0, 0, mWidth, mHeight};
    ControllableVideo* video = mControler != nullptr ? mControler->getVideo() : nullptr;
    if (video == nullptr)
        return;
    int32_t videoWidth = 0;
    int32_t videoHeight = 0;
    video->getVideoSize(videoWidth, videoHeight);
    if (mControler->keepsAspectRatio() && videoWidth > 0 && videoHeight > 0)
    {
        int64_t w = videoWidth;
        int64_t h = videoHeight;
        if (w * mHeight <= h * mWidth)
            mDisplayRect.width = static_cast<int32_t>(w * mHeight / h);
        else
            mDisplayRect.height = static_cast<int32_t>(h * mWidth / w);
        mDisplayRect.x = (mWidth - mDisplayRect.width) / 2;
        mDisplayRect.y = (mHeight - mDisplayRect.height) / 2;
    }
    Rect start = video->getRect();
    video->setRect(mDisplayRect.x, mDisplayRect.y, mDisplayRect.width, mDisplayRect.height);
    Engine2D* engine = engine2D();
    if (engine != nullptr)
    {
        mSheet = engine->createGridSheetMove();
        if (mSheet)
        {
            mSheet->set(start, mDisplayRect, video->getTexture());
            mSheet->setMirrorY(video->isTextureMirrored());
        }
    }
    mTimer.start();
    mAnimating = true;
    if (engine != nullptr)
    {
        Texture* texture = nullptr;
        if (auto* bitmap = dynamic_cast<BitmapFont*>(findFont(0)))
            texture = bitmap->getGlyphTexture(0);
        mBackdrop = engine->createImage(0.0f, 0.0f, texture, Image2D::SIZE_STRETCHED,
                                        static_cast<float>(mWidth), static_cast<float>(mHeight), 0, nullptr);
    }
}

VideoFullScreenLayer::~VideoFullScreenLayer()
{
    if (mTransitionDone)
        setOtherLayersVisible(this, true);
    mSheet.reset();
    mBackdrop.reset();
}

void VideoFullScreenLayer::animate()
{
    Layer::animate();
    if (!mAnimating)
        return;
    ControllableVideo* video = mControler != nullptr ? mControler->getVideo() : nullptr;
    uint32_t t = mTimer.getElapsed();
    if (t < TRANSITION_MS)
    {
        mProgress = static_cast<float>(t) * 0.0005f;
        if (mSheet)
        {
            if (video != nullptr)
            {
                mSheet->set(mSheet->getStart(), mSheet->getEnd(), video->getTexture());
                mSheet->setMirrorY(video->isTextureMirrored());
            }
            mSheet->update(mProgress);
        }
        mBackdropColor = (t * 255 / TRANSITION_MS) << 24;
        if (mBackdrop)
            mBackdrop->setColor(mBackdropColor);
        return;
    }
    mProgress = 1.0f;
    setOtherLayersVisible(this, false);
    if (Engine2D* engine = engine2D())
        engine->setClearColor(0xFF000000);
    mAnimating = false;
    mTransitionDone = true;
    mSheet.reset();
    mBackdrop.reset();
}

ErrorCode VideoFullScreenLayer::render()
{
    if (mControler == nullptr)
        return Layer::render();
    if (mAnimating)
    {
        if (mBackdrop)
        {
            if (ErrorCode code = mBackdrop->draw())
                return code;
        }
        if (mSheet)
            mSheet->draw();
    }
    else if (ControllableVideo* video = mControler->getVideo())
    {
        if (ErrorCode code = video->render())
            return code;
    }
    return ERROR_STOP_RENDERING;
}

uint32_t VideoFullScreenLayer::onMouseEvent(const MouseEvent& event)
{
    if (event.mType == MOUSE_EVENT_BUTTON_DOWN && mControler != nullptr)
        mControler->leaveFullScreen();
    return Layer::onMouseEvent(event);
}

uint32_t VideoFullScreenLayer::onKeyEvent(const KeyEvent& event)
{
    if (Container::onKeyEvent(event) == 0 && mControler != nullptr)
        mControler->leaveFullScreen();
    return 1;
}
