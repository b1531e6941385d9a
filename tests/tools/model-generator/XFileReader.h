#pragma once
// A strict reader of the text .X forms the model generator writes, for the
// tests: the "xof 0303txt 0032" header, frames with their 4x4 transform,
// meshes with positions, faces, normals, texture coordinates and a material
// list with inline materials. Every count is checked against the entries
// that follow it, and every separator must be where the format puts it.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace XTest
{

struct Vec3
{
    float x = 0, y = 0, z = 0;
};

struct Material
{
    std::array<float, 4> diffuse{};
    float power = 0;
    std::array<float, 3> specular{};
    std::array<float, 3> emissive{};
    std::string texture;
};

struct Mesh
{
    std::string name;
    std::vector<Vec3> positions;
    std::vector<std::array<uint32_t, 3>> faces;
    std::vector<Vec3> normals;
    std::vector<std::array<uint32_t, 3>> normalFaces;
    std::vector<std::array<float, 2>> uvs;
    std::vector<uint32_t> faceMaterials;
    std::vector<Material> materials;
    bool hasNormals = false;
    bool hasUvs = false;
    bool hasMaterialList = false;
};

struct File
{
    std::vector<Mesh> meshes;
    std::vector<std::array<float, 16>> frameMatrices;
};

// Parses the text; on failure returns false with a message naming the line.
bool parseXFile(const std::string& text, File& out, std::string& error);

} // namespace XTest
