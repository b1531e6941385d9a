#include "Platform/Math/Matrix.h"
#include "Platform/Math/Quaternion.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace Platform;

namespace
{

const float pi = 3.14159265f;

void expectNear(const Vector3& actual, const Vector3& expected, float tolerance = 1e-5f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

void expectNear(const Matrix& actual, const Matrix& expected, float tolerance = 1e-5f)
{
    for (int r = 0; r < 4; ++r)
    {
        for (int c = 0; c < 4; ++c)
        {
            EXPECT_NEAR(actual(r, c), expected(r, c), tolerance) << r << "," << c;
        }
    }
}

} // namespace

TEST(Matrix, RowVectorsApplyTheLeftMatrixFirst)
{
    Matrix m = matrixScaling(2, 3, 4) * matrixTranslation(1, 2, 3);
    expectNear(vec3TransformCoord({1, 1, 1}, m), {3, 5, 7});
    Matrix n = matrixTranslation(1, 2, 3) * matrixScaling(2, 3, 4);
    expectNear(vec3TransformCoord({1, 1, 1}, n), {4, 9, 16});
    // Normals ignore the translation.
    expectNear(vec3TransformNormal({1, 1, 1}, m), {2, 3, 4});
}

TEST(Matrix, RotationsTurnClockwiseLookingDownTheAxis)
{
    expectNear(vec3TransformCoord({0, 1, 0}, matrixRotationX(pi / 2)), {0, 0, 1});
    expectNear(vec3TransformCoord({0, 0, 1}, matrixRotationY(pi / 2)), {1, 0, 0});
    expectNear(vec3TransformCoord({1, 0, 0}, matrixRotationZ(pi / 2)), {0, 1, 0});
    expectNear(matrixRotationAxis({0, 0, 2}, 0.7f), matrixRotationZ(0.7f));
    expectNear(matrixRotationAxis({1, 0, 0}, -1.2f), matrixRotationX(-1.2f));
}

TEST(Matrix, InverseUndoesAComposedTransform)
{
    Matrix m = matrixScaling(2, 0.5f, 3) * matrixRotationAxis({1, 2, 3}, 0.8f) * matrixTranslation(4, -5, 6);
    Matrix inverse;
    float determinant = 0;
    ASSERT_TRUE(matrixInverse(m, inverse, &determinant));
    EXPECT_NEAR(determinant, 3.0f, 1e-4f);
    expectNear(m * inverse, Matrix{}, 1e-5f);
    expectNear(inverse * m, Matrix{}, 1e-5f);
    Matrix untouched = matrixTranslation(9, 9, 9);
    EXPECT_FALSE(matrixInverse(matrixScaling(1, 0, 1), untouched));
    EXPECT_EQ(untouched, matrixTranslation(9, 9, 9));
}

TEST(Matrix, LeftHandedLookAtPutsTheTargetAlongPositiveZ)
{
    // The engine's default camera.
    Matrix view = matrixLookAtLH({0, 500, -1500}, {0, 0, 0}, {0, 0, 1});
    float length = std::sqrt(500.0f * 500 + 1500.0f * 1500);
    expectNear(vec3TransformCoord({0, 0, 0}, view), {0, 0, length}, 1e-2f);
    expectNear(vec3TransformCoord({0, 500, -1500}, view), {0, 0, 0}, 1e-3f);
    // x axis = normalize(up x z): (0,0,1) x (0, -1/sqrt10, 3/sqrt10) = (1/sqrt10 * ... ) along +x.
    Vector3 right = vec3TransformNormal({1, 0, 0}, view);
    EXPECT_NEAR(right.x, 1.0f, 1e-5f);
}

TEST(Matrix, RightHandedLookAtLooksAlongNegativeZ)
{
    Matrix view = matrixLookAtRH({0, 0, 0}, {0, 0, -1}, {0, 1, 0});
    expectNear(view, Matrix{});
    Matrix turned = matrixLookAtRH({0, 0, 0}, {1, 0, 0}, {0, 1, 0});
    expectNear(vec3TransformCoord({1, 0, 0}, turned), {0, 0, -1});
}

TEST(Matrix, PerspectiveMapsNearToZeroAndFarToOne)
{
    Matrix p = matrixPerspectiveFovLH(pi / 4, 4.0f / 3.0f, 1, 2000);
    float yScale = 1.0f / std::tan(pi / 8);
    EXPECT_NEAR(p(1, 1), yScale, 1e-5f);
    EXPECT_NEAR(p(0, 0), yScale * 0.75f, 1e-5f);
    EXPECT_NEAR(vec3TransformCoord({0, 0, 1}, p).z, 0.0f, 1e-6f);
    EXPECT_NEAR(vec3TransformCoord({0, 0, 2000}, p).z, 1.0f, 1e-5f);
    EXPECT_EQ(p(2, 3), 1.0f);
    EXPECT_EQ(p(3, 3), 0.0f);
}

TEST(Matrix, TwoDimensionalOffCentreProjectionHitsPixelCornersWithHalfPixelOffset)
{
    const float w = 1024, h = 768, depth = 1024;
    Matrix p = matrixTranslation(-w / 2, -h / 2, 0) *
               matrixPerspectiveOffCenterLH(0.5f - w / 2, w / 2 + 0.5f, h / 2 + 0.5f, 0.5f - h / 2, depth, 0);
    // (0.5, 0.5) is the top-left corner of the clip square, (w + 0.5, h + 0.5)
    // the bottom-right.
    expectNear(vec3TransformCoord({0.5f, 0.5f, depth}, p), {-1, 1, 0});
    expectNear(vec3TransformCoord({w + 0.5f, h + 0.5f, depth}, p), {1, -1, 0});
    EXPECT_NEAR(vec3Transform({0, 0, depth}, p).w, depth, 1e-3f);
}

TEST(Matrix, AffineTransformation2DScalesThenTurnsAboutTheCentreThenMoves)
{
    Vector2 centre{10, 20}, move{5, 0};
    Matrix m = matrixAffineTransformation2D(2, &centre, pi / 2, &move);
    // (11, 20): scaled to (22, 40), then turned a quarter about (10, 20):
    // offset (12, 20) becomes (-20, 12), giving (-10, 32), then moved by 5.
    expectNear(vec3TransformCoord({11, 20, 0}, m), {-5, 32, 0}, 1e-4f);
    expectNear(matrixAffineTransformation2D(1, nullptr, 0, nullptr), Matrix{});
}

TEST(Quaternion, RotationMatchesTheAxisMatrix)
{
    Quaternion q = quaternionRotationAxis({1, 1, 0}, 1.1f);
    expectNear(matrixRotationQuaternion(q), matrixRotationAxis({1, 1, 0}, 1.1f));
    // The product applies the first rotation first, like the matrices.
    Quaternion a = quaternionRotationAxis({1, 0, 0}, 0.4f), b = quaternionRotationAxis({0, 1, 0}, 0.9f);
    expectNear(matrixRotationQuaternion(quaternionMultiply(a, b)),
               matrixRotationX(0.4f) * matrixRotationY(0.9f));
}

TEST(Quaternion, SlerpGoesHalfWayAlongTheShortArc)
{
    Quaternion a = quaternionRotationAxis({0, 0, 1}, 0.2f), b = quaternionRotationAxis({0, 0, 1}, 1.0f);
    expectNear(matrixRotationQuaternion(quaternionSlerp(a, b, 0.5f)), matrixRotationZ(0.6f));
    // The same rotation written with the opposite sign still takes the short way.
    Quaternion negated{-b.x, -b.y, -b.z, -b.w};
    expectNear(matrixRotationQuaternion(quaternionSlerp(a, negated, 0.5f)), matrixRotationZ(0.6f));
    Quaternion n = quaternionNormalize({0, 0, 3, 4});
    EXPECT_NEAR(n.z, 0.6f, 1e-6f);
    EXPECT_NEAR(n.w, 0.8f, 1e-6f);
}
