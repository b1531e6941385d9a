// Checks the models the build generated under data/models: well-formed text
// .X with consistent counts, textures that exist and decode, triangles whose
// winding agrees with their normals (the game culls counter-clockwise faces),
// and the geometry the board view relies on.
#include "Framework/BinaryStream.h"
#include "Framework/XmlReader.h"
#include "ImageCodec/ImageLibrary.h"
#include "Platform/System/Paths.h"
#include "Tarnaveli/Board/BoardCell.h"
#include "XFileReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace
{
const std::string kData = VELMORIQUE_DATA_DIR;
const char* const kAnimals[8] = {"rat", "chat", "loup", "chien", "panthere", "tigre", "lion", "elephant"};
constexpr float kSceneScale = 0.04f; // board model units to scene units
constexpr float kPieceScale = 0.01f; // piece model units to scene units

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

XTest::File load(const std::string& relative)
{
    XTest::File file;
    std::string error;
    std::string text = readFile(kData + "/" + relative);
    EXPECT_FALSE(text.empty()) << relative << " is missing or empty";
    EXPECT_TRUE(XTest::parseXFile(text, file, error)) << relative << ": " << error;
    EXPECT_FALSE(file.meshes.empty()) << relative;
    return file;
}

std::vector<std::string> allModels()
{
    std::vector<std::string> models = {"models/boardZorvad/plateau.X", "models/boardZorvad/plateau_fond.X"};
    for (const char* animal : kAnimals)
        models.push_back(std::string("models/pions/") + animal + ".X");
    return models;
}

XTest::Vec3 sub(XTest::Vec3 a, XTest::Vec3 b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

XTest::Vec3 cross(XTest::Vec3 a, XTest::Vec3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float dot(XTest::Vec3 a, XTest::Vec3 b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// Decodes the whole image with the game's image layer, in the pixel format
// textures ask for; reports its size.
bool decodePng(const std::string& path, uint32_t& width, uint32_t& height)
{
    DecodedImagePtr image(
        convertImage(openImageByName(path.c_str(), IMAGE_FORMAT_PNG), PIXEL_FORMAT_B8G8R8A8));
    if (!image)
        return false;
    width = static_cast<uint32_t>(image->getWidth());
    height = static_cast<uint32_t>(image->getHeight());
    return true;
}

bool isPowerOfTwo(uint32_t v)
{
    return v != 0 && (v & (v - 1)) == 0;
}

struct Box
{
    XTest::Vec3 min{1e30f, 1e30f, 1e30f}, max{-1e30f, -1e30f, -1e30f};
};

Box boundingBox(const XTest::File& file)
{
    Box box;
    for (const XTest::Mesh& mesh : file.meshes)
        for (const XTest::Vec3& p : mesh.positions)
        {
            box.min = {std::min(box.min.x, p.x), std::min(box.min.y, p.y), std::min(box.min.z, p.z)};
            box.max = {std::max(box.max.x, p.x), std::max(box.max.y, p.y), std::max(box.max.z, p.z)};
        }
    return box;
}

// The highest upward-facing surface over the point (x, z): its height and
// the texture of its material. The board view stands markers and pieces on
// cell centres; this is what lies under them.
struct Surface
{
    float height = -1e30f;
    std::string texture;
};

Surface surfaceAt(const XTest::File& file, float x, float z)
{
    Surface best;
    for (const XTest::Mesh& mesh : file.meshes)
        for (size_t f = 0; f < mesh.faces.size(); ++f)
        {
            const XTest::Vec3& a = mesh.positions[mesh.faces[f][0]];
            const XTest::Vec3& b = mesh.positions[mesh.faces[f][1]];
            const XTest::Vec3& c = mesh.positions[mesh.faces[f][2]];
            XTest::Vec3 n = cross(sub(b, a), sub(c, a));
            if (n.y <= 0)
                continue;
            // Barycentric test in the xz plane.
            float d = (b.z - c.z) * (a.x - c.x) + (c.x - b.x) * (a.z - c.z);
            if (std::fabs(d) < 1e-9f)
                continue;
            float u = ((b.z - c.z) * (x - c.x) + (c.x - b.x) * (z - c.z)) / d;
            float v = ((c.z - a.z) * (x - c.x) + (a.x - c.x) * (z - c.z)) / d;
            if (u < -1e-4f || v < -1e-4f || u + v > 1 + 1e-4f)
                continue;
            float y = u * a.y + v * b.y + (1 - u - v) * c.y;
            if (y > best.height)
            {
                best.height = y;
                best.texture = mesh.materials[mesh.faceMaterials[f]].texture;
            }
        }
    return best;
}

enum class Terrain
{
    Water,
    Land,
    Trap0,
    Trap1,
    Den0,
    Den1
};

// The layout is the rules' own, so the model can never disagree with them.
static_assert(static_cast<uint32_t>(Terrain::Water) == TERRAIN_WATER &&
              static_cast<uint32_t>(Terrain::Land) == TERRAIN_LAND &&
              static_cast<uint32_t>(Terrain::Trap0) == TERRAIN_TRAP_0 &&
              static_cast<uint32_t>(Terrain::Trap1) == TERRAIN_TRAP_1 &&
              static_cast<uint32_t>(Terrain::Den0) == TERRAIN_DEN_0 &&
              static_cast<uint32_t>(Terrain::Den1) == TERRAIN_DEN_1);

Terrain terrainOf(int x, int y)
{
    return static_cast<Terrain>(terrainAt(x, y));
}
} // namespace

TEST(ModelFiles, EveryModelIsWellFormedWithConsistentCountsAndDecodableTextures)
{
    for (const std::string& relative : allModels())
    {
        SCOPED_TRACE(relative);
        XTest::File file = load(relative);
        std::string folder = std::filesystem::path(kData + "/" + relative).parent_path().string();
        for (const XTest::Mesh& mesh : file.meshes)
        {
            SCOPED_TRACE(mesh.name);
            ASSERT_FALSE(mesh.faces.empty());
            for (const auto& face : mesh.faces)
                for (uint32_t index : face)
                    ASSERT_LT(index, mesh.positions.size());
            ASSERT_TRUE(mesh.hasNormals);
            ASSERT_EQ(mesh.normalFaces.size(), mesh.faces.size());
            for (const auto& face : mesh.normalFaces)
                for (uint32_t index : face)
                    ASSERT_LT(index, mesh.normals.size());
            for (const XTest::Vec3& n : mesh.normals)
                ASSERT_NEAR(std::sqrt(dot(n, n)), 1.0f, 1e-3f);
            ASSERT_TRUE(mesh.hasUvs);
            ASSERT_EQ(mesh.uvs.size(), mesh.positions.size());
            ASSERT_TRUE(mesh.hasMaterialList);
            ASSERT_EQ(mesh.faceMaterials.size(), mesh.faces.size());
            for (uint32_t m : mesh.faceMaterials)
                ASSERT_LT(m, mesh.materials.size());
            for (const XTest::Material& material : mesh.materials)
            {
                ASSERT_FALSE(material.texture.empty());
                uint32_t width = 0, height = 0;
                EXPECT_TRUE(decodePng(folder + "/" + material.texture, width, height)) << material.texture;
                EXPECT_TRUE(isPowerOfTwo(width) && isPowerOfTwo(height)) << material.texture;
            }
        }
    }
}

TEST(ModelFiles, TrianglesRunClockwiseSeenFromTheSideTheirNormalsFace)
{
    for (const std::string& relative : allModels())
    {
        SCOPED_TRACE(relative);
        XTest::File file = load(relative);
        for (const XTest::Mesh& mesh : file.meshes)
            for (size_t f = 0; f < mesh.faces.size(); ++f)
            {
                const auto& face = mesh.faces[f];
                XTest::Vec3 area = cross(sub(mesh.positions[face[1]], mesh.positions[face[0]]),
                                         sub(mesh.positions[face[2]], mesh.positions[face[0]]));
                XTest::Vec3 normal{};
                for (uint32_t index : mesh.normalFaces[f])
                    normal = {normal.x + mesh.normals[index].x, normal.y + mesh.normals[index].y,
                              normal.z + mesh.normals[index].z};
                ASSERT_GT(dot(area, normal), 0) << mesh.name << " face " << f;
            }
    }
}

TEST(BoardModel, OutlineIsTheNineBySevenGridOfSquareCellsAboutOneSceneUnitWide)
{
    Box box = boundingBox(load("models/boardZorvad/plateau.X"));
    float cellWidth = (box.max.x - box.min.x) * kSceneScale / 9;
    float cellDepth = (box.max.z - box.min.z) * kSceneScale / 7;
    EXPECT_NEAR(cellWidth, cellDepth, 1e-4f);
    // The camera presets frame a board of about nine scene units.
    EXPECT_GT(cellWidth, 0.8f);
    EXPECT_LT(cellWidth, 1.2f);
}

TEST(BoardModel, MarkersFloatJustAboveEveryCellAndWaterCellsShowWater)
{
    XTest::File board = load("models/boardZorvad/plateau.X");
    Box box = boundingBox(board);
    float width = (box.max.x - box.min.x) / 9, depth = (box.max.z - box.min.z) / 7;
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9; ++x)
        {
            SCOPED_TRACE("cell " + std::to_string(x) + "," + std::to_string(y));
            float cx = box.min.x + (x + 0.5f) * width, cz = box.max.z - (y + 0.5f) * depth;
            Surface surface = surfaceAt(board, cx, cz);
            bool water = terrainOf(x, y) == Terrain::Water;
            // The view's drops below the box's top, in scene units.
            float marker = box.max.y - (water ? 0.1f : 0.02f) / kSceneScale;
            float gap = (marker - surface.height) * kSceneScale;
            EXPECT_GT(gap, 0.002f);
            EXPECT_LT(gap, 0.03f);
            EXPECT_EQ(surface.texture == "eau.png", water) << surface.texture;
        }
}

TEST(BoardModel, TrapsAndDensOfEachSideAreMarkedApart)
{
    XTest::File board = load("models/boardZorvad/plateau.X");
    Box box = boundingBox(board);
    float width = (box.max.x - box.min.x) / 9, depth = (box.max.z - box.min.z) / 7;
    std::map<Terrain, std::set<std::string>> textures;
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9; ++x)
        {
            Surface s = surfaceAt(board, box.min.x + (x + 0.5f) * width, box.max.z - (y + 0.5f) * depth);
            textures[terrainOf(x, y)].insert(s.texture);
        }
    for (Terrain t : {Terrain::Trap0, Terrain::Trap1, Terrain::Den0, Terrain::Den1, Terrain::Water})
        ASSERT_EQ(textures[t].size(), 1u) << "every cell of one kind looks the same";
    std::set<std::string> marks;
    for (Terrain t : {Terrain::Trap0, Terrain::Trap1, Terrain::Den0, Terrain::Den1, Terrain::Water})
    {
        EXPECT_TRUE(marks.insert(*textures[t].begin()).second) << *textures[t].begin();
        EXPECT_EQ(textures[Terrain::Land].count(*textures[t].begin()), 0u)
            << "land looks like a special cell";
    }
}

TEST(PieceModels, TokensStandOnTheirBaseFitACellAndGrowWithRank)
{
    float previous = 0;
    for (const char* animal : kAnimals)
    {
        SCOPED_TRACE(animal);
        XTest::File file = load(std::string("models/pions/") + animal + ".X");
        Box box = boundingBox(file);
        EXPECT_NEAR(box.min.y, 0.0f, 1e-4f);
        float across = std::max(box.max.x - box.min.x, box.max.z - box.min.z) * kPieceScale;
        EXPECT_LT(across, 0.95f);
        EXPECT_GT(box.max.y, previous);
        previous = box.max.y;
        // The board view gives a piece's instance one material for all its
        // subsets, so a token must need no more than one.
        size_t materials = 0;
        for (const XTest::Mesh& mesh : file.meshes)
            materials += mesh.materials.size();
        EXPECT_EQ(materials, 1u);
        for (const char* scheme : {"blanc", "noir", "bleu", "rouge"})
        {
            uint32_t w = 0, h = 0;
            EXPECT_TRUE(decodePng(kData + "/models/pions/" + animal + "_" + scheme + ".png", w, h)) << scheme;
        }
    }
}

TEST(PieceModels, SwimmingRatKeepsItsTopAboveTheWater)
{
    std::string text = readFile(kData + "/Ressources/game.xml");
    MemoryInputStream stream(text.data(), static_cast<uint32_t>(text.size()));
    XmlReader reader;
    std::unique_ptr<XmlElement> root;
    ASSERT_EQ(reader.read(stream, root), ERROR_OK) << reader.errorMessage();
    XmlElement* sets = root->findChild("PionSets");
    ASSERT_NE(sets, nullptr);

    XTest::File board = load("models/boardZorvad/plateau.X");
    Box boardBox = boundingBox(board);
    float waterCellX = boardBox.min.x + 3.5f * (boardBox.max.x - boardBox.min.x) / 9;
    float waterCellZ = boardBox.max.z - 1.5f * (boardBox.max.z - boardBox.min.z) / 7;
    float waterBelowTop = (boardBox.max.y - surfaceAt(board, waterCellX, waterCellZ).height) * kSceneScale;
    float ratHeight = boundingBox(load("models/pions/rat.X")).max.y * kPieceScale;

    for (const auto& child : sets->children())
    {
        ASSERT_TRUE(child->isElement());
        const XmlElement* depth = static_cast<const XmlElement*>(child.get())->findChild("WaterProf");
        ASSERT_NE(depth, nullptr);
        ASSERT_EQ(depth->childCount(), 1u);
        float waterDepth =
            std::strtof(static_cast<const XmlText*>(depth->child(0))->text().c_str(), nullptr) * kSceneScale;
        // The view stands a swimming piece 0.1 below the top, lower again
        // by the set's water depth.
        float bottomBelowTop = 0.1f + waterDepth;
        EXPECT_GT(bottomBelowTop, waterBelowTop) << "the rat floats over the water";
        EXPECT_LT(bottomBelowTop - ratHeight, waterBelowTop - 0.03f) << "the rat sinks out of sight";
    }
}

TEST(ModelGenerator, WritesTheSameBytesEveryTime)
{
    Platform::TemporaryDirectory scratch;
    std::string command = std::string("\"") + MODEL_GENERATOR + "\" \"" + scratch.path() + "\" \"" +
                          EMOJI_FONT + "\" \"" + RANK_FONT + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0);
    size_t compared = 0;
    for (const char* folder : {"models/boardZorvad", "models/pions"})
        for (const auto& entry : std::filesystem::directory_iterator(kData + "/" + folder))
        {
            std::string relative = std::string(folder) + "/" + entry.path().filename().string();
            EXPECT_TRUE(readFile(scratch.path() + relative) == readFile(entry.path().string())) << relative;
            ++compared;
        }
    EXPECT_EQ(compared, 2u + 10u + 8u * 5u);
}
