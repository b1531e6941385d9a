#include "Engine3DD3D/TransformD3D.h"

#include "Engine3DD3D/Engine3DD3D.h"

using namespace Platform;

void TransformD3D::enter()
{
    Gpu::Device* device = Engine3DD3D::currentDevice();
    if (device == nullptr)
        return;
    device->getTransform(Gpu::TS_WORLD, &mSaved);
    device->multiplyTransform(Gpu::TS_WORLD, mWorld);
}

void TransformD3D::leave()
{
    if (Gpu::Device* device = Engine3DD3D::currentDevice())
        device->setTransform(Gpu::TS_WORLD, mSaved);
}

void TransformD3D::setFrom(const Transform3D& transform)
{
    const Vector3& s = transform.mScale;
    const Vector3& p = transform.mPosition;
    mWorld = matrixScaling(s.x, s.y, s.z) * matrixLookAtRH(Vector3{}, -transform.mDirection, transform.mUp) *
             matrixTranslation(p.x, p.y, p.z);
    // A flat scale has no inverse; points then map to the origin rather than
    // to stale coordinates.
    if (!matrixInverse(mWorld, mInverse))
        mInverse = matrixScaling(0, 0, 0);
}

void TransformD3D::localToParent(const Vector3& in, Vector3* out)
{
    *out = vec3TransformCoord(in, mWorld);
}

void TransformD3D::parentToLocal(const Vector3& in, Vector3* out)
{
    *out = vec3TransformCoord(in, mInverse);
}
