#pragma once
// What the framework needs from the desktop session: the clipboard as text and
// the keyboard state by virtual-key code. The main window installs the real
// implementation; until then (and in tests) a null desktop answers: an empty
// clipboard, kept in memory, and no key held.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

class Desktop
{
public:
    virtual ~Desktop() = default;
    // False when the clipboard cannot be opened.
    virtual bool setClipboardText(const std::string& text) = 0;
    // False when the clipboard cannot be opened; an empty text when it holds
    // no text. Texts are Windows-1252.
    virtual bool getClipboardText(std::string& text) = 0;
    // Whether the key with this virtual-key code is held down.
    virtual bool isVirtualKeyDown(uint8_t virtualKey) = 0;
    // One read of the whole keyboard, indexed by virtual-key code.
    virtual void readKeyboardState(std::array<bool, 256>& down) = 0;
};

class NullDesktop final : public Desktop
{
public:
    bool setClipboardText(const std::string& text) override;
    bool getClipboardText(std::string& text) override;
    bool isVirtualKeyDown(uint8_t virtualKey) override;
    void readKeyboardState(std::array<bool, 256>& down) override;
    // Tests press and release keys by hand.
    void setVirtualKeyDown(uint8_t virtualKey, bool down);

private:
    std::string mClipboard;
    std::array<bool, 256> mKeys{};
};

// The desktop in use (a null desktop until one is installed).
Desktop& desktop();
// Installs a desktop and returns the previous one; null restores a fresh null
// desktop.
std::shared_ptr<Desktop> setDesktop(std::shared_ptr<Desktop> desktop);

// 1 when the clipboard cannot be opened, else 0.
int setClipboardText(const std::string& text);
// 1 when the clipboard cannot be opened, else 0; text is empty when the
// clipboard holds no text.
int getClipboardText(std::string& text);
