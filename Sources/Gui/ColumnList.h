#pragma once
// The toolkit's table dialog: the entries of one category of a records table
// in columns under a row of column titles, a selector above them to choose
// the category, one highlighted row whose text pulses from black to orange,
// and optionally a button that empties the whole table after a confirmation.
#include "Framework/RankedTableFile.h"
#include "Framework/Timer.h"
#include "Gui/ContainerLift.h"
#include "Gui/Dialog.h"

#include <string>
#include <vector>

// The widget above a column list that chooses the category it shows; it calls
// onChange when the choice changes.
class CategorySelector : public Container
{
public:
    using Container::Container;
    virtual uint32_t getSelectedCategory() = 0;
    WidgetCallback onChange;
};

class ColumnList : public Dialog
{
public:
    // extraButton: the record index of the reset button, or -1 for none.
    ColumnList(CategorySelector* selector, RankedTableFile* records, uint32_t columnCount,
               int32_t highlightRow, uint32_t titleColor, int32_t extraButton, uint32_t lookId);
    ~ColumnList() override;

    // Lays out the selector, the column titles and the rows, then opens.
    ErrorCode open() override;
    // Pulses the highlighted row after the children's step.
    void animate() override;
    // The reset button asks for confirmation; any other button closes.
    void onResult(uint32_t buttonBits) override;
    // The reset button stands where "Annuler" stands, but the key that
    // answers "Annuler" only closes the list: no key starts a reset.
    uint32_t onKeyEvent(const KeyEvent& event) override;
    virtual void getCellText(uint32_t column, uint32_t row, const RankedTableEntry& entry,
                             std::string& text) = 0;

    void setColumn(uint32_t index, int32_t x, const std::string& title);
    // Empties the list and makes one row per entry of the selected category.
    void fillRows();
    // The red level of the pulse t ms into its two-second period.
    static uint32_t pulseLevel(uint32_t t);

    // The rows' container inside the scrolling list.
    Container* getListContainer() const { return mList != nullptr ? mList->getContent() : nullptr; }
    ContainerLift* getList() const { return mList; }
    Container* getSelectedRow() const { return mSelectedRow; }
    int32_t getHighlightRow() const { return mHighlightRow; }

protected:
    int32_t lineHeight() const;
    // The width of a column: up to the next column, the last one to the
    // content width.
    int32_t columnWidth(uint32_t column);
    Container* makeRow();

    ContainerLift* mList = nullptr;
    Container* mSelectedRow = nullptr;
    Timer mPulseTimer;
    CategorySelector* mSelector;
    // The selector until the list shows it as a child.
    std::unique_ptr<CategorySelector> mOwnedSelector;
    RankedTableFile* mRecords;
    int32_t mHighlightRow;
    std::vector<int32_t> mColumnX;
    std::vector<std::string> mColumnTitles;
    uint32_t mColumnCount;
    uint32_t mTitleColor;
    int32_t mExtraButton;
};
