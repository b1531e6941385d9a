#pragma once
// The list a combo box opens: a full-screen layer with the items under the
// box. The item under the cursor is highlighted; a click on one blinks it
// twice, applies it to the combo box and closes; a press anywhere else closes
// without choosing.
#include "Framework/Timer.h"
#include "Gui/Label.h"
#include "Gui/Layer.h"

#include <vector>

class ComboBox;

class ComboDropList : public Layer
{
public:
    explicit ComboDropList(ComboBox* comboBox);
    ~ComboDropList() override;

    void animate() override;
    void updateLayout() override;
    // Consumes every event.
    uint32_t onMouseEvent(const MouseEvent& event) override;
    void onMouseEnter() override { followCursor(); }
    void onMouseLeave() override { followCursor(); }

    // The item under the cursor, or -1.
    int32_t getItemUnderCursor() const;
    int32_t getHoveredItem() const { return mHovered; }
    bool isClosing() const { return mClosing; }
    // Whether the item's label shows its highlight.
    bool isHighlighted(int32_t item) const;
    Container* getListBox() const { return mList; }
    Label* getItemLabel(uint32_t index) const { return index < mLabels.size() ? mLabels[index] : nullptr; }

    // The combo box is going: the list closes and applies nothing.
    void forgetComboBox();

private:
    void followCursor();
    void setHighlight(int32_t item, bool on);
    void finish();

    ComboBox* mComboBox;
    int32_t mHovered = -1;
    bool mClosing = false;
    bool mFinished = false;
    Timer mBlinkTimer;
    int32_t mBlinkCount = 0;
    int32_t mItemHeight;
    Container* mList;
    std::vector<Label*> mLabels;
    std::vector<bool> mHighlighted;
};
