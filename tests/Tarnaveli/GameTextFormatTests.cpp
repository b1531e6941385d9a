// Language texts filled with values: lang.ini is the player's to edit, so a
// text's places are filled in order and nothing else in it is interpreted.
#include "Tarnaveli/GameTextFormat.h"

#include <gtest/gtest.h>

TEST(GameTextFormat, PlacesAreFilledInOrderAndOtherSequencesStayAsTheyAre)
{
    EXPECT_EQ(formatGameText("%s d\xE9place %s de %c%i en %c%i", {"Ana", "le rat", "A", "3", "A", "4"}),
              "Ana d\xE9place le rat de A3 en A4");
    EXPECT_EQ(formatGameText("100%% %s", {"ok"}), "100% ok");
    // A place beyond the values, and printf sequences that would read or
    // write memory, are kept as text.
    EXPECT_EQ(formatGameText("%s %s %n %x %", {"un"}), "un %s %n %x %");
    EXPECT_EQ(formatGameText("%s", {std::string(300, 'a')}, 256).size(), 256u);
}
