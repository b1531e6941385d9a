#pragma once
// The program's message boxes. Every text is formatted into at most 255
// characters and always terminated. Each box first has the 2D engine present
// any frame it still holds, so that the box shows over the current picture.
#include "Platform/System/MessageSink.h"

#include <cstdarg>
#include <cstddef>
#include <string>

inline constexpr size_t kMessageLimit = 255;
// What a path may take of a message that says more about the file.
inline constexpr size_t kShownPathLimit = 72;

// Formats at most 255 characters with printf rules.
std::string formatMessage(const char* format, va_list args);
// At most 255 characters of a text.
std::string limitMessage(std::string text);

// A file's Linux path as a message names it: spelled as the program spells
// names, and at most limit characters long, folders in the middle left out
// ("/home/ana/.../velmorique/setup.ini"); the file's name always shows whole.
std::string shownPath(const std::string& linuxPath, size_t limit = kShownPathLimit);

// An information box, OK button, no icon, captioned with the language text
// "Information" (or that word while no table is loaded). Returns the button
// pressed (1, OK).
int showMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Presents the pending frame, then shows the box through the message sink.
void showMessageOverFrame(const std::string& caption, const std::string& text, Platform::MessageKind kind);
