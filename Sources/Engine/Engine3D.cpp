#include "Engine/Engine3D.h"

#include "Engine/Light.h"
#include "Framework/ApplicationGeneric.h"

#include <algorithm>

namespace
{
Engine3D* gCurrentEngine = nullptr;
} // namespace

Engine3D::Engine3D()
{
    gCurrentEngine = this;
}

Engine3D::~Engine3D()
{
    // The root goes while the engine is still current, so that its transform
    // object is released through the engine that made it.
    mRenderRoot = nullptr;
    mSceneRoot.reset();
    mDefaultMaterial.reset();
    if (gCurrentEngine == this)
        gCurrentEngine = nullptr;
}

Engine3D* Engine3D::current()
{
    return gCurrentEngine;
}

ErrorCode Engine3D::render3D()
{
    return mRenderRoot != nullptr ? mRenderRoot->renderWithTransform() : ERROR_OK;
}

void Engine3D::createSceneRoot()
{
    mSceneRoot.reset();
    auto root = std::make_unique<ChildListNode>();
    root->mPickable = true;
    mSceneRoot = std::move(root);
    mRenderRoot = mSceneRoot.get();
}

void Engine3D::addToScene(ChildListNode* node)
{
    if (mSceneRoot)
        mSceneRoot->addChild(node);
}

ErrorCode Engine3D::pickUnderCursor(PickResult* result)
{
    ApplicationGeneric* application = getApplication();
    CursorManagerBase* cursor = application != nullptr ? application->getCursorManager() : nullptr;
    float x = cursor != nullptr ? float(cursor->mMouseX) : 0.0f;
    float y = cursor != nullptr ? float(cursor->mMouseY) : 0.0f;
    return pick(x, y, result, nullptr);
}

Light* Engine3D::findFirstDirectionalLight() const
{
    for (Light* light : mLights)
    {
        if (light->getType() == Light::DIRECTIONAL && light->isEnabled())
            return light;
    }
    return nullptr;
}

void Engine3D::registerLight(Light* light)
{
    mLights.push_back(light);
}

void Engine3D::unregisterLight(Light* light)
{
    auto found = std::find(mLights.begin(), mLights.end(), light);
    if (found != mLights.end())
        mLights.erase(found);
}

void Engine3D::addModel(DeviceModel* model)
{
    mModels.push_back(model);
}

void Engine3D::removeModel(DeviceModel* model)
{
    auto found = std::find(mModels.begin(), mModels.end(), model);
    if (found != mModels.end())
        mModels.erase(found);
}

void Engine3D::getViewSize(float* width, float* height) const
{
    if (ApplicationGeneric* application = getApplication())
    {
        *width = float(application->getSettings().mClientWidth);
        *height = float(application->getSettings().mClientHeight);
        return;
    }
    *width = 1024.0f;
    *height = 768.0f;
}
