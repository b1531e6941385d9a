#include "Framework/Desktop.h"
#include "Framework/Keys.h"

#include <gtest/gtest.h>

#include <map>

TEST(Keys, TablesMapBothWaysAndTheHighestIdWinsASharedCode)
{
    EXPECT_EQ(keyIdToVirtualKey(KEY_SPACE), 0x20);
    EXPECT_EQ(keyIdToVirtualKey(KEY_NUMPAD_0 + 9), 0x69);
    EXPECT_EQ(keyIdToVirtualKey(KEY_NUMBER_0 + 5), 0x35);
    EXPECT_EQ(keyIdToVirtualKey(KEY_Z), 0x5A);
    EXPECT_EQ(keyIdToVirtualKey(KEY_F1 + 11), 0x7B);
    EXPECT_EQ(keyIdToVirtualKey(KEY_CAPSLOCK), 0x14);
    EXPECT_EQ(keyIdToVirtualKey(KEY_NUMPAD_DOT), 0);
    EXPECT_EQ(keyIdToVirtualKey(KEY_COUNT), 0);

    EXPECT_EQ(virtualKeyToKeyId(0x0D), KEY_ENTER);
    EXPECT_EQ(virtualKeyToKeyId(0x11), KEY_RCTRL);
    EXPECT_EQ(virtualKeyToKeyId(0x12), KEY_RALT);
    EXPECT_EQ(virtualKeyToKeyId(0x10), KEY_RSHIFT);
    EXPECT_EQ(virtualKeyToKeyId(0x00), KEY_NONE);
    EXPECT_EQ(virtualKeyToKeyId(0xFF), KEY_NONE);
    EXPECT_EQ(virtualKeyToKeyId(1000), KEY_NONE);

    // Every id with a code of its own maps back to itself.
    for (uint32_t id = 1; id < KEY_COUNT; ++id)
    {
        uint8_t vk = keyIdToVirtualKey(id);
        if (vk == 0 || id == KEY_NUMPAD_ENTER || id == KEY_LCTRL || id == KEY_LALT || id == KEY_LSHIFT)
            continue;
        EXPECT_EQ(virtualKeyToKeyId(vk), id) << id;
    }
}

TEST(Keys, NamesComeFromTheLanguageSourceOrAreEmpty)
{
    setKeyNameSource(nullptr);
    buildKeyNames();
    std::string name = "x";
    getKeyName(KEY_A, name);
    EXPECT_EQ(name, "");
    EXPECT_EQ(getKeyChar(KEY_A), 0);

    std::map<uint32_t, std::string> texts = {
        {65 + KEY_A, "A"}, {65 + KEY_SPACE, "Espace"}, {65 + KEY_NUMBER_0 + 7, "7"}};
    bool loaded = false;
    setKeyNameSource(
        [&](uint32_t id, std::string& text)
        {
            if (!loaded)
                return false;
            auto it = texts.find(id);
            text = it != texts.end() ? it->second : "";
            return true;
        });
    buildKeyNames(); // no table loaded yet
    EXPECT_EQ(getKeyChar(KEY_A), 0);

    loaded = true;
    buildKeyNames();
    getKeyName(KEY_SPACE, name);
    EXPECT_EQ(name, "Espace");
    EXPECT_EQ(getKeyChar(KEY_A), 'A');
    EXPECT_EQ(getKeyChar(KEY_NUMBER_0 + 7), '7');
    EXPECT_EQ(getKeyChar(KEY_SPACE), 0);
    EXPECT_EQ(getKeyChar(500), 0);
    getKeyName(500, name);
    EXPECT_EQ(name, "");

    setKeyNameSource(nullptr);
    buildKeyNames();
}

TEST(Keys, StatesAreReadThroughTheDesktop)
{
    auto keyboard = std::make_shared<NullDesktop>();
    auto previous = setDesktop(keyboard);
    EXPECT_FALSE(isKeyDown(KEY_LCTRL));
    keyboard->setVirtualKeyDown(0x11, true);
    keyboard->setVirtualKeyDown(0x41, true);
    EXPECT_TRUE(isKeyDown(KEY_LCTRL));
    EXPECT_TRUE(isKeyDown(KEY_RCTRL)); // both sides share the one code
    EXPECT_FALSE(isKeyDown(KEY_NUMPAD_DOT));
    std::array<bool, KEY_COUNT> down{};
    readKeyStates(down);
    for (uint32_t id = 0; id < KEY_COUNT; ++id)
        EXPECT_EQ(down[id], id == KEY_A || id == KEY_LCTRL || id == KEY_RCTRL) << id;
    setDesktop(previous);
}

TEST(Clipboard, EmptyWhenNothingWasPutThereAndFailuresReportOne)
{
    auto previous = setDesktop(std::make_shared<NullDesktop>());
    std::string text = "stale";
    EXPECT_EQ(getClipboardText(text), 0);
    EXPECT_EQ(text, "");
    EXPECT_EQ(setClipboardText("copi\xE9"), 0);
    EXPECT_EQ(getClipboardText(text), 0);
    EXPECT_EQ(text, "copi\xE9");

    struct Locked final : Desktop
    {
        bool setClipboardText(const std::string&) override { return false; }
        bool getClipboardText(std::string& t) override
        {
            t = "garbage";
            return false;
        }
        bool isVirtualKeyDown(uint8_t) override { return false; }
        void readKeyboardState(std::array<bool, 256>& d) override { d.fill(false); }
    };
    setDesktop(std::make_shared<Locked>());
    EXPECT_EQ(setClipboardText("x"), 1);
    EXPECT_EQ(getClipboardText(text), 1);
    EXPECT_EQ(text, "");
    setDesktop(previous);
}
