#include "Framework/Keys.h"

#include "Framework/Desktop.h"

#include <mutex>

namespace
{
constexpr std::array<uint8_t, KEY_COUNT> makeVirtualKeys()
{
    std::array<uint8_t, KEY_COUNT> vk{};
    vk[KEY_SPACE] = 0x20;
    for (int i = 0; i < 10; ++i)
    {
        vk[KEY_NUMPAD_0 + i] = static_cast<uint8_t>(0x60 + i);
        vk[KEY_NUMBER_0 + i] = static_cast<uint8_t>(0x30 + i);
    }
    for (int i = 0; i < 26; ++i)
        vk[KEY_A + i] = static_cast<uint8_t>(0x41 + i);
    vk[KEY_LEFT] = 0x25;
    vk[KEY_RIGHT] = 0x27;
    vk[KEY_UP] = 0x26;
    vk[KEY_DOWN] = 0x28;
    vk[KEY_DELETE] = 0x2E;
    vk[KEY_BACKSPACE] = 0x08;
    vk[KEY_NUMPAD_ENTER] = 0x0D;
    vk[KEY_HOME] = 0x24;
    vk[KEY_END] = 0x23;
    vk[KEY_TAB] = 0x09;
    vk[KEY_ENTER] = 0x0D;
    vk[KEY_PAGEUP] = 0x21;
    vk[KEY_PAGEDOWN] = 0x22;
    vk[KEY_PLUS] = 0x6B;
    vk[KEY_MINUS] = 0x6D;
    vk[KEY_LCTRL] = 0x11;
    vk[KEY_RCTRL] = 0x11;
    vk[KEY_LALT] = 0x12;
    vk[KEY_RALT] = 0x12;
    vk[KEY_LSHIFT] = 0x10;
    vk[KEY_RSHIFT] = 0x10;
    vk[KEY_ESCAPE] = 0x1B;
    for (int i = 0; i < 12; ++i)
        vk[KEY_F1 + i] = static_cast<uint8_t>(0x70 + i);
    vk[KEY_SCROLL_LOCK] = 0x91;
    vk[KEY_LWINDOWS] = 0x5B;
    vk[KEY_RWINDOWS] = 0x5C;
    vk[KEY_PAUSE] = 0x13;
    vk[KEY_PRINTSCREEN] = 0x2C;
    vk[KEY_INSERT] = 0x2D;
    vk[KEY_NUMLOCK] = 0x90;
    vk[KEY_DIVIDE] = 0x6F;
    vk[KEY_MULTIPLY] = 0x6A;
    vk[KEY_NUMPAD_DOT] = 0; // no virtual key of its own
    vk[KEY_SEPARATOR] = 0x6C;
    vk[KEY_CAPSLOCK] = 0x14;
    return vk;
}

constexpr std::array<uint8_t, KEY_COUNT> kVirtualKeys = makeVirtualKeys();

// Filled in id order, so the highest id sharing a code wins.
constexpr std::array<uint8_t, 256> makeKeyIds()
{
    std::array<uint8_t, 256> ids{};
    for (uint32_t id = 0; id < KEY_COUNT; ++id)
        ids[kVirtualKeys[id]] = static_cast<uint8_t>(id);
    ids[0] = KEY_NONE;
    return ids;
}

constexpr std::array<uint8_t, 256> kKeyIds = makeKeyIds();

std::mutex gNamesMutex;
KeyNameSource gNameSource;
std::array<std::string, KEY_COUNT> gNames;
} // namespace

uint8_t keyIdToVirtualKey(uint32_t keyId)
{
    return keyId < KEY_COUNT ? kVirtualKeys[keyId] : 0;
}

uint32_t virtualKeyToKeyId(uint32_t virtualKey)
{
    return virtualKey < kKeyIds.size() ? uint32_t{kKeyIds[virtualKey]} : uint32_t{KEY_NONE};
}

bool isKeyDown(uint32_t keyId)
{
    uint8_t vk = keyIdToVirtualKey(keyId);
    return vk != 0 && desktop().isVirtualKeyDown(vk);
}

void readKeyStates(std::array<bool, KEY_COUNT>& down)
{
    std::array<bool, 256> state{};
    desktop().readKeyboardState(state);
    for (uint32_t id = 0; id < KEY_COUNT; ++id)
        down[id] = kVirtualKeys[id] != 0 && state[kVirtualKeys[id]];
}

void setKeyNameSource(KeyNameSource source)
{
    std::lock_guard lock(gNamesMutex);
    gNameSource = std::move(source);
}

void buildKeyNames()
{
    std::lock_guard lock(gNamesMutex);
    for (uint32_t id = 0; id < KEY_COUNT; ++id)
    {
        std::string name;
        if (!gNameSource || !gNameSource(KEY_NAME_FIRST_TEXT_ID + id, name))
            name.clear();
        gNames[id] = std::move(name);
    }
}

void getKeyName(uint32_t keyId, std::string& name)
{
    std::lock_guard lock(gNamesMutex);
    if (keyId < KEY_COUNT)
        name = gNames[keyId];
    else
        name.clear();
}

char getKeyChar(uint32_t keyId)
{
    std::lock_guard lock(gNamesMutex);
    if (keyId >= KEY_COUNT || gNames[keyId].size() != 1)
        return 0;
    return gNames[keyId][0];
}
