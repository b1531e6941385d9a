#pragma once
// Small text and number routines shared by the whole program.
#include <cstddef>
#include <cstdint>
#include <string>

// Formats at most maxLength characters with printf rules into text. The result
// is always terminated, even when the output had to be cut. Returns the length
// of the text kept.
size_t stringFormat(std::string& text, size_t maxLength, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// The escaping of string values in configuration files: a line feed is
// written as backslash-n, a backslash as two backslashes.
std::string escapeString(const std::string& text);
// The reverse; any other backslash is kept as it stands.
std::string unescapeString(const std::string& text);

// Lower-cases A to Z in place and nothing else (Windows-1252 letters stay).
void toLowerAscii(std::string& text);

// Replaces every control character (below 0x20, and 0x7F) with a space, so
// that a name from the network shows on one line; other bytes stay.
void replaceControlCharacters(std::string& text);

// "hh:mm:ss" from milliseconds, truncating; hours are not limited to 2 digits.
void formatDuration(char* buffer, size_t size, uint32_t milliseconds);
std::string formatDuration(uint32_t milliseconds);

// The smallest power of two >= n; 1 for 0 and 1, 0 when it does not fit in
// 32 bits (n above 2^31).
uint32_t nextPowerOfTwo(uint32_t n);
// The number of bits of n - 1: log2 rounded up; 0 for 0 and 1.
uint32_t ceilLog2(uint32_t n);
