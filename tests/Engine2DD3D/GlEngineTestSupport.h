#pragma once
// A 2D engine on the OpenGL device in a hidden window, for the tests that
// read back what was drawn. Skipped without a display.
#include "Engine2DD3D/Engine2DD3D.h"
#include "Platform/Gpu/GlDevice.h"
#include "Platform/System/MessageSink.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "../SanitizerCheck.h"
#include "../TestThreads.h"
#if VELMORIQUE_TEST_ASAN
#include <sanitizer/lsan_interface.h>
#endif

namespace Engine2DTest
{

// X11 and Mesa keep allocations of their own until the process ends.
struct SystemAllocations
{
#if VELMORIQUE_TEST_ASAN
    SystemAllocations()
    {
        __lsan_disable();
    }
    ~SystemAllocations()
    {
        __lsan_enable();
    }
#endif
};

class GlEngineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY"))
            GTEST_SKIP() << "no display";
        mThreadsBefore = TestThreads::others();
        mSystem = std::make_unique<SystemAllocations>();
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        mWindow = SDL_CreateWindow("test", 0, 0, 1024, 768, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        ASSERT_NE(mWindow, nullptr) << SDL_GetError();
        std::unique_ptr<Platform::Gpu::GlDevice> device;
        ASSERT_EQ(Platform::Gpu::GlDevice::create(mWindow, Platform::Gpu::PresentParameters{}, &device),
                  Platform::Gpu::GPU_OK);
        mDevice = device.get();
        mEngine = std::make_unique<Engine2DD3D>();
        ASSERT_EQ(mEngine->initWithDevice(std::move(device)), 0u);
    }
    void TearDown() override
    {
        mEngine.reset();
        if (mWindow)
            SDL_DestroyWindow(mWindow);
        SDL_Quit();
        if (!mSystem)
            return;
        mSystem.reset();
        // What the test started (a video's decoding thread) and what the
        // window and its context brought (the rasteriser's threads) have all
        // ended: a thread left running can crash the leak check at exit.
        EXPECT_EQ(TestThreads::waitForOthersToEnd(mThreadsBefore, 5000), "") << "threads still running";
    }

    std::unique_ptr<Engine2DD3D> mEngine;
    Platform::Gpu::GlDevice* mDevice = nullptr;
    Platform::ScopedMessageCapture mMessages;

private:
    std::map<int, std::string> mThreadsBefore;
    std::unique_ptr<SystemAllocations> mSystem;
    SDL_Window* mWindow = nullptr;
};

} // namespace Engine2DTest
