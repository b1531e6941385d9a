// One frame of 50 instances of the animated test model, each at its own
// point of its animation, drawn by the 3D engine on the OpenGL device and
// read back (so that the rasteriser's work is in the time): with the bones
// applied on the card (technique "t0") and on the processor ("t2").
#include "Engine3DD3D/AnimatedMeshModelD3D.h"
#include "Engine3DD3D/Engine3DD3D.h"
#include "Engine3DD3D/LightD3D.h"
#include "Platform/Gpu/GlDevice.h"
#include "Platform/System/Paths.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <vector>

using namespace Platform;
using namespace Platform::Gpu;

namespace
{

constexpr int kInstances = 50;

struct Scene
{
    SDL_Window* window = nullptr;
    std::unique_ptr<GlDevice> device;
    RenderStateCache cache;
    std::unique_ptr<Engine3DD3D> engine;
    std::unique_ptr<::Light> light;
    std::unique_ptr<AnimatedMeshModelD3D> model;
    std::vector<std::unique_ptr<AnimatedMeshD3D>> walkers;
    CameraSetup camera{{0, 6, -16}, {0, 1, 0}, {0, 1, 0}, 0.7853982f};

    bool open(const char* vertexShader)
    {
        setProgramDirectory(std::string(VELMORIQUE_BUILD_DIR) + "/");
        if (!std::getenv("DISPLAY") || SDL_Init(SDL_INIT_VIDEO) != 0)
            return false;
        window = SDL_CreateWindow("bench", 0, 0, 1024, 768, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        if (!window || GlDevice::create(window, PresentParameters{}, &device) != GPU_OK)
            return false;
        cache.setDevice(device.get());
        engine = std::make_unique<Engine3DD3D>(device.get(), &cache);
        if (engine->init() != 0)
            return false;
        engine->setCamera(&camera);
        light.reset(engine->createLight());
        light->setDiffuse(0xFFFFFFFF);
        light->setDirection({0.3f, -0.5f, 1});
        light->enable();
        setenv("VELMORIQUE_VERTEX_SHADER", vertexShader, 1);
        model.reset(engine->createAnimatedMeshModel());
        bool loaded = model->load("test-data\\models\\marcheur.X") == 0;
        unsetenv("VELMORIQUE_VERTEX_SHADER");
        if (!loaded)
            return false;
        // Ten across, five deep.
        for (int i = 0; i < kInstances; ++i)
        {
            auto walker = std::unique_ptr<AnimatedMeshD3D>(model->createInstance());
            walker->mTransform.mPosition = {float(i % 10) * 1.2f - 5.4f, 0, float(i / 10) * 1.5f};
            walker->mTransform.update();
            walker->advanceTime(0.02 * i);
            walkers.push_back(std::move(walker));
        }
        return true;
    }

    void drawFrame()
    {
        for (auto& walker : walkers)
            walker->advanceTime(0.02);
        device->beginScene();
        device->clear(CLEAR_TARGET | CLEAR_ZBUFFER, 0xFF000000, 1, 0);
        engine->beginPass3D();
        engine->render3D();
        engine->endPass3D();
        device->endScene();
        benchmark::DoNotOptimize(device->readFrame());
    }

    ~Scene()
    {
        walkers.clear();
        model.reset();
        light.reset();
        engine.reset();
        device.reset();
        if (window)
            SDL_DestroyWindow(window);
        SDL_Quit();
    }
};

void drawInstances(benchmark::State& state, const char* vertexShader, const char* technique)
{
    Scene scene;
    if (!scene.open(vertexShader) || scene.model->getTechnique() != technique)
    {
        state.SkipWithError("no display, or the model did not load with its technique");
        return;
    }
    for (auto _ : state)
        scene.drawFrame();
    state.counters["instances"] = kInstances;
    state.counters["gl_draws_per_frame"] =
        benchmark::Counter(double(scene.device->glDrawCount()), benchmark::Counter::kAvgIterations);
}

void BM_FiftyWalkersSkinnedOnTheCard(benchmark::State& state)
{
    drawInstances(state, "2.0", "t0");
}
BENCHMARK(BM_FiftyWalkersSkinnedOnTheCard)->Unit(benchmark::kMillisecond);

void BM_FiftyWalkersSkinnedOnTheProcessor(benchmark::State& state)
{
    drawInstances(state, "0", "t2");
}
BENCHMARK(BM_FiftyWalkersSkinnedOnTheProcessor)->Unit(benchmark::kMillisecond);

} // namespace
