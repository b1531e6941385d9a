#include "Platform/Window/VirtualKeys.h"

#include <SDL.h>

namespace Platform
{

uint8_t virtualKeyFromSdl(int scancode, int keycode)
{
    // Position-bound keys first: the digit row and the numeric pad.
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9)
        return static_cast<uint8_t>(VK_0 + 1 + (scancode - SDL_SCANCODE_1));
    if (scancode == SDL_SCANCODE_0)
        return VK_0;
    if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_9)
        return static_cast<uint8_t>(VK_NUMPAD0 + 1 + (scancode - SDL_SCANCODE_KP_1));
    switch (scancode)
    {
    case SDL_SCANCODE_KP_0:
        return VK_NUMPAD0;
    case SDL_SCANCODE_KP_PLUS:
        return VK_ADD;
    case SDL_SCANCODE_KP_MINUS:
        return VK_SUBTRACT;
    case SDL_SCANCODE_KP_MULTIPLY:
        return VK_MULTIPLY;
    case SDL_SCANCODE_KP_DIVIDE:
        return VK_DIVIDE;
    case SDL_SCANCODE_KP_PERIOD:
        return VK_DECIMAL;
    case SDL_SCANCODE_KP_COMMA:
        return VK_SEPARATOR;
    case SDL_SCANCODE_KP_ENTER:
        return VK_RETURN;
    case SDL_SCANCODE_LCTRL:
    case SDL_SCANCODE_RCTRL:
        return VK_CONTROL;
    case SDL_SCANCODE_LALT:
    case SDL_SCANCODE_RALT:
        return VK_MENU;
    case SDL_SCANCODE_LSHIFT:
    case SDL_SCANCODE_RSHIFT:
        return VK_SHIFT;
    case SDL_SCANCODE_LGUI:
        return VK_LWIN;
    case SDL_SCANCODE_RGUI:
        return VK_RWIN;
    default:
        break;
    }

    // Letters as the layout names them (the A key of a French keyboard is 'A').
    if (keycode >= SDLK_a && keycode <= SDLK_z)
        return static_cast<uint8_t>(VK_A + (keycode - SDLK_a));
    if (keycode >= SDLK_F1 && keycode <= SDLK_F12)
        return static_cast<uint8_t>(VK_F1 + (keycode - SDLK_F1));
    switch (keycode)
    {
    case SDLK_SPACE:
        return VK_SPACE;
    case SDLK_LEFT:
        return VK_LEFT;
    case SDLK_RIGHT:
        return VK_RIGHT;
    case SDLK_UP:
        return VK_UP;
    case SDLK_DOWN:
        return VK_DOWN;
    case SDLK_DELETE:
        return VK_DELETE;
    case SDLK_BACKSPACE:
        return VK_BACK;
    case SDLK_HOME:
        return VK_HOME;
    case SDLK_END:
        return VK_END;
    case SDLK_TAB:
        return VK_TAB;
    case SDLK_RETURN:
    case SDLK_RETURN2:
        return VK_RETURN;
    case SDLK_PAGEUP:
        return VK_PRIOR;
    case SDLK_PAGEDOWN:
        return VK_NEXT;
    case SDLK_ESCAPE:
        return VK_ESCAPE;
    case SDLK_SCROLLLOCK:
        return VK_SCROLL;
    case SDLK_PAUSE:
        return VK_PAUSE;
    case SDLK_PRINTSCREEN:
        return VK_SNAPSHOT;
    case SDLK_INSERT:
        return VK_INSERT;
    case SDLK_NUMLOCKCLEAR:
        return VK_NUMLOCK;
    case SDLK_CAPSLOCK:
        return VK_CAPITAL;
    default:
        break;
    }

    // Punctuation keys by position, so that text fields still receive what
    // they type; the game binds none of them.
    switch (scancode)
    {
    case SDL_SCANCODE_SEMICOLON:
        return VK_OEM_1;
    case SDL_SCANCODE_EQUALS:
        return VK_OEM_PLUS;
    case SDL_SCANCODE_COMMA:
        return VK_OEM_COMMA;
    case SDL_SCANCODE_MINUS:
        return VK_OEM_MINUS;
    case SDL_SCANCODE_PERIOD:
        return VK_OEM_PERIOD;
    case SDL_SCANCODE_SLASH:
        return VK_OEM_2;
    case SDL_SCANCODE_GRAVE:
        return VK_OEM_3;
    case SDL_SCANCODE_LEFTBRACKET:
        return VK_OEM_4;
    case SDL_SCANCODE_BACKSLASH:
        return VK_OEM_5;
    case SDL_SCANCODE_RIGHTBRACKET:
        return VK_OEM_6;
    case SDL_SCANCODE_APOSTROPHE:
        return VK_OEM_7;
    case SDL_SCANCODE_NONUSBACKSLASH:
        return VK_OEM_102;
    default:
        return 0;
    }
}

} // namespace Platform
