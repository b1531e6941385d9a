#include "Framework/Desktop.h"

#include <mutex>

namespace
{
std::mutex gDesktopMutex;
std::shared_ptr<Desktop> gDesktop;

std::shared_ptr<Desktop> currentDesktop()
{
    std::lock_guard lock(gDesktopMutex);
    if (!gDesktop)
        gDesktop = std::make_shared<NullDesktop>();
    return gDesktop;
}
} // namespace

bool NullDesktop::setClipboardText(const std::string& text)
{
    mClipboard = text;
    return true;
}

bool NullDesktop::getClipboardText(std::string& text)
{
    text = mClipboard;
    return true;
}

bool NullDesktop::isVirtualKeyDown(uint8_t virtualKey)
{
    return mKeys[virtualKey];
}

void NullDesktop::readKeyboardState(std::array<bool, 256>& down)
{
    down = mKeys;
}

void NullDesktop::setVirtualKeyDown(uint8_t virtualKey, bool down)
{
    mKeys[virtualKey] = down;
}

Desktop& desktop()
{
    return *currentDesktop();
}

std::shared_ptr<Desktop> setDesktop(std::shared_ptr<Desktop> desktop)
{
    std::lock_guard lock(gDesktopMutex);
    std::shared_ptr<Desktop> previous = std::move(gDesktop);
    gDesktop = std::move(desktop);
    return previous;
}

int setClipboardText(const std::string& text)
{
    std::shared_ptr<Desktop> current = currentDesktop();
    return current->setClipboardText(text) ? 0 : 1;
}

int getClipboardText(std::string& text)
{
    text.clear();
    std::shared_ptr<Desktop> current = currentDesktop();
    if (!current->getClipboardText(text))
    {
        text.clear();
        return 1;
    }
    return 0;
}
