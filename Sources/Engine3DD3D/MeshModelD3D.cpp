#include "Engine3DD3D/MeshModelD3D.h"

#include "Engine/Engine3D.h"
#include "Engine2DD3D/MaterialD3D.h"
#include "Engine2DD3D/RenderStateCache.h"
#include "Engine3DD3D/Engine2DLink.h"
#include "Engine3DD3D/Engine3DD3D.h"
#include "Framework/ErrorText.h"
#include "Framework/FileLookup.h"
#include "Framework/FileUtilities.h"
#include "Framework/Messages.h"
#include "Framework/Text1252Literal.h"
#include "Platform/Mesh/MeshIntersect.h"
#include "Platform/Mesh/XMeshLoader.h"

#include <array>
#include <cstring>
#include <vector>

using namespace Platform;

namespace
{
const char* const kSourceName = "Sources\\Engine3DD3D\\MeshModelD3D.cpp";
} // namespace

bool readModelFile(const std::string& fileName, uint64_t maxSize, std::vector<uint8_t>* bytes)
{
    std::unique_ptr<InputStream> stream;
    if (openDataFile(fileName, stream) != ERROR_OK || !stream)
        return false;
    uint64_t size = stream->bytesLeft();
    if (size == 0 || size > maxSize)
        return false;
    bytes->resize(size);
    return stream->transfer(bytes->data(), uint32_t(size)) == ERROR_OK;
}

MeshModelD3D::~MeshModelD3D()
{
    mMaterials.clear();
    mMesh.reset();
}

MeshInstance* MeshModelD3D::createInstance()
{
    return new MeshInstanceD3D(this);
}

ErrorCode MeshModelD3D::createMesh(uint32_t faceCount, uint32_t vertexCount, uint32_t subsetCount)
{
    doUnload();
    Gpu::Device* device = Engine3DD3D::currentDevice();
    if (device == nullptr)
        return reportD3DErrorAt(Gpu::GPU_INVALIDCALL, kSourceName);
    if (PlatformResult result =
            Mesh::create(faceCount, vertexCount, MESH_MANAGED, Gpu::FVF_XYZ_NORMAL_TEX1, device, &mMesh))
        return reportD3DErrorAt(result, kSourceName);
    for (uint32_t i = 0; i < subsetCount; ++i)
        mMaterials.push_back(std::make_unique<MaterialD3D>());
    return ERROR_OK;
}

ErrorCode MeshModelD3D::noteShownFault(ErrorCode code) const
{
    // The box above named the file at fault: whoever passes the code up (the
    // game description, the start-up) neither blames its own file nor says
    // it again.
    noteErrorFile(mFileName);
    noteErrorShown(code);
    return code;
}

ErrorCode MeshModelD3D::doLoad()
{
    // 1. A model built in code has nothing to read.
    if (mFileName.empty())
        return ERROR_OK;
    // 2. The file, through the archive or the disk.
    std::vector<uint8_t> bytes;
    std::vector<XMaterial> materials;
    Engine3DD3D* engine = Engine3DD3D::currentD3D();
    Gpu::Device* device = engine != nullptr ? engine->getDevice() : nullptr;
    if (device == nullptr || !readModelFile(mFileName, MAX_FILE_SIZE, &bytes))
    {
        showMessage(TEXT_1252("Modele 3D non trouvé : %s"), mFileName.c_str());
        return noteShownFault(ERROR_FILENOTFOUND);
    }
    // A file that is there but does not read is damaged, not missing.
    if (loadMeshFromX(bytes.data(), bytes.size(), MESH_SYSTEMMEM, device, &materials, &mMesh) != Gpu::GPU_OK)
    {
        showMessage(TEXT_1252("Modele 3D endommagé : %s"), mFileName.c_str());
        return noteShownFault(ERROR_FILEIO_INVALIDFILE);
    }
    // 3. Textures are named relative to the model's folder.
    std::string folder;
    getFileDirectory(mFileName, folder);
    mMaterials.clear();
    // 4. One material per subset, lit by its diffuse colour as ambient too.
    for (const XMaterial& source : materials)
    {
        auto material = std::make_unique<MaterialD3D>();
        material->getD3DMaterial() = source.material;
        material->getD3DMaterial().ambient = source.material.diffuse;
        material->syncFromD3DMaterial();
        Resource* texture = source.textureFileName.empty()
                                ? nullptr
                                : loadModelTexture(engine->getEngine2D(), folder + source.textureFileName);
        material->setTexture(texture, texture != nullptr);
        mMaterials.push_back(std::move(material));
    }
    // 5.
    return computeBoundingBox();
}

ErrorCode MeshModelD3D::doUnload()
{
    mMaterials.clear();
    mMesh.reset();
    return ERROR_OK;
}

ErrorCode MeshModelD3D::computeBoundingBox()
{
    // 1.
    if (!mMesh || mMesh->getNumVertices() == 0)
    {
        mBoxMin = mBoxMax = Vector3{};
        return ERROR_OK;
    }
    // 2. Positions must be there to be read.
    if ((mMesh->getFVF() & Gpu::FVF_XYZ) == 0)
        return 1;
    // 3-4.
    const uint8_t* vertices = mMesh->vertexData();
    uint32_t stride = mMesh->getNumBytesPerVertex();
    Vector3 low, high;
    for (uint32_t i = 0; i < mMesh->getNumVertices(); ++i)
    {
        Vector3 local, p;
        std::memcpy(&local, vertices + size_t(i) * stride, sizeof local);
        mTransform.localToParent(local, &p);
        if (i == 0)
        {
            low = high = p;
            continue;
        }
        float* lows[3] = {&low.x, &low.y, &low.z};
        float* highs[3] = {&high.x, &high.y, &high.z};
        float values[3] = {p.x, p.y, p.z};
        for (int axis = 0; axis < 3; ++axis)
        {
            if (values[axis] < *lows[axis])
                *lows[axis] = values[axis];
            else if (values[axis] > *highs[axis])
                *highs[axis] = values[axis];
        }
    }
    mBoxMin = low;
    mBoxMax = high;
    return ERROR_OK;
}

ErrorCode MeshModelD3D::draw(MeshInstance* instance, bool outlinePass)
{
    Engine3DD3D* engine = Engine3DD3D::currentD3D();
    Gpu::Device* device = engine != nullptr ? engine->getDevice() : nullptr;
    RenderStateCache* cache = engine != nullptr ? engine->getRenderStateCache() : nullptr;
    if (!mMesh || device == nullptr || cache == nullptr)
        return ERROR_OK;
    uint32_t subsets = uint32_t(mMaterials.size());
    // 1.
    mTransform.enter();
    // 2. The outline pass only needs the shape.
    if (outlinePass)
    {
        for (uint32_t i = 0; i < subsets; ++i)
        {
            if (PlatformResult result = mMesh->drawSubset(i))
            {
                mTransform.leave();
                return reportD3DErrorAt(result, kSourceName);
            }
        }
        mTransform.leave();
        return ERROR_OK;
    }
    // 3. The model's options, restored in reverse order when this ends.
    constexpr uint32_t none = ScopedRenderState::NO_STATE;
    bool threshold = mTransparency != TRANSPARENCY_NONE && mTransparency != TRANSPARENCY_ALPHA;
    ScopedRenderState blend(*cache, Gpu::RS_ALPHABLENDENABLE, threshold ? 0 : mTransparency);
    ScopedRenderState test(*cache, Gpu::RS_ALPHATESTENABLE, threshold ? 1 : 0);
    ScopedRenderState reference(*cache, threshold ? uint32_t(Gpu::RS_ALPHAREF) : none, mThreshold);
    ScopedRenderState function(*cache, threshold ? uint32_t(Gpu::RS_ALPHAFUNC) : none, Gpu::CMP_GREATEREQUAL);
    ScopedRenderState normalize(*cache, Gpu::RS_NORMALIZENORMALS, 1);
    ScopedRenderState cull(*cache, Gpu::RS_CULLMODE, mCulling <= CULLING_CCW ? mCulling + 1 : Gpu::CULL_NONE);
    uint32_t address = mTextureRepeat ? Gpu::TADDRESS_WRAP : Gpu::TADDRESS_CLAMP;
    PlatformResult result = device->setSamplerState(0, Gpu::SAMP_ADDRESSU, address);
    if (result == Gpu::GPU_OK)
        result = device->setSamplerState(0, Gpu::SAMP_ADDRESSV, address);
    if (result != Gpu::GPU_OK)
    {
        mTransform.leave();
        return reportD3DErrorAt(result, kSourceName);
    }
    cache->flush();
    for (uint32_t i = 0; i < subsets; ++i)
    {
        Material* material = instance != nullptr ? instance->getEffectiveMaterial(i) : mMaterials[i].get();
        if (material == nullptr)
            material = mMaterials[i].get();
        device->setMaterial(deviceMaterialOf(*material));
        device->setTexture(0, deviceTextureOf(material->getTexture()));
        if ((result = mMesh->drawSubset(i)) != Gpu::GPU_OK)
        {
            mTransform.leave();
            return reportD3DErrorAt(result, kSourceName);
        }
    }
    // 4.
    mTransform.leave();
    return ERROR_OK;
}

ErrorCode MeshModelD3D::pick(MeshInstance* instance, PickResult* result)
{
    Gpu::Device* device = Engine3DD3D::currentDevice();
    if (!mMesh || device == nullptr || result == nullptr || result->mRayDirection == nullptr)
        return ERROR_OK;
    // 1.
    mTransform.enter();
    // 2. The ray from the eye, in the model's own space.
    Matrix world, view, inverse;
    device->getTransform(Gpu::TS_WORLD, &world);
    device->getTransform(Gpu::TS_VIEW, &view);
    if (!matrixInverse(world * view, inverse))
    {
        mTransform.leave();
        return ERROR_OK;
    }
    Vector3 origin{inverse.m[3][0], inverse.m[3][1], inverse.m[3][2]};
    Vector3 direction = vec3TransformNormal(*result->mRayDirection, inverse);
    // 3.
    MeshHit hit;
    intersectMesh(*mMesh, origin, direction, &hit);
    // 4. The nearest hit so far wins; an equal one keeps the first.
    if (hit.hit && (!result->mHit || hit.distance < result->mDistance))
    {
        result->mHit = 1;
        result->mFace = hit.face;
        result->mDistance = hit.distance;
        result->mNode = instance;
        if (mMesh->getFVF() == Gpu::FVF_XYZ_NORMAL_TEX1)
        {
            struct Vertex
            {
                Vector3 position, normal;
                Vector2 uv;
            };
            std::array<Vertex, 3> corners;
            for (uint32_t k = 0; k < 3; ++k)
                std::memcpy(&corners[k], mMesh->vertexData() + size_t(mMesh->indexAt(hit.face * 3 + k)) * 32,
                            32);
            const Vector2 &ta = corners[0].uv, &tb = corners[1].uv, &tc = corners[2].uv;
            result->mTextureCoords = {ta.x + hit.u * (tb.x - ta.x) + hit.v * (tc.x - ta.x),
                                      ta.y + hit.u * (tb.y - ta.y) + hit.v * (tc.y - ta.y)};
            const Vector3 &pa = corners[0].position, &pb = corners[1].position, &pc = corners[2].position;
            Vector3 point = pa + hit.u * (pb - pa) + hit.v * (pc - pa);
            mTransform.localToParent(point, &result->mPoint);
        }
    }
    // 5.
    mTransform.leave();
    return ERROR_OK;
}

ErrorCode MeshInstanceD3D::renderOutline(MeshModelD3D* model)
{
    Engine3DD3D* engine = Engine3DD3D::currentD3D();
    Gpu::Device* device = engine != nullptr ? engine->getDevice() : nullptr;
    RenderStateCache* cache = engine != nullptr ? engine->getRenderStateCache() : nullptr;
    uint32_t width = mOutline >> 24;
    if (device == nullptr || cache == nullptr || (width != 1 && width != 2))
        return ERROR_OK;
    uint32_t color = mOutline | 0xFF000000u;
    Matrix projection;
    device->getTransform(Gpu::TS_PROJECTION, &projection);
    float viewWidth, viewHeight;
    engine->getViewSize(&viewWidth, &viewHeight);
    float px = 2.0f / viewWidth, py = 2.0f / viewHeight;

    ScopedRenderState blend(*cache, Gpu::RS_ALPHABLENDENABLE, 0);
    ScopedRenderState test(*cache, Gpu::RS_ALPHATESTENABLE, 0);
    ScopedRenderState lighting(*cache, Gpu::RS_LIGHTING, 0);
    uint32_t colorOp = 0, colorArg = 0;
    device->getTextureStageState(0, Gpu::TSS_COLOROP, &colorOp);
    device->getTextureStageState(0, Gpu::TSS_COLORARG1, &colorArg);
    // Unlit geometry without vertex colours is white whatever the material
    // says, so the colour comes from the texture factor instead.
    ScopedRenderState factor(*cache, Gpu::RS_TEXTUREFACTOR, color);
    device->setTextureStageState(0, Gpu::TSS_COLOROP, Gpu::TOP_SELECTARG1);
    device->setTextureStageState(0, Gpu::TSS_COLORARG1, Gpu::TA_TFACTOR);
    // The outline is the back of the shape grown outwards: cull its front.
    ScopedRenderState cull(*cache, Gpu::RS_CULLMODE,
                           model->getCulling() == MeshModel::CULLING_CW ? Gpu::CULL_CCW : Gpu::CULL_CW);
    Gpu::Material flat;
    flat.diffuse = {float((color >> 16) & 0xFF) / 255.0f, float((color >> 8) & 0xFF) / 255.0f,
                    float(color & 0xFF) / 255.0f, 1.0f};
    device->setMaterial(flat);
    cache->flush();

    static const float kOne[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    static const float kTwo[8][2] = {{2, 0}, {-2, 0}, {0, 2}, {0, -2}, {1, 1}, {-1, 1}, {1, -1}, {-1, -1}};
    const float(*offsets)[2] = width == 1 ? kOne : kTwo;
    uint32_t count = width == 1 ? 4 : 8;
    ErrorCode code = ERROR_OK;
    for (uint32_t i = 0; i < count && code == ERROR_OK; ++i)
    {
        device->setTransform(Gpu::TS_PROJECTION,
                             projection * matrixTranslation(offsets[i][0] * px, offsets[i][1] * py, 0));
        code = model->draw(this, true);
    }
    device->setTransform(Gpu::TS_PROJECTION, projection);
    device->setTextureStageState(0, Gpu::TSS_COLOROP, colorOp);
    device->setTextureStageState(0, Gpu::TSS_COLORARG1, colorArg);
    return code;
}

ErrorCode MeshInstanceD3D::render()
{
    auto* model = static_cast<MeshModelD3D*>(mModel);
    // 1.
    if (ErrorCode code = renderOutline(model))
        return code;
    // 2.
    if (ErrorCode code = model->draw(this, false))
        return code;
    // 3.
    return ChildListNode::render();
}

ErrorCode MeshInstanceD3D::pick(PickResult* result)
{
    if (ErrorCode code = mModel->pick(this, result))
        return code;
    return ChildListNode::pick(result);
}
