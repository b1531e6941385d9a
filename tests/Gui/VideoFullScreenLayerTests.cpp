#include "DrawingTestSupport.h"
#include "FakeControllableVideo.h"

#include "Gui/VideoControler.h"
#include "Gui/VideoFullScreenLayer.h"
#include "Platform/System/Clock.h"

namespace
{

struct FullScreenFixture
{
    FullScreenFixture() : engine((resetTimeBase(), useDrawingEngine(app))), texture(makeTexture(256, 256))
    {
        app.looks().setLook(30, std::make_unique<ProgressionBarLook>(137, 138, 139, LOOK_EMPTY));
        app.looks().setLook(31, std::make_unique<VideoControlerLook>(26, 25, 27, 28, 29, 30));
        VideoControler::setVideoFactory(
            [this](int32_t x, int32_t y, int32_t w, int32_t h, RenderList*)
            {
                auto made = std::make_unique<FakeControllableVideo>(Rect{x, y, w, h});
                made->videoWidth = 800;
                made->videoHeight = 400;
                made->texture = texture.get();
                video = made.get();
                return made;
            });
        screen = openNow(app, new TestLayer(log, "screen", 0, 0, 1024, 768));
        controler = new VideoControler(100, 100, 400, 300, "film.wmv", 31);
        screen->addChild(controler);
        controler->onPlay();
        engine.setClearColor(0xFF336699);
    }
    ~FullScreenFixture() { VideoControler::setVideoFactory(nullptr); }

    VideoFullScreenLayer* goFullScreen()
    {
        controler->showFullScreen();
        app.gui().processDeferred();
        return controler->getFullScreenLayer();
    }
    void frameAfter(int64_t ms)
    {
        clock.advanceMs(ms);
        app.gui().animate();
    }

    Log log;
    Platform::ManualClock clock;
    GuiTestApplication app;
    DrawnProbeEngine2D& engine;
    std::unique_ptr<FakeResource> texture;
    FakeControllableVideo* video = nullptr;
    TestLayer* screen = nullptr;
    VideoControler* controler = nullptr;
};

} // namespace

TEST(VideoFullScreenLayer, GrowsTheVideoToTheLargestRectangleOfItsAspect)
{
    FullScreenFixture f;
    VideoFullScreenLayer* layer = f.goFullScreen();
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(f.app.root().getChildren().back(), layer);
    EXPECT_EQ(layer->getDisplayRect(), (Rect{0, 128, 1024, 512}));
    EXPECT_EQ(f.video->rect, (Rect{0, 128, 1024, 512}));
    ASSERT_NE(f.engine.lastSheet, nullptr);
    EXPECT_EQ(f.engine.lastSheet->getStart(), (Rect2D{100, 100, 400, 268})) << "from the strip's video";
    EXPECT_EQ(f.engine.lastSheet->getEnd(), (Rect2D{0, 128, 1024, 512}));
    EXPECT_EQ(f.engine.lastSheet->getTexture(), f.texture.get());

    f.controler->setKeepAspectRatio(false);
    f.controler->leaveFullScreen();
    f.app.gui().processDeferred();
    EXPECT_EQ(f.video->rect, (Rect{100, 100, 400, 268})) << "back above the strip";
    EXPECT_EQ(f.goFullScreen()->getDisplayRect(), (Rect{0, 0, 1024, 768}));
}

TEST(VideoFullScreenLayer, TransitionFadesTheRestToBlackThenShowsOnlyTheVideo)
{
    FullScreenFixture f;
    VideoFullScreenLayer* layer = f.goFullScreen();
    f.frameAfter(1000);
    EXPECT_TRUE(layer->isAnimating());
    EXPECT_EQ(f.engine.lastSheet->progress, 0.5f) << "half-way at 1000 ms";
    EXPECT_EQ(layer->getBackdropColor(), 0x7F000000u);
    EXPECT_EQ(layer->getBackdrop()->getColor(), 0x7F000000u);
    EXPECT_EQ(layer->render(), ERROR_STOP_RENDERING);
    EXPECT_EQ(f.engine.lastSheet->draws, 1);
    EXPECT_TRUE(f.screen->isVisible());

    f.frameAfter(1000);
    EXPECT_FALSE(layer->isAnimating());
    EXPECT_FALSE(f.screen->isVisible()) << "every other layer is hidden";
    EXPECT_EQ(f.engine.getClearColor(), 0xFF000000u);
    EXPECT_EQ(layer->getBackdrop(), nullptr);
    int renders = f.video->renders;
    EXPECT_EQ(layer->render(), ERROR_STOP_RENDERING);
    EXPECT_EQ(f.video->renders, renders + 1);

    f.app.key(12);
    f.app.gui().processDeferred();
    EXPECT_EQ(f.controler->getFullScreenLayer(), nullptr);
    EXPECT_TRUE(f.screen->isVisible()) << "shown again when the layer goes";
    EXPECT_EQ(f.app.root().getChildren().size(), 1u);
}

TEST(VideoFullScreenLayer, ClickLeavesButAKeyAChildTakesDoesNot)
{
    FullScreenFixture f;
    VideoFullScreenLayer* layer = f.goFullScreen();
    auto* child = new Probe(f.log, "child", 0, 0, 10, 10);
    child->keyResult = 1;
    layer->addChild(child);
    f.app.key(12);
    EXPECT_EQ(f.controler->getFullScreenLayer(), layer);
    f.app.press(500, 500);
    EXPECT_EQ(f.controler->getFullScreenLayer(), nullptr);
    f.app.gui().processDeferred();
    EXPECT_EQ(f.app.root().getChildren().size(), 1u);
}

TEST(VideoFullScreenLayer, VideoEndReturnsFromFullScreen)
{
    FullScreenFixture f;
    f.goFullScreen();
    f.video->endNow = true;
    f.frameAfter(16);
    EXPECT_EQ(f.controler->getFullScreenLayer(), nullptr);
    EXPECT_EQ(f.video->rect, (Rect{100, 100, 400, 268}));
}

TEST(VideoFullScreenLayer, ControlerDeletedWhileFullScreenTakesTheLayerAlong)
{
    FullScreenFixture f;
    VideoFullScreenLayer* layer = f.goFullScreen();
    f.frameAfter(2500);
    f.screen->removeAndDeleteChild(f.controler);
    EXPECT_EQ(layer->render(), 0) << "nothing left to draw";
    f.app.key(12);
    f.app.gui().processDeferred();
    EXPECT_EQ(f.app.root().getChildren().size(), 1u);
    EXPECT_TRUE(f.screen->isVisible());
}
