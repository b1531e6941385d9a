#include "Engine3DD3D/LightD3D.h"

#include "Engine3DD3D/Engine3DD3D.h"

#include <cfloat>
#include <cmath>

using namespace Platform;

namespace
{
uint32_t gNextLightIndex = 0;
const float kMaxRange = std::sqrt(FLT_MAX);

// The device's results are answered as they are: 0 or the failure code.
ErrorCode resultOf(Platform::PlatformResult result)
{
    return static_cast<ErrorCode>(result);
}
} // namespace

LightD3D::LightD3D() : mIndex(gNextLightIndex++)
{
    mLight.type = Gpu::LIGHT_DIRECTIONAL;
    mLight.falloff = 1.0f;
}

LightD3D::~LightD3D()
{
    if (Gpu::Device* device = Engine3DD3D::currentDevice())
        device->lightEnable(mIndex, false);
}

Gpu::ColorValue LightD3D::colorFromArgb(uint32_t argb)
{
    const float k = 0.003921569f;
    return {float((argb >> 16) & 0xFF) * k, float((argb >> 8) & 0xFF) * k, float(argb & 0xFF) * k,
            float(argb >> 24) * k};
}

uint32_t LightD3D::argbFromColor(const Gpu::ColorValue& color)
{
    auto byte = [](float value) { return uint32_t(int32_t(value * 255.0f)) & 0xFF; };
    return byte(color.a) << 24 | byte(color.r) << 16 | byte(color.g) << 8 | byte(color.b);
}

ErrorCode LightD3D::update()
{
    if (!mEnabled)
    {
        mPending = true;
        return 0;
    }
    Gpu::Device* device = Engine3DD3D::currentDevice();
    return device != nullptr ? resultOf(device->setLight(mIndex, mLight)) : 0;
}

ErrorCode LightD3D::setType(uint32_t kind)
{
    mLight.type = kind == POINT ? Gpu::LIGHT_POINT : kind == SPOT ? Gpu::LIGHT_SPOT : Gpu::LIGHT_DIRECTIONAL;
    return update();
}

uint32_t LightD3D::getType() const
{
    switch (mLight.type)
    {
    case Gpu::LIGHT_SPOT:
        return SPOT;
    case Gpu::LIGHT_DIRECTIONAL:
        return DIRECTIONAL;
    default:
        return POINT;
    }
}

ErrorCode LightD3D::setPosition(const Vector3& position)
{
    mLight.position = position;
    return update();
}

void LightD3D::getPosition(Vector3* position) const
{
    *position = mLight.position;
}

ErrorCode LightD3D::setDirection(const Vector3& direction)
{
    mLight.direction = direction;
    return update();
}

void LightD3D::getDirection(Vector3* direction) const
{
    *direction = mLight.direction;
}

ErrorCode LightD3D::enable()
{
    mEnabled = true;
    Gpu::Device* device = Engine3DD3D::currentDevice();
    if (device == nullptr)
        return 0;
    if (mPending)
    {
        mPending = false;
        if (Platform::PlatformResult result = device->setLight(mIndex, mLight))
            return resultOf(result);
    }
    return resultOf(device->lightEnable(mIndex, true));
}

ErrorCode LightD3D::disable()
{
    mEnabled = false;
    Gpu::Device* device = Engine3DD3D::currentDevice();
    return device != nullptr ? resultOf(device->lightEnable(mIndex, false)) : 0;
}

ErrorCode LightD3D::setRange(float range)
{
    mLight.range = range;
    return update();
}

float LightD3D::getMaxRange() const
{
    return kMaxRange;
}

ErrorCode LightD3D::setAttenuation(float a0, float a1, float a2)
{
    mLight.attenuation0 = a0;
    mLight.attenuation1 = a1;
    mLight.attenuation2 = a2;
    return update();
}

void LightD3D::getAttenuation(float* a0, float* a1, float* a2) const
{
    *a0 = mLight.attenuation0;
    *a1 = mLight.attenuation1;
    *a2 = mLight.attenuation2;
}

ErrorCode LightD3D::setAmbient(uint32_t color)
{
    mLight.ambient = colorFromArgb(color);
    return update();
}

void LightD3D::getAmbient(uint32_t* color) const
{
    *color = argbFromColor(mLight.ambient);
}

ErrorCode LightD3D::setDiffuse(uint32_t color)
{
    mLight.diffuse = colorFromArgb(color);
    return update();
}

void LightD3D::getDiffuse(uint32_t* color) const
{
    *color = argbFromColor(mLight.diffuse);
}

ErrorCode LightD3D::setSpecular(uint32_t color)
{
    mLight.specular = colorFromArgb(color);
    return update();
}

void LightD3D::getSpecular(uint32_t* color) const
{
    *color = argbFromColor(mLight.specular);
}

ErrorCode LightD3D::setFalloff(float falloff)
{
    mLight.falloff = falloff;
    return update();
}

ErrorCode LightD3D::setTheta(float theta)
{
    mLight.theta = theta;
    return update();
}

ErrorCode LightD3D::setPhi(float phi)
{
    mLight.phi = phi;
    return update();
}

ErrorCode LightD3D::onResetDevice()
{
    Gpu::Device* device = Engine3DD3D::currentDevice();
    if (mEnabled && device != nullptr)
    {
        device->lightEnable(mIndex, true);
        device->setLight(mIndex, mLight);
    }
    return 0;
}
