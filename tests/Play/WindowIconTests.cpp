// The running window shows the game's icon: the launcher's picture, found by
// the icon id of the application's settings.
#include "PlayChecks.h"
#include "PlayDriver.h"
#include "X11WindowIcon.h"

#include "Framework/ApplicationGeneric.h"
#include "Platform/Window/Window.h"
#include "Tarnaveli/GameIcon.h"

#include <gtest/gtest.h>

using namespace Play;

TEST(PlayWindow, TheWindowShowsTheGamesIcon)
{
    SKIP_WITHOUT_DISPLAY();
    Driver driver;
    ASSERT_EQ(driver.start(), 0u);
    ApplicationGeneric* application = getApplication();
    ASSERT_NE(application, nullptr);
    const uint32_t iconId = application->getSettings().mIconResourceId;
    EXPECT_EQ(iconId, GAME_ICON_ID);
    const Platform::IconImage* registered = Platform::findIcon(iconId);
    ASSERT_NE(registered, nullptr);
    EXPECT_EQ(registered->width, kGameIconSize);

    ShownIcon shown;
    std::string reason;
    ASSERT_NE(Platform::Window::main(), nullptr);
    ASSERT_TRUE(readWindowIcon(Platform::Window::main()->sdlWindow(), shown, reason)) << reason;
    EXPECT_EQ(shown.width, kGameIconSize);
    EXPECT_EQ(shown.height, kGameIconSize);
    ASSERT_EQ(shown.rgba.size(), registered->rgba.size());
    // Compared where the picture is opaque: a transparent pixel's colour is
    // the desktop's to drop.
    size_t opaque = 0;
    size_t differing = 0;
    for (size_t i = 0; i < shown.rgba.size(); i += 4)
    {
        if (registered->rgba[i + 3] != 255)
            continue;
        ++opaque;
        for (size_t c = 0; c < 4; ++c)
            differing += shown.rgba[i + c] != registered->rgba[i + c] ? 1 : 0;
    }
    EXPECT_GT(opaque, shown.rgba.size() / 8) << "the icon is nearly empty";
    EXPECT_EQ(differing, 0u);
}
