#include "../Platform/Mesh/TwoBoneModel.h"
#include "Engine/MeshModel.h"
#include "Engine3DD3D/AnimatedMeshModelD3D.h"
#include "EngineFixture.h"
#include "Framework/Text1252Literal.h"
#include "Platform/System/MessageSink.h"
#include "Platform/System/Paths.h"

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
        write("data/models/MultiAnimation3.fx", "// skinning effect\n");
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

    // The drawn position of the vertex that started at bind.
    Vector3 drawn(const Vector3& bind)
    {
        const SkinnedMeshPart& part = model->getParts().at(0);
        for (size_t v = 0; v < part.vertices.size(); ++v)
        {
            if (part.vertices[v].position == bind)
            {
                Vector3 p;
                std::memcpy(&p, model->getPartMesh(0)->vertexData() + v * 32, sizeof p);
                return p;
            }
        }
        ADD_FAILURE() << "no vertex there";
        return {};
    }

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

TEST_F(AnimatedMeshD3DTest, LoadsTheSkinnedModelForProcessorSkinning)
{
    ASSERT_EQ(model->load("models\\walker.X"), 0u);
    EXPECT_TRUE(model->isLoaded());
    EXPECT_TRUE(model->hasEffect());
    EXPECT_EQ(model->getTechnique(), "t2");
    EXPECT_TRUE(model->isSoftwareSkinning());
    ASSERT_EQ(model->getParts().size(), 1u);
    EXPECT_EQ(model->getPartMesh(0)->getNumFaces(), 2u);
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

    write("data/models/MultiAnimation3.fx", "//\n");
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

TEST_F(AnimatedMeshD3DTest, DrawsTheSkinnedVerticesOfItsPose)
{
    ASSERT_EQ(model->load("models\\walker.X"), 0u);
    std::unique_ptr<AnimatedMeshD3D> walker(model->createInstance());
    EXPECT_EQ(model->getInstances().size(), 1u);
    walker->advanceTime(0.5);
    EXPECT_EQ(renderFrame(), 1u);
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
    EXPECT_EQ(result.mNode, model->getPickBox());
    EXPECT_FALSE(model->getPickBox()->isPickable());
    engine->setCamera(nullptr);
}

} // namespace
