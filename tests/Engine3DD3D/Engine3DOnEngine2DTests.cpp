// The 3D engine on the program's 2D engine: its device, cache, resets and
// the textures of models.
#include "Engine/Sprite3D.h"
#include "Engine2DD3D/Engine2DD3D.h"
#include "Engine2DD3D/MaterialD3D.h"
#include "Engine2DD3D/TextureD3D.h"
#include "Engine3DD3D/Engine3DD3D.h"
#include "Engine3DD3D/LightD3D.h"
#include "Engine3DD3D/MeshModelD3D.h"
#include "ModelFiles.h"
#include "Platform/Gpu/PngWriter.h"
#include "Platform/Gpu/RecordingDevice.h"

#include <gtest/gtest.h>

using namespace Platform;

namespace
{

class Engine3DOnEngine2DTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto recording = std::make_unique<Gpu::RecordingDevice>();
        device = recording.get();
        ASSERT_EQ(engine2D.initWithDevice(std::move(recording)), 0u);
        engine3D = std::make_unique<Engine3DD3D>(&engine2D);
        ASSERT_EQ(engine3D->init(), 0u);
    }

    Engine3DTest::ModelFolder folder;
    Engine2DD3D engine2D;
    Gpu::RecordingDevice* device = nullptr;
    std::unique_ptr<Engine3DD3D> engine3D;
};

} // namespace

TEST_F(Engine3DOnEngine2DTest, DrawsWithTheDeviceAndCacheOfThe2DEngine)
{
    EXPECT_EQ(engine3D->getDevice(), engine2D.getDevice());
    EXPECT_EQ(engine3D->getRenderStateCache(), &engine2D.getStateCache());
    ASSERT_EQ(engine3D->beginPass3D(), 0u);
    engine2D.getStateCache().flush();
    uint32_t lighting = 0;
    device->getRenderState(Gpu::RS_LIGHTING, &lighting);
    EXPECT_EQ(lighting, 1u);
}

TEST_F(Engine3DOnEngine2DTest, ADeviceResetSetsTheEnabledLightsAgain)
{
    std::unique_ptr<::Light> light(engine3D->createLight());
    light->setDiffuse(0xFF00FF00);
    light->enable();
    uint32_t index = static_cast<LightD3D*>(light.get())->getIndex();
    ASSERT_EQ(engine2D.reset(), 0u);
    Gpu::Light sent;
    ASSERT_EQ(device->getLight(index, &sent), Gpu::GPU_OK);
    EXPECT_EQ(sent.diffuse.g, 1.0f);
    bool on = false;
    device->getLightEnable(index, &on);
    EXPECT_TRUE(on);
}

TEST_F(Engine3DOnEngine2DTest, ModelTexturesLoadBesideTheFileAndAreDrawn)
{
    const uint32_t blue[4] = {0xFF0000FF, 0xFF0000FF, 0xFF0000FF, 0xFF0000FF};
    std::filesystem::create_directories(Platform::mapPath("models"));
    ASSERT_TRUE(Gpu::writePng(Platform::mapPath("models\\bleu.png"), 2, 2, blue));
    folder.write("square.X", Engine3DTest::squareModel("1;1;1;1;;", "bleu.png"));
    std::unique_ptr<MeshModel> model(engine3D->createMeshModel());
    model->setFileName("models\\square.X");
    std::unique_ptr<MeshInstance> instance(model->createInstance());
    auto* texture = dynamic_cast<TextureD3D*>(model->getMaterial(0)->getTexture());
    ASSERT_NE(texture, nullptr);
    EXPECT_TRUE(texture->isCreated());
    EXPECT_EQ(texture->getName(), "models\\bleu.png");
    EXPECT_NE(texture->getFlags() & Texture::FLAG_MIPMAPS, 0);
    ASSERT_EQ(engine3D->beginPass3D(), 0u);
    ASSERT_EQ(engine3D->render3D(), 0u);
    EXPECT_EQ(device->getTexture(0), texture->getD3DTexture());
    // The model's material holds the texture's one reference.
    instance.reset();
    model.reset();
    EXPECT_EQ(engine2D.findTextureByName("models\\bleu.png"), nullptr);
}

TEST_F(Engine3DOnEngine2DTest, TexturedSpritesInFrontOfTheEyeAreDrawnFarthestFirst)
{
    Texture* texture = engine2D.createTexture(4, 4, 0);
    ASSERT_EQ(texture->load(), 0u);
    std::unique_ptr<Sprite3D> far(engine3D->createSprite()), near(engine3D->createSprite()),
        behind(engine3D->createSprite()), bare(engine3D->createSprite());
    // The default camera looks from (0, 500, -1500) towards the origin.
    // The scene walk records their positions before the sprite pass.
    far->mTransform.mPosition = {0, 0, 400};
    near->mTransform.mPosition = {0, 0, 0};
    behind->mTransform.mPosition = {0, 500, -1600};
    bare->mTransform.mPosition = {0, 0, 200};
    for (Sprite3D* sprite : {far.get(), near.get(), behind.get(), bare.get()})
        sprite->mTransform.update();
    for (Sprite3D* sprite : {far.get(), near.get(), behind.get()})
        ASSERT_EQ(sprite->setTexture(texture), 0u);
    near->mBillboard = true;
    near->mRotation = 90;
    ASSERT_EQ(engine3D->beginPass3D(), 0u);
    device->clearCalls();
    ASSERT_EQ(engine3D->render3D(), 0u);
    // The far one, then the near one; the bare one has nothing to show and
    // the one behind the eye ends the list.
    EXPECT_EQ(device->countCalls("drawPrimitive(5, " + std::to_string(far->mQuadIndex) + ", 2)"), 1u);
    EXPECT_EQ(device->countCalls("drawPrimitive(5, " + std::to_string(near->mQuadIndex) + ", 2)"), 1u);
    EXPECT_EQ(device->countCalls("drawPrimitive("), 2u);
    // The last world matrix: the near sprite's, turned by 90 degrees about
    // z before the billboard rotation, and moved to its position.
    Matrix world;
    device->getTransform(Gpu::TS_WORLD, &world);
    Matrix expected = matrixRotationZ(90 * 0.017453292f) * engine3D->getBillboard();
    expected.m[3][0] = expected.m[3][1] = expected.m[3][2] = 0;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_NEAR(world.m[r][c], expected.m[r][c], 1e-5f);
    far.reset();
    near.reset();
    behind.reset();
    bare.reset();
    texture->unload();
    engine2D.releaseTexture(texture);
}
