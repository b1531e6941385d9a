#include "Engine/ChildListNode.h"
#include "Engine3DD3D/TransformD3D.h"
#include "EngineFixture.h"

using namespace Engine3DTest;
using namespace Platform;
using namespace Platform::Gpu;

namespace
{
class TransformD3DTest : public EngineFixture
{
};

Matrix rows(std::initializer_list<float> values)
{
    Matrix m;
    auto it = values.begin();
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            m.m[r][c] = *it++;
    return m;
}
} // namespace

TEST_F(TransformD3DTest, DefaultPlacementIsTheIdentity)
{
    Transform3D t;
    auto* object = static_cast<TransformD3D*>(t.mTransform.get());
    ASSERT_NE(object, nullptr);
    EXPECT_TRUE(matricesNear(object->getWorld(), Matrix{}));
}

TEST_F(TransformD3DTest, WorldIsScaleThenLookAtRotationThenMove)
{
    Transform3D t;
    t.mScale = {2, 3, 4};
    t.mDirection = {1, 0, 0};
    t.mPosition = {10, 20, 30};
    t.update();
    auto* object = static_cast<TransformD3D*>(t.mTransform.get());
    // Facing +x with y up: the rotation rows are (0 0 1), (0 1 0), (-1 0 0);
    // each row scaled, then the move in the fourth row.
    EXPECT_TRUE(matricesNear(object->getWorld(), rows({0, 0, 2, 0, 0, 3, 0, 0, -4, 0, 0, 0, 10, 20, 30, 1})));
    Vector3 out, back;
    t.localToParent({1, 1, 1}, &out);
    EXPECT_NEAR(out.x, 6, 1e-5f);
    EXPECT_NEAR(out.y, 23, 1e-5f);
    EXPECT_NEAR(out.z, 32, 1e-5f);
    t.parentToLocal(out, &back);
    EXPECT_NEAR(back.x, 1, 1e-5f);
    EXPECT_NEAR(back.y, 1, 1e-5f);
    EXPECT_NEAR(back.z, 1, 1e-5f);
}

TEST_F(TransformD3DTest, EnterMultipliesOntoTheDeviceWorldAndLeavePutsItBack)
{
    Matrix parent = matrixTranslation(0, 0, 5);
    device.setTransform(TS_WORLD, parent);
    Transform3D t;
    t.mPosition = {1, 0, 0};
    t.update();
    t.enter();
    Matrix world;
    device.getTransform(TS_WORLD, &world);
    EXPECT_TRUE(matricesNear(world, matrixTranslation(1, 0, 5)));
    t.leave();
    device.getTransform(TS_WORLD, &world);
    EXPECT_TRUE(matricesNear(world, parent));
}

TEST_F(TransformD3DTest, AFlatScaleMapsPointsBackToTheOrigin)
{
    Transform3D t;
    t.mScale = {0, 1, 1};
    t.mPosition = {3, 3, 3};
    t.update();
    Vector3 out{9, 9, 9};
    t.parentToLocal({5, 5, 5}, &out);
    EXPECT_EQ(out, (Vector3{0, 0, 0}));
}
