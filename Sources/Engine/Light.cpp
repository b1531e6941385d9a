#include "Engine/Light.h"

#include "Engine/Engine3D.h"

Light::Light()
{
    if (Engine3D* engine = Engine3D::current())
        engine->registerLight(this);
}

Light::~Light()
{
    if (Engine3D* engine = Engine3D::current())
        engine->unregisterLight(this);
}

Light* Light::copyFrom(const Light& other)
{
    Platform::Vector3 vector;
    float a0, a1, a2;
    uint32_t color;
    setType(other.getType());
    other.getPosition(&vector);
    setPosition(vector);
    other.getDirection(&vector);
    setDirection(vector);
    setRange(other.getRange());
    setFalloff(other.getFalloff());
    setTheta(other.getTheta());
    setPhi(other.getPhi());
    other.getAttenuation(&a0, &a1, &a2);
    setAttenuation(a0, a1, a2);
    other.getAmbient(&color);
    setAmbient(color);
    other.getDiffuse(&color);
    setDiffuse(color);
    other.getSpecular(&color);
    setSpecular(color);
    if (other.isEnabled() && !isEnabled())
        enable();
    else if (!other.isEnabled() && isEnabled())
        disable();
    return this;
}
