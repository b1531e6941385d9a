#include "Engine/Transform3D.h"

#include "Engine/Engine3D.h"

Transform3D::Transform3D()
{
    if (Engine3D* engine = Engine3D::current())
        mTransform.reset(engine->createTransform());
    update();
}

Transform3D::Transform3D(const Transform3D& other) : Transform3D()
{
    *this = other;
}

Transform3D& Transform3D::operator=(const Transform3D& other)
{
    mPosition = other.mPosition;
    mDirection = other.mDirection;
    mUp = other.mUp;
    mScale = other.mScale;
    update();
    return *this;
}

Transform3D::~Transform3D() = default;

void Transform3D::update()
{
    if (mTransform)
        mTransform->setFrom(*this);
}

void Transform3D::enter()
{
    if (mTransform)
        mTransform->enter();
}

void Transform3D::leave()
{
    if (mTransform)
        mTransform->leave();
}

void Transform3D::localToParent(const Platform::Vector3& in, Platform::Vector3* out) const
{
    if (mTransform)
        mTransform->localToParent(in, out);
    else
        *out = in;
}

void Transform3D::parentToLocal(const Platform::Vector3& in, Platform::Vector3* out) const
{
    if (mTransform)
        mTransform->parentToLocal(in, out);
    else
        *out = in;
}
