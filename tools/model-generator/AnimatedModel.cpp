// The animated test model: a tube standing on two bones, skinned, with two
// animation sets of known periods. The tests and the benchmark of the
// animated meshes load it; the game itself ships no animated model.
#include "Generators.h"
#include "XFile.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

namespace ModelGen
{

namespace
{

constexpr int kSides = 12;
constexpr int kRings = 9; // every quarter unit from y = 0 to y = 2
constexpr float kRadius = 0.3f;
constexpr float kPi = 3.14159265f;

// How much the upper bone moves a vertex at height y: none below 0.5, all
// above 1.5, linear between.
float upperWeight(float y)
{
    return std::fmin(std::fmax(y - 0.5f, 0.0f), 1.0f);
}

// A turn about z as an .X quaternion key (w, x, y, z).
std::string turnKey(int ticks, float degrees)
{
    float half = degrees * kPi / 360.0f;
    std::ostringstream key;
    key << ticks << "; 4; " << std::cos(half) << ", 0, 0, " << std::sin(half) << ";;";
    return key.str();
}

} // namespace

bool generateAnimatedModel(const std::string& path)
{
    std::ostringstream x;
    x << "xof 0303txt 0032\n"
         "AnimTicksPerSecond { 4800; }\n"
         "Frame Corps {\n"
         "  FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1;; }\n"
         "  Frame Os_Bas {\n"
         "    FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1;; }\n"
         "    Frame Os_Haut {\n"
         "      FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 0,1,0,1;; }\n"
         "    }\n"
         "  }\n"
         "  Frame Peau {\n"
         "    FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1;; }\n";
    // Rings of kSides + 1 vertices (the seam twice, for the texture).
    const int perRing = kSides + 1;
    const int vertexCount = kRings * perRing;
    const int faceCount = (kRings - 1) * kSides * 2;
    std::ostringstream positions, normals, coords, faces, lower, upper;
    std::vector<int> lowerIndices, upperIndices;
    std::vector<float> lowerWeights, upperWeights;
    for (int ring = 0; ring < kRings; ++ring)
    {
        float y = 0.25f * float(ring);
        for (int side = 0; side <= kSides; ++side)
        {
            float angle = 2 * kPi * float(side) / kSides;
            float nx = std::cos(angle), nz = std::sin(angle);
            int index = ring * perRing + side;
            const char* end = index + 1 == vertexCount ? ";;\n" : ";,\n";
            positions << "      " << kRadius * nx << ";" << y << ";" << kRadius * nz << end;
            normals << "      " << nx << ";0;" << nz << end;
            coords << "      " << float(side) / kSides << ";" << 1 - y / 2 << end;
            float w = upperWeight(y);
            if (w < 1)
            {
                lowerIndices.push_back(index);
                lowerWeights.push_back(1 - w);
            }
            if (w > 0)
            {
                upperIndices.push_back(index);
                upperWeights.push_back(w);
            }
        }
    }
    int written = 0;
    for (int ring = 0; ring + 1 < kRings; ++ring)
    {
        for (int side = 0; side < kSides; ++side)
        {
            int a = ring * perRing + side, b = a + 1, c = a + perRing, d = c + 1;
            // Clockwise seen from outside.
            const int triangles[2][3] = {{a, c, b}, {b, c, d}};
            for (const auto& t : triangles)
            {
                ++written;
                faces << "      3;" << t[0] << "," << t[1] << "," << t[2]
                      << (written == faceCount ? ";;\n" : ";,\n");
            }
        }
    }
    auto weights = [](std::ostringstream& out, const char* bone, const std::vector<int>& indices,
                      const std::vector<float>& values, float offsetY)
    {
        out << "      SkinWeights { \"" << bone << "\"; " << indices.size() << ";\n       ";
        for (size_t i = 0; i < indices.size(); ++i)
            out << indices[i] << (i + 1 == indices.size() ? ";\n       " : ",");
        for (size_t i = 0; i < values.size(); ++i)
            out << values[i] << (i + 1 == values.size() ? ";\n" : ",");
        out << "        1,0,0,0, 0,1,0,0, 0,0,1,0, 0," << offsetY << ",0,1;; }\n";
    };
    weights(lower, "Os_Bas", lowerIndices, lowerWeights, 0);
    weights(upper, "Os_Haut", upperIndices, upperWeights, -1);
    x << "    Mesh Tube {\n      " << vertexCount << ";\n"
      << positions.str() << "      " << faceCount << ";\n"
      << faces.str() << "      MeshNormals { " << vertexCount << ";\n"
      << normals.str() << "      " << faceCount << ";\n"
      << faces.str() << "      }\n"
      << "      MeshTextureCoords { " << vertexCount << ";\n"
      << coords.str() << "      }\n"
      << "      MeshMaterialList { 1; " << faceCount << "; ";
    for (int f = 0; f < faceCount; ++f)
        x << 0 << (f + 1 == faceCount ? ";;\n" : ", ");
    x << "        Material Cuir { 0.8;0.6;0.2;1;; 20; 0.3;0.3;0.3;; 0;0;0;; }\n      }\n"
      << "      XSkinMeshHeader { 2; 4; 2; }\n"
      << lower.str() << upper.str() << "    }\n  }\n}\n";
    // "Marche": the upper bone bends 60 degrees and back in one second.
    x << "AnimationSet Marche {\n  Animation {\n    { Os_Haut }\n    AnimationKey { 0; 3;\n      "
      << turnKey(0, 0) << ",\n      " << turnKey(2400, 60) << ",\n      " << turnKey(4800, 0)
      << ";\n    }\n  }\n}\n";
    // "Repos": the whole tube leans 20 degrees and back in two seconds.
    x << "AnimationSet Repos {\n  Animation {\n    { Os_Bas }\n    AnimationKey { 0; 3;\n      "
      << turnKey(0, 0) << ",\n      " << turnKey(4800, 20) << ",\n      " << turnKey(9600, 0)
      << ";\n    }\n  }\n}\n";
    std::ofstream file(path, std::ios::binary);
    file << x.str();
    if (!file)
    {
        std::fprintf(stderr, "model-generator: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

} // namespace ModelGen
