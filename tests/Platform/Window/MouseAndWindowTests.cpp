#include "Platform/Window/SdlMessageSink.h"
#include "WindowTestSupport.h"

using namespace Platform;

TEST_F(HeadlessWindow, MousePositionsAreInTheLogicalArea)
{
    pushWindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 2048, 1536);
    pushMotion(200, 100);
    // Wider than 4:3: the frame is centred between two bars.
    pushWindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 2048, 768);
    pushMotion(600, 10);
    pushMotion(5, 767); // in the left bar: clamped to the frame
    auto messages = drain();
    ASSERT_EQ(messages.size(), 5u);
    EXPECT_EQ(messages[0].message, WM_SIZE);
    EXPECT_EQ(lowWord(messages[0].lParam), 2048);
    EXPECT_EQ(highWord(messages[0].lParam), 1536);
    EXPECT_EQ(messages[1].message, WM_MOUSEMOVE);
    EXPECT_EQ(lowWord(messages[1].lParam), 100);
    EXPECT_EQ(highWord(messages[1].lParam), 50);
    EXPECT_EQ(lowWord(messages[3].lParam), 88);
    EXPECT_EQ(highWord(messages[3].lParam), 10);
    EXPECT_EQ(lowWord(messages[4].lParam), 0);
    EXPECT_EQ(highWord(messages[4].lParam), 767);
}

TEST_F(HeadlessWindow, MinimisedWindowKeepsTheLastPosition)
{
    pushMotion(300, 200);
    pushWindowEvent(SDL_WINDOWEVENT_MINIMIZED);
    pushMotion(10, 10);
    auto messages = drain();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[1].message, WM_SIZE);
    EXPECT_EQ(messages[1].wParam, SIZE_MINIMIZED);
    EXPECT_EQ(messages[1].lParam, 0);
    EXPECT_EQ(window->clientWidth(), 0);
    EXPECT_EQ(lowWord(messages[2].lParam), 300);
    EXPECT_EQ(highWord(messages[2].lParam), 200);
    EXPECT_EQ(fitLogicalArea(0, 0, 1024, 768).width, 0);
    EXPECT_EQ(fitLogicalArea(1024, 768, 0, 0).height, 0);
}

TEST_F(HeadlessWindow, ButtonsAndWheel)
{
    pushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 10, 20);
    pushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 10, 20);
    pushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 10, 20);
    pushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 10, 20);
    pushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 10, 20);
    pushWheel(1);
    pushWheel(-2);
    pushWheel(1, true);
    auto messages = drain();
    ASSERT_EQ(messages.size(), 7u);
    EXPECT_EQ(messages[0].message, WM_LBUTTONDOWN);
    EXPECT_EQ(lowWord(messages[0].lParam), 10);
    EXPECT_EQ(highWord(messages[0].lParam), 20);
    EXPECT_EQ(messages[1].message, WM_RBUTTONDOWN);
    EXPECT_EQ(messages[1].wParam, WParam(MK_LBUTTON | MK_RBUTTON));
    EXPECT_EQ(messages[2].message, WM_LBUTTONUP);
    EXPECT_EQ(messages[3].message, WM_RBUTTONUP);
    EXPECT_EQ(messages[4].message, WM_MOUSEWHEEL);
    EXPECT_EQ(highWord(messages[4].wParam), 120);
    EXPECT_EQ(highWord(messages[5].wParam), -240);
    EXPECT_EQ(highWord(messages[6].wParam), -120);
}

TEST_F(HeadlessWindow, ActivationFollowsTheFocus)
{
    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    auto messages = drain();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].message, WM_ACTIVATE);
    EXPECT_EQ(lowWord(messages[0].wParam), int(WA_INACTIVE));
    EXPECT_EQ(lowWord(messages[1].wParam), int(WA_ACTIVE));
}

TEST_F(HeadlessWindow, ClosingDestroysTheWindowOnce)
{
    std::vector<uint32_t> seen;
    window->setProcedure(
        [&](const WindowMessage& message) -> LParam
        {
            seen.push_back(message.message);
            if (message.message == WM_DESTROY)
            {
                window->queue().postQuit(0);
                return 0;
            }
            return window->defaultProcedure(message);
        });
    pushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    SDL_Event quitEvent{};
    quitEvent.type = SDL_QUIT;
    SDL_PushEvent(&quitEvent);
    WindowMessage message;
    bool quit = false;
    for (int i = 0; i < 100 && !quit; ++i)
    {
        if (!window->peekMessage(message))
            continue;
        if (message.message == WM_QUIT)
            quit = true;
        else
            window->dispatchMessage(message);
    }
    EXPECT_TRUE(quit);
    EXPECT_FALSE(window->isAlive());
    EXPECT_EQ(seen, (std::vector<uint32_t>{WM_CLOSE, WM_DESTROY}));
    // A dead window neither translates nor destroys again.
    pushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    EXPECT_TRUE(drain().empty());
    window->destroy();
    EXPECT_EQ(seen.size(), 2u);
}

TEST(MessageQueue, QuitComesOutOnceAfterWhatWasPostedBefore)
{
    MessageQueue queue;
    queue.post(WM_SIZE);
    queue.postQuit(3);
    queue.post(WM_MOUSEMOVE);
    WindowMessage message;
    ASSERT_TRUE(queue.take(message));
    EXPECT_EQ(message.message, WM_SIZE);
    ASSERT_TRUE(queue.take(message));
    EXPECT_EQ(message.message, WM_MOUSEMOVE);
    ASSERT_TRUE(queue.take(message));
    EXPECT_EQ(message.message, WM_QUIT);
    EXPECT_EQ(message.wParam, 3u);
    EXPECT_FALSE(queue.take(message));
    EXPECT_TRUE(queue.empty());
}

TEST_F(HeadlessWindow, ClipboardKeepsWindows1252Text)
{
    ASSERT_EQ(setClipboardText("D\xE9j\xE0 \x80"), 0);
    std::string text;
    ASSERT_EQ(getClipboardText(text), 0);
    EXPECT_EQ(text, "D\xE9j\xE0 \x80");
    ASSERT_EQ(setClipboardText(""), 0);
    EXPECT_EQ(getClipboardText(text), 0);
    EXPECT_EQ(text, "");
}

TEST(Clipboard, WithoutAWindowReportsItCannotBeOpened)
{
    std::string text = "old";
    EXPECT_EQ(getClipboardText(text), 1);
    EXPECT_EQ(text, "");
    EXPECT_EQ(setClipboardText("x"), 1);
}

TEST_F(HeadlessWindow, HeadlessRunKeepsTheDefaultMessageSink)
{
    EXPECT_FALSE(hasDisplay());
    EXPECT_EQ(dynamic_cast<SdlMessageSink*>(&messageSink()), nullptr);
    EXPECT_EQ(Window::main(), window.get());
    EXPECT_NE(window->sdlWindow(), nullptr);
}
