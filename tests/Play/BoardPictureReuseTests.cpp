// The board's 3D picture is copied from the last one drawn while nothing in
// it changes: what the player sees must be the frame drawing the scene again
// would show, idle, under the cursor, with another camera and after moves.
#include "Journeys.h"
#include "PlayChecks.h"

#include "Platform/Gpu/DeviceBase.h"
#include "Gui/TextButton.h"
#include "Tarnaveli/Board/Board.h"
#include "Tarnaveli/BoardView/BoardGraphics3D.h"
#include "Tarnaveli/GameScreen.h"

#include <gtest/gtest.h>

using namespace Play;

namespace
{

// The pixels that differ between the frame as shown, its 3D picture reused,
// and the same frame with its 3D pass drawn, the clock standing still.
size_t differenceFromDrawn(Driver& driver)
{
    driver.step(0);
    uint64_t reused = gameDevice()->reusedPassCount();
    driver.step(0);
    EXPECT_EQ(gameDevice()->reusedPassCount(), reused + 1) << "an unchanged picture was drawn again";
    return differenceFromRedrawn(driver, [](bool keep) { gameDevice()->allowPassReuse(keep); });
}

} // namespace

TEST(PlayBoardPicture, TheReusedPictureIsTheDrawnOneIdleHoveredFromEveryCameraAndAfterMoves)
{
    SKIP_WITHOUT_DISPLAY();
    Driver driver;
    PngOnFailure png(driver);
    BoardGraphics3D* view = startSoloGame(driver);
    ASSERT_NE(view, nullptr);
    ASSERT_NE(gameDevice(), nullptr);
    // Unchanged frames would not be drawn at all: every frame here is drawn,
    // so that its 3D pass is the one reused or drawn.
    gameDevice()->allowFrameSkip(false);
    Board& board = *GameScreen::current()->getBoard();

    // Idle: the picture is reused, and it is the one drawn.
    driver.settle(20);
    uint64_t reused = gameDevice()->reusedPassCount();
    driver.run(5, 0);
    EXPECT_GE(gameDevice()->reusedPassCount(), reused + 4) << "an idle board is drawn every frame";
    EXPECT_EQ(differenceFromDrawn(driver), 0u);

    // The cursor over a piece marks its cell: the picture changes with it.
    int fromX = 0, fromY = 0, toX = 0, toY = 0;
    ASSERT_TRUE(firstWhiteMove(board, fromX, fromY, toX, toY));
    int px = 0, py = 0;
    ASSERT_TRUE(cellPoint(driver, fromX, fromY, px, py));
    driver.step(0);
    Frame before = driver.readFrame();
    driver.mouseMove(px, py);
    driver.run(3, 0);
    Frame hovered = driver.readFrame();
    EXPECT_NE(before.pixels, hovered.pixels) << "the hovered cell shows no marker";
    EXPECT_EQ(differenceFromDrawn(driver), 0u);

    // Every camera, once it has arrived.
    for (uint32_t preset = 0; preset < BoardGraphics3D::kCameraCount; ++preset)
    {
        SCOPED_TRACE("camera " + std::to_string(view->getCameraIndex()));
        driver.click(view->getButton(0));
        driver.settle(40);
        EXPECT_EQ(differenceFromDrawn(driver), 0u);
    }

    // A move and the computer's answer.
    ASSERT_TRUE(playMove(driver, fromX, fromY, toX, toY));
    ASSERT_TRUE(waitForTurn(driver, 0));
    driver.settle(20);
    EXPECT_EQ(differenceFromDrawn(driver), 0u);
}
