#include "Tarnaveli/ScoreListView.h"

#include "Framework/ApplicationGeneric.h"
#include "Framework/LangTable.h"
#include "Framework/Utilities.h"
#include "Gui/Label.h"
#include "Gui/Text.h"
#include "Tarnaveli/GameLang.h"
#include "Tarnaveli/ScoreTable.h"
#include "Tarnaveli/SetupConfig.h"

#include <algorithm>
#include <cstdio>

namespace
{
ScoreHeaderBar::SelectorMaker& selectorMaker()
{
    static ScoreHeaderBar::SelectorMaker maker;
    return maker;
}

int32_t halfWidth(int32_t clientWidth)
{
    return std::min(clientWidth / 2, 200);
}

constexpr uint32_t kTitleColor = 0xFF000000;
constexpr int32_t kResetButton = 3;
constexpr size_t kMaxCellText = 256;
} // namespace

void ScoreHeaderBar::setSelectorMaker(SelectorMaker maker)
{
    selectorMaker() = std::move(maker);
}

ScoreHeaderBar::ScoreHeaderBar(uint32_t level)
    : CategorySelector(0, 0, WIDTH, HEIGHT, LOOK_EMPTY), mLevel(level)
{
    // The label in the second default text style, centred vertically.
    TextStyle style;
    if (ApplicationGeneric* application = getApplication())
        style = application->getTextStyle(1);
    Font* font = findFont(style.mFont);
    if (font == nullptr)
        font = findFont(0);
    int32_t line = font != nullptr ? font->getLineHeight() : 0;
    int32_t clientWidth = WIDTH - getMarginLeft() - getMarginRight();
    mLabel = new Label(0, (HEIGHT - line) / 2, halfWidth(clientWidth), line,
                       getLangText(LANG_COMBO_DIFFICULTY_LABEL), style.mColor, 0, font);
    addChild(mLabel);
    int32_t textWidth = mLabel->getTextObject() != nullptr ? mLabel->getTextObject()->getMaxLineWidth() : 0;
    mLabel->resize(textWidth, line, true);
    if (selectorMaker())
    {
        mSelector = selectorMaker()(textWidth + SELECTOR_GAP, 0, SELECTOR_WIDTH, HEIGHT, level,
                                    [this](uint32_t chosen) { choose(chosen); });
        if (mSelector != nullptr)
            addChild(mSelector);
    }
}

void ScoreHeaderBar::choose(uint32_t level)
{
    if (level == mLevel)
        return;
    mLevel = level;
    onChange.invoke(this);
}

void ScoreHeaderBar::resize(int32_t width, int32_t height, bool update)
{
    CategorySelector::resize(width, height, update);
    int32_t clientWidth = width - getMarginLeft() - getMarginRight();
    int32_t clientHeight = height - getMarginTop() - getMarginBottom();
    for (Component* child : {static_cast<Component*>(mLabel), mSelector})
        if (child != nullptr)
            child->resize(halfWidth(clientWidth), clientHeight, update);
}

ScoreListView::ScoreListView(ScoreTable* table, uint32_t level, int32_t highlightRow)
    : ColumnList(new ScoreHeaderBar(level), table, COLUMN_COUNT, highlightRow, kTitleColor, kResetButton,
                 LOOK_DIALOG),
      mHeader(static_cast<ScoreHeaderBar*>(mSelector))
{
    setColumn(0, 0, getLangText(LANG_WINDOW_SCORE_COLUMN_RANK));
    setColumn(1, 60, getLangText(LANG_WINDOW_SCORE_COLUMN_PLAYER));
    setColumn(2, 280, getLangText(LANG_WINDOW_SCORE_COLUMN_TIME));
    setColumn(3, 380, getLangText(LANG_WINDOW_SCORE_COLUMN_MOVES));
    setColumn(4, 460, getLangText(LANG_WINDOW_SCORE_COLUMN_DIFFICULTY));
    // The table's own 750 by 500 would not fit the screen inside this
    // skin's dialog frame; this content size does, centred, with the rows
    // scrolling under the column titles.
    fitAndCenter(CONTENT_WIDTH, CONTENT_HEIGHT);
    mCursorY = getContentTop();
}

void ScoreListView::getCellText(uint32_t column, uint32_t row, const RankedTableEntry& entry,
                                std::string& text)
{
    const auto* score = dynamic_cast<const ScoreEntry*>(&entry);
    if (score == nullptr)
    {
        text.clear();
        return;
    }
    char buffer[kMaxCellText];
    switch (column)
    {
    case 0:
        std::snprintf(buffer, sizeof buffer, "%2i)", static_cast<int>(row + 1));
        text = buffer;
        break;
    case 1:
        text = score->mName.substr(0, kMaxCellText - 1);
        break;
    case 2:
        text = formatDuration(score->mTime);
        break;
    case 3:
        std::snprintf(buffer, sizeof buffer, "%3i",
                      static_cast<int>(std::min<uint32_t>(score->mMoves, 999999)));
        text = buffer;
        break;
    case 4:
    {
        uint32_t level = mHeader->getSelectedCategory();
        text = level <= 2 ? getLangText(LANG_WINDOW_NEW_GAME_DIFF_EASY + level) : std::string();
        break;
    }
    default:
        text.clear();
    }
}

uint32_t ScoreListView::menuLevel(const SetupConfig& setup)
{
    int32_t level = setup.mLastPlayerType1 == 1 ? setup.mLastComputerDiff1 : setup.mLastComputerDiff0;
    return level >= 0 && level <= 2 ? static_cast<uint32_t>(level) : 0;
}
