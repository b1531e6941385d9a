#pragma once
// The records of the main window's message queue, shaped like the messages the
// game's window procedure was written for: a message number, a word parameter
// and a long parameter packed the same way, plus the characters a key press
// typed (which the procedure would otherwise ask the keyboard layout for).
#include <cstdint>
#include <deque>

namespace Platform
{

using WParam = uint64_t;
using LParam = int64_t;

// Message numbers.
constexpr uint32_t WM_NULL = 0x0000;
constexpr uint32_t WM_DESTROY = 0x0002;
constexpr uint32_t WM_SIZE = 0x0005;
constexpr uint32_t WM_ACTIVATE = 0x0006;
constexpr uint32_t WM_CLOSE = 0x0010;
constexpr uint32_t WM_QUIT = 0x0012;
constexpr uint32_t WM_KEYDOWN = 0x0100;
constexpr uint32_t WM_KEYUP = 0x0101;
constexpr uint32_t WM_MOUSEMOVE = 0x0200;
constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr uint32_t WM_LBUTTONUP = 0x0202;
constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
constexpr uint32_t WM_RBUTTONUP = 0x0205;
constexpr uint32_t WM_MOUSEWHEEL = 0x020A;

// WM_ACTIVATE states (low word of wParam).
constexpr uint32_t WA_INACTIVE = 0;
constexpr uint32_t WA_ACTIVE = 1;
constexpr uint32_t WA_CLICKACTIVE = 2;

// WM_SIZE kinds (wParam).
constexpr uint32_t SIZE_RESTORED = 0;
constexpr uint32_t SIZE_MINIMIZED = 1;
constexpr uint32_t SIZE_MAXIMIZED = 2;

// Mouse button flags in the wParam of mouse messages.
constexpr uint32_t MK_LBUTTON = 0x0001;
constexpr uint32_t MK_RBUTTON = 0x0002;

// One notch of a mouse wheel.
constexpr int WHEEL_DELTA = 120;

// Bit 30 of a key message's lParam: the key was already down (auto-repeat).
constexpr LParam KEY_PREVIOUSLY_DOWN = LParam(1) << 30;
// Bit 31: the key is being released.
constexpr LParam KEY_TRANSITION_UP = LParam(1) << 31;

constexpr LParam makeLParam(int low, int high)
{
    return static_cast<LParam>((static_cast<uint32_t>(static_cast<uint16_t>(high)) << 16) |
                               static_cast<uint16_t>(low));
}
constexpr int16_t lowWord(uint64_t value)
{
    return static_cast<int16_t>(value & 0xFFFF);
}
constexpr int16_t highWord(uint64_t value)
{
    return static_cast<int16_t>((value >> 16) & 0xFFFF);
}

struct WindowMessage
{
    uint32_t message = WM_NULL;
    WParam wParam = 0;
    LParam lParam = 0;
    // WM_KEYDOWN only: up to two Windows-1252 characters typed by the key,
    // NUL-terminated (empty for keys that type nothing, such as dead keys).
    char text[3] = {0, 0, 0};
};

// The program's message queue. Posted messages come out in order; a quit
// request comes out once, after everything posted before it has been taken.
class MessageQueue
{
public:
    void post(const WindowMessage& message) { mMessages.push_back(message); }
    void post(uint32_t message, WParam wParam = 0, LParam lParam = 0);
    void postQuit(int exitCode);
    // Removes the next message; false when there is none.
    bool take(WindowMessage& out);
    bool empty() const { return mMessages.empty() && !mQuitPosted; }
    void clear();

private:
    std::deque<WindowMessage> mMessages;
    bool mQuitPosted = false;
    int mExitCode = 0;
};

} // namespace Platform
