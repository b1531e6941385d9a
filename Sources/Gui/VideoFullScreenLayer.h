#pragma once
// The video control strip's full-screen view: over two seconds the playing
// video grows from the strip's video rectangle to the whole window while the
// rest of the screen fades to black; then only the video is drawn until a
// click or a key returns to the controller.
#include "Engine/Image2D.h"
#include "Engine/SheetMove.h"
#include "Framework/Timer.h"
#include "Gui/Layer.h"

#include <memory>

class VideoControler;

class VideoFullScreenLayer : public Layer
{
public:
    static constexpr uint32_t TRANSITION_MS = 2000;

    explicit VideoFullScreenLayer(VideoControler* controler);
    ~VideoFullScreenLayer() override;

    ErrorCode render() override;
    void animate() override;
    uint32_t onMouseEvent(const MouseEvent& event) override;
    uint32_t onKeyEvent(const KeyEvent& event) override;

    // The controller is going away: the layer draws and drives nothing more.
    void forgetControler() { mControler = nullptr; }

    bool isAnimating() const { return mAnimating; }
    Rect getDisplayRect() const { return mDisplayRect; }
    SheetMove* getSheet() const { return mSheet.get(); }
    Image2D* getBackdrop() const { return mBackdrop.get(); }
    // The backdrop's colour, also kept without a 2D engine.
    uint32_t getBackdropColor() const { return mBackdropColor; }
    float getProgress() const { return mProgress; }

private:
    VideoControler* mControler;
    std::unique_ptr<SheetMove> mSheet;
    Timer mTimer;
    bool mAnimating = false;
    bool mTransitionDone = false;
    std::unique_ptr<Image2D> mBackdrop;
    Rect mDisplayRect{};
    uint32_t mBackdropColor = 0;
    float mProgress = 0.0f;
};
