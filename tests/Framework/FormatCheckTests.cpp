// Which translated format texts may stand in for a built-in one.
#include "Framework/FormatCheck.h"

#include <gtest/gtest.h>

TEST(FormatCheck, ArgumentsAreListedInOrder)
{
    EXPECT_EQ(formatArguments("%s déplace %s de %c%i en %c%i"), "s s i i i i ");
    EXPECT_EQ(formatArguments("Essai %i/%i"), "i i ");
    EXPECT_EQ(formatArguments("100%% sans argument"), "");
    EXPECT_EQ(formatArguments("%-8.3f %*d %lu %lld %.*s"), "f i i li lli i s ");
    EXPECT_EQ(formatArguments("%hhu %hd"), "i i ");
}

TEST(FormatCheck, MalformedOrDangerousFormatsHaveNoArgumentList)
{
    EXPECT_FALSE(formatArguments("50%"));
    EXPECT_FALSE(formatArguments("%n"));
    EXPECT_FALSE(formatArguments("%1$s"));
    EXPECT_FALSE(formatArguments("%y"));
    EXPECT_FALSE(formatArguments("%lp"));
}

TEST(FormatCheck, TranslationMustReadTheSameArguments)
{
    EXPECT_TRUE(formatsAgree("Erreur %s", "Error: %s!"));
    EXPECT_TRUE(formatsAgree("Essai %i/%i", "Try %d of %d"));
    EXPECT_TRUE(formatsAgree("Erreur de rendu.", "Rendering error (100%%)."));
    EXPECT_FALSE(formatsAgree("Erreur %s", "Erreur %s %s"));
    EXPECT_FALSE(formatsAgree("Erreur %s", "Erreur %i"));
    EXPECT_FALSE(formatsAgree("Erreur de rendu.", "Erreur %s"));
    EXPECT_FALSE(formatsAgree("Erreur de rendu.", "Erreur 100%"));
    EXPECT_FALSE(formatsAgree("%s a rejoint la partie.", "a rejoint la partie."));
}
