// The 3D engine as the application's service 3.
#include "Engine3DD3D/Engine3DD3D.h"
#include "Engine3DD3D/MeshModelD3D.h"
#include "Framework/ApplicationGeneric.h"
#include "Framework/NullServices.h"
#include "ModelFiles.h"
#include "Platform/Gpu/RecordingDevice.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{

class PlainApplication final : public ApplicationGeneric
{
public:
    using ApplicationGeneric::ApplicationGeneric;
    void createFirstWindow() override {}
};

class ApplicationEngineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // No window is opened; the drawing tests of this program keep theirs.
        if (const char* driver = std::getenv("SDL_VIDEODRIVER"))
            mDriver = driver;
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setServiceCreator(SERVICE_SOUND_MANAGER,
                          [](const ApplicationSettings&) { return std::make_unique<NullSoundManager>(); });
        Engine3DD3D::registerKind();
    }
    void TearDown() override
    {
        application.reset();
        for (uint32_t id = 0; id < SERVICE_COUNT; ++id)
            setServiceCreator(id, nullptr);
        if (mDriver.empty())
            unsetenv("SDL_VIDEODRIVER");
        else
            setenv("SDL_VIDEODRIVER", mDriver.c_str(), 1);
    }

    ApplicationSettings settings;
    std::unique_ptr<PlainApplication> application;
    std::string mDriver;
};

} // namespace

TEST_F(ApplicationEngineTest, KindOneBecomesTheApplicationsEngine)
{
    settings.mEngine3DKind = 1;
    application = std::make_unique<PlainApplication>(settings);
    auto* engine = dynamic_cast<Engine3DD3D*>(application->getEngine3D());
    ASSERT_NE(engine, nullptr);
    EXPECT_EQ(Engine3D::current(), engine);
    // Without a 2D engine that has a device, a frame's 3D pass does nothing.
    ASSERT_EQ(engine->init(), 0u);
    EXPECT_EQ(engine->beginPass3D(), 0u);
    EXPECT_EQ(application->render3D(), 0u);
    EXPECT_EQ(engine->endPass3D(), 0u);
    application.reset();
    EXPECT_EQ(Engine3D::current(), nullptr);
}

TEST_F(ApplicationEngineTest, OtherKindsLeaveTheApplicationWithoutA3DEngine)
{
    settings.mEngine3DKind = 2;
    application = std::make_unique<PlainApplication>(settings);
    EXPECT_EQ(application->getEngine3D(), nullptr);
    EXPECT_EQ(application->render3D(), 0u);
}

TEST_F(ApplicationEngineTest, PickUnderCursorAimsThroughTheMousePosition)
{
    settings.mEngine3DKind = 0;
    settings.mClientWidth = 800;
    settings.mClientHeight = 600;
    application = std::make_unique<PlainApplication>(settings);
    Engine3DTest::ModelFolder folder;
    folder.write("square.X", Engine3DTest::squareModel());
    Platform::Gpu::RecordingDevice device;
    RenderStateCache cache;
    cache.setDevice(&device);
    Engine3DD3D engine(&device, &cache);
    ASSERT_EQ(engine.init(), 0u);
    CameraSetup camera{{0, 0, -10}, {0, 0, 0}, {0, 1, 0}, 0.7853982f};
    engine.setCamera(&camera);
    std::unique_ptr<MeshModel> model(engine.createMeshModel());
    model->setFileName("models\\square.X");
    std::unique_ptr<MeshInstance> instance(model->createInstance());
    instance->mPickable = true;

    CursorManagerBase* cursor = application->getCursorManager();
    ASSERT_NE(cursor, nullptr);
    // The window's centre (in its own 800 x 600 size) meets the square.
    cursor->mMouseX = 400;
    cursor->mMouseY = 300;
    PickResult result;
    ASSERT_EQ(engine.pickUnderCursor(&result), 0u);
    EXPECT_EQ(result.mHit, 1);
    EXPECT_EQ(result.mNode, instance.get());
    // The corner of the window misses it.
    cursor->mMouseX = 10;
    cursor->mMouseY = 10;
    ASSERT_EQ(engine.pickUnderCursor(&result), 0u);
    EXPECT_EQ(result.mHit, 0);
    instance.reset();
    model.reset();
}
