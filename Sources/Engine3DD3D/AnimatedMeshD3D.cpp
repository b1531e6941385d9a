#include "Engine/Light.h"
#include "Engine/MeshModel.h"
#include "Engine2DD3D/MaterialD3D.h"
#include "Engine2DD3D/RenderStateCache.h"
#include "Engine3DD3D/AnimatedMeshModelD3D.h"
#include "Engine3DD3D/Engine2DLink.h"
#include "Engine3DD3D/Engine3DD3D.h"
#include "Framework/ApplicationGeneric.h"
#include "Framework/ErrorText.h"

#include <algorithm>
#include <cstdio>

using namespace Platform;

namespace
{
const char* const kSourceName = "Sources\\Engine3DD3D\\AnimatedMeshD3D.cpp";
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
            return reportD3DErrorAt(Gpu::GPU_FAIL, kSourceName);
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

ErrorCode AnimatedMeshD3D::switchAnimation(uint32_t descriptor, uint32_t duration)
{
    if (!mController || descriptor >= mSetIndices.size() || mSetIndices[descriptor] < 0)
        return ERROR_FAILED;
    uint32_t from = mCurrentTrack;
    uint32_t to = (from + 1) % mController->getNumTracks();
    double seconds = duration * 0.001;
    const TrackDesc* old = mController->getTrack(from);
    mRamps.clear();
    mRamps.push_back({from, mTime, seconds, old->speed, 0, old->weight, 0, true});
    mRamps.push_back({to, mTime, seconds, 0, 1, 0, 1, false});
    mController->setTrackAnimationSet(to, mSetIndices[descriptor]);
    mController->setTrackPosition(to, 0);
    mController->setTrackEnable(to, true);
    mCurrentTrack = to;
    applyRamps();
    return ERROR_OK;
}

void AnimatedMeshD3D::applyRamps()
{
    for (auto ramp = mRamps.begin(); ramp != mRamps.end();)
    {
        double done = ramp->duration > 0 ? (mTime - ramp->start) / ramp->duration : 1.0;
        float k = float(std::clamp(done, 0.0, 1.0));
        mController->setTrackSpeed(ramp->track, ramp->speedFrom + (ramp->speedTo - ramp->speedFrom) * k);
        mController->setTrackWeight(ramp->track, ramp->weightFrom + (ramp->weightTo - ramp->weightFrom) * k);
        if (done < 1.0)
        {
            ++ramp;
            continue;
        }
        if (ramp->disableAtEnd)
            mController->setTrackEnable(ramp->track, false);
        ramp = mRamps.erase(ramp);
    }
}

void AnimatedMeshD3D::advanceTime(double seconds)
{
    mTime += seconds;
    if (!mController)
        return;
    applyRamps();
    mController->advanceTime(seconds, mHandler.get());
}

void AnimatedMeshD3D::pose(const Matrix& root)
{
    if (mModel == nullptr)
        return;
    FrameHierarchy& frames = mModel->getFrames();
    frames.resetLocals();
    if (mController)
        mController->apply(&frames.locals);
    frames.updateCombined(root);
}

Vector3 AnimatedMeshD3D::projectToWindow(const Vector3& point)
{
    Engine3DD3D* engine = Engine3DD3D::currentD3D();
    if (engine == nullptr)
        return point;
    Vector3 world = point;
    if (mModel != nullptr)
        mModel->mTransform.localToParent(world, &world);
    localToWorld(world, &world);
    Matrix view, projection;
    engine->computeViewProjection(&view, &projection);
    Vector3 ndc = vec3TransformCoord(world, view * projection);
    float width = 0, height = 0;
    engine->getViewSize(&width, &height);
    return {(ndc.x + 1) * width / 2, height * (1 - ndc.y) / 2, ndc.z};
}

std::string AnimatedMeshD3D::formatMatrix(const Matrix& m)
{
    char text[512];
    std::snprintf(text, sizeof text,
                  "%05.5f %05.5f %05.5f %05.5f\n%05.5f %05.5f %05.5f %05.5f\n%05.5f %05.5f %05.5f %05.5f\n"
                  "%05.5f %05.5f %05.5f %05.5f\n",
                  double(m.m[0][0]), double(m.m[0][1]), double(m.m[0][2]), double(m.m[0][3]),
                  double(m.m[1][0]), double(m.m[1][1]), double(m.m[1][2]), double(m.m[1][3]),
                  double(m.m[2][0]), double(m.m[2][1]), double(m.m[2][2]), double(m.m[2][3]),
                  double(m.m[3][0]), double(m.m[3][1]), double(m.m[3][2]), double(m.m[3][3]));
    return text;
}

void AnimatedMeshD3D::printMatrix(const Matrix& matrix)
{
    std::fputs(formatMatrix(matrix).c_str(), stderr);
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
    if (!mActive || mModel == nullptr || !mModel->isLoaded() || device == nullptr || cache == nullptr)
        return ChildListNode::render();
    // 1. The node's own world is part of the bones' matrices.
    Matrix world;
    device->getTransform(Gpu::TS_WORLD, &world);
    // 2.
    if (ApplicationGeneric* application = getApplication())
        advanceTime(application->getFrameDelta() * 0.001);
    mModel->mTransform.enter();
    Matrix root;
    device->getTransform(Gpu::TS_WORLD, &root);
    mModel->mTransform.leave();
    pose(root);
    PlatformResult result = Gpu::GPU_OK;
    {
        // 3.
        uint32_t culling = mModel->getCulling();
        ScopedRenderState cull(*cache, Gpu::RS_CULLMODE, culling <= 2 ? culling + 1 : Gpu::CULL_NONE);
        ScopedRenderState blend(*cache, Gpu::RS_ALPHABLENDENABLE, 0);
        ScopedRenderState test(*cache, Gpu::RS_ALPHATESTENABLE, 0);
        // 4.
        Gpu::Effect* effect = mModel->getEffect();
        if (effect != nullptr)
            setEffectParameters(effect);
        // 5. Depth first, as the parts are listed.
        for (size_t part = 0; part < mModel->getParts().size() && result == Gpu::GPU_OK; ++part)
            result =
                mModel->getBlendedMesh(part) != nullptr ? drawSkinnedPart(part, effect) : drawPlainPart(part);
    }
    // 6.
    device->setTransform(Gpu::TS_WORLD, world);
    if (result != Gpu::GPU_OK)
        return reportD3DErrorAt(result, kSourceName);
    return ChildListNode::render();
}

void AnimatedMeshD3D::setEffectParameters(Gpu::Effect* effect)
{
    Engine3DD3D* engine = Engine3DD3D::currentD3D();
    Gpu::Device* device = engine->getDevice();
    Matrix view, projection;
    device->getTransform(Gpu::TS_VIEW, &view);
    device->getTransform(Gpu::TS_PROJECTION, &projection);
    effect->setMatrix("View", view);
    effect->setMatrix("Projection", projection);
    const Vector3& eye = engine->getCamera().mEye;
    effect->setVector("CameraPos", {eye.x, eye.y, eye.z, 1});
    Light* light = engine->findFirstDirectionalLight();
    if (light == nullptr)
    {
        effect->setVector("lightDir", {0.5f, 0.5f, 0.5f, 1});
        return;
    }
    Vector3 direction;
    light->getDirection(&direction);
    effect->setVector("lightDir", {direction.x, direction.y, direction.z, 1});
    auto vector = [](uint32_t argb) -> Vector4
    {
        return {float((argb >> 16) & 0xFF) / 255.0f, float((argb >> 8) & 0xFF) / 255.0f,
                float(argb & 0xFF) / 255.0f, float(argb >> 24) / 255.0f};
    };
    uint32_t color = 0;
    light->getAmbient(&color);
    effect->setVector("I_a", vector(color));
    light->getDiffuse(&color);
    effect->setVector("I_d", vector(color));
    light->getSpecular(&color);
    effect->setVector("I_s", vector(color));
}

Material* AnimatedMeshD3D::effectiveMaterial(size_t part, size_t material) const
{
    Material* chosen = getMaterial(part, material);
    return chosen != nullptr ? chosen : mModel->getPartMaterial(part, material);
}

PlatformResult AnimatedMeshD3D::drawPlainPart(size_t part)
{
    Engine3DD3D* engine = Engine3DD3D::currentD3D();
    Gpu::Device* device = engine->getDevice();
    RenderStateCache& cache = *engine->getRenderStateCache();
    ScopedRenderState normalize(cache, Gpu::RS_NORMALIZENORMALS, 1);
    device->setTransform(Gpu::TS_WORLD, mModel->getFrames().combined[size_t(mModel->getParts()[part].frame)]);
    cache.flush();
    Mesh* mesh = mModel->getPartMesh(part);
    for (size_t i = 0; i < mModel->getPartMaterialCount(part); ++i)
    {
        Material* material = effectiveMaterial(part, i);
        device->setMaterial(deviceMaterialOf(*material));
        device->setTexture(0, deviceTextureOf(material->getTexture()));
        if (PlatformResult result = mesh->drawSubset(uint32_t(i)))
            return result;
    }
    return Gpu::GPU_OK;
}

PlatformResult AnimatedMeshD3D::drawSkinnedPart(size_t part, Gpu::Effect* effect)
{
    if (effect == nullptr)
        return Gpu::GPU_OK;
    Engine3DD3D* engine = Engine3DD3D::currentD3D();
    Gpu::Device* device = engine->getDevice();
    RenderStateCache& cache = *engine->getRenderStateCache();
    const BlendedMesh& blended = *mModel->getBlendedMesh(part);
    Mesh* software = mModel->getSoftwareMesh(part);
    bool onProcessor = mModel->isSoftwareSkinning() && software != nullptr;
    std::vector<Matrix>& palette = mModel->getPalette();
    for (uint32_t group = 0; group < blended.combinations.size(); ++group)
    {
        const BoneCombination& combination = blended.combinations[group];
        // An unused slot keeps what it held.
        for (uint32_t k = 0; k < blended.paletteSize; ++k)
        {
            uint32_t id = combination.boneIds[k];
            if (id != UNUSED_BONE)
                palette[k] = mModel->boneMatrix(part, id);
        }
        effect->setMatrixArray("amPalette", palette.data(), blended.paletteSize);
        Material* material = effectiveMaterial(part, combination.attribId);
        if (material != nullptr)
        {
            auto vector = [](const Material::Color& c) { return Vector4{c[0], c[1], c[2], c[3]}; };
            effect->setVector("k_a", vector(material->getAmbient()));
            effect->setVector("k_d", vector(material->getDiffuse()));
            effect->setVector("k_s", vector(material->getSpecular()));
            effect->setFloat("n", material->getPower());
            device->setTexture(0, deviceTextureOf(material->getTexture()));
        }
        effect->setInt("CurNumBones", int32_t(blended.maxInfluences) - 1);
        if (effect->setTechnique(mModel->getTechnique()) != Gpu::GPU_OK)
            return Gpu::GPU_OK;
        cache.flush();
        Mesh* mesh = blended.mesh.get();
        if (onProcessor)
        {
            void* bytes = nullptr;
            if (PlatformResult result = software->lockVertexBuffer(0, &bytes))
                return result;
            skinBlendedVertices(*mesh, combination.vertexStart, combination.vertexCount, palette.data(),
                                blended.paletteSize, static_cast<SkinnedVertex*>(bytes));
            software->unlockVertexBuffer();
            mesh = software;
        }
        uint32_t passes = 0;
        if (PlatformResult result = effect->begin(&passes, 0))
            return result;
        PlatformResult result = Gpu::GPU_OK;
        for (uint32_t pass = 0; pass < passes && result == Gpu::GPU_OK; ++pass)
        {
            result = effect->beginPass(pass);
            if (result != Gpu::GPU_OK)
                break;
            result = mesh->drawSubset(group);
            effect->endPass();
        }
        effect->end();
        if (result != Gpu::GPU_OK)
            return result;
    }
    return Gpu::GPU_OK;
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
        // What was hit is the instance, not its box.
        if (result->mNode == box)
            result->mNode = this;
    }
    return ChildListNode::pick(result);
}
