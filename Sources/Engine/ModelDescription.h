#pragma once
// The game description's record of one model: it owns the model, scales the
// instances it makes and can keep the model loaded ahead of use.
#include "Engine/MeshModel.h"

#include <memory>

class ModelDescription
{
public:
    // The model comes from the current 3D engine (none without one).
    ModelDescription();
    // Gives back the preloading use, then deletes the model.
    ~ModelDescription();
    ModelDescription(const ModelDescription&) = delete;
    ModelDescription& operator=(const ModelDescription&) = delete;

    // An instance of the model at the description's scale (null without a
    // model).
    MeshInstance* createInstance();
    // Holds or gives back one use of the model; the code of the load or
    // unload it caused, else 0.
    ErrorCode setPreloaded(bool preloaded);
    bool isPreloaded() const { return mPreloaded; }

    MeshModel* getModel() const { return mModel.get(); }
    float getScale() const { return mScale; }
    void setScale(float scale) { mScale = scale; }

private:
    std::unique_ptr<MeshModel> mModel;
    float mScale = 1.0f;
    bool mPreloaded = false;
};
