#pragma once
// The main window service (service 1): it opens the program's single window
// and owns its window procedure, which turns mouse and keyboard messages into
// the GUI toolkit's input events, forwards activation changes to the
// application and ends the program when the window is destroyed.
#include "Framework/AppService.h"
#include "Framework/Desktop.h"
#include "Platform/Window/Window.h"

#include <functional>
#include <memory>

class AppWindow final : public AppService
{
public:
    // While set, the window procedure hands every message to it and does
    // nothing else (a full-window video player installs one).
    using MessageHook = std::function<Platform::LParam(const Platform::WindowMessage&)>;

    AppWindow();
    ~AppWindow() override;

    ErrorCode init() override { return create(); }
    uint32_t getServiceId() override { return 1; }

    // Opens the window with the settings' title and client size. 2 when no
    // window can be made (no display).
    ErrorCode create();

    // The window procedure.
    Platform::LParam windowProcedure(const Platform::WindowMessage& message);
    // Routes to the running application's window service, else to the
    // default handling.
    static Platform::LParam staticWindowProcedure(const Platform::WindowMessage& message);
    // What a message means when the procedure leaves it: a close request
    // destroys the window.
    Platform::LParam defaultProcedure(const Platform::WindowMessage& message);

    // Takes the next message (pumping the window's events first).
    bool peekMessage(Platform::WindowMessage& message);
    Platform::LParam dispatchMessage(const Platform::WindowMessage& message);
    void postQuitMessage(int exitCode) { mQueue.postQuit(exitCode); }
    Platform::MessageQueue& getQueue() { return mQueue; }

    void setMessageHook(MessageHook hook) { mHook = std::move(hook); }
    bool hasMessageHook() const { return static_cast<bool>(mHook); }
    // Off by default: the window covers the desktop, the frame scaled to fit
    // with its shape kept. Set before create for a window of the settings'
    // client size.
    void setWindowedMode(bool windowed) { mWindowedMode = windowed; }
    bool isWindowedMode() const { return mWindowedMode; }
    uint32_t getClientWidth() const { return mClientWidth; }
    uint32_t getClientHeight() const { return mClientHeight; }
    // Null before create and in tests that feed the procedure directly.
    Platform::Window* getWindow() const { return mWindow.get(); }

private:
    void onMouseMove(const Platform::WindowMessage& message);
    void onMouseButton(const Platform::WindowMessage& message, bool left, bool down);
    void onKey(const Platform::WindowMessage& message, bool down);

    // Declared first: the window posts into it until it goes.
    Platform::MessageQueue mQueue;
    std::unique_ptr<Platform::Window> mWindow;
    MessageHook mHook;
    bool mWindowedMode = false;
    uint32_t mClientWidth = 800;
    uint32_t mClientHeight = 600;
    // The desktop that was in use before the window's, put back when it goes.
    std::shared_ptr<Desktop> mPreviousDesktop;
    bool mDesktopInstalled = false;
};
