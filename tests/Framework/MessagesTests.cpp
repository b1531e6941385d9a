// The information box: caption, length limit and the pending frame.
#include "Framework/Messages.h"
#include "TestApplication.h"

#include <gtest/gtest.h>

TEST(Messages, InformationBoxWithoutATableIsCaptionedInformation)
{
    Platform::ScopedMessageCapture capture;
    EXPECT_EQ(showMessage("Fichier '%s' introuvable", "a.dat"), 1);
    ASSERT_EQ(capture.messages().size(), 1u);
    EXPECT_EQ(capture.messages()[0].title, "Information");
    EXPECT_EQ(capture.messages()[0].text, "Fichier 'a.dat' introuvable");
    EXPECT_EQ(capture.messages()[0].kind, Platform::MessageKind::Information);
}

TEST(Messages, TextIsCutAt255Characters)
{
    TestApplication app;
    std::string longText(1000, 'a');
    showMessage("%s%s", longText.c_str(), "fin");
    ASSERT_EQ(app.messages.messages().size(), 1u);
    EXPECT_EQ(app.messages.messages()[0].text, std::string(255, 'a'));
    EXPECT_EQ(app.messages.messages()[0].title, "Information");
}

TEST(Messages, PendingFrameIsPresentedBeforeTheBox)
{
    TestApplication app;
    size_t boxesWhenPresented = 99;
    app.setPendingFramePresenter([&] { boxesWhenPresented = app.messages.messages().size(); });
    showMessage("x");
    EXPECT_EQ(boxesWhenPresented, 0u);
    EXPECT_EQ(app.messages.messages().size(), 1u);
}

// Files of the player's folder are named by their full path, which can be
// long: the path gives up folders from its middle, never the file's name.
TEST(Messages, APathIsShownInTheProgramsSpellingAndShortenedFromItsMiddle)
{
    EXPECT_EQ(shownPath("/home/l\xC3\xA9"
                        "a/.local/share/velmorique/setup.ini"),
              "/home/l\xE9"
              "a/.local/share/velmorique/setup.ini");
    const std::string path = "/home/alice/.local/share/velmorique/Ressources/lang.ini";
    EXPECT_EQ(shownPath(path, path.size()), path);
    EXPECT_EQ(shownPath(path, 40), "/home/alice/.../Ressources/lang.ini");
    EXPECT_EQ(shownPath(path, 25), "/.../Ressources/lang.ini");
    EXPECT_EQ(shownPath(path, 10), "/.../lang.ini");
}
