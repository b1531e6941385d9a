#include "Platform/Mesh/SkinnedMesh.h"

#include <cmath>

namespace Platform
{

using namespace Gpu;

namespace
{

bool addFrames(const XFrame& frame, int32_t parent, SkinnedModelData* out)
{
    if (out->frames.size() >= X_MAX_FRAMES)
        return false;
    FrameHierarchy& frames = out->frames;
    int32_t index = int32_t(frames.size());
    // The root stands for the file itself and keeps an empty name.
    frames.names.push_back(frame.name.empty() && parent >= 0 ? std::string(X_NO_NAME) : frame.name);
    frames.parents.push_back(parent);
    frames.defaultLocals.push_back(frame.transform);
    for (const XMeshData& mesh : frame.meshes)
    {
        SkinnedMeshPart part;
        part.name = mesh.name;
        part.frame = index;
        out->meshes.push_back(std::move(part));
    }
    for (const auto& child : frame.children)
    {
        if (!addFrames(*child, index, out))
            return false;
    }
    return true;
}

// Meshes in the order addFrames met them.
void collectMeshes(const XFrame& frame, std::vector<const XMeshData*>* out)
{
    for (const XMeshData& mesh : frame.meshes)
        out->push_back(&mesh);
    for (const auto& child : frame.children)
        collectMeshes(*child, out);
}

struct SourceSkin
{
    std::vector<SkinBone> bones;
    // Per source position.
    std::vector<std::vector<BoneInfluence>> byPosition;
};

bool readSkin(const XObject& mesh, size_t positionCount, const FrameHierarchy& frames, SourceSkin* skin)
{
    int32_t declaredBones = -1;
    skin->byPosition.assign(positionCount, {});
    for (const auto& child : mesh.children)
    {
        if (child->isReference)
            continue;
        if (child->type == "XSkinMeshHeader")
        {
            XValueReader reader(*child);
            uint32_t perVertex = 0, perFace = 0, bones = 0;
            if (declaredBones >= 0 || !reader.readCount(&perVertex, 0xFFFF) ||
                !reader.readCount(&perFace, 0xFFFF) || !reader.readCount(&bones, X_MAX_BONES))
                return false;
            declaredBones = int32_t(bones);
        }
        else if (child->type == "SkinWeights")
        {
            if (skin->bones.size() >= X_MAX_BONES)
                return false;
            XValueReader reader(*child);
            SkinBone bone;
            uint32_t count = 0;
            if (!reader.readString(&bone.frameName) || !reader.readCount(&count, uint32_t(positionCount)) ||
                !reader.has(count, 2))
                return false;
            bone.frame = frames.find(bone.frameName);
            if (bone.frame < 0)
                return false;
            std::vector<uint32_t> vertices(count);
            for (uint32_t& v : vertices)
            {
                if (!reader.readCount(&v) || v >= positionCount)
                    return false;
            }
            uint32_t boneIndex = uint32_t(skin->bones.size());
            for (uint32_t v : vertices)
            {
                float weight = 0;
                if (!reader.readFloat(&weight) || weight < 0 || weight > 1.0001f)
                    return false;
                auto& list = skin->byPosition[v];
                if (list.size() >= X_MAX_INFLUENCES)
                    return false;
                list.push_back({boneIndex, weight});
            }
            for (int row = 0; row < 4; ++row)
            {
                for (int column = 0; column < 4; ++column)
                {
                    if (!reader.readFloat(&bone.offset.m[row][column]))
                        return false;
                }
            }
            skin->bones.push_back(std::move(bone));
        }
    }
    return declaredBones < 0 || size_t(declaredBones) == skin->bones.size();
}

// Polygons cut into fans; a vertex per distinct (position, normal) corner,
// with the position's influences.
bool buildPart(const XMeshData& mesh, const SourceSkin& skin, SkinnedMeshPart* part)
{
    uint64_t triangles = countTriangles(mesh);
    if (triangles > X_MAX_FACES)
        return false;
    if (mesh.materials.empty())
    {
        part->materials.push_back(plainMaterial());
    }
    else
        part->materials = mesh.materials;
    part->bones = skin.bones;
    part->influenceStart.push_back(0);
    const bool welded = weldFaces(
        mesh, 0, 0,
        [&](uint32_t position, const Vector3& normal)
        {
            SkinnedVertex vertex;
            vertex.position = mesh.positions[position];
            vertex.normal = vec3Normalize(normal);
            if (!mesh.textureCoords.empty())
                vertex.uv = mesh.textureCoords[position];
            part->vertices.push_back(vertex);
            if (!skin.bones.empty())
            {
                const auto& list = skin.byPosition[position];
                part->influences.insert(part->influences.end(), list.begin(), list.end());
                part->maxInfluences = std::max(part->maxInfluences, uint32_t(list.size()));
            }
            part->influenceStart.push_back(uint32_t(part->influences.size()));
        },
        part->indices, part->attributes);
    return welded && !part->attributes.empty();
}

bool readAll(const XObject& file, SkinnedModelData* out)
{
    XFrame root;
    if (readXFrames(file, &root) != GPU_OK)
        return false;
    if (!addFrames(root, -1, out))
        return false;
    out->frames.resetLocals();
    out->frames.updateCombined(Matrix{});
    std::vector<const XMeshData*> sources;
    collectMeshes(root, &sources);
    for (size_t i = 0; i < sources.size(); ++i)
    {
        SourceSkin skin;
        if (sources[i]->source == nullptr ||
            !readSkin(*sources[i]->source, sources[i]->positions.size(), out->frames, &skin))
            return false;
        if (!buildPart(*sources[i], skin, &out->meshes[i]))
            return false;
    }
    if (!readXAnimationSets(file, &out->animationSets))
        return false;
    for (const AnimationSet& set : out->animationSets)
    {
        for (const FrameAnimation& animation : set.animations)
        {
            if (out->frames.find(animation.frameName) < 0)
                return false;
        }
    }
    return true;
}

} // namespace

int32_t FrameHierarchy::find(const std::string& name) const
{
    for (size_t i = 0; i < names.size(); ++i)
    {
        if (names[i] == name)
            return int32_t(i);
    }
    return -1;
}

void FrameHierarchy::updateCombined(const Matrix& root)
{
    combined.resize(names.size());
    if (locals.size() != names.size())
        locals = defaultLocals;
    for (size_t i = 0; i < names.size(); ++i)
    {
        int32_t parent = parents[i];
        combined[i] = locals[i] * (parent < 0 ? root : combined[size_t(parent)]);
    }
}

void SkinnedMeshPart::computeBoneMatrices(const FrameHierarchy& frames, std::vector<Matrix>* out) const
{
    out->resize(bones.size());
    for (size_t i = 0; i < bones.size(); ++i)
        (*out)[i] = bones[i].offset * frames.combined[size_t(bones[i].frame)];
}

void SkinnedMeshPart::skin(const std::vector<Matrix>& boneMatrices, const Matrix& holder,
                           SkinnedVertex* out) const
{
    for (size_t v = 0; v < vertices.size(); ++v)
    {
        const SkinnedVertex& source = vertices[v];
        SkinnedVertex& target = out[v];
        target.uv = source.uv;
        uint32_t begin = influenceStart[v], end = influenceStart[v + 1];
        if (begin == end || boneMatrices.size() != bones.size())
        {
            target.position = vec3TransformCoord(source.position, holder);
            target.normal = vec3Normalize(vec3TransformNormal(source.normal, holder));
            continue;
        }
        Vector3 position, normal;
        for (uint32_t i = begin; i < end; ++i)
        {
            const Matrix& m = boneMatrices[influences[i].bone];
            float w = influences[i].weight;
            position = position + vec3TransformCoord(source.position, m) * w;
            normal = normal + vec3TransformNormal(source.normal, m) * w;
        }
        target.position = position;
        target.normal = vec3Normalize(normal);
    }
}

PlatformResult readSkinnedModel(const void* data, size_t size, SkinnedModelData* out)
{
    *out = SkinnedModelData{};
    XObject file;
    if (!parseXFile(data, size, &file) || !readAll(file, out))
    {
        *out = SkinnedModelData{};
        return MESH_INVALIDDATA;
    }
    return GPU_OK;
}

} // namespace Platform
