#include "FakeEngine3D.h"

#include <gtest/gtest.h>

using namespace EngineTest;

namespace
{

class StubLight final : public Light
{
public:
    StubLight(uint32_t kind, bool enabled) : mKind(kind), mEnabled(enabled) {}
    ErrorCode setType(uint32_t kind) override { return mKind = kind, 0; }
    uint32_t getType() const override { return mKind; }
    ErrorCode setPosition(const Platform::Vector3&) override { return 0; }
    void getPosition(Platform::Vector3*) const override {}
    ErrorCode setDirection(const Platform::Vector3&) override { return 0; }
    void getDirection(Platform::Vector3*) const override {}
    ErrorCode enable() override { return mEnabled = true, 0; }
    ErrorCode disable() override { return mEnabled = false, 0; }
    bool isEnabled() const override { return mEnabled; }
    ErrorCode setRange(float) override { return 0; }
    float getRange() const override { return 0; }
    float getMaxRange() const override { return 0; }
    ErrorCode setAttenuation(float, float, float) override { return 0; }
    void getAttenuation(float*, float*, float*) const override {}
    ErrorCode setAmbient(uint32_t) override { return 0; }
    void getAmbient(uint32_t*) const override {}
    ErrorCode setDiffuse(uint32_t) override { return 0; }
    void getDiffuse(uint32_t*) const override {}
    ErrorCode setSpecular(uint32_t) override { return 0; }
    void getSpecular(uint32_t*) const override {}
    ErrorCode setFalloff(float) override { return 0; }
    float getFalloff() const override { return 0; }
    ErrorCode setTheta(float) override { return 0; }
    float getTheta() const override { return 0; }
    ErrorCode setPhi(float) override { return 0; }
    float getPhi() const override { return 0; }
    ErrorCode onLostDevice() override { return 0; }
    ErrorCode onResetDevice() override { return 0; }

    uint32_t mKind;
    bool mEnabled;
};

} // namespace

TEST(Engine3D, DefaultCameraLooksAtTheOriginFromAboveTheNearSide)
{
    FakeEngine3D engine;
    const CameraSetup& camera = engine.getCamera();
    EXPECT_EQ(camera.mEye, (Platform::Vector3{0, 500, -1500}));
    EXPECT_EQ(camera.mTarget, (Platform::Vector3{0, 0, 0}));
    EXPECT_EQ(camera.mUp, (Platform::Vector3{0, 0, 1}));
    EXPECT_EQ(engine.getFieldOfView(), 0.7853982f);
    EXPECT_EQ(engine.getAmbient(), 0xFFFFFFFFu);
    CameraSetup own{{1, 2, 3}, {0, 0, 0}, {0, 1, 0}, 1.0f};
    engine.setCamera(&own);
    EXPECT_EQ(&engine.getCamera(), &own);
    engine.setCamera(nullptr);
    EXPECT_EQ(engine.getCamera().mEye.y, 500.0f);
}

TEST(Engine3D, LightsRegisterForTheirLifeAndTheFirstEnabledDirectionalOneIsFound)
{
    FakeEngine3D engine;
    StubLight point(Light::POINT, true);
    StubLight off(Light::DIRECTIONAL, false);
    auto first = std::make_unique<StubLight>(Light::DIRECTIONAL, true);
    StubLight second(Light::DIRECTIONAL, true);
    EXPECT_EQ(engine.getLights().size(), 4u);
    EXPECT_EQ(engine.findFirstDirectionalLight(), first.get());
    first.reset();
    EXPECT_EQ(engine.getLights().size(), 3u);
    EXPECT_EQ(engine.findFirstDirectionalLight(), &second);
    second.disable();
    EXPECT_EQ(engine.findFirstDirectionalLight(), nullptr);
}

TEST(Engine3D, TheLastEngineMadeIsCurrentUntilItGoes)
{
    EXPECT_EQ(Engine3D::current(), nullptr);
    {
        FakeEngine3D engine;
        EXPECT_EQ(Engine3D::current(), &engine);
    }
    EXPECT_EQ(Engine3D::current(), nullptr);
}
