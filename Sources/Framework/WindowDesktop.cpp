#include "Framework/WindowDesktop.h"

#include "Platform/Window/Window.h"

bool WindowDesktop::setClipboardText(const std::string& text)
{
    return Platform::setClipboardText(text) == 0;
}

bool WindowDesktop::getClipboardText(std::string& text)
{
    return Platform::getClipboardText(text) == 0;
}

bool WindowDesktop::isVirtualKeyDown(uint8_t virtualKey)
{
    Platform::Window* window = Platform::Window::main();
    return window != nullptr && window->isKeyDown(virtualKey);
}

void WindowDesktop::readKeyboardState(std::array<bool, 256>& down)
{
    Platform::Window* window = Platform::Window::main();
    for (size_t vk = 0; vk < down.size(); ++vk)
        down[vk] = window != nullptr && (window->keyStates()[vk] & 0x80) != 0;
}
