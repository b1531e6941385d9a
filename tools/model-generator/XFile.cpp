#include "XFile.h"

#include <cmath>
#include <cstdio>
#include <fstream>

namespace ModelGen
{

Vec3 cross(Vec3 a, Vec3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float dot(Vec3 a, Vec3 b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

Vec3 normalized(Vec3 v)
{
    float length = std::sqrt(dot(v, v));
    return length > 0 ? v * (1 / length) : v;
}

namespace
{
// Fixed six decimals with trailing zeros trimmed: short, and the same text on
// every run. Negative zero is written as zero.
std::string number(float value)
{
    if (value == 0)
        value = 0;
    char text[48];
    std::snprintf(text, sizeof text, "%.6f", static_cast<double>(value));
    std::string s = text;
    while (s.size() > 1 && s.back() == '0' && s[s.size() - 2] != '.')
        s.pop_back();
    if (s == "-0.0")
        s = "0.0";
    return s;
}
} // namespace

int XMesh::addMaterial(const XMaterial& material)
{
    mMaterials.push_back(material);
    return static_cast<int>(mMaterials.size()) - 1;
}

void XMesh::addTriangle(const XVertex& a, const XVertex& b, const XVertex& c, Vec3 facing, int material)
{
    int base = static_cast<int>(mVertices.size());
    mVertices.push_back(a);
    mVertices.push_back(b);
    mVertices.push_back(c);
    // Seen from the front a triangle runs clockwise, which in a left-handed
    // frame makes (b - a) x (c - a) point towards the viewer.
    if (dot(cross(b.position - a.position, c.position - a.position), facing) >= 0)
        mFaces.push_back({base, base + 1, base + 2, material});
    else
        mFaces.push_back({base, base + 2, base + 1, material});
}

void XMesh::addQuad(Vec3 p0, Vec3 p1, Vec3 p2, Vec3 p3, Vec3 normal, const float uv[8], int material)
{
    int base = static_cast<int>(mVertices.size());
    Vec3 points[4] = {p0, p1, p2, p3};
    for (int i = 0; i < 4; ++i)
        mVertices.push_back({points[i], normal, uv[i * 2], uv[i * 2 + 1]});
    if (dot(cross(p1 - p0, p2 - p0), normal) >= 0)
    {
        mFaces.push_back({base, base + 1, base + 2, material});
        mFaces.push_back({base, base + 2, base + 3, material});
    }
    else
    {
        mFaces.push_back({base, base + 2, base + 1, material});
        mFaces.push_back({base, base + 3, base + 2, material});
    }
}

void XMesh::addBox(Vec3 lo, Vec3 hi, float textureSize, int material, bool withBottom)
{
    float k = 1 / textureSize;
    // Top and bottom map x and z; the sides map their horizontal axis and the
    // height, with v growing downwards.
    {
        float uv[8] = {lo.x * k, -hi.z * k, hi.x * k, -hi.z * k, hi.x * k, -lo.z * k, lo.x * k, -lo.z * k};
        addQuad({lo.x, hi.y, hi.z}, {hi.x, hi.y, hi.z}, {hi.x, hi.y, lo.z}, {lo.x, hi.y, lo.z}, {0, 1, 0}, uv,
                material);
        if (withBottom)
            addQuad({lo.x, lo.y, hi.z}, {hi.x, lo.y, hi.z}, {hi.x, lo.y, lo.z}, {lo.x, lo.y, lo.z},
                    {0, -1, 0}, uv, material);
    }
    float v0 = -hi.y * k, v1 = -lo.y * k;
    {
        float uv[8] = {lo.x * k, v0, hi.x * k, v0, hi.x * k, v1, lo.x * k, v1};
        addQuad({lo.x, hi.y, lo.z}, {hi.x, hi.y, lo.z}, {hi.x, lo.y, lo.z}, {lo.x, lo.y, lo.z}, {0, 0, -1},
                uv, material);
        addQuad({lo.x, hi.y, hi.z}, {hi.x, hi.y, hi.z}, {hi.x, lo.y, hi.z}, {lo.x, lo.y, hi.z}, {0, 0, 1}, uv,
                material);
    }
    {
        float uv[8] = {lo.z * k, v0, hi.z * k, v0, hi.z * k, v1, lo.z * k, v1};
        addQuad({lo.x, hi.y, lo.z}, {lo.x, hi.y, hi.z}, {lo.x, lo.y, hi.z}, {lo.x, lo.y, lo.z}, {-1, 0, 0},
                uv, material);
        addQuad({hi.x, hi.y, lo.z}, {hi.x, hi.y, hi.z}, {hi.x, lo.y, hi.z}, {hi.x, lo.y, lo.z}, {1, 0, 0}, uv,
                material);
    }
}

std::string XMesh::frameText() const
{
    std::string out;
    auto add = [&out](const std::string& s) { out += s; };
    add(" Frame " + mName + " {\n");
    add("  FrameTransformMatrix {\n   1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0;;\n  "
        "}\n");
    add("  Mesh " + mName + "Mesh {\n");
    size_t n = mVertices.size();
    add("   " + std::to_string(n) + ";\n");
    for (size_t i = 0; i < n; ++i)
    {
        const Vec3& p = mVertices[i].position;
        add("   " + number(p.x) + ";" + number(p.y) + ";" + number(p.z) + ";" + (i + 1 < n ? "," : ";") +
            "\n");
    }
    auto faceList = [&](const std::string& indent)
    {
        add(indent + std::to_string(mFaces.size()) + ";\n");
        for (size_t i = 0; i < mFaces.size(); ++i)
        {
            const Face& f = mFaces[i];
            add(indent + "3;" + std::to_string(f.a) + "," + std::to_string(f.b) + "," + std::to_string(f.c) +
                ";" + (i + 1 < mFaces.size() ? "," : ";") + "\n");
        }
    };
    faceList("   ");
    add("   MeshNormals {\n");
    add("    " + std::to_string(n) + ";\n");
    for (size_t i = 0; i < n; ++i)
    {
        const Vec3& v = mVertices[i].normal;
        add("    " + number(v.x) + ";" + number(v.y) + ";" + number(v.z) + ";" + (i + 1 < n ? "," : ";") +
            "\n");
    }
    faceList("    ");
    add("   }\n");
    add("   MeshTextureCoords {\n");
    add("    " + std::to_string(n) + ";\n");
    for (size_t i = 0; i < n; ++i)
        add("    " + number(mVertices[i].u) + ";" + number(mVertices[i].v) + ";" + (i + 1 < n ? "," : ";") +
            "\n");
    add("   }\n");
    add("   MeshMaterialList {\n");
    add("    " + std::to_string(mMaterials.size()) + ";\n");
    add("    " + std::to_string(mFaces.size()) + ";\n");
    // The list ends in ";;", as most exporters write it.
    for (size_t i = 0; i < mFaces.size(); ++i)
        add("    " + std::to_string(mFaces[i].material) + (i + 1 < mFaces.size() ? "," : ";;") + "\n");
    for (const XMaterial& m : mMaterials)
    {
        add("    Material " + m.name + " {\n");
        add("     " + number(m.diffuse[0]) + ";" + number(m.diffuse[1]) + ";" + number(m.diffuse[2]) + ";" +
            number(m.diffuse[3]) + ";;\n");
        add("     " + number(m.power) + ";\n");
        add("     " + number(m.specular[0]) + ";" + number(m.specular[1]) + ";" + number(m.specular[2]) +
            ";;\n");
        add("     " + number(m.emissive[0]) + ";" + number(m.emissive[1]) + ";" + number(m.emissive[2]) +
            ";;\n");
        if (!m.texture.empty())
            add("     TextureFilename {\n      \"" + m.texture + "\";\n     }\n");
        add("    }\n");
    }
    add("   }\n");
    add("  }\n");
    add(" }\n");
    return out;
}

bool writeXFile(const std::string& path, const std::vector<const XMesh*>& meshes)
{
    std::ofstream file(path, std::ios::binary);
    if (!file)
        return false;
    file << "xof 0303txt 0032\n\n";
    file << "Frame Root {\n";
    file << " FrameTransformMatrix {\n  1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0;;\n "
            "}\n";
    for (const XMesh* mesh : meshes)
        file << mesh->frameText();
    file << "}\n";
    file.close();
    return !file.fail();
}

} // namespace ModelGen
