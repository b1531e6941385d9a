#include "Gui/SheetMoveBase.h"

namespace
{
const Margins kNoMargins;
} // namespace

SheetMoveBase::SheetMoveBase(const Rect& rect, bool pivot)
    : Container(rect, LOOK_EMPTY, &kNoMargins), mPivot(pivot)
{
}

ErrorCode SheetMoveBase::render()
{
    beginTransform();
    ErrorCode code = Container::render();
    endTransform();
    return code;
}
