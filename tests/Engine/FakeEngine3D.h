#pragma once
// A 3D engine without a device: its transform objects log enter and leave
// with the name the test gave the node, so that walks can be followed.
#include "Engine/Engine3D.h"
#include "Engine/Light.h"
#include "Engine/MeshModel.h"
#include "FakeMaterial.h"

#include <string>
#include <vector>

namespace EngineTest
{

class LoggingTransform final : public EngineTransform
{
public:
    explicit LoggingTransform(std::vector<std::string>* log) : mLog(log) {}
    void enter() override { mLog->push_back("enter " + mName); }
    void leave() override { mLog->push_back("leave " + mName); }
    void setFrom(const Transform3D& transform) override { mPosition = transform.mPosition; }
    // Moves points by the position only: enough to follow localToWorld.
    void localToParent(const Platform::Vector3& in, Platform::Vector3* out) override
    {
        *out = in + mPosition;
    }
    void parentToLocal(const Platform::Vector3& in, Platform::Vector3* out) override
    {
        *out = in - mPosition;
    }

    std::string mName = "?";
    Platform::Vector3 mPosition;

private:
    std::vector<std::string>* mLog;
};

class FakeEngine3D final : public Engine3D
{
public:
    ErrorCode init() override
    {
        createSceneRoot();
        name(mSceneRoot.get(), "root");
        return 0;
    }
    ErrorCode beginPass3D() override { return 0; }
    ErrorCode endPass3D() override { return 0; }
    ErrorCode pick(float, float, PickResult* result, ChildListNode* start) override
    {
        return (start != nullptr ? start : mSceneRoot.get())->pickWithTransform(result);
    }
    Material* createMaterial() override { return new FakeMaterial(); }
    Light* createLight() override { return nullptr; }
    MeshModel* createMeshModel() override;
    ModelD3DBase* createAnimatedMeshModel() override { return nullptr; }
    Sprite3D* createSprite() override { return nullptr; }
    EngineTransform* createTransform() override { return new LoggingTransform(&log); }
    ErrorCode onLostDevice() override { return mSceneRoot->onLostDevice(); }
    ErrorCode onResetDevice() override { return mSceneRoot->onResetDevice(); }

    static void name(ChildListNode* node, const std::string& text)
    {
        static_cast<LoggingTransform*>(node->mTransform.mTransform.get())->mName = text;
    }

    std::vector<std::string> log;
};

// A model that counts its loads and unloads; its subsets are given by the
// test, its materials stay null.
class CountingModel final : public MeshModel
{
public:
    explicit CountingModel(size_t subsets = 2) { mMaterials.resize(subsets); }
    // Takes the material as the subset's own.
    void setSubsetMaterial(size_t index, Material* material) { mMaterials[index].reset(material); }
    MeshInstance* createInstance() override { return new MeshInstance(this); }
    ErrorCode pick(MeshInstance*, PickResult*) override { return 0; }
    ErrorCode computeBoundingBox() override { return 0; }
    ErrorCode doLoad() override { return ++loads, loadCode; }
    ErrorCode doUnload() override { return ++unloads, 0; }

    int loads = 0;
    int unloads = 0;
    ErrorCode loadCode = 0;
};

inline MeshModel* FakeEngine3D::createMeshModel()
{
    return new CountingModel();
}

} // namespace EngineTest
