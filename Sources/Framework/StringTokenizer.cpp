#include "Framework/StringTokenizer.h"

StringTokenizer::StringTokenizer(const std::string& text, const std::string& separator, bool skipEmpty)
{
    size_t start = 0;
    for (;;)
    {
        size_t found = separator.empty() ? std::string::npos : text.find(separator, start);
        std::string token =
            text.substr(start, found == std::string::npos ? std::string::npos : found - start);
        if (!token.empty() || !skipEmpty)
            mTokens.push_back(std::move(token));
        if (found == std::string::npos)
            break;
        start = found + 1;
    }
}

bool StringTokenizer::next(std::string& token)
{
    if (mNext >= mTokens.size())
        return false;
    token = mTokens[mNext++];
    return true;
}
