#pragma once
// A container whose content is drawn under a rotation. The 2D engine makes
// the implementation (Engine2D::createSheetMove), which turns the device's
// world transform around the drawing of the children.
#include "Gui/Container.h"

class SheetMoveBase : public Container
{
public:
    // The plain look, without margins. With pivot set, the rotation's centre
    // is taken relative to the sheet's position.
    SheetMoveBase(const Rect& rect, bool pivot);

    // beginTransform, the container's drawing, endTransform; the drawing's
    // result.
    ErrorCode render() override;

    // Rotation by angle (radians) about the point (x, y).
    virtual void setRotation(int32_t x, int32_t y, float angle) = 0;
    virtual void resetTransform() = 0;
    // Takes the sheet's position again after it moved.
    virtual void updatePivot() = 0;
    virtual void beginTransform() = 0;
    virtual void endTransform() = 0;

    bool hasPivot() const { return mPivot; }

protected:
    bool mPivot;
};
