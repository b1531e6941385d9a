#pragma once
// The text form of .X files as a tree of data objects: each object has a
// template name, an optional object name, its values (numbers and strings,
// separators dropped) and its child objects in file order, references
// ("{ Name }") included. Templates and the header are kept like any object;
// readers take the objects they know and pass over the others, so frame
// hierarchies, skin weights and animations can be read from the same tree.
// Files are untrusted: the parser checks every token, limits the nesting
// and never reads outside the bytes given.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Platform
{

struct XValue
{
    bool isString = false;
    double number = 0;
    std::string text;
};

struct XObject
{
    std::string type;
    std::string name;
    // A reference to an object defined elsewhere: name holds its name.
    bool isReference = false;
    std::vector<XValue> values;
    std::vector<std::unique_ptr<XObject>> children;
};

// Objects nested deeper than this make the file invalid.
constexpr uint32_t X_MAX_DEPTH = 64;

// Parses a text .X file ("xof 0303txt 0032" and its variants). Binary and
// compressed files are refused. The top-level objects become the children of
// root. False, with root emptied, on anything malformed.
bool parseXFile(const void* data, size_t size, XObject* root);

// Reads an object's values in order, checking types, ranges and counts.
class XValueReader
{
public:
    explicit XValueReader(const XObject& object) : mValues(object.values) {}

    size_t remaining() const { return mValues.size() - mPosition; }
    // A whole number from 0 to max.
    bool readCount(uint32_t* value, uint32_t max = 0xFFFFFFFFu);
    // A finite float.
    bool readFloat(float* value);
    bool readString(std::string* value);
    // True when count items of perItem values each can still be read.
    bool has(uint64_t count, uint64_t perItem) const { return count * perItem <= remaining(); }

private:
    const std::vector<XValue>& mValues;
    size_t mPosition = 0;
};

} // namespace Platform
