// A skinned model drawn by the engine on the OpenGL device: the vertices the
// bones move each frame reach the picture.
#include "../Platform/Gpu/GlTestSupport.h"
#include "../Platform/Mesh/TwoBoneModel.h"
#include "Engine3DD3D/AnimatedMeshModelD3D.h"
#include "GlEngineTestSupport.h"
#include "Platform/System/Paths.h"

#include <filesystem>
#include <fstream>

using namespace GpuTest;

namespace
{

class GlAnimatedMeshTest : public Engine3DTest::GlEngine3DTest
{
protected:
    void SetUp() override
    {
        // The files are in place before the engine starts, as in the game.
        Platform::setProgramDirectory(directory.path());
        for (const char* folder : {"data/models", "models"})
            std::filesystem::create_directories(directory.path() + folder);
        std::ofstream(directory.path() + "data/models/MultiAnimation3.fx") << "//\n";
        std::ofstream(directory.path() + "models/walker.X", std::ios::binary) << kTwoBoneModel;
        GlEngine3DTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        light.reset(engine->createLight());
        light->setDiffuse(0xFFFFFFFF);
        // The quad faces +z (its normals come from its faces).
        light->setDirection({0, 0, -1});
        ASSERT_EQ(light->enable(), 0u);
        model = std::make_unique<AnimatedMeshModelD3D>();
        ASSERT_EQ(model->load("models\\walker.X"), 0u);
        walker.reset(model->createInstance());
    }

    void TearDown() override
    {
        walker.reset();
        model.reset();
        GlEngine3DTest::TearDown();
        Platform::setProgramDirectory(previous);
    }

    std::string previous = Platform::programDirectory();
    Platform::TemporaryDirectory directory;
    std::unique_ptr<AnimatedMeshModelD3D> model;
    std::unique_ptr<AnimatedMeshD3D> walker;
};

} // namespace

TEST_F(GlAnimatedMeshTest, TheBonesMoveTheDrawnShapeFromFrameToFrame)
{
    // About 93 pixels a unit. At the bind pose the quad covers (0..1, 0..1).
    drawFrame();
    EXPECT_TRUE(nearColor(pixel(512 + 46, 384 - 46), 0xFFFFFFFF, 2));
    EXPECT_TRUE(nearColor(pixel(512 - 28, 384 - 46), 0xFF000000));
    // A quarter turn later the first triangle lies at (0, 0), (0, 1), (-1, 1).
    walker->advanceTime(0.999);
    drawFrame();
    EXPECT_TRUE(nearColor(pixel(512 + 46, 384 - 46), 0xFF000000));
    EXPECT_TRUE(nearColor(pixel(512 - 28, 384 - 46), 0xFFFFFFFF, 2));
}
