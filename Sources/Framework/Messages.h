#pragma once
// The program's message boxes. Every text is formatted into at most 255
// characters and always terminated.
#include <cstdarg>
#include <string>

// Formats at most 255 characters with printf rules.
std::string formatMessage(const char* format, va_list args);

// An information box, OK button, no icon.
int showMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));
