#include "Engine2DTestSupport.h"
#include "Framework/ApplicationGeneric.h"
#include "Platform/Math/Matrix.h"

#include <bit>

using namespace Engine2DTest;
using namespace Platform;
using Platform::Gpu::GPU_DEVICELOST;
using Platform::Gpu::GPU_DEVICENOTRESET;
using Platform::Gpu::GPU_OK;
using namespace Platform::Gpu;

namespace
{
// Records the order in which the engine calls it.
class ListenerLog final : public DeviceObjectsListener
{
public:
    ListenerLog(std::string name, std::string& log) : mName(std::move(name)), mLog(log) {}
    ErrorCode onDeviceLost() override
    {
        mLog += mName + "-lost ";
        return lostCode;
    }
    ErrorCode onDeviceReset() override
    {
        mLog += mName + "-reset ";
        return 0;
    }
    ErrorCode lostCode = 0;

private:
    std::string mName;
    std::string& mLog;
};

struct LosableEngine
{
    LosableEngine()
    {
        auto made = std::make_unique<LosableDevice>();
        device = made.get();
        EXPECT_EQ(engine.initWithDevice(std::move(made)), 0u);
    }
    Engine2DD3D engine;
    LosableDevice* device = nullptr;
};
} // namespace

using Engine2DD3DTest = RecordingEngineTest;

TEST(Engine2DFactory, KindOneIsTheDeviceEngineAndOthersAreNull)
{
    Engine2DD3D::registerKind();
    auto engine = Engine2D::create(1);
    ASSERT_NE(engine, nullptr);
    EXPECT_NE(dynamic_cast<Engine2DD3D*>(engine.get()), nullptr);
    EXPECT_EQ(engine->getServiceId(), 2u);
    EXPECT_EQ(Engine2D::create(2), nullptr);
    EXPECT_EQ(Engine2D::create(0), nullptr);
    setServiceCreator(SERVICE_ENGINE_2D, nullptr);
}

TEST_F(Engine2DD3DTest, SameFileNameSharesOneTextureWhateverTheFlags)
{
    ::Texture* first = engine.getTextureByName("a.png", 0);
    ::Texture* again = engine.getTextureByName("a.png", ::Texture::FLAG_NEGATIVE);
    EXPECT_EQ(first, again);
    EXPECT_EQ(first->getRefCount(), 2);
    EXPECT_EQ(first->getFlags(), 0u);
    // Names are compared byte for byte.
    ::Texture* otherCase = engine.getTextureByName("A.png", 0);
    EXPECT_NE(otherCase, first);
    // Ids and names never meet.
    ::Texture* byId = engine.getTextureByResourceId(7, 0);
    ::Texture* byName = engine.getTextureByName("7", 0);
    EXPECT_NE(byId, byName);
    EXPECT_EQ(engine.getTextureByResourceId(7, 0), byId);
    EXPECT_EQ(engine.findTextureByResourceId(8), nullptr);
    // New textures every time from the other factories.
    ::Texture* blank1 = engine.createTexture(4, 4, 0);
    ::Texture* blank2 = engine.createTexture(4, 4, 0);
    EXPECT_NE(blank1, blank2);
    EXPECT_EQ(engine.getTextures().size(), 6u);
    for (::Texture* texture : {first, again, otherCase, byId, byId, byName, blank1, blank2})
        engine.releaseTexture(texture);
    EXPECT_TRUE(engine.getTextures().empty());
    ::Texture* loaded = engine.findOrLoadTexture("x.png");
    EXPECT_EQ(loaded, engine.findTextureByName("x.png"));
    EXPECT_EQ(loaded->getLoadCount(), 0);
    engine.releaseTexture(loaded);
}

TEST_F(Engine2DD3DTest, TwoDimensionalStatesAndPixelProjection)
{
    // Render states reach the device at the flush before the next draw.
    RenderStateCache& states = engine.getStateCache();
    EXPECT_EQ(states.getState(RS_CULLMODE), uint32_t(CULL_NONE));
    EXPECT_EQ(states.getState(RS_ALPHABLENDENABLE), 1u);
    EXPECT_EQ(states.getState(RS_SRCBLEND), uint32_t(BLEND_SRCALPHA));
    EXPECT_EQ(states.getState(RS_DESTBLEND), uint32_t(BLEND_INVSRCALPHA));
    EXPECT_EQ(states.getState(RS_LIGHTING), 0u);
    EXPECT_EQ(states.getState(RS_ZENABLE), 0u);
    states.flush();
    uint32_t value = 0;
    device->getRenderState(RS_ALPHABLENDENABLE, &value);
    EXPECT_EQ(value, 1u);
    device->getTextureStageState(0, TSS_ALPHAARG2, &value);
    EXPECT_EQ(value, uint32_t(TA_DIFFUSE));
    device->getSamplerState(0, SAMP_MIPFILTER, &value);
    EXPECT_EQ(value, uint32_t(TEXF_NONE));
    // (x, y, depth) lands on pixel (x, y), y downwards, half a pixel before
    // its centre as the drawing code expects (the device draws texel for
    // pixel from there; the GL drawing tests pin that).
    Matrix projection;
    device->getTransform(TS_PROJECTION, &projection);
    for (auto [x, y] : {std::pair{0.0f, 0.0f}, {1023.0f, 767.0f}, {512.0f, 100.0f}})
    {
        Vector3 ndc = vec3TransformCoord({x, y, engine.getZ()}, projection);
        EXPECT_NEAR((ndc.x + 1) / 2 * 1024, x - 0.5f, 1e-2f);
        EXPECT_NEAR((1 - ndc.y) / 2 * 768, y - 0.5f, 1e-2f);
    }
    // begin2DPass puts back what a 3D pass changed.
    device->setRenderState(RS_ZENABLE, 1);
    device->setTransform(TS_PROJECTION, matrixIdentity());
    EXPECT_EQ(engine.begin2DPass(), 0u);
    EXPECT_EQ(states.getState(RS_ZENABLE), 0u);
    device->getTransform(TS_PROJECTION, &projection);
    EXPECT_FALSE(projection == matrixIdentity());
}

TEST_F(Engine2DD3DTest, PassBehindTheSceneTestsDepthAtTheFarPlaneAndPutsTheDepthStatesBack)
{
    RenderStateCache& states = engine.getStateCache();
    device->setRenderState(RS_ZWRITEENABLE, 1);
    device->setRenderState(RS_ZFUNC, CMP_LESS);
    EXPECT_EQ(engine.begin2DPassBehindScene(), 0u);
    EXPECT_EQ(states.getState(RS_ZENABLE), 1u);
    EXPECT_EQ(states.getState(RS_ZWRITEENABLE), 0u);
    EXPECT_EQ(states.getState(RS_ZFUNC), uint32_t(CMP_LESSEQUAL));
    EXPECT_EQ(std::bit_cast<float>(states.getState(RS_DEPTHBIAS)), 1.0f);
    EXPECT_EQ(engine.end2DPass(), 0u);
    EXPECT_EQ(states.getState(RS_ZENABLE), 0u);
    EXPECT_EQ(states.getState(RS_ZWRITEENABLE), 1u);
    EXPECT_EQ(states.getState(RS_ZFUNC), uint32_t(CMP_LESS));
    EXPECT_EQ(states.getState(RS_DEPTHBIAS), 0u);
    // A plain pass after it leaves the depth states alone.
    EXPECT_EQ(engine.begin2DPass(), 0u);
    EXPECT_EQ(engine.end2DPass(), 0u);
    EXPECT_EQ(states.getState(RS_ZFUNC), uint32_t(CMP_LESS));
}

TEST_F(Engine2DD3DTest, FrameIsClearedOpaqueAndPresentedOnce)
{
    engine.setClearColor(0x00123456);
    device->clearCalls();
    EXPECT_EQ(engine.beginFrame(), 0u);
    EXPECT_EQ(engine.end2DPass(), 0u);
    EXPECT_EQ(engine.endFrame(), 0u);
    EXPECT_EQ(device->countCalls("clear(3, 0xFF123456, 1, 0)"), 1u);
    EXPECT_EQ(device->countCalls("beginScene()"), 1u);
    EXPECT_EQ(device->countCalls("endScene()"), 1u);
    EXPECT_EQ(device->presentCount(), 1u);
    EXPECT_TRUE(engine.getPresentParity());
}

TEST_F(Engine2DD3DTest, PendingFrameIsPresentedOnlyWhileParityIsSet)
{
    EXPECT_EQ(engine.presentPending(), 0u);
    EXPECT_EQ(device->presentCount(), 0u);
    engine.beginFrame();
    engine.endFrame();
    EXPECT_EQ(engine.presentPending(), 0u);
    EXPECT_EQ(device->presentCount(), 2u);
    EXPECT_FALSE(engine.getPresentParity());
    engine.presentPending();
    EXPECT_EQ(device->presentCount(), 2u);
}

TEST_F(Engine2DD3DTest, TextureMemoryFollowsTheDevice)
{
    EXPECT_EQ(engine.getTextureMemoryUsed(), 0u);
    EXPECT_GT(engine.getTextureMemoryAvailable(), 0u);
    ::Texture* texture = engine.createTexture(64, 64, 0);
    ASSERT_EQ(texture->load(), 0u);
    EXPECT_EQ(engine.getTextureMemoryUsed(), 64u * 64u * 4u);
    texture->unload();
    EXPECT_EQ(engine.getTextureMemoryUsed(), 0u);
    texture->release();
}

TEST(Engine2DD3DReset, LostDeviceSkipsTheFrameUntilItCanBeReset)
{
    Platform::ScopedMessageCapture messages;
    LosableEngine fixture;
    Engine2DD3D& engine = fixture.engine;
    std::string log;
    ListenerLog gui("gui", log), scene("3d", log);
    engine.setGuiDeviceListener(&gui);
    engine.set3DDeviceListener(&scene);
    ::Texture* target = engine.createTexture(16, 16, ::Texture::FLAG_RENDER_TARGET);
    ASSERT_EQ(target->load(), 0u);

    fixture.device->level = GPU_DEVICELOST;
    EXPECT_EQ(engine.beginFrame(), 0u);
    EXPECT_EQ(fixture.device->clears, 0);
    engine.endFrame();

    fixture.device->level = GPU_DEVICENOTRESET;
    EXPECT_EQ(engine.beginFrame(), 0u);
    EXPECT_EQ(fixture.device->resets, 1);
    EXPECT_EQ(fixture.device->clears, 1);
    EXPECT_EQ(log, "gui-lost 3d-lost 3d-reset gui-reset ");
    EXPECT_TRUE(engine.isDeviceReady());
    EXPECT_FALSE(engine.getPresentParity());
    EXPECT_TRUE(target->isCreated());
    // The reset put the device back to defaults; the 2D states are set again.
    EXPECT_EQ(engine.getStateCache().getState(RS_ALPHABLENDENABLE), 1u);
    engine.endFrame();
    target->unload();
    target->release();
}

TEST(Engine2DD3DReset, DeviceStillLostDuringResetIsTriedAgainNextFrame)
{
    LosableEngine fixture;
    fixture.device->level = GPU_DEVICENOTRESET;
    fixture.device->resetResult = GPU_DEVICELOST;
    EXPECT_EQ(fixture.engine.reset(), ERROR_FAILED);
    EXPECT_FALSE(fixture.engine.isDeviceReady());
    fixture.device->resetResult = GPU_OK;
    EXPECT_EQ(fixture.engine.beginFrame(), 0u);
    EXPECT_EQ(fixture.device->resets, 2);
    EXPECT_TRUE(fixture.engine.isDeviceReady());
    fixture.engine.endFrame();
}

TEST(Engine2DD3DReset, ObjectsThatCannotBeReleasedStopTheReset)
{
    Platform::ScopedMessageCapture messages;
    LosableEngine fixture;
    std::string log;
    ListenerLog gui("gui", log);
    gui.lostCode = ERROR_D3D;
    fixture.engine.setGuiDeviceListener(&gui);
    EXPECT_EQ(fixture.engine.reset(), ERROR_D3D);
    EXPECT_EQ(fixture.device->resets, 0);
    EXPECT_EQ(messages.messages().size(), 1u);
}

TEST(Engine2DD3DLifetime, TextureHeldPastTheEngineCanStillBeReleased)
{
    ::Texture* survivor = nullptr;
    {
        Engine2DD3D engine;
        ASSERT_EQ(engine.initWithDevice(std::make_unique<RecordingDevice>()), 0u);
        survivor = engine.createTexture(8, 8, 0);
        ASSERT_EQ(survivor->load(), 0u);
    }
    // The engine is gone: the texture cannot load again, but lets go cleanly.
    EXPECT_EQ(survivor->unload(), 0u);
    EXPECT_EQ(survivor->doLoad(), ERROR_FAILED);
    survivor->release();
}

TEST_F(Engine2DD3DTest, OpeningEffectsByKind)
{
    EXPECT_EQ(engine.getOpeningEffectCount(), 2u);
    EXPECT_EQ(engine.capabilityFlag(), 1u);
    EXPECT_NE(engine.createOpeningEffect(0), nullptr);
    EXPECT_NE(engine.createOpeningEffect(1), nullptr);
    EXPECT_EQ(engine.createOpeningEffect(2), nullptr);
    auto effect = engine.createOpeningEffect(1);
    EXPECT_EQ(effect->getDuration(), 350u);
}
