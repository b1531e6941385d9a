#include "Platform/Math/Matrix.h"

#include <cmath>

namespace Platform
{

Matrix operator*(const Matrix& a, const Matrix& b)
{
    Matrix r;
    for (int i = 0; i < 4; ++i)
    {
        for (int j = 0; j < 4; ++j)
        {
            r.m[i][j] =
                a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j] + a.m[i][3] * b.m[3][j];
        }
    }
    return r;
}

bool operator==(const Matrix& a, const Matrix& b)
{
    for (int i = 0; i < 4; ++i)
    {
        for (int j = 0; j < 4; ++j)
        {
            if (a.m[i][j] != b.m[i][j])
            {
                return false;
            }
        }
    }
    return true;
}

Matrix matrixIdentity()
{
    return Matrix{};
}

Matrix matrixTranspose(const Matrix& a)
{
    Matrix r;
    for (int i = 0; i < 4; ++i)
    {
        for (int j = 0; j < 4; ++j)
        {
            r.m[i][j] = a.m[j][i];
        }
    }
    return r;
}

namespace
{

// Cofactor expansion through the 2 x 2 minors of the lower and upper halves.
struct Minors
{
    float s[6];
    float c[6];
};

Minors minorsOf(const Matrix& a)
{
    const auto& m = a.m;
    Minors r;
    r.s[0] = m[0][0] * m[1][1] - m[1][0] * m[0][1];
    r.s[1] = m[0][0] * m[1][2] - m[1][0] * m[0][2];
    r.s[2] = m[0][0] * m[1][3] - m[1][0] * m[0][3];
    r.s[3] = m[0][1] * m[1][2] - m[1][1] * m[0][2];
    r.s[4] = m[0][1] * m[1][3] - m[1][1] * m[0][3];
    r.s[5] = m[0][2] * m[1][3] - m[1][2] * m[0][3];
    r.c[5] = m[2][2] * m[3][3] - m[3][2] * m[2][3];
    r.c[4] = m[2][1] * m[3][3] - m[3][1] * m[2][3];
    r.c[3] = m[2][1] * m[3][2] - m[3][1] * m[2][2];
    r.c[2] = m[2][0] * m[3][3] - m[3][0] * m[2][3];
    r.c[1] = m[2][0] * m[3][2] - m[3][0] * m[2][2];
    r.c[0] = m[2][0] * m[3][1] - m[3][0] * m[2][1];
    return r;
}

float determinantOf(const Minors& n)
{
    return n.s[0] * n.c[5] - n.s[1] * n.c[4] + n.s[2] * n.c[3] + n.s[3] * n.c[2] - n.s[4] * n.c[1] +
           n.s[5] * n.c[0];
}

} // namespace

float matrixDeterminant(const Matrix& a)
{
    return determinantOf(minorsOf(a));
}

bool matrixInverse(const Matrix& a, Matrix& out, float* determinant)
{
    const auto& m = a.m;
    Minors n = minorsOf(a);
    const float* s = n.s;
    const float* c = n.c;
    float det = determinantOf(n);
    if (determinant)
    {
        *determinant = det;
    }
    if (det == 0 || !std::isfinite(det))
    {
        return false;
    }
    float k = 1.0f / det;
    Matrix r;
    r.m[0][0] = (m[1][1] * c[5] - m[1][2] * c[4] + m[1][3] * c[3]) * k;
    r.m[0][1] = (-m[0][1] * c[5] + m[0][2] * c[4] - m[0][3] * c[3]) * k;
    r.m[0][2] = (m[3][1] * s[5] - m[3][2] * s[4] + m[3][3] * s[3]) * k;
    r.m[0][3] = (-m[2][1] * s[5] + m[2][2] * s[4] - m[2][3] * s[3]) * k;
    r.m[1][0] = (-m[1][0] * c[5] + m[1][2] * c[2] - m[1][3] * c[1]) * k;
    r.m[1][1] = (m[0][0] * c[5] - m[0][2] * c[2] + m[0][3] * c[1]) * k;
    r.m[1][2] = (-m[3][0] * s[5] + m[3][2] * s[2] - m[3][3] * s[1]) * k;
    r.m[1][3] = (m[2][0] * s[5] - m[2][2] * s[2] + m[2][3] * s[1]) * k;
    r.m[2][0] = (m[1][0] * c[4] - m[1][1] * c[2] + m[1][3] * c[0]) * k;
    r.m[2][1] = (-m[0][0] * c[4] + m[0][1] * c[2] - m[0][3] * c[0]) * k;
    r.m[2][2] = (m[3][0] * s[4] - m[3][1] * s[2] + m[3][3] * s[0]) * k;
    r.m[2][3] = (-m[2][0] * s[4] + m[2][1] * s[2] - m[2][3] * s[0]) * k;
    r.m[3][0] = (-m[1][0] * c[3] + m[1][1] * c[1] - m[1][2] * c[0]) * k;
    r.m[3][1] = (m[0][0] * c[3] - m[0][1] * c[1] + m[0][2] * c[0]) * k;
    r.m[3][2] = (-m[3][0] * s[3] + m[3][1] * s[1] - m[3][2] * s[0]) * k;
    r.m[3][3] = (m[2][0] * s[3] - m[2][1] * s[1] + m[2][2] * s[0]) * k;
    out = r;
    return true;
}

Matrix matrixTranslation(float x, float y, float z)
{
    Matrix r;
    r.m[3][0] = x;
    r.m[3][1] = y;
    r.m[3][2] = z;
    return r;
}

Matrix matrixScaling(float x, float y, float z)
{
    Matrix r;
    r.m[0][0] = x;
    r.m[1][1] = y;
    r.m[2][2] = z;
    return r;
}

namespace
{
// A rotation about one of the axes, in this row-vector convention: axis
// `from` turns towards axis `to` as the angle grows.
Matrix planeRotation(int from, int to, float angle)
{
    float c = std::cos(angle), s = std::sin(angle);
    Matrix r;
    r.m[from][from] = c;
    r.m[from][to] = s;
    r.m[to][from] = -s;
    r.m[to][to] = c;
    return r;
}
} // namespace

Matrix matrixRotationX(float angle)
{
    return planeRotation(1, 2, angle);
}

Matrix matrixRotationY(float angle)
{
    return planeRotation(2, 0, angle);
}

Matrix matrixRotationZ(float angle)
{
    return planeRotation(0, 1, angle);
}

Matrix matrixRotationAxis(const Vector3& axis, float angle)
{
    Vector3 v = vec3Normalize(axis);
    float c = std::cos(angle), s = std::sin(angle), t = 1 - c;
    Matrix r;
    r.m[0][0] = t * v.x * v.x + c;
    r.m[0][1] = t * v.x * v.y + s * v.z;
    r.m[0][2] = t * v.x * v.z - s * v.y;
    r.m[1][0] = t * v.x * v.y - s * v.z;
    r.m[1][1] = t * v.y * v.y + c;
    r.m[1][2] = t * v.y * v.z + s * v.x;
    r.m[2][0] = t * v.x * v.z + s * v.y;
    r.m[2][1] = t * v.y * v.z - s * v.x;
    r.m[2][2] = t * v.z * v.z + c;
    return r;
}

namespace
{

Matrix viewFromAxes(const Vector3& xAxis, const Vector3& yAxis, const Vector3& zAxis, const Vector3& eye)
{
    Matrix r;
    r.m[0][0] = xAxis.x;
    r.m[1][0] = xAxis.y;
    r.m[2][0] = xAxis.z;
    r.m[0][1] = yAxis.x;
    r.m[1][1] = yAxis.y;
    r.m[2][1] = yAxis.z;
    r.m[0][2] = zAxis.x;
    r.m[1][2] = zAxis.y;
    r.m[2][2] = zAxis.z;
    r.m[3][0] = -vec3Dot(xAxis, eye);
    r.m[3][1] = -vec3Dot(yAxis, eye);
    r.m[3][2] = -vec3Dot(zAxis, eye);
    return r;
}

} // namespace

Matrix matrixLookAtLH(const Vector3& eye, const Vector3& at, const Vector3& up)
{
    Vector3 zAxis = vec3Normalize(at - eye);
    Vector3 xAxis = vec3Normalize(vec3Cross(up, zAxis));
    Vector3 yAxis = vec3Cross(zAxis, xAxis);
    return viewFromAxes(xAxis, yAxis, zAxis, eye);
}

Matrix matrixLookAtRH(const Vector3& eye, const Vector3& at, const Vector3& up)
{
    Vector3 zAxis = vec3Normalize(eye - at);
    Vector3 xAxis = vec3Normalize(vec3Cross(up, zAxis));
    Vector3 yAxis = vec3Cross(zAxis, xAxis);
    return viewFromAxes(xAxis, yAxis, zAxis, eye);
}

Matrix matrixPerspectiveFovLH(float fovY, float aspect, float zNear, float zFar)
{
    float yScale = 1.0f / std::tan(fovY / 2);
    Matrix r;
    r.m[0][0] = yScale / aspect;
    r.m[1][1] = yScale;
    r.m[2][2] = zFar / (zFar - zNear);
    r.m[2][3] = 1;
    r.m[3][2] = -zNear * zFar / (zFar - zNear);
    r.m[3][3] = 0;
    return r;
}

Matrix matrixPerspectiveOffCenterLH(float left, float right, float bottom, float top, float zNear, float zFar)
{
    Matrix r;
    r.m[0][0] = 2 * zNear / (right - left);
    r.m[1][1] = 2 * zNear / (top - bottom);
    r.m[2][0] = (left + right) / (left - right);
    r.m[2][1] = (top + bottom) / (bottom - top);
    r.m[2][2] = zFar / (zFar - zNear);
    r.m[2][3] = 1;
    r.m[3][2] = zNear * zFar / (zNear - zFar);
    r.m[3][3] = 0;
    return r;
}

Matrix matrixAffineTransformation2D(float scaling, const Vector2* rotationCenter, float rotation,
                                    const Vector2* translation)
{
    Vector2 c = rotationCenter ? *rotationCenter : Vector2{};
    Vector2 t = translation ? *translation : Vector2{};
    return matrixScaling(scaling, scaling, 1) * matrixTranslation(-c.x, -c.y, 0) * matrixRotationZ(rotation) *
           matrixTranslation(c.x + t.x, c.y + t.y, 0);
}

Vector4 vec4Transform(const Vector4& v, const Matrix& a)
{
    const auto& m = a.m;
    return {v.x * m[0][0] + v.y * m[1][0] + v.z * m[2][0] + v.w * m[3][0],
            v.x * m[0][1] + v.y * m[1][1] + v.z * m[2][1] + v.w * m[3][1],
            v.x * m[0][2] + v.y * m[1][2] + v.z * m[2][2] + v.w * m[3][2],
            v.x * m[0][3] + v.y * m[1][3] + v.z * m[2][3] + v.w * m[3][3]};
}

Vector4 vec3Transform(const Vector3& v, const Matrix& m)
{
    return vec4Transform({v.x, v.y, v.z, 1}, m);
}

Vector3 vec3TransformCoord(const Vector3& v, const Matrix& m)
{
    Vector4 r = vec3Transform(v, m);
    float k = r.w != 0 ? 1.0f / r.w : 0.0f;
    return {r.x * k, r.y * k, r.z * k};
}

Vector3 vec3TransformNormal(const Vector3& v, const Matrix& m)
{
    Vector4 r = vec4Transform({v.x, v.y, v.z, 0}, m);
    return {r.x, r.y, r.z};
}

} // namespace Platform
