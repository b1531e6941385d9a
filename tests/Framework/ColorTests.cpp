#include "Framework/Color.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Color, HexTextDigitsRunFromTheLowestNibble)
{
    EXPECT_EQ(Color::fromHexText("00000000").value(), 0u);
    EXPECT_EQ(Color::fromHexText("F0000000").value(), 15u);
    EXPECT_EQ(Color::fromHexText("0000000F").value(), 15u << 28);
    EXPECT_EQ(Color::fromHexText("ffffffff").value(), 0u); // lower case is not a digit
    EXPECT_EQ(Color::fromHexText("21000000xyz").value(), 0x12u);

    Color color(0xFF8040C0u);
    EXPECT_EQ(color.toHexText(), "0C0408FF");
    EXPECT_EQ(Color::fromHexText(color.toHexText()), color);
}

TEST(Color, HexTextStopsAtTheEndOfTheText)
{
    EXPECT_EQ(Color::fromHexText("").value(), 0u);
    EXPECT_EQ(Color::fromHexText("FF").value(), 0xFFu);
    // A colour code near the end of a text must not read beyond it.
    std::string_view cut = std::string_view("A1B2C3D4").substr(0, 3);
    EXPECT_EQ(Color::fromHexText(cut).value(), 0xB1Au);
    EXPECT_EQ(Color::fromHexText(std::string_view("1\0"
                                                  "FFFFFF",
                                                  8))
                  .value(),
              1u);
}

TEST(Color, ChannelsFromFloatsAndScalingClamp)
{
    Color fromFloats(ColorF{1.5f, 0.5f, -1.0f, 1.0f});
    EXPECT_EQ(fromFloats.value(), 0xFFFF7F00u);
    EXPECT_EQ(Color(ColorF{std::nanf(""), 0, 0, 0}).value(), 0u);

    Color color(0x80402010u);
    EXPECT_EQ(color.scaled(2.0f).value(), 0xFF804020u);
    EXPECT_EQ(color.scaled(0.5f).value(), 0x40201008u);
    EXPECT_EQ(color.scaled(-1.0f).value(), 0u);

    color.setRed(0x11);
    color.setGreen(0x22);
    color.setBlue(0x33);
    EXPECT_EQ(color.value(), 0x80112233u);
    EXPECT_EQ(color.alpha(), 0x80);

    ColorF product = ColorF{0.5f, 1.0f, 0.25f, 1.0f} * ColorF{0.5f, 0.5f, 1.0f, 0.0f};
    EXPECT_EQ(product, (ColorF{0.25f, 0.5f, 0.25f, 0.0f}));
}
