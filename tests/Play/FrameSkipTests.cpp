// A frame that would show what is already shown is presented again without
// being drawn: the menu and the board as the player sees them must be the
// frames drawing them again would show, idle, under the cursor and as the
// game's clock turns; a frame drawn over an unchanged board copies the
// board's picture.
#include "Journeys.h"
#include "PlayChecks.h"

#include "Engine2DD3D/EngineComponent.h"
#include "Gui/TextButton.h"
#include "Platform/Gpu/DeviceBase.h"
#include "Tarnaveli/BoardView/BoardGraphics3D.h"
#include "Tarnaveli/MenuVideoWindow.h"
#include "Tarnaveli/MenuWindowBase.h"
#include "Tarnaveli/WindowMenu.h"

#include <gtest/gtest.h>

using namespace Play;

namespace
{

// Unchanged frames are skipped; the frame shown then, against the same
// frame drawn: the pixels that differ.
size_t differenceFromDrawn(Driver& driver)
{
    uint64_t skipped = gameDevice()->skippedFrameCount();
    driver.run(3, 0);
    EXPECT_GE(gameDevice()->skippedFrameCount(), skipped + 2) << "an unchanged frame was drawn again";
    return differenceFromRedrawn(driver, [](bool keep) { gameDevice()->allowFrameSkip(keep); });
}

// The next frame is drawn, not skipped, and shows something else.
void expectDrawnAndChanged(Driver& driver, const Frame& before, int stepMs, const char* what)
{
    SCOPED_TRACE(what);
    uint64_t skipped = gameDevice()->skippedFrameCount();
    driver.step(stepMs);
    EXPECT_EQ(gameDevice()->skippedFrameCount(), skipped) << "a changed frame was skipped";
    EXPECT_NE(driver.readFrame().pixels, before.pixels) << "the change shows nothing";
}

} // namespace

TEST(PlayFrameSkip, TheMenuShowsTheFrameDrawnIdleAndUnderTheCursor)
{
    SKIP_WITHOUT_DISPLAY();
    Driver driver;
    PngOnFailure png(driver);
    WindowMenu* menu = reachMainMenu(driver);
    ASSERT_NE(menu, nullptr);
    ASSERT_NE(gameDevice(), nullptr);
    // The video's pictures come with the wall clock, not the test's: on its
    // still picture the menu stands still.
    ASSERT_NE(MenuVideoWindow::current(), nullptr);
    ASSERT_NE(MenuVideoWindow::current()->getVideo(), nullptr);
    MenuVideoWindow::current()->getVideo()->stop();
    driver.settle(20);
    EXPECT_EQ(differenceFromDrawn(driver), 0u);

    MenuButton* button = menu->getMenuButton(0);
    ASSERT_NE(button, nullptr);
    Frame before = driver.readFrame();
    driver.mouseMove(button->getX() + button->getWidth() / 2, button->getY() + button->getHeight() / 2);
    expectDrawnAndChanged(driver, before, 0, "the cursor over a button");
    driver.settle(20);
    EXPECT_EQ(differenceFromDrawn(driver), 0u);
}

TEST(PlayFrameSkip, TheBoardShowsTheFrameDrawnIdleAndAsItsClockTurns)
{
    SKIP_WITHOUT_DISPLAY();
    Driver driver;
    PngOnFailure png(driver);
    BoardGraphics3D* view = startSoloGame(driver);
    ASSERT_NE(view, nullptr);
    ASSERT_NE(gameDevice(), nullptr);
    driver.settle(20);
    EXPECT_EQ(differenceFromDrawn(driver), 0u);

    // The cursor over a camera button changes the frame, not the scene: the
    // frame is drawn over the scene's picture kept.
    TextButton* button = view->getButton(0);
    ASSERT_NE(button, nullptr);
    Frame idle = driver.readFrame();
    uint64_t reused = gameDevice()->reusedPassCount();
    driver.mouseMove(button->getX() + button->getWidth() / 2, button->getY() + button->getHeight() / 2);
    expectDrawnAndChanged(driver, idle, 0, "the cursor over a button");
    EXPECT_EQ(gameDevice()->reusedPassCount(), reused + 1) << "the scene was drawn again";
    EXPECT_EQ(differenceFromDrawn(driver), 0u);

    // The clock shows whole seconds: a second later its digits change.
    Frame before = driver.readFrame();
    expectDrawnAndChanged(driver, before, 1000, "a second of play");
    EXPECT_EQ(differenceFromDrawn(driver), 0u);
}
