#include "Platform/Window/VirtualKeys.h"
#include "WindowTestSupport.h"

using namespace Platform;

TEST_F(HeadlessWindow, KeyPressCarriesWhatItTypedInWindows1252)
{
    pushKey(SDL_KEYDOWN, SDL_SCANCODE_E, SDLK_e);
    pushText("\xC3\xA9"); // é
    auto messages = drain();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].message, WM_KEYDOWN);
    EXPECT_EQ(messages[0].wParam, WParam('E'));
    EXPECT_STREQ(messages[0].text, "\xE9");
    EXPECT_EQ(messages[0].lParam & KEY_PREVIOUSLY_DOWN, 0);
}

TEST_F(HeadlessWindow, HeldKeyRepeatsWithBit30AndReleasesWithoutCharacters)
{
    pushKey(SDL_KEYDOWN, SDL_SCANCODE_Q, SDLK_q);
    pushText("q");
    pushKey(SDL_KEYDOWN, SDL_SCANCODE_Q, SDLK_q, true);
    pushText("q");
    pushKey(SDL_KEYUP, SDL_SCANCODE_Q, SDLK_q);
    auto messages = drain();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].lParam & KEY_PREVIOUSLY_DOWN, 0);
    EXPECT_NE(messages[1].lParam & KEY_PREVIOUSLY_DOWN, 0);
    EXPECT_STREQ(messages[1].text, "q");
    EXPECT_EQ(messages[2].message, WM_KEYUP);
    EXPECT_EQ(messages[2].wParam, WParam('Q'));
    EXPECT_STREQ(messages[2].text, "");
}

TEST_F(HeadlessWindow, DigitRowGivesDigitsWhateverTheLayoutPrints)
{
    // The "1" key of a French keyboard types '&' and is named by SDL after it.
    pushKey(SDL_KEYDOWN, SDL_SCANCODE_1, SDLK_AMPERSAND);
    pushText("&");
    pushKey(SDL_KEYDOWN, SDL_SCANCODE_0, SDLK_a + 100); // whatever the layout calls it
    auto messages = drain();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].wParam, WParam('1'));
    EXPECT_STREQ(messages[0].text, "&");
    EXPECT_EQ(messages[1].wParam, WParam('0'));
}

TEST_F(HeadlessWindow, LettersFollowTheLayout)
{
    // On a French keyboard the key at the place of Q types 'a'.
    pushKey(SDL_KEYDOWN, SDL_SCANCODE_Q, SDLK_a);
    auto messages = drain();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].wParam, WParam('A'));
}

TEST_F(HeadlessWindow, DeadKeyGivesItsKeyWithoutCharacters)
{
    pushKey(SDL_KEYDOWN, SDL_SCANCODE_F5, SDLK_F5);
    pushKey(SDL_KEYDOWN, SDL_SCANCODE_LEFTBRACKET, SDLK_CARET); // dead circumflex
    pushKey(SDL_KEYDOWN, SDL_SCANCODE_E, SDLK_e);
    pushText("\xC3\xAA"); // ê
    auto messages = drain();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].wParam, WParam(VK_F1 + 4));
    EXPECT_STREQ(messages[0].text, "");
    EXPECT_EQ(messages[1].wParam, WParam(VK_OEM_4));
    EXPECT_STREQ(messages[1].text, "");
    EXPECT_STREQ(messages[2].text, "\xEA");
}

TEST_F(HeadlessWindow, TypedTextKeepsAtMostTwoCharacters)
{
    pushKey(SDL_KEYDOWN, SDL_SCANCODE_A, SDLK_a);
    pushText("abc");
    pushText("\xE2\x82\xAC"); // € alone, from an input method
    auto messages = drain();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_STREQ(messages[0].text, "ab");
    EXPECT_EQ(messages[1].message, WM_KEYDOWN);
    EXPECT_EQ(messages[1].wParam, 0u);
    EXPECT_STREQ(messages[1].text, "\x80");
}

TEST_F(HeadlessWindow, KeyStateFollowsTheKeysSeen)
{
    pushKey(SDL_KEYDOWN, SDL_SCANCODE_LSHIFT, SDLK_LSHIFT);
    pushKey(SDL_KEYDOWN, SDL_SCANCODE_RSHIFT, SDLK_RSHIFT);
    pushKey(SDL_KEYUP, SDL_SCANCODE_LSHIFT, SDLK_LSHIFT);
    drain();
    EXPECT_TRUE(window->isKeyDown(VK_SHIFT));
    pushKey(SDL_KEYUP, SDL_SCANCODE_RSHIFT, SDLK_RSHIFT);
    // A release the window never saw pressed changes nothing.
    pushKey(SDL_KEYUP, SDL_SCANCODE_Z, SDLK_z);
    drain();
    EXPECT_FALSE(window->isKeyDown(VK_SHIFT));
    EXPECT_FALSE(window->isKeyDown('Z'));
}

TEST(VirtualKeys, KeysOfTheGameTablesTranslate)
{
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_KP_0, SDLK_KP_0), VK_NUMPAD0);
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_KP_9, SDLK_KP_9), VK_NUMPAD0 + 9);
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER), VK_RETURN);
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_RETURN, SDLK_RETURN), VK_RETURN);
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_RCTRL, SDLK_RCTRL), VK_CONTROL);
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_RALT, SDLK_RALT), VK_MENU);
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_F12, SDLK_F12), VK_F1 + 11);
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_SPACE, SDLK_SPACE), VK_SPACE);
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_KP_PLUS, SDLK_KP_PLUS), VK_ADD);
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_CAPSLOCK, SDLK_CAPSLOCK), VK_CAPITAL);
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_NUMLOCKCLEAR, SDLK_NUMLOCKCLEAR), VK_NUMLOCK);
    EXPECT_EQ(virtualKeyFromSdl(SDL_SCANCODE_VOLUMEUP, SDLK_VOLUMEUP), 0);
}
