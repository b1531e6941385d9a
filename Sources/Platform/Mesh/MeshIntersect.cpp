#include "Platform/Mesh/MeshIntersect.h"

#include <cmath>
#include <cstring>

namespace Platform
{

bool intersectTriangle(const Vector3& p0, const Vector3& p1, const Vector3& p2, const Vector3& origin,
                       const Vector3& direction, float* u, float* v, float* distance)
{
    Vector3 edge1 = p1 - p0;
    Vector3 edge2 = p2 - p0;
    Vector3 p = vec3Cross(direction, edge2);
    float determinant = vec3Dot(edge1, p);
    // A ray in the triangle's plane meets it nowhere we could name.
    if (!(std::fabs(determinant) > 1e-12f))
        return false;
    float inverse = 1.0f / determinant;
    Vector3 s = origin - p0;
    float a = vec3Dot(s, p) * inverse;
    if (!(a >= 0.0f && a <= 1.0f))
        return false;
    Vector3 q = vec3Cross(s, edge1);
    float b = vec3Dot(direction, q) * inverse;
    if (!(b >= 0.0f && a + b <= 1.0f))
        return false;
    float t = vec3Dot(edge2, q) * inverse;
    if (!(t >= 0.0f))
        return false;
    *u = a;
    *v = b;
    *distance = t;
    return true;
}

Platform::PlatformResult intersectMesh(const Mesh& mesh, const Vector3& origin, const Vector3& direction,
                                       MeshHit* hit)
{
    if (hit == nullptr || (mesh.getFVF() & Gpu::FVF_XYZ) == 0)
        return Gpu::GPU_INVALIDCALL;
    *hit = MeshHit{};
    const uint8_t* vertices = mesh.vertexData();
    uint32_t stride = mesh.getNumBytesPerVertex();
    uint32_t vertexCount = mesh.getNumVertices();
    auto position = [&](uint32_t index)
    {
        Vector3 p;
        std::memcpy(&p, vertices + size_t(index) * stride, sizeof p);
        return p;
    };
    for (uint32_t face = 0; face < mesh.getNumFaces(); ++face)
    {
        uint32_t a = mesh.indexAt(face * 3), b = mesh.indexAt(face * 3 + 1), c = mesh.indexAt(face * 3 + 2);
        if (a >= vertexCount || b >= vertexCount || c >= vertexCount)
            continue;
        float u, v, t;
        if (!intersectTriangle(position(a), position(b), position(c), origin, direction, &u, &v, &t))
            continue;
        ++hit->hitCount;
        if (!hit->hit || t < hit->distance)
        {
            hit->hit = true;
            hit->face = face;
            hit->u = u;
            hit->v = v;
            hit->distance = t;
        }
    }
    return Gpu::GPU_OK;
}

} // namespace Platform
