#include "Framework/AppWindow.h"

#include "Framework/ApplicationGeneric.h"
#include "Framework/InputEvents.h"

#include <array>
#include <cstring>

using namespace Platform;

namespace
{
// Virtual-key code of each key id; where ids share a code the highest id
// wins in the reverse direction.
constexpr std::array<uint8_t, 94> kKeyIdVirtualKeys = {
    0x00, 0x20, 0x60, 0x61, 0x62, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x30, 0x31, 0x32, 0x33,
    0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4A,
    0x4B, 0x4C, 0x4D, 0x4E, 0x4F, 0x50, 0x51, 0x52, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5A,
    0x25, 0x27, 0x26, 0x28, 0x2E, 0x08, 0x0D, 0x24, 0x23, 0x09, 0x0D, 0x21, 0x22, 0x6B, 0x6D, 0x11,
    0x11, 0x12, 0x12, 0x10, 0x10, 0x1B, 0x70, 0x71, 0x72, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79,
    0x7A, 0x7B, 0x91, 0x5B, 0x5C, 0x13, 0x2C, 0x2D, 0x90, 0x6F, 0x6A, 0x00, 0x6C, 0x14};

uint32_t keyIdOfVirtualKey(uint64_t virtualKey)
{
    if (virtualKey == 0 || virtualKey > 0xFF)
        return 0;
    for (size_t id = kKeyIdVirtualKeys.size(); id-- > 1;)
        if (kKeyIdVirtualKeys[id] == virtualKey)
            return static_cast<uint32_t>(id);
    return 0;
}
} // namespace

AppWindow::AppWindow() = default;

AppWindow::~AppWindow()
{
    ApplicationGeneric* application = getApplication();
    if (application != nullptr && mWindow != nullptr)
    {
        void** slot = application->getSettings().mExistingWindow;
        if (slot != nullptr && *slot == mWindow.get())
            *slot = nullptr;
    }
}

ErrorCode AppWindow::create()
{
    ApplicationSettings defaults;
    ApplicationGeneric* application = getApplication();
    const ApplicationSettings& settings = application != nullptr ? application->getSettings() : defaults;
    std::string reason;
    mWindow = Window::create(settings.mTitle, static_cast<int>(settings.mClientWidth),
                             static_cast<int>(settings.mClientHeight), mQueue, &reason);
    if (mWindow == nullptr)
        return ERROR_FAILED;
    mWindow->setProcedure(&AppWindow::staticWindowProcedure);
    mClientWidth = static_cast<uint32_t>(mWindow->logicalWidth());
    mClientHeight = static_cast<uint32_t>(mWindow->logicalHeight());
    if (settings.mExistingWindow != nullptr)
        *settings.mExistingWindow = mWindow.get();
    return 0;
}

LParam AppWindow::staticWindowProcedure(const WindowMessage& message)
{
    ApplicationGeneric* application = getApplication();
    AppWindow* service = application != nullptr ? application->getAppWindow() : nullptr;
    if (service != nullptr)
        return service->windowProcedure(message);
    Window* window = Window::main();
    return window != nullptr ? window->defaultProcedure(message) : 0;
}

LParam AppWindow::defaultProcedure(const WindowMessage& message)
{
    if (message.message != WM_CLOSE)
        return 0;
    if (mWindow != nullptr)
        mWindow->destroy();
    else
    {
        WindowMessage destroy;
        destroy.message = WM_DESTROY;
        windowProcedure(destroy);
    }
    return 0;
}

bool AppWindow::peekMessage(WindowMessage& message)
{
    if (mWindow != nullptr)
        return mWindow->peekMessage(message);
    return mQueue.take(message);
}

LParam AppWindow::dispatchMessage(const WindowMessage& message)
{
    if (mWindow != nullptr)
        return mWindow->dispatchMessage(message);
    return windowProcedure(message);
}

LParam AppWindow::windowProcedure(const WindowMessage& message)
{
    if (mHook)
        return mHook(message);

    ApplicationGeneric* application = getApplication();
    GuiManagerBase* gui = application != nullptr ? application->getGuiManager() : nullptr;
    if (gui != nullptr)
        gui->broadcastWindowMessage(message.message, message.wParam, message.lParam);

    bool animate = application != nullptr && application->isAnimateEnabled();
    switch (message.message)
    {
    case WM_DESTROY:
        // The application is not deleted from inside its own procedure: the
        // loop ends on the quit message and the entry point deletes it.
        mQueue.postQuit(0);
        return 0;
    case WM_SIZE:
        mClientWidth = static_cast<uint16_t>(message.lParam & 0xFFFF);
        mClientHeight = static_cast<uint16_t>((message.lParam >> 16) & 0xFFFF);
        break;
    case WM_ACTIVATE:
        // Activation while the window is being made, before run, is ignored.
        if (application != nullptr && !application->isNotYetRunning())
        {
            std::lock_guard lock(application->getLock());
            uint32_t state = static_cast<uint16_t>(message.wParam & 0xFFFF);
            if (state == WA_ACTIVE || state == WA_CLICKACTIVE)
            {
                CursorManagerBase* cursor = application->getCursorManager();
                if (application->isAnimateEnabled() && cursor != nullptr)
                    cursor->update();
                application->onActivate();
            }
            else if (state == WA_INACTIVE)
                application->onDeactivate();
        }
        break;
    case WM_MOUSEMOVE:
        if (animate)
            onMouseMove(message);
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        if (animate)
            onMouseButton(true, message.message == WM_LBUTTONDOWN);
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        if (animate)
            onMouseButton(false, message.message == WM_RBUTTONDOWN);
        break;
    case WM_MOUSEWHEEL:
        if (animate && gui != nullptr)
        {
            MouseEvent event;
            event.mCursor = application->getCursorManager();
            event.mType = MOUSE_EVENT_WHEEL;
            event.mWheelDelta = highWord(message.wParam);
            gui->dispatchMouseEvent(event);
        }
        break;
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (animate)
            onKey(message, message.message == WM_KEYDOWN);
        break;
    default:
        break;
    }
    return defaultProcedure(message);
}

void AppWindow::onMouseMove(const WindowMessage& message)
{
    ApplicationGeneric* application = getApplication();
    CursorManagerBase* cursor = application->getCursorManager();
    int32_t x = lowWord(static_cast<uint64_t>(message.lParam));
    int32_t y = highWord(static_cast<uint64_t>(message.lParam));
    if (mWindowedMode)
    {
        // A minimised window has no client area to scale from.
        if (mClientWidth == 0 || mClientHeight == 0)
            return;
        const ApplicationSettings& settings = application->getSettings();
        x = static_cast<int32_t>(int64_t(x) * settings.mClientWidth / mClientWidth);
        y = static_cast<int32_t>(int64_t(y) * settings.mClientHeight / mClientHeight);
    }
    MouseEvent event;
    event.mCursor = cursor;
    event.mType = MOUSE_EVENT_MOVE;
    if (cursor != nullptr)
    {
        event.mDeltaX = x - cursor->mMouseX;
        event.mDeltaY = y - cursor->mMouseY;
        cursor->mMouseX = x;
        cursor->mMouseY = y;
        cursor->placeSprites();
    }
    if (GuiManagerBase* gui = application->getGuiManager())
        gui->dispatchMouseEvent(event);
}

void AppWindow::onMouseButton(bool left, bool down)
{
    ApplicationGeneric* application = getApplication();
    CursorManagerBase* cursor = application->getCursorManager();
    if (cursor != nullptr)
        (left ? cursor->mLeftButton : cursor->mRightButton) = down;
    MouseEvent event;
    event.mCursor = cursor;
    event.mType = down ? MOUSE_EVENT_BUTTON_DOWN : MOUSE_EVENT_BUTTON_UP;
    event.mButton = left ? MOUSE_BUTTON_LEFT : MOUSE_BUTTON_RIGHT;
    if (GuiManagerBase* gui = application->getGuiManager())
        gui->dispatchMouseEvent(event);
}

void AppWindow::onKey(const WindowMessage& message, bool down)
{
    KeyEvent event;
    event.mKeyId = keyIdOfVirtualKey(message.wParam);
    event.mMessage = message.message;
    event.mVirtualKey = static_cast<uint32_t>(message.wParam);
    event.mLParam = message.lParam;
    if (down)
    {
        std::memcpy(event.mChars, message.text, 2);
        event.mChars[2] = '\0';
        event.mType = (message.lParam & KEY_PREVIOUSLY_DOWN) != 0 ? KEY_EVENT_REPEATED : KEY_EVENT_PRESSED;
    }
    else
        event.mType = KEY_EVENT_RELEASED;
    if (GuiManagerBase* gui = getApplication()->getGuiManager())
        gui->dispatchKeyEvent(event);
}
