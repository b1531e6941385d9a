#pragma once
// The program's single top-level window on SDL2. It turns SDL's events into
// the message records the game's window procedure handles (mouse positions in
// the logical 1024 by 768 space whatever the window's real size, wheel notches
// of 120, virtual keys with the characters they typed, activation, size,
// close), hands them out through a message queue and dispatches them to the
// procedure the game installs. The OpenGL device attaches its own context to
// the SDL window this object exposes.
#include "Platform/Window/WindowMessage.h"

#include <array>
#include <bitset>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct SDL_Window;
union SDL_Event;

namespace Platform
{

// Where a logical frame of logicalWidth by logicalHeight lands in a window of
// the given size: scaled uniformly and centred, as the frame is presented.
struct LogicalArea
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};
LogicalArea fitLogicalArea(int windowWidth, int windowHeight, int logicalWidth, int logicalHeight);

// A picture of the program's own, 32-bit R, G, B, A bytes row by row: what a
// Windows program keeps among its resources under an icon id.
struct IconImage
{
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;
};
// The program's icons by resource id; a later registration of an id replaces
// the earlier one. Null for an id nobody registered.
void registerIcon(uint32_t id, IconImage icon);
const IconImage* findIcon(uint32_t id);

class Window
{
public:
    using Procedure = std::function<LParam(const WindowMessage&)>;

    // Opens a window whose client area is width by height, which is also the
    // logical size mouse positions are given in; full screen, it covers the
    // desktop instead and the logical frame is fitted into it. Null, with
    // SDL's reason in error, when no window can be made. The queue must
    // outlive the window.
    static std::unique_ptr<Window> create(const std::string& title, int width, int height,
                                          MessageQueue& queue, std::string* error = nullptr,
                                          bool fullScreen = false);
    bool isFullScreen() const;
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // The most recently created window that still exists, or null.
    static Window* main();

    SDL_Window* sdlWindow() const { return mWindow; }
    bool hasOpenGL() const { return mOpenGL; }
    // False once destroyed (WM_DESTROY has been sent).
    bool isAlive() const { return mAlive; }
    bool isMinimised() const;
    int logicalWidth() const { return mLogicalWidth; }
    int logicalHeight() const { return mLogicalHeight; }
    // The real client size in window coordinates; 0 by 0 while minimised.
    int clientWidth() const { return mClientWidth; }
    int clientHeight() const { return mClientHeight; }

    void setProcedure(Procedure procedure) { mProcedure = std::move(procedure); }
    MessageQueue& queue() { return mQueue; }

    // Translates every event SDL holds into the queue.
    void pumpEvents();
    // Pumps, then removes the next message of the queue; false when none.
    bool peekMessage(WindowMessage& out);
    // Hands a message to the procedure, or to the default handling when there
    // is none.
    LParam dispatchMessage(const WindowMessage& message);
    // What a message means when the procedure does nothing with it: a close
    // request destroys the window.
    LParam defaultProcedure(const WindowMessage& message);
    // Sends WM_DESTROY to the procedure and hides the window for good. The SDL
    // window itself lives until this object goes, so that an OpenGL context
    // attached to it can still be released.
    void destroy();

    // Brings the window back from the task bar and to the front.
    void restoreAndRaise();
    // The picture the desktop shows for the window (title bar, task bar);
    // false when the picture is malformed or SDL refuses it.
    bool setIcon(const IconImage& icon);

    // Keys as the program has seen them through this window's messages: the
    // high bit (0x80) of a virtual key's entry is set while one of its keys is
    // down, like the system's keyboard state.
    const std::array<uint8_t, 256>& keyStates() const { return mKeyStates; }
    bool isKeyDown(uint8_t virtualKey) const { return (mKeyStates[virtualKey] & 0x80) != 0; }

    // The last mouse position in logical coordinates.
    int mouseX() const { return mMouseX; }
    int mouseY() const { return mMouseY; }

private:
    Window(SDL_Window* window, bool openGL, int width, int height, MessageQueue& queue);
    void translate(const SDL_Event& event, const SDL_Event* next, bool& nextConsumed);
    void toLogical(int windowX, int windowY);
    WParam mouseButtonFlags() const;
    void postClose();
    void keyPressed(int scancode, uint8_t virtualKey);
    void keyReleased(int scancode, uint8_t virtualKey);

    SDL_Window* mWindow = nullptr;
    bool mOpenGL = false;
    bool mAlive = true;
    int mLogicalWidth;
    int mLogicalHeight;
    int mClientWidth;
    int mClientHeight;
    bool mMinimised = false;
    MessageQueue& mQueue;
    Procedure mProcedure;
    int mMouseX = 0;
    int mMouseY = 0;
    bool mLeftDown = false;
    bool mRightDown = false;
    std::array<uint8_t, 256> mKeyStates{};
    // How many keys of each virtual key are down (both shift keys share one).
    std::array<uint8_t, 256> mKeyCounts{};
    std::bitset<512> mScancodesDown;
    bool mCloseInBatch = false;
};

// Shows or hides the system's mouse cursor over the window.
void showSystemCursor(bool show);

// The clipboard as Windows-1252 text. Each returns 1 when the clipboard cannot
// be reached (no video subsystem), else 0; an empty clipboard reads as "".
int setClipboardText(const std::string& text);
int getClipboardText(std::string& text);

} // namespace Platform
