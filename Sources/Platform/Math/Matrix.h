#pragma once
// 4 x 4 matrices in the convention the drawing code was designed with: row
// vectors (v' = v x M), translation in the fourth row, left-handed view and
// projection matrices whose depth runs from 0 at the near plane to 1 at the
// far plane. M1 x M2 applies M1 first.
#include "Platform/Math/Vector.h"

namespace Platform
{

struct Matrix
{
    // m[row][column]
    float m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};

    float& operator()(int row, int column) { return m[row][column]; }
    float operator()(int row, int column) const { return m[row][column]; }
    const float* data() const { return &m[0][0]; }
};

Matrix operator*(const Matrix& a, const Matrix& b);
bool operator==(const Matrix& a, const Matrix& b);

Matrix matrixIdentity();
Matrix matrixTranspose(const Matrix& a);
// Fills out and returns true; a singular matrix returns false and leaves out
// untouched. The determinant is stored when asked for, even when singular.
bool matrixInverse(const Matrix& a, Matrix& out, float* determinant = nullptr);
float matrixDeterminant(const Matrix& a);

Matrix matrixTranslation(float x, float y, float z);
Matrix matrixScaling(float x, float y, float z);
// Angles in radians, clockwise when looking down the axis towards the origin
// (left-handed).
Matrix matrixRotationX(float angle);
Matrix matrixRotationY(float angle);
Matrix matrixRotationZ(float angle);
Matrix matrixRotationAxis(const Vector3& axis, float angle);

Matrix matrixLookAtLH(const Vector3& eye, const Vector3& at, const Vector3& up);
Matrix matrixLookAtRH(const Vector3& eye, const Vector3& at, const Vector3& up);
Matrix matrixPerspectiveFovLH(float fovY, float aspect, float zNear, float zFar);
Matrix matrixPerspectiveOffCenterLH(float left, float right, float bottom, float top, float zNear,
                                    float zFar);

// Scaling (uniform in x and y) x rotation about a centre x translation, in the
// plane z = 0: S x T(-centre) x Rz(rotation) x T(centre) x T(translation).
// A null centre or translation counts as the origin.
Matrix matrixAffineTransformation2D(float scaling, const Vector2* rotationCenter, float rotation,
                                    const Vector2* translation);

// (x, y, z, 1) x M divided by the resulting w.
Vector3 vec3TransformCoord(const Vector3& v, const Matrix& m);
// (x, y, z, 0) x M: directions ignore the translation.
Vector3 vec3TransformNormal(const Vector3& v, const Matrix& m);
Vector4 vec3Transform(const Vector3& v, const Matrix& m);
Vector4 vec4Transform(const Vector4& v, const Matrix& m);

} // namespace Platform
