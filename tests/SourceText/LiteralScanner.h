#pragma once
// Finds string and character literals of a C++ source that hold a byte of
// 0x80 or more outside TEXT_1252(...), the one way accented texts are
// written in Sources: the program's texts are Windows-1252, the sources
// UTF-8, and a literal written any other way reaches the player in the wrong
// encoding. Comments are not literals: they may hold any UTF-8.
#include <string>
#include <string_view>
#include <vector>

struct LiteralFinding
{
    int line;
    std::string why;
};

// The literals of one source text that break the rule, in order.
std::vector<LiteralFinding> findStrayHighBytes(std::string_view source);

// Whether the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool isWellFormedUtf8(std::string_view text);
