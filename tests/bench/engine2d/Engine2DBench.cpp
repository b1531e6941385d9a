// The 2D engine's costs per frame: recomputing the quads of 2,000 clipped
// images (what a scrolling list does every frame), and a whole frame of
// 2,000 images drawn on the OpenGL device (needs a display).
#include "Engine2DD3D/Engine2DD3D.h"
#include "Platform/Gpu/GlDevice.h"
#include "Platform/Gpu/RecordingDevice.h"
#include "Platform/System/MessageSink.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace
{
constexpr int kImages = 2000;

struct Images
{
    std::vector<uint32_t> pixels = std::vector<uint32_t>(64 * 64, 0xFFFFFFFF);
    ::Texture* texture = nullptr;
    RenderList clip{Rect2D{0, 0, 1024, 768}};
    std::vector<std::unique_ptr<Image2D>> images;

    void make(Engine2D& engine)
    {
        texture = engine.createTextureFromPixels(64, 64, pixels.data(), ::Texture::FLAG_PIXELS_32BIT, 0);
        for (int i = 0; i < kImages; ++i)
            images.push_back(engine.createImage(float(i % 40) * 26 - 10, float(i / 40) * 16 - 5, texture,
                                                Image2D::SIZE_STRETCHED, 32, 24, 0xFFFFFFFF, &clip));
    }
    ~Images()
    {
        images.clear();
        if (texture != nullptr)
            texture->release();
    }
};

void BM_UpdateClippedImages(benchmark::State& state)
{
    Platform::ScopedMessageCapture messages;
    Engine2DD3D engine;
    engine.initWithDevice(std::make_unique<Platform::Gpu::RecordingDevice>());
    Images scene;
    scene.make(engine);
    int32_t offset = 0;
    for (auto _ : state)
    {
        offset = (offset + 1) % 8;
        scene.clip.setRect(0, offset, 1024, 768 - offset);
        benchmark::DoNotOptimize(scene.images.back()->isCulled());
    }
    state.SetItemsProcessed(state.iterations() * kImages);
}
BENCHMARK(BM_UpdateClippedImages);

void BM_FrameOfImagesOnOpenGl(benchmark::State& state)
{
    if (!std::getenv("DISPLAY") || SDL_Init(SDL_INIT_VIDEO) != 0)
    {
        state.SkipWithError("no display");
        return;
    }
    SDL_Window* window = SDL_CreateWindow("bench", 0, 0, 1024, 768, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    std::unique_ptr<Platform::Gpu::GlDevice> device;
    if (window == nullptr ||
        Platform::Gpu::GlDevice::create(window, Platform::Gpu::PresentParameters{}, &device) != 0)
    {
        state.SkipWithError("no OpenGL device");
        SDL_Quit();
        return;
    }
    Platform::Gpu::GlDevice* gl = device.get();
    {
        Engine2DD3D engine;
        engine.initWithDevice(std::move(device));
        Images scene;
        scene.make(engine);
        for (auto _ : state)
        {
            engine.beginFrame();
            engine.begin2DPass();
            for (auto& image : scene.images)
                image->draw();
            engine.end2DPass();
            engine.endFrame();
            // The frame is finished on the card before the next one starts.
            benchmark::DoNotOptimize(gl->readFrame().front());
        }
        state.SetItemsProcessed(state.iterations() * kImages);
    }
    SDL_DestroyWindow(window);
    SDL_Quit();
}
BENCHMARK(BM_FrameOfImagesOnOpenGl)->Unit(benchmark::kMillisecond);
} // namespace
