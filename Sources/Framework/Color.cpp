#include "Framework/Color.h"

namespace
{
// Truncates toward zero and clamps; NaN gives 0.
uint32_t toByte(float value)
{
    if (!(value > 0.0f))
        return 0;
    if (value >= 255.0f)
        return 255;
    return static_cast<uint32_t>(value);
}

uint32_t hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return static_cast<uint32_t>(c - '0');
    if (c >= 'A' && c <= 'F')
        return static_cast<uint32_t>(c - 'A' + 10);
    return 0;
}
} // namespace

Color::Color(const ColorF& color)
    : mValue(toByte(color.a * 255.0f) << 24 | toByte(color.r * 255.0f) << 16 | toByte(color.g * 255.0f) << 8 |
             toByte(color.b * 255.0f))
{
}

Color Color::scaled(float factor) const
{
    return Color(toByte(alpha() * factor) << 24 | toByte(red() * factor) << 16 |
                 toByte(green() * factor) << 8 | toByte(blue() * factor));
}

Color Color::fromHexText(std::string_view text)
{
    uint32_t value = 0;
    for (size_t i = 0; i < 8 && i < text.size() && text[i] != '\0'; ++i)
        value |= hexDigitValue(text[i]) << (4 * i);
    return Color(value);
}

std::string Color::toHexText() const
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text(8, '0');
    for (size_t i = 0; i < 8; ++i)
        text[i] = kDigits[(mValue >> (4 * i)) & 0xF];
    return text;
}
