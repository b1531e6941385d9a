#include "Platform/Window/Window.h"

#include "Platform/System/Text1252.h"
#include "Platform/Window/SdlMessageSink.h"
#include "Platform/Window/VirtualKeys.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <vector>

namespace Platform
{
namespace
{
Window* gMainWindow = nullptr;

std::string sdlError()
{
    const char* text = SDL_GetError();
    return text != nullptr ? text : "";
}
} // namespace

LogicalArea fitLogicalArea(int windowWidth, int windowHeight, int logicalWidth, int logicalHeight)
{
    LogicalArea area;
    if (windowWidth <= 0 || windowHeight <= 0 || logicalWidth <= 0 || logicalHeight <= 0)
        return area;
    // Compare the aspect ratios in 64 bits: which side limits the scale.
    int64_t wideByLogical = int64_t(windowWidth) * logicalHeight;
    int64_t tallByLogical = int64_t(windowHeight) * logicalWidth;
    if (wideByLogical > tallByLogical)
    {
        area.height = windowHeight;
        area.width = static_cast<int>(tallByLogical / logicalHeight);
    }
    else
    {
        area.width = windowWidth;
        area.height = static_cast<int>(wideByLogical / logicalWidth);
    }
    area.x = (windowWidth - area.width) / 2;
    area.y = (windowHeight - area.height) / 2;
    return area;
}

std::unique_ptr<Window> Window::create(const std::string& title, int width, int height, MessageQueue& queue,
                                       std::string* error, bool fullScreen)
{
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
    {
        if (error != nullptr)
            *error = sdlError();
        return nullptr;
    }
    std::string utf8Title = cp1252ToUtf8(title);
    // The desktop keeps its own mode: the frame is scaled into it, so that
    // no resolution change is forced on the screen.
    Uint32 flags = fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : SDL_WINDOW_RESIZABLE;
    SDL_Rect place{SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height};
    // Made at the desktop's place and size from the start: a display without
    // a window manager never enlarges a full-screen window by itself.
    SDL_Rect bounds;
    if (fullScreen && SDL_GetDisplayBounds(0, &bounds) == 0 && bounds.w > 0 && bounds.h > 0)
        place = bounds;
    // Everything is drawn offscreen and only copied into the window, so its
    // buffer needs no depth: a software renderer would keep a window-sized
    // depth buffer in memory for nothing.
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    SDL_Window* window =
        SDL_CreateWindow(utf8Title.c_str(), place.x, place.y, place.w, place.h, flags | SDL_WINDOW_OPENGL);
    bool openGL = window != nullptr;
    // A driver without OpenGL (SDL's headless driver) still gets its window;
    // the OpenGL device then reports that it cannot attach.
    if (window == nullptr)
        window = SDL_CreateWindow(utf8Title.c_str(), place.x, place.y, place.w, place.h, flags);
    if (window == nullptr)
    {
        if (error != nullptr)
            *error = sdlError();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return nullptr;
    }
    SDL_StartTextInput();
    installInteractiveMessageSink();
    setMessageBoxParent(window);
    std::unique_ptr<Window> result(new Window(window, openGL, width, height, queue));
    gMainWindow = result.get();
    return result;
}

Window::Window(SDL_Window* window, bool openGL, int width, int height, MessageQueue& queue)
    : mWindow(window), mOpenGL(openGL), mLogicalWidth(width), mLogicalHeight(height), mClientWidth(width),
      mClientHeight(height), mQueue(queue)
{
    SDL_GetWindowSize(mWindow, &mClientWidth, &mClientHeight);
}

Window::~Window()
{
    if (gMainWindow == this)
        gMainWindow = nullptr;
    setMessageBoxParent(nullptr);
    SDL_DestroyWindow(mWindow);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

Window* Window::main()
{
    return gMainWindow;
}

namespace
{
std::map<uint32_t, IconImage>& iconTable()
{
    static std::map<uint32_t, IconImage> table;
    return table;
}
std::mutex& iconTableLock()
{
    static std::mutex lock;
    return lock;
}
} // namespace

void registerIcon(uint32_t id, IconImage icon)
{
    std::lock_guard<std::mutex> guard(iconTableLock());
    iconTable()[id] = std::move(icon);
}

const IconImage* findIcon(uint32_t id)
{
    std::lock_guard<std::mutex> guard(iconTableLock());
    auto found = iconTable().find(id);
    return found != iconTable().end() ? &found->second : nullptr;
}

bool Window::setIcon(const IconImage& icon)
{
    if (icon.width <= 0 || icon.height <= 0 || icon.width > 1024 || icon.height > 1024 ||
        icon.rgba.size() != static_cast<size_t>(icon.width) * static_cast<size_t>(icon.height) * 4)
        return false;
    // SDL copies the pixels into the window's own property.
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint8_t*>(icon.rgba.data()), icon.width, icon.height,
                                           32, icon.width * 4, SDL_PIXELFORMAT_RGBA32);
    if (surface == nullptr)
        return false;
    SDL_SetWindowIcon(mWindow, surface);
    SDL_FreeSurface(surface);
    return true;
}

bool Window::isFullScreen() const
{
    return (SDL_GetWindowFlags(mWindow) & SDL_WINDOW_FULLSCREEN_DESKTOP) == SDL_WINDOW_FULLSCREEN_DESKTOP;
}

bool Window::isMinimised() const
{
    return mMinimised;
}

void Window::pumpEvents()
{
    SDL_PumpEvents();
    std::vector<SDL_Event> events;
    SDL_Event batch[64];
    for (;;)
    {
        int count = SDL_PeepEvents(batch, 64, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT);
        if (count <= 0)
            break;
        events.insert(events.end(), batch, batch + count);
    }
    mCloseInBatch = false;
    for (size_t i = 0; i < events.size(); ++i)
    {
        bool nextConsumed = false;
        translate(events[i], i + 1 < events.size() ? &events[i + 1] : nullptr, nextConsumed);
        if (nextConsumed)
            ++i;
    }
}

bool Window::peekMessage(WindowMessage& out)
{
    pumpEvents();
    return mQueue.take(out);
}

LParam Window::dispatchMessage(const WindowMessage& message)
{
    if (mProcedure)
        return mProcedure(message);
    return defaultProcedure(message);
}

LParam Window::defaultProcedure(const WindowMessage& message)
{
    if (message.message == WM_CLOSE)
        destroy();
    return 0;
}

void Window::destroy()
{
    if (!mAlive)
        return;
    mAlive = false;
    SDL_HideWindow(mWindow);
    setMessageBoxParent(nullptr);
    WindowMessage destroyMessage;
    destroyMessage.message = WM_DESTROY;
    dispatchMessage(destroyMessage);
}

void Window::restoreAndRaise()
{
    if (!mAlive)
        return;
    if ((SDL_GetWindowFlags(mWindow) & SDL_WINDOW_MINIMIZED) != 0)
        SDL_RestoreWindow(mWindow);
    SDL_RaiseWindow(mWindow);
}

void Window::toLogical(int windowX, int windowY)
{
    LogicalArea area = fitLogicalArea(mClientWidth, mClientHeight, mLogicalWidth, mLogicalHeight);
    // Nothing is shown while minimised: keep the last position.
    if (area.width <= 0 || area.height <= 0)
        return;
    int x = static_cast<int>(int64_t(windowX - area.x) * mLogicalWidth / area.width);
    int y = static_cast<int>(int64_t(windowY - area.y) * mLogicalHeight / area.height);
    mMouseX = std::clamp(x, 0, mLogicalWidth - 1);
    mMouseY = std::clamp(y, 0, mLogicalHeight - 1);
}

WParam Window::mouseButtonFlags() const
{
    return (mLeftDown ? MK_LBUTTON : 0) | (mRightDown ? MK_RBUTTON : 0);
}

void Window::keyPressed(int scancode, uint8_t virtualKey)
{
    if (scancode < 0 || scancode >= static_cast<int>(mScancodesDown.size()) || mScancodesDown.test(scancode))
        return;
    mScancodesDown.set(scancode);
    if (virtualKey != 0 && mKeyCounts[virtualKey] < 255)
        ++mKeyCounts[virtualKey];
    if (virtualKey != 0)
        mKeyStates[virtualKey] |= 0x80;
}

void Window::keyReleased(int scancode, uint8_t virtualKey)
{
    if (scancode < 0 || scancode >= static_cast<int>(mScancodesDown.size()) || !mScancodesDown.test(scancode))
        return;
    mScancodesDown.reset(scancode);
    if (virtualKey != 0 && mKeyCounts[virtualKey] > 0 && --mKeyCounts[virtualKey] == 0)
        mKeyStates[virtualKey] &= static_cast<uint8_t>(~0x80);
}

void Window::postClose()
{
    // Closing the last window also makes SDL ask the program to quit: one
    // close request is enough.
    if (mCloseInBatch)
        return;
    mCloseInBatch = true;
    mQueue.post(WM_CLOSE);
}

void Window::translate(const SDL_Event& event, const SDL_Event* next, bool& nextConsumed)
{
    if (!mAlive)
        return;
    switch (event.type)
    {
    case SDL_QUIT:
        postClose();
        break;
    case SDL_WINDOWEVENT:
        switch (event.window.event)
        {
        case SDL_WINDOWEVENT_CLOSE:
            postClose();
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            mQueue.post(WM_ACTIVATE, WA_ACTIVE);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            mQueue.post(WM_ACTIVATE, WA_INACTIVE);
            break;
        case SDL_WINDOWEVENT_MINIMIZED:
            mMinimised = true;
            mClientWidth = 0;
            mClientHeight = 0;
            mQueue.post(WM_SIZE, SIZE_MINIMIZED, makeLParam(0, 0));
            break;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED:
            mMinimised = false;
            SDL_GetWindowSize(mWindow, &mClientWidth, &mClientHeight);
            mQueue.post(WM_SIZE,
                        event.window.event == SDL_WINDOWEVENT_MAXIMIZED ? SIZE_MAXIMIZED : SIZE_RESTORED,
                        makeLParam(mClientWidth, mClientHeight));
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            mMinimised = false;
            mClientWidth = std::max(0, event.window.data1);
            mClientHeight = std::max(0, event.window.data2);
            mQueue.post(WM_SIZE, SIZE_RESTORED, makeLParam(mClientWidth, mClientHeight));
            break;
        default:
            break;
        }
        break;
    case SDL_MOUSEMOTION:
        toLogical(event.motion.x, event.motion.y);
        mQueue.post(WM_MOUSEMOVE, mouseButtonFlags(), makeLParam(mMouseX, mMouseY));
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    {
        bool down = event.type == SDL_MOUSEBUTTONDOWN;
        toLogical(event.button.x, event.button.y);
        uint32_t message;
        if (event.button.button == SDL_BUTTON_LEFT)
        {
            mLeftDown = down;
            message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
        }
        else if (event.button.button == SDL_BUTTON_RIGHT)
        {
            mRightDown = down;
            message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
        }
        else
            break;
        mQueue.post(message, mouseButtonFlags(), makeLParam(mMouseX, mMouseY));
        break;
    }
    case SDL_MOUSEWHEEL:
    {
        int notches = event.wheel.y;
        if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED)
            notches = -notches;
        if (notches == 0)
            break;
        int delta = std::clamp(notches * WHEEL_DELTA, -32768, 32767);
        WParam wParam = (WParam(static_cast<uint16_t>(delta)) << 16) | mouseButtonFlags();
        mQueue.post(WM_MOUSEWHEEL, wParam, makeLParam(mMouseX, mMouseY));
        break;
    }
    case SDL_KEYDOWN:
    {
        int scancode = event.key.keysym.scancode;
        uint8_t virtualKey = virtualKeyFromSdl(scancode, event.key.keysym.sym);
        bool repeat =
            event.key.repeat != 0 || (scancode >= 0 && scancode < static_cast<int>(mScancodesDown.size()) &&
                                      mScancodesDown.test(scancode));
        keyPressed(scancode, virtualKey);
        WindowMessage message;
        message.message = WM_KEYDOWN;
        message.wParam = virtualKey;
        message.lParam = 1 | (LParam(scancode & 0xFF) << 16) | (repeat ? KEY_PREVIOUSLY_DOWN : 0);
        // SDL reports what a key typed as a separate event right behind it.
        if (next != nullptr && next->type == SDL_TEXTINPUT)
        {
            std::string typed = utf8ToCp1252(next->text.text);
            std::memcpy(message.text, typed.data(), std::min<size_t>(typed.size(), 2));
            nextConsumed = true;
        }
        if (virtualKey != 0 || message.text[0] != 0)
            mQueue.post(message);
        break;
    }
    case SDL_KEYUP:
    {
        int scancode = event.key.keysym.scancode;
        uint8_t virtualKey = virtualKeyFromSdl(scancode, event.key.keysym.sym);
        keyReleased(scancode, virtualKey);
        if (virtualKey != 0)
            mQueue.post(WM_KEYUP, virtualKey,
                        1 | (LParam(scancode & 0xFF) << 16) | KEY_PREVIOUSLY_DOWN | KEY_TRANSITION_UP);
        break;
    }
    case SDL_TEXTINPUT:
    {
        // Text that no key press carries (an input method, a compose
        // sequence) arrives as a key press of no key.
        std::string typed = utf8ToCp1252(event.text.text);
        if (typed.empty())
            break;
        WindowMessage message;
        message.message = WM_KEYDOWN;
        std::memcpy(message.text, typed.data(), std::min<size_t>(typed.size(), 2));
        mQueue.post(message);
        break;
    }
    default:
        break;
    }
}

void showSystemCursor(bool show)
{
    SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

int setClipboardText(const std::string& text)
{
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0)
        return 1;
    return SDL_SetClipboardText(cp1252ToUtf8(text).c_str()) == 0 ? 0 : 1;
}

int getClipboardText(std::string& text)
{
    text.clear();
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0)
        return 1;
    char* utf8 = SDL_GetClipboardText();
    if (utf8 == nullptr)
        return 1;
    text = utf8ToCp1252(utf8);
    SDL_free(utf8);
    return 0;
}

} // namespace Platform
