#include "Engine3DD3D/Engine3DD3D.h"

#include "Engine/Engine2D.h"
#include "Engine/Light.h"
#include "Engine/MeshModel.h"
#include "Engine2DD3D/MaterialD3D.h"
#include "Engine3DD3D/Engine2DLink.h"
#include "Engine3DD3D/LightD3D.h"
#include "Engine3DD3D/MeshModelD3D.h"
#include "Engine3DD3D/TransformD3D.h"
#include "Framework/ApplicationGeneric.h"
#include "Framework/ErrorText.h"

#include <cmath>

using namespace Platform;
using namespace Platform::Gpu;

namespace
{
const char* const kSourceName = "Sources\\Engine3DD3D\\Engine3DD3D.cpp";
} // namespace

class Engine3DD3D::DeviceListener final : public DeviceObjectsListener
{
public:
    explicit DeviceListener(Engine3DD3D& engine) : mEngine(engine) {}
    ErrorCode onDeviceLost() override { return mEngine.onLostDevice(); }
    ErrorCode onDeviceReset() override { return mEngine.onResetDevice(); }

private:
    Engine3DD3D& mEngine;
};

Engine3DD3D::Engine3DD3D(Engine2DBase* engine2D) : mEngine2D(engine2D) {}

Engine3DD3D::Engine3DD3D(Device* device, RenderStateCache* cache) : mDevice(device), mCache(cache) {}

Engine3DD3D::~Engine3DD3D()
{
    if (auto* engine2D = dynamic_cast<Engine2D*>(mEngine2D); engine2D != nullptr && mDeviceListener)
        engine2D->set3DDeviceListener(nullptr);
}

void Engine3DD3D::registerKind()
{
    setServiceCreator(SERVICE_ENGINE_3D,
                      [](const ApplicationSettings& settings) -> std::unique_ptr<AppService>
                      {
                          ApplicationGeneric* application = getApplication();
                          return createEngine3D(application != nullptr ? application->getEngine2D() : nullptr,
                                                settings.mEngine3DKind);
                      });
}

std::unique_ptr<Engine3D> createEngine3D(Engine2DBase* engine2D, uint32_t kind)
{
    if (kind != Engine3DD3D::KIND)
        return nullptr;
    return std::make_unique<Engine3DD3D>(engine2D);
}

Engine3DD3D* Engine3DD3D::currentD3D()
{
    return dynamic_cast<Engine3DD3D*>(Engine3D::current());
}

Device* Engine3DD3D::currentDevice()
{
    Engine3DD3D* engine = currentD3D();
    return engine != nullptr ? engine->mDevice : nullptr;
}

ErrorCode Engine3DD3D::init()
{
    if (mEngine2D != nullptr && mDevice == nullptr)
        findEngine2DDevice(mEngine2D, &mDevice, &mCache);
    if (auto* engine2D = dynamic_cast<Engine2D*>(mEngine2D); engine2D != nullptr && !mDeviceListener)
    {
        mDeviceListener = std::make_unique<DeviceListener>(*this);
        engine2D->set3DDeviceListener(mDeviceListener.get());
    }
    // 1. The scene root.
    createSceneRoot();
    // 2. The default material: white ambient and diffuse, no highlight.
    mDefaultMaterial.reset(createMaterial());
    mDefaultMaterial->setAmbient(1, 1, 1, 1);
    mDefaultMaterial->setDiffuse(1, 1, 1, 1);
    mDefaultMaterial->setSpecular(0, 0, 0, 1);
    mDefaultMaterial->setEmissive(0, 0, 0, 1);
    return ERROR_OK;
}

ErrorCode Engine3DD3D::beginPass3D()
{
    if (mDevice == nullptr || mCache == nullptr)
        return ERROR_OK;
    mCache->setState(RS_CULLMODE, CULL_NONE);
    mCache->setState(RS_ZENABLE, 1);
    mCache->setState(RS_LIGHTING, 1);
    mCache->setState(RS_AMBIENT, mAmbient);
    mCache->setState(RS_SPECULARENABLE, 1);
    if (GpuResult result = mDevice->setSamplerState(0, SAMP_MAGFILTER, TEXF_LINEAR))
        return reportD3DError(uint32_t(result), "(line %i in file %s)", __LINE__, kSourceName);
    if (GpuResult result = mDevice->setSamplerState(0, SAMP_MINFILTER, TEXF_LINEAR))
        return reportD3DError(uint32_t(result), "(line %i in file %s)", __LINE__, kSourceName);
    if (GpuResult result = mDevice->setSamplerState(0, SAMP_MIPFILTER, TEXF_LINEAR))
        return reportD3DError(uint32_t(result), "(line %i in file %s)", __LINE__, kSourceName);
    if (GpuResult result = mDevice->setSamplerState(0, SAMP_ADDRESSU, TADDRESS_WRAP))
        return reportD3DError(uint32_t(result), "(line %i in file %s)", __LINE__, kSourceName);
    if (GpuResult result = mDevice->setSamplerState(0, SAMP_ADDRESSV, TADDRESS_WRAP))
        return reportD3DError(uint32_t(result), "(line %i in file %s)", __LINE__, kSourceName);
    return applyCamera();
}

ErrorCode Engine3DD3D::endPass3D()
{
    if (mCache != nullptr)
        mCache->setState(RS_SPECULARENABLE, 0);
    return ERROR_OK;
}

ErrorCode Engine3DD3D::render3D()
{
    if (mDevice == nullptr)
        return ERROR_OK;
    return Engine3D::render3D();
}

void Engine3DD3D::setAmbient(uint32_t color)
{
    Engine3D::setAmbient(color);
    if (mCache != nullptr)
        mCache->setState(RS_AMBIENT, color);
}

void Engine3DD3D::getViewSize(float* width, float* height) const
{
    if (getApplication() == nullptr && mDevice != nullptr)
    {
        *width = float(mDevice->presentParameters().backBufferWidth);
        *height = float(mDevice->presentParameters().backBufferHeight);
        return;
    }
    Engine3D::getViewSize(width, height);
}

void Engine3DD3D::computeViewProjection(Matrix* view, Matrix* projection)
{
    const CameraSetup& camera = getCamera();
    mEye = camera.mEye;
    *view = matrixLookAtLH(camera.mEye, camera.mTarget, camera.mUp);
    float width, height;
    getViewSize(&width, &height);
    *projection = matrixPerspectiveFovLH(camera.mFieldOfView, width / height, 1.0f, 2000.0f);
    Vector3 d = camera.mTarget - camera.mEye;
    mBillboard = matrixRotationY(std::atan2(d.y, d.x) + 1.5707964f) * matrixRotationX(1.5707964f);
    if (!matrixInverse(*view, mInverseView))
        mInverseView = Matrix{};
    mViewDirection = d;
}

ErrorCode Engine3DD3D::applyCamera()
{
    Matrix view, projection;
    computeViewProjection(&view, &projection);
    if (mDevice != nullptr)
    {
        mDevice->setTransform(TS_VIEW, view);
        mDevice->setTransform(TS_PROJECTION, projection);
    }
    return ERROR_OK;
}

ErrorCode Engine3DD3D::pick(float x, float y, PickResult* result, ChildListNode* start)
{
    if (result == nullptr)
        return ERROR_OK;
    // 1. The camera, and the projection as the device holds it.
    Matrix view, projection;
    computeViewProjection(&view, &projection);
    if (mDevice != nullptr)
    {
        mDevice->setTransform(TS_VIEW, view);
        mDevice->setTransform(TS_PROJECTION, projection);
        mDevice->getTransform(TS_PROJECTION, &projection);
    }
    // 2. The ray through the point, in view space.
    float width, height;
    getViewSize(&width, &height);
    Vector3 direction{(2 * x / width - 1) / projection.m[0][0], -(2 * y / height - 1) / projection.m[1][1],
                      1};
    // 3.
    result->mHit = 0;
    result->mRayDirection = &direction;
    // 4. The tree walk; each mesh instance tests its model.
    ChildListNode* node = start != nullptr ? start : mSceneRoot.get();
    ErrorCode code = node != nullptr && mDevice != nullptr ? node->pickWithTransform(result) : ERROR_OK;
    // 5.
    result->mRayDirection = nullptr;
    return code;
}

::Material* Engine3DD3D::createMaterial()
{
    return new MaterialD3D();
}

::Light* Engine3DD3D::createLight()
{
    return new LightD3D();
}

MeshModel* Engine3DD3D::createMeshModel()
{
    return new MeshModelD3D();
}

EngineTransform* Engine3DD3D::createTransform()
{
    return new TransformD3D();
}

ErrorCode Engine3DD3D::onLostDevice()
{
    for (size_t i = 0; i < mLights.size(); ++i)
    {
        if (ErrorCode code = mLights[i]->onLostDevice())
            return code;
    }
    for (size_t i = 0; i < mModels.size(); ++i)
    {
        if (ErrorCode code = mModels[i]->onLostDevice())
            return code;
    }
    return mSceneRoot ? mSceneRoot->onLostDevice() : ERROR_OK;
}

ErrorCode Engine3DD3D::onResetDevice()
{
    for (size_t i = 0; i < mLights.size(); ++i)
    {
        if (ErrorCode code = mLights[i]->onResetDevice())
            return code;
    }
    for (size_t i = 0; i < mModels.size(); ++i)
    {
        if (ErrorCode code = mModels[i]->onResetDevice())
            return code;
    }
    return mSceneRoot ? mSceneRoot->onResetDevice() : ERROR_OK;
}
