#pragma once
// The placement of a node as matrices: world = scaling x look-at rotation
// (right-handed, from the origin towards -direction) x translation, its
// inverse, and the device world matrix saved by enter. The device is the
// current 3D engine's; without one, enter and leave do nothing.
#include "Engine/Transform3D.h"
#include "Platform/Math/Matrix.h"

class TransformD3D final : public EngineTransform
{
public:
    void enter() override;
    void leave() override;
    void setFrom(const Transform3D& transform) override;
    void localToParent(const Platform::Vector3& in, Platform::Vector3* out) override;
    void parentToLocal(const Platform::Vector3& in, Platform::Vector3* out) override;

    const Platform::Matrix& getWorld() const { return mWorld; }
    const Platform::Matrix& getInverse() const { return mInverse; }

private:
    Platform::Matrix mWorld;
    Platform::Matrix mSaved;
    Platform::Matrix mInverse;
};
