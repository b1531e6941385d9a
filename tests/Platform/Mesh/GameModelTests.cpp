// Every model the build generates loads, with its textures beside it.
#include "Platform/Gpu/RecordingDevice.h"
#include "Platform/Mesh/XMeshLoader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

using namespace Platform;

TEST(GameModels, EveryGeneratedModelLoadsWithItsTextures)
{
    std::filesystem::path models = std::filesystem::path(VELMORIQUE_DATA_DIR) / "models";
    if (!std::filesystem::is_directory(models))
        GTEST_SKIP() << "no generated models in " << models;
    Gpu::RecordingDevice device;
    int count = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(models))
    {
        if (entry.path().extension() != ".X")
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::vector<XMaterial> materials;
        std::unique_ptr<Mesh> mesh;
        ASSERT_EQ(loadMeshFromX(bytes.data(), bytes.size(), MESH_SYSTEMMEM, &device, &materials, &mesh),
                  Gpu::GPU_OK)
            << entry.path();
        EXPECT_GT(mesh->getNumFaces(), 0u);
        EXPECT_FALSE(materials.empty());
        for (const XMaterial& material : materials)
        {
            if (material.textureFileName.empty())
                continue;
            EXPECT_TRUE(std::filesystem::exists(entry.path().parent_path() / material.textureFileName))
                << material.textureFileName;
        }
        ++count;
    }
    EXPECT_GT(count, 0);
}
