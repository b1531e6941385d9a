// Error codes to texts, result-code names and the two error boxes.
#include "Framework/ErrorText.h"
#include "TestApplication.h"

#include <gtest/gtest.h>

TEST(ErrorText, CodesMapToTheirLanguageIds)
{
    EXPECT_EQ(errorCodeLangId(ERROR_OK), 33u);
    EXPECT_EQ(errorCodeLangId(ERROR_NOT_YET_IMPLEMENTED), 56u);
    EXPECT_EQ(errorCodeLangId(ERROR_NO_TCP_IP), 26u);
    EXPECT_EQ(errorCodeLangId(ERROR_NETWORK_INVALID_HOST_ADRESS), 31u);
    EXPECT_EQ(errorCodeLangId(ERROR_XML_PARSING_ROOT_MUST_BE_BALISE), 57u);
    EXPECT_EQ(errorCodeLangId(ERROR_DOM_INTERPRETING_SHOULD_BE_ONE_TEXT), 60u);
    EXPECT_STREQ(errorCodeIdentifier(ERROR_FILEIO_EOF), "ERROR_FILEIO_EOF");
    EXPECT_EQ(errorCodeIdentifier(ERROR_COUNT), nullptr);
}

TEST(ErrorText, WithoutAnApplicationCodesShowTheirIdentifiers)
{
    ASSERT_EQ(getApplication(), nullptr);
    EXPECT_EQ(errorCodeToText(ERROR_FILEIO_EOF), "ERROR_FILEIO_EOF");
    EXPECT_EQ(errorCodeToText(ERROR_OK), "ERROR_OK");
    EXPECT_EQ(errorCodeToText(34), gTextUnavailable);
    EXPECT_EQ(errorCodeToText(0xFFFFFFFF), gTextUnavailable);
}

TEST(ErrorText, BeforeLoadingTheTableCodesShowTheirIdentifiers)
{
    TestApplication app;
    EXPECT_EQ(errorCodeToText(ERROR_NO_TCP_IP), "ERROR_NO_TCP_IP");
    EXPECT_EQ(errorCodeToText(34), gTextUnavailable);
}

TEST(ErrorText, ResultCodesHaveTheirPublishedNames)
{
    EXPECT_STREQ(resultCodeName(0x88760868), "D3DERR_DEVICELOST");
    EXPECT_STREQ(resultCodeName(0x8876086A), "D3DERR_NOTAVAILABLE");
    EXPECT_STREQ(resultCodeName(0x88780096), "DSERR_BUFFERLOST");
    EXPECT_STREQ(resultCodeName(0x80070057), "E_INVALIDARG");
    EXPECT_STREQ(resultCodeName(0x80158520), "DPNERR_TIMEDOUT");
    EXPECT_STREQ(resultCodeName(0), "S_OK");
    EXPECT_STREQ(resultCodeName(0x12345678), "Unknown");
}

TEST(ErrorText, D3DReportJoinsTheResultNameAndTheFormattedText)
{
    TestApplication app;
    int presented = 0;
    app.setPendingFramePresenter([&] { ++presented; });
    EXPECT_EQ(reportD3DError(0x88760868, "(line %i in file %s)", 12, "Sources\\Engine2DD3D\\Engine2DD3D.cpp"),
              ERROR_D3D);
    ASSERT_EQ(app.messages.messages().size(), 1u);
    const auto& box = app.messages.messages()[0];
    EXPECT_EQ(box.text, "D3DERR_DEVICELOST(line 12 in file Sources\\Engine2DD3D\\Engine2DD3D.cpp)");
    EXPECT_EQ(box.kind, Platform::MessageKind::Error);
    EXPECT_EQ(box.title, gTextUnavailable);
    EXPECT_EQ(presented, 1);
}

TEST(ErrorText, DirectXReportReturnsItsCodeAndCutsTheFormattedText)
{
    TestApplication app;
    std::string longName(400, 'x');
    EXPECT_EQ(reportDirectXError(ERROR_DSOUND, 0x8878000A, "%s", longName.c_str()), ERROR_DSOUND);
    ASSERT_EQ(app.messages.messages().size(), 1u);
    const auto& box = app.messages.messages()[0];
    EXPECT_EQ(box.title, "ERROR_DSOUND");
    EXPECT_EQ(box.text, "DSERR_ALLOCATED" + std::string(255, 'x'));
}
