#include "Engine3DD3D/Engine3DD3D.h"

#include "Engine/Engine2D.h"
#include "Engine/Light.h"
#include "Engine/MeshModel.h"
#include "Engine/Sprite3D.h"
#include "Engine2DD3D/MaterialD3D.h"
#include "Engine3DD3D/Engine2DLink.h"
#include "Engine3DD3D/LightD3D.h"
#include "Engine3DD3D/MeshModelD3D.h"
#include "Engine3DD3D/TransformD3D.h"
#include "Framework/ApplicationGeneric.h"
#include "Framework/ErrorText.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

using namespace Platform;
using namespace Platform::Gpu;

namespace
{
const char* const kSourceName = "Sources\\Engine3DD3D\\Engine3DD3D.cpp";

// One sprite vertex: position, colour, texture coordinates.
struct SpriteVertex
{
    float x, y, z;
    uint32_t color;
    float u, v;
};
static_assert(sizeof(SpriteVertex) == 24);
constexpr uint32_t kSpriteFvf = FVF_XYZ_DIFFUSE_TEX1;
constexpr uint32_t kQuadBytes = 4 * sizeof(SpriteVertex);

// The quad in the sprite's own plane, drawn as a strip of two triangles.
void writeSpriteQuad(const Sprite3D& sprite, void* destination)
{
    float px = sprite.mPivot.x, py = sprite.mPivot.y, w = sprite.mWidth, h = sprite.mHeight;
    uint32_t c = sprite.mColor;
    const SpriteVertex quad[4] = {{px, py, 0, c, 0, 1},
                                  {px, py + h, 0, c, 0, 0},
                                  {px + w, py, 0, c, 1, 1},
                                  {px + w, py + h, 0, c, 1, 0}};
    std::memcpy(destination, quad, sizeof quad);
}
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
    // 3-4. Sixteen free sprite quads.
    mQuadCapacity = 16;
    mFreeQuads.clear();
    for (uint32_t quad = 0; quad < mQuadCapacity; ++quad)
        mFreeQuads.push_back(quad * 4);
    return createSpriteVertices(mQuadCapacity);
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
    if (PlatformResult result = mDevice->setSamplerState(0, SAMP_MAGFILTER, TEXF_LINEAR))
        return reportD3DErrorAt(result, kSourceName);
    if (PlatformResult result = mDevice->setSamplerState(0, SAMP_MINFILTER, TEXF_LINEAR))
        return reportD3DErrorAt(result, kSourceName);
    if (PlatformResult result = mDevice->setSamplerState(0, SAMP_MIPFILTER, TEXF_LINEAR))
        return reportD3DErrorAt(result, kSourceName);
    if (PlatformResult result = mDevice->setSamplerState(0, SAMP_ADDRESSU, TADDRESS_WRAP))
        return reportD3DErrorAt(result, kSourceName);
    if (PlatformResult result = mDevice->setSamplerState(0, SAMP_ADDRESSV, TADDRESS_WRAP))
        return reportD3DErrorAt(result, kSourceName);
    return applyCamera();
}

ErrorCode Engine3DD3D::endPass3D()
{
    if (mCache != nullptr)
        mCache->setState(RS_SPECULARENABLE, 0);
    return ERROR_OK;
}

void Engine3DD3D::beginReusablePass()
{
    if (mDevice != nullptr)
        mDevice->beginReusablePass();
}

void Engine3DD3D::endReusablePass()
{
    if (mDevice != nullptr)
        mDevice->endReusablePass();
}

ErrorCode Engine3DD3D::render3D()
{
    if (mDevice == nullptr)
        return ERROR_OK;
    if (ErrorCode code = Engine3D::render3D())
        return code;
    return mSprites.empty() ? ERROR_OK : drawSprites();
}

ErrorCode Engine3DD3D::createSpriteVertices(uint32_t quads, SourceLocation where)
{
    mSpriteVertices.reset();
    if (mDevice == nullptr)
        return ERROR_OK;
    if (PlatformResult result = mDevice->createVertexBuffer(quads * kQuadBytes, USAGE_WRITEONLY, kSpriteFvf,
                                                            POOL_MANAGED, &mSpriteVertices))
        return reportD3DErrorAt(result, kSourceName, where);
    return ERROR_OK;
}

Sprite3D* Engine3DD3D::createSprite()
{
    auto* sprite = new Sprite3D();
    addSprite(sprite);
    return sprite;
}

ErrorCode Engine3DD3D::addSprite(Sprite3D* sprite)
{
    // 1.
    mSprites.push_back(sprite);
    // 2. A free quad.
    if (!mFreeQuads.empty())
    {
        sprite->mQuadIndex = mFreeQuads.front();
        mFreeQuads.pop_front();
        updateSpriteQuad(sprite);
        return ERROR_OK;
    }
    // 3. None left: twice the quads, the first new one for this sprite.
    uint32_t old = mQuadCapacity;
    for (uint32_t quad = old + 1; quad < 2 * old; ++quad)
        mFreeQuads.push_back(quad * 4);
    mQuadCapacity = 2 * old;
    sprite->mQuadIndex = old * 4;
    if (ErrorCode code = createSpriteVertices(mQuadCapacity))
        return code;
    void* data = nullptr;
    if (mSpriteVertices && mSpriteVertices->lock(0, 0, &data, 0) == GPU_OK)
    {
        for (Sprite3D* each : mSprites)
            writeSpriteQuad(*each,
                            static_cast<uint8_t*>(data) + size_t(each->mQuadIndex) * sizeof(SpriteVertex));
        mSpriteVertices->unlock();
    }
    return ERROR_OK;
}

void Engine3DD3D::removeSprite(Sprite3D* sprite)
{
    auto found = std::find(mSprites.begin(), mSprites.end(), sprite);
    // A sprite not in the list has no quad to give back; giving one twice
    // would hand it to two sprites.
    if (found == mSprites.end())
        return;
    mSprites.erase(found);
    mFreeQuads.push_back(sprite->mQuadIndex);
}

void Engine3DD3D::updateSpriteQuad(Sprite3D* sprite)
{
    void* data = nullptr;
    if (mSpriteVertices && mSpriteVertices->lock(sprite->mQuadIndex * uint32_t(sizeof(SpriteVertex)),
                                                 kQuadBytes, &data, 0) == GPU_OK)
    {
        writeSpriteQuad(*sprite, data);
        mSpriteVertices->unlock();
    }
}

ErrorCode Engine3DD3D::drawSprites()
{
    if (mDevice == nullptr || mCache == nullptr || !mSpriteVertices)
        return ERROR_OK;
    // 1.
    for (Sprite3D* sprite : mSprites)
    {
        if (sprite->mDirty)
        {
            updateSpriteQuad(sprite);
            sprite->mDirty = false;
        }
    }
    // 2. Farthest first along the view; equal depths keep their order and a
    // depth that is not a number counts as nearest.
    auto depth = [this](const Sprite3D* sprite)
    {
        float k = vec3Dot(sprite->mPosition, mViewDirection);
        return std::isnan(k) ? -std::numeric_limits<float>::infinity() : k;
    };
    std::stable_sort(mSprites.begin(), mSprites.end(),
                     [&depth](const Sprite3D* a, const Sprite3D* b) { return depth(a) > depth(b); });
    // 3.
    uint32_t blend = mCache->getState(RS_ALPHABLENDENABLE);
    mCache->setState(RS_ALPHABLENDENABLE, 1);
    if (auto* material = dynamic_cast<MaterialD3D*>(mDefaultMaterial.get()))
        mDevice->setMaterial(material->getD3DMaterial());
    mDevice->setStreamSource(0, mSpriteVertices.get(), 0, sizeof(SpriteVertex));
    mDevice->setFVF(kSpriteFvf);
    // 4. The sprites in front of the eye; the first one behind ends the list.
    for (Sprite3D* sprite : mSprites)
    {
        if (vec3Dot(sprite->mPosition - mEye, mViewDirection) < 0)
            break;
        Gpu::Texture* texture = deviceTextureOf(sprite->mTexture);
        if (texture == nullptr)
            continue;
        mDevice->setTexture(0, texture);
        Matrix m = sprite->mBillboard ? mBillboard : mInverseView;
        if (sprite->mRotation != 0)
            m = matrixRotationZ(sprite->mRotation * 0.017453292f) * m;
        m.m[3][0] = sprite->mPosition.x;
        m.m[3][1] = sprite->mPosition.y;
        m.m[3][2] = sprite->mPosition.z;
        mDevice->setTransform(TS_WORLD, m);
        mCache->flush();
        mDevice->drawPrimitive(PT_TRIANGLESTRIP, sprite->mQuadIndex, 2);
    }
    // 5.
    mCache->setState(RS_ALPHABLENDENABLE, blend);
    return ERROR_OK;
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

bool Engine3DD3D::getWorldTransform(Matrix* world)
{
    return mDevice != nullptr && mDevice->getTransform(TS_WORLD, world) == GPU_OK;
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

AnimatedMeshModelD3D* Engine3DD3D::createAnimatedMeshModel()
{
    return new AnimatedMeshModelD3D();
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
