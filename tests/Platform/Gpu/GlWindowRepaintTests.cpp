// An unchanged frame is swapped into the window again from the back buffer
// without being stretched anew, and yet the window shows the frame after
// anything that may have lost or resized its picture.
#include "GlTestSupport.h"

#include <epoxy/gl.h>

using namespace GpuTest;

namespace
{

class GlWindowRepaintTest : public GlDeviceTest
{
protected:
    // One frame as the game draws it, the same every time: skipped after the first.
    void frame()
    {
        if (!quad)
        {
            white = makeTexture(1, 1, {0xFFFFFFFF});
            const ColorVertex vertices[4] = {{0, 0, 1024, 0xFFE08020, 0, 0},
                                             {512, 0, 1024, 0xFFE08020, 1, 0},
                                             {0, 384, 1024, 0xFFE08020, 0, 1},
                                             {512, 384, 1024, 0xFFE08020, 1, 1}};
            ASSERT_EQ(device->createVertexBuffer(sizeof vertices, 0, FVF_XYZ_DIFFUSE_TEX1, POOL_MANAGED, &quad),
                      GPU_OK);
            void* data = nullptr;
            ASSERT_EQ(quad->lock(0, 0, &data, 0), GPU_OK);
            std::memcpy(data, vertices, sizeof vertices);
            quad->unlock();
        }
        device->beginReusablePass();
        device->clear(CLEAR_TARGET | CLEAR_ZBUFFER, background, 1, 0);
        device->setTexture(0, white.get());
        device->setStreamSource(0, quad.get(), 0, sizeof(ColorVertex));
        device->setFVF(FVF_XYZ_DIFFUSE_TEX1);
        ASSERT_EQ(device->drawPrimitive(PT_TRIANGLESTRIP, 0, 2), GPU_OK);
        device->endReusablePass();
        ASSERT_EQ(device->present(), GPU_OK);
    }

    // The window's back buffer as it stands, bottom row first.
    std::vector<uint32_t> backBuffer()
    {
        SDL_GL_GetDrawableSize(window(), &width, &height);
        std::vector<uint32_t> pixels(size_t(width) * size_t(height));
        GLint read = 0;
        glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &read);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
        glReadPixels(0, 0, width, height, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, pixels.data());
        glBindFramebuffer(GL_READ_FRAMEBUFFER, GLuint(read));
        return pixels;
    }

    // What the window would lose: its back buffer overwritten.
    void spoilBackBuffer()
    {
        GLint draw = 0;
        glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &draw);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        glClearColor(1, 0, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, GLuint(draw));
    }

    // The frame as a fresh stretch shows it, bottom row first.
    std::vector<uint32_t> stretched()
    {
        std::vector<uint32_t> top = device->readWindow(width, height);
        std::vector<uint32_t> bottom(top.size());
        for (int y = 0; y < height; ++y)
            std::copy_n(top.begin() + ptrdiff_t(y) * width, width,
                        bottom.begin() + ptrdiff_t(height - 1 - y) * width);
        return bottom;
    }

    void sendWindowEvent(uint8_t what)
    {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.windowID = SDL_GetWindowID(window());
        event.window.event = what;
        SDL_PushEvent(&event);
        SDL_FlushEvent(SDL_WINDOWEVENT);
    }

    std::unique_ptr<Texture> white;
    std::unique_ptr<VertexBuffer> quad;
    uint32_t background = 0xFF203040;
    int width = 0, height = 0;
};

TEST_F(GlWindowRepaintTest, ASkippedFrameLeavesTheWindowsPictureAndOnlyAReadBackHasItStretchedAgain)
{
    frame();
    frame();
    std::vector<uint32_t> shown = backBuffer();
    uint64_t skipped = device->skippedFrameCount(), draws = device->windowDrawCount();
    frame();
    frame();
    EXPECT_EQ(device->skippedFrameCount(), skipped + 2);
    // Where the driver keeps the back buffer, nothing is stretched again.
    EXPECT_EQ(device->windowDrawCount(), draws + (device->windowKeepsBackBuffer() ? 0 : 2));
    EXPECT_TRUE(backBuffer() == shown);
    EXPECT_TRUE(stretched() == shown);
    // The read-back drew into the window: the next present draws it again.
    spoilBackBuffer();
    frame();
    EXPECT_TRUE(backBuffer() == shown) << "the window kept what the read-back left";
    // A changed frame is stretched.
    frame();
    background = 0xFF406080;
    frame();
    std::vector<uint32_t> changed = backBuffer();
    EXPECT_TRUE(changed != shown);
    EXPECT_TRUE(changed == stretched());
}

TEST_F(GlWindowRepaintTest, AfterTheWindowMayHaveLostItsPictureASkippedFrameIsStretchedAgain)
{
    frame();
    frame();
    std::vector<uint32_t> shown = backBuffer();
    for (uint8_t what : {SDL_WINDOWEVENT_EXPOSED, SDL_WINDOWEVENT_SHOWN, SDL_WINDOWEVENT_RESTORED,
                         SDL_WINDOWEVENT_SIZE_CHANGED, SDL_WINDOWEVENT_DISPLAY_CHANGED})
    {
        SCOPED_TRACE(int(what));
        spoilBackBuffer();
        sendWindowEvent(what);
        uint64_t skipped = device->skippedFrameCount();
        frame();
        EXPECT_EQ(device->skippedFrameCount(), skipped + 1);
        EXPECT_TRUE(backBuffer() == shown);
    }
    // The pointer crossing the window changes nothing it shows (once the
    // present after a change has drawn a second time).
    frame();
    uint64_t draws = device->windowDrawCount();
    sendWindowEvent(SDL_WINDOWEVENT_ENTER);
    frame();
    EXPECT_EQ(device->windowDrawCount(), draws + (device->windowKeepsBackBuffer() ? 0 : 1));
}

TEST_F(GlWindowRepaintTest, SkippedFramesAfterAResizeShowTheFrameFittedToTheNewSize)
{
    frame();
    frame();
    for (auto [w, h] : {std::pair{1280, 1024}, std::pair{1024, 768}})
    {
        SCOPED_TRACE(w);
        SDL_SetWindowSize(window(), w, h);
        SDL_GL_GetDrawableSize(window(), &width, &height);
        if (width != w || height != h)
            GTEST_SKIP() << "the window keeps " << width << " x " << height;
        uint64_t skipped = device->skippedFrameCount();
        frame();
        frame();
        frame();
        EXPECT_EQ(device->skippedFrameCount(), skipped + 3);
        std::vector<uint32_t> shown = backBuffer();
        EXPECT_TRUE(shown == stretched());
    }
}

} // namespace
