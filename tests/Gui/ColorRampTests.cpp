#include "Gui/ColorRamp.h"

#include <gtest/gtest.h>

#include <limits>

TEST(ColorRamp, TwoColoursGiveTheirEndsAndBlendBetween)
{
    ColorRamp ramp;
    ramp.setColor(0, 0xFF000000);
    ramp.setColor(1, 0x80FF8040);
    EXPECT_EQ(ramp.colorAt(0.0f), 0xFF000000u);
    EXPECT_EQ(ramp.colorAt(1.0f), 0x80FF8040u);
    // Each channel: next * 0.5 + previous * 0.5, each half truncated.
    EXPECT_EQ(ramp.colorAt(0.5f), 0xBF7F4020u);
}

TEST(ColorRamp, ThreeColoursSplitTheRangeInTwo)
{
    ColorRamp ramp;
    ramp.setColor(0, 0xFFFF0000);
    ramp.setColor(1, 0xFF00FF00);
    ramp.setColor(2, 0xFF0000FF);
    EXPECT_EQ(ramp.colorAt(0.5f), 0xFF00FF00u);
    EXPECT_EQ(ramp.colorAt(1.0f), 0xFF0000FFu);
    // Alpha: 255 * 0.5 + 255 * 0.5, each half truncated to 127.
    EXPECT_EQ(ramp.colorAt(0.25f), 0xFE7F7F00u);
}

TEST(ColorRamp, FewerThanTwoColoursIsWhiteAndOutOfRangeFractionsStayOnTheRamp)
{
    ColorRamp ramp;
    EXPECT_EQ(ramp.colorAt(0.3f), 0xFFFFFFFFu);
    ramp.setColor(0, 0xFF123456);
    EXPECT_EQ(ramp.colorAt(0.3f), 0xFFFFFFFFu);
    ramp.setColor(1, 0xFF000000);
    EXPECT_EQ(ramp.colorAt(-3.0f), 0xFF123456u);
    EXPECT_EQ(ramp.colorAt(7.0f), 0xFF000000u);
    EXPECT_EQ(ramp.colorAt(std::numeric_limits<float>::quiet_NaN()), 0xFF123456u);
}
