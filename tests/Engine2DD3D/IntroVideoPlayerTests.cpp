#include "Engine2DD3D/IntroVideoPlayer.h"

#include "Platform/Media/MediaResult.h"
#include "Platform/System/MessageSink.h"
#include "VideoTestSupport.h"

#include <gtest/gtest.h>

TEST(IntroVideoPlacement, NativeSizeIsCentredAndReducedToTheClientArea)
{
    IntroVideoPlacement place = placeIntroVideo(1024, 768, 400, 320, false);
    EXPECT_EQ(place.left, 312);
    EXPECT_EQ(place.top, 224);
    EXPECT_EQ(place.width, 400);
    EXPECT_EQ(place.height, 320);

    // Too wide, then still too high.
    place = placeIntroVideo(1024, 768, 2048, 2048, false);
    EXPECT_EQ(place.width, 768);
    EXPECT_EQ(place.height, 768);
    EXPECT_EQ(place.left, 128);
    EXPECT_EQ(place.top, 0);
    place = placeIntroVideo(1024, 768, 1280, 480, false);
    EXPECT_EQ(place.width, 1024);
    EXPECT_EQ(place.height, 384);
    EXPECT_EQ(place.top, 192);
}

TEST(IntroVideoPlacement, FittingKeepsTheAspectRatio)
{
    IntroVideoPlacement place = placeIntroVideo(1024, 768, 400, 320, true);
    EXPECT_EQ(place.left, 32);
    EXPECT_EQ(place.top, 0);
    EXPECT_EQ(place.width, 960);
    EXPECT_EQ(place.height, 768);

    place = placeIntroVideo(1024, 768, 64, 16, true);
    EXPECT_EQ(place.width, 1024);
    EXPECT_EQ(place.height, 256);
    EXPECT_EQ(place.left, 0);
    EXPECT_EQ(place.top, 256);
    // Nothing to place.
    place = placeIntroVideo(1024, 768, 0, 48, true);
    EXPECT_EQ(place.width, 0);
    EXPECT_EQ(place.height, 0);
}

namespace
{

class IntroVideoTest : public ::testing::Test
{
protected:
    int32_t play(const std::string& file, bool fit = true)
    {
        return playIntroVideoOn(file.c_str(), window, engine, 1024, 768, fit);
    }

    const VideoClips& clips = VideoClips::get();
    AppWindow window;
    MemoryEngine2D engine;
};

Platform::WindowMessage message(uint32_t id)
{
    Platform::WindowMessage m;
    m.message = id;
    return m;
}

} // namespace

TEST_F(IntroVideoTest, AVideoThatEndsByItselfGivesZeroAfterDrawingItsPictures)
{
    engine.setClearColor(0xFF123456);
    EXPECT_EQ(play(clips.quick), kIntroVideoEnded);
    EXPECT_GT(engine.frames, 0);
    ASSERT_NE(engine.lastImage, nullptr);
    EXPECT_EQ(engine.getClearColor(), 0xFF123456u);
    // The hook stays until the caller takes the window back, and is harmless.
    EXPECT_TRUE(window.hasMessageHook());
    EXPECT_EQ(window.windowProcedure(message(Platform::WM_KEYDOWN)), 0);
    // Every texture it made is given back.
    EXPECT_TRUE(engine.getTextures().empty());
}

TEST_F(IntroVideoTest, AKeyAClickOrClosingTheWindowStopsIt)
{
    for (uint32_t id : {Platform::WM_KEYDOWN, Platform::WM_LBUTTONDOWN, Platform::WM_CLOSE})
    {
        window.setMessageHook(nullptr);
        window.getQueue().post(message(id));
        EXPECT_EQ(play(clips.slow, false), kIntroVideoStopped) << id;
        EXPECT_TRUE(window.getQueue().empty());
    }
    // Other messages leave it playing to the end.
    window.getQueue().post(message(Platform::WM_MOUSEMOVE));
    EXPECT_EQ(play(clips.quick), kIntroVideoEnded);
}

TEST_F(IntroVideoTest, AQuitRequestEndsItAndStaysQueued)
{
    window.postQuitMessage(3);
    EXPECT_EQ(play(clips.slow), kIntroVideoStopped);
    Platform::WindowMessage taken;
    ASSERT_TRUE(window.peekMessage(taken));
    EXPECT_EQ(taken.message, Platform::WM_QUIT);
}

TEST_F(IntroVideoTest, FailuresAreShownAndReturned)
{
    Platform::ScopedMessageCapture capture;
    EXPECT_EQ(playIntroVideoOn(nullptr, window, engine, 1024, 768, true), kIntroVideoNullName);
    EXPECT_TRUE(capture.messages().empty());

    std::string missing = clips.folder + "absent.mpg";
    EXPECT_EQ(play(missing), Platform::kMediaFileNotFound);
    ASSERT_EQ(capture.messages().size(), 1u);
    EXPECT_EQ(capture.messages()[0].text, "Failed(0x80040216) in RenderFile(" + missing + ")!\r\n");

    EXPECT_LT(play(clips.noDecoder), 0);
    EXPECT_EQ(capture.messages().size(), 2u);

    // A sound file without pictures.
    capture.clear();
    EXPECT_LT(play(clips.soundOnly), 0);
    ASSERT_EQ(capture.messages().size(), 1u);
    EXPECT_TRUE(capture.messages()[0].text.find("has no video component") != std::string::npos ||
                capture.messages()[0].text.find("RenderFile") != std::string::npos);
    EXPECT_EQ(engine.frames, 0);
}

TEST(IntroVideo, WithoutARunningApplicationNothingPlays)
{
    EXPECT_EQ(playIntroVideo(nullptr, nullptr, true), kIntroVideoNullName);
    EXPECT_LT(playIntroVideo(VideoClips::get().quick.c_str(), nullptr, true), 0);
}
