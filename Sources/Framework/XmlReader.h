#pragma once
// The reader of the game's own strict XML subset: elements without attributes,
// and text; no declarations, comments, entities or self-closing tags. Texts are
// cut at tabs and line breaks, and a '>' inside a text starts a new text node.
// The first syntax error stops the parse and is kept with its line and column
// (both counted from 1) for the caller's message box.
#include "Framework/BinaryStream.h"
#include "Framework/XmlNode.h"

#include <memory>
#include <string>

class XmlReader
{
public:
    // Elements nested deeper than this fail (the reader recurses per level).
    static constexpr uint32_t kMaxDepth = 256;

    XmlReader() = default;

    // Parses one document whose root must be an element (30 otherwise). What
    // follows the root's closing tag is not read; the input may end right
    // there. Syntax errors give 31; input that ends inside the root gives the
    // stream's read error. On failure root is null and the error is kept.
    ErrorCode read(BinaryStream& stream, std::unique_ptr<XmlElement>& root);

    // Keeps the message with the node's position, or the reader's current
    // one, and returns the code. The readers of the tree report their own
    // errors through it in the same form.
    ErrorCode setError(ErrorCode code, const std::string& message, const XmlNode* node = nullptr);

    // Writes the tree in the form the reader takes back: two spaces of
    // indentation per level, each tag and each text on a line of its own
    // ended by "\r\n", then the fixed trailer (which also gives the reader
    // the bytes it looks ahead past the root). Returns the stream's code.
    ErrorCode write(BinaryStream& stream, const XmlElement& root);
    static constexpr const char* kTrailer = "Velmorique.";
    static constexpr uint32_t kTrailerSize = 11;

    uint32_t errorLine() const { return mErrorLine; }
    uint32_t errorColumn() const { return mErrorColumn; }
    const std::string& errorMessage() const { return mErrorMessage; }

private:
    static constexpr int kEnd = -1;

    void advance();
    void skipBlanks();
    void skipBlanksFromCurrent();
    // The code of input that ended where more was needed.
    ErrorCode endOfInput();
    ErrorCode readNode(std::unique_ptr<XmlNode>& node, uint32_t depth);
    ErrorCode readText(std::unique_ptr<XmlNode>& node);
    ErrorCode readElement(std::unique_ptr<XmlNode>& node, uint32_t depth);
    ErrorCode writeNode(const XmlNode& node);
    ErrorCode writeLine(const std::string& text);

    BinaryStream* mStream = nullptr;
    int mCurrent = kEnd;
    int mNext = kEnd;
    ErrorCode mStreamError = ERROR_OK;
    uint32_t mLine = 1;
    uint32_t mColumn = 1;
    // The writer's indentation, in spaces.
    uint32_t mIndent = 0;
    uint32_t mErrorLine = 0;
    uint32_t mErrorColumn = 0;
    std::string mErrorMessage;
};
