#pragma once
// The 3D engine on the OpenGL device, with a camera ten units back on the
// z axis, a black ambient and frames read back.
#include "../Platform/Gpu/GlTestSupport.h"
#include "Engine3DD3D/Engine3DD3D.h"
#include "Engine3DD3D/LightD3D.h"

#include <memory>

namespace Engine3DTest
{

class GlEngine3DTest : public GpuTest::GlDeviceTest
{
protected:
    void SetUp() override
    {
        GlDeviceTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        cache.setDevice(device.get());
        engine = std::make_unique<Engine3DD3D>(device.get(), &cache);
        ASSERT_EQ(engine->init(), 0u);
        engine->setCamera(&camera);
        engine->setAmbient(0xFF000000);
    }

    // Derived fixtures drop their models first.
    void TearDown() override
    {
        light.reset();
        engine.reset();
        GlDeviceTest::TearDown();
    }

    void drawFrame()
    {
        using namespace Platform::Gpu;
        device->beginScene();
        device->clear(CLEAR_TARGET | CLEAR_ZBUFFER, 0xFF000000, 1, 0);
        ASSERT_EQ(engine->beginPass3D(), 0u);
        ASSERT_EQ(engine->render3D(), 0u);
        ASSERT_EQ(engine->endPass3D(), 0u);
        device->endScene();
        forgetFrame();
    }

    RenderStateCache cache;
    CameraSetup camera{{0, 0, -10}, {0, 0, 0}, {0, 1, 0}, 0.7853982f};
    std::unique_ptr<Engine3DD3D> engine;
    std::unique_ptr<::Light> light;
};

} // namespace Engine3DTest
