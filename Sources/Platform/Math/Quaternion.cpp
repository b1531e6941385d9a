#include "Platform/Math/Quaternion.h"

#include <cmath>

namespace Platform
{

Quaternion quaternionRotationAxis(const Vector3& axis, float angle)
{
    Vector3 v = vec3Normalize(axis);
    float s = std::sin(angle / 2);
    return {v.x * s, v.y * s, v.z * s, std::cos(angle / 2)};
}

// Applying `first` then `second` is the Hamilton product second * first.
Quaternion quaternionMultiply(const Quaternion& first, const Quaternion& second)
{
    const Quaternion& a = second;
    const Quaternion& b = first;
    return {a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y, a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x,
            a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w, a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z};
}

float quaternionDot(const Quaternion& a, const Quaternion& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w;
}

Quaternion quaternionNormalize(const Quaternion& q)
{
    float length = std::sqrt(quaternionDot(q, q));
    if (length == 0)
    {
        return Quaternion{0, 0, 0, 0};
    }
    float k = 1.0f / length;
    return {q.x * k, q.y * k, q.z * k, q.w * k};
}

Quaternion quaternionConjugate(const Quaternion& q)
{
    return {-q.x, -q.y, -q.z, q.w};
}

Quaternion quaternionSlerp(const Quaternion& a, const Quaternion& b, float t)
{
    float cosine = quaternionDot(a, b);
    float sign = 1;
    if (cosine < 0)
    {
        cosine = -cosine;
        sign = -1;
    }
    float ka, kb;
    if (cosine > 0.9999f)
    {
        // Nearly the same rotation: the sine below would vanish.
        ka = 1 - t;
        kb = t;
    }
    else
    {
        float angle = std::acos(cosine);
        float s = std::sin(angle);
        ka = std::sin((1 - t) * angle) / s;
        kb = std::sin(t * angle) / s;
    }
    kb *= sign;
    return {a.x * ka + b.x * kb, a.y * ka + b.y * kb, a.z * ka + b.z * kb, a.w * ka + b.w * kb};
}

Matrix matrixRotationQuaternion(const Quaternion& q)
{
    float xx = q.x * q.x, yy = q.y * q.y, zz = q.z * q.z;
    float xy = q.x * q.y, xz = q.x * q.z, yz = q.y * q.z;
    float wx = q.w * q.x, wy = q.w * q.y, wz = q.w * q.z;
    Matrix r;
    r.m[0][0] = 1 - 2 * (yy + zz);
    r.m[0][1] = 2 * (xy + wz);
    r.m[0][2] = 2 * (xz - wy);
    r.m[1][0] = 2 * (xy - wz);
    r.m[1][1] = 1 - 2 * (xx + zz);
    r.m[1][2] = 2 * (yz + wx);
    r.m[2][0] = 2 * (xz + wy);
    r.m[2][1] = 2 * (yz - wx);
    r.m[2][2] = 1 - 2 * (xx + yy);
    return r;
}

} // namespace Platform
