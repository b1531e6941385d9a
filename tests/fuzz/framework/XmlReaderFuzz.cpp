// The XML reader on untrusted bytes: a tree or an error with a position.
#include "Framework/BinaryStream.h"
#include "Framework/XmlReader.h"

#include <cstdint>

namespace
{
size_t countNodes(const XmlElement& element, uint32_t depth)
{
    if (depth > XmlReader::kMaxDepth)
        __builtin_trap();
    size_t count = 1;
    for (const auto& child : element.children())
    {
        if (child->line() == 0 || child->column() == 0)
            __builtin_trap();
        if (child->isElement())
            count += countNodes(static_cast<const XmlElement&>(*child), depth + 1);
        else
            ++count;
    }
    return count;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 0xFFFFFFFFu)
        return 0;
    MemoryInputStream stream(data, static_cast<uint32_t>(size));
    XmlReader reader;
    std::unique_ptr<XmlElement> root;
    ErrorCode code = reader.read(stream, root);
    if (code == ERROR_OK)
    {
        if (!root)
            __builtin_trap();
        countNodes(*root, 0);
        root->findChild("Piece");
    }
    else if (root || reader.errorMessage().empty() || reader.errorLine() == 0)
    {
        __builtin_trap();
    }
    return 0;
}
