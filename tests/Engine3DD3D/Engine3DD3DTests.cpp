#include "Engine3DD3D/Engine3DD3D.h"
#include "EngineFixture.h"

using namespace Engine3DTest;
using namespace Platform;
using namespace Platform::Gpu;

namespace
{
class Engine3DD3DTest : public EngineFixture
{
};
} // namespace

TEST_F(Engine3DD3DTest, BeginPassSetsTheStatesOfTheSceneAndTheCamera)
{
    engine->setAmbient(0xFF202020);
    ASSERT_EQ(engine->beginPass3D(), 0u);
    cache.flush();
    uint32_t value = 0;
    device.getRenderState(RS_CULLMODE, &value);
    EXPECT_EQ(value, uint32_t(CULL_NONE));
    device.getRenderState(RS_LIGHTING, &value);
    EXPECT_EQ(value, 1u);
    device.getRenderState(RS_AMBIENT, &value);
    EXPECT_EQ(value, 0xFF202020u);
    device.getRenderState(RS_SPECULARENABLE, &value);
    EXPECT_EQ(value, 1u);
    device.getSamplerState(0, SAMP_MIPFILTER, &value);
    EXPECT_EQ(value, uint32_t(TEXF_LINEAR));
    device.getSamplerState(0, SAMP_ADDRESSV, &value);
    EXPECT_EQ(value, uint32_t(TADDRESS_WRAP));

    // The default camera: from (0, 500, -1500) towards the origin, z up.
    Matrix view, projection;
    device.getTransform(TS_VIEW, &view);
    device.getTransform(TS_PROJECTION, &projection);
    EXPECT_TRUE(matricesNear(view, matrixLookAtLH({0, 500, -1500}, {0, 0, 0}, {0, 0, 1})));
    EXPECT_TRUE(matricesNear(projection, matrixPerspectiveFovLH(0.7853982f, 1024.0f / 768.0f, 1, 2000)));
    EXPECT_EQ(engine->getEye(), (Vector3{0, 500, -1500}));
    EXPECT_EQ(engine->getViewDirection(), (Vector3{0, -500, 1500}));

    ASSERT_EQ(engine->endPass3D(), 0u);
    cache.flush();
    device.getRenderState(RS_SPECULARENABLE, &value);
    EXPECT_EQ(value, 0u);
}

TEST_F(Engine3DD3DTest, InstalledCameraIsUsedUntilTakenAway)
{
    CameraSetup camera{{0, 0, -10}, {0, 0, 0}, {0, 1, 0}, 1.0f};
    engine->setCamera(&camera);
    engine->applyCamera();
    Matrix view;
    device.getTransform(TS_VIEW, &view);
    EXPECT_TRUE(matricesNear(view, matrixTranslation(0, 0, 10)));
    engine->setCamera(nullptr);
}

TEST_F(Engine3DD3DTest, PickOverAnEmptySceneFindsNothing)
{
    PickResult result;
    result.mHit = 1;
    result.mDistance = 1e30f;
    EXPECT_EQ(engine->pick(512, 384, &result, nullptr), 0u);
    EXPECT_EQ(result.mHit, 0);
    EXPECT_EQ(result.mRayDirection, nullptr);
    EXPECT_EQ(result.mDistance, 1e30f);
}

TEST(Engine3DD3DFactory, KindOneMakesTheEngineOthersNothing)
{
    EXPECT_EQ(createEngine3D(nullptr, 0), nullptr);
    EXPECT_EQ(createEngine3D(nullptr, 2), nullptr);
    auto engine = createEngine3D(nullptr, 1);
    ASSERT_NE(engine, nullptr);
    EXPECT_EQ(engine->getServiceId(), 3u);
    // Without a device the passes draw nothing and succeed.
    ASSERT_EQ(engine->init(), 0u);
    EXPECT_EQ(engine->beginPass3D(), 0u);
    EXPECT_EQ(engine->render(), 0u);
    EXPECT_EQ(engine->endPass3D(), 0u);
}
