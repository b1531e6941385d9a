#pragma once
// A hidden SDL window with a GL device on it, and small helpers to draw
// textured quads in pixel coordinates and read the frame back. Tests that use
// it skip when there is no display.
#include "Platform/Gpu/GlDevice.h"
#include "Platform/Math/Matrix.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include "../../SanitizerCheck.h"
#if VELMORIQUE_TEST_ASAN
#include <sanitizer/lsan_interface.h>
#endif

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace GpuTest
{

// The X11, D-Bus and Mesa libraries keep allocations of their own until the
// process ends (Mesa's shader caches are filled while drawing); what is
// allocated while a context lives is not reported. Leaks of the device's own
// classes are looked for by the tests of the recording device.
struct SystemLibraryAllocations
{
#if VELMORIQUE_TEST_ASAN
    SystemLibraryAllocations()
    {
        __lsan_disable();
    }
    ~SystemLibraryAllocations()
    {
        __lsan_enable();
    }
#endif
};

using namespace Platform;
using namespace Platform::Gpu;

struct ColorVertex
{
    float x, y, z;
    uint32_t color;
    float u, v;
};

// The projection the 2D pass uses: vertex (x, y, depth) lands on pixel (x, y).
inline Matrix pixelProjection(float width, float height, float depth = 1024.0f)
{
    return matrixTranslation(-width / 2, -height / 2, 0) *
           matrixPerspectiveOffCenterLH(0.5f - width / 2, width / 2 + 0.5f, height / 2 + 0.5f,
                                        0.5f - height / 2, depth, 0.0f);
}

class GlDeviceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY"))
        {
            GTEST_SKIP() << "no display";
        }
        mSystem = std::make_unique<SystemLibraryAllocations>();
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        mWindow = SDL_CreateWindow("test", 0, 0, 1024, 768, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        ASSERT_NE(mWindow, nullptr) << SDL_GetError();
        ASSERT_EQ(GlDevice::create(mWindow, PresentParameters{}, &device), GPU_OK);
        device->setTransform(TS_PROJECTION, pixelProjection(1024, 768));
        device->setRenderState(RS_LIGHTING, 0);
        device->setRenderState(RS_CULLMODE, CULL_NONE);
        device->setRenderState(RS_ZENABLE, 0);
        device->setTextureStageState(0, TSS_COLOROP, TOP_MODULATE);
        device->setTextureStageState(0, TSS_COLORARG1, TA_TEXTURE);
        device->setTextureStageState(0, TSS_COLORARG2, TA_DIFFUSE);
        device->setTextureStageState(0, TSS_ALPHAOP, TOP_MODULATE);
        device->setTextureStageState(0, TSS_ALPHAARG1, TA_TEXTURE);
        device->setTextureStageState(0, TSS_ALPHAARG2, TA_DIFFUSE);
    }

    void TearDown() override
    {
        mBuffers.clear();
        device.reset();
        if (mWindow)
        {
            SDL_DestroyWindow(mWindow);
        }
        SDL_Quit();
        mSystem.reset();
    }

    // A texture whose level 0 holds the given ARGB pixels.
    std::unique_ptr<Texture> makeTexture(uint32_t width, uint32_t height, const std::vector<uint32_t>& argb,
                                         uint32_t levels = 1, uint32_t usage = 0)
    {
        std::unique_ptr<Texture> texture;
        EXPECT_EQ(device->createTexture(width, height, levels, usage, FMT_A8R8G8B8, POOL_MANAGED, &texture),
                  GPU_OK);
        LockedRect locked;
        EXPECT_EQ(texture->lockRect(0, &locked, 0), GPU_OK);
        for (uint32_t y = 0; y < height; ++y)
        {
            std::memcpy(static_cast<uint8_t*>(locked.bits) + y * locked.pitch, argb.data() + y * width,
                        width * 4);
        }
        EXPECT_EQ(texture->unlockRect(0), GPU_OK);
        return texture;
    }

    // Four vertices in strip order: top-left, top-right, bottom-left, bottom-right.
    void drawStrip(const ColorVertex (&vertices)[4])
    {
        std::unique_ptr<VertexBuffer> buffer;
        ASSERT_EQ(
            device->createVertexBuffer(sizeof vertices, 0, FVF_XYZ_DIFFUSE_TEX1, POOL_SYSTEMMEM, &buffer),
            GPU_OK);
        void* data = nullptr;
        ASSERT_EQ(buffer->lock(0, 0, &data, 0), GPU_OK);
        std::memcpy(data, vertices, sizeof vertices);
        buffer->unlock();
        device->setStreamSource(0, buffer.get(), 0, sizeof(ColorVertex));
        device->setFVF(FVF_XYZ_DIFFUSE_TEX1);
        ASSERT_EQ(device->drawPrimitive(PT_TRIANGLESTRIP, 0, 2), GPU_OK);
        mBuffers.push_back(std::move(buffer));
    }

    // White texture, identity projection and a less-or-equal depth test:
    // what drawDepthQuad expects. The texture must outlive the draws.
    std::unique_ptr<Texture> prepareDepthQuads()
    {
        auto white = makeTexture(1, 1, {0xFFFFFFFF});
        device->setTexture(0, white.get());
        device->setTransform(TS_PROJECTION, Matrix{});
        device->setRenderState(RS_ZFUNC, CMP_LESSEQUAL);
        return white;
    }

    // A flat quad at depth z under an identity projection, from clip x0 to
    // x1 across and from clip y1 (top) down to y0.
    void drawDepthQuad(float z, uint32_t color, float x0, float x1, float y0 = 0, float y1 = 1)
    {
        const ColorVertex v[4] = {{x0, y1, z, color, 0, 0},
                                  {x1, y1, z, color, 0, 0},
                                  {x0, y0, z, color, 0, 0},
                                  {x1, y0, z, color, 0, 0}};
        drawStrip(v);
    }

    void drawQuad(float x, float y, float width, float height, uint32_t color = 0xFFFFFFFF, float u0 = 0,
                  float v0 = 0, float u1 = 1, float v1 = 1)
    {
        const ColorVertex vertices[4] = {{x, y, 1024, color, u0, v0},
                                         {x + width, y, 1024, color, u1, v0},
                                         {x, y + height, 1024, color, u0, v1},
                                         {x + width, y + height, 1024, color, u1, v1}};
        drawStrip(vertices);
    }

    uint32_t pixel(uint32_t x, uint32_t y)
    {
        if (mFrame.empty())
        {
            mFrame = device->readFrame();
        }
        return mFrame[size_t(y) * 1024 + x];
    }
    void forgetFrame() { mFrame.clear(); }
    SDL_Window* window() const { return mWindow; }

    std::unique_ptr<GlDevice> device;

private:
    std::unique_ptr<SystemLibraryAllocations> mSystem;
    SDL_Window* mWindow = nullptr;
    std::vector<std::unique_ptr<VertexBuffer>> mBuffers;
    std::vector<uint32_t> mFrame;
};

// Channels may differ by one step of rounding.
inline ::testing::AssertionResult nearColor(uint32_t actual, uint32_t expected, int tolerance = 1)
{
    for (int shift = 0; shift < 32; shift += 8)
    {
        int a = int((actual >> shift) & 0xFF), e = int((expected >> shift) & 0xFF);
        if (std::abs(a - e) > tolerance)
        {
            char text[64];
            std::snprintf(text, sizeof text, "0x%08X instead of 0x%08X", actual, expected);
            return ::testing::AssertionFailure() << text;
        }
    }
    return ::testing::AssertionSuccess();
}

} // namespace GpuTest
