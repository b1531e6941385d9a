#include "Gui/Lift.h"
#include "Gui/LiftLook.h"

#include "WidgetTestSupport.h"

namespace
{
struct LiftFixture : ::testing::Test
{
    // A vertical lift 20 wide: square arrows of 20, the track from 20 to 180.
    Lift* makeLift()
    {
        uint32_t ids[24];
        for (uint32_t i = 0; i < 24; ++i)
            ids[i] = 100 + i;
        const uint32_t buttons[4] = {};
        app.looks().setLook(12, std::make_unique<LiftLook>(ids, buttons));
        lift = new Lift(0, 0, 20, 200, 0, 12);
        layer->addChild(lift);
        lift->onChange.mFunction = [this](Component* sender, uint32_t)
        {
            EXPECT_EQ(sender, lift);
            ++changes;
        };
        return lift;
    }
    void drag(int32_t fromY, int32_t toY)
    {
        app.moveMouse(10, fromY);
        app.press(10, fromY);
        app.moveMouse(10, toY);
        app.release(10, toY);
    }

    WidgetTestApplication app;
    TestLayer* layer = app.screen();
    Lift* lift = nullptr;
    int changes = 0;
};

TEST_F(LiftFixture, DefaultRangeAndTrack)
{
    makeLift();
    EXPECT_EQ(lift->getMinimum(), 0);
    EXPECT_EQ(lift->getMaximum(), 10);
    EXPECT_EQ(lift->getStep(), 1);
    EXPECT_EQ(lift->getTrackStart(), 20);
    EXPECT_EQ(lift->getTrackEnd(), 180);
    // A tenth of the track is shorter than the lift is wide.
    EXPECT_EQ(lift->getCarretLength(), 20);
    EXPECT_EQ(lift->getDecreaseButton()->getRect(), (Rect{0, 0, 20, 20}));
    EXPECT_EQ(lift->getIncreaseButton()->getRect(), (Rect{0, 180, 20, 20}));
    lift->setRange(0, 10, 1, 2.5, 0);
    EXPECT_EQ(lift->getCarretLength(), 160);
}

TEST_F(LiftFixture, DraggingSnapsToTheStepGrid)
{
    makeLift();
    lift->setRange(0, 10, 3, 0.5, 0); // carret 80, room 80
    EXPECT_EQ(lift->getCarretLength(), 80);
    // Grabbed 10 pixels into the carret, moved to 40 % of the room.
    drag(30, 30 + 32);
    EXPECT_EQ(lift->getValue(), 3);
    EXPECT_EQ(lift->getCarretPosition(), 20 + 80 * 3 / 10);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(app.gui().getPressed(), nullptr);
    // The carret at the very end of the track: 10 is off the grid.
    lift->setValue(0);
    drag(30, 30 + 80);
    EXPECT_EQ(lift->getValue(), 9);
}

TEST_F(LiftFixture, PressOffTheCarretDoesNotDrag)
{
    makeLift();
    lift->setRange(0, 10, 1, 0.5, 0);
    drag(150, 60);
    EXPECT_EQ(lift->getValue(), 0);
    EXPECT_EQ(changes, 0);
}

TEST_F(LiftFixture, EmptyRangeKeepsTheCarretAtTheStart)
{
    makeLift();
    lift->setRange(4, 4, 1, 0.2, 4);
    EXPECT_EQ(lift->getCarretPosition(), 20);
    drag(25, 150);
    EXPECT_EQ(lift->getValue(), 4);
    EXPECT_EQ(lift->getCarretPosition(), 20);
}

TEST_F(LiftFixture, ArrowsStepAndClampAndACarretFillsAShortTrack)
{
    makeLift();
    lift->setRange(0, 10, 4, 0.5, 0);
    app.click(10, 190);
    EXPECT_EQ(lift->getValue(), 4);
    app.click(10, 190);
    app.click(10, 190);
    EXPECT_EQ(lift->getValue(), 10);
    app.click(10, 5);
    EXPECT_EQ(lift->getValue(), 8);
    EXPECT_EQ(changes, 4);
}

TEST_F(LiftFixture, ZeroStepMovesWithoutSnapping)
{
    makeLift();
    lift->setRange(0, 100, 0, 0.5, 50);
    lift->moveBy(7);
    EXPECT_EQ(lift->getValue(), 57);
}

TEST_F(LiftFixture, LookStateFollowsPressAndCarret)
{
    makeLift();
    lift->setRange(0, 10, 1, 0.5, 0);
    app.moveMouse(10, 150);
    EXPECT_EQ(lift->getLookState(), 0u);
    app.moveMouse(10, 30);
    EXPECT_EQ(lift->getLookState(), 2u);
    EXPECT_EQ(static_cast<LiftRenderer*>(lift->getRenderer())->getLookState(), 2u);
    app.press(10, 30);
    EXPECT_EQ(lift->getLookState(), 1u);
    app.release(10, 30);
    EXPECT_EQ(static_cast<LiftRenderer*>(lift->getRenderer())->getLookState(), 2u);
}

TEST_F(LiftFixture, ScrollBarLookDrawsTrackAndCarretInThreePieces)
{
    makeLift();
    lift->setRange(0, 10, 1, 0.5, 0); // carret 80 long at 20
    auto* renderer = static_cast<LiftRenderer*>(lift->getRenderer());
    auto piece = [&](uint32_t i) { return renderer->getPiece(i); };
    EXPECT_EQ(piece(0)->getRect(), (Rect{0, 20, 20, 20}));
    EXPECT_EQ(piece(1)->getRect(), (Rect{0, 40, 20, 120}));
    EXPECT_EQ(piece(2)->getRect(), (Rect{0, 160, 20, 20}));
    EXPECT_EQ(piece(1)->getSkinTextureId(), 101u);
    EXPECT_EQ(piece(3)->getRect(), (Rect{0, 20, 20, 20}));
    EXPECT_EQ(piece(4)->getRect(), (Rect{0, 40, 20, 40}));
    EXPECT_EQ(piece(5)->getRect(), (Rect{0, 80, 20, 20}));
    EXPECT_EQ(piece(4)->getSkinTextureId(), 107u); // released
    app.moveMouse(10, 30);
    app.press(10, 30);
    EXPECT_EQ(piece(4)->getSkinTextureId(), 104u); // pressed
    app.release(10, 30);
    EXPECT_EQ(piece(4)->getSkinTextureId(), 110u); // rolled over
}

TEST(Lift, HorizontalArrowsKeepTheirPictureAspect)
{
    WidgetTestApplication app;
    const uint32_t ids[8] = {};
    const uint32_t buttons[4] = {20, 21, 22, 23};
    auto look = std::make_unique<LiftSoundLook>(ids, buttons);
    look->setButtonPictureSize(LIFT_ARROW_LEFT, 16, 32);
    look->setButtonPictureSize(LIFT_ARROW_RIGHT, 48, 32);
    look->setButtonPictureSize(LIFT_ARROW_RIGHT, 0, 32); // ignored
    app.looks().setLook(13, std::move(look));
    Lift lift(100, 10, 300, 20, 1, 13);
    EXPECT_EQ(lift.getDecreaseButton()->getRect(), (Rect{100, 10, 10, 20}));
    EXPECT_EQ(lift.getIncreaseButton()->getRect(), (Rect{370, 10, 30, 20}));
    EXPECT_EQ(lift.getTrackStart(), 110);
    EXPECT_EQ(lift.getTrackEnd(), 370);
    // At least half the height.
    lift.setRange(0, 100, 1, 0.0, 0);
    EXPECT_EQ(lift.getCarretLength(), 10);
    lift.moveTo(0, 0, false);
    EXPECT_EQ(lift.getTrackStart(), 10);
    // The slider look: one background piece and one carret piece.
    lift.updateLayout();
    auto* renderer = static_cast<LiftRenderer*>(lift.getRenderer());
    EXPECT_EQ(renderer->getPiece(0)->getRect(), (Rect{10, 0, 260, 20}));
    EXPECT_EQ(renderer->getPiece(3)->getRect(), (Rect{10, 0, 10, 20}));
    EXPECT_FALSE(renderer->getPiece(1)->isVisible());
}
} // namespace
