#include "Tarnaveli/GameTextFormat.h"

#include <vector>

std::string formatGameText(const std::string& format, std::initializer_list<std::string> values,
                           size_t maxLength)
{
    std::vector<std::string> args(values);
    size_t next = 0;
    std::string out;
    for (size_t i = 0; i < format.size(); ++i)
    {
        const char c = format[i];
        if (c != '%' || i + 1 >= format.size())
        {
            out += c;
            continue;
        }
        const char place = format[i + 1];
        if (place == '%')
        {
            out += '%';
            ++i;
        }
        else if ((place == 's' || place == 'c' || place == 'i' || place == 'd') && next < args.size())
        {
            out += args[next++];
            ++i;
        }
        else
            out += c;
    }
    if (out.size() > maxLength)
        out.resize(maxLength);
    return out;
}
