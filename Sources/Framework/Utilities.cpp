#include "Framework/Utilities.h"

#include <bit>
#include <cstdarg>
#include <cstdio>
#include <vector>

size_t stringFormat(std::string& text, size_t maxLength, const char* format, ...)
{
    // vsnprintf terminates what it writes, so a cut text never runs on into
    // whatever follows the buffer.
    std::vector<char> buffer(maxLength + 1, '\0');
    va_list args;
    va_start(args, format);
    int written = std::vsnprintf(buffer.data(), buffer.size(), format, args);
    va_end(args);
    if (written < 0)
        buffer[0] = '\0';
    text.assign(buffer.data());
    return text.size();
}

std::string escapeString(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text)
    {
        if (c == '\n')
            out += "\\n";
        else if (c == '\\')
            out += "\\\\";
        else
            out += c;
    }
    return out;
}

std::string unescapeString(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
    {
        char c = text[i];
        if (c == '\\' && i + 1 < text.size())
        {
            if (text[i + 1] == 'n')
            {
                out += '\n';
                ++i;
                continue;
            }
            if (text[i + 1] == '\\')
            {
                out += '\\';
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

void toLowerAscii(std::string& text)
{
    for (char& c : text)
    {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
}

void replaceControlCharacters(std::string& text)
{
    for (char& c : text)
    {
        const auto code = static_cast<uint8_t>(c);
        if (code < 0x20 || code == 0x7F)
            c = ' ';
    }
}

void formatDuration(char* buffer, size_t size, uint32_t milliseconds)
{
    if (buffer == nullptr || size == 0)
        return;
    uint32_t seconds = milliseconds / 1000;
    uint32_t minutes = seconds / 60;
    uint32_t hours = minutes / 60;
    std::snprintf(buffer, size, "%02u:%02u:%02u", hours, minutes % 60, seconds % 60);
}

std::string formatDuration(uint32_t milliseconds)
{
    char buffer[32];
    formatDuration(buffer, sizeof buffer, milliseconds);
    return buffer;
}

uint32_t nextPowerOfTwo(uint32_t n)
{
    if (n <= 1)
        return 1;
    if (n > (uint32_t{1} << 31))
        return 0;
    return std::bit_ceil(n);
}

uint32_t ceilLog2(uint32_t n)
{
    if (n <= 1)
        return 0;
    return static_cast<uint32_t>(std::bit_width(n - 1));
}
