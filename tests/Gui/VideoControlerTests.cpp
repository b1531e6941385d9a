#include "DrawingTestSupport.h"
#include "FakeControllableVideo.h"

#include "Gui/VideoControler.h"
#include "Gui/VideoFullScreenLayer.h"

namespace
{

struct ControlerFixture
{
    ControlerFixture()
    {
        app.looks().setLook(30, std::make_unique<ProgressionBarLook>(137, 138, 139, LOOK_EMPTY));
        app.looks().setLook(31, std::make_unique<VideoControlerLook>(26, 25, 27, 28, 29, 30));
        VideoControler::setVideoFactory(
            [this](int32_t x, int32_t y, int32_t w, int32_t h, RenderList*)
            {
                auto made = std::make_unique<FakeControllableVideo>(Rect{x, y, w, h});
                made->duration = nextDuration;
                video = made.get();
                return made;
            });
    }
    ~ControlerFixture() { VideoControler::setVideoFactory(nullptr); }

    VideoControler* make()
    {
        auto* controler = new VideoControler(100, 100, 400, 300, "film.wmv", 31);
        owned.reset(controler);
        return controler;
    }

    GuiTestApplication app;
    FakeControllableVideo* video = nullptr;
    uint32_t nextDuration = 10000;
    std::unique_ptr<VideoControler> owned;
};

} // namespace

TEST(VideoControler, BuildsItsVideoAboveTheStripAndItsBarInIt)
{
    ControlerFixture f;
    VideoControler* controler = f.make();
    ASSERT_NE(f.video, nullptr);
    EXPECT_EQ(f.video->fileName, "film.wmv");
    EXPECT_EQ(f.video->rect, (Rect{100, 100, 400, 268}));
    EXPECT_EQ(controler->getLength(), 10000u);
    ProgressionBar* bar = controler->getProgressionBar();
    EXPECT_EQ(bar->getRect(), (Rect{228, 368, 240, 32}));
    EXPECT_FALSE(bar->isVisible()) << "a stopped video shows no bar";
    for (uint32_t i = 0; i < VideoControlerLook::BUTTON_COUNT; ++i)
        ASSERT_NE(controler->getButton(i), nullptr);
    EXPECT_EQ(controler->getButton(VideoControlerLook::BUTTON_FULL_SCREEN)->getX(), 468);

    controler->setVisible(false);
    for (uint32_t i = 0; i < VideoControlerLook::BUTTON_COUNT; ++i)
        EXPECT_FALSE(controler->getButton(i)->isVisible());
    controler->setVisible(true);
    EXPECT_TRUE(controler->getButton(0)->isVisible());
}

TEST(VideoControler, BackwardAndForwardDoubleTheRateUpToTheLimits)
{
    ControlerFixture f;
    VideoControler* controler = f.make();
    controler->onPlay();
    EXPECT_EQ(f.video->log, (Log{"play", "rate 1"}));
    EXPECT_TRUE(controler->getProgressionBar()->isVisible());
    f.video->log.clear();
    for (int i = 0; i < 5; ++i)
        controler->onBackward();
    EXPECT_EQ(f.video->log, (Log{"play", "rate -1", "play", "rate -2", "play", "rate -4", "play", "rate -8"}))
        << "a fifth press keeps -8";
    EXPECT_EQ(controler->getSpeed(), -4);
    f.video->log.clear();
    for (int i = 0; i < 3; ++i)
        controler->onForward();
    EXPECT_EQ(f.video->log, (Log{"play", "rate -4", "play", "rate -2", "play", "rate -1"}));
    controler->onForward();
    EXPECT_EQ(controler->getSpeed(), 1) << "from -1 straight to normal";
    for (int i = 0; i < 5; ++i)
        controler->onForward();
    EXPECT_EQ(controler->getSpeed(), 4);
    EXPECT_EQ(f.video->log.back(), "rate 8");
    f.video->log.clear();
    controler->onPause();
    EXPECT_EQ(f.video->log, (Log{"pause"}));
    controler->onBackward();
    EXPECT_EQ(controler->getSpeed(), -1) << "paused steps down to -1";
    controler->stop();
    EXPECT_EQ(controler->getSpeed(), 0);
    EXPECT_FALSE(controler->getProgressionBar()->isVisible());
}

TEST(VideoControler, ButtonsOfTheStripDriveTheVideo)
{
    Log log;
    ControlerFixture f;
    auto* layer = openNow(f.app, new TestLayer(log, "layer", 0, 0, 1024, 768));
    layer->addChild(new VideoControler(100, 100, 400, 300, "film.wmv", 31));
    f.video->log.clear();
    f.app.click(110, 380);
    EXPECT_EQ(f.video->log, (Log{"play", "rate 1"}));
    f.app.click(110 + 32, 380);
    EXPECT_EQ(f.video->log.back(), "pause");
}

TEST(VideoControler, BarClickSeeksAPlayingOrPausedVideoOnly)
{
    ControlerFixture f;
    VideoControler* controler = f.make();
    ProgressionBar* bar = controler->getProgressionBar();
    bar->onMouseEvent(f.app.mouse(MOUSE_EVENT_BUTTON_DOWN, 348, 380));
    EXPECT_TRUE(f.video->log.empty()) << "a stopped video does not move";
    EXPECT_EQ(bar->getFraction(), 0.0f) << "the bar returns to the position";

    controler->onPlay();
    f.video->log.clear();
    bar->onMouseEvent(f.app.mouse(MOUSE_EVENT_BUTTON_DOWN, 348, 380));
    EXPECT_EQ(f.video->log, (Log{"seek 5000"}));

    controler->onPause();
    f.video->log.clear();
    bar->onMouseEvent(f.app.mouse(MOUSE_EVENT_BUTTON_DOWN, 288, 380));
    EXPECT_EQ(f.video->log, (Log{"seek 2500", "play", "pause"})) << "played and paused so the frame shows";
}

TEST(VideoControler, AnimationFollowsThePositionAndSurvivesAnUnknownLength)
{
    ControlerFixture f;
    VideoControler* controler = f.make();
    f.video->position = 2500;
    controler->animate();
    EXPECT_EQ(f.video->updates, 1);
    EXPECT_EQ(controler->getProgressionBar()->getFraction(), 0.25f);
    f.nextDuration = 0;
    auto* unknown = new VideoControler(0, 0, 400, 300, "live.wmv", 31);
    f.video->position = 700;
    unknown->animate();
    EXPECT_EQ(unknown->getProgressionBar()->getFraction(), 0.0f);
    delete unknown;
}

TEST(VideoControler, VideoEndCallsBackAndStopsTheSpeed)
{
    ControlerFixture f;
    VideoControler* controler = f.make();
    std::vector<uint32_t> ends;
    controler->setEndCallback(
        [&ends, controler](VideoControler* sender, uint32_t value)
        {
            EXPECT_EQ(sender, controler);
            ends.push_back(value);
        },
        42);
    controler->onForward();
    f.video->endNow = true;
    controler->animate();
    EXPECT_EQ(ends, (std::vector<uint32_t>{42}));
    EXPECT_EQ(controler->getSpeed(), 0);
}

TEST(VideoControler, WithoutAVideoFactoryTheButtonsDoNothing)
{
    GuiTestApplication app;
    app.looks().setLook(31, std::make_unique<VideoControlerLook>(26, 25, 27, 28, 29, 30));
    VideoControler controler(0, 0, 400, 300, "film.wmv", 31);
    EXPECT_EQ(controler.getVideo(), nullptr);
    controler.onPlay();
    controler.onBackward();
    controler.showFullScreen();
    controler.animate();
    EXPECT_EQ(controler.getFullScreenLayer(), nullptr);
    EXPECT_EQ(controler.render(), 0);
}
