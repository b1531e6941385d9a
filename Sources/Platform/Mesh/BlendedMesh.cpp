#include "Platform/Mesh/BlendedMesh.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace Platform
{

using namespace Gpu;

namespace
{

struct VertexBlend
{
    uint32_t bones[MAX_BLEND_INFLUENCES] = {};
    float weights[MAX_BLEND_INFLUENCES] = {};
    uint32_t count = 0;
};

VertexBlend blendOf(const SkinnedMeshPart& part, uint32_t vertex, uint32_t holderBone)
{
    VertexBlend blend;
    std::vector<BoneInfluence> list(part.influences.begin() + part.influenceStart[vertex],
                                    part.influences.begin() + part.influenceStart[vertex + 1]);
    std::stable_sort(list.begin(), list.end(),
                     [](const BoneInfluence& a, const BoneInfluence& b) { return a.weight > b.weight; });
    float total = 0;
    for (const BoneInfluence& influence : list)
    {
        if (blend.count == MAX_BLEND_INFLUENCES || influence.weight <= 0)
            break;
        blend.bones[blend.count] = influence.bone;
        blend.weights[blend.count] = influence.weight;
        total += influence.weight;
        ++blend.count;
    }
    if (blend.count == 0)
    {
        blend.bones[0] = holderBone;
        blend.weights[0] = 1;
        blend.count = 1;
        return blend;
    }
    for (uint32_t i = 0; i < blend.count; ++i)
        blend.weights[i] /= total;
    return blend;
}

} // namespace

PlatformResult convertToIndexedBlendedMesh(const SkinnedMeshPart& part, uint32_t paletteSize, Device* device,
                                           BlendedMesh* out)
{
    *out = BlendedMesh{};
    uint32_t vertexCount = uint32_t(part.vertices.size());
    uint32_t faceCount = uint32_t(part.attributes.size());
    if (!part.isSkinned() || paletteSize == 0 || faceCount == 0 ||
        part.influenceStart.size() != vertexCount + 1)
        return GPU_INVALIDCALL;
    uint32_t holderBone = uint32_t(part.bones.size());
    std::vector<VertexBlend> blends(vertexCount);
    for (uint32_t v = 0; v < vertexCount; ++v)
    {
        blends[v] = blendOf(part, v, holderBone);
        if (blends[v].bones[0] == holderBone)
            out->holderBone = holderBone;
        out->maxInfluences = std::max(out->maxInfluences, blends[v].count);
    }
    // No more slots than there are bones to fill them.
    paletteSize = std::min(paletteSize, holderBone + (out->holderBone == UNUSED_BONE ? 0u : 1u));

    // 1. Faces by material, in their order; a group closes when the next
    // face would need more bones than the palette holds.
    std::vector<uint32_t> order(faceCount);
    for (uint32_t f = 0; f < faceCount; ++f)
        order[f] = f;
    std::stable_sort(order.begin(), order.end(),
                     [&](uint32_t a, uint32_t b) { return part.attributes[a] < part.attributes[b]; });
    struct Group
    {
        BoneCombination combination;
        std::unordered_map<uint32_t, uint32_t> slots; // bone -> palette slot
        std::vector<uint32_t> faces;
    };
    std::vector<Group> groups;
    for (uint32_t face : order)
    {
        std::vector<uint32_t> needed;
        for (int corner = 0; corner < 3; ++corner)
        {
            const VertexBlend& blend = blends[part.indices[size_t(face) * 3 + corner]];
            for (uint32_t i = 0; i < blend.count; ++i)
            {
                if (std::find(needed.begin(), needed.end(), blend.bones[i]) == needed.end())
                    needed.push_back(blend.bones[i]);
            }
        }
        if (needed.size() > paletteSize)
            return GPU_INVALIDCALL;
        Group* group = groups.empty() ? nullptr : &groups.back();
        if (group != nullptr)
        {
            size_t added = 0;
            for (uint32_t bone : needed)
                added += group->slots.count(bone) ? 0 : 1;
            if (group->combination.attribId != part.attributes[face] ||
                group->slots.size() + added > paletteSize)
                group = nullptr;
        }
        if (group == nullptr)
        {
            groups.emplace_back();
            group = &groups.back();
            group->combination.attribId = part.attributes[face];
            group->combination.boneIds.assign(paletteSize, UNUSED_BONE);
        }
        for (uint32_t bone : needed)
        {
            if (group->slots.emplace(bone, uint32_t(group->slots.size())).second)
                group->combination.boneIds[group->slots[bone]] = bone;
        }
        group->faces.push_back(face);
    }

    // 2. Each group's vertices apart, since their palette slots are the group's own.
    std::vector<uint32_t> sources, indices, attributes, owners;
    for (uint32_t g = 0; g < groups.size(); ++g)
    {
        Group& group = groups[g];
        group.combination.faceStart = uint32_t(attributes.size());
        group.combination.faceCount = uint32_t(group.faces.size());
        group.combination.vertexStart = uint32_t(sources.size());
        std::unordered_map<uint32_t, uint32_t> remap;
        for (uint32_t face : group.faces)
        {
            for (int corner = 0; corner < 3; ++corner)
            {
                uint32_t source = part.indices[size_t(face) * 3 + corner];
                auto [at, added] = remap.emplace(source, uint32_t(sources.size()));
                if (added)
                {
                    sources.push_back(source);
                    owners.push_back(g);
                }
                indices.push_back(at->second);
            }
            attributes.push_back(g);
        }
        group.combination.vertexCount = uint32_t(sources.size()) - group.combination.vertexStart;
    }

    // 3. The mesh.
    uint32_t influences = out->maxInfluences;
    uint32_t fvf = (FVF_XYZB1 + 2 * (influences - 1)) | FVF_LASTBETA_UBYTE4 | FVF_NORMAL | FVF_TEX1;
    uint32_t newVertices = uint32_t(sources.size());
    uint32_t options = MESH_MANAGED | (newVertices > 0xFFFF ? uint32_t(MESH_32BIT) : 0u);
    if (PlatformResult result = Mesh::create(faceCount, newVertices, options, fvf, device, &out->mesh))
        return result;
    uint32_t stride = out->mesh->getNumBytesPerVertex();
    void* bytes = nullptr;
    if (PlatformResult result = out->mesh->lockVertexBuffer(0, &bytes))
        return result;
    auto* write = static_cast<uint8_t*>(bytes);
    for (uint32_t v = 0; v < newVertices; ++v)
    {
        uint32_t group = owners[v];
        const SkinnedVertex& vertex = part.vertices[sources[v]];
        const VertexBlend& blend = blends[sources[v]];
        uint8_t* at = write + size_t(v) * stride;
        std::memcpy(at, &vertex.position, 12);
        at += 12;
        for (uint32_t i = 0; i + 1 < influences; ++i, at += 4)
            std::memcpy(at, &blend.weights[i], 4);
        for (uint32_t i = 0; i < 4; ++i)
            at[i] = i < blend.count ? uint8_t(groups[group].slots.at(blend.bones[i])) : 0;
        at += 4;
        std::memcpy(at, &vertex.normal, 12);
        std::memcpy(at + 12, &vertex.uv, 8);
    }
    out->mesh->unlockVertexBuffer();
    if (PlatformResult result = out->mesh->lockIndexBuffer(0, &bytes))
        return result;
    if (options & MESH_32BIT)
        std::memcpy(bytes, indices.data(), indices.size() * 4);
    else
    {
        auto* narrow = static_cast<uint16_t*>(bytes);
        for (size_t i = 0; i < indices.size(); ++i)
            narrow[i] = uint16_t(indices[i]);
    }
    out->mesh->unlockIndexBuffer();
    uint32_t* table = nullptr;
    if (PlatformResult result = out->mesh->lockAttributeBuffer(0, &table))
        return result;
    std::memcpy(table, attributes.data(), attributes.size() * 4);
    out->mesh->unlockAttributeBuffer();
    out->paletteSize = paletteSize;
    for (Group& group : groups)
        out->combinations.push_back(std::move(group.combination));
    return GPU_OK;
}

void skinBlendedVertices(const Mesh& blended, uint32_t first, uint32_t count, const Matrix* palette,
                         uint32_t paletteSize, SkinnedVertex* out)
{
    uint32_t fvf = blended.getFVF();
    uint32_t stride = blended.getNumBytesPerVertex();
    uint32_t weights = blendBetaCount(fvf) - 1;
    const uint8_t* data = blended.vertexData();
    for (uint32_t v = first; v < first + count; ++v)
    {
        const uint8_t* at = data + size_t(v) * stride;
        Vector3 position, normal;
        std::memcpy(&position, at, 12);
        float w[MAX_BLEND_INFLUENCES] = {};
        std::memcpy(w, at + 12, 4 * weights);
        const uint8_t* slots = at + 12 + 4 * weights;
        std::memcpy(&normal, slots + 4, 12);
        float last = 1;
        for (uint32_t i = 0; i < weights; ++i)
            last -= w[i];
        w[weights] = last;
        Vector3 p, n;
        for (uint32_t i = 0; i <= weights; ++i)
        {
            const Matrix& m = palette[std::min<uint32_t>(slots[i], paletteSize - 1)];
            p = p + vec3TransformCoord(position, m) * w[i];
            n = n + vec3TransformNormal(normal, m) * w[i];
        }
        SkinnedVertex& target = out[v];
        target.position = p;
        target.normal = vec3Normalize(n);
        std::memcpy(&target.uv, slots + 16, 8);
    }
}

} // namespace Platform
