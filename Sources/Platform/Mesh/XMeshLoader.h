#pragma once
// Static meshes from text .X files: every Mesh of the file, in file order,
// placed by the transforms of the frames around it, merged into one mesh of
// position, normal and one texture coordinate set (layout FVF_XYZ_NORMAL_TEX1)
// with one subset per material. Polygons are cut into fans of triangles;
// normals come from the file's MeshNormals or, without them, from the faces.
// The frame tree read on the way (XFrame) is what an animated-mesh reader
// would build its hierarchy from.
#include "Platform/Gpu/GpuTypes.h"
#include "Platform/Math/Matrix.h"
#include "Platform/Mesh/Mesh.h"
#include "Platform/Mesh/XFileData.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace Platform
{

// Limits on what a file may ask for, checked before anything is allocated.
constexpr uint32_t X_MAX_VERTICES = 1u << 20;
constexpr uint32_t X_MAX_FACES = 1u << 21;
constexpr uint32_t X_MAX_POLYGON_CORNERS = 1024;
constexpr uint32_t X_MAX_MATERIALS = 4096;

struct XMaterial
{
    Gpu::Material material;      // ambient left black, as the file has none
    std::string textureFileName; // as written in the file, empty for none
};

// One Mesh object of the file as written (before merging).
struct XMeshData
{
    std::string name;
    std::vector<Vector3> positions;
    // Each polygon's corners as indices into positions.
    std::vector<std::vector<uint32_t>> faces;
    std::vector<Vector3> normals;
    // Corners of each polygon into normals; empty without MeshNormals.
    std::vector<std::vector<uint32_t>> normalFaces;
    // One per position, or empty.
    std::vector<Vector2> textureCoords;
    // One per polygon (a shorter list repeats its last entry), or empty.
    std::vector<uint32_t> faceMaterials;
    std::vector<XMaterial> materials;
    // The object itself, for readers of what this one passes over.
    const XObject* source = nullptr;
};

struct XFrame
{
    std::string name;
    Matrix transform; // relative to the parent frame
    std::vector<XMeshData> meshes;
    std::vector<std::unique_ptr<XFrame>> children;
};

// The triangles a mesh's polygons make once fanned.
uint64_t countTriangles(const XMeshData& mesh);
// Normals from the faces when the file has none: each position gets the
// area-weighted sum of the faces around it (not yet normalised).
std::vector<Vector3> faceNormals(const XMeshData& mesh);
// The white material of a mesh that names none.
XMaterial plainMaterial();
// Cuts the mesh's polygons into fans of triangles, with one vertex for every
// distinct (position, normal) corner. makeVertex(position, normal) adds the
// vertex of a corner met for the first time, with the file's normal or the
// one computed from the faces, not yet normalised; the vertices are numbered
// on from firstVertex in that order. Each triangle appends its three numbers
// to indices, and firstAttribute plus its polygon's material to attributes.
// False when the vertices would pass X_MAX_VERTICES or a polygon names a
// material the mesh does not have (a mesh without materials has the plain one).
bool weldFaces(const XMeshData& mesh, size_t firstVertex, uint32_t firstAttribute,
               const std::function<void(uint32_t position, const Vector3& normal)>& makeVertex,
               std::vector<uint32_t>& indices, std::vector<uint32_t>& attributes);

// Reads the frame tree of a parsed file; meshes outside any frame belong to
// the root (identity) frame. MESH_INVALIDDATA for a malformed mesh.
Platform::PlatformResult readXFrames(const XObject& file, XFrame* root);

// Parses and merges a whole file into a new mesh on the device (options as
// Mesh::create; 32-bit indices are added when the vertices need them) and
// its materials, one per subset in attribute order.
Platform::PlatformResult loadMeshFromX(const void* data, size_t size, uint32_t options, Gpu::Device* device,
                                       std::vector<XMaterial>* materials, std::unique_ptr<Mesh>* mesh);

} // namespace Platform
