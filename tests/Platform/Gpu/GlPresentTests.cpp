// The frame presented into a window larger than itself: stretched, keeping
// its shape, centred between black bars, filtered, and the device drawing
// as before afterwards.
#include "GlTestSupport.h"

#include <epoxy/gl.h>

using namespace GpuTest;

namespace
{

constexpr int kWindowWidth = 1280, kWindowHeight = 1024;
// 1024 x 768 times 1.25, 32 rows of bar above and below.
constexpr int kBar = 32;

class GlPresentTest : public GlDeviceTest
{
protected:
    // The window's pixels as presented, ARGB, top row first.
    std::vector<uint32_t> windowPixels()
    {
        std::vector<uint32_t> rows(size_t(kWindowWidth) * kWindowHeight);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
        glReadBuffer(GL_BACK);
        glReadPixels(0, 0, kWindowWidth, kWindowHeight, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, rows.data());
        std::vector<uint32_t> top(rows.size());
        for (int y = 0; y < kWindowHeight; ++y)
            std::copy_n(rows.begin() + ptrdiff_t(y) * kWindowWidth, kWindowWidth,
                        top.begin() + ptrdiff_t(kWindowHeight - 1 - y) * kWindowWidth);
        return top;
    }
};

TEST_F(GlPresentTest, AStretchedFrameKeepsItsPlaceItsOrientationAndItsColoursAndTheDeviceDrawsOnAfterIt)
{
    int width = 0, height = 0;
    SDL_SetWindowSize(window(), kWindowWidth, kWindowHeight);
    SDL_GL_GetDrawableSize(window(), &width, &height);
    if (width != kWindowWidth || height != kWindowHeight)
        GTEST_SKIP() << "the window keeps " << width << " x " << height;
    // The driver takes the window's new size at a present.
    ASSERT_EQ(device->present(), GPU_OK);
    auto white = makeTexture(1, 1, {0xFFFFFFFF});
    device->setTexture(0, white.get());
    device->clear(CLEAR_TARGET, 0xFF0000FF, 1, 0);
    drawQuad(0, 0, 512, 384, 0xFFFF0000);
    drawQuad(512, 384, 512, 384, 0xFF00FF00);
    ASSERT_EQ(device->present(), GPU_OK);
    std::vector<uint32_t> shown = windowPixels();
    auto at = [&](int x, int y) { return shown[size_t(y) * kWindowWidth + size_t(x)]; };
    EXPECT_EQ(at(640, 5), 0xFF000000u) << "the bar above";
    EXPECT_EQ(at(640, kWindowHeight - 5), 0xFF000000u) << "the bar below";
    EXPECT_EQ(at(100, kBar + 100), 0xFFFF0000u) << "the top left";
    EXPECT_EQ(at(1200, kBar + 100), 0xFF0000FFu) << "the top right";
    EXPECT_EQ(at(1200, kWindowHeight - kBar - 100), 0xFF00FF00u) << "the bottom right";
    EXPECT_EQ(at(100, kWindowHeight - kBar - 100), 0xFF0000FFu) << "the bottom left";
    EXPECT_EQ(at(0, kBar), 0xFFFF0000u) << "the first row and column";
    // Filtered: across the edge at frame column 512 red and blue mix.
    uint32_t edge = at(640, kBar + 100);
    EXPECT_NE(edge, 0xFFFF0000u);
    EXPECT_NE(edge, 0xFF0000FFu);
    EXPECT_GT(edge & 0x00FF0000u, 0u);
    EXPECT_GT(edge & 0x000000FFu, 0u);

    // The device's own program, layout, sampler and texture are back: a
    // point-filtered quad twice the texture's size repeats each texel.
    auto texels = makeTexture(2, 2, {0xFF102030, 0xFF405060, 0xFF708090, 0xFFA0B0C0});
    device->setTexture(0, texels.get());
    device->setSamplerState(0, SAMP_MINFILTER, TEXF_POINT);
    device->setSamplerState(0, SAMP_MAGFILTER, TEXF_POINT);
    drawQuad(10, 10, 4, 4);
    EXPECT_EQ(pixel(10, 10), 0xFF102030u);
    EXPECT_EQ(pixel(11, 11), 0xFF102030u);
    EXPECT_EQ(pixel(13, 10), 0xFF405060u);
    EXPECT_EQ(pixel(10, 13), 0xFF708090u);
    EXPECT_EQ(pixel(12, 12), 0xFFA0B0C0u);
    EXPECT_EQ(pixel(100, 100), 0xFFFF0000u) << "presenting changed the frame";
}

} // namespace
