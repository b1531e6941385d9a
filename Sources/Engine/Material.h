#pragma once
// The engine-neutral surface of 3D objects: ambient, diffuse, specular and
// emissive colours (red, green, blue, alpha), a specular power and an
// optional texture. The material keeps its texture loaded while it is set;
// when "owned" it also holds one reference and gives it back when the
// texture is replaced or the material goes. An implementation mirrors every
// change into its device's material record (the apply operations).
#include "Engine/Resource.h"

#include <array>

class Material
{
public:
    using Color = std::array<float, 4>;

    Material() = default;
    virtual ~Material();
    Material(const Material&) = delete;
    // Copies the other's texture (never its ownership), then each colour
    // group and the power, each followed by its apply operation, then
    // applyAll.
    Material& operator=(const Material& other);

    virtual void applyAmbient() = 0;
    virtual void applyDiffuse() = 0;
    virtual void applySpecular() = 0;
    virtual void applyEmissive() = 0;
    virtual void applyPower() = 0;
    virtual void applyAll() {}

    // Unloads the old texture (and releases it when it was owned), then
    // stores and loads the new one. Returns the new texture's load code.
    ErrorCode setTexture(Resource* texture, bool owned);
    Resource* getTexture() const { return mTexture; }
    bool ownsTexture() const { return mOwned; }

    void setAmbient(float r, float g, float b, float a);
    void setDiffuse(float r, float g, float b, float a);
    void setSpecular(float r, float g, float b, float a);
    void setEmissive(float r, float g, float b, float a);
    void setPower(float power);

    const Color& getAmbient() const { return mAmbient; }
    const Color& getDiffuse() const { return mDiffuse; }
    const Color& getSpecular() const { return mSpecular; }
    const Color& getEmissive() const { return mEmissive; }
    float getPower() const { return mPower; }

protected:
    Resource* mTexture = nullptr;
    Color mAmbient{0, 0, 0, 1};
    Color mDiffuse{0, 0, 0, 1};
    Color mSpecular{0, 0, 0, 1};
    Color mEmissive{0, 0, 0, 1};
    float mPower = 0;
    bool mOwned = false;
};
