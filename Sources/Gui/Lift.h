#pragma once
// The scroll bar and slider of the toolkit: a track with a draggable carret
// and an arrow button at each end, holding an integer value in a range. With
// snapping on (the default) values fall on whole steps from the minimum.
#include "Gui/Container.h"
#include "Gui/TextButton.h"

class Lift : public Container
{
public:
    // orientation 0: vertical; any other value: horizontal.
    Lift(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t orientation, uint32_t lookId);

    void updateLayout() override;
    void moveTo(int32_t x, int32_t y, bool update) override;
    // Reports every event not handled.
    uint32_t onMouseEvent(const MouseEvent& event) override;
    void onLosePressed() override { mRenderer->update(); }

    // The value is not clamped here.
    void setRange(int32_t minimum, int32_t maximum, int32_t step, double pageRatio, int32_t value);
    // Calls nobody.
    void setValue(int32_t value);
    // Snaps, clamps, sets and calls the owner.
    void moveBy(int32_t delta);
    bool isCarretHit(int32_t x, int32_t y) const;
    // 1 pressed while dragged, 2 rolled over while the cursor is on the
    // carret, else 0.
    uint32_t getLookState();

    bool isVertical() const { return mOrientation == 0; }
    int32_t getMinimum() const { return mMinimum; }
    int32_t getMaximum() const { return mMaximum; }
    int32_t getValue() const { return mValue; }
    int32_t getStep() const { return mStep; }
    int32_t getCarretLength() const { return mCarretLength; }
    int32_t getCarretPosition() const { return mCarretPosition; }
    int32_t getTrackStart() const { return mTrackStart; }
    int32_t getTrackEnd() const { return mTrackEnd; }
    bool isSnapping() const { return mSnap; }
    void setSnapping(bool snap) { mSnap = snap; }
    // At the end of the lift (bottom or right): +step.
    TextButton* getIncreaseButton() const { return mIncrease; }
    TextButton* getDecreaseButton() const { return mDecrease; }

    // Called with the lift after the user moved it.
    WidgetCallback onChange;

private:
    int32_t liftStart() const { return isVertical() ? mY : mX; }
    int32_t liftLength() const { return isVertical() ? mHeight : mWidth; }
    void layoutTrack();
    void placeCarret();
    int32_t snapAndClamp(int64_t value) const;

    uint32_t mOrientation;
    int32_t mMinimum = 0;
    int32_t mMaximum = 10;
    int32_t mValue = 0;
    int32_t mStep = 1;
    int32_t mCarretLength = 0;
    int32_t mTrackStart = 0;
    int32_t mTrackEnd = 0;
    int32_t mCarretPosition = 0;
    int32_t mGrabOffset = 0;
    bool mSnap = true;
    TextButton* mIncrease = nullptr;
    TextButton* mDecrease = nullptr;
    int32_t mStartArrowLength = 0;
    int32_t mEndArrowLength = 0;
};
