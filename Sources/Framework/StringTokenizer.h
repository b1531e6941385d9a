#pragma once
// Cuts a text at every occurrence of a separator. Each token after the first
// starts one character after the start of the separator that ended the one
// before: with ", " every later token keeps the blank, which the number
// readers of the game description skip.
#include <cstddef>
#include <string>
#include <vector>

class StringTokenizer
{
public:
    StringTokenizer(const std::string& text, const std::string& separator, bool skipEmpty = false);

    size_t count() const { return mTokens.size(); }
    const std::string& token(size_t index) const { return mTokens[index]; }
    const std::vector<std::string>& tokens() const { return mTokens; }
    // The tokens in order: false once every token has been read.
    bool next(std::string& token);

private:
    std::vector<std::string> mTokens;
    size_t mNext = 0;
};
