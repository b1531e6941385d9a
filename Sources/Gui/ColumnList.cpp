#include "Gui/ColumnList.h"

#include "Framework/FrameworkTexts.h"
#include "Framework/Keys.h"
#include "Framework/LangTable.h"
#include "Gui/Label.h"

namespace
{
uint32_t buttonBitsFor(int32_t extraButton)
{
    return 1u | (extraButton >= 0 && extraButton < 32 ? 1u << extraButton : 0u);
}
} // namespace

ColumnList::ColumnList(CategorySelector* selector, RankedTableFile* records, uint32_t columnCount,
                       int32_t highlightRow, uint32_t titleColor, int32_t extraButton, uint32_t lookId)
    : Dialog(750, 500, getLangText(LANG_WINDOW_SCORE_TITLE), buttonBitsFor(extraButton), false, true, lookId),
      mSelector(selector), mOwnedSelector(selector), mRecords(records), mHighlightRow(highlightRow),
      mColumnX(columnCount, -1), mColumnTitles(columnCount), mColumnCount(columnCount),
      mTitleColor(titleColor), mExtraButton(extraButton)
{
    mPulseTimer.start();
    if (getButton(static_cast<uint32_t>(extraButton)) != nullptr && extraButton >= 0)
        setButtonCaption(static_cast<uint32_t>(extraButton), getLangText(LANG_WINDOW_SCORE_RESET));
}

ColumnList::~ColumnList() = default;

void ColumnList::setColumn(uint32_t index, int32_t x, const std::string& title)
{
    if (index >= mColumnCount)
        return;
    mColumnX[index] = x;
    mColumnTitles[index] = title;
}

int32_t ColumnList::lineHeight() const
{
    Font* font = findFont(mLook->textFont);
    if (font == nullptr)
        font = findFont(0);
    return font != nullptr ? font->getLineHeight() : 0;
}

int32_t ColumnList::columnWidth(uint32_t column)
{
    int32_t x = mColumnX[column];
    for (uint32_t next = column + 1; next < mColumnCount; ++next)
    {
        if (mColumnX[next] >= 0)
            return mColumnX[next] - x;
    }
    return getContentWidth() - x;
}

Container* ColumnList::makeRow()
{
    // As wide as the list leaves beside its lift.
    Container* content = mList->getContent();
    int32_t width = content->getWidth() - content->getMarginLeft() - content->getMarginRight();
    return new Container(0, 0, width, lineHeight(), LOOK_EMPTY);
}

ErrorCode ColumnList::open()
{
    if (mOpened)
        return 1;
    Font* font = findFont(mLook->textFont);
    int32_t line = lineHeight();
    int32_t contentLeft = getContentLeft();
    int32_t contentWidth = getContentWidth();
    // 1. The selector across the content; a new choice shows its category.
    if (mOwnedSelector != nullptr)
    {
        mSelector->moveTo(contentLeft, mCursorY, false);
        mSelector->resize(contentWidth, mSelector->getHeight(), true);
        mSelector->onChange.mFunction = [this](Component*, uint32_t)
        {
            mHighlightRow = -1;
            fillRows();
        };
        add(std::move(mOwnedSelector));
        mCursorY += mSelector->getHeight();
    }
    // 2. The column titles, one line above the list.
    auto* header = new Container(contentLeft, mCursorY, contentWidth, line, LOOK_EMPTY);
    for (uint32_t column = 0; column < mColumnCount; ++column)
    {
        if (mColumnX[column] < 0)
            continue;
        header->addChild(std::make_unique<Label>(mColumnX[column], 0, columnWidth(column), line,
                                                 mColumnTitles[column], mTitleColor, 0, font));
    }
    add(header);
    // 3. The scrolling list fills the rest of the content area. Its rows
    // are read, not chosen: the highlighted one is the pulsing record.
    int32_t listY = mCursorY + line;
    int32_t listHeight = getContentTop() + getContentHeight() - listY;
    mList = new ContainerLift(Rect{contentLeft, listY, contentWidth, listHeight > 0 ? listHeight : 0},
                              LOOK_LIST, 0);
    mList->setSelectable(false);
    mList->setScrollStep(line > 0 ? line : 1);
    add(mList);
    fillRows();
    return Layer::open();
}

void ColumnList::fillRows()
{
    if (mList == nullptr)
        return;
    mSelectedRow = nullptr;
    mList->clear();
    if (mRecords != nullptr && mSelector != nullptr)
    {
        Font* font = findFont(mLook->textFont);
        int32_t line = lineHeight();
        const RankedTableFile::Category& entries = mRecords->getCategory(mSelector->getSelectedCategory());
        for (uint32_t row = 0; row < entries.size(); ++row)
        {
            Container* rowContainer = makeRow();
            for (uint32_t column = 0; column < mColumnCount; ++column)
            {
                if (mColumnX[column] < 0)
                    continue;
                std::string text;
                getCellText(column, row, *entries[row], text);
                rowContainer->addChild(std::make_unique<Label>(mColumnX[column], 0, columnWidth(column), line,
                                                               text, 0xFF000000, 0, font));
            }
            mList->addRow(rowContainer);
            if (static_cast<int32_t>(row) == mHighlightRow)
                mSelectedRow = rowContainer;
        }
        // A record just entered low in the table is scrolled into view.
        if (mSelectedRow != nullptr)
            mList->setScrollPosition(mHighlightRow * line);
    }
    mPulseTimer.start();
}

uint32_t ColumnList::pulseLevel(uint32_t t)
{
    int64_t level = 0;
    if (t <= 1000)
        level = static_cast<int64_t>(t) * 255 / 1000;
    else if (t <= 2000)
        level = 255 + (1000 - static_cast<int64_t>(t)) * 255 / 1000;
    return static_cast<uint32_t>(level < 0 ? 0 : level > 255 ? 255 : level);
}

void ColumnList::animate()
{
    Container::animate();
    if (mSelectedRow == nullptr)
        return;
    uint32_t t = mPulseTimer.getElapsed();
    uint32_t level = pulseLevel(t);
    if (t > 2000)
        mPulseTimer.start();
    for (Component* child : mSelectedRow->getChildren())
        child->setColor(0xFF000000 | level << 16 | (level / 2) << 8);
}

uint32_t ColumnList::onKeyEvent(const KeyEvent& event)
{
    const std::vector<DialogButton>& records = mLook->buttonRecords;
    if (mExtraButton >= 0 && static_cast<size_t>(mExtraButton) < records.size() &&
        event.mType == KEY_EVENT_PRESSED && event.mKeyId != KEY_NONE &&
        event.mKeyId == records[static_cast<size_t>(mExtraButton)].shortcutKey)
    {
        close();
        return 1;
    }
    return Dialog::onKeyEvent(event);
}

void ColumnList::onResult(uint32_t buttonBits)
{
    if (mExtraButton >= 0 && mExtraButton < 32 && buttonBits == 1u << mExtraButton)
    {
        auto* confirm = new MessageDialog(
            getLangText(LANG_WINDOW_SCORE_RESET_MSGBOX_TITLE),
            getLangText(LANG_WINDOW_SCORE_RESET_MSGBOX_TEXT), 9,
            [](MessageDialog* dialog, void* object)
            {
                if (dialog->getResult() != 1)
                    return;
                auto* list = static_cast<ColumnList*>(object);
                if (list->mRecords == nullptr)
                    return;
                list->mRecords->clear();
                list->fillRows();
                list->mRecords->save();
            },
            this);
        confirm->open();
        return;
    }
    close();
}
