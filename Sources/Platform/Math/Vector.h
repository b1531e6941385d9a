#pragma once
// Vectors of the drawing code: plain float records, so that vertex and light
// data can be copied byte for byte.
#include <cmath>

namespace Platform
{

struct Vector2
{
    float x = 0, y = 0;
};

struct Vector3
{
    float x = 0, y = 0, z = 0;
};

struct Vector4
{
    float x = 0, y = 0, z = 0, w = 0;
};

inline Vector3 operator+(const Vector3& a, const Vector3& b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vector3 operator-(const Vector3& a, const Vector3& b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vector3 operator-(const Vector3& a)
{
    return {-a.x, -a.y, -a.z};
}
inline Vector3 operator*(const Vector3& a, float s)
{
    return {a.x * s, a.y * s, a.z * s};
}
inline Vector3 operator*(float s, const Vector3& a)
{
    return a * s;
}
inline bool operator==(const Vector3& a, const Vector3& b)
{
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

inline float vec3Dot(const Vector3& a, const Vector3& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

inline Vector3 vec3Cross(const Vector3& a, const Vector3& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

inline float vec3Length(const Vector3& a)
{
    return std::sqrt(vec3Dot(a, a));
}

// A zero vector stays zero rather than turning into NaNs.
inline Vector3 vec3Normalize(const Vector3& a)
{
    float length = vec3Length(a);
    return length > 0 ? a * (1.0f / length) : Vector3{};
}

} // namespace Platform
