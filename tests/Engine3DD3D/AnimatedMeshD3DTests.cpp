#include "../Platform/Mesh/TwoBoneModel.h"
#include "AnimatedModelFiles.h"
#include "Engine/Light.h"
#include "Engine/MeshModel.h"
#include "Engine3DD3D/AnimatedMeshModelD3D.h"
#include "EngineFixture.h"
#include "Framework/Text1252Literal.h"
#include "Platform/System/MessageSink.h"
#include "Platform/System/Paths.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>

using namespace Engine3DTest;
using namespace Platform;

namespace
{

constexpr float kHalfRoot2 = 0.70710678f;

class AnimatedMeshD3DTest : public EngineFixture
{
protected:
    AnimatedMeshD3DTest()
    {
        setProgramDirectory(directory.path());
        write("data/models/MultiAnimation3.fx", shippedEffectText());
        write("models/walker.X", kTwoBoneModel);
        model = std::make_unique<AnimatedMeshModelD3D>();
    }
    ~AnimatedMeshD3DTest() override { setProgramDirectory(previous); }

    void write(const std::string& name, const std::string& text)
    {
        std::filesystem::path path = directory.path() + name;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }

    // The position the processor gave the vertex that started at bind.
    Vector3 drawn(const Vector3& bind)
    {
        const Mesh& blended = *model->getBlendedMesh(0)->mesh;
        for (size_t v = 0; v < blended.getNumVertices(); ++v)
        {
            Vector3 p;
            std::memcpy(&p, blended.vertexData() + v * blended.getNumBytesPerVertex(), sizeof p);
            if (p == bind)
            {
                std::memcpy(&p, model->getSoftwareMesh(0)->vertexData() + v * 32, sizeof p);
                return p;
            }
        }
        ADD_FAILURE() << "no vertex there";
        return {};
    }

    std::vector<float> parameter(const char* name) { return model->getEffect()->getParameter(name)->values; }

    uint32_t renderFrame()
    {
        device.clearCalls();
        EXPECT_EQ(engine->beginPass3D(), 0u);
        EXPECT_EQ(engine->render3D(), 0u);
        EXPECT_EQ(engine->endPass3D(), 0u);
        return uint32_t(device.countCalls("drawIndexedPrimitive("));
    }

    std::string previous = programDirectory();
    TemporaryDirectory directory;
    std::unique_ptr<AnimatedMeshModelD3D> model;
};

struct Listener : AnimationListener
{
    std::vector<std::string> heard;
    void onAnimationEvent(AnimatedMeshD3D*, uint32_t user) override
    {
        heard.push_back("event " + std::to_string(user));
    }
    void onAnimationEnd(AnimatedMeshD3D*, uint32_t user) override
    {
        heard.push_back("end " + std::to_string(user));
    }
};

TEST_F(AnimatedMeshD3DTest, TheTechniqueFollowsTheVertexShaderVersion)
{
    ASSERT_EQ(model->load("models\\walker.X"), 0u);
    EXPECT_TRUE(model->isLoaded());
    EXPECT_TRUE(model->hasEffect());
    EXPECT_EQ(model->getTechnique(), "t0");
    EXPECT_FALSE(model->isSoftwareSkinning());
    ASSERT_EQ(model->getParts().size(), 1u);
    ASSERT_NE(model->getBlendedMesh(0), nullptr);
    EXPECT_EQ(model->getBlendedMesh(0)->mesh->getNumFaces(), 2u);
    EXPECT_EQ(model->getBlendedMesh(0)->paletteSize, 2u);
    EXPECT_EQ(model->getSoftwareMesh(0), nullptr);
    int32_t palette = 0;
    model->getEffect()->getInt("MATRIX_PALETTE_SIZE", &palette);
    EXPECT_EQ(palette, 35);
    {
        // Version 1.1 builds the effect without the larger palette.
        ScopedVertexShader old("1.1");
        ASSERT_EQ(model->load("models\\walker.X"), 0u);
        EXPECT_EQ(model->getTechnique(), "t1");
        model->getEffect()->getInt("MATRIX_PALETTE_SIZE", &palette);
        EXPECT_EQ(palette, 26);
        ScopedVertexShader none("0");
        ASSERT_EQ(model->load("models\\walker.X"), 0u);
        EXPECT_EQ(model->getTechnique(), "t2");
        EXPECT_TRUE(model->isSoftwareSkinning());
        EXPECT_NE(model->getSoftwareMesh(0), nullptr);
    }
    EXPECT_EQ(model->mBoxMin, (Vector3{0, 0, 0}));
    EXPECT_EQ(model->mBoxMax, (Vector3{1, 1, 0}));
    ASSERT_NE(model->getPickBox(), nullptr);
    EXPECT_FALSE(model->getPickBox()->isActive());
    EXPECT_TRUE(model->hasAnimationSet("Lift"));
    EXPECT_FALSE(model->hasAnimationSet("Run"));
}

TEST_F(AnimatedMeshD3DTest, MissingEffectNoAnimationOrDamagedFileFailToLoad)
{
    ScopedMessageCapture capture;
    std::filesystem::remove(directory.path() + "data/models/MultiAnimation3.fx");
    EXPECT_NE(model->load("models\\walker.X"), 0u);
    ASSERT_FALSE(capture.messages().empty());
    EXPECT_EQ(capture.messages()[0].text, "erreur de chargement du .fx");
    EXPECT_FALSE(model->isLoaded());
    // A file that is no effect fails the same way.
    capture.clear();
    write("data/models/MultiAnimation3.fx", "// skinning effect\n");
    EXPECT_EQ(model->load("models\\walker.X"), uint32_t(ERROR_D3D));
    ASSERT_FALSE(capture.messages().empty());
    EXPECT_EQ(capture.messages()[0].text, "erreur de chargement du .fx");
    EXPECT_FALSE(model->hasEffect());

    write("data/models/MultiAnimation3.fx", shippedEffectText());
    std::string still = kTwoBoneModel.substr(0, kTwoBoneModel.find("AnimationSet Walk"));
    write("models/still.X", still);
    std::string damaged = kTwoBoneModel;
    damaged.replace(damaged.find("2, 3; 0.5"), 9, "2, 9; 0.5");
    write("models/damaged.X", damaged);
    for (const char* name : {"models\\still.X", "models\\damaged.X", "models\\none.X"})
    {
        capture.clear();
        EXPECT_NE(model->load(name), 0u) << name;
        ASSERT_FALSE(capture.messages().empty());
        EXPECT_EQ(capture.messages()[0].text,
                  std::string(TEXT_1252("Impossible de charger le modèle 3D animé ")) + name + ".");
        EXPECT_FALSE(model->isLoaded());
    }
}

TEST_F(AnimatedMeshD3DTest, EachGroupIsDrawnWithItsPaletteOnCardOrProcessor)
{
    ASSERT_EQ(model->load("models\\walker.X"), 0u);
    std::unique_ptr<AnimatedMeshD3D> walker(model->createInstance());
    walker->advanceTime(0.5);
    EXPECT_EQ(renderFrame(), 1u);
    EXPECT_EQ(device.countCalls("effect.beginPass(t0)"), 1u);
    std::vector<float> palette = parameter("amPalette");
    // Palette slot k holds bone k's offset x combined matrix.
    for (uint32_t k = 0; k < 2; ++k)
    {
        Matrix expected = model->boneMatrix(0, model->getBlendedMesh(0)->combinations[0].boneIds[k]);
        for (int i = 0; i < 16; ++i)
            EXPECT_FLOAT_EQ(palette[k * 16 + i], expected.data()[i]) << k;
    }
    EXPECT_EQ(parameter("CurNumBones"), (std::vector<float>{1}));
    EXPECT_EQ(parameter("k_d"), (std::vector<float>{1, 1, 1, 1}));
    EXPECT_EQ(parameter("n"), (std::vector<float>{10}));
}

TEST_F(AnimatedMeshD3DTest, TheProcessorSkinsTheVerticesOfEachPose)
{
    ScopedVertexShader none("0");
    ASSERT_EQ(model->load("models\\walker.X"), 0u);
    std::unique_ptr<AnimatedMeshD3D> walker(model->createInstance());
    EXPECT_EQ(model->getInstances().size(), 1u);
    walker->advanceTime(0.5);
    EXPECT_EQ(renderFrame(), 1u);
    EXPECT_EQ(device.countCalls("effect.beginPass(t2)"), 1u);
    Vector3 p = drawn({1, 1, 0});
    EXPECT_NEAR(p.x, kHalfRoot2, 1e-4f);
    EXPECT_NEAR(p.y, 3 * kHalfRoot2, 1e-4f);
    // A second instance at another time poses the shared meshes its own way.
    std::unique_ptr<AnimatedMeshD3D> other(model->createInstance());
    walker->mActive = false;
    EXPECT_EQ(renderFrame(), 1u);
    EXPECT_NEAR(drawn({1, 1, 0}).x, 1, 1e-4f);
    other.reset();
    EXPECT_EQ(model->getInstances().size(), 1u);
}

TEST_F(AnimatedMeshD3DTest, DescriptorsGiveEventAndEndCallbacksOnTheListenedTrack)
{
    // An instance made before the load gets its controller at the load.
    std::unique_ptr<AnimatedMeshD3D> early(model->createInstance());
    EXPECT_EQ(early->getController(), nullptr);
    ASSERT_EQ(model->load("models\\walker.X"), 0u);
    EXPECT_NE(early->getController(), nullptr);

    EXPECT_EQ(model->setAnimationDescriptor(0, {"Run", 0, 0, 0}), 1u);
    ASSERT_EQ(model->setAnimationDescriptor(0, {"Walk", 200, 0, 0}), 0u);
    EXPECT_EQ(model->getAnimationLength(0), 1000u);
    std::unique_ptr<AnimatedMeshD3D> walker(model->createInstance());
    Listener listener;
    walker->setListener(&listener, 7, 0);
    walker->advanceTime(0.5);
    EXPECT_TRUE(listener.heard.empty());
    walker->advanceTime(0.4);
    EXPECT_EQ(listener.heard, (std::vector<std::string>{"event 7"}));
    walker->advanceTime(0.1);
    EXPECT_EQ(listener.heard, (std::vector<std::string>{"event 7", "end 7"}));
    EXPECT_DOUBLE_EQ(walker->getTime(), 1.0);
    // Another track is not listened to.
    walker->setListener(&listener, 7, 1);
    walker->advanceTime(1.0);
    EXPECT_EQ(listener.heard.size(), 2u);
}

TEST_F(AnimatedMeshD3DTest, DeviceResetsAskForTheEffectAgain)
{
    ASSERT_EQ(model->load("models\\walker.X"), 0u);
    EXPECT_EQ(engine->onLostDevice(), 0u);
    EXPECT_FALSE(model->hasEffect());
    EXPECT_EQ(engine->onResetDevice(), 0u);
    EXPECT_TRUE(model->hasEffect());
    std::filesystem::remove(directory.path() + "data/models/MultiAnimation3.fx");
    EXPECT_EQ(model->onLostDevice(), 0u);
    EXPECT_EQ(model->onResetDevice(), uint32_t(ERROR_FAILED));
}

TEST_F(AnimatedMeshD3DTest, PickingHitsTheBoxAroundTheModel)
{
    ASSERT_EQ(model->load("models\\walker.X"), 0u);
    std::unique_ptr<AnimatedMeshD3D> walker(model->createInstance());
    walker->mPickable = true;
    CameraSetup camera{{0.5f, 0.5f, -10}, {0.5f, 0.5f, 0}, {0, 1, 0}, 0.7853982f};
    engine->setCamera(&camera);
    float width = 0, height = 0;
    engine->getViewSize(&width, &height);
    PickResult result;
    result.mDistance = 1e30f;
    EXPECT_EQ(engine->pick(width / 2, height / 2, &result, nullptr), 0u);
    EXPECT_EQ(result.mHit, 1);
    EXPECT_EQ(result.mNode, walker.get());
    EXPECT_FALSE(model->getPickBox()->isPickable());
    // The window point of the model's corner (1, 1, 0) is where it shows.
    Vector3 corner = walker->projectToWindow({1, 1, 0});
    float across = 0.5f / std::tan(0.7853982f / 2) / 10 * height / 2;
    EXPECT_NEAR(corner.x, width / 2 + across, 1e-2f);
    EXPECT_NEAR(corner.y, height / 2 - across, 1e-2f);
    engine->setCamera(nullptr);
}

TEST_F(AnimatedMeshD3DTest, TheFirstEnabledDirectionalLightLightsTheSkin)
{
    ASSERT_EQ(model->load("models\\walker.X"), 0u);
    std::unique_ptr<AnimatedMeshD3D> walker(model->createInstance());
    renderFrame();
    EXPECT_EQ(parameter("lightDir"), (std::vector<float>{0.5f, 0.5f, 0.5f, 1}));
    std::unique_ptr<Light> point(engine->createLight());
    point->setType(0);
    point->enable();
    std::unique_ptr<Light> off(engine->createLight());
    off->setDirection({1, 0, 0});
    std::unique_ptr<Light> sun(engine->createLight());
    sun->setDirection({0, -1, 0});
    sun->setDiffuse(0xFF336699);
    sun->setAmbient(0x80FF0000);
    sun->enable();
    renderFrame();
    EXPECT_EQ(parameter("lightDir"), (std::vector<float>{0, -1, 0, 1}));
    std::vector<float> diffuse = parameter("I_d");
    EXPECT_FLOAT_EQ(diffuse[0], 0x33 / 255.0f);
    EXPECT_FLOAT_EQ(diffuse[2], 0x99 / 255.0f);
    EXPECT_FLOAT_EQ(parameter("I_a")[3], 0x80 / 255.0f);
    EXPECT_EQ(parameter("CameraPos"), (std::vector<float>{0, 500, -1500, 1}));
}

TEST_F(AnimatedMeshD3DTest, ACrossFadeHandsTheWeightToTheOtherTrack)
{
    ASSERT_EQ(model->load("models\\walker.X"), 0u);
    ASSERT_EQ(model->setAnimationDescriptor(0, {"Walk", 0, 0, 0}), 0u);
    ASSERT_EQ(model->setAnimationDescriptor(1, {"Lift", 0, 0, 0}), 0u);
    std::unique_ptr<AnimatedMeshD3D> walker(model->createInstance());
    const AnimationController& controller = *walker->getController();
    walker->advanceTime(0.2);
    EXPECT_EQ(walker->switchAnimation(5, 400), uint32_t(ERROR_FAILED));
    ASSERT_EQ(walker->switchAnimation(1, 400), 0u);
    EXPECT_EQ(walker->getCurrentTrack(), 1u);
    EXPECT_EQ(controller.getTrack(1)->set, controller.findAnimationSet("Lift"));
    walker->advanceTime(0.1);
    EXPECT_FLOAT_EQ(controller.getTrack(0)->weight, 0.75f);
    EXPECT_FLOAT_EQ(controller.getTrack(0)->speed, 0.75f);
    EXPECT_FLOAT_EQ(controller.getTrack(1)->weight, 0.25f);
    EXPECT_TRUE(controller.getTrack(0)->enabled);
    walker->advanceTime(0.35);
    EXPECT_FALSE(controller.getTrack(0)->enabled);
    EXPECT_FLOAT_EQ(controller.getTrack(1)->weight, 1.0f);
    EXPECT_FLOAT_EQ(controller.getTrack(1)->speed, 1.0f);
}

TEST(AnimatedMeshD3DMatrix, PrintsFourRowsOfFiveDecimals)
{
    Matrix m = matrixTranslation(1.5f, -2, 1000);
    EXPECT_EQ(AnimatedMeshD3D::formatMatrix(m), "1.00000 0.00000 0.00000 0.00000\n"
                                                "0.00000 1.00000 0.00000 0.00000\n"
                                                "0.00000 0.00000 1.00000 0.00000\n"
                                                "1.50000 -2.00000 1000.00000 1.00000\n");
}

} // namespace

namespace
{

class ShippedAnimatedModelTest : public Engine3DTest::EngineFixture
{
protected:
    ShippedAnimatedModelTest() { setProgramDirectory(Engine3DTest::buildDirectory()); }
    ~ShippedAnimatedModelTest() override { setProgramDirectory(previous); }
    std::string previous = programDirectory();
};

TEST_F(ShippedAnimatedModelTest, TheGeneratedModelLoadsThroughTheEngineWithItsTwoSets)
{
    std::unique_ptr<AnimatedMeshModelD3D> model(engine->createAnimatedMeshModel());
    ASSERT_EQ(model->load("test-data\\models\\marcheur.X"), 0u);
    EXPECT_TRUE(model->hasEffect());
    ASSERT_EQ(model->setAnimationDescriptor(0, {"Marche", 250, 0, 0}), 0u);
    ASSERT_EQ(model->setAnimationDescriptor(1, {"Repos", 0, 0, 0}), 0u);
    EXPECT_EQ(model->getAnimationLength(0), 1000u);
    EXPECT_EQ(model->getAnimationLength(1), 2000u);
    EXPECT_EQ(model->getAnimationLength(2), 0u);
    // The tube's bones: the lower, the upper, and no vertex left to the holder.
    const BlendedMesh* blended = model->getBlendedMesh(0);
    ASSERT_NE(blended, nullptr);
    EXPECT_EQ(blended->paletteSize, 2u);
    EXPECT_EQ(blended->maxInfluences, 2u);

    std::unique_ptr<AnimatedMeshD3D> walker(model->createInstance());
    Listener listener;
    walker->setListener(&listener, 3, 0);
    walker->advanceTime(0.74);
    EXPECT_TRUE(listener.heard.empty());
    walker->advanceTime(0.02);
    EXPECT_EQ(listener.heard, (std::vector<std::string>{"event 3"}));
    walker->advanceTime(0.25);
    EXPECT_EQ(listener.heard, (std::vector<std::string>{"event 3", "end 3"}));
}

} // namespace
