#pragma once
// Rays against triangles and meshes, for picking. A ray is origin + t x
// direction; the direction need not be unit length and distances are in
// units of it. Both sides of a triangle are hit.
#include "Platform/Math/Vector.h"
#include "Platform/Mesh/Mesh.h"

namespace Platform
{

// True when the ray meets the triangle at t >= 0; the hit point is
// p0 + u (p1 - p0) + v (p2 - p0).
bool intersectTriangle(const Vector3& p0, const Vector3& p1, const Vector3& p2, const Vector3& origin,
                       const Vector3& direction, float* u, float* v, float* distance);

struct MeshHit
{
    bool hit = false;
    uint32_t face = 0;
    float u = 0, v = 0;
    float distance = 0;
    uint32_t hitCount = 0;
};

// The nearest face of the mesh the ray meets (the first one on a tie).
// Faces with an index outside the vertex buffer are skipped.
Platform::PlatformResult intersectMesh(const Mesh& mesh, const Vector3& origin, const Vector3& direction,
                                       MeshHit* hit);

} // namespace Platform
