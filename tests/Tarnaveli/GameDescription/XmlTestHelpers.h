#pragma once
// Builds a document tree from a text in a line, for the object reader tests.
#include "Framework/XmlReader.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace GameDescriptionTest
{

inline std::unique_ptr<XmlElement> parseXml(const std::string& text)
{
    // The reader looks two bytes ahead: the document needs a tail.
    std::string document = text + "\r\n<!-- -->";
    MemoryInputStream stream(document.data(), static_cast<uint32_t>(document.size()));
    XmlReader reader;
    std::unique_ptr<XmlElement> root;
    ErrorCode code = reader.read(stream, root);
    EXPECT_EQ(code, ERROR_OK) << reader.errorMessage() << " at " << reader.errorLine() << ":"
                              << reader.errorColumn();
    return root;
}

} // namespace GameDescriptionTest
