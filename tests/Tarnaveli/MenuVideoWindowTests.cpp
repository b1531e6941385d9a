// The menu's background video: opened full-window and looping, a failure
// that ends the program with the codec message, and the stop at closing.
#include "../Gui/StubEngine2D.h"
#include "Engine2DD3D/EngineComponent.h"
#include "MenuTestSupport.h"
#include "Tarnaveli/MenuVideoWindow.h"

namespace
{
struct VideoLog
{
    Log steps;
    ErrorCode openResult = 0;
};

class FakeVideo final : public EngineComponent
{
public:
    FakeVideo(VideoLog& log, int32_t x, int32_t y, int32_t width, int32_t height)
        : EngineComponent(x, y, width, height, nullptr), log(log)
    {
        log.steps.push_back("made " + std::to_string(width) + "x" + std::to_string(height));
    }
    ~FakeVideo() override { log.steps.push_back("deleted"); }
    ErrorCode open(const std::string& name) override
    {
        log.steps.push_back("open " + name);
        return log.openResult;
    }
    Image2D* getImage() override { return nullptr; }
    uint32_t getState() override { return 0; }
    ErrorCode play() override
    {
        log.steps.push_back("play");
        return 0;
    }
    ErrorCode stop() override
    {
        log.steps.push_back("stop");
        return 0;
    }
    ErrorCode pause() override { return 0; }
    ErrorCode resume() override { return 0; }
    int32_t getDuration() override { return 0; }
    int32_t getPosition() override { return 0; }
    ErrorCode setPosition(int32_t ms) override
    {
        log.steps.push_back("seek " + std::to_string(ms));
        return 0;
    }
    void getVideoSize(uint32_t& w, uint32_t& h) override { w = h = 0; }
    ErrorCode setRate(float) override { return 0; }
    float getRate() override { return 1.0f; }
    ErrorCode setVolume(uint32_t) override { return 0; }
    int32_t getVolume() override { return -1; }
    int32_t getStepPeriod() override { return 0; }
    void setStepPeriod(int32_t) override {}
    void setStillImage(Texture*) override {}
    void setRect(int32_t, int32_t, int32_t, int32_t) override {}
    void animate() override { log.steps.push_back("step"); }
    ErrorCode render() override
    {
        log.steps.push_back("draw");
        return 0;
    }
    void reachEnd() { mEndCallback(0, mUserValue); }

    VideoLog& log;
};

// The test 2D engine, with videos.
class VideoEngine final : public StubEngine2D
{
public:
    explicit VideoEngine(VideoLog& log) : log(log) {}
    EngineComponent* createVideo(int32_t x, int32_t y, int32_t width, int32_t height, RenderList*) override
    {
        video = new FakeVideo(log, x, y, width, height);
        return video;
    }

    VideoLog& log;
    FakeVideo* video = nullptr;
};

struct VideoFixture : MenuFixture
{
    VideoLog log;
    VideoEngine* engine = nullptr;

    VideoFixture()
    {
        auto made = std::make_unique<VideoEngine>(log);
        engine = made.get();
        app.setService(std::move(made));
    }
};
} // namespace

TEST(MenuVideoWindow, PlaysFullWindowLoopsAtItsEndAndStopsWhenClosed)
{
    VideoFixture f;
    MenuVideoWindow* window = MenuVideoWindow::openNew(f.game);
    f.app.gui().processDeferred();
    EXPECT_EQ(MenuVideoWindow::current(), window);
    EXPECT_EQ(f.log.steps, (Log{"made 1024x768", "open data\\Video\\menu.wmv", "play"}));
    EXPECT_EQ(f.calls, Log{"menu music"});

    f.log.steps.clear();
    f.engine->video->reachEnd();
    f.engine->video->reachEnd();
    EXPECT_EQ(f.log.steps, (Log{"seek 0", "play", "seek 0", "play"}));

    f.log.steps.clear();
    f.app.frame(16);
    window->render();
    EXPECT_EQ(f.log.steps, (Log{"step", "draw"}));

    f.log.steps.clear();
    window->close();
    f.app.gui().processDeferred();
    EXPECT_EQ(f.log.steps, (Log{"stop", "deleted"}));
    EXPECT_EQ(MenuVideoWindow::current(), nullptr);
}

TEST(MenuVideoWindow, AVideoThatCannotOpenEndsTheProgramWithTheCodecMessage)
{
    VideoFixture f;
    f.log.openResult = ERROR_FAILED;
    MenuVideoWindow window(f.game);
    EXPECT_EQ(window.getVideo(), nullptr);
    EXPECT_EQ(f.log.steps.back(), "deleted");
    EXPECT_EQ(f.calls, Log{"fatal quit"});
    ASSERT_EQ(f.app.messages.messages().size(), 1u);
    const std::string& text = f.app.messages.messages()[0].text;
    EXPECT_EQ(text.rfind("Erreure fatale ", 0), 0u) << text;
    EXPECT_NE(text.find("Impossible de charger la vid\xE9o de fond de menu."), std::string::npos) << text;
}

TEST(MenuVideoWindow, TextsFillTheFatalMessageWithoutFormattingIt)
{
    EXPECT_EQ(MenuVideoWindow::fillTexts("A %s : %s", "x%s", "y"), "A x%s : y");
    EXPECT_EQ(MenuVideoWindow::fillTexts("%d %s", "x", "y"), "%d x");
}
