#pragma once
// The placement of a scene node or a model: position, direction, up vector
// and scale. The engine's transform object turns the twelve floats into a
// world matrix (scale, then the look-at rotation, then the move) when it is
// given them; the record's own operations do that, and a caller that writes
// the floats directly calls update afterwards.
#include "Platform/Math/Vector.h"

#include <memory>

class Transform3D;

// The engine side of a placement: the world matrix, its inverse, and the
// device's world matrix saved while a node draws inside it. Made by the 3D
// engine (createTransform), owned by its Transform3D.
class EngineTransform
{
public:
    virtual ~EngineTransform() = default;
    // Multiplies the world matrix onto the device's world matrix, saving it.
    virtual void enter() = 0;
    // Puts the saved device world matrix back.
    virtual void leave() = 0;
    virtual void setFrom(const Transform3D& transform) = 0;
    virtual void localToParent(const Platform::Vector3& in, Platform::Vector3* out) = 0;
    virtual void parentToLocal(const Platform::Vector3& in, Platform::Vector3* out) = 0;
};

class Transform3D
{
public:
    // The defaults; the transform object comes from the current 3D engine
    // (none while no engine exists: enter and leave then do nothing and
    // points keep their coordinates).
    Transform3D();
    // A new transform object with the other's values.
    Transform3D(const Transform3D& other);
    // Copies the twelve floats and gives them to this record's own object.
    Transform3D& operator=(const Transform3D& other);
    ~Transform3D();

    // Gives the floats to the transform object.
    void update();
    void enter();
    void leave();
    void localToParent(const Platform::Vector3& in, Platform::Vector3* out) const;
    void parentToLocal(const Platform::Vector3& in, Platform::Vector3* out) const;

    Platform::Vector3 mPosition{0, 0, 0};
    Platform::Vector3 mDirection{0, 0, 1};
    Platform::Vector3 mUp{0, 1, 0};
    Platform::Vector3 mScale{1, 1, 1};
    std::unique_ptr<EngineTransform> mTransform;
};
