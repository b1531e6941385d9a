// Skinned meshes split into bone combinations for palette skinning, and the
// processor's palette skinning against the plain skinning of the bones.
#include "Platform/Gpu/RecordingDevice.h"
#include "Platform/Mesh/BlendedMesh.h"
#include "TwoBoneModel.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace Platform;

namespace
{

// Two triangles sharing an edge, each moved by its own bone alone except
// for vertex 3, which no bone moves.
SkinnedMeshPart twoBoneTriangles()
{
    SkinnedMeshPart part;
    part.vertices = {{{0, 0, 0}, {0, 0, -1}, {0, 0}},
                     {{1, 0, 0}, {0, 0, -1}, {1, 0}},
                     {{0, 1, 0}, {0, 0, -1}, {0, 1}},
                     {{1, 1, 0}, {0, 0, -1}, {1, 1}}};
    part.indices = {0, 1, 2, 1, 3, 2};
    part.attributes = {0, 0};
    part.bones.resize(2);
    part.bones[0].frame = part.bones[1].frame = 0;
    part.influenceStart = {0, 1, 2, 3, 3};
    part.influences = {{0, 1}, {1, 1}, {1, 0.5f}};
    part.maxInfluences = 1;
    return part;
}

TEST(BlendedMesh, GroupsHoldNoMoreBonesThanThePalette)
{
    Gpu::RecordingDevice device;
    SkinnedMeshPart part = twoBoneTriangles();
    BlendedMesh blended;
    // Three bones in all: the two and the holder of vertex 3.
    ASSERT_EQ(convertToIndexedBlendedMesh(part, 35, &device, &blended), Gpu::GPU_OK);
    EXPECT_EQ(blended.paletteSize, 3u);
    EXPECT_EQ(blended.holderBone, 2u);
    ASSERT_EQ(blended.combinations.size(), 1u);
    EXPECT_EQ(blended.combinations[0].boneIds, (std::vector<uint32_t>{0, 1, 2}));
    // With two slots the second face needs a group of its own, with its own
    // copies of the shared vertices.
    ASSERT_EQ(convertToIndexedBlendedMesh(part, 2, &device, &blended), Gpu::GPU_OK);
    ASSERT_EQ(blended.combinations.size(), 2u);
    EXPECT_EQ(blended.combinations[0].boneIds, (std::vector<uint32_t>{0, 1}));
    EXPECT_EQ(blended.combinations[1].boneIds, (std::vector<uint32_t>{1, 2}));
    EXPECT_EQ(blended.combinations[1].vertexStart, 3u);
    EXPECT_EQ(blended.mesh->getNumVertices(), 6u);
    EXPECT_EQ(blended.mesh->getFVF(),
              uint32_t(Gpu::FVF_XYZB1 | Gpu::FVF_LASTBETA_UBYTE4 | Gpu::FVF_NORMAL | Gpu::FVF_TEX1));
    EXPECT_EQ(blended.mesh->attributeAt(1), 1u);
    // One slot cannot hold the two bones the first face needs.
    EXPECT_EQ(convertToIndexedBlendedMesh(part, 1, &device, &blended), Gpu::GPU_INVALIDCALL);
    part.bones.clear();
    EXPECT_EQ(convertToIndexedBlendedMesh(part, 35, &device, &blended), Gpu::GPU_INVALIDCALL);
}

TEST(BlendedMesh, PaletteSkinningMatchesSkinningByTheBones)
{
    SkinnedModelData model;
    ASSERT_EQ(readSkinnedModel(kTwoBoneModel.data(), kTwoBoneModel.size(), &model), Gpu::GPU_OK);
    AnimationController controller(model.animationSets);
    controller.bindFrames(model.frames.names);
    controller.setTrackAnimationSet(0, 0);
    controller.setTrackEnable(0, true);
    controller.advanceTime(0.37, nullptr);
    model.frames.resetLocals();
    controller.apply(&model.frames.locals);
    model.frames.updateCombined(matrixTranslation(5, 0, 0));
    const SkinnedMeshPart& part = model.meshes.at(0);
    std::vector<Matrix> bones;
    part.computeBoneMatrices(model.frames, &bones);
    std::vector<SkinnedVertex> expected(part.vertices.size());
    part.skin(bones, model.frames.combined[size_t(part.frame)], expected.data());

    Gpu::RecordingDevice device;
    BlendedMesh blended;
    ASSERT_EQ(convertToIndexedBlendedMesh(part, 35, &device, &blended), Gpu::GPU_OK);
    EXPECT_EQ(blended.maxInfluences, 2u);
    const BoneCombination& group = blended.combinations.at(0);
    std::vector<Matrix> palette(blended.paletteSize);
    for (uint32_t k = 0; k < blended.paletteSize; ++k)
        palette[k] = bones.at(group.boneIds[k]);
    std::vector<SkinnedVertex> skinned(blended.mesh->getNumVertices());
    skinBlendedVertices(*blended.mesh, 0, group.vertexCount, palette.data(), blended.paletteSize,
                        skinned.data());
    // Blended vertex i was source vertex indices[i]'s copy: match by the
    // texture-free position of the bind pose.
    for (size_t v = 0; v < skinned.size(); ++v)
    {
        Vector3 bind;
        std::memcpy(&bind, blended.mesh->vertexData() + v * blended.mesh->getNumBytesPerVertex(),
                    sizeof bind);
        size_t source = 0;
        while (!(part.vertices[source].position == bind))
            ++source;
        EXPECT_NEAR(skinned[v].position.x, expected[source].position.x, 1e-4f) << v;
        EXPECT_NEAR(skinned[v].position.y, expected[source].position.y, 1e-4f) << v;
        EXPECT_NEAR(skinned[v].normal.z, expected[source].normal.z, 1e-4f) << v;
    }
}

} // namespace
