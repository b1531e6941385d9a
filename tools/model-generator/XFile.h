#pragma once
// Meshes built face by face and written as text .X files: one frame per
// mesh under a root frame, vertex positions, per-vertex normals, texture
// coordinates and a material list whose materials name their texture files.
// The files follow the Direct3D conventions: left-handed coordinates,
// clockwise triangles seen from the front, v growing downwards in images.
#include <string>
#include <vector>

namespace ModelGen
{

struct Vec3
{
    float x = 0, y = 0, z = 0;
};

inline Vec3 operator+(Vec3 a, Vec3 b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vec3 operator-(Vec3 a, Vec3 b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vec3 operator*(Vec3 a, float k)
{
    return {a.x * k, a.y * k, a.z * k};
}
Vec3 cross(Vec3 a, Vec3 b);
float dot(Vec3 a, Vec3 b);
Vec3 normalized(Vec3 v);

struct XMaterial
{
    std::string name;
    float diffuse[4] = {1, 1, 1, 1};
    float power = 10;
    float specular[3] = {0.2f, 0.2f, 0.2f};
    float emissive[3] = {0, 0, 0};
    // File name relative to the .X file's folder; empty for none.
    std::string texture;
};

struct XVertex
{
    Vec3 position;
    Vec3 normal;
    float u = 0, v = 0;
};

class XMesh
{
public:
    explicit XMesh(std::string name) : mName(std::move(name)) {}

    // Adds a material and returns its index for the faces that follow.
    int addMaterial(const XMaterial& material);

    // A flat quad p0 p1 p2 p3 (in order around its outline) facing along
    // normal; the winding is chosen from the normal, so callers need not
    // care about the order's direction.
    void addQuad(Vec3 p0, Vec3 p1, Vec3 p2, Vec3 p3, Vec3 normal, const float uv[8], int material);
    // One triangle whose vertices carry their own normals (smooth shading);
    // facing is the side the front must face.
    void addTriangle(const XVertex& a, const XVertex& b, const XVertex& c, Vec3 facing, int material);
    // An axis-aligned box without its bottom face; every face maps its
    // texture by world position divided by texel size.
    void addBox(Vec3 lo, Vec3 hi, float textureSize, int material, bool withBottom = false);

    const std::string& name() const { return mName; }
    const std::vector<XVertex>& vertices() const { return mVertices; }
    size_t faceCount() const { return mFaces.size(); }

    // The mesh as a frame (with an identity transform) holding its Mesh.
    std::string frameText() const;

private:
    struct Face
    {
        int a, b, c, material;
    };
    std::string mName;
    std::vector<XVertex> mVertices;
    std::vector<Face> mFaces;
    std::vector<XMaterial> mMaterials;
};

// Writes the header and a root frame holding the meshes. Returns false when
// the file cannot be written.
bool writeXFile(const std::string& path, const std::vector<const XMesh*>& meshes);

} // namespace ModelGen
