#include "Engine/Material.h"

Material::~Material()
{
    // Not through setTexture: the apply operations of the derived class are
    // gone by now, and nothing needs applying.
    if (mTexture != nullptr)
    {
        mTexture->unload();
        if (mOwned)
            mTexture->release();
    }
}

Material& Material::operator=(const Material& other)
{
    if (this == &other)
        return *this;
    setTexture(other.mTexture, false);
    mAmbient = other.mAmbient;
    applyAmbient();
    mDiffuse = other.mDiffuse;
    applyDiffuse();
    mSpecular = other.mSpecular;
    applySpecular();
    mEmissive = other.mEmissive;
    applyEmissive();
    mPower = other.mPower;
    applyPower();
    applyAll();
    return *this;
}

ErrorCode Material::setTexture(Resource* texture, bool owned)
{
    // The new texture is loaded before the old one is let go: setting the
    // texture already set must not drop its data (or, when owned, the
    // object) in between.
    if (texture != nullptr)
    {
        if (ErrorCode code = texture->load())
            return code;
    }
    Resource* old = mTexture;
    bool oldOwned = mOwned;
    mTexture = texture;
    mOwned = owned;
    if (old != nullptr)
    {
        old->unload();
        // The same texture set again as owned keeps the reference it had.
        if (oldOwned && !(old == texture && owned))
            old->release();
    }
    return 0;
}

void Material::setAmbient(float r, float g, float b, float a)
{
    mAmbient = {r, g, b, a};
    applyAmbient();
}

void Material::setDiffuse(float r, float g, float b, float a)
{
    mDiffuse = {r, g, b, a};
    applyDiffuse();
}

void Material::setSpecular(float r, float g, float b, float a)
{
    mSpecular = {r, g, b, a};
    applySpecular();
}

void Material::setEmissive(float r, float g, float b, float a)
{
    mEmissive = {r, g, b, a};
    applyEmissive();
}

void Material::setPower(float power)
{
    mPower = power;
    applyPower();
}
