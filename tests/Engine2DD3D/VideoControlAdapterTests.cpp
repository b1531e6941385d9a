#include "Engine2DD3D/VideoControlAdapter.h"

#include <gtest/gtest.h>

namespace
{
// Records what the adapter asks of the video, and can reach its end.
class ScriptedVideo final : public EngineComponent
{
public:
    ScriptedVideo() : EngineComponent(0, 0, 64, 48, nullptr) {}

    ErrorCode open(const std::string& name) override
    {
        opened = name;
        return 0;
    }
    Image2D* getImage() override { return nullptr; }
    uint32_t getState() override { return state; }
    ErrorCode play() override { return state = 1, 0; }
    ErrorCode stop() override { return state = 0, 0; }
    ErrorCode pause() override { return state = 2, 0; }
    ErrorCode resume() override { return state = 1, 0; }
    int32_t getDuration() override { return duration; }
    int32_t getPosition() override { return position; }
    ErrorCode setPosition(int32_t ms) override { return position = ms, 0; }
    void getVideoSize(uint32_t& w, uint32_t& h) override { w = 0xFFFFFFFFu, h = 240; }
    ErrorCode setRate(float r) override { return rate = r, 0; }
    float getRate() override { return rate; }
    ErrorCode setVolume(uint32_t) override { return 0; }
    int32_t getVolume() override { return -1; }
    int32_t getStepPeriod() override { return 0; }
    void setStepPeriod(int32_t) override {}
    void setStillImage(Texture*) override {}
    void setRect(int32_t, int32_t, int32_t, int32_t) override {}

    void reachEnd()
    {
        if (mEndCallback != nullptr)
            mEndCallback(0, mUserValue);
    }
    bool hasEndCallback() const { return mEndCallback != nullptr; }

    std::string opened;
    uint32_t state = 0;
    int32_t duration = -1;
    int32_t position = 0;
    float rate = 1.0f;
};
} // namespace

TEST(VideoControlAdapter, PassesCommandsAndKeepsValuesInRange)
{
    auto owned = std::make_unique<ScriptedVideo>();
    ScriptedVideo& video = *owned;
    VideoControlAdapter adapter(std::move(owned));

    EXPECT_EQ(adapter.open("data\\Video\\menu.wmv"), 0u);
    EXPECT_EQ(video.opened, "data\\Video\\menu.wmv");
    adapter.play();
    EXPECT_EQ(adapter.getState(), uint32_t{VIDEO_PLAYING});
    adapter.pause();
    EXPECT_EQ(adapter.getState(), uint32_t{VIDEO_PAUSED});
    // A video that cannot tell its length is empty, never 4 billion ms long.
    EXPECT_EQ(adapter.getDuration(), 0u);
    adapter.setPosition(0xFFFFFFF0u);
    EXPECT_EQ(video.position, 0x7FFFFFFF);
    adapter.setRate(-2.0);
    EXPECT_FLOAT_EQ(video.rate, -2.0f);
    int32_t w = 0, h = 0;
    adapter.getVideoSize(w, h);
    EXPECT_EQ(w, 0x7FFFFFFF);
    EXPECT_EQ(h, 240);
    EXPECT_EQ(adapter.getTexture(), nullptr);
    EXPECT_FALSE(adapter.isTextureMirrored());
}

TEST(VideoControlAdapter, TheVideosEndReachesTheControlBar)
{
    auto owned = std::make_unique<ScriptedVideo>();
    ScriptedVideo& video = *owned;
    int ends = 0;
    {
        VideoControlAdapter adapter(std::move(owned));
        video.reachEnd(); // no callback yet: nothing happens
        adapter.setEndCallback([&] { ++ends; });
        video.reachEnd();
        video.reachEnd();
        EXPECT_EQ(ends, 2);
    }
}
