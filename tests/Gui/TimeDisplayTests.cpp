#include "DrawingTestSupport.h"

#include "Gui/TimeDisplay.h"
#include "Platform/System/Clock.h"

namespace
{

struct ClockFixture
{
    ClockFixture() : engine(useDrawingEngine(app)), font(8, 4, 16, 2) {}
    GuiTestApplication app;
    DrawnProbeEngine2D& engine;
    DrawnPictureFont font;
};

} // namespace

TEST(TimeDisplay, ShowsHoursMinutesAndSecondsAndWrapsTheHourDigits)
{
    ClockFixture f;
    TimeDisplay clock({100, 50, 200, 32}, nullptr, 0xFF00FF00, &f.font, LOOK_EMPTY);
    EXPECT_EQ(clock.getShownText(), "00:00:00");
    clock.setTime(3723000);
    EXPECT_EQ(clock.getShownText(), "01:02:03");
    clock.setTime(100u * 3600 * 1000);
    EXPECT_EQ(clock.getShownText(), "00:00:00") << "only two hour digits are shown";
    clock.setTime(59999);
    EXPECT_EQ(clock.getShownText(), "00:00:59");
    clock.showHours(false);
    EXPECT_EQ(clock.getShownText(), "00:59");
}

TEST(TimeDisplay, SlotsComeFromTheWidestDigitAndTheContentIsCentred)
{
    ClockFixture f;
    f.font.pictures['7'].width = 10;
    TimeDisplay clock({100, 50, 200, 32}, nullptr, 0xFF00FF00, &f.font, LOOK_EMPTY);
    // (10 + 2) * 32 / 16 for the widest digit; 4 * 32 / 16 + 2 for the colon.
    EXPECT_EQ(clock.getDigitSlotWidth(), 24u);
    EXPECT_EQ(clock.getColonSlotWidth(), 10u);
    EXPECT_EQ(clock.getDigitHeight(), 32u);
    clock.setTime(7000);
    // Content 6 * 24 + 2 * 10 = 164, centred in 200: starts at 118.
    EXPECT_EQ(clock.getCharRect(0), (Rect{118 + 4, 50, 16, 32}));
    EXPECT_EQ(clock.getCharRect(2), (Rect{118 + 48 + 1, 50, 8, 32}));
    EXPECT_EQ(clock.getCharRect(7), (Rect{118 + 5 * 24 + 20 + 2, 50, 20, 32})) << "the 7 is wider";
    auto* image = static_cast<DrawnProbeImage*>(clock.getImage(7));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->getSourceRect(), (Rect2D{56, 0, 10, 16}));
    EXPECT_EQ(image->getWidth(), 20.0f);
    EXPECT_EQ(image->getColor(), 0xFF00FF00u);

    clock.showHours(false);
    // 4 * 24 + 10 = 106: starts at 147.
    EXPECT_EQ(clock.getCharRect(3), (Rect{147 + 4, 50, 16, 32}));
    EXPECT_TRUE(clock.getImage(0)->isCulled());
}

TEST(TimeDisplay, CharacterWithoutPictureUsesTheDefaultOneAndColourReachesEveryImage)
{
    ClockFixture f;
    f.font.pictures.erase('5');
    TimeDisplay clock({0, 0, 200, 32}, nullptr, 0xFFFFFFFF, &f.font, LOOK_EMPTY);
    clock.setTime(5000);
    EXPECT_EQ(static_cast<DrawnProbeImage*>(clock.getImage(7))->getSourceRect(), (Rect2D{0, 100, 5, 16}));
    clock.setColor(0x80112233);
    for (int i = 0; i < TimeDisplay::CHAR_COUNT; ++i)
        EXPECT_EQ(clock.getImage(i)->getColor(), 0x80112233u);
}

TEST(TimeDisplay, FollowsItsTimerEachFrame)
{
    Platform::ManualClock manual;
    resetTimeBase();
    ClockFixture f;
    Timer timer;
    timer.start();
    TimeDisplay clock({0, 0, 200, 32}, &timer, 0xFFFFFFFF, &f.font, LOOK_EMPTY);
    manual.advanceMs(61500);
    clock.animate();
    EXPECT_EQ(clock.getShownText(), "00:01:01");
    EXPECT_EQ(clock.getTime(), 61500u);
    // The pictures change with the second shown, not with every frame.
    manual.advanceMs(499);
    clock.animate();
    EXPECT_EQ(clock.getTime(), 61999u);
    EXPECT_EQ(clock.getShownText(), "00:01:01");
    manual.advanceMs(1);
    clock.animate();
    EXPECT_EQ(clock.getShownText(), "00:01:02");
}

TEST(TimeDisplay, FontWithoutPicturesShowsNothingButStillCounts)
{
    GuiTestApplication app;
    TimeDisplay clock({0, 0, 200, 32}, nullptr, 0xFFFFFFFF, nullptr, LOOK_EMPTY);
    clock.setTime(3723000);
    EXPECT_EQ(clock.getShownText(), "01:02:03");
    EXPECT_EQ(clock.getDigitSlotWidth(), 0u);
    EXPECT_EQ(clock.render(), 0);
}
