#include "Framework/AppWindow.h"

#include "Framework/ApplicationGeneric.h"
#include "Framework/ErrorText.h"
#include "Framework/InputEvents.h"
#include "Framework/Keys.h"
#include "Framework/Messages.h"
#include "Framework/WindowDesktop.h"

#include <cstring>

using namespace Platform;

AppWindow::AppWindow() = default;

AppWindow::~AppWindow()
{
    if (mDesktopInstalled)
        setDesktop(std::move(mPreviousDesktop));
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
    if (mWindow != nullptr)
        return 0;
    ApplicationSettings defaults;
    ApplicationGeneric* application = getApplication();
    const ApplicationSettings& settings = application != nullptr ? application->getSettings() : defaults;
    std::string reason;
    mWindow = Window::create(settings.mTitle, static_cast<int>(settings.mClientWidth),
                             static_cast<int>(settings.mClientHeight), mQueue, &reason, !mWindowedMode);
    if (mWindow == nullptr)
    {
        // No display, or SDL cannot use it: say why before the start ends.
        showMessageOverFrame(errorCodeToText(ERROR_FAILED), reason, MessageKind::Error);
        return ERROR_FAILED;
    }
    // The class icon: the program's icon of the settings' id, when it has one.
    if (const Platform::IconImage* icon = Platform::findIcon(settings.mIconResourceId))
        mWindow->setIcon(*icon);
    mWindow->setProcedure(&AppWindow::staticWindowProcedure);
    // The clipboard and the key state are the window's from now on.
    mPreviousDesktop = setDesktop(std::make_shared<WindowDesktop>());
    mDesktopInstalled = true;
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
            onMouseButton(message, true, message.message == WM_LBUTTONDOWN);
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        if (animate)
            onMouseButton(message, false, message.message == WM_RBUTTONDOWN);
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
    // The window gives positions in the settings' frame already, in both
    // modes (it fits the frame into whatever size it has, keeping its
    // shape): scaling them again by the client size would move every click.
    int32_t x = lowWord(static_cast<uint64_t>(message.lParam));
    int32_t y = highWord(static_cast<uint64_t>(message.lParam));
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

void AppWindow::onMouseButton(const WindowMessage& message, bool left, bool down)
{
    ApplicationGeneric* application = getApplication();
    CursorManagerBase* cursor = application->getCursorManager();
    // A press carries where it happened: a pointer that got there without a
    // move of its own is brought there first, so the press is taken there.
    if (cursor != nullptr && (lowWord(static_cast<uint64_t>(message.lParam)) != cursor->mMouseX ||
                              highWord(static_cast<uint64_t>(message.lParam)) != cursor->mMouseY))
        onMouseMove(message);
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
    event.mKeyId =
        message.wParam <= 0xFF ? virtualKeyToKeyId(static_cast<uint32_t>(message.wParam)) : KEY_NONE;
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
