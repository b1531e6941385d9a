#include "Platform/Gpu/RecordingDevice.h"
#include "Platform/Mesh/MeshIntersect.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace Platform;
using namespace Platform::Gpu;

namespace
{

// Two triangles with known corners, the far one at z = 10, the near one at z = 5.
std::unique_ptr<Mesh> twoTriangles(Device& device, uint32_t options = MESH_MANAGED)
{
    std::unique_ptr<Mesh> mesh;
    EXPECT_EQ(Mesh::create(2, 6, options, FVF_XYZ_NORMAL_TEX1, &device, &mesh), GPU_OK);
    float vertices[6][8] = {{0, 0, 10}, {4, 0, 10}, {0, 4, 10}, {0, 0, 5}, {0, 2, 5}, {2, 0, 5}};
    void* data = nullptr;
    EXPECT_EQ(mesh->lockVertexBuffer(0, &data), GPU_OK);
    std::memcpy(data, vertices, sizeof vertices);
    mesh->unlockVertexBuffer();
    EXPECT_EQ(mesh->lockIndexBuffer(0, &data), GPU_OK);
    if (options & MESH_32BIT)
    {
        uint32_t indices[6] = {0, 1, 2, 3, 4, 5};
        std::memcpy(data, indices, sizeof indices);
    }
    else
    {
        uint16_t indices[6] = {0, 1, 2, 3, 4, 5};
        std::memcpy(data, indices, sizeof indices);
    }
    mesh->unlockIndexBuffer();
    return mesh;
}

} // namespace

TEST(MeshIntersect, TriangleHitGivesBarycentricCoordinatesAndDistance)
{
    float u, v, t;
    ASSERT_TRUE(intersectTriangle({0, 0, 10}, {4, 0, 10}, {0, 4, 10}, {1, 2, 0}, {0, 0, 2}, &u, &v, &t));
    EXPECT_FLOAT_EQ(u, 0.25f);
    EXPECT_FLOAT_EQ(v, 0.5f);
    // Distances count in lengths of the direction.
    EXPECT_FLOAT_EQ(t, 5.0f);
    // Seen from behind it is hit as well.
    EXPECT_TRUE(intersectTriangle({0, 0, 10}, {4, 0, 10}, {0, 4, 10}, {1, 1, 20}, {0, 0, -1}, &u, &v, &t));
    EXPECT_FLOAT_EQ(t, 10.0f);
}

TEST(MeshIntersect, MissesOutsideBehindAndAlongThePlane)
{
    float u, v, t;
    EXPECT_FALSE(intersectTriangle({0, 0, 10}, {4, 0, 10}, {0, 4, 10}, {3, 3, 0}, {0, 0, 1}, &u, &v, &t));
    EXPECT_FALSE(intersectTriangle({0, 0, 10}, {4, 0, 10}, {0, 4, 10}, {1, 1, 0}, {0, 0, -1}, &u, &v, &t));
    EXPECT_FALSE(intersectTriangle({0, 0, 10}, {4, 0, 10}, {0, 4, 10}, {-1, 1, 10}, {1, 0, 0}, &u, &v, &t));
    EXPECT_FALSE(intersectTriangle({0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, -1}, {0, 0, 1}, &u, &v, &t));
}

TEST(MeshIntersect, NearestFaceOfTheMeshWins)
{
    RecordingDevice device;
    for (uint32_t options : {uint32_t(MESH_MANAGED), uint32_t(MESH_MANAGED | MESH_32BIT)})
    {
        auto mesh = twoTriangles(device, options);
        MeshHit hit;
        ASSERT_EQ(intersectMesh(*mesh, {0.5f, 0.5f, 0}, {0, 0, 1}, &hit), GPU_OK);
        EXPECT_TRUE(hit.hit);
        EXPECT_EQ(hit.hitCount, 2u);
        EXPECT_EQ(hit.face, 1u);
        EXPECT_FLOAT_EQ(hit.distance, 5.0f);
        // Only the far triangle reaches (3, 0.5).
        ASSERT_EQ(intersectMesh(*mesh, {3, 0.5f, 0}, {0, 0, 1}, &hit), GPU_OK);
        EXPECT_EQ(hit.face, 0u);
        EXPECT_EQ(hit.hitCount, 1u);
        ASSERT_EQ(intersectMesh(*mesh, {9, 9, 0}, {0, 0, 1}, &hit), GPU_OK);
        EXPECT_FALSE(hit.hit);
    }
}

TEST(MeshIntersect, IndicesOutsideTheVerticesAreSkipped)
{
    RecordingDevice device;
    auto mesh = twoTriangles(device);
    void* data = nullptr;
    mesh->lockIndexBuffer(0, &data);
    static_cast<uint16_t*>(data)[4] = 900;
    mesh->unlockIndexBuffer();
    MeshHit hit;
    ASSERT_EQ(intersectMesh(*mesh, {0.5f, 0.5f, 0}, {0, 0, 1}, &hit), GPU_OK);
    EXPECT_EQ(hit.face, 0u);
}

TEST(Mesh, CreationRefusesWhatCannotBeDrawn)
{
    RecordingDevice device;
    std::unique_ptr<Mesh> mesh;
    EXPECT_EQ(Mesh::create(0, 3, MESH_MANAGED, FVF_XYZ_NORMAL_TEX1, &device, &mesh), GPU_INVALIDCALL);
    EXPECT_EQ(Mesh::create(1, 0, MESH_MANAGED, FVF_XYZ_NORMAL_TEX1, &device, &mesh), GPU_INVALIDCALL);
    EXPECT_EQ(Mesh::create(1, 70000, MESH_MANAGED, FVF_XYZ_NORMAL_TEX1, &device, &mesh), GPU_INVALIDCALL);
    EXPECT_EQ(Mesh::create(1, 3, MESH_MANAGED, FVF_NORMAL, &device, &mesh), GPU_INVALIDCALL);
    EXPECT_EQ(mesh, nullptr);
    EXPECT_EQ(Mesh::create(1, 70000, MESH_MANAGED | MESH_32BIT, FVF_XYZ_NORMAL_TEX1, &device, &mesh), GPU_OK);
}

TEST(Mesh, SubsetsDrawTheirRunsOfFaces)
{
    RecordingDevice device;
    auto mesh = twoTriangles(device);
    uint32_t* attributes = nullptr;
    ASSERT_EQ(mesh->lockAttributeBuffer(0, &attributes), GPU_OK);
    attributes[0] = 3;
    attributes[1] = 1;
    ASSERT_EQ(mesh->unlockAttributeBuffer(), GPU_OK);
    const auto& table = mesh->getAttributeTable();
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(table[1].attribId, 1u);
    EXPECT_EQ(table[1].vertexStart, 3u);
    EXPECT_EQ(table[1].vertexCount, 3u);

    device.clearCalls();
    ASSERT_EQ(mesh->drawSubset(1), GPU_OK);
    EXPECT_EQ(device.drawCount(), 1u);
    EXPECT_EQ(device.countCalls("drawIndexedPrimitive(4, 0, 3, 3, 3, 1)"), 1u);
    ASSERT_EQ(mesh->drawSubset(2), GPU_OK);
    EXPECT_EQ(device.drawCount(), 1u);

    mesh->sortFacesByAttribute();
    EXPECT_EQ(mesh->attributeAt(0), 1u);
    EXPECT_EQ(mesh->indexAt(0), 3u);
    EXPECT_EQ(mesh->getAttributeTable()[0].faceStart, 0u);
}
