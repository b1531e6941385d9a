#include "Platform/Mesh/XFileData.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace Platform
{

namespace
{

enum class Token
{
    End,
    Error,
    Open,
    Close,
    Name,
    Number,
    String,
    Other
};

class Tokenizer
{
public:
    Tokenizer(const char* text, size_t size) : mText(text), mSize(size) {}

    Token next()
    {
        skipBlanks();
        if (mPosition >= mSize)
            return Token::End;
        char c = mText[mPosition];
        if (c == '{')
        {
            ++mPosition;
            return Token::Open;
        }
        if (c == '}')
        {
            ++mPosition;
            return Token::Close;
        }
        if (c == ';' || c == ',' || c == '[' || c == ']')
        {
            ++mPosition;
            return Token::Other;
        }
        if (c == '<')
        {
            // A GUID: nothing in it matters to a reader.
            while (mPosition < mSize && mText[mPosition] != '>')
                ++mPosition;
            if (mPosition >= mSize)
                return Token::Error;
            ++mPosition;
            return Token::Other;
        }
        if (c == '"')
        {
            size_t start = ++mPosition;
            while (mPosition < mSize && mText[mPosition] != '"')
                ++mPosition;
            if (mPosition >= mSize)
                return Token::Error;
            mWord.assign(mText + start, mPosition - start);
            ++mPosition;
            return Token::String;
        }
        if (startsNumber())
            return number();
        if (isNameStart(c))
        {
            size_t start = mPosition;
            while (mPosition < mSize && isNameChar(mText[mPosition]))
                ++mPosition;
            mWord.assign(mText + start, mPosition - start);
            return Token::Name;
        }
        if (c == '.')
        {
            // The "[...]" of an open template.
            ++mPosition;
            return Token::Other;
        }
        return Token::Error;
    }

    const std::string& word() const { return mWord; }
    double value() const { return mNumber; }

private:
    static bool isDigit(char c) { return c >= '0' && c <= '9'; }
    static bool isNameStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
    static bool isNameChar(char c) { return isNameStart(c) || isDigit(c) || c == '-' || c == '.'; }

    // "5", "-5", ".5", "-.5"; not the "..." of a template.
    bool startsNumber() const
    {
        size_t at = mPosition;
        if (mText[at] == '-' || mText[at] == '+')
            ++at;
        if (at < mSize && mText[at] == '.')
            ++at;
        return at < mSize && isDigit(mText[at]);
    }

    void skipBlanks()
    {
        while (mPosition < mSize)
        {
            char c = mText[mPosition];
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v')
                ++mPosition;
            else if (c == '#' || (c == '/' && mPosition + 1 < mSize && mText[mPosition + 1] == '/'))
            {
                while (mPosition < mSize && mText[mPosition] != '\n')
                    ++mPosition;
            }
            else
                break;
        }
    }

    Token number()
    {
        // Copied into a terminated buffer so that strtod cannot run past the
        // end of the file's bytes.
        size_t start = mPosition;
        if (mText[mPosition] == '-' || mText[mPosition] == '+')
            ++mPosition;
        while (mPosition < mSize && (isDigit(mText[mPosition]) || mText[mPosition] == '.'))
            ++mPosition;
        if (mPosition < mSize && (mText[mPosition] == 'e' || mText[mPosition] == 'E'))
        {
            size_t mark = mPosition++;
            if (mPosition < mSize && (mText[mPosition] == '-' || mText[mPosition] == '+'))
                ++mPosition;
            if (mPosition < mSize && isDigit(mText[mPosition]))
            {
                while (mPosition < mSize && isDigit(mText[mPosition]))
                    ++mPosition;
            }
            else
                mPosition = mark;
        }
        size_t length = mPosition - start;
        if (length > 63)
            return Token::Error;
        char buffer[64];
        std::memcpy(buffer, mText + start, length);
        buffer[length] = 0;
        char* end = nullptr;
        mNumber = std::strtod(buffer, &end);
        if (end != buffer + length)
            return Token::Error;
        return Token::Number;
    }

    const char* mText;
    size_t mSize;
    size_t mPosition = 0;
    std::string mWord;
    double mNumber = 0;
};

class Parser
{
public:
    Parser(const char* text, size_t size) : mTokens(text, size) {}

    // Reads objects until the end (depth 0) or the closing brace.
    bool readBody(XObject* object, uint32_t depth)
    {
        Token token = mTokens.next();
        for (;;)
        {
            switch (token)
            {
            case Token::End:
                return depth == 0;
            case Token::Error:
                return false;
            case Token::Close:
                return depth > 0;
            case Token::Number:
                object->values.push_back({false, mTokens.value(), {}});
                token = mTokens.next();
                break;
            case Token::String:
                object->values.push_back({true, 0, mTokens.word()});
                token = mTokens.next();
                break;
            case Token::Other:
                token = mTokens.next();
                break;
            case Token::Open:
            {
                // A reference: "{ Name }" (a GUID may stand beside the name).
                auto reference = std::make_unique<XObject>();
                reference->isReference = true;
                for (token = mTokens.next(); token != Token::Close; token = mTokens.next())
                {
                    if (token == Token::Name && reference->name.empty())
                        reference->name = mTokens.word();
                    else if (token != Token::Other)
                        return false;
                }
                if (reference->name.empty())
                    return false;
                object->children.push_back(std::move(reference));
                token = mTokens.next();
                break;
            }
            case Token::Name:
            {
                if (depth >= X_MAX_DEPTH)
                    return false;
                auto child = std::make_unique<XObject>();
                child->type = mTokens.word();
                token = mTokens.next();
                if (token == Token::Name)
                {
                    child->name = mTokens.word();
                    token = mTokens.next();
                }
                if (token != Token::Open)
                    return false;
                if (child->type == "template")
                {
                    if (!skipTemplate())
                        return false;
                }
                else if (!readBody(child.get(), depth + 1))
                    return false;
                object->children.push_back(std::move(child));
                token = mTokens.next();
                break;
            }
            }
        }
    }

private:
    // A template describes a layout; readers know the layouts they need.
    bool skipTemplate()
    {
        for (;;)
        {
            Token token = mTokens.next();
            if (token == Token::Close)
                return true;
            if (token == Token::End || token == Token::Error || token == Token::Open)
                return false;
        }
    }

    Tokenizer mTokens;
};

} // namespace

bool parseXFile(const void* data, size_t size, XObject* root)
{
    *root = XObject{};
    const char* text = static_cast<const char*>(data);
    // "xof " version (4) format (4) float size (4).
    if (text == nullptr || size < 16 || std::memcmp(text, "xof ", 4) != 0 ||
        std::memcmp(text + 8, "txt ", 4) != 0)
        return false;
    Parser parser(text + 16, size - 16);
    if (!parser.readBody(root, 0))
    {
        *root = XObject{};
        return false;
    }
    return true;
}

bool XValueReader::readCount(uint32_t* value, uint32_t max)
{
    if (mPosition >= mValues.size() || mValues[mPosition].isString)
        return false;
    double number = mValues[mPosition].number;
    if (!(number >= 0 && number <= double(max)) || number != std::floor(number))
        return false;
    *value = static_cast<uint32_t>(number);
    ++mPosition;
    return true;
}

bool XValueReader::readFloat(float* value)
{
    if (mPosition >= mValues.size() || mValues[mPosition].isString)
        return false;
    double number = mValues[mPosition].number;
    float single = static_cast<float>(number);
    if (!std::isfinite(single))
        return false;
    *value = single;
    ++mPosition;
    return true;
}

bool XValueReader::readString(std::string* value)
{
    if (mPosition >= mValues.size() || !mValues[mPosition].isString)
        return false;
    *value = mValues[mPosition].text;
    ++mPosition;
    return true;
}

} // namespace Platform
