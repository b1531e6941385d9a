#pragma once
// Virtual-key codes: the numbering of keys that the game's key tables, key
// bindings and input events use, and their translation from SDL keys.
#include <cstdint>

namespace Platform
{

constexpr uint8_t VK_BACK = 0x08;
constexpr uint8_t VK_TAB = 0x09;
constexpr uint8_t VK_RETURN = 0x0D;
constexpr uint8_t VK_SHIFT = 0x10;
constexpr uint8_t VK_CONTROL = 0x11;
constexpr uint8_t VK_MENU = 0x12;
constexpr uint8_t VK_PAUSE = 0x13;
constexpr uint8_t VK_CAPITAL = 0x14;
constexpr uint8_t VK_ESCAPE = 0x1B;
constexpr uint8_t VK_SPACE = 0x20;
constexpr uint8_t VK_PRIOR = 0x21;
constexpr uint8_t VK_NEXT = 0x22;
constexpr uint8_t VK_END = 0x23;
constexpr uint8_t VK_HOME = 0x24;
constexpr uint8_t VK_LEFT = 0x25;
constexpr uint8_t VK_UP = 0x26;
constexpr uint8_t VK_RIGHT = 0x27;
constexpr uint8_t VK_DOWN = 0x28;
constexpr uint8_t VK_SNAPSHOT = 0x2C;
constexpr uint8_t VK_INSERT = 0x2D;
constexpr uint8_t VK_DELETE = 0x2E;
constexpr uint8_t VK_0 = 0x30; // '0'..'9' follow
constexpr uint8_t VK_A = 0x41; // 'A'..'Z' follow
constexpr uint8_t VK_LWIN = 0x5B;
constexpr uint8_t VK_RWIN = 0x5C;
constexpr uint8_t VK_NUMPAD0 = 0x60; // pad 0..9 follow
constexpr uint8_t VK_MULTIPLY = 0x6A;
constexpr uint8_t VK_ADD = 0x6B;
constexpr uint8_t VK_SEPARATOR = 0x6C;
constexpr uint8_t VK_SUBTRACT = 0x6D;
constexpr uint8_t VK_DECIMAL = 0x6E;
constexpr uint8_t VK_DIVIDE = 0x6F;
constexpr uint8_t VK_F1 = 0x70; // F1..F12 follow
constexpr uint8_t VK_NUMLOCK = 0x90;
constexpr uint8_t VK_SCROLL = 0x91;
constexpr uint8_t VK_OEM_1 = 0xBA;
constexpr uint8_t VK_OEM_PLUS = 0xBB;
constexpr uint8_t VK_OEM_COMMA = 0xBC;
constexpr uint8_t VK_OEM_MINUS = 0xBD;
constexpr uint8_t VK_OEM_PERIOD = 0xBE;
constexpr uint8_t VK_OEM_2 = 0xBF;
constexpr uint8_t VK_OEM_3 = 0xC0;
constexpr uint8_t VK_OEM_4 = 0xDB;
constexpr uint8_t VK_OEM_5 = 0xDC;
constexpr uint8_t VK_OEM_6 = 0xDD;
constexpr uint8_t VK_OEM_7 = 0xDE;
constexpr uint8_t VK_OEM_102 = 0xE2;

// The virtual key of an SDL key (scancode and keycode as SDL reports them),
// 0 when the game has no use for it. Letters follow the keyboard layout (the
// keycode), digits of the main row follow the key's position (the scancode),
// so that the digit row of a French keyboard still gives the digits.
uint8_t virtualKeyFromSdl(int scancode, int keycode);

} // namespace Platform
