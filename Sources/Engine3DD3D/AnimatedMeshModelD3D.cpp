#include "Engine3DD3D/AnimatedMeshModelD3D.h"

#include "Engine/Engine3D.h"
#include "Engine2DD3D/MaterialD3D.h"
#include "Engine3DD3D/Engine2DLink.h"
#include "Engine3DD3D/Engine3DD3D.h"
#include "Engine3DD3D/MeshModelD3D.h"
#include "Framework/ErrorText.h"
#include "Framework/FileLookup.h"
#include "Framework/FileUtilities.h"
#include "Framework/Messages.h"
#include "Framework/Text1252Literal.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

using namespace Platform;

namespace
{
const char* const kSourceName = "Sources\\Engine3DD3D\\AnimatedMeshModelD3D.cpp";
} // namespace

ModelD3DBase::ModelD3DBase() : mEngine(Engine3D::current())
{
    if (mEngine != nullptr)
        mEngine->addModel(this);
}

ModelD3DBase::~ModelD3DBase()
{
    // The engine may have gone first; only the one still current is told.
    if (mEngine != nullptr && mEngine == Engine3D::current())
        mEngine->removeModel(this);
}

void ModelD3DBase::setBoundingBox(const Vector3& low, const Vector3& high)
{
    mBoxMin = low;
    mBoxMax = high;
}

ErrorCode ModelD3DBase::setOrigin(const Vector3& point)
{
    mTransform.mPosition = -point;
    mTransform.update();
    return computeBoundingBox();
}

AnimatedMeshModelD3D::AnimatedMeshModelD3D() = default;

AnimatedMeshModelD3D::~AnimatedMeshModelD3D()
{
    for (AnimatedMeshD3D* instance : mInstances)
        instance->detachModel();
    release();
}

void AnimatedMeshModelD3D::release()
{
    mPickBox.reset();
    mPickBoxModel.reset();
    mController.reset();
    mParts.clear();
    mPalette.clear();
    mData = SkinnedModelData{};
    mEffect.reset();
}

PlatformResult AnimatedMeshModelD3D::createEffect(Gpu::Device* device)
{
    mEffect.reset();
    std::vector<uint8_t> bytes;
    if (device == nullptr || !readModelFile(mEffectPath, MAX_EFFECT_SIZE, &bytes))
        return Gpu::GPU_NOTAVAILABLE;
    // The larger palette only where the device has the room for it.
    Gpu::DeviceCaps caps;
    device->getDeviceCaps(&caps);
    std::vector<Gpu::EffectMacro> macros;
    if (caps.vertexShaderVersion > Gpu::vertexShaderVersion(1, 1))
        macros.push_back({"MATRIX_PALETTE_SIZE_DEFAULT", PALETTE_SIZE_DEFAULT});
    std::string errors;
    PlatformResult result =
        device->createEffect(std::string(bytes.begin(), bytes.end()), macros, &mEffect, &errors);
    if (result != Gpu::GPU_OK)
        std::fprintf(stderr, "%s: %s\n", mEffectPath.c_str(), errors.c_str());
    return result;
}

ErrorCode AnimatedMeshModelD3D::load(const std::string& fileName)
{
    // 1.
    release();
    // 2.
    mFileName = fileName;
    mEffectPath = kAnimationEffectPath;
    Engine3DD3D* engine = Engine3DD3D::currentD3D();
    Gpu::Device* device = engine != nullptr ? engine->getDevice() : nullptr;
    // 3.
    if (PlatformResult result = createEffect(device))
    {
        showMessage("erreur de chargement du .fx");
        release();
        return reportD3DErrorAt(result, kSourceName);
    }
    // 9. comes first here: the technique decides whether the skinned
    // meshes get a copy for the processor to skin into.
    Gpu::DeviceCaps caps;
    device->getDeviceCaps(&caps);
    mTechnique = caps.vertexShaderVersion >= Gpu::vertexShaderVersion(1, 2)   ? "t0"
                 : caps.vertexShaderVersion == Gpu::vertexShaderVersion(1, 1) ? "t1"
                                                                              : "t2";
    mSoftwareSkinning = mTechnique == "t2";
    // 4. A model without animations is not an animated model.
    std::vector<uint8_t> bytes;
    PlatformResult result = Gpu::GPU_FAIL;
    if (device != nullptr && readModelFile(fileName, MAX_FILE_SIZE, &bytes))
        result = readSkinnedModel(bytes.data(), bytes.size(), &mData);
    if (result == Gpu::GPU_OK && mData.animationSets.empty())
        result = Gpu::GPU_FAIL;
    if (result == Gpu::GPU_OK)
    {
        result = Gpu::GPU_OUTOFMEMORY;
        if (ErrorCode code = buildParts(device))
        {
            release();
            return code;
        }
        result = Gpu::GPU_OK;
    }
    if (result != Gpu::GPU_OK)
    {
        showMessage(TEXT_1252("Impossible de charger le modèle 3D animé %s."), fileName.c_str());
        release();
        return reportD3DErrorAt(result, kSourceName);
    }
    // 5. Bones were bound to their frames by name while reading.
    mController = std::make_unique<AnimationController>(mData.animationSets, TRACK_COUNT);
    mController->bindFrames(mData.frames.names);
    // 6.
    for (AnimatedMeshD3D* instance : mInstances)
    {
        if (ErrorCode code = instance->setAnimationController(*mController))
        {
            release();
            return code;
        }
    }
    // 10.
    if (ErrorCode code = buildPickBox())
    {
        release();
        return code;
    }
    return computeBoundingBox();
}

ErrorCode AnimatedMeshModelD3D::buildParts(Gpu::Device* device)
{
    std::string folder;
    getFileDirectory(mFileName, folder);
    Engine3DD3D* engine = Engine3DD3D::currentD3D();
    for (const SkinnedMeshPart& source : mData.meshes)
    {
        Part part;
        if (source.isSkinned())
        {
            if (PlatformResult result = buildSkinnedPart(source, device, &part))
                return reportD3DErrorAt(result, kSourceName);
        }
        else if (PlatformResult result = buildPlainMesh(source, device, &part.mesh))
            return reportD3DErrorAt(result, kSourceName);
        for (const XMaterial& file : source.materials)
        {
            auto material = std::make_unique<MaterialD3D>();
            material->getD3DMaterial() = file.material;
            material->syncFromD3DMaterial();
            Resource* texture = file.textureFileName.empty() || engine == nullptr
                                    ? nullptr
                                    : loadModelTexture(engine->getEngine2D(), folder + file.textureFileName);
            material->setTexture(texture, texture != nullptr);
            part.materials.push_back(std::move(material));
        }
        mParts.push_back(std::move(part));
    }
    return ERROR_OK;
}

PlatformResult AnimatedMeshModelD3D::buildSkinnedPart(const SkinnedMeshPart& source, Gpu::Device* device,
                                                      Part* part)
{
    // The palette: the effect's size, or fewer when the mesh has fewer bones.
    int32_t effectPalette = 0;
    if (mEffect->getInt("MATRIX_PALETTE_SIZE", &effectPalette) != Gpu::GPU_OK || effectPalette < 0)
        effectPalette = 0;
    if (PlatformResult result =
            convertToIndexedBlendedMesh(source, uint32_t(effectPalette), device, &part->blended))
        return result;
    if (mPalette.size() < part->blended.paletteSize)
        mPalette.resize(part->blended.paletteSize);
    if (!mSoftwareSkinning)
        return Gpu::GPU_OK;
    // The processor's copy: the same faces, plain vertices written per group.
    Mesh& blended = *part->blended.mesh;
    uint32_t options = blended.getOptions();
    if (PlatformResult result = Mesh::create(blended.getNumFaces(), blended.getNumVertices(), options,
                                             Gpu::FVF_XYZ_NORMAL_TEX1, device, &part->software))
        return result;
    void* to = nullptr;
    void* from = nullptr;
    if (PlatformResult result = part->software->lockIndexBuffer(0, &to))
        return result;
    blended.lockIndexBuffer(Gpu::LOCK_READONLY, &from);
    std::memcpy(to, from, size_t(blended.getNumFaces()) * 3 * ((options & MESH_32BIT) ? 4 : 2));
    blended.unlockIndexBuffer();
    part->software->unlockIndexBuffer();
    uint32_t* attributes = nullptr;
    if (PlatformResult result = part->software->lockAttributeBuffer(0, &attributes))
        return result;
    for (uint32_t face = 0; face < blended.getNumFaces(); ++face)
        attributes[face] = blended.attributeAt(face);
    part->software->unlockAttributeBuffer();
    return Gpu::GPU_OK;
}

PlatformResult AnimatedMeshModelD3D::buildPlainMesh(const SkinnedMeshPart& source, Gpu::Device* device,
                                                    std::unique_ptr<Mesh>* out)
{
    uint32_t vertexCount = uint32_t(source.vertices.size());
    uint32_t faceCount = uint32_t(source.attributes.size());
    uint32_t options = MESH_MANAGED | (vertexCount > 0xFFFF ? uint32_t(MESH_32BIT) : 0u);
    if (PlatformResult result =
            Mesh::create(faceCount, vertexCount, options, Gpu::FVF_XYZ_NORMAL_TEX1, device, out))
        return result;
    Mesh& mesh = **out;
    void* bytes = nullptr;
    if (PlatformResult result = mesh.lockVertexBuffer(0, &bytes))
        return result;
    std::memcpy(bytes, source.vertices.data(), source.vertices.size() * sizeof(SkinnedVertex));
    mesh.unlockVertexBuffer();
    if (PlatformResult result = mesh.lockIndexBuffer(0, &bytes))
        return result;
    if (options & MESH_32BIT)
        std::memcpy(bytes, source.indices.data(), source.indices.size() * 4);
    else
    {
        auto* narrow = static_cast<uint16_t*>(bytes);
        for (size_t i = 0; i < source.indices.size(); ++i)
            narrow[i] = uint16_t(source.indices[i]);
    }
    mesh.unlockIndexBuffer();
    uint32_t* attributes = nullptr;
    if (PlatformResult result = mesh.lockAttributeBuffer(0, &attributes))
        return result;
    std::memcpy(attributes, source.attributes.data(), source.attributes.size() * 4);
    mesh.unlockAttributeBuffer();
    return Gpu::GPU_OK;
}

Matrix AnimatedMeshModelD3D::boneMatrix(size_t part, uint32_t id) const
{
    const SkinnedMeshPart& source = mData.meshes[part];
    // The holder bone stands for the frame holding the mesh, offset identity.
    if (id >= source.bones.size())
        return mData.frames.combined[size_t(source.frame)];
    return source.bones[id].offset * mData.frames.combined[size_t(source.bones[id].frame)];
}

ErrorCode AnimatedMeshModelD3D::buildPickBox()
{
    Engine3D* engine = Engine3D::current();
    if (engine == nullptr)
        return reportD3DErrorAt(Gpu::GPU_INVALIDCALL, kSourceName);
    auto model = std::unique_ptr<MeshModel>(engine->createMeshModel());
    auto* cube = dynamic_cast<MeshModelD3D*>(model.get());
    if (cube == nullptr)
        return reportD3DErrorAt(Gpu::GPU_INVALIDCALL, kSourceName);
    if (ErrorCode code = cube->createMesh(12, 8, 1))
        return code;
    Material* material = cube->getMaterial(0);
    material->setAmbient(1, 1, 1, 1);
    material->setDiffuse(1, 1, 1, 1);
    material->setSpecular(1, 1, 1, 1);
    material->setEmissive(1, 1, 1, 1);
    material->setPower(10.0f);
    // The unit cube from (0, 0, 0) to (1, 1, 1); the box scales and places it.
    struct Vertex
    {
        Vector3 position, normal;
        Vector2 uv;
    };
    Vertex corners[8];
    for (int i = 0; i < 8; ++i)
    {
        Vector3 p{float(i & 1), float((i >> 1) & 1), float((i >> 2) & 1)};
        corners[i] = {p, vec3Normalize(p - Vector3{0.5f, 0.5f, 0.5f}), {}};
    }
    // Two triangles a side, clockwise seen from outside.
    static const uint16_t kIndices[36] = {0, 2, 3, 0, 3, 1, 4, 5, 7, 4, 7, 6, 0, 1, 5, 0, 5, 4,
                                          2, 6, 7, 2, 7, 3, 0, 4, 6, 0, 6, 2, 1, 3, 7, 1, 7, 5};
    Mesh* mesh = cube->getMesh();
    void* bytes = nullptr;
    if (PlatformResult result = mesh->lockVertexBuffer(0, &bytes))
        return reportD3DErrorAt(result, kSourceName);
    std::memcpy(bytes, corners, sizeof corners);
    mesh->unlockVertexBuffer();
    if (PlatformResult result = mesh->lockIndexBuffer(0, &bytes))
        return reportD3DErrorAt(result, kSourceName);
    std::memcpy(bytes, kIndices, sizeof kIndices);
    mesh->unlockIndexBuffer();
    mPickBox.reset(cube->createInstance());
    mPickBox->mActive = false;
    mPickBox->mPickable = false;
    mPickBoxModel = std::move(model);
    return ERROR_OK;
}

ErrorCode AnimatedMeshModelD3D::computeBoundingBox()
{
    Vector3 low{1e10f, 1e10f, 1e10f}, high{-1e10f, -1e10f, -1e10f};
    for (const SkinnedMeshPart& part : mData.meshes)
    {
        // Meshes that are not skinned stand where their frame puts them.
        const Matrix& frame = mData.frames.combined[size_t(part.frame)];
        for (const SkinnedVertex& vertex : part.vertices)
        {
            Vector3 p = part.isSkinned() ? vertex.position : vec3TransformCoord(vertex.position, frame);
            mTransform.localToParent(p, &p);
            low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
            high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
        }
    }
    setBoundingBox(low, high);
    return ERROR_OK;
}

void AnimatedMeshModelD3D::setBoundingBox(const Vector3& low, const Vector3& high)
{
    ModelD3DBase::setBoundingBox(low, high);
    if (!mPickBox || low.x > high.x)
        return;
    mPickBox->mTransform.mPosition = low;
    // A flat box would make a singular placement; keep it a sliver thick.
    Vector3 size = high - low;
    mPickBox->mTransform.mScale = {std::max(size.x, 1e-4f), std::max(size.y, 1e-4f), std::max(size.z, 1e-4f)};
    mPickBox->mTransform.update();
}

ErrorCode AnimatedMeshModelD3D::onLostDevice()
{
    if (isLoaded())
        mEffect.reset();
    return ERROR_OK;
}

ErrorCode AnimatedMeshModelD3D::onResetDevice()
{
    if (isLoaded() && createEffect(Engine3DD3D::currentDevice()) != Gpu::GPU_OK)
        return ERROR_FAILED;
    return ERROR_OK;
}

AnimatedMeshD3D* AnimatedMeshModelD3D::createInstance()
{
    return new AnimatedMeshD3D(this);
}

void AnimatedMeshModelD3D::addInstance(AnimatedMeshD3D* instance)
{
    mInstances.push_back(instance);
}

void AnimatedMeshModelD3D::removeInstance(AnimatedMeshD3D* instance)
{
    auto found = std::find(mInstances.begin(), mInstances.end(), instance);
    if (found != mInstances.end())
        mInstances.erase(found);
}

bool AnimatedMeshModelD3D::hasAnimationSet(const std::string& name) const
{
    return mController && mController->findAnimationSet(name) >= 0;
}

ErrorCode AnimatedMeshModelD3D::setAnimationDescriptor(uint32_t index, const AnimationDescriptor& descriptor)
{
    // Indices come from the owner's own table; a bound keeps a stray one
    // from growing the list without end.
    if (!hasAnimationSet(descriptor.mName) || index >= X_MAX_ANIMATION_SETS)
        return 1;
    if (mDescriptors.size() <= index)
        mDescriptors.resize(index + 1);
    mDescriptors[index] = descriptor;
    return ERROR_OK;
}

uint32_t AnimatedMeshModelD3D::getAnimationLength(uint32_t index) const
{
    if (!mController || index >= mDescriptors.size())
        return 0;
    int32_t set = mController->findAnimationSet(mDescriptors[index].mName);
    if (set < 0)
        return 0;
    return uint32_t(mController->getAnimationSet(uint32_t(set))->period() * 1000);
}

Material* AnimatedMeshModelD3D::getPartMaterial(size_t part, size_t material) const
{
    if (part >= mParts.size() || material >= mParts[part].materials.size())
        return nullptr;
    return mParts[part].materials[material].get();
}
