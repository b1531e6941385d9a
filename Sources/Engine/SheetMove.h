#pragma once
// The travelling sheet of the 2D engine: a texture drawn as a grid of cells
// that travels from a start rectangle to an end rectangle, the cells nearer
// the top-left corner setting off first (Engine2D::createGridSheetMove). The
// texture stays the caller's, who keeps it loaded while the sheet draws it.
#include "Engine/Rect2D.h"
#include "Engine/Texture.h"
#include "Framework/ErrorCodes.h"

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
