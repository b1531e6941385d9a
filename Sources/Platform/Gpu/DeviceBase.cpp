#include "Platform/Gpu/DeviceBase.h"

#include "Platform/Gpu/TextureLimits.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <type_traits>

namespace Platform::Gpu
{

namespace
{

std::string describe(const char* pattern, ...) __attribute__((format(printf, 1, 2)));

std::string describe(const char* pattern, ...)
{
    char text[256];
    va_list arguments;
    va_start(arguments, pattern);
    std::vsnprintf(text, sizeof text, pattern, arguments);
    va_end(arguments);
    return text;
}

bool sameBytes(const void* a, const void* b, size_t size)
{
    return std::memcmp(a, b, size) == 0;
}

Light defaultEnabledLight()
{
    Light light;
    light.type = LIGHT_DIRECTIONAL;
    light.diffuse = {1, 1, 1, 0};
    light.direction = {0, 0, 1};
    return light;
}

} // namespace

// 64 bits: a count near 2^32 must not wrap round to a small one.
uint64_t verticesForPrimitives(uint32_t type, uint32_t primitiveCount)
{
    switch (type)
    {
    case PT_TRIANGLELIST:
        return uint64_t(primitiveCount) * 3;
    case PT_TRIANGLESTRIP:
    case PT_TRIANGLEFAN:
        return uint64_t(primitiveCount) + 2;
    default:
        return 0;
    }
}

DeviceBase::DeviceBase(const PresentParameters& parameters) : mParameters(parameters)
{
    resetStates();
}

DeviceBase::~DeviceBase()
{
    detachAllResources();
}

void DeviceBase::detachAllResources()
{
    for (Texture* texture : mLiveTextures)
    {
        texture->detachFromDevice();
    }
    for (VertexBuffer* buffer : mLiveVertexBuffers)
    {
        buffer->detachFromDevice();
    }
    for (IndexBuffer* buffer : mLiveIndexBuffers)
    {
        buffer->detachFromDevice();
    }
    for (Effect* effect : mLiveEffects)
    {
        effect->detachFromDevice();
    }
    mLiveTextures.clear();
    mLiveVertexBuffers.clear();
    mLiveIndexBuffers.clear();
    mLiveEffects.clear();
    mActiveEffect = nullptr;
}

void DeviceBase::resetStates()
{
    for (uint32_t state = 0; state < RENDER_STATE_COUNT; ++state)
    {
        mRenderStates[state] = defaultRenderState(state);
    }
    for (uint32_t stage = 0; stage < TEXTURE_STAGE_COUNT; ++stage)
    {
        for (uint32_t type = 0; type < TEXTURE_STAGE_STATE_COUNT; ++type)
        {
            mStageStates[stage][type] = defaultTextureStageState(stage, type);
        }
    }
    for (auto& sampler : mSamplerStates)
    {
        for (uint32_t type = 0; type < SAMPLER_STATE_COUNT; ++type)
        {
            sampler[type] = defaultSamplerState(type);
        }
    }
    mWorld = mView = mProjection = Matrix{};
    mMaterial = Material{};
    mLights.clear();
    mTextures.fill(nullptr);
    mStream = nullptr;
    mStreamOffset = mStreamStride = 0;
    mFvf = 0;
    mIndices = nullptr;
    mRenderTarget = nullptr;
    mRenderStatesChanged = mTransformsChanged = mMaterialChanged = mLightsChanged = mSamplerChanged = true;
}

PlatformResult DeviceBase::testCooperativeLevel()
{
    log("testCooperativeLevel()");
    return GPU_OK;
}

PlatformResult DeviceBase::reset(const PresentParameters& parameters)
{
    log(describe("reset(%u, %u)", parameters.backBufferWidth, parameters.backBufferHeight));
    if (parameters.backBufferWidth == 0 || parameters.backBufferHeight == 0)
    {
        return GPU_INVALIDCALL;
    }
    releaseHeldCalls();
    mStoredSignature.clear();
    frameChanged();
    beforeChange();
    mParameters = parameters;
    mInScene = false;
    resetStates();
    return doReset();
}

PlatformResult DeviceBase::beginScene()
{
    log("beginScene()");
    if (mInScene)
    {
        return GPU_INVALIDCALL;
    }
    mInScene = true;
    return GPU_OK;
}

PlatformResult DeviceBase::endScene()
{
    log("endScene()");
    if (!mInScene)
    {
        return GPU_INVALIDCALL;
    }
    mInScene = false;
    return GPU_OK;
}

PlatformResult DeviceBase::present()
{
    log("present()");
    mPresentingShownFrame = false;
    if (mHolding)
    {
        bool describable = mFrameSkipAllowed && !mFrameUnreusable && heldFromWholeClear();
        if (describable && mSignature == mShownSignature)
        {
            // The frame already shows this picture.
            mHolding = mPassOpen = mPassEnded = false;
            mHeldCalls.clear();
            mHeldStates.clear();
            ++mSkippedFrames;
            mPresentingShownFrame = true;
        }
        else
        {
            releaseHeldCalls();
            if (describable)
            {
                mShownSignature.swap(mSignature);
            }
        }
    }
    return doPresent();
}

PlatformResult DeviceBase::clear(uint32_t flags, uint32_t color, float z, uint32_t stencil)
{
    if (logging())
    {
        log(describe("clear(%u, 0x%08X, %g, %u)", flags, color, double(z), stencil));
    }
    if ((flags & ~(CLEAR_TARGET | CLEAR_ZBUFFER | CLEAR_STENCIL)) != 0 || !(z >= 0 && z <= 1))
    {
        return GPU_INVALIDCALL;
    }
    if (mHolding)
    {
        HeldCall held;
        held.clear = true;
        held.flags = flags;
        held.color = color;
        held.z = z;
        held.stencil = stencil;
        hold(held);
        return GPU_OK;
    }
    if (!mRenderTarget)
    {
        frameChanged();
    }
    return doClear(flags, color, z, stencil);
}

PlatformResult DeviceBase::setRenderState(uint32_t state, uint32_t value)
{
    if (logging())
    {
        log(describe("setRenderState(%u, %u)", state, value));
    }
    if (state >= RENDER_STATE_COUNT)
    {
        return GPU_INVALIDCALL;
    }
    if (mRenderStates[state] != value)
    {
        beforeChange();
        mRenderStates[state] = value;
        mRenderStatesChanged = true;
    }
    return GPU_OK;
}

PlatformResult DeviceBase::getRenderState(uint32_t state, uint32_t* value)
{
    if (logging())
    {
        log(describe("getRenderState(%u)", state));
    }
    if (state >= RENDER_STATE_COUNT || !value)
    {
        return GPU_INVALIDCALL;
    }
    *value = mRenderStates[state];
    return GPU_OK;
}

PlatformResult DeviceBase::setTextureStageState(uint32_t stage, uint32_t type, uint32_t value)
{
    if (logging())
    {
        log(describe("setTextureStageState(%u, %u, %u)", stage, type, value));
    }
    if (stage >= TEXTURE_STAGE_COUNT || type >= TEXTURE_STAGE_STATE_COUNT)
    {
        return GPU_INVALIDCALL;
    }
    if (mStageStates[stage][type] != value)
    {
        beforeChange();
        mStageStates[stage][type] = value;
    }
    return GPU_OK;
}

PlatformResult DeviceBase::getTextureStageState(uint32_t stage, uint32_t type, uint32_t* value)
{
    if (logging())
    {
        log(describe("getTextureStageState(%u, %u)", stage, type));
    }
    if (stage >= TEXTURE_STAGE_COUNT || type >= TEXTURE_STAGE_STATE_COUNT || !value)
    {
        return GPU_INVALIDCALL;
    }
    *value = mStageStates[stage][type];
    return GPU_OK;
}

PlatformResult DeviceBase::setSamplerState(uint32_t sampler, uint32_t type, uint32_t value)
{
    if (logging())
    {
        log(describe("setSamplerState(%u, %u, %u)", sampler, type, value));
    }
    if (sampler >= SAMPLER_COUNT || type >= SAMPLER_STATE_COUNT)
    {
        return GPU_INVALIDCALL;
    }
    if (mSamplerStates[sampler][type] != value)
    {
        beforeChange();
        mSamplerStates[sampler][type] = value;
        mSamplerChanged = true;
    }
    return GPU_OK;
}

PlatformResult DeviceBase::getSamplerState(uint32_t sampler, uint32_t type, uint32_t* value)
{
    if (logging())
    {
        log(describe("getSamplerState(%u, %u)", sampler, type));
    }
    if (sampler >= SAMPLER_COUNT || type >= SAMPLER_STATE_COUNT || !value)
    {
        return GPU_INVALIDCALL;
    }
    *value = mSamplerStates[sampler][type];
    return GPU_OK;
}

Matrix* DeviceBase::transformSlot(uint32_t type)
{
    switch (type)
    {
    case TS_WORLD:
        return &mWorld;
    case TS_VIEW:
        return &mView;
    case TS_PROJECTION:
        return &mProjection;
    default:
        return nullptr;
    }
}

PlatformResult DeviceBase::setTransform(uint32_t type, const Matrix& matrix)
{
    if (logging())
    {
        log(describe("setTransform(%u)", type));
    }
    Matrix* slot = transformSlot(type);
    if (!slot)
    {
        return GPU_INVALIDCALL;
    }
    if (!sameBytes(slot, &matrix, sizeof matrix))
    {
        beforeChange();
        *slot = matrix;
        mTransformsChanged = true;
    }
    return GPU_OK;
}

PlatformResult DeviceBase::getTransform(uint32_t type, Matrix* matrix)
{
    if (logging())
    {
        log(describe("getTransform(%u)", type));
    }
    Matrix* slot = transformSlot(type);
    if (!slot || !matrix)
    {
        return GPU_INVALIDCALL;
    }
    *matrix = *slot;
    return GPU_OK;
}

PlatformResult DeviceBase::multiplyTransform(uint32_t type, const Matrix& matrix)
{
    if (logging())
    {
        log(describe("multiplyTransform(%u)", type));
    }
    Matrix* slot = transformSlot(type);
    if (!slot)
    {
        return GPU_INVALIDCALL;
    }
    beforeChange();
    *slot = matrix * *slot;
    mTransformsChanged = true;
    return GPU_OK;
}

PlatformResult DeviceBase::setMaterial(const Material& material)
{
    log("setMaterial()");
    if (!sameBytes(&mMaterial, &material, sizeof material))
    {
        beforeChange();
        mMaterial = material;
        mMaterialChanged = true;
    }
    return GPU_OK;
}

PlatformResult DeviceBase::getMaterial(Material* material)
{
    log("getMaterial()");
    if (!material)
    {
        return GPU_INVALIDCALL;
    }
    *material = mMaterial;
    return GPU_OK;
}

PlatformResult DeviceBase::setLight(uint32_t index, const Light& light)
{
    if (logging())
    {
        log(describe("setLight(%u, %u)", index, light.type));
    }
    if (light.type < LIGHT_POINT || light.type > LIGHT_DIRECTIONAL ||
        (light.type != LIGHT_DIRECTIONAL && !(light.range >= 0)))
    {
        return GPU_INVALIDCALL;
    }
    beforeChange();
    mLights[index].light = light;
    mLightsChanged = true;
    return GPU_OK;
}

PlatformResult DeviceBase::getLight(uint32_t index, Light* light)
{
    if (logging())
    {
        log(describe("getLight(%u)", index));
    }
    auto found = mLights.find(index);
    if (found == mLights.end() || !light)
    {
        return GPU_INVALIDCALL;
    }
    *light = found->second.light;
    return GPU_OK;
}

PlatformResult DeviceBase::lightEnable(uint32_t index, bool enable)
{
    if (logging())
    {
        log(describe("lightEnable(%u, %d)", index, enable ? 1 : 0));
    }
    auto found = mLights.find(index);
    if (found == mLights.end())
    {
        if (!enable)
        {
            return GPU_OK;
        }
        beforeChange();
        found = mLights.emplace(index, LightSlot{defaultEnabledLight(), false}).first;
    }
    if (found->second.enabled != enable)
    {
        beforeChange();
        found->second.enabled = enable;
        mLightsChanged = true;
    }
    return GPU_OK;
}

PlatformResult DeviceBase::getLightEnable(uint32_t index, bool* enable)
{
    if (logging())
    {
        log(describe("getLightEnable(%u)", index));
    }
    auto found = mLights.find(index);
    if (found == mLights.end() || !enable)
    {
        return GPU_INVALIDCALL;
    }
    *enable = found->second.enabled;
    return GPU_OK;
}

PlatformResult DeviceBase::createTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                                         uint32_t format, uint32_t pool, std::unique_ptr<Texture>* texture)
{
    if (logging())
    {
        log(describe("createTexture(%u, %u, %u, 0x%X, %u, %u)", width, height, levels, usage, format, pool));
    }
    if (!texture || width == 0 || height == 0 || width > MAX_TEXTURE_SIDE || height > MAX_TEXTURE_SIDE ||
        bytesPerPixel(format) == 0)
    {
        return GPU_INVALIDCALL;
    }
    bool renderTarget = (usage & USAGE_RENDERTARGET) != 0;
    if (renderTarget && (pool != POOL_DEFAULT || format == FMT_A1R5G5B5))
    {
        return GPU_INVALIDCALL;
    }
    auto made = std::make_unique<Texture>(this, width, height, levels, usage, format, pool);
    if (mTextureBytes + made->byteSize() > TEXTURE_MEMORY)
    {
        made->detachFromDevice();
        return GPU_OUTOFVIDEOMEMORY;
    }
    PlatformResult result = doCreateTexture(*made);
    if (resultFailed(result))
    {
        made->detachFromDevice();
        return result;
    }
    mTextureBytes += made->byteSize();
    mLiveTextures.insert(made.get());
    *texture = std::move(made);
    return GPU_OK;
}

PlatformResult DeviceBase::createVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, uint32_t pool,
                                              std::unique_ptr<VertexBuffer>* buffer)
{
    if (logging())
    {
        log(describe("createVertexBuffer(%u, 0x%X, 0x%X, %u)", length, usage, fvf, pool));
    }
    constexpr uint32_t maxLength = 256u * 1024 * 1024;
    if (!buffer || length == 0 || length > maxLength || (fvf != 0 && vertexSize(fvf) == 0))
    {
        return GPU_INVALIDCALL;
    }
    auto made = std::make_unique<VertexBuffer>(this, length, usage, fvf, pool);
    mLiveVertexBuffers.insert(made.get());
    *buffer = std::move(made);
    return GPU_OK;
}

PlatformResult DeviceBase::createIndexBuffer(uint32_t length, uint32_t usage, uint32_t format, uint32_t pool,
                                             std::unique_ptr<IndexBuffer>* buffer)
{
    if (logging())
    {
        log(describe("createIndexBuffer(%u, 0x%X, %u, %u)", length, usage, format, pool));
    }
    constexpr uint32_t maxLength = 256u * 1024 * 1024;
    if (!buffer || length == 0 || length > maxLength || (format != FMT_INDEX16 && format != FMT_INDEX32))
    {
        return GPU_INVALIDCALL;
    }
    auto made = std::make_unique<IndexBuffer>(this, length, usage, format, pool);
    mLiveIndexBuffers.insert(made.get());
    *buffer = std::move(made);
    return GPU_OK;
}

PlatformResult DeviceBase::setTexture(uint32_t stage, Texture* texture)
{
    if (logging())
    {
        log(describe("setTexture(%u, %p)", stage, static_cast<void*>(texture)));
    }
    if (stage >= TEXTURE_STAGE_COUNT || (texture && !mLiveTextures.count(texture)))
    {
        return GPU_INVALIDCALL;
    }
    if (mTextures[stage] != texture)
    {
        beforeChange();
        mTextures[stage] = texture;
    }
    return GPU_OK;
}

Texture* DeviceBase::getTexture(uint32_t stage)
{
    return stage < TEXTURE_STAGE_COUNT ? mTextures[stage] : nullptr;
}

PlatformResult DeviceBase::setStreamSource(uint32_t stream, VertexBuffer* buffer, uint32_t offset,
                                           uint32_t stride)
{
    if (logging())
    {
        log(describe("setStreamSource(%u, %p, %u, %u)", stream, static_cast<void*>(buffer), offset, stride));
    }
    if (stream != 0 || (buffer && !mLiveVertexBuffers.count(buffer)))
    {
        return GPU_INVALIDCALL;
    }
    // The vertices are copied when drawn, so changing the stream never
    // changes what an earlier draw showed.
    mStream = buffer;
    mStreamOffset = offset;
    mStreamStride = stride;
    return GPU_OK;
}

PlatformResult DeviceBase::setFVF(uint32_t fvf)
{
    if (logging())
    {
        log(describe("setFVF(0x%X)", fvf));
    }
    if (vertexSize(fvf) == 0)
    {
        return GPU_INVALIDCALL;
    }
    mFvf = fvf;
    return GPU_OK;
}

PlatformResult DeviceBase::getFVF(uint32_t* fvf)
{
    if (!fvf)
    {
        return GPU_INVALIDCALL;
    }
    *fvf = mFvf;
    return GPU_OK;
}

PlatformResult DeviceBase::setIndices(IndexBuffer* buffer)
{
    if (logging())
    {
        log(describe("setIndices(%p)", static_cast<void*>(buffer)));
    }
    if (buffer && !mLiveIndexBuffers.count(buffer))
    {
        return GPU_INVALIDCALL;
    }
    mIndices = buffer;
    return GPU_OK;
}

PlatformResult DeviceBase::checkAndDraw(DrawCall& call)
{
    uint32_t size = vertexSize(mFvf);
    // Only an effect's program knows what to do with bone weights.
    bool blended = (mFvf & FVF_POSITION_MASK) != FVF_XYZ;
    if (!mStream || size == 0 || (blended && !mActiveEffect) || mStreamStride < size ||
        call.primitiveCount == 0 || verticesForPrimitives(call.type, call.primitiveCount) == 0 ||
        mStreamOffset > mStream->length())
    {
        return GPU_INVALIDCALL;
    }
    call.fvf = mFvf;
    call.stride = mStreamStride;
    call.vertices = mStream->data() + mStreamOffset;
    uint64_t available = (mStream->length() - mStreamOffset) / mStreamStride;
    if (!call.indices)
    {
        uint64_t end = uint64_t(call.startVertex) + verticesForPrimitives(call.type, call.primitiveCount);
        if (end > available)
        {
            return GPU_INVALIDCALL;
        }
    }
    else
    {
        if (PlatformResult result = checkIndices(call, available))
        {
            return result;
        }
    }
    if (mHolding)
    {
        HeldCall held;
        held.draw = call;
        hold(held);
        return GPU_OK;
    }
    if (!mRenderTarget)
    {
        frameChanged();
    }
    return doDraw(call);
}

PlatformResult DeviceBase::checkIndices(const DrawCall& call, uint64_t available)
{
    uint64_t indexEnd = uint64_t(call.startIndex) + verticesForPrimitives(call.type, call.primitiveCount);
    if (indexEnd > call.indices->indexCount())
    {
        return GPU_INVALIDCALL;
    }
    // Every vertex an index reaches must exist.
    int64_t low = int64_t(call.baseVertex) + call.minVertexIndex;
    int64_t high = low + int64_t(call.vertexCount);
    if (call.vertexCount == 0 || low < 0 || high > int64_t(available))
    {
        return GPU_INVALIDCALL;
    }
    for (uint64_t i = call.startIndex; i < indexEnd; ++i)
    {
        int64_t vertex = int64_t(call.baseVertex) + call.indices->indexAt(uint32_t(i));
        if (vertex < low || vertex >= high)
        {
            return GPU_INVALIDCALL;
        }
    }
    return GPU_OK;
}

PlatformResult DeviceBase::drawPrimitive(uint32_t type, uint32_t startVertex, uint32_t primitiveCount)
{
    if (logging())
    {
        log(describe("drawPrimitive(%u, %u, %u)", type, startVertex, primitiveCount));
    }
    DrawCall call;
    call.type = type;
    call.startVertex = startVertex;
    call.primitiveCount = primitiveCount;
    return checkAndDraw(call);
}

PlatformResult DeviceBase::drawIndexedPrimitive(uint32_t type, int32_t baseVertexIndex,
                                                uint32_t minVertexIndex, uint32_t vertexCount,
                                                uint32_t startIndex, uint32_t primitiveCount)
{
    if (logging())
    {
        log(describe("drawIndexedPrimitive(%u, %d, %u, %u, %u, %u)", type, baseVertexIndex, minVertexIndex,
                     vertexCount, startIndex, primitiveCount));
    }
    if (!mIndices)
    {
        return GPU_INVALIDCALL;
    }
    DrawCall call;
    call.type = type;
    call.primitiveCount = primitiveCount;
    call.indices = mIndices;
    call.startIndex = startIndex;
    call.baseVertex = baseVertexIndex;
    call.minVertexIndex = minVertexIndex;
    call.vertexCount = vertexCount;
    return checkAndDraw(call);
}

PlatformResult DeviceBase::setRenderTarget(Texture* target)
{
    if (logging())
    {
        log(describe("setRenderTarget(%p)", static_cast<void*>(target)));
    }
    if (target && (!mLiveTextures.count(target) || !target->isRenderTarget()))
    {
        return GPU_INVALIDCALL;
    }
    if (target == mRenderTarget)
    {
        return GPU_OK;
    }
    releaseHeldCalls();
    beforeChange();
    mRenderTarget = target;
    return doSetRenderTarget(target);
}

uint32_t DeviceBase::getAvailableTextureMem()
{
    log("getAvailableTextureMem()");
    return uint32_t(TEXTURE_MEMORY - mTextureBytes);
}

uint64_t DeviceBase::textureCopyBytes() const
{
    uint64_t total = 0;
    for (const Texture* texture : mLiveTextures)
    {
        total += texture->copyBytes();
    }
    return total;
}

PlatformResult DeviceBase::saveScreenshot(const std::string& path)
{
    log("saveScreenshot(" + path + ")");
    releaseHeldCalls();
    return doSaveScreenshot(path);
}

void DeviceBase::textureDestroyed(Texture* texture)
{
    resourceChanging();
    if (!mLiveTextures.erase(texture))
    {
        return;
    }
    beforeChange();
    for (Texture*& bound : mTextures)
    {
        if (bound == texture)
        {
            bound = nullptr;
        }
    }
    if (mRenderTarget == texture)
    {
        mRenderTarget = nullptr;
        doSetRenderTarget(nullptr);
    }
    mTextureBytes -= texture->byteSize();
    doDestroyTexture(*texture);
}

void DeviceBase::vertexBufferDestroyed(VertexBuffer* buffer)
{
    resourceChanging();
    mLiveVertexBuffers.erase(buffer);
    if (mStream == buffer)
    {
        mStream = nullptr;
    }
}

void DeviceBase::indexBufferDestroyed(IndexBuffer* buffer)
{
    resourceChanging();
    mLiveIndexBuffers.erase(buffer);
    if (mIndices == buffer)
    {
        mIndices = nullptr;
    }
}

// Reusable passes.

template <class T> void DeviceBase::sign(const T& value)
{
    // Only types without padding come here: the bytes are the value.
    static_assert(std::is_trivially_copyable_v<T>);
    const auto* bytes = reinterpret_cast<const uint8_t*>(&value);
    mSignature.insert(mSignature.end(), bytes, bytes + sizeof value);
}

DeviceBase::HeldState DeviceBase::currentState() const
{
    return HeldState{mRenderStates, mStageStates, mSamplerStates, mWorld,   mView,
                     mProjection,   mMaterial,    mLights,        mTextures};
}

bool DeviceBase::sameLights(const std::map<uint32_t, LightSlot>& a, const std::map<uint32_t, LightSlot>& b)
{
    if (a.size() != b.size())
    {
        return false;
    }
    for (auto x = a.begin(), y = b.begin(); x != a.end(); ++x, ++y)
    {
        if (x->first != y->first || x->second.enabled != y->second.enabled ||
            !sameBytes(&x->second.light, &y->second.light, sizeof(Light)))
        {
            return false;
        }
    }
    return true;
}

void DeviceBase::restoreState(const HeldState& state)
{
    if (!sameBytes(&mRenderStates, &state.renderStates, sizeof mRenderStates))
    {
        beforeChange();
        mRenderStates = state.renderStates;
        mRenderStatesChanged = true;
    }
    if (!sameBytes(&mStageStates, &state.stageStates, sizeof mStageStates))
    {
        beforeChange();
        mStageStates = state.stageStates;
    }
    if (!sameBytes(&mSamplerStates, &state.samplerStates, sizeof mSamplerStates))
    {
        beforeChange();
        mSamplerStates = state.samplerStates;
        mSamplerChanged = true;
    }
    if (!sameBytes(&mWorld, &state.world, sizeof mWorld) || !sameBytes(&mView, &state.view, sizeof mView) ||
        !sameBytes(&mProjection, &state.projection, sizeof mProjection))
    {
        beforeChange();
        mWorld = state.world;
        mView = state.view;
        mProjection = state.projection;
        mTransformsChanged = true;
    }
    if (!sameBytes(&mMaterial, &state.material, sizeof mMaterial))
    {
        beforeChange();
        mMaterial = state.material;
        mMaterialChanged = true;
    }
    if (!sameLights(mLights, state.lights))
    {
        beforeChange();
        mLights = state.lights;
        mLightsChanged = true;
    }
    if (mTextures != state.textures)
    {
        beforeChange();
        mTextures = state.textures;
    }
}

size_t DeviceBase::holdState()
{
    if (!mHeldStates.empty())
    {
        const HeldState& last = mHeldStates.back();
        if (sameBytes(&last.renderStates, &mRenderStates, sizeof mRenderStates) &&
            sameBytes(&last.stageStates, &mStageStates, sizeof mStageStates) &&
            sameBytes(&last.samplerStates, &mSamplerStates, sizeof mSamplerStates) &&
            sameBytes(&last.world, &mWorld, sizeof mWorld) && sameBytes(&last.view, &mView, sizeof mView) &&
            sameBytes(&last.projection, &mProjection, sizeof mProjection) &&
            sameBytes(&last.material, &mMaterial, sizeof mMaterial) && sameLights(last.lights, mLights) &&
            last.textures == mTextures)
        {
            sign(uint8_t(0));
            return mHeldStates.size() - 1;
        }
    }
    mHeldStates.push_back(currentState());
    sign(uint8_t(1));
    sign(mRenderStates);
    sign(mStageStates);
    sign(mSamplerStates);
    for (const Matrix* matrix : {&mWorld, &mView, &mProjection})
    {
        sign(matrix->m);
    }
    for (const ColorValue* color :
         {&mMaterial.diffuse, &mMaterial.ambient, &mMaterial.specular, &mMaterial.emissive})
    {
        sign(std::array<float, 4>{color->r, color->g, color->b, color->a});
    }
    sign(mMaterial.power);
    sign(uint64_t(mLights.size()));
    for (const auto& [index, slot] : mLights)
    {
        sign(index);
        sign(uint8_t(slot.enabled));
        const auto* bytes = reinterpret_cast<const uint8_t*>(&slot.light);
        mSignature.insert(mSignature.end(), bytes, bytes + sizeof slot.light);
    }
    for (Texture* texture : mTextures)
    {
        sign(reinterpret_cast<uintptr_t>(texture));
        sign(texture ? texture->version() : uint64_t(0));
        // Drawn into without being locked: its version says nothing.
        if (texture && texture->isRenderTarget())
        {
            mFrameUnreusable = true;
            mPassUnreusable = mPassUnreusable || mPassOpen;
        }
    }
    return mHeldStates.size() - 1;
}

void DeviceBase::hold(HeldCall call)
{
    sign(uint8_t(call.clear));
    // A clear reads no state: the states before it need not be the same.
    if (!call.clear)
    {
        call.state = holdState();
    }
    if (call.clear)
    {
        sign(call.flags);
        sign(call.color);
        sign(call.z);
        sign(call.stencil);
    }
    else
    {
        const DrawCall& draw = call.draw;
        sign(std::array<uint32_t, 7>{draw.type, draw.fvf, draw.stride, draw.primitiveCount, draw.startVertex,
                                     draw.startIndex, draw.minVertexIndex});
        sign(std::array<int64_t, 2>{draw.baseVertex, draw.vertexCount});
        sign(reinterpret_cast<uintptr_t>(mStream));
        sign(mStream->version());
        sign(mStreamOffset);
        sign(reinterpret_cast<uintptr_t>(draw.indices));
        sign(draw.indices ? draw.indices->version() : uint64_t(0));
    }
    mHeldCalls.push_back(call);
}

void DeviceBase::beginReusablePass()
{
    releaseHeldCalls();
    if (!keepsPasses() || !mPassReuseAllowed || mRenderTarget || mActiveEffect)
    {
        return;
    }
    mHoldingThread.store(std::this_thread::get_id(), std::memory_order_relaxed);
    mHolding = mPassOpen = true;
    mPassEnded = false;
    mPassUnreusable = mFrameUnreusable = false;
    mSignature.clear();
    sign(mParameters.backBufferWidth);
    sign(mParameters.backBufferHeight);
}

void DeviceBase::resourceChanging()
{
    if (mHoldingThread.load(std::memory_order_relaxed) == std::this_thread::get_id() && mHolding)
    {
        releaseHeldCalls();
    }
}

void DeviceBase::endReusablePass()
{
    if (!mHolding || !mPassOpen)
    {
        return;
    }
    mPassOpen = false;
    mPassEnded = true;
    mPassCalls = mHeldCalls.size();
    mPassSignatureSize = mSignature.size();
    // A pass of clears alone is cheaper drawn than copied.
    bool draws =
        std::any_of(mHeldCalls.begin(), mHeldCalls.end(), [](const HeldCall& held) { return !held.clear; });
    mPassReusable = !mPassUnreusable && draws && heldFromWholeClear();
    if (!mFrameSkipAllowed)
    {
        releaseHeldCalls();
    }
}

bool DeviceBase::heldFromWholeClear() const
{
    // Only what starts from a cleared frame owes nothing to what the frame
    // held before it.
    constexpr uint32_t whole = CLEAR_TARGET | CLEAR_ZBUFFER;
    return !mHeldCalls.empty() && mHeldCalls.front().clear && (mHeldCalls.front().flags & whole) == whole;
}

bool DeviceBase::signatureMatches(const std::vector<uint8_t>& kept, size_t size) const
{
    return kept.size() == size && size <= mSignature.size() &&
           sameBytes(kept.data(), mSignature.data(), size);
}

void DeviceBase::replayHeldCalls(size_t from, size_t to)
{
    for (size_t i = from; i < to; ++i)
    {
        const HeldCall& held = mHeldCalls[i];
        if (held.clear)
        {
            doClear(held.flags, held.color, held.z, held.stencil);
        }
        else
        {
            restoreState(mHeldStates[held.state]);
            doDraw(held.draw);
        }
    }
}

void DeviceBase::drawHeldPass()
{
    if (mPassReusable && signatureMatches(mStoredSignature, mPassSignatureSize) && doReusePass())
    {
        ++mReusedPasses;
        return;
    }
    replayHeldCalls(0, mPassCalls);
    if (mPassReusable && doStorePass())
    {
        mStoredSignature.assign(mSignature.begin(), mSignature.begin() + std::ptrdiff_t(mPassSignatureSize));
    }
    else
    {
        mStoredSignature.clear();
        doForgetPass();
    }
}

void DeviceBase::releaseHeldCalls()
{
    if (!mHolding)
    {
        return;
    }
    // What the frame draws from here on goes straight to it: no signature
    // describes the picture any more.
    mHolding = mPassOpen = false;
    frameChanged();
    HeldState live = currentState();
    size_t from = 0;
    if (mPassEnded)
    {
        drawHeldPass();
        from = mPassCalls;
        mPassEnded = false;
    }
    replayHeldCalls(from, mHeldCalls.size());
    restoreState(live);
    mHeldCalls.clear();
    mHeldStates.clear();
}

} // namespace Platform::Gpu
