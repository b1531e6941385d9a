#include "Engine3DD3D/LightD3D.h"
#include "EngineFixture.h"

using namespace Engine3DTest;
using namespace Platform;

namespace
{
class LightD3DTest : public EngineFixture
{
protected:
    std::unique_ptr<LightD3D> makeLight()
    {
        return std::unique_ptr<LightD3D>(static_cast<LightD3D*>(engine->createLight()));
    }
};
} // namespace

TEST_F(LightD3DTest, ANewLightIsAnOffBlackDirectionalLightWithFalloffOne)
{
    auto light = makeLight();
    EXPECT_EQ(light->getType(), uint32_t(::Light::DIRECTIONAL));
    EXPECT_EQ(light->getFalloff(), 1.0f);
    EXPECT_FALSE(light->isEnabled());
    uint32_t color = 1;
    light->getDiffuse(&color);
    EXPECT_EQ(color, 0u);
    EXPECT_FLOAT_EQ(light->getMaxRange(), 1.8446743e19f);
    EXPECT_EQ(engine->getLights().back(), light.get());
}

TEST_F(LightD3DTest, ChangesToAnOffLightWaitForTheNextEnable)
{
    auto light = makeLight();
    device.clearCalls();
    light->setDiffuse(0xFF804000);
    light->setType(::Light::SPOT);
    EXPECT_EQ(device.calls().size(), 0u);
    ASSERT_EQ(light->enable(), 0u);
    Platform::Gpu::Light sent;
    ASSERT_EQ(device.getLight(light->getIndex(), &sent), Gpu::GPU_OK);
    EXPECT_EQ(sent.type, uint32_t(Gpu::LIGHT_SPOT));
    EXPECT_FLOAT_EQ(sent.diffuse.r, 128 * 0.003921569f);
    bool on = false;
    device.getLightEnable(light->getIndex(), &on);
    EXPECT_TRUE(on);
    // Once on, each change is sent at once.
    light->setRange(42);
    device.getLight(light->getIndex(), &sent);
    EXPECT_EQ(sent.range, 42.0f);
}

TEST_F(LightD3DTest, ColoursComeBackWithTheirFourBytes)
{
    auto light = makeLight();
    for (uint32_t color : {0x80FF4000u, 0xFFFFFFFFu, 0x01020304u, 0x7F7F7F7Fu})
    {
        light->setSpecular(color);
        uint32_t back = 0;
        light->getSpecular(&back);
        EXPECT_EQ(back, color);
        light->setAmbient(color);
        light->getAmbient(&back);
        EXPECT_EQ(back, color);
    }
}

TEST_F(LightD3DTest, DestroyingAnEnabledLightSwitchesItsSlotOff)
{
    auto light = makeLight();
    uint32_t index = light->getIndex();
    light->enable();
    light.reset();
    bool on = true;
    device.getLightEnable(index, &on);
    EXPECT_FALSE(on);
    EXPECT_TRUE(engine->getLights().empty());
}

TEST_F(LightD3DTest, SlotIndicesAreNeverReused)
{
    auto first = makeLight();
    uint32_t start = first->getIndex();
    first.reset();
    auto second = makeLight();
    auto third = makeLight();
    EXPECT_EQ(second->getIndex(), start + 1);
    EXPECT_EQ(third->getIndex(), start + 2);
}

TEST_F(LightD3DTest, CopyFromTakesEveryValueAndTheOnState)
{
    auto source = makeLight();
    source->setType(::Light::POINT);
    source->setPosition({1, 2, 3});
    source->setDirection({0, -1, 0});
    source->setRange(500);
    source->setFalloff(2);
    source->setTheta(0.5f);
    source->setPhi(1.0f);
    source->setAttenuation(1, 0.5f, 0.25f);
    source->setAmbient(0xFF101010);
    source->setDiffuse(0xFFFFFFFF);
    source->setSpecular(0xFF808080);
    source->enable();

    auto target = makeLight();
    target->enable();
    target->copyFrom(*source);
    EXPECT_TRUE(target->isEnabled());
    Platform::Gpu::Light sent;
    ASSERT_EQ(device.getLight(target->getIndex(), &sent), Gpu::GPU_OK);
    EXPECT_EQ(sent.type, uint32_t(Gpu::LIGHT_POINT));
    EXPECT_EQ(sent.position, (Vector3{1, 2, 3}));
    EXPECT_EQ(sent.range, 500.0f);
    EXPECT_EQ(sent.attenuation2, 0.25f);
    EXPECT_EQ(sent.phi, 1.0f);

    source->disable();
    target->copyFrom(*source);
    EXPECT_FALSE(target->isEnabled());
}

TEST_F(LightD3DTest, ResetSendsEnabledLightsAgain)
{
    auto light = makeLight();
    light->setDiffuse(0xFF00FF00);
    light->enable();
    device.reset(device.presentParameters());
    ASSERT_EQ(engine->onLostDevice(), 0u);
    ASSERT_EQ(engine->onResetDevice(), 0u);
    Platform::Gpu::Light sent;
    ASSERT_EQ(device.getLight(light->getIndex(), &sent), Gpu::GPU_OK);
    EXPECT_EQ(sent.diffuse.g, 1.0f);
    bool on = false;
    device.getLightEnable(light->getIndex(), &on);
    EXPECT_TRUE(on);
}
