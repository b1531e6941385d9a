// A lit model drawn by the engine on the OpenGL device, read back.
#include "../Platform/Gpu/GlTestSupport.h"
#include "Engine2DD3D/Engine2DD3D.h"
#include "Engine3DD3D/MeshModelD3D.h"
#include "GlEngineTestSupport.h"
#include "ModelFiles.h"
#include "Platform/Gpu/PngWriter.h"

#include <filesystem>

using namespace GpuTest;

namespace
{

class GlLitMeshTest : public Engine3DTest::GlEngine3DTest
{
protected:
    void TearDown() override
    {
        instance.reset();
        model.reset();
        GlEngine3DTest::TearDown();
    }

    void loadSquare(const std::string& diffuse, bool doubleSided = false)
    {
        folder.write("square.X", Engine3DTest::squareModel(diffuse, "", doubleSided));
        model.reset(static_cast<MeshModelD3D*>(engine->createMeshModel()));
        model->setFileName("models\\square.X");
        instance.reset(model->createInstance());
        ASSERT_NE(model->getMesh(), nullptr);
    }

    Engine3DTest::ModelFolder folder;
    std::unique_ptr<MeshModelD3D> model;
    std::unique_ptr<MeshInstance> instance;
};

} // namespace

TEST_F(GlLitMeshTest, DirectionalLightShadesTheModelByTheAngleOfItsFaces)
{
    loadSquare("1;0.5;0;1;;");
    light.reset(engine->createLight());
    light->setDiffuse(0xFFFFFFFF);
    // N.L = (0, 0, -1) . -(0, 0.6, 0.8) = 0.8
    light->setDirection({0, 0.6f, 0.8f});
    ASSERT_EQ(light->enable(), 0u);
    drawFrame();
    EXPECT_TRUE(nearColor(pixel(512, 384), 0xFFCC6600, 2));
    // The square spans about 93 pixels each way from the centre.
    EXPECT_TRUE(nearColor(pixel(512 + 80, 384 - 80), 0xFFCC6600, 2));
    EXPECT_TRUE(nearColor(pixel(512 + 120, 384), 0xFF000000));

    // Switched off, only the (black) ambient is left.
    light->disable();
    drawFrame();
    EXPECT_TRUE(nearColor(pixel(512, 384), 0xFF000000));
}

TEST_F(GlLitMeshTest, InstancesArePlacedByTheirTransforms)
{
    loadSquare("1;1;1;1;;");
    light.reset(engine->createLight());
    light->setDiffuse(0xFFFFFFFF);
    light->setDirection({0, 0, 1});
    light->enable();
    instance->mTransform.mPosition = {2, 0, 0};
    instance->mTransform.update();
    drawFrame();
    // Moved right by 2 units, about 185 pixels: the centre is now empty.
    EXPECT_TRUE(nearColor(pixel(512, 384), 0xFF000000));
    EXPECT_TRUE(nearColor(pixel(512 + 185, 384), 0xFFFFFFFF, 2));
}

TEST_F(GlLitMeshTest, OutlineSurroundsTheModel)
{
    loadSquare("1;1;1;1;;", true);
    light.reset(engine->createLight());
    light->setDiffuse(0xFFFFFFFF);
    light->setDirection({0, 0, 1});
    light->enable();
    instance->setOutline(0x0200FF00);
    drawFrame();
    EXPECT_TRUE(nearColor(pixel(512, 384), 0xFFFFFFFF, 2));
    // Find the square's right edge along the middle row: the outline's
    // green lies just past it.
    uint32_t x = 512;
    while (x < 700 && nearColor(pixel(x, 384), 0xFFFFFFFF, 2))
        ++x;
    EXPECT_TRUE(nearColor(pixel(x, 384), 0xFF00FF00, 2)) << x;
    EXPECT_TRUE(nearColor(pixel(x + 4, 384), 0xFF000000)) << x;
}

namespace
{

// The program's arrangement: the 2D engine owns the GL device, the 3D engine
// draws through it.
class GlEngine2DMeshTest : public GlDeviceTest
{
protected:
    void SetUp() override
    {
        GlDeviceTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        gl = device.get();
        engine2D = std::make_unique<Engine2DD3D>();
        ASSERT_EQ(engine2D->initWithDevice(std::move(device)), 0u);
        engine3D = std::make_unique<Engine3DD3D>(engine2D.get());
        ASSERT_EQ(engine3D->init(), 0u);
        engine3D->setCamera(&camera);
        engine3D->setAmbient(0xFF000000);
    }

    void TearDown() override
    {
        instance.reset();
        model.reset();
        light.reset();
        engine3D.reset();
        engine2D.reset();
        GlDeviceTest::TearDown();
    }

    Engine3DTest::ModelFolder folder;
    CameraSetup camera{{0, 0, -10}, {0, 0, 0}, {0, 1, 0}, 0.7853982f};
    GlDevice* gl = nullptr;
    std::unique_ptr<Engine2DD3D> engine2D;
    std::unique_ptr<Engine3DD3D> engine3D;
    std::unique_ptr<::Light> light;
    std::unique_ptr<MeshModel> model;
    std::unique_ptr<MeshInstance> instance;
};

} // namespace

TEST_F(GlEngine2DMeshTest, TexturedModelIsLitAndDrawnInTheFrame)
{
    // Left half blue, right half yellow.
    std::vector<uint32_t> pixels(64 * 64);
    for (uint32_t i = 0; i < pixels.size(); ++i)
        pixels[i] = (i % 64) < 32 ? 0xFF0000FF : 0xFFFFFF00;
    std::filesystem::create_directories(Platform::mapPath("models"));
    ASSERT_TRUE(writePng(Platform::mapPath("models\\moitie.png"), 64, 64, pixels.data()));
    folder.write("square.X", Engine3DTest::squareModel("1;1;1;1;;", "moitie.png"));
    model.reset(engine3D->createMeshModel());
    model->setFileName("models\\square.X");
    instance.reset(model->createInstance());
    light.reset(engine3D->createLight());
    light->setDiffuse(0xFFFFFFFF);
    light->setDirection({0, 0, 1});
    ASSERT_EQ(light->enable(), 0u);

    ASSERT_EQ(engine2D->beginFrame(), 0u);
    ASSERT_EQ(engine3D->beginPass3D(), 0u);
    ASSERT_EQ(engine3D->render3D(), 0u);
    ASSERT_EQ(engine3D->endPass3D(), 0u);
    std::vector<uint32_t> frame = gl->readFrame();
    auto at = [&frame](uint32_t x, uint32_t y) { return frame[size_t(y) * 1024 + x]; };
    EXPECT_TRUE(nearColor(at(512 - 40, 384), 0xFF0000FF, 3));
    EXPECT_TRUE(nearColor(at(512 + 40, 384), 0xFFFFFF00, 3));
    EXPECT_TRUE(nearColor(at(512 + 150, 384), 0xFF000000));
}
