#include "ApplicationTestSupport.h"

using namespace Platform;

namespace
{
WindowMessage record(uint32_t message, WParam wParam = 0, LParam lParam = 0, const char* text = "")
{
    WindowMessage m;
    m.message = message;
    m.wParam = wParam;
    m.lParam = lParam;
    for (int i = 0; i < 2 && text[i] != '\0'; ++i)
        m.text[i] = text[i];
    return m;
}
} // namespace

// The procedure is fed directly: the window service is never created.
class WindowProcedure : public ApplicationTest
{
protected:
    void SetUp() override
    {
        ApplicationTest::SetUp();
        make();
        window = application->getAppWindow();
        ASSERT_NE(window, nullptr);
    }
    LParam feed(const WindowMessage& message) { return window->windowProcedure(message); }
    AppWindow* window = nullptr;
};

TEST_F(WindowProcedure, InputIsIgnoredWhileAnimationIsOff)
{
    application->setAnimateEnabled(false);
    feed(record(WM_MOUSEMOVE, 0, makeLParam(10, 10)));
    feed(record(WM_LBUTTONDOWN));
    feed(record(WM_MOUSEWHEEL, WParam(120) << 16));
    feed(record(WM_KEYDOWN, 'A', 0, "a"));
    feed(record(WM_KEYUP, 'A'));
    EXPECT_TRUE(application->gui().mouseEvents.empty());
    EXPECT_TRUE(application->gui().keyEvents.empty());
    EXPECT_FALSE(application->input().cursor.mLeftButton);
    EXPECT_EQ(application->input().cursor.mMouseX, 0);
    // Raw messages still reach the listening components.
    EXPECT_EQ(application->gui().broadcasts.size(), 5u);
}

TEST_F(WindowProcedure, ActivationBeforeRunIsIgnored)
{
    feed(record(WM_ACTIVATE, WA_ACTIVE));
    feed(record(WM_ACTIVATE, WA_INACTIVE));
    EXPECT_EQ(application->activations, 0);
    EXPECT_EQ(application->deactivations, 0);
    EXPECT_EQ(application->input().cursor.updates, 0);

    application->markRunning();
    feed(record(WM_ACTIVATE, WA_CLICKACTIVE));
    feed(record(WM_ACTIVATE, WA_INACTIVE));
    EXPECT_EQ(application->activations, 1);
    EXPECT_EQ(application->deactivations, 1);
    EXPECT_EQ(application->input().cursor.updates, 1);
}

TEST_F(WindowProcedure, HeldKeyRepeatsAndReleaseCarriesNoCharacters)
{
    feed(record(WM_KEYDOWN, 'E', 1, "\xE9"));
    feed(record(WM_KEYDOWN, 'E', 1 | KEY_PREVIOUSLY_DOWN, "\xE9"));
    feed(record(WM_KEYUP, 'E', 1 | KEY_PREVIOUSLY_DOWN | KEY_TRANSITION_UP, "zz"));
    feed(record(WM_KEYDOWN, 0x0D));
    const auto& keys = application->gui().keyEvents;
    ASSERT_EQ(keys.size(), 4u);
    EXPECT_EQ(keys[0].mType, KEY_EVENT_PRESSED);
    EXPECT_EQ(keys[0].mKeyId, 22u + ('E' - 'A'));
    EXPECT_STREQ(keys[0].mChars, "\xE9");
    EXPECT_EQ(keys[1].mType, KEY_EVENT_REPEATED);
    EXPECT_EQ(keys[2].mType, KEY_EVENT_RELEASED);
    EXPECT_STREQ(keys[2].mChars, "");
    EXPECT_EQ(keys[2].mMessage, WM_KEYUP);
    EXPECT_EQ(keys[2].mVirtualKey, WParam('E'));
    // Enter and the pad's enter share a code: the main key's id wins.
    EXPECT_EQ(keys[3].mKeyId, 58u);
}

TEST_F(WindowProcedure, KeyWithoutCharactersStillGivesItsId)
{
    feed(record(WM_KEYDOWN, 0x70)); // F1
    feed(record(WM_KEYDOWN, 0xDB)); // a dead key the game has no id for
    const auto& keys = application->gui().keyEvents;
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].mKeyId, 70u);
    EXPECT_STREQ(keys[0].mChars, "");
    EXPECT_EQ(keys[1].mKeyId, 0u);
}

TEST_F(WindowProcedure, MouseMovesButtonsAndWheel)
{
    feed(record(WM_MOUSEMOVE, 0, makeLParam(100, 50)));
    feed(record(WM_MOUSEMOVE, 0, makeLParam(90, 60)));
    feed(record(WM_RBUTTONDOWN, 0, makeLParam(90, 60)));
    feed(record(WM_MOUSEWHEEL, WParam(uint16_t(-240)) << 16));
    feed(record(WM_MOUSEWHEEL, WParam(120) << 16));
    feed(record(WM_RBUTTONUP, 0, makeLParam(90, 60)));
    const auto& events = application->gui().mouseEvents;
    ASSERT_EQ(events.size(), 6u);
    EXPECT_EQ(events[0].mType, MOUSE_EVENT_MOVE);
    EXPECT_EQ(events[0].mDeltaX, 100);
    EXPECT_EQ(events[1].mDeltaX, -10);
    EXPECT_EQ(events[1].mDeltaY, 10);
    EXPECT_EQ(events[1].mCursor, &application->input().cursor);
    EXPECT_EQ(application->input().cursor.mMouseX, 90);
    EXPECT_EQ(application->input().cursor.placements, 2);
    EXPECT_EQ(events[2].mType, MOUSE_EVENT_BUTTON_DOWN);
    EXPECT_EQ(events[2].mButton, MOUSE_BUTTON_RIGHT);
    EXPECT_EQ(events[3].mWheelDelta, -240);
    EXPECT_EQ(events[4].mWheelDelta, 120);
    EXPECT_EQ(events[5].mType, MOUSE_EVENT_BUTTON_UP);
    EXPECT_FALSE(application->input().cursor.mRightButton);
}

TEST_F(WindowProcedure, APressWhereThePointerHasNotMovedToIsTakenWhereItHappened)
{
    feed(record(WM_MOUSEMOVE, 0, makeLParam(100, 50)));
    feed(record(WM_LBUTTONDOWN, 0, makeLParam(300, 200)));
    feed(record(WM_LBUTTONUP, 0, makeLParam(300, 200)));
    const auto& events = application->gui().mouseEvents;
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[1].mType, MOUSE_EVENT_MOVE);
    EXPECT_EQ(events[1].mDeltaX, 200);
    EXPECT_EQ(events[1].mDeltaY, 150);
    EXPECT_EQ(events[2].mType, MOUSE_EVENT_BUTTON_DOWN);
    EXPECT_EQ(events[3].mType, MOUSE_EVENT_BUTTON_UP);
    EXPECT_EQ(application->input().cursor.mMouseX, 300);
    EXPECT_EQ(application->input().cursor.mMouseY, 200);
}

TEST_F(WindowProcedure, PositionsStayInTheFrameWhateverTheWindowsSize)
{
    // The platform window already fits its positions into the frame.
    for (bool windowed : {false, true})
    {
        window->setWindowedMode(windowed);
        feed(record(WM_SIZE, SIZE_RESTORED, makeLParam(512, 384)));
        feed(record(WM_MOUSEMOVE, 0, makeLParam(100, 100)));
        EXPECT_EQ(application->input().cursor.mMouseX, 100);
        feed(record(WM_SIZE, SIZE_MINIMIZED, makeLParam(0, 0)));
        feed(record(WM_MOUSEMOVE, 0, makeLParam(10, 20)));
        EXPECT_EQ(application->input().cursor.mMouseX, 10);
        EXPECT_EQ(application->input().cursor.mMouseY, 20);
    }
}

TEST_F(WindowProcedure, DestroyPostsQuitAndLeavesTheApplicationAlone)
{
    feed(record(WM_CLOSE));
    EXPECT_EQ(getApplication(), application.get());
    WindowMessage message;
    ASSERT_TRUE(window->getQueue().take(message));
    EXPECT_EQ(message.message, WM_QUIT);
    EXPECT_EQ(message.wParam, 0u);
}

TEST_F(WindowProcedure, HookTakesEveryMessage)
{
    std::vector<uint32_t> hooked;
    window->setMessageHook(
        [&](const WindowMessage& message) -> LParam
        {
            hooked.push_back(message.message);
            return 7;
        });
    EXPECT_EQ(feed(record(WM_KEYDOWN, 'A')), 7);
    feed(record(WM_CLOSE));
    EXPECT_EQ(hooked, (std::vector<uint32_t>{WM_KEYDOWN, WM_CLOSE}));
    EXPECT_TRUE(application->gui().keyEvents.empty());
    EXPECT_TRUE(application->gui().broadcasts.empty());
    EXPECT_TRUE(window->getQueue().empty());
}
