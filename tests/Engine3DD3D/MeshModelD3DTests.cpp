#include "Engine/ModelDescription.h"
#include "Engine2DD3D/MaterialD3D.h"
#include "Engine3DD3D/MeshModelD3D.h"
#include "EngineFixture.h"
#include "Framework/Text1252Literal.h"
#include "ModelFiles.h"
#include "Platform/System/MessageSink.h"

#include <cstring>

using namespace Engine3DTest;
using namespace Platform;
using namespace Platform::Gpu;

namespace
{

class MeshModelD3DTest : public EngineFixture
{
protected:
    MeshModelD3DTest()
    {
        folder.write("square.X", squareModel());
        model.reset(static_cast<MeshModelD3D*>(engine->createMeshModel()));
        model->setFileName("models\\square.X");
    }

    std::unique_ptr<MeshInstance> makeInstance(float z = 0)
    {
        std::unique_ptr<MeshInstance> instance(model->createInstance());
        instance->mTransform.mPosition = {0, 0, z};
        instance->mTransform.update();
        instance->mPickable = true;
        return instance;
    }

    uint32_t drawsOfOneFrame()
    {
        device.clearCalls();
        EXPECT_EQ(engine->beginPass3D(), 0u);
        EXPECT_EQ(engine->render3D(), 0u);
        EXPECT_EQ(engine->endPass3D(), 0u);
        return uint32_t(device.countCalls("drawIndexedPrimitive("));
    }

    ModelFolder folder;
    // Looking along +z from z = -10.
    CameraSetup camera{{0, 0, -10}, {0, 0, 0}, {0, 1, 0}, 0.7853982f};
    std::unique_ptr<MeshModelD3D> model;
};

} // namespace

TEST_F(MeshModelD3DTest, LoadsThroughTheFileLookupWithDiffuseAsAmbientAndItsBox)
{
    auto instance = makeInstance();
    ASSERT_NE(model->getMesh(), nullptr);
    EXPECT_EQ(model->getMesh()->getNumFaces(), 2u);
    ASSERT_EQ(model->getMaterialCount(), 1u);
    auto* material = static_cast<MaterialD3D*>(model->getMaterial(0));
    EXPECT_EQ(material->getD3DMaterial().ambient.r, 1.0f);
    EXPECT_EQ(material->getAmbient()[0], 1.0f);
    EXPECT_EQ(material->getDiffuse()[1], 0.0f);
    EXPECT_EQ(model->mBoxMin, (Vector3{-1, -1, 0}));
    EXPECT_EQ(model->mBoxMax, (Vector3{1, 1, 0}));
    ASSERT_EQ(model->setOrigin({1, 1, 0}), 0u);
    EXPECT_EQ(model->mBoxMin, (Vector3{-2, -2, 0}));
    EXPECT_EQ(model->mBoxMax, (Vector3{0, 0, 0}));
    instance.reset();
    EXPECT_EQ(model->getMesh(), nullptr);
}

TEST_F(MeshModelD3DTest, MissingOrDamagedFilesAreReportedByName)
{
    folder.write("broken.X", "xof 0303txt 0032\nMesh M { 3; 0;0;0;; }");
    // A file that is there is never said to be missing.
    const struct
    {
        const char* name;
        ErrorCode code;
        const char* text;
    } cases[] = {{"models\\none.X", ERROR_FILENOTFOUND, TEXT_1252("Modele 3D non trouvé : ")},
                 {"models\\broken.X", ERROR_FILEIO_INVALIDFILE, TEXT_1252("Modele 3D endommagé : ")}};
    for (const auto& c : cases)
    {
        ScopedMessageCapture capture;
        model->setFileName(c.name);
        EXPECT_EQ(model->doLoad(), uint32_t(c.code));
        ASSERT_EQ(capture.messages().size(), 1u);
        EXPECT_EQ(capture.messages()[0].text, std::string(c.text) + c.name);
        EXPECT_EQ(model->getMesh(), nullptr);
    }
}

TEST_F(MeshModelD3DTest, OutlineWidthTwoDrawsTheMeshNineTimes)
{
    auto instance = makeInstance();
    EXPECT_EQ(drawsOfOneFrame(), 1u);
    instance->setOutline(0x0100FF00);
    EXPECT_EQ(drawsOfOneFrame(), 5u);
    instance->setOutline(0x0200FF00);
    EXPECT_EQ(drawsOfOneFrame(), 9u);
    // The outline leaves the projection and the stage as they were.
    Matrix projection;
    device.getTransform(TS_PROJECTION, &projection);
    EXPECT_TRUE(matricesNear(projection, matrixPerspectiveFovLH(0.7853982f, 1024.0f / 768.0f, 1, 2000)));
    uint32_t op = 0;
    device.getTextureStageState(0, TSS_COLOROP, &op);
    EXPECT_EQ(op, defaultTextureStageState(0, TSS_COLOROP));
}

TEST_F(MeshModelD3DTest, ThresholdTransparencyTestsAlphaWhileDrawingOnly)
{
    auto instance = makeInstance();
    model->setTransparency(MeshModel::TRANSPARENCY_ALPHA_THRESHOLD);
    model->setThreshold(0);
    model->setCulling(MeshModel::CULLING_CCW);
    model->setTextureRepeat(false);
    drawsOfOneFrame();
    EXPECT_EQ(device.countCalls("setRenderState(15, 1)"), 1u);
    EXPECT_EQ(device.countCalls("setRenderState(25, 7)"), 1u);
    EXPECT_GE(device.countCalls("setRenderState(22, 3)"), 1u);
    uint32_t address = 0;
    device.getSamplerState(0, SAMP_ADDRESSU, &address);
    EXPECT_EQ(address, uint32_t(TADDRESS_CLAMP));
    cache.flush();
    EXPECT_EQ(cache.getState(RS_ALPHATESTENABLE), 0u);
    EXPECT_EQ(cache.getState(RS_CULLMODE), uint32_t(CULL_NONE));
}

TEST_F(MeshModelD3DTest, InstanceMaterialsReplaceTheModelsWhileDrawing)
{
    auto instance = makeInstance();
    MaterialD3D green;
    green.setDiffuse(0, 1, 0, 1);
    instance->setAllMaterials(&green);
    drawsOfOneFrame();
    Gpu::Material used;
    device.getMaterial(&used);
    EXPECT_EQ(used.diffuse.g, 1.0f);
    instance->setAllMaterials(nullptr);
    drawsOfOneFrame();
    device.getMaterial(&used);
    EXPECT_EQ(used.diffuse.r, 1.0f);
}

TEST_F(MeshModelD3DTest, PickKeepsTheNearestInstanceWithPointAndTextureCoordinates)
{
    engine->setCamera(&camera);
    auto far = makeInstance(5);
    auto near = makeInstance(0);
    PickResult result;
    ASSERT_EQ(engine->pick(512, 384, &result, nullptr), 0u);
    ASSERT_EQ(result.mHit, 1);
    EXPECT_EQ(result.mNode, near.get());
    EXPECT_NEAR(result.mDistance, 10.0f, 1e-3f);
    EXPECT_NEAR(result.mPoint.x, 0.0f, 1e-4f);
    EXPECT_NEAR(result.mPoint.y, 0.0f, 1e-4f);
    EXPECT_NEAR(result.mTextureCoords.x, 0.5f, 1e-4f);
    EXPECT_NEAR(result.mTextureCoords.y, 0.5f, 1e-4f);
    EXPECT_EQ(result.mRayDirection, nullptr);

    // Towards the top-left corner of the near square: v shrinks, u too.
    ASSERT_EQ(engine->pick(512 - 40, 384 - 40, &result, nullptr), 0u);
    ASSERT_EQ(result.mHit, 1);
    EXPECT_LT(result.mTextureCoords.x, 0.5f);
    EXPECT_LT(result.mTextureCoords.y, 0.5f);
    EXPECT_LT(result.mPoint.x, 0.0f);
    EXPECT_GT(result.mPoint.y, 0.0f);

    // An instance that is not pickable is never found.
    near->mPickable = false;
    ASSERT_EQ(engine->pick(512, 384, &result, nullptr), 0u);
    EXPECT_EQ(result.mNode, far.get());
    far->mActive = false;
    ASSERT_EQ(engine->pick(512, 384, &result, nullptr), 0u);
    EXPECT_EQ(result.mHit, 0);
    engine->setCamera(nullptr);
}

TEST_F(MeshModelD3DTest, EqualDistancesKeepTheFirstInstanceFound)
{
    engine->setCamera(&camera);
    auto first = makeInstance(0);
    auto second = makeInstance(0);
    PickResult result;
    ASSERT_EQ(engine->pick(512, 384, &result, nullptr), 0u);
    EXPECT_EQ(result.mNode, first.get());
    engine->setCamera(nullptr);
}

TEST_F(MeshModelD3DTest, AMeshBuiltInCodeStaysWithItsInstances)
{
    std::unique_ptr<MeshModelD3D> built(static_cast<MeshModelD3D*>(engine->createMeshModel()));
    ASSERT_EQ(built->createMesh(1, 3, 2), 0u);
    EXPECT_EQ(built->getMaterialCount(), 2u);
    float vertices[3][8] = {{0, 0, 0}, {0, 1, 0}, {1, 0, 0}};
    void* data = nullptr;
    built->getMesh()->lockVertexBuffer(0, &data);
    std::memcpy(data, vertices, sizeof vertices);
    built->getMesh()->unlockVertexBuffer();
    built->getMesh()->lockIndexBuffer(0, &data);
    const uint16_t indices[3] = {0, 1, 2};
    std::memcpy(data, indices, sizeof indices);
    built->getMesh()->unlockIndexBuffer();
    delete built->createInstance();
    EXPECT_NE(built->getMesh(), nullptr);
    EXPECT_EQ(built->computeBoundingBox(), 0u);
    EXPECT_EQ(built->mBoxMax, (Vector3{1, 1, 0}));
}

TEST_F(MeshModelD3DTest, DescriptionPreloadsThroughTheEngine)
{
    ModelDescription description;
    description.getModel()->setFileName("models\\square.X");
    ASSERT_EQ(description.setPreloaded(true), 0u);
    EXPECT_EQ(description.getModel()->getMaterialCount(), 1u);
    std::unique_ptr<MeshInstance> instance(description.createInstance());
    EXPECT_EQ(instance->getSubsetCount(), 1u);
}
