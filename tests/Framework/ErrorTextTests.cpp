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

TEST(ErrorText, EveryCodeIsShownByTheLanguageKeyOfItsIdentifier)
{
    LangTable table;
    for (ErrorCode code = 0; code < ERROR_COUNT; ++code)
        EXPECT_EQ(table.getKeys()[errorCodeLangId(code)], std::string("LANG_") + errorCodeIdentifier(code))
            << code;
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

    // The engines' form takes the caller's line by itself.
    const int line = __LINE__ + 1;
    EXPECT_EQ(reportD3DErrorAt(static_cast<int32_t>(0x8876086Cu), "BoardGraphics3D"), ERROR_D3D);
    ASSERT_EQ(app.messages.messages().size(), 2u);
    EXPECT_EQ(app.messages.messages()[1].text,
              "D3DERR_INVALIDCALL(line " + std::to_string(line) + " in file BoardGraphics3D)");
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

namespace
{
class LoadedErrorTextTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app.writeFile("data/Ressources/lang.ini", "LANG_ERROR_DSOUND = Son en panne\r\n");
        ASSERT_EQ(app.lang().init(), ERROR_OK);
    }
    TestApplication app;
};
} // namespace

TEST_F(LoadedErrorTextTest, CodesShowTheirLanguageTexts)
{
    EXPECT_EQ(errorCodeToText(ERROR_OK), "Aucune erreur");
    EXPECT_EQ(errorCodeToText(ERROR_NO_TCP_IP), "Aucun protocole TCP/IP n'a \xE9t\xE9 dectect\xE9");
    EXPECT_EQ(errorCodeToText(ERROR_NOT_IN_A_GAME), "ERROR_NOT_IN_A_GAME");
    EXPECT_EQ(errorCodeToText(ERROR_XML_PARSING_INVALID_CARACTER), "Caract\xE8re innatendu");
    EXPECT_EQ(errorCodeToText(ERROR_DSOUND), "Son en panne");
    EXPECT_EQ(errorCodeToText(34), "Code d'erreur inconnu");
}

TEST_F(LoadedErrorTextTest, KnownResultsAreDescribedByTheirLanguageTexts)
{
    reportD3DError(0x8007000E, " (%s)", "texture");
    reportD3DError(0x82000001, "%s", "");
    reportD3DError(0x8876017C, "!");
    reportDirectXError(ERROR_DSOUND, 0x88780078, "(line %i in file %s)", 281, "a.cpp");
    reportDirectXError(ERROR_DPLAY, 0x80158520, "%s", "");
    const auto& boxes = app.messages.messages();
    ASSERT_EQ(boxes.size(), 5u);
    EXPECT_EQ(boxes[0].title, "Erreur Direct3D");
    EXPECT_EQ(boxes[0].text, "Pas de m\xE9moire (texture)");
    EXPECT_EQ(boxes[1].text.rfind("Impossible d'initialiser Direct3D.", 0), 0u);
    EXPECT_EQ(boxes[2].text, "Pas assez de m\xE9moire vid\xE9o.!");
    EXPECT_EQ(boxes[3].title, "Son en panne");
    EXPECT_EQ(boxes[3].text.rfind("Impossible de lancer l'application car", 0), 0u);
    EXPECT_NE(boxes[3].text.find("probl\xE8me.(line 281 in file a.cpp)"), std::string::npos);
    EXPECT_EQ(boxes[4].title, "Erreur DirectPlay");
    EXPECT_EQ(boxes[4].text, "DPNERR_TIMEDOUT");
}
