#pragma once
// A light in a device light slot. Changes reach the device at once while
// the light is on; while it is off they wait for the next enable. The slot
// index is taken from a counter that only grows, so each light keeps its
// own slot for its whole life.
#include "Engine/Light.h"
#include "Platform/Gpu/GpuTypes.h"

class LightD3D final : public Light
{
public:
    LightD3D();
    // Switches the slot off.
    ~LightD3D() override;

    ErrorCode setType(uint32_t kind) override;
    uint32_t getType() const override;
    ErrorCode setPosition(const Platform::Vector3& position) override;
    void getPosition(Platform::Vector3* position) const override;
    ErrorCode setDirection(const Platform::Vector3& direction) override;
    void getDirection(Platform::Vector3* direction) const override;
    ErrorCode enable() override;
    ErrorCode disable() override;
    bool isEnabled() const override { return mEnabled; }
    ErrorCode setRange(float range) override;
    float getRange() const override { return mLight.range; }
    float getMaxRange() const override;
    ErrorCode setAttenuation(float a0, float a1, float a2) override;
    void getAttenuation(float* a0, float* a1, float* a2) const override;
    ErrorCode setAmbient(uint32_t color) override;
    void getAmbient(uint32_t* color) const override;
    ErrorCode setDiffuse(uint32_t color) override;
    void getDiffuse(uint32_t* color) const override;
    ErrorCode setSpecular(uint32_t color) override;
    void getSpecular(uint32_t* color) const override;
    ErrorCode setFalloff(float falloff) override;
    float getFalloff() const override { return mLight.falloff; }
    ErrorCode setTheta(float theta) override;
    float getTheta() const override { return mLight.theta; }
    ErrorCode setPhi(float phi) override;
    float getPhi() const override { return mLight.phi; }
    ErrorCode onLostDevice() override { return 0; }
    ErrorCode onResetDevice() override;

    uint32_t getIndex() const { return mIndex; }
    bool isPending() const { return mPending; }
    const Platform::Gpu::Light& getDeviceLight() const { return mLight; }

    // Colour words and the device's float colours.
    static Platform::Gpu::ColorValue colorFromArgb(uint32_t argb);
    static uint32_t argbFromColor(const Platform::Gpu::ColorValue& color);

private:
    // Sends the light when it is on, else keeps it for the next enable.
    ErrorCode update();

    Platform::Gpu::Light mLight;
    bool mEnabled = false;
    bool mPending = true;
    uint32_t mIndex;
};
