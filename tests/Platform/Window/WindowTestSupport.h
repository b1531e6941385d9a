#pragma once
// A window under SDL's headless driver, fed with events pushed into SDL's own
// queue as a display server would deliver them.
#include "Platform/Window/Window.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

class HeadlessWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Headless: no display either, so that nothing (the desktop bus among
        // others) reaches for the X server the suite may run under.
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        std::string error;
        window = Platform::Window::create("Velmorique", 1024, 768, queue, &error);
        ASSERT_NE(window, nullptr) << error;
        // Whatever the driver announced on creation is not under test.
        drain();
    }

    std::vector<Platform::WindowMessage> drain()
    {
        std::vector<Platform::WindowMessage> messages;
        Platform::WindowMessage message;
        // Bounded: a test never posts more than a few dozen events.
        for (int i = 0; i < 1000 && window->peekMessage(message); ++i)
            messages.push_back(message);
        return messages;
    }

    static void pushKey(Uint32 type, SDL_Scancode scancode, SDL_Keycode sym, bool repeat = false)
    {
        SDL_Event event{};
        event.type = type;
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.repeat = repeat ? 1 : 0;
        event.key.keysym.scancode = scancode;
        event.key.keysym.sym = sym;
        SDL_PushEvent(&event);
    }

    static void pushText(const char* utf8)
    {
        SDL_Event event{};
        event.type = SDL_TEXTINPUT;
        std::strncpy(event.text.text, utf8, sizeof event.text.text - 1);
        SDL_PushEvent(&event);
    }

    static void pushWindowEvent(Uint8 kind, int data1 = 0, int data2 = 0)
    {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.event = kind;
        event.window.data1 = data1;
        event.window.data2 = data2;
        SDL_PushEvent(&event);
    }

    static void pushMotion(int x, int y)
    {
        SDL_Event event{};
        event.type = SDL_MOUSEMOTION;
        event.motion.x = x;
        event.motion.y = y;
        SDL_PushEvent(&event);
    }

    static void pushButton(Uint32 type, Uint8 button, int x, int y)
    {
        SDL_Event event{};
        event.type = type;
        event.button.button = button;
        event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.button.x = x;
        event.button.y = y;
        SDL_PushEvent(&event);
    }

    static void pushWheel(int y, bool flipped = false)
    {
        SDL_Event event{};
        event.type = SDL_MOUSEWHEEL;
        event.wheel.y = y;
        event.wheel.direction = flipped ? SDL_MOUSEWHEEL_FLIPPED : SDL_MOUSEWHEEL_NORMAL;
        SDL_PushEvent(&event);
    }

    Platform::MessageQueue queue;
    std::unique_ptr<Platform::Window> window;
};
