// The closing picture: what it shows, and that it goes once finished.
#include "../Gui/GuiTestSupport.h"
#include "Tarnaveli/WindowQuit.h"

#include <gtest/gtest.h>

TEST(WindowQuit, ShowsTheClosingPictureOverBlackForTwentySecondsWithHalfSecondFades)
{
    GuiTestApplication app;
    const IntroScreen screen = WindowQuit::makeScreen();
    EXPECT_EQ(screen.mImage, app.getImage(WindowQuit::IMAGE_CLOSING));
    EXPECT_EQ(screen.mColor, 0xFF000000u);
    EXPECT_EQ(screen.mSoundId, 0u);
    EXPECT_EQ(screen.mDisplayMs, 20000u);
    EXPECT_EQ(screen.mFadeMs, 500u);
}

TEST(WindowQuit, OpensOverEverythingAndGoesOnceFinished)
{
    GuiTestApplication app;
    auto* window = new WindowQuit(nullptr);
    ASSERT_EQ(window->open(), 0);
    app.gui().processDeferred();
    ASSERT_FALSE(app.root().getChildren().empty());
    EXPECT_EQ(app.root().getChildren().back(), window);
    // Without a main window the quit it asks for does nothing here.
    window->finish();
    app.gui().processDeferred();
    for (Component* child : app.root().getChildren())
        EXPECT_NE(child, window);
}
