#include "Framework/ErrorCodes.h"
#include "NetworkDirectPlay/DirectPlayCommon.h"
#include "Platform/System/MessageSink.h"

#include <gtest/gtest.h>

// A session-layer failure names its place as the other services do: the
// caller's line and the source's name in the tree, never the path of the
// machine that built the program.
TEST(DirectPlayFailure, TheBoxNamesTheCallersLineAndTheSourceByItsTreeName)
{
    Platform::ScopedMessageCapture boxes;
    const int line = __LINE__ + 1;
    EXPECT_EQ(DirectPlay::reportFailure("EnumHosts"), ERROR_DPLAY);
    ASSERT_EQ(boxes.messages().size(), 1u);
    const std::string& text = boxes.messages()[0].text;
    EXPECT_NE(text.find(" EnumHosts (line " + std::to_string(line) +
                        " in file Sources\\NetworkDirectPlay\\DirectPlayCommon.cpp)"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find('/'), std::string::npos) << text;
}
