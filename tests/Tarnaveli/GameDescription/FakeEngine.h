#pragma once
// A 3D engine, textures, lights, models and a sound manager without any
// device: enough to read a game description and a lights file and look at
// what they made.
#include "Engine/Engine3D.h"
#include "Engine/Light.h"
#include "Engine/MeshModel.h"
#include "../../Engine/FakeMaterial.h"
#include "Engine/Texture.h"
#include "Sound/SoundManager.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace GameDescriptionTest
{

class FakeTexture final : public Texture
{
public:
    explicit FakeTexture(const std::string& name) : Texture(nullptr, name, 0) {}
    ErrorCode lock(void**, int32_t*) override { return ERROR_INVALID; }
    ErrorCode unlock() override { return ERROR_OK; }
    bool isCreated() const override { return mLoadCount > 0; }
    ErrorCode doLoad() override { return ERROR_OK; }
    ErrorCode doUnload() override { return ERROR_OK; }
    ErrorCode onLostDevice() override { return ERROR_OK; }
    ErrorCode onResetDevice() override { return ERROR_OK; }
};

// Hands out one texture per name, as the 2D engine does, and keeps count.
class TextureStore
{
public:
    ~TextureStore()
    {
        for (auto& [name, texture] : mTextures)
            texture->release();
    }
    Texture* get(const std::string& name)
    {
        Texture*& texture = mTextures[name];
        if (texture == nullptr)
            texture = new FakeTexture(name);
        texture->addRef();
        return texture;
    }
    Texture* find(const std::string& name) const
    {
        auto found = mTextures.find(name);
        return found != mTextures.end() ? found->second : nullptr;
    }
    std::map<std::string, Texture*> mTextures;
};

// Values in, values out; the calls are logged by name.
class FakeLight final : public Light
{
public:
    explicit FakeLight(std::vector<std::string>* log) : mLog(log) {}
    ErrorCode setType(uint32_t kind) override { return note("type"), mKind = kind, ERROR_OK; }
    uint32_t getType() const override { return mKind; }
    ErrorCode setPosition(const Platform::Vector3& p) override
    {
        return note("position"), mPosition = p, ERROR_OK;
    }
    void getPosition(Platform::Vector3* p) const override { *p = mPosition; }
    ErrorCode setDirection(const Platform::Vector3& d) override
    {
        return note("direction"), mDirection = d, ERROR_OK;
    }
    void getDirection(Platform::Vector3* d) const override { *d = mDirection; }
    ErrorCode enable() override { return note("enable"), mEnabled = true, ERROR_OK; }
    ErrorCode disable() override { return note("disable"), mEnabled = false, ERROR_OK; }
    bool isEnabled() const override { return mEnabled; }
    ErrorCode setRange(float range) override { return note("range"), mRange = range, ERROR_OK; }
    float getRange() const override { return mRange; }
    float getMaxRange() const override { return 1e19f; }
    ErrorCode setAttenuation(float a0, float a1, float a2) override
    {
        note("attenuation");
        mAttenuation[0] = a0, mAttenuation[1] = a1, mAttenuation[2] = a2;
        return ERROR_OK;
    }
    void getAttenuation(float* a0, float* a1, float* a2) const override
    {
        *a0 = mAttenuation[0], *a1 = mAttenuation[1], *a2 = mAttenuation[2];
    }
    ErrorCode setAmbient(uint32_t c) override { return note("ambient"), mAmbient = c, ERROR_OK; }
    void getAmbient(uint32_t* c) const override { *c = mAmbient; }
    ErrorCode setDiffuse(uint32_t c) override { return note("diffuse"), mDiffuse = c, ERROR_OK; }
    void getDiffuse(uint32_t* c) const override { *c = mDiffuse; }
    ErrorCode setSpecular(uint32_t c) override { return note("specular"), mSpecular = c, ERROR_OK; }
    void getSpecular(uint32_t* c) const override { *c = mSpecular; }
    ErrorCode setFalloff(float f) override { return note("falloff"), mFalloff = f, ERROR_OK; }
    float getFalloff() const override { return mFalloff; }
    ErrorCode setTheta(float t) override { return note("theta"), mTheta = t, ERROR_OK; }
    float getTheta() const override { return mTheta; }
    ErrorCode setPhi(float p) override { return note("phi"), mPhi = p, ERROR_OK; }
    float getPhi() const override { return mPhi; }
    ErrorCode onLostDevice() override { return ERROR_OK; }
    ErrorCode onResetDevice() override { return ERROR_OK; }

    uint32_t mKind = DIRECTIONAL;
    Platform::Vector3 mPosition, mDirection;
    bool mEnabled = false;
    float mRange = 0, mFalloff = 1, mTheta = 0, mPhi = 0;
    float mAttenuation[3] = {};
    uint32_t mAmbient = 0, mDiffuse = 0, mSpecular = 0;

private:
    void note(const char* what)
    {
        if (mLog != nullptr)
            mLog->push_back(what);
    }
    std::vector<std::string>* mLog;
};

// A model whose load gives it one coloured material and a box of its own;
// the box follows the model's placement as a real one does.
class FakeModel final : public MeshModel
{
public:
    MeshInstance* createInstance() override { return new MeshInstance(this); }
    ErrorCode pick(MeshInstance*, PickResult*) override { return ERROR_OK; }
    ErrorCode computeBoundingBox() override
    {
        if (!mLoaded)
            return ERROR_OK;
        mBoxMin = mRawMin + mTransform.mPosition;
        mBoxMax = mRawMax + mTransform.mPosition;
        return ERROR_OK;
    }
    ErrorCode doLoad() override
    {
        ++mLoads;
        if (mLoadCode != ERROR_OK)
            return mLoadCode;
        mLoaded = true;
        auto material = std::make_unique<FakeMaterial>();
        material->setEmissive(0.25f, 0.5f, 0.75f, 1.0f);
        material->setPower(12.0f);
        mMaterials.clear();
        mMaterials.push_back(std::move(material));
        return computeBoundingBox();
    }
    ErrorCode doUnload() override
    {
        ++mUnloads;
        mLoaded = false;
        mMaterials.clear();
        return ERROR_OK;
    }

    Platform::Vector3 mRawMin{-1, -0.5f, -2};
    Platform::Vector3 mRawMax{3, 1.5f, 2};
    bool mLoaded = false;
    int mLoads = 0;
    int mUnloads = 0;
    ErrorCode mLoadCode = ERROR_OK;
};

class FakeEngine final : public Engine3D
{
public:
    ErrorCode init() override { return ERROR_OK; }
    ErrorCode beginPass3D() override { return ERROR_OK; }
    ErrorCode endPass3D() override { return ERROR_OK; }
    ErrorCode pick(float, float, PickResult*, ChildListNode*) override { return ERROR_OK; }
    Material* createMaterial() override { return new FakeMaterial(); }
    Light* createLight() override { return new FakeLight(&mLightLog); }
    ModelD3DBase* createAnimatedMeshModel() override { return nullptr; }
    MeshModel* createMeshModel() override
    {
        auto* model = new FakeModel();
        model->mLoadCode = mNextLoadCode;
        mModels.push_back(model);
        return model;
    }
    Sprite3D* createSprite() override { return nullptr; }
    EngineTransform* createTransform() override { return nullptr; }
    ErrorCode onLostDevice() override { return ERROR_OK; }
    ErrorCode onResetDevice() override { return ERROR_OK; }

    // Every model made, in order (not owned).
    std::vector<FakeModel*> mModels;
    ErrorCode mNextLoadCode = ERROR_OK;
    std::vector<std::string> mLightLog;
};

class FakeSoundManager final : public SoundManager
{
public:
    ErrorCode playSound(uint32_t, int32_t, bool) override { return ERROR_OK; }
    void stopChannel(uint32_t) override {}
    void setChannelLevel(uint32_t, int32_t) override {}
    uint32_t getMinSampleRate() override { return 22050; }
    uint32_t getMaxSampleRate() override { return 22050; }
    uint32_t getCapability() override { return 0; }
    SoundChannel* createChannel() override { return nullptr; }
};

} // namespace GameDescriptionTest
