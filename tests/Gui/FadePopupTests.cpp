#include "DrawingTestSupport.h"

#include "Gui/FadePopup.h"
#include "Platform/System/Clock.h"

namespace
{

struct FadeFixture
{
    FadeFixture() : texture(makeTexture(100, 50)), engine((resetTimeBase(), useDrawingEngine(app)))
    {
        engine.setClearColor(0xFF102030);
        screen.mImage = texture.get();
        screen.mColor = 0xFFFFFFFF;
        screen.mSoundId = 2;
        screen.mDisplayMs = 3000;
        screen.mFadeMs = 1000;
        screen.mFadeMode = 0;
    }
    FadePopup* open()
    {
        return openNow(app, new FadePopup(
                                screen, [this](FadePopup*, uint32_t value) { ends.push_back(value); }, 7, 0));
    }
    void frameAfter(int64_t ms)
    {
        clock.advanceMs(ms);
        app.gui().animate();
    }

    Platform::ManualClock clock;
    std::unique_ptr<FakeResource> texture;
    GuiTestApplication app;
    DrawnProbeEngine2D& engine;
    IntroScreen screen;
    std::vector<uint32_t> ends;
};

} // namespace

TEST(FadePopup, FadesInStaysFadesOutThenCallsBackOnTheNextFrame)
{
    FadeFixture f;
    FadePopup* popup = f.open();
    ASSERT_NE(popup->getPicture(), nullptr);
    EXPECT_EQ(popup->getPicture()->getX(), 462.0f);
    EXPECT_EQ(popup->getPicture()->getY(), 359.0f);
    EXPECT_EQ(f.engine.getClearColor(), 0xFFFFFFFFu) << "the screen's colour replaces the clear colour";
    EXPECT_EQ(f.app.sound().log, (Log{"channel 0 play selectOption.wav -1"}));

    f.frameAfter(500);
    EXPECT_EQ(popup->getAlpha(), 127u);
    EXPECT_EQ(popup->getPicture()->getColor(), 0xFF7F7F7Fu) << "half bright";
    EXPECT_EQ(f.engine.getClearColor(), 0xFF878F97u) << "halfway between the saved colour and the screen's";
    f.frameAfter(500);
    EXPECT_EQ(popup->getState(), FadePopup::STATE_SHOWN);
    EXPECT_EQ(popup->getPicture()->getColor(), 0xFFFFFFFFu);
    f.frameAfter(2999);
    EXPECT_EQ(popup->getState(), FadePopup::STATE_SHOWN);
    f.frameAfter(1);
    EXPECT_EQ(popup->getState(), FadePopup::STATE_FADE_OUT);
    EXPECT_EQ(popup->getAlpha(), 255u) << "fully bright until 4000 ms";
    f.frameAfter(1000);
    EXPECT_EQ(popup->getState(), FadePopup::STATE_DONE);
    EXPECT_EQ(popup->getPicture()->getColor(), 0xFF000000u) << "dark again at 5000 ms";
    EXPECT_TRUE(f.ends.empty());
    f.frameAfter(16);
    EXPECT_EQ(f.ends, (std::vector<uint32_t>{7}));
    EXPECT_EQ(f.engine.getClearColor(), 0xFF102030u);
    EXPECT_EQ(f.app.sound().log.back(), "stop 0");
    EXPECT_TRUE(f.app.root().getChildren().empty()) << "the popup closed";
}

TEST(FadePopup, ClickDuringFadeInFinishesOnceAndRestoresTheClearColour)
{
    FadeFixture f;
    f.open();
    f.frameAfter(300);
    f.app.press(10, 10);
    EXPECT_EQ(f.ends.size(), 1u);
    EXPECT_EQ(f.engine.getClearColor(), 0xFF102030u);
    f.frameAfter(16);
    f.app.press(10, 10);
    EXPECT_EQ(f.ends.size(), 1u);
    EXPECT_TRUE(f.app.root().getChildren().empty());
}

TEST(FadePopup, OnlyTheFirstPressOfAKeyFinishes)
{
    FadeFixture f;
    f.screen.mSoundId = 0;
    f.open();
    f.app.key(12, KEY_EVENT_REPEATED);
    f.app.key(12, KEY_EVENT_RELEASED);
    EXPECT_TRUE(f.ends.empty());
    f.app.key(12, KEY_EVENT_PRESSED);
    EXPECT_EQ(f.ends.size(), 1u);
    EXPECT_TRUE(f.app.sound().log.empty()) << "no sound: nothing to play or stop";
}

TEST(FadePopup, AlphaModeFadesThroughTransparency)
{
    FadeFixture f;
    f.screen.mFadeMode = 1;
    FadePopup* popup = f.open();
    f.frameAfter(500);
    EXPECT_EQ(popup->getPicture()->getColor(), 0x7FFFFFFFu);
}

TEST(FadePopup, NoFadeTimeCutsInsteadOfDividingByZero)
{
    FadeFixture f;
    f.screen.mFadeMs = 0;
    f.screen.mDisplayMs = 0;
    FadePopup* popup = f.open();
    f.frameAfter(0);
    EXPECT_EQ(popup->getAlpha(), 255u);
    f.frameAfter(0);
    f.frameAfter(0);
    EXPECT_EQ(popup->getAlpha(), 0u);
    f.frameAfter(0);
    EXPECT_EQ(f.ends.size(), 1u);
}

TEST(FadePopup, IntroScreensOpenAsFadePopups)
{
    FadeFixture f;
    FadePopup::installIntroScreenOpener();
    int ended = 0;
    f.app.gui().openIntroScreen(f.screen, [&ended] { ++ended; });
    f.app.gui().processDeferred();
    ASSERT_EQ(f.app.root().getChildren().size(), 1u);
    EXPECT_NE(dynamic_cast<FadePopup*>(f.app.root().getChildren()[0]), nullptr);
    EXPECT_EQ(ended, 0);
    f.app.press(5, 5);
    EXPECT_EQ(ended, 1);
    GuiManager::setIntroScreenOpener(nullptr);
}
