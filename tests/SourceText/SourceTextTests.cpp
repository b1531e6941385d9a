// Accented texts are written one way in Sources: as UTF-8 inside TEXT_1252,
// which makes them Windows-1252 at compile time. Any other byte of 0x80 or
// more in a literal would reach the player in the wrong encoding.
#include "LiteralScanner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace
{
std::vector<int> linesOf(std::string_view source)
{
    std::vector<int> lines;
    for (const LiteralFinding& finding : findStrayHighBytes(source))
        lines.push_back(finding.line);
    return lines;
}
} // namespace

TEST(SourceText, OnlyTextsInsideTheConverterMayHoldAccents)
{
    EXPECT_EQ(linesOf("f(TEXT_1252(\"d\xC3\xA9j\xC3\xA0\"));\n"
                      "f(TEXT_1252 (\"a\"\n   \"\xC3\xA9t\xC3\xA9\"), \"plain\");\n"
                      "X(1, KEY, TEXT_1252(\"Cr\xC3\xA9"
                      "er\")) \\\n"),
              std::vector<int>{});
    // Raw UTF-8, escapes and universal names outside the converter; an
    // escape inside it, which it would read as a broken UTF-8 sequence.
    EXPECT_EQ(linesOf("showMessage(\"Son non initialis\xC3\xA9 %i\", id);\n"
                      "f(\"d\\xE9j\\xE0\");\n"
                      "f(\"\\351\", \"\\u00E9\", TEXT_1252(\"\\xE9\"));\n"
                      "char c = '\xC3\xA9';\n"
                      "auto raw = R\"x(\n\xC3\xA9)x\";\n"
                      "f(TEXT_1252(\"a\"), \"\xC3\xA9\");\n"),
              (std::vector<int>{1, 2, 2, 3, 3, 3, 4, 5, 7}));
    // ASCII escapes are fine; a digit separator opens no character literal.
    EXPECT_EQ(linesOf("f(\"\\x7F\\n\\\"\\177\", '\\'', 1'000'000, \"\\u0041\");\n"), std::vector<int>{});
    // Wide literals hold code points, not the bytes of a text.
    EXPECT_EQ(linesOf("c == U'\\uFFFD' || w == L\"\xC3\xA9\";\n"), std::vector<int>{});
}

TEST(SourceText, CommentsMayHoldAccentsButNotLiteralsHiddenInThem)
{
    // Comments are read by people, never shown to players: UTF-8 is welcome.
    EXPECT_EQ(linesOf("// Le caract\xC3\xA8re \"\xC3\xA9\"\n/* d\xC3\xA9j\xC3\xA0 \"\xC3\xA9\" */ int a;\n"
                      "f(\"\xC3\xA9\"); // \xC3\xA9\n"),
              std::vector<int>{3});
    EXPECT_TRUE(isWellFormedUtf8("caract\xC3\xA8re \xE2\x80\x99"));
    EXPECT_FALSE(isWellFormedUtf8("caract\xE8re"));
    EXPECT_FALSE(isWellFormedUtf8("\xC0\xA9"));
    EXPECT_FALSE(isWellFormedUtf8("\xED\xA0\x80"));
    EXPECT_FALSE(isWellFormedUtf8("\xC3"));
}

TEST(SourceText, EverySourceWritesItsAccentedTextsThroughTheConverter)
{
    const std::filesystem::path root = std::filesystem::path(VELMORIQUE_SOURCE_DIR) / "Sources";
    ASSERT_TRUE(std::filesystem::is_directory(root)) << root;
    std::ostringstream problems;
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
    {
        const std::string extension = entry.path().extension().string();
        if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".h"))
            continue;
        ++files;
        std::ifstream in(entry.path(), std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const std::string name = std::filesystem::relative(entry.path(), root.parent_path()).string();
        if (!isWellFormedUtf8(text))
            problems << name << ": not UTF-8\n";
        for (const LiteralFinding& finding : findStrayHighBytes(text))
            problems << name << ":" << finding.line << ": " << finding.why << "\n";
    }
    EXPECT_GT(files, 100);
    EXPECT_EQ(problems.str(), "");
}
