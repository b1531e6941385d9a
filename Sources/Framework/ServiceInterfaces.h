#pragma once
// What the application base, its main loop and its window procedure ask of the
// services that live in the layers above the framework: the GUI manager, the
// input manager and its cursor, the 2D and 3D engines, bitmap fonts and the
// overlay text. Those layers implement their services on these bases; until
// they do, the null services of NullServices.h stand in.
#include "Framework/AppService.h"
#include "Framework/InputEvents.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// An engine texture; the image table holds references to them.
class Texture;

// One screen of the intro chain: what a fading intro window shows.
struct IntroScreen
{
    Texture* mImage = nullptr;
    // The frame's clear colour is blended toward it while the screen fades.
    uint32_t mColor = 0xFF000000;
    uint32_t mSoundId = 0;
    uint32_t mDisplayMs = 0;
    uint32_t mFadeMs = 0;
    uint32_t mFadeMode = 1;
};

// The mouse state the window procedure writes, and the cursor drawn from it.
class CursorManagerBase
{
public:
    virtual ~CursorManagerBase() = default;
    // Applies the cursor mode (system arrow, hidden, or sprites).
    virtual void update() = 0;
    // Moves the cursor sprites to the mouse position.
    virtual void placeSprites() = 0;
    virtual ErrorCode render() = 0;
    virtual void setImage(Texture* image) = 0;

    // In the logical client area (1024 by 768).
    int32_t mMouseX = 0;
    int32_t mMouseY = 0;
    bool mLeftButton = false;
    bool mRightButton = false;
};

// Service 7.
class InputManagerBase : public AppService
{
public:
    uint32_t getServiceId() override { return 7; }
    virtual CursorManagerBase& getCursorManager() = 0;
};

// A text drawn over everything (the timing overlay).
class OverlayTextBase
{
public:
    virtual ~OverlayTextBase() = default;
    virtual void setText(const std::string& text) = 0;
    virtual ErrorCode render() = 0;
};

// A bitmap font of the application's font table.
class BitmapFontBase
{
public:
    virtual ~BitmapFontBase() = default;
    virtual bool isLoaded() const = 0;
    virtual ErrorCode load() = 0;
};

// Service 6.
class GuiManagerBase : public AppService
{
public:
    uint32_t getServiceId() override { return 6; }
    // The per-frame step of the widget tree.
    virtual void animate() = 0;
    // Draws the tree; 22 ends the frame's drawing without being a failure.
    virtual ErrorCode render() = 0;
    // Both take the application lock themselves.
    virtual void dispatchMouseEvent(const MouseEvent& event) = 0;
    virtual void dispatchKeyEvent(const KeyEvent& event) = 0;
    // Hands a raw window message to the components that listen for them, in
    // the enabled layers down to the first modal one.
    virtual void broadcastWindowMessage(uint32_t message, uint64_t wParam, int64_t lParam) = 0;
    // Opens a fading intro window for the screen; onEnd runs when it is over.
    virtual void openIntroScreen(const IntroScreen& screen, std::function<void()> onEnd) = 0;
    // The timing overlay's text, drawn with the font at (x, y); null when the
    // GUI cannot make one.
    virtual std::unique_ptr<OverlayTextBase> createOverlayText(BitmapFontBase* font, int32_t x, int32_t y,
                                                               int32_t width) = 0;
};

// Service 2.
class Engine2DBase : public AppService
{
public:
    uint32_t getServiceId() override { return 2; }
    virtual ErrorCode beginFrame() = 0;
    virtual ErrorCode begin2DPass() = 0;
    virtual ErrorCode end2DPass() = 0;
    // Ends the scene and presents it.
    virtual ErrorCode endFrame() = 0;
    virtual uint64_t getTextureMemoryUsed() = 0;
    virtual uint64_t getTextureMemoryAvailable() = 0;
    // The texture of that file name, loaded on first use; the caller holds a
    // reference (null when it cannot be loaded).
    virtual Texture* findOrLoadTexture(const std::string& fileName) = 0;
    virtual void releaseTexture(Texture* texture) = 0;
};

// Service 3.
class Engine3DBase : public AppService
{
public:
    uint32_t getServiceId() override { return 3; }
    virtual ErrorCode beginPass3D() = 0;
    virtual ErrorCode endPass3D() = 0;
    // Draws the scene.
    virtual ErrorCode render() = 0;
    // Around the whole 3D pass, the frame's clear included: an idle scene
    // costs a copy of its last picture instead of being drawn again.
    virtual void beginReusablePass() {}
    virtual void endReusablePass() {}
};
