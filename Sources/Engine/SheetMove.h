#pragma once
// Moving sheets of the 2D engine.
//
// SheetMoveBase: the transform of a container whose content is drawn under a
// rotation. The GUI's sheet container owns one (Engine2D::createSheetMove)
// and draws its children through render, between beginTransform and
// endTransform.
//
// SheetMove: a texture drawn as a grid of cells that travels from a start
// rectangle to an end rectangle, the cells nearer the top-left corner
// setting off first (Engine2D::createGridSheetMove). The texture stays the
// caller's, who keeps it loaded while the sheet draws it.
#include "Engine/Rect2D.h"
#include "Engine/Texture.h"
#include "Framework/ErrorCodes.h"

#include <functional>

class SheetMoveBase
{
public:
    // With pivot set the rotation's centre is taken relative to the sheet's
    // position.
    SheetMoveBase(const Rect2D& rect, bool pivot) : mRect(rect), mPivot(pivot) {}
    virtual ~SheetMoveBase() = default;
    SheetMoveBase(const SheetMoveBase&) = delete;
    SheetMoveBase& operator=(const SheetMoveBase&) = delete;

    // Rotation by angle (radians) about the point (x, y).
    virtual void setRotation(int32_t x, int32_t y, float angle) = 0;
    virtual void resetTransform() = 0;
    // Takes the sheet's position again after it moved.
    virtual void updatePivot() = 0;
    virtual void beginTransform() = 0;
    virtual void endTransform() = 0;

    // beginTransform, the content, endTransform; the content's result.
    ErrorCode render(const std::function<ErrorCode()>& content)
    {
        beginTransform();
        ErrorCode code = content ? content() : 0;
        endTransform();
        return code;
    }

    // Moves the sheet (updatePivot follows).
    void setRect(const Rect2D& rect)
    {
        mRect = rect;
        updatePivot();
    }
    const Rect2D& getRect() const { return mRect; }
    bool hasPivot() const { return mPivot; }

protected:
    Rect2D mRect;
    bool mPivot;
};

class SheetMove
{
public:
    SheetMove() = default;
    virtual ~SheetMove() = default;
    SheetMove(const SheetMove&) = delete;
    SheetMove& operator=(const SheetMove&) = delete;

    // Stores the rectangles and the texture; the grid implementation also
    // makes its vertices.
    virtual ErrorCode set(const Rect2D& start, const Rect2D& end, Texture* texture)
    {
        mStart = start;
        mEnd = end;
        mTexture = texture;
        return 0;
    }
    // Progress t from 0 (at the start rectangle) to 1 (at the end one).
    virtual void update(float t) = 0;
    virtual void draw() = 0;

    void setMirrorY(bool mirror) { mMirrorY = mirror; }
    const Rect2D& getStart() const { return mStart; }
    const Rect2D& getEnd() const { return mEnd; }
    Texture* getTexture() const { return mTexture; }

protected:
    Rect2D mStart;
    Rect2D mEnd;
    Texture* mTexture = nullptr;
    bool mMirrorY = false;
};
