#include "Platform/System/Paths.h"
#include "Platform/System/Text1252.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

TEST(Paths, BackslashPathsMapBelowTheProgramFolder)
{
    Platform::TemporaryDirectory dir;
    Platform::setProgramDirectory(dir.path());
    EXPECT_EQ(Platform::mapPath("data\\setup.ini"), dir.path() + "data/setup.ini");
    EXPECT_EQ(Platform::mapPath("C:\\tmp\\x"), "/tmp/x");
    EXPECT_EQ(Platform::mapPath("/tmp/y"), "/tmp/y");
    EXPECT_TRUE(Platform::isAbsolutePath("C:\\x"));
    EXPECT_FALSE(Platform::isAbsolutePath("data\\x"));
}

TEST(Paths, MissingNamesAreFoundIgnoringCase)
{
    Platform::TemporaryDirectory dir;
    Platform::setProgramDirectory(dir.path());
    std::filesystem::create_directories(dir.path() + "Data/Ressources");
    std::ofstream(dir.path() + "Data/Ressources/Lang.ini") << "x";
    EXPECT_EQ(Platform::mapPath("data\\ressources\\lang.INI"), dir.path() + "Data/Ressources/Lang.ini");
    // A new file in an existing folder keeps its own name.
    EXPECT_EQ(Platform::mapPath("DATA\\new.txt"), dir.path() + "Data/new.txt");
}

TEST(Text1252, RoundTripsEveryAssignedByte)
{
    for (int b = 1; b < 256; ++b)
    {
        std::string one(1, static_cast<char>(b));
        if (Platform::cp1252ToCodePoint(static_cast<unsigned char>(b)) == 0)
            continue;
        EXPECT_EQ(Platform::utf8ToCp1252(Platform::cp1252ToUtf8(one)), one) << b;
    }
    EXPECT_EQ(Platform::cp1252ToUtf8("\x92\x9C"), "\u2019\u0153");
    EXPECT_EQ(Platform::utf8ToCp1252("\u4E2D\xC3"), "??");
}
