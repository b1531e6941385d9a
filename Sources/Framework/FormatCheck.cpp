#include "Framework/FormatCheck.h"

namespace
{
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
} // namespace

std::optional<std::string> formatArguments(std::string_view format)
{
    std::string arguments;
    size_t i = 0;
    while (i < format.size())
    {
        if (format[i++] != '%')
            continue;
        if (i < format.size() && format[i] == '%')
        {
            ++i;
            continue;
        }
        while (i < format.size() && std::string_view("-+ #0'").find(format[i]) != std::string_view::npos)
            ++i;
        // Width: a number or an int argument; a number followed by '$' is a numbered argument.
        if (i < format.size() && format[i] == '*')
        {
            arguments += "i ";
            ++i;
        }
        else
        {
            while (i < format.size() && isDigit(format[i]))
                ++i;
            if (i < format.size() && format[i] == '$')
                return std::nullopt;
        }
        if (i < format.size() && format[i] == '.')
        {
            ++i;
            if (i < format.size() && format[i] == '*')
            {
                arguments += "i ";
                ++i;
            }
            else
                while (i < format.size() && isDigit(format[i]))
                    ++i;
        }
        // Length: h and hh are promoted to int and read like it.
        std::string length;
        while (i < format.size() && std::string_view("hlLjzt").find(format[i]) != std::string_view::npos)
        {
            if (format[i] != 'h')
                length += format[i];
            ++i;
        }
        if (i >= format.size())
            return std::nullopt;
        char conversion = format[i++];
        char kind;
        switch (conversion)
        {
        case 'd':
        case 'i':
        case 'o':
        case 'u':
        case 'x':
        case 'X':
        case 'c':
            kind = 'i';
            break;
        case 'e':
        case 'E':
        case 'f':
        case 'F':
        case 'g':
        case 'G':
        case 'a':
        case 'A':
            kind = 'f';
            break;
        case 's':
            kind = 's';
            break;
        case 'p':
            kind = 'p';
            break;
        default:
            return std::nullopt;
        }
        if (kind == 'p' && !length.empty())
            return std::nullopt;
        arguments += length;
        arguments += kind;
        arguments += ' ';
    }
    return arguments;
}

bool formatsAgree(std::string_view reference, std::string_view candidate)
{
    std::optional<std::string> expected = formatArguments(reference);
    std::optional<std::string> found = formatArguments(candidate);
    return expected && found && *expected == *found;
}
