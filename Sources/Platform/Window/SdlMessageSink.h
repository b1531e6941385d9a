#pragma once
// The interactive end of the message-box sink: SDL's message box, owned by
// the main window while it exists.
#include "Platform/System/MessageSink.h"

struct SDL_Window;

namespace Platform
{

class SdlMessageSink final : public MessageSink
{
public:
    void show(const std::string& title, const std::string& text, MessageKind kind) override;
};

// True when a person may be at a display: a display is named and SDL is not
// told to use a headless video driver.
bool hasDisplay();

// Installs the SDL sink when a display exists and the sink in use is still
// the default one (a test's capture is left alone). True when the SDL sink is
// in use afterwards.
bool installInteractiveMessageSink();

// The window that owns the boxes (null: none).
void setMessageBoxParent(SDL_Window* window);

} // namespace Platform
