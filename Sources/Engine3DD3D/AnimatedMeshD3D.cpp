#include "Engine/MeshModel.h"
#include "Engine2DD3D/MaterialD3D.h"
#include "Engine2DD3D/RenderStateCache.h"
#include "Engine3DD3D/AnimatedMeshModelD3D.h"
#include "Engine3DD3D/Engine2DLink.h"
#include "Engine3DD3D/Engine3DD3D.h"
#include "Framework/ApplicationGeneric.h"
#include "Framework/ErrorText.h"

using namespace Platform;
using Gpu::GpuResult;

namespace
{
const char* const kSourceName = "Sources\\Engine3DD3D\\AnimatedMeshD3D.cpp";

ErrorCode deviceError(GpuResult result, int line)
{
    return reportD3DError(uint32_t(result), "(line %i in file %s)", line, kSourceName);
}
} // namespace

// What the controller calls back while time advances.
class AnimatedMeshD3D::Handler final : public AnimationCallbackHandler
{
public:
    explicit Handler(AnimatedMeshD3D* owner) : mOwner(owner) {}
    void handleCallback(uint32_t track, uint32_t data) override
    {
        AnimationListener* listener = mOwner->mListener;
        if (listener == nullptr || track != mOwner->mListenedTrack)
            return;
        if (data == EVENT_LEAD)
            listener->onAnimationEvent(mOwner, mOwner->mUserValue);
        else if (data == EVENT_END)
            listener->onAnimationEnd(mOwner, mOwner->mUserValue);
    }

private:
    AnimatedMeshD3D* mOwner;
};

AnimatedMeshD3D::AnimatedMeshD3D(AnimatedMeshModelD3D* model)
    : mModel(model), mHandler(std::make_unique<Handler>(this))
{
    mModel->addInstance(this);
    if (mModel->isLoaded())
    {
        if (setAnimationController(*mModel->getController()) != ERROR_OK)
        {
            if (ApplicationGeneric* application = getApplication())
                application->quitApplication(true);
        }
    }
}

AnimatedMeshD3D::~AnimatedMeshD3D()
{
    if (mModel != nullptr)
        mModel->removeInstance(this);
}

ErrorCode AnimatedMeshD3D::setAnimationController(const AnimationController& controller)
{
    auto copy = std::make_unique<AnimationController>(controller);
    for (uint32_t track = 0; track < copy->getNumTracks(); ++track)
        copy->setTrackEnable(track, false);
    const auto& descriptors = mModel->getDescriptors();
    mSetIndices.assign(descriptors.size(), -1);
    for (size_t i = 0; i < descriptors.size(); ++i)
    {
        if (descriptors[i].mName.empty())
            continue;
        int32_t set = copy->findAnimationSet(descriptors[i].mName);
        if (set < 0)
            return deviceError(Gpu::GPU_FAIL, __LINE__);
        mSetIndices[i] = set;
        const AnimationSet* animation = copy->getAnimationSet(uint32_t(set));
        double period = animation->period();
        double rate = animation->ticksPerSecond;
        double lead = std::max(0.0, period - descriptors[i].mEventLead / 1000.0);
        copy->setCallbackKeys(uint32_t(set), {{lead * rate, EVENT_LEAD}, {period * rate, EVENT_END}});
    }
    mController = std::move(copy);
    mOverrides.resize(mModel->getParts().size());
    for (size_t part = 0; part < mOverrides.size(); ++part)
        mOverrides[part].resize(mModel->getPartMaterialCount(part), nullptr);
    // The first descriptor's set plays, or the file's first set.
    for (size_t i = 0; i < mSetIndices.size(); ++i)
    {
        if (mSetIndices[i] >= 0)
            return playAnimation(uint32_t(i));
    }
    mController->setTrackAnimationSet(0, 0);
    mController->setTrackEnable(0, true);
    return ERROR_OK;
}

ErrorCode AnimatedMeshD3D::playAnimation(uint32_t descriptor)
{
    if (!mController || descriptor >= mSetIndices.size() || mSetIndices[descriptor] < 0)
        return ERROR_FAILED;
    mController->setTrackAnimationSet(0, mSetIndices[descriptor]);
    mController->setTrackPosition(0, 0);
    mController->setTrackSpeed(0, 1);
    mController->setTrackWeight(0, 1);
    mController->setTrackEnable(0, true);
    return ERROR_OK;
}

void AnimatedMeshD3D::advanceTime(double seconds)
{
    mTime += seconds;
    if (mController)
        mController->advanceTime(seconds, mHandler.get());
}

void AnimatedMeshD3D::pose()
{
    if (mModel == nullptr)
        return;
    FrameHierarchy& frames = mModel->getFrames();
    frames.resetLocals();
    if (mController)
        mController->apply(&frames.locals);
    frames.updateCombined(Matrix{});
}

void AnimatedMeshD3D::setMaterial(size_t part, size_t material, Material* override)
{
    if (part < mOverrides.size() && material < mOverrides[part].size())
        mOverrides[part][material] = override;
}

Material* AnimatedMeshD3D::getMaterial(size_t part, size_t material) const
{
    if (part < mOverrides.size() && material < mOverrides[part].size())
        return mOverrides[part][material];
    return nullptr;
}

ErrorCode AnimatedMeshD3D::onLostDevice()
{
    return ChildListNode::onLostDevice();
}

ErrorCode AnimatedMeshD3D::onResetDevice()
{
    return ChildListNode::onResetDevice();
}

ErrorCode AnimatedMeshD3D::render()
{
    Engine3DD3D* engine = Engine3DD3D::currentD3D();
    Gpu::Device* device = engine != nullptr ? engine->getDevice() : nullptr;
    RenderStateCache* cache = engine != nullptr ? engine->getRenderStateCache() : nullptr;
    if (mModel == nullptr || !mModel->isLoaded() || device == nullptr || cache == nullptr)
        return ChildListNode::render();
    // 2.
    if (ApplicationGeneric* application = getApplication())
        advanceTime(application->getFrameDelta() * 0.001);
    pose();
    ErrorCode code = ERROR_OK;
    {
        // 3.
        uint32_t culling = mModel->getCulling();
        ScopedRenderState cull(*cache, Gpu::RS_CULLMODE, culling <= 2 ? culling + 1 : Gpu::CULL_NONE);
        ScopedRenderState blend(*cache, Gpu::RS_ALPHABLENDENABLE, 0);
        ScopedRenderState test(*cache, Gpu::RS_ALPHATESTENABLE, 0);
        ScopedRenderState normalize(*cache, Gpu::RS_NORMALIZENORMALS, 1);
        cache->flush();
        // 4-5. The view, projection, lights and materials the effect would
        // take are the device's own.
        mModel->mTransform.enter();
        code = drawParts();
        mModel->mTransform.leave();
    }
    if (code != ERROR_OK)
        return code;
    return ChildListNode::render();
}

ErrorCode AnimatedMeshD3D::drawParts()
{
    Gpu::Device* device = Engine3DD3D::currentDevice();
    Matrix world;
    device->getTransform(Gpu::TS_WORLD, &world);
    const FrameHierarchy& frames = mModel->getFrames();
    const auto& parts = mModel->getParts();
    for (size_t p = 0; p < parts.size(); ++p)
    {
        const SkinnedMeshPart& part = parts[p];
        Mesh* mesh = mModel->getPartMesh(p);
        const Matrix& holder = frames.combined[size_t(part.frame)];
        if (part.isSkinned())
        {
            // The bones move the vertices in the model's space.
            part.computeBoneMatrices(frames, &mBoneScratch);
            void* bytes = nullptr;
            if (GpuResult result = mesh->lockVertexBuffer(Gpu::LOCK_DISCARD, &bytes))
                return deviceError(result, __LINE__);
            part.skin(mBoneScratch, holder, static_cast<SkinnedVertex*>(bytes));
            mesh->unlockVertexBuffer();
            device->setTransform(Gpu::TS_WORLD, world);
        }
        else
            device->setTransform(Gpu::TS_WORLD, holder * world);
        for (size_t i = 0; i < mModel->getPartMaterialCount(p); ++i)
        {
            Material* material = getMaterial(p, i);
            if (material == nullptr)
                material = mModel->getPartMaterial(p, i);
            device->setMaterial(deviceMaterialOf(*material));
            device->setTexture(0, deviceTextureOf(material->getTexture()));
            if (GpuResult result = mesh->drawSubset(uint32_t(i)))
            {
                device->setTransform(Gpu::TS_WORLD, world);
                return deviceError(result, __LINE__);
            }
        }
    }
    device->setTransform(Gpu::TS_WORLD, world);
    return ERROR_OK;
}

ErrorCode AnimatedMeshD3D::pick(PickResult* result)
{
    MeshInstance* box = mModel != nullptr ? mModel->getPickBox() : nullptr;
    if (box != nullptr)
    {
        box->mActive = true;
        box->mPickable = true;
        // The box is already in this node's space (the model's own
        // transform went into it).
        ErrorCode code = box->pickWithTransform(result);
        box->mActive = false;
        box->mPickable = false;
        if (code != ERROR_OK)
            return code;
    }
    return ChildListNode::pick(result);
}
