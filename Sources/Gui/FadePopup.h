#pragma once
// A full-screen layer that shows one picture fading in, staying and fading
// out while the frame's clear colour follows toward the screen's colour, then
// calls back and closes: the intro screens and the closing screen. A click or
// a key press cuts it short.
#include "Engine/Image2D.h"
#include "Framework/ServiceInterfaces.h"
#include "Framework/Timer.h"
#include "Gui/Layer.h"

#include <functional>
#include <memory>

class FadePopup : public Layer
{
public:
    using EndCallback = std::function<void(FadePopup* popup, uint32_t userValue)>;

    enum State : uint32_t
    {
        STATE_FADE_IN = 0,
        STATE_SHOWN = 1,
        STATE_FADE_OUT = 2,
        STATE_DONE = 3
    };

    // The screen record is copied; its texture stays the caller's.
    FadePopup(const IntroScreen& screen, EndCallback callback, uint32_t userValue, uint32_t flag);
    ~FadePopup() override;

    // Makes the GUI manager show intro screens with this popup.
    static void installIntroScreenOpener();

    ErrorCode render() override;
    void animate() override;
    uint32_t onMouseEvent(const MouseEvent& event) override;
    uint32_t onKeyEvent(const KeyEvent& event) override;

    // Restores the clear colour, stops the sound, calls back and closes; once.
    void finish();

    uint32_t getState() const { return mState; }
    uint32_t getAlpha() const { return mAlpha; }
    bool isFinished() const { return mFinished; }
    Image2D* getPicture() const { return mPicture.get(); }
    // The colour the picture is drawn with (also kept without a 2D engine).
    uint32_t getPictureColor() const { return mPictureColor; }
    uint32_t getSavedClearColor() const { return mSavedClearColor; }
    // Kept for the owner; the popup itself does not read it.
    uint32_t getFlag() const { return mFlag; }

private:
    void applyAlpha(uint32_t alpha);

    IntroScreen mScreen;
    std::unique_ptr<Image2D> mPicture;
    EndCallback mCallback;
    uint32_t mUserValue;
    uint32_t mFlag;
    uint32_t mState = STATE_FADE_IN;
    Timer mTimer;
    uint32_t mSavedClearColor = 0xFF000000;
    uint32_t mPictureColor = 0;
    uint32_t mAlpha = 0;
    bool mFinished = false;
};
