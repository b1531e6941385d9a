// Skinned models drawn by the engine on the OpenGL device through the
// skinning effect: the vertices the bones move each frame reach the
// picture, the same on the card and on the processor.
#include "../Platform/Gpu/GlTestSupport.h"
#include "../Platform/Mesh/TwoBoneModel.h"
#include "AnimatedModelFiles.h"
#include "Engine3DD3D/AnimatedMeshModelD3D.h"
#include "GlEngineTestSupport.h"
#include "Platform/System/MessageSink.h"
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
        std::ofstream(directory.path() + "data/models/MultiAnimation3.fx")
            << Engine3DTest::shippedEffectText();
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

namespace
{

using Engine3DTest::ScopedVertexShader;

// The generated test model, loaded through the engine from the build's
// data tree, with one instance.
class GlShippedModelTest : public Engine3DTest::GlEngine3DTest
{
protected:
    void SetUp() override
    {
        Platform::setProgramDirectory(Engine3DTest::buildDirectory());
        GlEngine3DTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        light.reset(engine->createLight());
        light->setDiffuse(0xFFFFFFFF);
        light->setDirection({0, 0, 1});
        ASSERT_EQ(light->enable(), 0u);
    }

    void TearDown() override
    {
        walker.reset();
        model.reset();
        GlEngine3DTest::TearDown();
        Platform::setProgramDirectory(previous);
    }

    void loadWalker(double time)
    {
        walker.reset();
        model.reset(engine->createAnimatedMeshModel());
        ASSERT_EQ(model->load("test-data\\models\\marcheur.X"), 0u);
        walker.reset(model->createInstance());
        walker->advanceTime(time);
    }

    std::vector<uint32_t> frame()
    {
        drawFrame();
        return device->readFrame();
    }

    std::string previous = Platform::programDirectory();
    std::unique_ptr<AnimatedMeshModelD3D> model;
    std::unique_ptr<AnimatedMeshD3D> walker;
};

int brightness(uint32_t argb)
{
    return int((argb >> 16) & 0xFF) + int((argb >> 8) & 0xFF) + int(argb & 0xFF);
}

} // namespace

TEST_F(GlShippedModelTest, CardAndProcessorSkinningDrawTheReferencePose)
{
    loadWalker(0.25);
    EXPECT_EQ(model->getTechnique(), "t0");
    std::vector<uint32_t> card = frame();
    {
        ScopedVertexShader none("0");
        loadWalker(0.25);
    }
    EXPECT_EQ(model->getTechnique(), "t2");
    std::vector<uint32_t> processor = frame();
    size_t differ = 0, lit = 0;
    for (size_t i = 0; i < card.size(); ++i)
    {
        differ += nearColor(card[i], processor[i], 2) ? 0 : 1;
        lit += brightness(card[i]) > 0 ? 1 : 0;
    }
    EXPECT_GT(lit, 5000u);
    EXPECT_LT(differ, 20u) << "of " << lit << " lit pixels";
    {
        // Version 1.1 skins on the card too, with the smaller palette.
        ScopedVertexShader old("1.1");
        loadWalker(0.25);
    }
    EXPECT_EQ(model->getTechnique(), "t1");
    std::vector<uint32_t> smallPalette = frame();
    differ = 0;
    for (size_t i = 0; i < card.size(); ++i)
        differ += nearColor(card[i], smallPalette[i], 2) ? 0 : 1;
    EXPECT_LT(differ, 20u);

    // The pose the bones give on the processor: every triangle facing the
    // camera and the light shows where its corners project.
    const Platform::SkinnedMeshPart& part = model->getParts().at(0);
    std::vector<Platform::Matrix> bones;
    part.computeBoneMatrices(model->getFrames(), &bones);
    std::vector<Platform::SkinnedVertex> posed(part.vertices.size());
    part.skin(bones, model->getFrames().combined[size_t(part.frame)], posed.data());
    Platform::Matrix view, projection;
    engine->computeViewProjection(&view, &projection);
    size_t checked = 0;
    for (size_t f = 0; f < part.indices.size() / 3; ++f)
    {
        Platform::Vector3 centre;
        bool facing = true;
        for (int c = 0; c < 3; ++c)
        {
            const Platform::SkinnedVertex& v = posed[part.indices[f * 3 + c]];
            facing = facing && v.normal.z < -0.7f;
            centre = centre + v.position * (1.0f / 3);
        }
        if (!facing)
            continue;
        Platform::Vector3 ndc = Platform::vec3TransformCoord(centre, view * projection);
        int x = int((ndc.x + 1) * 512), y = int(384 * (1 - ndc.y));
        EXPECT_GT(brightness(card[size_t(y) * 1024 + x]), 150) << "face " << f;
        EXPECT_GT(brightness(processor[size_t(y) * 1024 + x]), 150) << "face " << f;
        ++checked;
    }
    EXPECT_GT(checked, 10u);
    EXPECT_EQ(card[10 * 1024 + 10], 0xFF000000u);
}

TEST_F(GlShippedModelTest, TheSkinIsLitByTheFirstDirectionalLightOrFromTheDefaultDirection)
{
    // The tube's front vertex at x = 0 faces the camera and the light.
    loadWalker(0);
    drawFrame();
    uint32_t litByLight = pixel(512, 360);
    light->disable();
    loadWalker(0);
    drawFrame();
    uint32_t litFromDefault = pixel(512, 360);
    // The material's full diffuse (0.8, 0.6, 0.2) under the white light
    // (whose specular colour is black), against the cosine of the
    // slanting (0.5, 0.5, 0.5) direction, 0.577.
    EXPECT_TRUE(nearColor(litByLight, 0xFFCC9933, 3));
    EXPECT_LT(brightness(litFromDefault) + 100, brightness(litByLight));
    EXPECT_GT(brightness(litFromDefault), 150);
}

TEST_F(GlShippedModelTest, PickingFindsTheInstance)
{
    loadWalker(0);
    walker->mPickable = true;
    PickResult result;
    result.mDistance = 1e30f;
    ASSERT_EQ(engine->pick(512, 360, &result, nullptr), 0u);
    EXPECT_EQ(result.mNode, walker.get());
    result = PickResult{};
    result.mDistance = 1e30f;
    ASSERT_EQ(engine->pick(100, 100, &result, nullptr), 0u);
    EXPECT_EQ(result.mHit, 0);
}

TEST_F(GlShippedModelTest, AnEffectThatDoesNotCompileFailsTheLoad)
{
    Platform::TemporaryDirectory folder;
    Platform::setProgramDirectory(folder.path());
    std::filesystem::create_directories(folder.path() + "data/models");
    std::filesystem::copy_file(Engine3DTest::buildDirectory() + "test-data/models/marcheur.X",
                               folder.path() + "marcheur.X");
    std::ofstream(folder.path() + "data/models/MultiAnimation3.fx")
        << "//! technique t0\n//! vertex\nvoid main() { gl_Position = undefined(); }\n"
           "//! fragment\nout vec4 c;\nvoid main() { c = vec4(1.0); }\n";
    Platform::ScopedMessageCapture capture;
    model.reset(engine->createAnimatedMeshModel());
    EXPECT_EQ(model->load("marcheur.X"), uint32_t(ERROR_D3D));
    ASSERT_FALSE(capture.messages().empty());
    EXPECT_EQ(capture.messages()[0].text, "erreur de chargement du .fx");
    EXPECT_FALSE(model->isLoaded());
}
