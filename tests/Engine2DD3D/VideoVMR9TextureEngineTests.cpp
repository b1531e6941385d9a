// Video textures on the real 2D engine: pictures written into TextureD3D
// from the decoding thread, and drawn by the OpenGL device (skipped without
// a display).
#include "Engine2DD3D/VideoVMR9Texture.h"
#include "Engine2DTestSupport.h"
#include "GlEngineTestSupport.h"
#include "Platform/Gpu/GlDevice.h"
#include "VideoTestSupport.h"

using namespace Engine2DTest;

TEST_F(RecordingEngineTest, VideoPicturesReachATextureD3D)
{
    const VideoClips& clips = VideoClips::get();
    VideoVMR9Texture video(engine, 0, 0, 320, 240, nullptr);
    ASSERT_EQ(video.open(clips.slow), 0);
    ::Texture* texture = video.getVideoTexture();
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->getWidth(), 64u);
    EXPECT_EQ(texture->getHeight(), 48u);
    const uint32_t pitch = texture->getTextureWidth();
    video.setPosition(700);
    video.pause();
    ASSERT_TRUE(waitUntil([&] { return video.framesRendered() >= 1; }));
    settle();
    std::vector<uint32_t> texels = readTexels(texture);
    ASSERT_GE(texels.size(), size_t(pitch) * 48);
    uint32_t centre = texels[24 * pitch + 32];
    uint8_t bgra[4] = {uint8_t(centre), uint8_t(centre >> 8), uint8_t(centre >> 16), uint8_t(centre >> 24)};
    EXPECT_EQ(TestVideo::nearestFrame(bgra), 7);
    EXPECT_EQ(centre >> 24, 0xFFu);
    video.stop();
    EXPECT_EQ(readTexels(texture)[24 * pitch + 32], 0xFF000000u);
}

TEST_F(RecordingEngineTest, TheEngineMakesVideoWidgetsTheCallerOwns)
{
    std::unique_ptr<EngineComponent> video(engine.createVideo(10, 20, 300, 200, nullptr));
    ASSERT_NE(dynamic_cast<VideoVMR9Texture*>(video.get()), nullptr);
    EXPECT_EQ(video->getRect().x, 10);
    EXPECT_EQ(video->getRect().height, 200);
    EXPECT_EQ(EngineComponent::components().back(), video.get());
    EXPECT_EQ(video->open(VideoClips::get().quick), 0);
    video.reset();
    EXPECT_TRUE(EngineComponent::components().empty());
}

using GlVideoTest = GlEngineTest;

TEST_F(GlVideoTest, APictureIsDrawnUprightOverTheWidget)
{
    // A picture red in its top half and blue in its bottom half, handed
    // over as the decoding thread does.
    VideoVMR9Texture video(*mEngine, 100, 50, 320, 240, nullptr);
    std::vector<uint8_t> pixels(10 * 10 * 4);
    for (uint32_t y = 0; y < 10; ++y)
        for (uint32_t x = 0; x < 10; ++x)
        {
            uint8_t* p = &pixels[(y * 10 + x) * 4];
            p[0] = y < 5 ? 0 : 0xFF;
            p[1] = 0;
            p[2] = y < 5 ? 0xFF : 0;
            p[3] = 0xFF;
        }
    Platform::VideoFrame frame;
    frame.pixels = pixels.data();
    frame.width = 10;
    frame.height = 10;
    frame.pitch = 40;
    TextureRendererFilter renderer;
    renderer.setTarget(video.getVideoTexture(), 10, 10);
    renderer.renderFrame(frame);
    EXPECT_EQ(renderer.framesRendered(), 1u);

    ASSERT_EQ(mEngine->beginFrame(), 0u);
    mEngine->begin2DPass();
    EXPECT_EQ(video.render(), 0u);
    std::vector<uint32_t> image = mDevice->readFrame();
    auto at = [&](uint32_t x, uint32_t y) { return image[size_t(y) * 1024 + x]; };
    EXPECT_EQ(at(260, 80), 0xFFFF0000u);
    EXPECT_EQ(at(260, 260), 0xFF0000FFu);
    // Nothing outside the widget.
    EXPECT_EQ(at(99, 80), 0xFF000000u);
    EXPECT_EQ(at(260, 291), 0xFF000000u);
    mEngine->endFrame();
    renderer.setTarget(nullptr, 0, 0);
}

TEST_F(GlVideoTest, ADecodedVideoIsDrawn)
{
    const VideoClips& clips = VideoClips::get();
    VideoVMR9Texture video(*mEngine, 0, 0, 640, 480, nullptr);
    ASSERT_EQ(video.open(clips.slow), 0);
    video.setPosition(400);
    video.pause();
    ASSERT_TRUE(waitUntil([&] { return video.framesRendered() >= 1; }));
    settle();
    ASSERT_EQ(mEngine->beginFrame(), 0u);
    mEngine->begin2DPass();
    EXPECT_EQ(video.render(), 0u);
    uint32_t centre = mDevice->readFrame()[240 * 1024 + 320];
    uint8_t bgra[4] = {uint8_t(centre), uint8_t(centre >> 8), uint8_t(centre >> 16), 0xFF};
    EXPECT_EQ(TestVideo::nearestFrame(bgra), 4);
    mEngine->endFrame();
}
