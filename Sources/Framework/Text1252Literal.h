#pragma once
// Texts inside the program are Windows-1252 bytes, while our sources are
// UTF-8. TEXT_1252("é") converts a literal at compile time into a terminated
// Windows-1252 string with static storage; a character that Windows-1252
// cannot hold stops the build.
#include <cstddef>

namespace Text1252Detail
{

template <std::size_t N> struct Utf8Literal
{
    char8_t bytes[N];
    consteval Utf8Literal(const char8_t (&text)[N])
    {
        for (std::size_t i = 0; i < N; ++i)
            bytes[i] = text[i];
    }
};

template <std::size_t N> struct Converted
{
    char bytes[N] = {};
};

// 0x80 to 0x9F, where Windows-1252 differs from Latin-1.
constexpr char32_t kHighRange[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                     0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

consteval char toByte(char32_t codePoint)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<char>(codePoint);
    for (int i = 0; i < 32; ++i)
        if (kHighRange[i] != 0 && kHighRange[i] == codePoint)
            return static_cast<char>(0x80 + i);
    throw "character without a Windows-1252 form";
}

template <Utf8Literal Text> consteval auto convert()
{
    constexpr std::size_t n = sizeof(Text.bytes);
    Converted<n> out;
    std::size_t o = 0;
    for (std::size_t i = 0; i + 1 < n;)
    {
        unsigned lead = Text.bytes[i];
        char32_t codePoint = 0;
        std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        codePoint = length == 1   ? lead
                    : length == 2 ? (lead & 0x1F)
                    : length == 3 ? (lead & 0x0F)
                                  : (lead & 0x07);
        for (std::size_t k = 1; k < length; ++k)
            codePoint = (codePoint << 6) | (static_cast<unsigned>(Text.bytes[i + k]) & 0x3F);
        out.bytes[o++] = toByte(codePoint);
        i += length;
    }
    return out;
}

template <Utf8Literal Text> inline constexpr auto kText = convert<Text>();

} // namespace Text1252Detail

#define TEXT_1252(literal) (::Text1252Detail::kText<u8##literal>.bytes)
