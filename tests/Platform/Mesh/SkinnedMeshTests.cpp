#include "Platform/Mesh/SkinnedMesh.h"
#include "TwoBoneModel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace Platform;

namespace
{

constexpr float kHalfRoot2 = 0.70710678f;

void expectNear(const Vector3& actual, const Vector3& expected)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-4f);
    EXPECT_NEAR(actual.y, expected.y, 1e-4f);
    EXPECT_NEAR(actual.z, expected.z, 1e-4f);
}

void expectNear(const Matrix& actual, const Matrix& expected)
{
    for (int r = 0; r < 4; ++r)
    {
        for (int c = 0; c < 4; ++c)
            EXPECT_NEAR(actual.m[r][c], expected.m[r][c], 1e-4f) << "row " << r << " column " << c;
    }
}

class SkinnedMeshTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(readSkinnedModel(kTwoBoneModel.data(), kTwoBoneModel.size(), &model), Gpu::GPU_OK);
        controller = std::make_unique<AnimationController>(model.animationSets);
        controller->bindFrames(model.frames.names);
        bone1 = model.frames.find("Bone1");
        bone2 = model.frames.find("Bone2");
        walk = controller->findAnimationSet("Walk");
        lift = controller->findAnimationSet("Lift");
        ASSERT_GE(bone1, 0);
        ASSERT_GE(bone2, 0);
    }

    void play(int32_t set, double seconds)
    {
        controller->setTrackAnimationSet(0, set);
        controller->setTrackEnable(0, true);
        controller->setTrackPosition(0, 0);
        controller->advanceTime(seconds, nullptr);
        pose();
    }

    void pose()
    {
        model.frames.resetLocals();
        controller->apply(&model.frames.locals);
        model.frames.updateCombined(Matrix{});
    }

    std::vector<SkinnedVertex> skinned()
    {
        const SkinnedMeshPart& part = model.meshes.at(0);
        std::vector<Matrix> bones;
        part.computeBoneMatrices(model.frames, &bones);
        std::vector<SkinnedVertex> out(part.vertices.size());
        part.skin(bones, model.frames.combined[size_t(part.frame)], out.data());
        return out;
    }

    // The skinned vertex that started at the given bind position.
    Vector3 moved(const std::vector<SkinnedVertex>& out, const Vector3& bind)
    {
        const SkinnedMeshPart& part = model.meshes.at(0);
        for (size_t v = 0; v < part.vertices.size(); ++v)
        {
            if (part.vertices[v].position == bind)
                return out[v].position;
        }
        ADD_FAILURE() << "no vertex at the bind position";
        return {};
    }

    SkinnedModelData model;
    std::unique_ptr<AnimationController> controller;
    int32_t bone1 = -1, bone2 = -1, walk = -1, lift = -1;
};

TEST_F(SkinnedMeshTest, HierarchyAndSkinAreReadAsWritten)
{
    // The root, the file's Root, Bone1, Bone2 and the unnamed frame.
    ASSERT_EQ(model.frames.size(), 5u);
    EXPECT_EQ(model.frames.parents[size_t(bone2)], bone1);
    EXPECT_EQ(model.frames.find(X_NO_NAME), 4);
    ASSERT_EQ(model.meshes.size(), 1u);
    const SkinnedMeshPart& part = model.meshes[0];
    EXPECT_EQ(part.frame, 4);
    EXPECT_EQ(part.vertices.size(), 4u);
    EXPECT_EQ(part.indices.size(), 6u);
    ASSERT_EQ(part.bones.size(), 2u);
    EXPECT_EQ(part.bones[1].frame, bone2);
    EXPECT_EQ(part.maxInfluences, 2u);
    EXPECT_FLOAT_EQ(part.bones[1].offset.m[3][1], -1);
    ASSERT_EQ(model.animationSets.size(), 2u);
    EXPECT_EQ(model.animationSets[0].ticksPerSecond, 10);
    EXPECT_DOUBLE_EQ(model.animationSets[0].period(), 1.0);
}

TEST_F(SkinnedMeshTest, BoneMatricesAtStartMiddleEndAndAfterLooping)
{
    play(walk, 0);
    expectNear(model.frames.combined[size_t(bone1)], Matrix{});
    expectNear(model.frames.combined[size_t(bone2)], matrixTranslation(0, 1, 0));

    play(walk, 0.5);
    Matrix turned = matrixRotationZ(0.25f * 3.14159265f);
    expectNear(model.frames.combined[size_t(bone1)], turned);
    expectNear(model.frames.combined[size_t(bone2)], matrixTranslation(1, 1, 0) * turned);

    // The last key holds at the very end of the period.
    FramePose end = sampleAnimation(model.animationSets[size_t(walk)].animations[1], 10);
    expectNear(end.translation, {2, 1, 0});
    play(walk, 0.999999);
    expectNear(model.frames.combined[size_t(bone1)], matrixRotationZ(0.5f * 3.14159265f));

    // A looping set starts again: 1.25 s is 0.25 s into the second turn.
    play(walk, 1.25);
    Matrix looped = model.frames.combined[size_t(bone2)];
    play(walk, 0.25);
    expectNear(looped, model.frames.combined[size_t(bone2)]);
    expectNear(looped, matrixTranslation(0.5f, 1, 0) * matrixRotationZ(0.125f * 3.14159265f));
}

TEST_F(SkinnedMeshTest, SkinnedPositionsMatchHandComputedValues)
{
    play(walk, 0);
    std::vector<SkinnedVertex> out = skinned();
    // At the bind pose every bone matrix is the identity.
    for (size_t v = 0; v < out.size(); ++v)
        expectNear(out[v].position, model.meshes[0].vertices[v].position);

    play(walk, 0.5);
    out = skinned();
    // Vertex 3: slid by (1, 0, 0) to (2, 1, 0), then turned 45 degrees.
    expectNear(moved(out, {1, 1, 0}), {kHalfRoot2, 3 * kHalfRoot2, 0});
    expectNear(moved(out, {1, 0, 0}), {kHalfRoot2, kHalfRoot2, 0});

    play(walk, 0.999999);
    out = skinned();
    expectNear(moved(out, {1, 1, 0}), {-1, 3, 0});
    expectNear(moved(out, {1, 0, 0}), {0, 1, 0});
    // Half of (-1, 0, 0) by Bone1 and half of (-1, 2, 0) by Bone2.
    expectNear(moved(out, {0, 1, 0}), {-1, 1, 0});
    expectNear(moved(out, {0, 0, 0}), {0, 0, 0});
    // Normals turn with the bones: +z stays +z under a turn about z.
    expectNear(out[0].normal, {0, 0, 1});
}

TEST_F(SkinnedMeshTest, TracksBlendByRelativeWeight)
{
    controller->setTrackAnimationSet(0, walk);
    controller->setTrackAnimationSet(1, lift);
    controller->setTrackEnable(0, true);
    controller->setTrackEnable(1, true);
    controller->setTrackWeight(0, 0.25f);
    controller->setTrackWeight(1, 0.75f);
    pose();
    // Bone2: a quarter of (0, 1, 0) and three quarters of (0, 3, 0).
    expectNear(model.frames.combined[size_t(bone2)], matrixTranslation(0, 2.5f, 0));

    // Only Walk moves Bone1, so it takes Walk's pose whatever its weight.
    controller->advanceTime(0.5, nullptr);
    pose();
    expectNear(model.frames.locals[size_t(bone1)], matrixRotationZ(0.25f * 3.14159265f));

    // A disabled track gives nothing; a track's speed scales its time.
    controller->setTrackEnable(1, false);
    controller->setTrackSpeed(0, 0.5f);
    controller->setTrackPosition(0, 0);
    controller->advanceTime(1.0, nullptr);
    pose();
    expectNear(model.frames.locals[size_t(bone2)], matrixTranslation(1, 1, 0));
    EXPECT_DOUBLE_EQ(controller->getTime(), 1.5);

    // Weights adding up to nothing leave the frames as the file has them.
    controller->setTrackWeight(0, 0);
    pose();
    expectNear(model.frames.locals[size_t(bone2)], matrixTranslation(0, 1, 0));
}

TEST_F(SkinnedMeshTest, CallbackKeysAreReportedOncePerPass)
{
    struct Recorder : AnimationCallbackHandler
    {
        std::vector<uint32_t> seen;
        void handleCallback(uint32_t track, uint32_t data) override { seen.push_back(track * 100 + data); }
    } recorder;
    // A copy shares the sets until it changes its keys.
    AnimationController copy = *controller;
    ASSERT_TRUE(copy.setCallbackKeys(uint32_t(walk), {{10, 2}, {8, 1}}));
    EXPECT_TRUE(controller->getAnimationSet(uint32_t(walk))->callbacks.empty());
    copy.setTrackAnimationSet(1, walk);
    copy.setTrackEnable(1, true);
    copy.advanceTime(0.5, &recorder);
    EXPECT_TRUE(recorder.seen.empty());
    copy.advanceTime(0.5, &recorder);
    EXPECT_EQ(recorder.seen, (std::vector<uint32_t>{101, 102}));
    copy.advanceTime(1.0, &recorder);
    EXPECT_EQ(recorder.seen, (std::vector<uint32_t>{101, 102, 101, 102}));
}

TEST(SkinnedMeshFileTest, DamagedFilesAreRefused)
{
    SkinnedModelData model;
    auto refused = [&](const std::string& from, const std::string& to)
    {
        std::string text = kTwoBoneModel;
        size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        text.replace(at, from.size(), to);
        return readSkinnedModel(text.data(), text.size(), &model) == MESH_INVALIDDATA && model.meshes.empty();
    };
    EXPECT_TRUE(refused("2, 3; 0.5", "2, 7; 0.5")) << "vertex index past the positions";
    EXPECT_TRUE(refused("1.0, 1.0, 0.5", "1.0, 1.5, 0.5")) << "weight above one";
    EXPECT_TRUE(refused("1.0, 1.0, 0.5", "1.0, -1.0, 0.5")) << "negative weight";
    EXPECT_TRUE(refused("\"Bone2\"; 2", "\"Bone9\"; 2")) << "bone naming no frame";
    EXPECT_TRUE(refused("{ Bone2 }\n    AnimationKey { 2; 2", "{ Nowhere }\n    AnimationKey { 2; 2"));
    EXPECT_TRUE(refused("XSkinMeshHeader { 2; 2; 2; }", "XSkinMeshHeader { 2; 2; 3; }")) << "bone count";
    EXPECT_TRUE(refused("3; 0, 1, 2; 1.0", "300; 0, 1, 2; 1.0")) << "more weights than vertices";
    EXPECT_TRUE(refused("10; 3; 2, 1, 0", "10; 2; 2, 1")) << "position key of two values";
    EXPECT_TRUE(refused("10; 3; 2, 1, 0", "-10; 3; 2, 1, 0")) << "negative time";
    EXPECT_TRUE(refused("0; 2; 0; 4; 1, 0, 0, 0", "3; 2; 0; 4; 1, 0, 0, 0")) << "unknown key type";
    EXPECT_TRUE(refused("0; 4; 1, 0, 0, 0", "0; 4; 0, 0, 0, 0")) << "zero quaternion";
    EXPECT_TRUE(refused("AnimTicksPerSecond { 10; }", "AnimTicksPerSecond { 0; }"));
    // Keys out of order.
    EXPECT_TRUE(
        refused("AnimationKey { 2; 2; 0; 3; 0, 1, 0;;, 10;", "AnimationKey { 2; 2; 20; 3; 0, 1, 0;;, 10;"));
    // Every cut of the file is refused or read whole, never read past.
    for (size_t size = 0; size < kTwoBoneModel.size(); size += 7)
    {
        std::string cut = kTwoBoneModel.substr(0, size);
        readSkinnedModel(cut.data(), cut.size(), &model);
    }
}

TEST(SkinnedMeshFileTest, MoreBonesOnAVertexThanAllowedIsRefused)
{
    std::string bones;
    for (uint32_t i = 0; i <= X_MAX_INFLUENCES; ++i)
        bones += "SkinWeights { \"Root\"; 1; 0; 0.1; 1,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1;; }\n";
    std::string text =
        "xof 0303txt 0032\nFrame Root { Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3; 0,1,2;;\n" + bones + "} }\n";
    SkinnedModelData model;
    EXPECT_EQ(readSkinnedModel(text.data(), text.size(), &model), MESH_INVALIDDATA);
    size_t last = text.rfind("SkinWeights");
    text.erase(last, text.find('\n', last) - last);
    EXPECT_EQ(readSkinnedModel(text.data(), text.size(), &model), Gpu::GPU_OK);
    EXPECT_EQ(model.meshes.at(0).maxInfluences, X_MAX_INFLUENCES);
}

} // namespace

TEST(SkinnedMeshFileTest, ScaleAndMatrixKeysInterpolateBetweenKeysAndHoldOutside)
{
    const std::string text =
        "xof 0303txt 0032\n"
        "Frame A { Frame B { } }\n"
        "AnimationSet S {\n"
        " Animation { {A} AnimationKey { 1; 2; 0; 3; 1,1,1;;, 4; 3; 3,1,1;;; }\n"
        "   AnimationKey { 2; 1; 2; 3; 0,0,5;;; } }\n"
        " Animation { {B} AnimationKey { 4; 2; 0; 16; 1,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1;;,\n"
        "   8; 16; 1,0,0,0, 0,1,0,0, 0,0,1,0, 8,0,0,1;;; } }\n"
        "}\n";
    SkinnedModelData model;
    ASSERT_EQ(readSkinnedModel(text.data(), text.size(), &model), Gpu::GPU_OK);
    const AnimationSet& set = model.animationSets.at(0);
    EXPECT_DOUBLE_EQ(set.period(), 8.0 / X_DEFAULT_TICKS_PER_SECOND);
    FramePose a = sampleAnimation(set.animations[0], 1);
    expectNear(a.scale, {1.5f, 1, 1});
    // A single position key holds before and after it.
    expectNear(a.translation, {0, 0, 5});
    expectNear(sampleAnimation(set.animations[0], 100).scale, {3, 1, 1});
    FramePose b = sampleAnimation(set.animations[1], 2);
    ASSERT_TRUE(b.isMatrix);
    expectNear(b.toMatrix(), matrixTranslation(2, 0, 0));
    // Frame A: scaled, then moved.
    expectNear(a.toMatrix(), matrixScaling(1.5f, 1, 1) * matrixTranslation(0, 0, 5));
}
