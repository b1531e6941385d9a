#pragma once
// The records the window procedure builds from mouse and keyboard messages and
// hands to the GUI manager. A mouse event reads the cursor position through
// its cursor manager; a key event speaks in key ids and carries what the key
// typed.
#include <cstdint>

class CursorManagerBase;

enum MouseEventType : uint32_t
{
    MOUSE_EVENT_MOVE = 0,
    MOUSE_EVENT_BUTTON_DOWN = 1,
    MOUSE_EVENT_BUTTON_UP = 2,
    MOUSE_EVENT_WHEEL = 3
};

enum MouseButton : uint32_t
{
    MOUSE_BUTTON_LEFT = 0,
    MOUSE_BUTTON_RIGHT = 1
};

struct MouseEvent
{
    CursorManagerBase* mCursor = nullptr;
    uint32_t mType = MOUSE_EVENT_MOVE;
    // Move: the movement since the last position.
    int32_t mDeltaX = 0;
    int32_t mDeltaY = 0;
    // Button events.
    uint32_t mButton = MOUSE_BUTTON_LEFT;
    // Wheel: signed, 120 per notch, positive away from the user.
    int32_t mWheelDelta = 0;
};

enum KeyEventType : uint32_t
{
    KEY_EVENT_PRESSED = 0,
    KEY_EVENT_REPEATED = 1,
    KEY_EVENT_RELEASED = 2
};

struct KeyEvent
{
    uint32_t mKeyId = 0;
    // Up to two Windows-1252 characters and a NUL; empty for a release and
    // for keys that type nothing.
    char mChars[3] = {0, 0, 0};
    uint32_t mType = KEY_EVENT_PRESSED;
    // The window message, its virtual key and its lParam.
    uint32_t mMessage = 0;
    uint32_t mVirtualKey = 0;
    int64_t mLParam = 0;
};
