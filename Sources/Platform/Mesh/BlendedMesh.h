#pragma once
// A skinned mesh made ready for matrix-palette skinning: its faces split
// into attribute groups (bone combinations) that each need at most the
// palette's number of bones, each group's vertices carrying the palette
// slots of their bones as UBYTE4 indices and their weights. A program then
// skins a group in one draw from a palette of offset x combined matrices,
// filled by the group's bone ids.
//
// Vertex layout: position, (influences - 1) weight floats, the four index
// bytes, normal, texture coordinates (FVF_XYZB<influences> |
// FVF_LASTBETA_UBYTE4 | FVF_NORMAL | FVF_TEX1). Each vertex keeps its
// heaviest bones (at most four), their weights scaled to add up to one. A
// vertex no bone moves follows the frame holding the mesh: it is given the
// extra bone holderBone (= the part's bone count), whose offset is identity
// and whose frame is that frame.
#include "Platform/Mesh/Mesh.h"
#include "Platform/Mesh/SkinnedMesh.h"

#include <memory>
#include <vector>

namespace Platform
{

constexpr uint32_t UNUSED_BONE = 0xFFFFFFFF;
// Bones a blended vertex can name.
constexpr uint32_t MAX_BLEND_INFLUENCES = 4;

struct BoneCombination
{
    uint32_t attribId = 0; // the material of the group's faces
    uint32_t faceStart = 0;
    uint32_t faceCount = 0;
    uint32_t vertexStart = 0;
    uint32_t vertexCount = 0;
    // One bone id per palette slot; UNUSED_BONE where the group uses none.
    std::vector<uint32_t> boneIds;
};

struct BlendedMesh
{
    std::unique_ptr<Mesh> mesh; // attribute of a face = its group
    uint32_t paletteSize = 0;
    uint32_t maxInfluences = 1;
    // UNUSED_BONE when every vertex has a bone.
    uint32_t holderBone = UNUSED_BONE;
    std::vector<BoneCombination> combinations;
};

// The palette is cut down to the bones there are (the holder included).
// GPU_INVALIDCALL for a part without bones, a palette of fewer bones than
// one face needs, or a mesh the device refuses.
Platform::PlatformResult convertToIndexedBlendedMesh(const SkinnedMeshPart& part, uint32_t paletteSize,
                                                     Gpu::Device* device, BlendedMesh* out);

// What a skinning program does, on the processor: vertices first ..
// first + count - 1 of a blended mesh moved by the palette, written to the
// same places of out as position, normal and texture coordinates.
void skinBlendedVertices(const Mesh& blended, uint32_t first, uint32_t count, const Matrix* palette,
                         uint32_t paletteSize, SkinnedVertex* out);

} // namespace Platform
