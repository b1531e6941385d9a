#pragma once
// A light of the 3D scene: point, spot or directional, with colours,
// position, direction, range, attenuation and cone, switched on and off.
// Every light registers itself with the current 3D engine for its whole
// life. Colours cross this interface as ARGB words. LightD3D is the
// implementation; the engine's createLight makes one.
#include "Framework/ErrorCodes.h"
#include "Platform/Math/Vector.h"

#include <cstdint>

class Light
{
public:
    enum Kind : uint32_t
    {
        POINT = 0,
        SPOT = 1,
        DIRECTIONAL = 2
    };

    Light();
    virtual ~Light();
    Light(const Light&) = delete;
    Light& operator=(const Light&) = delete;

    virtual ErrorCode setType(uint32_t kind) = 0;
    virtual uint32_t getType() const = 0;
    virtual ErrorCode setPosition(const Platform::Vector3& position) = 0;
    virtual void getPosition(Platform::Vector3* position) const = 0;
    virtual ErrorCode setDirection(const Platform::Vector3& direction) = 0;
    virtual void getDirection(Platform::Vector3* direction) const = 0;
    virtual ErrorCode enable() = 0;
    virtual ErrorCode disable() = 0;
    virtual bool isEnabled() const = 0;
    virtual ErrorCode setRange(float range) = 0;
    virtual float getRange() const = 0;
    virtual float getMaxRange() const = 0;
    virtual ErrorCode setAttenuation(float a0, float a1, float a2) = 0;
    virtual void getAttenuation(float* a0, float* a1, float* a2) const = 0;
    virtual ErrorCode setAmbient(uint32_t color) = 0;
    virtual void getAmbient(uint32_t* color) const = 0;
    virtual ErrorCode setDiffuse(uint32_t color) = 0;
    virtual void getDiffuse(uint32_t* color) const = 0;
    virtual ErrorCode setSpecular(uint32_t color) = 0;
    virtual void getSpecular(uint32_t* color) const = 0;
    virtual ErrorCode setFalloff(float falloff) = 0;
    virtual float getFalloff() const = 0;
    // Radians.
    virtual ErrorCode setTheta(float theta) = 0;
    virtual float getTheta() const = 0;
    virtual ErrorCode setPhi(float phi) = 0;
    virtual float getPhi() const = 0;
    virtual ErrorCode onLostDevice() = 0;
    virtual ErrorCode onResetDevice() = 0;

    // Takes every value of the other light, then its on or off state.
    Light* copyFrom(const Light& other);
};
