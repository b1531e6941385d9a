#include "Framework/StringTokenizer.h"
#include "Framework/Utilities.h"

#include <gtest/gtest.h>

TEST(StringFormat, CutsAtTheMaximumAndAlwaysTerminates)
{
    std::string text = "previous";
    EXPECT_EQ(stringFormat(text, 5, "%s-%i", "abcdef", 42), 5u);
    EXPECT_EQ(text, "abcde");
    EXPECT_EQ(stringFormat(text, 255, "%02i:%s", 7, "x"), 4u);
    EXPECT_EQ(text, "07:x");
    stringFormat(text, 0, "%s", "anything");
    EXPECT_EQ(text, "");
}

TEST(EscapeString, LineFeedsAndBackslashesRoundTrip)
{
    std::string original = "a\nb\\c\\\\d\n";
    EXPECT_EQ(escapeString(original), "a\\nb\\\\c\\\\\\\\d\\n");
    EXPECT_EQ(unescapeString(escapeString(original)), original);
    // Other backslashes, and one at the very end, stay as they are.
    EXPECT_EQ(unescapeString("a\\tb\\"), "a\\tb\\");
    EXPECT_EQ(unescapeString("\\\\n"), "\\n");
}

TEST(ToLowerAscii, OnlyChangesAToZ)
{
    std::string text = "AbZ-\xC9t\xE9@[";
    toLowerAscii(text);
    EXPECT_EQ(text, "abz-\xC9t\xE9@[");
}

TEST(FormatDuration, HoursMinutesSecondsTruncated)
{
    EXPECT_EQ(formatDuration(3723000), "01:02:03");
    EXPECT_EQ(formatDuration(999), "00:00:00");
    EXPECT_EQ(formatDuration(360000000), "100:00:00");
    char small[4];
    formatDuration(small, sizeof small, 3723000);
    EXPECT_STREQ(small, "01:");
}

TEST(PowersOfTwo, DefinedFromZeroToTheTopBit)
{
    EXPECT_EQ(nextPowerOfTwo(0), 1u);
    EXPECT_EQ(nextPowerOfTwo(1), 1u);
    EXPECT_EQ(nextPowerOfTwo(5), 8u);
    EXPECT_EQ(nextPowerOfTwo(8), 8u);
    EXPECT_EQ(nextPowerOfTwo(0x80000000u), 0x80000000u);
    EXPECT_EQ(nextPowerOfTwo(0x80000001u), 0u);
    EXPECT_EQ(ceilLog2(0), 0u);
    EXPECT_EQ(ceilLog2(1), 0u);
    EXPECT_EQ(ceilLog2(2), 1u);
    EXPECT_EQ(ceilLog2(5), 3u);
    EXPECT_EQ(ceilLog2(8), 3u);
    EXPECT_EQ(ceilLog2(0xFFFFFFFFu), 32u);
}

TEST(StringTokenizer, LaterTokensStartOneCharacterIntoTheSeparator)
{
    StringTokenizer tokens("1, 2", ", ");
    ASSERT_EQ(tokens.count(), 2u);
    EXPECT_EQ(tokens.token(0), "1");
    EXPECT_EQ(tokens.token(1), " 2");

    StringTokenizer plain("a;;b;", ";");
    EXPECT_EQ(plain.tokens(), (std::vector<std::string>{"a", "", "b", ""}));
    StringTokenizer skipping("a;;b;", ";", true);
    EXPECT_EQ(skipping.tokens(), (std::vector<std::string>{"a", "b"}));

    std::string token;
    EXPECT_TRUE(skipping.next(token));
    EXPECT_EQ(token, "a");
    EXPECT_TRUE(skipping.next(token));
    EXPECT_EQ(token, "b");
    EXPECT_FALSE(skipping.next(token));
}

TEST(StringTokenizer, EmptyTextOrSeparator)
{
    EXPECT_EQ(StringTokenizer("", ",").count(), 1u);
    EXPECT_EQ(StringTokenizer("", ",", true).count(), 0u);
    StringTokenizer whole("a,b", "");
    ASSERT_EQ(whole.count(), 1u);
    EXPECT_EQ(whole.token(0), "a,b");
}
