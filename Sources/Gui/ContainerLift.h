#pragma once
// A scrolling list of row widgets of any height: the rows in a content box
// clipped to its inner area, a vertical lift along the right edge, a
// highlight under the selected row, a selection sound, wheel scrolling and,
// when enabled, selection with the arrow, home and end keys.
#include "Engine/RenderList.h"
#include "Gui/Container.h"
#include "Gui/Image.h"
#include "Gui/Lift.h"

#include <memory>

// The list look at lookId (8 standing for 11), or the built-in default when
// that entry holds none.
ListLook* findListLook(uint32_t lookId);

class ContainerLift : public Container
{
public:
    ContainerLift(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t lookId,
                  uint32_t selectionSound);
    ContainerLift(const Rect& rect, uint32_t lookId, uint32_t selectionSound);
    ~ContainerLift() override;

    // The content's frame, the highlight, the rows, then the lift.
    ErrorCode render() override;
    void updateLayout() override;
    void moveTo(int32_t x, int32_t y, bool update) override;
    uint32_t onMouseEvent(const MouseEvent& event) override;
    uint32_t onKeyEvent(const KeyEvent& event) override;

    // Takes ownership.
    void addRow(Component* row);
    // Rows leave at once; under the GUI root they are deleted after the
    // current dispatch, as a row may be clearing the list from its own
    // handler.
    void clear();
    // The first count rows leave the same way; the selection follows its row.
    void removeFirstRows(uint32_t count);
    uint32_t getRowCount() const { return static_cast<uint32_t>(mContent->getChildren().size()); }
    Component* getRow(uint32_t index) const;
    // -1 clears the selection; an index past the rows is ignored.
    void select(int32_t index);
    int32_t getSelectedIndex() const { return mSelected; }
    void setScrollStep(int32_t pixels);
    void setScrollPosition(int32_t pixels);
    void setScrollPercent(int32_t percent);
    int32_t getScrollPosition() const { return mScroll; }
    int32_t getScrollStep() const { return mStep; }
    bool isSelectable() const { return mSelectable; }
    void setSelectable(bool selectable) { mSelectable = selectable; }
    bool takesKeys() const { return mKeyboard; }
    void setTakesKeys(bool keyboard) { mKeyboard = keyboard; }
    Lift* getLift() const { return mLift; }
    Container* getContent() const { return mContent; }
    // The width the rows show in: the content's, less its margins, left of
    // the lift.
    int32_t getRowWidth() const;
    RenderList* getClipList() const { return mClipList.get(); }
    Image* getHighlightImage() const { return mHighlightImage.get(); }
    // Where the highlight shows; false when it shows nothing.
    bool getHighlight(Rect& rect) const
    {
        rect = mHighlight;
        return mHighlightShown;
    }

    // Called with the list after the selection changed.
    WidgetCallback onSelect;

private:
    void init(uint32_t lookId);
    void placeRows();
    void updateRange();
    void placeHighlight();
    void bringIntoView(int32_t index);
    int32_t visibleHeight() const;
    int32_t maxScroll() const { return mLift->getMaximum() - mLift->getMinimum(); }
    void clipToContent();
    void discardRow(Component* row);

    ListLook* mLook = nullptr;
    Lift* mLift = nullptr;
    Container* mContent = nullptr;
    std::unique_ptr<RenderList> mClipList;
    int32_t mSelected = -1;
    int32_t mStep = 10;
    int32_t mScroll = 0;
    Rect mHighlight{};
    std::unique_ptr<Image> mHighlightImage;
    bool mHighlightShown = false;
    uint32_t mSelectionSound;
    bool mSelectable = true;
    bool mKeyboard = false;
};
