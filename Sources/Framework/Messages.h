#pragma once
// The program's message boxes. Every text is formatted into at most 255
// characters and always terminated. Each box first has the 2D engine present
// any frame it still holds, so that the box shows over the current picture.
#include "Platform/System/MessageSink.h"

#include <cstdarg>
#include <string>

// Formats at most 255 characters with printf rules.
std::string formatMessage(const char* format, va_list args);
// At most 255 characters of a text.
std::string limitMessage(std::string text);

// An information box, OK button, no icon, captioned with the language text
// "Information" (or that word while no table is loaded). Returns the button
// pressed (1, OK).
int showMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Presents the pending frame, then shows the box through the message sink.
void showMessageOverFrame(const std::string& caption, const std::string& text, Platform::MessageKind kind);
