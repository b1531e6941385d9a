#pragma once
// The keys the program knows: 94 key ids, each with a Windows virtual-key code
// (what the window's key messages carry) and a display name (language texts
// 65 to 158). Input events, key-binding options and dialog shortcuts all speak
// in key ids.
#include <array>
#include <cstdint>
#include <functional>
#include <string>

enum KeyId : uint32_t
{
    KEY_NONE = 0,
    KEY_SPACE = 1,
    KEY_NUMPAD_0 = 2,  // to KEY_NUMPAD_0 + 9
    KEY_NUMBER_0 = 12, // to KEY_NUMBER_0 + 9
    KEY_A = 22,        // to KEY_A + 25 (Z)
    KEY_C = KEY_A + 2,
    KEY_V = KEY_A + 21,
    KEY_X = KEY_A + 23,
    KEY_Z = KEY_A + 25,
    KEY_LEFT = 48,
    KEY_RIGHT = 49,
    KEY_UP = 50,
    KEY_DOWN = 51,
    KEY_DELETE = 52,
    KEY_BACKSPACE = 53,
    KEY_NUMPAD_ENTER = 54,
    KEY_HOME = 55,
    KEY_END = 56,
    KEY_TAB = 57,
    KEY_ENTER = 58,
    KEY_PAGEUP = 59,
    KEY_PAGEDOWN = 60,
    KEY_PLUS = 61,
    KEY_MINUS = 62,
    KEY_LCTRL = 63,
    KEY_RCTRL = 64,
    KEY_LALT = 65,
    KEY_RALT = 66,
    KEY_LSHIFT = 67,
    KEY_RSHIFT = 68,
    KEY_ESCAPE = 69,
    KEY_F1 = 70, // to KEY_F1 + 11 (F12)
    KEY_SCROLL_LOCK = 82,
    KEY_LWINDOWS = 83,
    KEY_RWINDOWS = 84,
    KEY_PAUSE = 85,
    KEY_PRINTSCREEN = 86,
    KEY_INSERT = 87,
    KEY_NUMLOCK = 88,
    KEY_DIVIDE = 89,
    KEY_MULTIPLY = 90,
    KEY_NUMPAD_DOT = 91,
    KEY_SEPARATOR = 92,
    KEY_CAPSLOCK = 93,
    KEY_COUNT = 94
};

// Language text id of key id 0's name; key id k is named by text 65 + k.
constexpr uint32_t KEY_NAME_FIRST_TEXT_ID = 65;

// The virtual-key code of a key id (0 for none and for ids out of range).
uint8_t keyIdToVirtualKey(uint32_t keyId);
// The key id of a virtual-key code. Where ids share a code the highest id
// wins (0x0D is enter, not the pad's enter); unknown codes give 0.
uint32_t virtualKeyToKeyId(uint32_t virtualKey);

// Whether the key is held down now.
bool isKeyDown(uint32_t keyId);
// One flag per key id from one read of the whole keyboard.
void readKeyStates(std::array<bool, KEY_COUNT>& down);

// Where the display names come from: the language table, once the
// application has one. The source writes the text of a language id and
// returns false while no table is loaded.
using KeyNameSource = std::function<bool(uint32_t textId, std::string& text)>;
void setKeyNameSource(KeyNameSource source);

// Takes the 94 names from the source; every name is empty when there is no
// source or no table is loaded. The input manager calls it at start-up.
void buildKeyNames();
void getKeyName(uint32_t keyId, std::string& name);
// The name's character when the name is exactly one character long (letters
// and digits), else 0.
char getKeyChar(uint32_t keyId);
