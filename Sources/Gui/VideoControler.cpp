#include "Gui/VideoControler.h"

#include "Gui/Dialog.h"
#include "Gui/VideoFullScreenLayer.h"

#include <cmath>

namespace
{

VideoControler::VideoFactory& videoFactory()
{
    static VideoControler::VideoFactory factory;
    return factory;
}

const Margins kNoMargins{};

} // namespace

void VideoControler::setVideoFactory(VideoFactory factory)
{
    videoFactory() = std::move(factory);
}

VideoControler::VideoControler(int32_t x, int32_t y, int32_t width, int32_t height,
                               const std::string& fileName, uint32_t lookId)
    : Container(x, y, width, height, lookId, &kNoMargins),
      mLook(dynamic_cast<VideoControlerLook*>(findLook(lookId)))
{
    static const VideoControlerLook defaultLook(0, 0, 0, 0, 0, 0);
    const VideoControlerLook& look = mLook != nullptr ? *mLook : defaultLook;
    mStripHeight = std::max(0, std::min(look.stripHeight, mHeight));

    if (const VideoFactory& factory = videoFactory())
        mVideo = factory(mX, mY, mWidth, mHeight - mStripHeight, mRenderList);
    if (mVideo)
    {
        mVideo->open(fileName);
        mVideo->setEndCallback([this] { onVideoEnd(); });
        mLength = mVideo->getDuration();
    }

    int32_t side = mStripHeight;
    int32_t stripTop = mHeight - mStripHeight;
    mBar =
        new ProgressionBar(4 * side, stripTop, std::max(mWidth - 5 * side, 0), side, look.progressionBarLook);
    mBar->getClickCallback().mFunction = [this](Component*, uint32_t) { onBarClick(); };
    addChild(mBar);

    const std::function<void()> actions[VideoControlerLook::BUTTON_COUNT] = {
        [this] { onPlay(); }, [this] { onPause(); }, [this] { onBackward(); }, [this] { onForward(); },
        [this] { showFullScreen(); }};
    DialogButtonKit& kit = getDialogButtonKit();
    for (uint32_t i = 0; i < VideoControlerLook::BUTTON_COUNT; ++i)
    {
        DialogButtonSpec request;
        request.lookId = look.buttonLooks[i];
        request.width = side;
        request.height = side;
        request.onClick.mFunction = [action = actions[i]](Component*, uint32_t) { action(); };
        Component* button = kit.createButton(request);
        if (button == nullptr)
            continue;
        int32_t buttonX =
            i == VideoControlerLook::BUTTON_FULL_SCREEN ? mWidth - side : static_cast<int32_t>(i) * side;
        button->moveTo(buttonX, stripTop, false);
        addChild(button);
        mButtons[i] = button;
    }
    updateBarVisibility();
}

VideoControler::~VideoControler()
{
    // The layer goes after the current dispatch; it must not reach this
    // controller or its video any more.
    if (mFullScreen != nullptr)
    {
        mFullScreen->forgetControler();
        mFullScreen->close();
        mFullScreen = nullptr;
    }
    if (mVideo)
        mVideo->setEndCallback(nullptr);
    mVideo.reset();
}

ErrorCode VideoControler::render()
{
    if (mVideo && mFullScreen == nullptr)
    {
        if (ErrorCode code = mVideo->render())
            return code;
    }
    return Container::render();
}

void VideoControler::animate()
{
    Container::animate();
    if (!mVideo)
        return;
    mVideo->update();
    // The end callback may have run inside update.
    if (mVideo)
        showPosition();
}

void VideoControler::moveTo(int32_t x, int32_t y, bool update)
{
    Container::moveTo(x, y, update);
    if (mVideo && mFullScreen == nullptr)
        mVideo->setRect(mX, mY, mWidth, mHeight - mStripHeight);
}

void VideoControler::showPosition()
{
    // A video of unknown length shows an empty bar.
    if (mLength == 0)
    {
        mLength = mVideo ? mVideo->getDuration() : 0;
        if (mLength == 0)
        {
            mBar->setFraction(0.0f);
            return;
        }
    }
    mBar->setFraction(static_cast<float>(mVideo->getPosition()) / static_cast<float>(mLength));
}

void VideoControler::setSpeed(int32_t speed)
{
    mSpeed = speed;
    if (!mVideo)
        return;
    if (speed == 0)
    {
        mVideo->pause();
        return;
    }
    mVideo->play();
    double rate = speed > 0 ? std::ldexp(1.0, speed - 1) : -std::ldexp(1.0, -speed - 1);
    mVideo->setRate(rate);
}

void VideoControler::stop()
{
    if (mVideo)
        mVideo->stop();
    mSpeed = 0;
    updateBarVisibility();
}

void VideoControler::onPlay()
{
    setSpeed(1);
    updateBarVisibility();
}

void VideoControler::onPause()
{
    setSpeed(0);
    updateBarVisibility();
}

void VideoControler::onBackward()
{
    int32_t minSpeed = mLook != nullptr ? mLook->minSpeed : -4;
    if (mSpeed == 1)
        setSpeed(-1);
    else if (mSpeed > minSpeed)
        setSpeed(mSpeed - 1);
    updateBarVisibility();
}

void VideoControler::onForward()
{
    int32_t maxSpeed = mLook != nullptr ? mLook->maxSpeed : 4;
    if (mSpeed == -1)
        setSpeed(1);
    else if (mSpeed < maxSpeed)
        setSpeed(mSpeed + 1);
    updateBarVisibility();
}

void VideoControler::showFullScreen()
{
    if (mFullScreen == nullptr && mVideo)
    {
        mFullScreen = showLayer(std::make_unique<VideoFullScreenLayer>(this));
        if (mFullScreen == nullptr)
            mVideo->setRect(mX, mY, mWidth, mHeight - mStripHeight);
    }
    updateBarVisibility();
}

void VideoControler::leaveFullScreen()
{
    if (mFullScreen == nullptr)
        return;
    if (mVideo)
        mVideo->setRect(mX, mY, mWidth, mHeight - mStripHeight);
    mFullScreen->close();
    mFullScreen = nullptr;
}

void VideoControler::onBarClick()
{
    if (!mVideo)
        return;
    uint32_t state = mVideo->getState();
    if (state == VIDEO_PLAYING || state == VIDEO_PAUSED)
    {
        mVideo->setPosition(static_cast<uint32_t>(static_cast<double>(mLength) * mBar->getFraction()));
        // A paused video shows the new frame only once it has run.
        if (state == VIDEO_PAUSED)
        {
            mVideo->play();
            mVideo->pause();
        }
        return;
    }
    showPosition();
}

void VideoControler::onVideoEnd()
{
    leaveFullScreen();
    if (mEndCallback)
        mEndCallback(this, mEndUserValue);
    mSpeed = 0;
}

void VideoControler::updateBarVisibility()
{
    uint32_t state = mVideo ? mVideo->getState() : VIDEO_STOPPED;
    mBar->setVisible(state == VIDEO_PLAYING || state == VIDEO_PAUSED);
}

void VideoControler::setVisible(bool visible)
{
    Component::setVisible(visible);
    for (Component* button : mButtons)
    {
        if (button != nullptr)
            button->setVisible(visible);
    }
}
