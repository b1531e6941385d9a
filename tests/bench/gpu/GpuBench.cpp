// One frame of 2,000 textured, coloured quads drawn the way the 2D images
// draw them: each quad has its own 96-byte vertex buffer, and before each
// draw the texture, the addressing and filter states, the stream and the
// layout are set again and the state cache is flushed.
#include "Engine2DD3D/RenderStateCache.h"
#include "Platform/Gpu/GlDevice.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

using namespace Platform;
using namespace Platform::Gpu;

namespace
{

struct Vertex
{
    float x, y, z;
    uint32_t color;
    float u, v;
};

struct Scene
{
    SDL_Window* window = nullptr;
    std::unique_ptr<GlDevice> device;
    RenderStateCache cache;
    std::vector<std::unique_ptr<Texture>> textures;
    std::vector<std::unique_ptr<VertexBuffer>> quads;

    bool open(uint32_t textureCount)
    {
        if (!std::getenv("DISPLAY") || SDL_Init(SDL_INIT_VIDEO) != 0)
        {
            return false;
        }
        // As the game's window: the frame is drawn offscreen, the window has no depth.
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
        SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
        window = SDL_CreateWindow("bench", 0, 0, 1024, 768, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        if (!window || GlDevice::create(window, PresentParameters{}, &device) != GPU_OK)
        {
            return false;
        }
        cache.setDevice(device.get());
        for (uint32_t t = 0; t < textureCount; ++t)
        {
            std::unique_ptr<Texture> texture;
            device->createTexture(256, 256, 1, 0, FMT_A8R8G8B8, POOL_MANAGED, &texture);
            LockedRect locked;
            texture->lockRect(0, &locked, 0);
            auto* texels = static_cast<uint32_t*>(locked.bits);
            for (uint32_t i = 0; i < 256 * 256; ++i)
            {
                texels[i] = ((i >> 3) & 1) ? 0xFFFFFFFF : 0x80FFFFFF;
            }
            texture->unlockRect(0);
            textures.push_back(std::move(texture));
        }
        // A screen of text: 2,000 glyph-sized quads with their own colours.
        for (uint32_t i = 0; i < 2000; ++i)
        {
            float x = float(i % 80) * 12.5f, y = float(i / 80) * 30.0f;
            float u = float(i % 16) / 16.0f, v = float((i / 16) % 16) / 16.0f;
            uint32_t color = 0xFF000000u | (i * 2654435761u >> 8);
            const Vertex vertices[4] = {{x, y, 1024, color, u, v},
                                        {x + 12, y, 1024, color, u + 0.0625f, v},
                                        {x, y + 24, 1024, color, u, v + 0.0625f},
                                        {x + 12, y + 24, 1024, color, u + 0.0625f, v + 0.0625f}};
            std::unique_ptr<VertexBuffer> buffer;
            device->createVertexBuffer(sizeof vertices, 0, FVF_XYZ_DIFFUSE_TEX1, POOL_SYSTEMMEM, &buffer);
            void* data;
            buffer->lock(0, 0, &data, 0);
            std::memcpy(data, vertices, sizeof vertices);
            buffer->unlock();
            quads.push_back(std::move(buffer));
        }
        return true;
    }

    void close()
    {
        quads.clear();
        textures.clear();
        device.reset();
        if (window)
        {
            SDL_DestroyWindow(window);
        }
        SDL_Quit();
    }

    void frame(uint32_t quadsPerTexture)
    {
        const float w = 1024, h = 768;
        device->clear(CLEAR_TARGET | CLEAR_ZBUFFER, 0xFF000000, 1, 0);
        device->beginScene();
        cache.setState(RS_CULLMODE, CULL_NONE);
        cache.setState(RS_LIGHTING, 0);
        cache.setState(RS_ZENABLE, 0);
        cache.setState(RS_ALPHABLENDENABLE, 1);
        cache.setState(RS_SRCBLEND, BLEND_SRCALPHA);
        cache.setState(RS_DESTBLEND, BLEND_INVSRCALPHA);
        device->setTextureStageState(0, TSS_COLOROP, TOP_MODULATE);
        device->setTextureStageState(0, TSS_COLORARG1, TA_TEXTURE);
        device->setTextureStageState(0, TSS_COLORARG2, TA_DIFFUSE);
        device->setTextureStageState(0, TSS_ALPHAOP, TOP_MODULATE);
        device->setTextureStageState(0, TSS_ALPHAARG1, TA_TEXTURE);
        device->setTextureStageState(0, TSS_ALPHAARG2, TA_DIFFUSE);
        device->setSamplerState(0, SAMP_MIPFILTER, TEXF_NONE);
        device->setTransform(TS_WORLD, Matrix{});
        device->setTransform(TS_VIEW, Matrix{});
        device->setTransform(TS_PROJECTION,
                             matrixTranslation(-w / 2, -h / 2, 0) *
                                 matrixPerspectiveOffCenterLH(0.5f - w / 2, w / 2 + 0.5f, h / 2 + 0.5f,
                                                              0.5f - h / 2, 1024, 0));
        for (uint32_t i = 0; i < quads.size(); ++i)
        {
            device->setTexture(0, textures[(i / quadsPerTexture) % textures.size()].get());
            device->setSamplerState(0, SAMP_ADDRESSU, TADDRESS_CLAMP);
            device->setSamplerState(0, SAMP_ADDRESSV, TADDRESS_CLAMP);
            device->setSamplerState(0, SAMP_MAGFILTER, TEXF_POINT);
            device->setSamplerState(0, SAMP_MINFILTER, TEXF_POINT);
            device->setStreamSource(0, quads[i].get(), 0, sizeof(Vertex));
            device->setFVF(FVF_XYZ_DIFFUSE_TEX1);
            cache.flush();
            device->drawPrimitive(PT_TRIANGLESTRIP, 0, 2);
        }
        device->endScene();
        device->present();
    }
};

void runFrames(benchmark::State& state, uint32_t textureCount, uint32_t quadsPerTexture,
               size_t quadCount = 2000)
{
    Scene scene;
    if (!scene.open(textureCount))
    {
        scene.close();
        state.SkipWithError("no display or no OpenGL 3.3");
        return;
    }
    scene.quads.resize(quadCount);
    scene.frame(quadsPerTexture); // first upload of the textures
    for (auto _ : state)
    {
        scene.frame(quadsPerTexture);
    }
    state.counters["glDraws/frame"] =
        benchmark::Counter(double(scene.device->glDrawCount()), benchmark::Counter::kAvgIterations);
    scene.close();
}

// Every quad from one font texture: the whole frame is one draw.
void BM_TwoThousandQuadsOneTexture(benchmark::State& state)
{
    runFrames(state, 1, 2000);
}
// A texture change every 50 quads: 40 draws a frame.
void BM_TwoThousandQuadsTextureEvery50(benchmark::State& state)
{
    runFrames(state, 4, 50);
}
void BM_EmptyFrame(benchmark::State& state)
{
    runFrames(state, 1, 2000, 0);
}

// The menu's background: a 640 x 480 video picture stretched with bilinear
// filtering over the whole frame, its vertices of the given colour, then
// presented into a window of the given height (768: as it is; 1024: scaled
// to 1280 x 960 between bands).
void stretchedPictureFrames(benchmark::State& state, int windowHeight, uint32_t color)
{
    Scene scene;
    if (!scene.open(0))
    {
        scene.close();
        state.SkipWithError("no display or no OpenGL 3.3");
        return;
    }
    SDL_SetWindowSize(scene.window, windowHeight == 768 ? 1024 : 1280, windowHeight);
    std::unique_ptr<Texture> video;
    scene.device->createTexture(640, 480, 1, 0, FMT_X8R8G8B8, POOL_MANAGED, &video);
    LockedRect locked;
    video->lockRect(0, &locked, 0);
    for (uint32_t i = 0; i < 640 * 480; ++i)
    {
        static_cast<uint32_t*>(locked.bits)[i] = 0xFF000000u | (i * 2654435761u >> 8);
    }
    video->unlockRect(0);
    const float w = 1024, h = 768;
    const Vertex corners[4] = {
        {0, 0, 1024, color, 0, 0}, {w, 0, 1024, color, 1, 0}, {0, h, 1024, color, 0, 1}, {w, h, 1024, color, 1, 1}};
    std::unique_ptr<VertexBuffer> quad;
    scene.device->createVertexBuffer(sizeof corners, 0, FVF_XYZ_DIFFUSE_TEX1, POOL_SYSTEMMEM, &quad);
    void* data;
    quad->lock(0, 0, &data, 0);
    std::memcpy(data, corners, sizeof corners);
    quad->unlock();
    auto frame = [&]
    {
        Device& device = *scene.device;
        device.clear(CLEAR_TARGET | CLEAR_ZBUFFER, 0xFF000000, 1, 0);
        device.beginScene();
        scene.cache.setState(RS_CULLMODE, CULL_NONE);
        scene.cache.setState(RS_LIGHTING, 0);
        scene.cache.setState(RS_ZENABLE, 0);
        scene.cache.setState(RS_ALPHABLENDENABLE, 1);
        scene.cache.setState(RS_SRCBLEND, BLEND_SRCALPHA);
        scene.cache.setState(RS_DESTBLEND, BLEND_INVSRCALPHA);
        device.setTextureStageState(0, TSS_COLOROP, TOP_MODULATE);
        device.setTextureStageState(0, TSS_COLORARG1, TA_TEXTURE);
        device.setTextureStageState(0, TSS_COLORARG2, TA_DIFFUSE);
        device.setTextureStageState(0, TSS_ALPHAOP, TOP_MODULATE);
        device.setTextureStageState(0, TSS_ALPHAARG1, TA_TEXTURE);
        device.setTextureStageState(0, TSS_ALPHAARG2, TA_DIFFUSE);
        device.setSamplerState(0, SAMP_MIPFILTER, TEXF_NONE);
        device.setSamplerState(0, SAMP_MAGFILTER, TEXF_LINEAR);
        device.setSamplerState(0, SAMP_MINFILTER, TEXF_LINEAR);
        device.setTransform(TS_WORLD, Matrix{});
        device.setTransform(TS_VIEW, Matrix{});
        device.setTransform(TS_PROJECTION, matrixTranslation(-w / 2, -h / 2, 0) *
                                               matrixPerspectiveOffCenterLH(0.5f - w / 2, w / 2 + 0.5f,
                                                                            h / 2 + 0.5f, 0.5f - h / 2, 1024, 0));
        device.setTexture(0, video.get());
        device.setStreamSource(0, quad.get(), 0, sizeof(Vertex));
        device.setFVF(FVF_XYZ_DIFFUSE_TEX1);
        scene.cache.flush();
        device.drawPrimitive(PT_TRIANGLESTRIP, 0, 2);
        device.endScene();
        device.present();
    };
    // The window takes its new size at the first swap.
    frame();
    frame();
    for (auto _ : state)
    {
        frame();
    }
    quad.reset();
    video.reset();
    scene.close();
}

void BM_StretchedVideoFrame(benchmark::State& state)
{
    stretchedPictureFrames(state, int(state.range(0)), 0xFFFFFFFF);
}
// The same picture half faded in, as the menu's pictures are while it opens.
void BM_FadingPictureFrame(benchmark::State& state)
{
    stretchedPictureFrames(state, 768, 0x80FFFFFF);
}

} // namespace

BENCHMARK(BM_TwoThousandQuadsOneTexture)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TwoThousandQuadsTextureEvery50)->Unit(benchmark::kMillisecond);
// The same, counting the CPU of every thread: the software renderer
// rasterises on threads of its own.
BENCHMARK(BM_TwoThousandQuadsOneTexture)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
// Clear and present alone, to tell the quads from the frame's fixed cost.
BENCHMARK(BM_EmptyFrame)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_StretchedVideoFrame)->Arg(768)->Arg(1024)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_FadingPictureFrame)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
