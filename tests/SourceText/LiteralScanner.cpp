#include "LiteralScanner.h"

#include <cctype>
#include <cstdint>

namespace
{
bool isIdentifierByte(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

bool isLiteralPrefix(std::string_view word)
{
    return word == "u8" || word == "u" || word == "U" || word == "L" || word == "R" || word == "u8R" ||
           word == "uR" || word == "UR" || word == "LR";
}

class Scanner
{
public:
    explicit Scanner(std::string_view source) : mText(source) {}

    std::vector<LiteralFinding> run()
    {
        while (mAt < mText.size())
        {
            char c = mText[mAt];
            if (c == '\n')
            {
                ++mLine;
                ++mAt;
            }
            else if (startsWith("//"))
                skipLineComment();
            else if (startsWith("/*"))
                skipBlockComment();
            else if (c == '"' || c == '\'')
                literal(c, false, false);
            else if (std::isdigit(static_cast<unsigned char>(c)))
                skipNumber();
            else if (isIdentifierByte(c))
                word();
            else
                punctuation(c);
        }
        return std::move(mFindings);
    }

private:
    bool startsWith(std::string_view what) const { return mText.substr(mAt, what.size()) == what; }

    void skipLineComment()
    {
        // A backslash at the end of the line continues the comment.
        while (mAt < mText.size() && mText[mAt] != '\n')
        {
            if (mText[mAt] == '\\' && mAt + 1 < mText.size() && mText[mAt + 1] == '\n')
            {
                ++mLine;
                ++mAt;
            }
            ++mAt;
        }
    }

    void skipBlockComment()
    {
        mAt += 2;
        while (mAt < mText.size() && !startsWith("*/"))
            mLine += mText[mAt++] == '\n';
        mAt += 2;
    }

    // pp-numbers, so that a digit separator (1'000) opens no character literal.
    void skipNumber()
    {
        while (mAt < mText.size())
        {
            char c = mText[mAt];
            if ((c == '+' || c == '-') &&
                std::string_view("eEpP").find(mText[mAt - 1]) != std::string_view::npos)
                ++mAt;
            else if (c == '\'' && mAt + 1 < mText.size() && isIdentifierByte(mText[mAt + 1]))
                mAt += 2;
            else if (isIdentifierByte(c) || c == '.')
                ++mAt;
            else
                break;
        }
    }

    void word()
    {
        size_t start = mAt;
        while (mAt < mText.size() && isIdentifierByte(mText[mAt]))
            ++mAt;
        std::string_view name = mText.substr(start, mAt - start);
        if (mAt < mText.size() && (mText[mAt] == '"' || mText[mAt] == '\'') && isLiteralPrefix(name))
        {
            // u, U and L literals hold code points, not the bytes of a text.
            const bool wide = name[0] == 'U' || name[0] == 'L' || (name[0] == 'u' && !name.starts_with("u8"));
            literal(mText[mAt], name.back() == 'R' && mText[mAt] == '"', wide);
            return;
        }
        mAfterMacro = name == "TEXT_1252";
    }

    void punctuation(char c)
    {
        if (c == '(')
        {
            ++mDepth;
            if (mAfterMacro && mTextDepth == 0)
                mTextDepth = mDepth;
        }
        else if (c == ')')
        {
            if (mDepth == mTextDepth)
                mTextDepth = 0;
            if (mDepth > 0)
                --mDepth;
        }
        if (!std::isspace(static_cast<unsigned char>(c)))
            mAfterMacro = false;
        ++mAt;
    }

    void report(int line, std::string why) { mFindings.push_back({line, std::move(why)}); }

    void literal(char quote, bool raw, bool wide)
    {
        const bool inText = mTextDepth != 0 || wide;
        const int line = mLine;
        bool rawByte = false;
        ++mAt;
        if (raw)
        {
            size_t open = mText.find('(', mAt);
            std::string closing = ")" + std::string(mText.substr(mAt, open - mAt)) + "\"";
            size_t end = mText.find(closing, open);
            for (size_t i = open; i < end && i < mText.size(); ++i)
            {
                rawByte |= static_cast<unsigned char>(mText[i]) >= 0x80;
                mLine += mText[i] == '\n';
            }
            mAt = end == std::string_view::npos ? mText.size() : end + closing.size();
        }
        else
        {
            while (mAt < mText.size() && mText[mAt] != quote && mText[mAt] != '\n')
            {
                if (mText[mAt] == '\\')
                    escape(line, inText);
                else
                    rawByte |= static_cast<unsigned char>(mText[mAt++]) >= 0x80;
            }
            ++mAt;
        }
        if (rawByte && !inText)
            report(line, "a non-ASCII character outside TEXT_1252");
        mAfterMacro = false;
    }

    void escape(int line, bool inText)
    {
        ++mAt;
        char kind = mAt < mText.size() ? mText[mAt] : 0;
        auto digits = [&](int base, size_t most)
        {
            uint32_t value = 0;
            size_t count = 0;
            while (mAt < mText.size() && count < most)
            {
                int digit = std::isdigit(static_cast<unsigned char>(mText[mAt])) ? mText[mAt] - '0'
                            : std::isxdigit(static_cast<unsigned char>(mText[mAt]))
                                ? std::tolower(static_cast<unsigned char>(mText[mAt])) - 'a' + 10
                                : 99;
                if (digit >= base)
                    break;
                value = value * static_cast<uint32_t>(base) + static_cast<uint32_t>(digit);
                ++mAt;
                ++count;
            }
            return value;
        };
        if (kind == 'x')
        {
            ++mAt;
            if (digits(16, 8) >= 0x80)
                report(line, "a \\x escape of 0x80 or more: write the character inside TEXT_1252");
        }
        else if (kind >= '0' && kind <= '7')
        {
            if (digits(8, 3) >= 0x80)
                report(line, "an octal escape of 0x80 or more: write the character inside TEXT_1252");
        }
        else if (kind == 'u' || kind == 'U')
        {
            ++mAt;
            if (digits(16, kind == 'u' ? 4 : 8) >= 0x80 && !inText)
                report(line, "a universal character name outside TEXT_1252");
        }
        else
        {
            mLine += kind == '\n';
            ++mAt;
        }
    }

    std::string_view mText;
    size_t mAt = 0;
    int mLine = 1;
    int mDepth = 0;
    // The parenthesis depth of the TEXT_1252 call being read, 0 outside one.
    int mTextDepth = 0;
    bool mAfterMacro = false;
    std::vector<LiteralFinding> mFindings;
};
} // namespace

std::vector<LiteralFinding> findStrayHighBytes(std::string_view source)
{
    return Scanner(source).run();
}

bool isWellFormedUtf8(std::string_view text)
{
    for (size_t i = 0; i < text.size();)
    {
        auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
        unsigned lead = byte(i);
        size_t length = lead < 0x80                   ? 1
                        : lead >= 0xC2 && lead < 0xE0 ? 2
                        : lead >= 0xE0 && lead < 0xF0 ? 3
                        : lead >= 0xF0 && lead < 0xF5 ? 4
                                                      : 0;
        if (length == 0 || i + length > text.size())
            return false;
        uint32_t codePoint = length == 1 ? lead : lead & (0x7F >> length);
        for (size_t k = 1; k < length; ++k)
        {
            if ((byte(i + k) & 0xC0) != 0x80)
                return false;
            codePoint = (codePoint << 6) | (byte(i + k) & 0x3F);
        }
        const uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (codePoint < smallest[length] || codePoint > 0x10FFFF ||
            (codePoint >= 0xD800 && codePoint < 0xE000))
            return false;
        i += length;
    }
    return true;
}
