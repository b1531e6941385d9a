#include "Framework/XmlReader.h"

#include "Framework/Text1252Literal.h"

namespace
{
bool isBlank(int c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}
} // namespace

ErrorCode XmlReader::setError(ErrorCode code, const std::string& message, const XmlNode* node)
{
    mErrorMessage = message;
    mErrorLine = node != nullptr ? node->line() : mLine;
    mErrorColumn = node != nullptr ? node->column() : mColumn;
    return code;
}

void XmlReader::advance()
{
    // The position is that of the current character; the one after a line
    // feed starts the next line.
    if (mCurrent == '\n')
    {
        ++mLine;
        mColumn = 1;
    }
    else
    {
        ++mColumn;
    }
    mCurrent = mNext;
    mNext = kEnd;
    if (mCurrent != kEnd && mStreamError == ERROR_OK)
    {
        uint8_t byte = 0;
        if (ErrorCode error = mStream->transfer(&byte, 1))
            mStreamError = error;
        else
            mNext = byte;
    }
}

void XmlReader::skipBlanks()
{
    advance();
    skipBlanksFromCurrent();
}

void XmlReader::skipBlanksFromCurrent()
{
    while (isBlank(mCurrent))
        advance();
}

ErrorCode XmlReader::endOfInput()
{
    return mStreamError != ERROR_OK ? mStreamError : ERROR_FILEIO_READERROR;
}

ErrorCode XmlReader::read(BinaryStream& stream, std::unique_ptr<XmlElement>& root)
{
    root.reset();
    mStream = &stream;
    mStreamError = ERROR_OK;
    mLine = 1;
    mColumn = 1;
    mErrorLine = 0;
    mErrorColumn = 0;
    mErrorMessage.clear();

    // The first two characters: the current one and the lookahead.
    mCurrent = kEnd;
    mNext = kEnd;
    uint8_t bytes[2];
    if (ErrorCode error = stream.transfer(&bytes[0], 1))
        mStreamError = error;
    else
    {
        mCurrent = bytes[0];
        if (ErrorCode error = stream.transfer(&bytes[1], 1))
            mStreamError = error;
        else
            mNext = bytes[1];
    }
    skipBlanksFromCurrent();

    ErrorCode result = ERROR_OK;
    std::unique_ptr<XmlNode> node;
    if (mCurrent == kEnd)
        result = endOfInput();
    else if (mCurrent != '<')
        result = setError(ERROR_XML_PARSING_ROOT_MUST_BE_BALISE, "");
    else
        result = readElement(node, 0);

    mStream = nullptr;
    if (result != ERROR_OK)
    {
        if (mErrorMessage.empty())
            setError(result, "Erreur de lecture.");
        return result;
    }
    root.reset(static_cast<XmlElement*>(node.release()));
    return ERROR_OK;
}

ErrorCode XmlReader::readNode(std::unique_ptr<XmlNode>& node, uint32_t depth)
{
    if (mCurrent == kEnd)
        return endOfInput();
    if (mCurrent == '<')
        return readElement(node, depth);
    return readText(node);
}

ErrorCode XmlReader::readText(std::unique_ptr<XmlNode>& node)
{
    uint32_t line = mLine, column = mColumn;
    std::string text(1, static_cast<char>(mCurrent));
    advance();
    while (mCurrent != kEnd && mCurrent != '<' && mCurrent != '>' && mCurrent != '\t' && mCurrent != '\r' &&
           mCurrent != '\n')
    {
        text += static_cast<char>(mCurrent);
        advance();
    }
    // A text always lies inside the root, whose closing tag is still to come.
    if (mCurrent == kEnd)
        return endOfInput();
    if (mCurrent == '\t' || mCurrent == '\r' || mCurrent == '\n')
        skipBlanks();
    node = std::make_unique<XmlText>(std::move(text), line, column);
    return ERROR_OK;
}

ErrorCode XmlReader::readElement(std::unique_ptr<XmlNode>& node, uint32_t depth)
{
    if (depth >= kMaxDepth)
        return setError(ERROR_XML_PARSING_INVALID_CARACTER, "Imbrication trop profonde");
    uint32_t line = mLine, column = mColumn;

    // 1. The name: everything up to '>'.
    std::string name;
    advance();
    while (mCurrent != '>')
    {
        switch (mCurrent)
        {
        case kEnd:
            return endOfInput();
        case '<':
            return setError(ERROR_XML_PARSING_INVALID_CARACTER, "Balise ouvrant non attendue");
        case ' ':
        case '\t':
            return setError(ERROR_XML_PARSING_INVALID_CARACTER, TEXT_1252("attributs non supportés"));
        case '\n':
        case '\r':
            return setError(ERROR_XML_PARSING_INVALID_CARACTER,
                            TEXT_1252("Retours lignes non supportés dans les balises"));
        default:
            name += static_cast<char>(mCurrent);
            advance();
        }
    }
    auto element = std::make_unique<XmlElement>(std::move(name), line, column);
    skipBlanks();

    // 2. The children, up to "</".
    while (!(mCurrent == '<' && mNext == '/'))
    {
        std::unique_ptr<XmlNode> child;
        if (ErrorCode error = readNode(child, depth + 1))
            return error;
        element->addChild(std::move(child));
    }

    // 3. The closing tag, which must repeat the name.
    if (mCurrent != '<')
        return setError(ERROR_XML_PARSING_INVALID_CARACTER, "'<' attendu");
    advance();
    if (mCurrent != '/')
        return setError(ERROR_XML_PARSING_INVALID_CARACTER, "'/' attendu");
    for (char expected : element->name())
    {
        advance();
        if (mCurrent == kEnd)
            return endOfInput();
        if (mCurrent != static_cast<unsigned char>(expected))
            return ERROR_XML_PARSING_INVALID_CARACTER;
    }
    advance();
    if (mCurrent == kEnd)
        return endOfInput();
    if (mCurrent != '>')
        return setError(ERROR_XML_PARSING_INVALID_CARACTER, "'>' attendu");
    // Nothing after the root's closing tag is read.
    if (depth > 0)
        skipBlanks();
    node = std::move(element);
    return ERROR_OK;
}

ErrorCode XmlReader::writeLine(const std::string& text)
{
    std::string line(mIndent, ' ');
    line += text;
    line += "\r\n";
    return mStream->transfer(line.data(), static_cast<uint32_t>(line.size()));
}

ErrorCode XmlReader::writeNode(const XmlNode& node)
{
    if (node.isText())
        return writeLine(static_cast<const XmlText&>(node).text());
    const auto& element = static_cast<const XmlElement&>(node);
    if (ErrorCode error = writeLine("<" + element.name() + ">"))
        return error;
    mIndent += 2;
    for (const auto& child : element.children())
    {
        if (ErrorCode error = writeNode(*child))
            return error;
    }
    mIndent -= 2;
    return writeLine("</" + element.name() + ">");
}

ErrorCode XmlReader::write(BinaryStream& stream, const XmlElement& root)
{
    mStream = &stream;
    mIndent = 0;
    ErrorCode result = writeNode(root);
    if (result == ERROR_OK)
    {
        std::string trailer(kTrailer, kTrailerSize);
        result = stream.transfer(trailer.data(), kTrailerSize);
    }
    mStream = nullptr;
    mIndent = 0;
    return result;
}
