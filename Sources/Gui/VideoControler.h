#pragma once
// A control strip under a video shown in a texture: a progression bar for the
// position and play, pause, backward, forward and full-screen buttons. The
// controller owns the video.
#include "Gui/ComponentRef.h"
#include "Gui/Container.h"
#include "Gui/ControllableVideo.h"
#include "Gui/ProgressionBar.h"
#include "Gui/VideoControlerLook.h"

#include <functional>
#include <memory>
#include <string>

class VideoFullScreenLayer;

class VideoControler : public Container
{
public:
    using VideoFactory = std::function<std::unique_ptr<ControllableVideo>(
        int32_t x, int32_t y, int32_t width, int32_t height, RenderList* renderList)>;
    using EndCallback = std::function<void(VideoControler* controler, uint32_t userValue)>;

    // How videos are made (the 2D engine's video texture); without one the
    // controller has no video and its buttons do nothing.
    static void setVideoFactory(VideoFactory factory);

    // The video takes the rectangle above the strip.
    VideoControler(int32_t x, int32_t y, int32_t width, int32_t height, const std::string& fileName,
                   uint32_t lookId);
    ~VideoControler() override;

    ErrorCode render() override;
    void animate() override;
    void moveTo(int32_t x, int32_t y, bool update) override;

    // 0 paused, 1 normal, n > 0 2^(n - 1) times faster, negative backward.
    void setSpeed(int32_t speed);
    int32_t getSpeed() const { return mSpeed; }
    void stop();
    // The buttons' actions.
    void onPlay();
    void onPause();
    void onBackward();
    void onForward();
    void showFullScreen();
    void leaveFullScreen();
    // Shows or hides the five buttons too.
    void setVisible(bool visible);

    void setEndCallback(EndCallback callback, uint32_t userValue)
    {
        mEndCallback = std::move(callback);
        mEndUserValue = userValue;
    }
    void setKeepAspectRatio(bool keep) { mKeepAspectRatio = keep; }
    bool keepsAspectRatio() const { return mKeepAspectRatio; }

    ControllableVideo* getVideo() const { return mVideo.get(); }
    ProgressionBar* getProgressionBar() const { return mBar; }
    Component* getButton(uint32_t index) const
    {
        return index < VideoControlerLook::BUTTON_COUNT ? mButtons[index] : nullptr;
    }
    VideoFullScreenLayer* getFullScreenLayer() const { return mFullScreen; }
    int32_t getStripHeight() const { return mStripHeight; }
    uint32_t getLength() const { return mLength; }

private:
    void onBarClick();
    void onVideoEnd();
    void updateBarVisibility();
    // The bar follows the video's position.
    void showPosition();

    Component* mButtons[VideoControlerLook::BUTTON_COUNT] = {};
    std::unique_ptr<ControllableVideo> mVideo;
    // The GUI root owns it once opened.
    ComponentRef<VideoFullScreenLayer> mFullScreen;
    int32_t mStripHeight = 32;
    ProgressionBar* mBar = nullptr;
    uint32_t mLength = 0;
    EndCallback mEndCallback;
    uint32_t mEndUserValue = 0;
    int32_t mSpeed = 0;
    VideoControlerLook* mLook;
    bool mKeepAspectRatio = true;
};
