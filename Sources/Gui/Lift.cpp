#include "Gui/Lift.h"

#include "Gui/GuiManager.h"
#include "Gui/LiftLook.h"

#include <algorithm>

namespace
{
// Along the lift, the button keeps its picture's aspect across it.
int32_t arrowLength(const LiftLookBase* look, uint32_t arrow, bool vertical, int32_t across)
{
    int32_t pictureWidth = look != nullptr ? look->getButtonPictureWidth(arrow) : 32;
    int32_t pictureHeight = look != nullptr ? look->getButtonPictureHeight(arrow) : 32;
    return vertical ? pictureHeight * across / pictureWidth : pictureWidth * across / pictureHeight;
}
} // namespace

Lift::Lift(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t orientation, uint32_t lookId)
    : Container(x, y, width, height, lookId), mOrientation(orientation)
{
    auto* look = dynamic_cast<LiftLookBase*>(findLook(lookId));
    bool vertical = isVertical();
    uint32_t startArrow = vertical ? LIFT_ARROW_UP : LIFT_ARROW_LEFT;
    uint32_t endArrow = vertical ? LIFT_ARROW_DOWN : LIFT_ARROW_RIGHT;
    int32_t across = vertical ? width : height;
    mStartArrowLength = arrowLength(look, startArrow, vertical, across);
    mEndArrowLength = arrowLength(look, endArrow, vertical, across);
    uint32_t startLook = look != nullptr ? look->getButtonLook(startArrow) : 0;
    uint32_t endLook = look != nullptr ? look->getButtonLook(endArrow) : 0;
    if (vertical)
    {
        mDecrease = new TextButton(0, 0, width, mStartArrowLength, std::string(), startLook, std::string());
        mIncrease = new TextButton(0, height - mEndArrowLength, width, mEndArrowLength, std::string(),
                                   endLook, std::string());
    }
    else
    {
        mDecrease = new TextButton(0, 0, mStartArrowLength, height, std::string(), startLook, std::string());
        mIncrease = new TextButton(width - mEndArrowLength, 0, mEndArrowLength, height, std::string(),
                                   endLook, std::string());
    }
    // Every click and every auto-repeat tick.
    mDecrease->onClick.mFunction = [this](Component*, uint32_t) { moveBy(-mStep); };
    mIncrease->onClick.mFunction = [this](Component*, uint32_t) { moveBy(mStep); };
    addChild(mDecrease);
    addChild(mIncrease);
    layoutTrack();
    setRange(0, 10, 1, 0.1, 0);
}

void Lift::layoutTrack()
{
    mTrackStart = liftStart() + mStartArrowLength;
    mTrackEnd = liftStart() + liftLength() - mEndArrowLength;
    placeCarret();
}

void Lift::placeCarret()
{
    if (mMaximum == mMinimum)
    {
        mCarretPosition = mTrackStart;
        return;
    }
    int64_t room = mTrackEnd - mCarretLength - mTrackStart;
    mCarretPosition = static_cast<int32_t>(mTrackStart + room * (int64_t{mValue} - mMinimum) /
                                                             (int64_t{mMaximum} - mMinimum));
}

void Lift::updateLayout()
{
    layoutTrack();
    Container::updateLayout();
}

void Lift::moveTo(int32_t x, int32_t y, bool update)
{
    Container::moveTo(x, y, update);
    // The track is in screen pixels: it moves even without a full layout.
    layoutTrack();
}

void Lift::setRange(int32_t minimum, int32_t maximum, int32_t step, double pageRatio, int32_t value)
{
    mMinimum = minimum;
    mMaximum = maximum;
    mStep = step;
    int32_t track = mTrackEnd - mTrackStart;
    mCarretLength = static_cast<int32_t>(track * std::min(pageRatio, 1.0));
    int32_t shortest = isVertical() ? mWidth : mHeight / 2;
    mCarretLength = std::max(mCarretLength, shortest);
    setValue(value);
}

void Lift::setValue(int32_t value)
{
    mValue = value;
    placeCarret();
    mRenderer->update();
}

int32_t Lift::snapAndClamp(int64_t value) const
{
    // A step of 0 or less has no grid to snap to.
    if (mSnap && mStep > 0)
        value = ((mStep / 2 - int64_t{mMinimum} + value) / mStep) * mStep + mMinimum;
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::min(mMinimum, mMaximum), mMaximum));
}

void Lift::moveBy(int32_t delta)
{
    setValue(snapAndClamp(int64_t{mValue} + delta));
    onChange.invoke(this);
}

bool Lift::isCarretHit(int32_t x, int32_t y) const
{
    int32_t along = isVertical() ? y : x;
    bool across = isVertical() ? x >= mX && x < mX + mWidth : y >= mY && y < mY + mHeight;
    return across && along >= mCarretPosition && along < mCarretPosition + mCarretLength;
}

uint32_t Lift::getLookState()
{
    GuiManager* manager = GuiManager::current();
    if (manager != nullptr && manager->getPressed() == this)
        return LOOK_STATE_PRESSED;
    int32_t x = 0;
    int32_t y = 0;
    return getCursorPosition(x, y) && isCarretHit(x, y) ? LOOK_STATE_ROLLED_OVER : LOOK_STATE_RELEASED;
}

uint32_t Lift::onMouseEvent(const MouseEvent& event)
{
    if (uint32_t result = Container::onMouseEvent(event))
        return result;
    GuiManager* manager = GuiManager::current();
    int32_t x = 0;
    int32_t y = 0;
    if (manager == nullptr || !getEventPosition(event, x, y))
        return 0;
    int32_t along = isVertical() ? y : x;
    bool pressed = manager->getPressed() == this;
    switch (event.mType)
    {
    case MOUSE_EVENT_BUTTON_DOWN:
        if (event.mButton == MOUSE_BUTTON_LEFT && isCarretHit(x, y))
        {
            mGrabOffset = along - mCarretPosition;
            manager->setPressed(this);
            updateLayout();
        }
        break;
    case MOUSE_EVENT_MOVE:
        if (pressed)
        {
            int64_t position = along - mGrabOffset;
            int64_t room = mTrackEnd - mCarretLength - mTrackStart;
            int64_t value = mMinimum;
            if (room > 0)
                value =
                    ((int64_t{mMaximum} - mMinimum) * (position - mTrackStart) + room / 2) / room + mMinimum;
            setValue(snapAndClamp(value));
            onChange.invoke(this);
        }
        mRenderer->update();
        break;
    case MOUSE_EVENT_BUTTON_UP:
        if (pressed && event.mButton == MOUSE_BUTTON_LEFT)
            manager->clearPressed(this);
        break;
    default:
        break;
    }
    return 0;
}
