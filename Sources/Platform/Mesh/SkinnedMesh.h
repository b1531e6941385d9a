#pragma once
// Animated models from text .X files: the frame hierarchy (Frame and
// FrameTransformMatrix), each Mesh kept apart with the frame that holds it,
// its skin (XSkinMeshHeader and one SkinWeights per bone: the bone frame's
// name, the vertices it moves with their weights, and the offset matrix from
// the mesh's space to the bone's), and the animation sets.
//
// Skinning is done here, on the processor: a skinned vertex is the weighted
// sum of its bind-pose position carried by each of its bones' matrices
// (offset x the bone frame's combined matrix). The device then draws the
// result from an ordinary vertex buffer with its one lighting program, so
// there is no bone limit per draw and no palette to split meshes by.
#include "Platform/Gpu/GpuTypes.h"
#include "Platform/Math/Matrix.h"
#include "Platform/Mesh/AnimationController.h"
#include "Platform/Mesh/XMeshLoader.h"

#include <string>
#include <vector>

namespace Platform
{

constexpr uint32_t X_MAX_FRAMES = 4096;
constexpr uint32_t X_MAX_BONES = 256;
// Bones moving one vertex.
constexpr uint32_t X_MAX_INFLUENCES = 8;
// The name given to a frame the file leaves unnamed.
constexpr const char* X_NO_NAME = "<no_name>";

class FrameHierarchy
{
public:
    // Frame 0 is the root, with an empty name: the file's top-level frames are its children and
    // meshes outside any frame belong to it. Parents come before children.
    std::vector<std::string> names;
    std::vector<int32_t> parents;      // -1 for the root
    std::vector<Matrix> defaultLocals; // FrameTransformMatrix of each frame
    std::vector<Matrix> locals;        // what animation made of them
    std::vector<Matrix> combined;      // local x parent's combined

    size_t size() const { return names.size(); }
    // The first frame of that name, or -1.
    int32_t find(const std::string& name) const;
    void resetLocals() { locals = defaultLocals; }
    // combined[0] = locals[0] x root, then down the tree.
    void updateCombined(const Matrix& root);
};

struct SkinnedVertex
{
    Vector3 position;
    Vector3 normal;
    Vector2 uv;
};
static_assert(sizeof(SkinnedVertex) == 32, "laid out as FVF_XYZ_NORMAL_TEX1");

struct BoneInfluence
{
    uint32_t bone = 0; // into SkinnedMeshPart::bones
    float weight = 0;
};

struct SkinBone
{
    std::string frameName;
    int32_t frame = -1;
    Matrix offset; // mesh space to the bone's space
};

// One Mesh of the file, as triangles of split vertices, in its own space.
struct SkinnedMeshPart
{
    std::string name;
    int32_t frame = 0; // the frame holding the mesh
    std::vector<SkinnedVertex> vertices;
    std::vector<uint32_t> indices;    // three per face
    std::vector<uint32_t> attributes; // one per face, into materials
    std::vector<XMaterial> materials;
    // Empty for a mesh that is not skinned.
    std::vector<SkinBone> bones;
    // influenceStart[v] .. influenceStart[v + 1] are vertex v's influences.
    std::vector<uint32_t> influenceStart;
    std::vector<BoneInfluence> influences;
    uint32_t maxInfluences = 0;

    bool isSkinned() const { return !bones.empty(); }
    // offset x combined matrix of each bone.
    void computeBoneMatrices(const FrameHierarchy& frames, std::vector<Matrix>* out) const;
    // Writes every vertex moved by its bones into out (vertices.size()
    // entries). A vertex no bone moves follows the frame holding the mesh
    // (holder = that frame's combined matrix).
    void skin(const std::vector<Matrix>& boneMatrices, const Matrix& holder, SkinnedVertex* out) const;
};

struct SkinnedModelData
{
    FrameHierarchy frames;
    std::vector<SkinnedMeshPart> meshes;
    std::vector<AnimationSet> animationSets;
};

// Parses a whole file. MESH_INVALIDDATA for anything malformed: bad meshes,
// oversized counts, bone indices or vertex indices out of range, weights not
// in [0, 1], bones naming no frame, animations naming no frame, more than
// X_MAX_INFLUENCES bones on one vertex.
Platform::PlatformResult readSkinnedModel(const void* data, size_t size, SkinnedModelData* out);

} // namespace Platform
