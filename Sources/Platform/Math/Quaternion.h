#pragma once
// Rotations as unit quaternions (x, y, z vector part, w scalar part), in the
// same row-vector convention as the matrices: q1 x q2 rotates by q1 first.
#include "Platform/Math/Matrix.h"

namespace Platform
{

struct Quaternion
{
    float x = 0, y = 0, z = 0, w = 1;
};

Quaternion quaternionRotationAxis(const Vector3& axis, float angle);
Quaternion quaternionMultiply(const Quaternion& first, const Quaternion& second);
Quaternion quaternionNormalize(const Quaternion& q);
Quaternion quaternionConjugate(const Quaternion& q);
float quaternionDot(const Quaternion& a, const Quaternion& b);
// Shortest-arc spherical interpolation; t = 0 gives a, t = 1 gives b.
Quaternion quaternionSlerp(const Quaternion& a, const Quaternion& b, float t);
Matrix matrixRotationQuaternion(const Quaternion& q);

} // namespace Platform
