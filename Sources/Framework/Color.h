#pragma once
// Colours: Color is 32-bit ARGB (0xAARRGGBB) as the engines and skins store
// it; ColorF is four floats from 0 to 1 as the lighting and materials use it.
#include <cstdint>
#include <string>
#include <string_view>

struct ColorF
{
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;

    // Channel by channel.
    ColorF operator*(const ColorF& other) const
    {
        return {r * other.r, g * other.g, b * other.b, a * other.a};
    }
    bool operator==(const ColorF&) const = default;
};

class Color
{
public:
    constexpr Color() = default;
    constexpr Color(uint32_t argb) : mValue(argb) {}
    // Each channel times 255, truncated, clamped to 0..255.
    explicit Color(const ColorF& color);

    constexpr operator uint32_t() const { return mValue; }
    constexpr uint32_t value() const { return mValue; }
    constexpr uint8_t alpha() const { return static_cast<uint8_t>(mValue >> 24); }
    constexpr uint8_t red() const { return static_cast<uint8_t>(mValue >> 16); }
    constexpr uint8_t green() const { return static_cast<uint8_t>(mValue >> 8); }
    constexpr uint8_t blue() const { return static_cast<uint8_t>(mValue); }
    void setRed(uint8_t red) { mValue = (mValue & 0xFF00FFFFu) | (uint32_t{red} << 16); }
    void setGreen(uint8_t green) { mValue = (mValue & 0xFFFF00FFu) | (uint32_t{green} << 8); }
    void setBlue(uint8_t blue) { mValue = (mValue & 0xFFFFFF00u) | blue; }

    // Every channel, alpha included, times the factor, clamped to 0..255.
    Color scaled(float factor) const;

    // The colour text of the 2D text's colour codes: 8 digits, the first one
    // the lowest nibble. Only '0'-'9' and 'A'-'F' count; any other character
    // is 0, and reading stops at the end of the text (or a NUL), the missing
    // digits being 0.
    static Color fromHexText(std::string_view text);
    // The 8 digits in the same order, upper case.
    std::string toHexText() const;

private:
    uint32_t mValue = 0;
};
