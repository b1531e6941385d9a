#include "Platform/Window/SdlMessageSink.h"

#include "Platform/System/Text1252.h"
#include "Platform/Window/BoxProcessGuard.h"

#include <SDL.h>

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace Platform
{
namespace
{
std::atomic<SDL_Window*> gParent{nullptr};

bool isSet(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
}
} // namespace

void SdlMessageSink::show(const std::string& title, const std::string& text, MessageKind kind)
{
    StderrMessageSink fallback;
    // The game is ending: a box would only hold it.
    if (terminationRequested())
        return fallback.show(title, text, kind);
    Uint32 flags = kind == MessageKind::Error     ? SDL_MESSAGEBOX_ERROR
                   : kind == MessageKind::Warning ? SDL_MESSAGEBOX_WARNING
                                                  : SDL_MESSAGEBOX_INFORMATION;
    std::string utf8Title = cp1252ToUtf8(title);
    std::string utf8Text = cp1252ToUtf8(text);
    BoxProcessGuard guard;
    // The display went away, or the box was closed by a request to end: the
    // message still reaches standard error.
    if (SDL_ShowSimpleMessageBox(flags, utf8Title.c_str(), utf8Text.c_str(), gParent.load()) != 0)
        fallback.show(title, text, kind);
}

bool hasDisplay()
{
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (driver != nullptr && (std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "offscreen") == 0))
        return false;
    return isSet("DISPLAY") || isSet("WAYLAND_DISPLAY");
}

bool installInteractiveMessageSink()
{
    MessageSink& current = messageSink();
    if (dynamic_cast<SdlMessageSink*>(&current) != nullptr)
        return true;
    if (!hasDisplay() || dynamic_cast<StderrMessageSink*>(&current) == nullptr)
        return false;
    setMessageSink(std::make_shared<SdlMessageSink>());
    return true;
}

void setMessageBoxParent(SDL_Window* window)
{
    gParent.store(window);
}

} // namespace Platform
