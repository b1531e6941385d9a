#include "Platform/Gpu/RecordingDevice.h"
#include "Platform/Mesh/XMeshLoader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace Platform;
using namespace Platform::Gpu;

namespace
{

struct Vertex
{
    Vector3 position, normal;
    Vector2 uv;
};

class XMeshLoaderTest : public ::testing::Test
{
protected:
    PlatformResult load(const std::string& text)
    {
        return loadMeshFromX(text.data(), text.size(), MESH_MANAGED, &device, &materials, &mesh);
    }

    Vertex vertex(uint32_t index)
    {
        Vertex v;
        std::memcpy(&v, mesh->vertexData() + index * 32, sizeof v);
        return v;
    }
    // The vertex of corner k of face f.
    Vertex corner(uint32_t face, uint32_t k) { return vertex(mesh->indexAt(face * 3 + k)); }

    RecordingDevice device;
    std::vector<XMaterial> materials;
    std::unique_ptr<Mesh> mesh;
};

const char* const kHeader = "xof 0303txt 0032\n";

// A unit square in the plane z = 0 as one four-cornered polygon.
std::string squareMesh(const std::string& extra = "")
{
    return std::string("Mesh Square {\n 4;\n 0;0;0;, 1;0;0;, 1;1;0;, 0;1;0;;\n 1;\n 4;0,1,2,3;;\n") + extra +
           "}\n";
}

} // namespace

TEST_F(XMeshLoaderTest, PolygonFansBecomeTrianglesSharingTheFirstCorner)
{
    ASSERT_EQ(load(std::string(kHeader) + squareMesh()), GPU_OK);
    ASSERT_EQ(mesh->getNumFaces(), 2u);
    EXPECT_EQ(mesh->getNumVertices(), 4u);
    EXPECT_EQ(mesh->getFVF(), FVF_XYZ_NORMAL_TEX1);
    EXPECT_EQ(corner(0, 1).position, (Vector3{1, 0, 0}));
    EXPECT_EQ(corner(0, 2).position, (Vector3{1, 1, 0}));
    EXPECT_EQ(corner(1, 0).position, (Vector3{0, 0, 0}));
    EXPECT_EQ(corner(1, 1).position, (Vector3{1, 1, 0}));
    EXPECT_EQ(corner(1, 2).position, (Vector3{0, 1, 0}));
    // Without MeshNormals the faces give them: clockwise from the front, the
    // front of this square looks down -z... (b - a) x (c - a) = +z.
    EXPECT_EQ(corner(0, 0).normal, (Vector3{0, 0, 1}));
    // Without a material list: one plain material.
    ASSERT_EQ(materials.size(), 1u);
    EXPECT_EQ(materials[0].material.diffuse.r, 1.0f);
    EXPECT_TRUE(materials[0].textureFileName.empty());
}

TEST_F(XMeshLoaderTest, FramesPlaceTheirMeshesThroughEveryParentTransform)
{
    std::string text = std::string(kHeader) +
                       "Frame Outer {\n FrameTransformMatrix { 2,0,0,0, 0,2,0,0, 0,0,2,0, 0,0,0,1;; }\n"
                       " Frame Inner {\n  FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 10,0,0,1;; }\n" +
                       squareMesh() + " }\n}\n" + squareMesh();
    ASSERT_EQ(load(text), GPU_OK);
    ASSERT_EQ(mesh->getNumFaces(), 4u);
    // The framed square is moved by 10 and then doubled: (1, 1, 0) -> (22, 2, 0).
    // The free square stays where it is. Both keep one material each.
    ASSERT_EQ(materials.size(), 2u);
    bool moved = false, plain = false;
    for (uint32_t v = 0; v < mesh->getNumVertices(); ++v)
    {
        moved |= vertex(v).position == Vector3{22, 2, 0};
        plain |= vertex(v).position == Vector3{1, 1, 0};
    }
    EXPECT_TRUE(moved);
    EXPECT_TRUE(plain);
    // The mesh outside any frame comes first in the merged order (root frame
    // meshes, then frames), so its faces carry attribute 0.
    EXPECT_EQ(mesh->attributeAt(0), 0u);
    EXPECT_EQ(corner(0, 2).position, (Vector3{1, 1, 0}));
    EXPECT_EQ(corner(2, 2).position, (Vector3{22, 2, 0}));
}

TEST_F(XMeshLoaderTest, NormalsAndTextureCoordinatesSplitSharedPositions)
{
    // Two triangles share an edge but have their own normals there.
    std::string text = std::string(kHeader) +
                       "Mesh Roof {\n 4;\n 0;0;0;, 1;0;0;, 1;1;0;, 0;1;0;;\n 2;\n 3;0,1,2;, 3;0,2,3;;\n"
                       " MeshNormals { 2; 0;0;-1;, 0;1;0;; 2; 3;0,0,0;, 3;1,1,1;; }\n"
                       " MeshTextureCoords { 4; 0;0;, 1;0;, 1;1;, 0;1;; }\n}\n";
    ASSERT_EQ(load(text), GPU_OK);
    ASSERT_EQ(mesh->getNumFaces(), 2u);
    EXPECT_EQ(mesh->getNumVertices(), 6u);
    EXPECT_EQ(corner(0, 0).normal, (Vector3{0, 0, -1}));
    EXPECT_EQ(corner(1, 0).normal, (Vector3{0, 1, 0}));
    EXPECT_EQ(corner(1, 2).uv.x, 0.0f);
    EXPECT_EQ(corner(1, 2).uv.y, 1.0f);
    EXPECT_EQ(corner(0, 1).uv.x, 1.0f);
}

TEST_F(XMeshLoaderTest, MaterialListGivesOneSubsetPerMaterialWithTextureNames)
{
    std::string text =
        std::string(kHeader) +
        "template Material { <3D82AB4D-62DA-11cf-AB39-0020AF71E433> ColorRGBA faceColor; FLOAT "
        "power; [...] }\n"
        "Material Shared { 0.5;0.25;1;0.75;; 8; 0.1;0.2;0.3;; 0;0;0.5;; TextureFilename { "
        "\"wood.png\"; } }\n"
        "Mesh Pair {\n 6;\n 0;0;0;, 1;0;0;, 1;1;0;, 5;0;0;, 6;0;0;, 6;1;0;;\n 2;\n 3;3,4,5;, "
        "3;0,1,2;;\n"
        " MeshMaterialList { 2; 2; 1, 0;;\n  { Shared }\n  Material Red { 1;0;0;1;; 0; 0;0;0;; "
        "0;0;0;; }\n }\n}\n";
    ASSERT_EQ(load(text), GPU_OK);
    ASSERT_EQ(materials.size(), 2u);
    EXPECT_EQ(materials[0].textureFileName, "wood.png");
    EXPECT_EQ(materials[0].material.diffuse.g, 0.25f);
    EXPECT_EQ(materials[0].material.diffuse.a, 0.75f);
    EXPECT_EQ(materials[0].material.power, 8.0f);
    EXPECT_EQ(materials[0].material.specular.b, 0.3f);
    EXPECT_EQ(materials[0].material.emissive.b, 0.5f);
    EXPECT_EQ(materials[1].material.diffuse.r, 1.0f);
    EXPECT_TRUE(materials[1].textureFileName.empty());
    // Faces sorted by subset: the second face (material 0) comes first.
    EXPECT_EQ(mesh->attributeAt(0), 0u);
    EXPECT_EQ(corner(0, 0).position, (Vector3{0, 0, 0}));
    EXPECT_EQ(mesh->attributeAt(1), 1u);
    const auto& table = mesh->getAttributeTable();
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(table[1].attribId, 1u);
    EXPECT_EQ(table[1].faceStart, 1u);
    EXPECT_EQ(table[1].faceCount, 1u);
}

TEST_F(XMeshLoaderTest, ShortFaceMaterialListRepeatsItsLastEntry)
{
    std::string text =
        std::string(kHeader) +
        "Mesh M {\n 3; 0;0;0;, 1;0;0;, 0;1;0;;\n 3; 3;0,1,2;, 3;0,2,1;, 3;1,0,2;;\n"
        " MeshMaterialList { 2; 1; 1;; Material A { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; } Material B { "
        "0;0;0;1;; 0; 0;0;0;; 0;0;0;; } }\n}\n";
    ASSERT_EQ(load(text), GPU_OK);
    for (uint32_t face = 0; face < 3; ++face)
        EXPECT_EQ(mesh->attributeAt(face), 1u);
}

TEST_F(XMeshLoaderTest, DamagedFilesAreRefused)
{
    const std::string cases[] = {
        "",
        "xof 0303bin 0032",
        std::string(kHeader) + "Mesh M { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,7;; }", // index out of range
        std::string(kHeader) + "Mesh M { 4000000000; 0;0;0;; 1; 3;0,0,0;; }",        // count beyond the data
        std::string(kHeader) + "Mesh M { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 2;0,1;; }",   // two corners
        std::string(kHeader) + "Mesh M { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;;",   // unclosed
        std::string(kHeader) + "Mesh M { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; "
                               "MeshMaterialList { 1; 1; 0;; { Missing } } }", // unknown reference
        std::string(kHeader) + "Mesh M { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; "
                               "MeshTextureCoords { 2; 0;0;, 1;1;; } }", // too few coordinates
        std::string(kHeader) + "Mesh M { 3; 0;0;0;, 1e999;0;0;, 0;1;0;; 1; 3;0,1,2;; }", // infinite
        std::string(kHeader) + "Frame A { Mesh M { 0; 0; } }",                           // nothing to draw
        std::string(kHeader) + std::string(200, '{'),
    };
    for (const std::string& text : cases)
    {
        EXPECT_NE(load(text), GPU_OK) << text;
        EXPECT_EQ(mesh, nullptr);
    }
}

TEST_F(XMeshLoaderTest, NestingBeyondTheLimitIsRefused)
{
    std::string deep = kHeader;
    for (uint32_t i = 0; i < X_MAX_DEPTH + 1; ++i)
        deep += "Frame F {\n";
    deep += squareMesh();
    for (uint32_t i = 0; i < X_MAX_DEPTH + 1; ++i)
        deep += "}\n";
    EXPECT_EQ(load(deep), MESH_INVALIDDATA);
}

TEST_F(XMeshLoaderTest, FrameTreeKeepsNamesAndHierarchyForLaterReaders)
{
    std::string text =
        std::string(kHeader) + "// comment\nHeader { 1; 0; 1; }\n# another\n" +
        "Frame Body { Frame Head { FrameTransformMatrix { 1,0,0,0,0,1,0,0,0,0,1,0,0,5,0,1;; } " +
        squareMesh() + " } Frame Tail { } }\n";
    XObject file;
    ASSERT_TRUE(parseXFile(text.data(), text.size(), &file));
    XFrame root;
    ASSERT_EQ(readXFrames(file, &root), GPU_OK);
    ASSERT_EQ(root.children.size(), 1u);
    const XFrame& body = *root.children[0];
    EXPECT_EQ(body.name, "Body");
    ASSERT_EQ(body.children.size(), 2u);
    EXPECT_EQ(body.children[0]->name, "Head");
    EXPECT_EQ(body.children[0]->transform.m[3][1], 5.0f);
    ASSERT_EQ(body.children[0]->meshes.size(), 1u);
    EXPECT_EQ(body.children[0]->meshes[0].name, "Square");
    EXPECT_EQ(body.children[1]->name, "Tail");
}
