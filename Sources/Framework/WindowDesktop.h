#pragma once
// The desktop of a program with a main window: the system clipboard, and the
// keys as the window's messages have reported them.
#include "Framework/Desktop.h"

class WindowDesktop final : public Desktop
{
public:
    bool setClipboardText(const std::string& text) override;
    bool getClipboardText(std::string& text) override;
    bool isVirtualKeyDown(uint8_t virtualKey) override;
    void readKeyboardState(std::array<bool, 256>& down) override;
};
