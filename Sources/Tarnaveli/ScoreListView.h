#pragma once
// The scores window: the records of one computer level in five columns
// (rank, player, time, moves, level) under a header bar that chooses the
// level, with a button that resets the whole table.
#include "Gui/ColumnList.h"

#include <functional>

class Label;
class ScoreTable;
class SetupConfig;

// "Difficulté :" followed by the three-button level selector, 256 by 46.
class ScoreHeaderBar final : public CategorySelector
{
public:
    static constexpr int32_t WIDTH = 256;
    static constexpr int32_t HEIGHT = 46;
    static constexpr int32_t SELECTOR_GAP = 20;
    static constexpr int32_t SELECTOR_WIDTH = 138;
    // Makes the level selector preset to a level; it calls choose with the
    // level picked. The selector belongs to the new-game window's widgets.
    using SelectorMaker =
        std::function<Component*(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t level,
                                 std::function<void(uint32_t level)> choose)>;
    static void setSelectorMaker(SelectorMaker maker);

    explicit ScoreHeaderBar(uint32_t level);
    uint32_t getSelectedCategory() override { return mLevel; }
    // Shows another level.
    void choose(uint32_t level);
    // The label and the selector take min(half the client width, 200) and
    // the client height, where they stand.
    void resize(int32_t width, int32_t height, bool update) override;

    Label* getLabel() const { return mLabel; }
    Component* getSelector() const { return mSelector; }

private:
    uint32_t mLevel;
    Label* mLabel = nullptr;
    Component* mSelector = nullptr;
};

class ScoreListView final : public ColumnList
{
public:
    static constexpr uint32_t COLUMN_COUNT = 5;
    static constexpr int32_t CONTENT_WIDTH = 600;
    static constexpr int32_t CONTENT_HEIGHT = 320;
    // highlightRow: the row of a record just entered, or -1.
    ScoreListView(ScoreTable* table, uint32_t level, int32_t highlightRow);
    void getCellText(uint32_t column, uint32_t row, const RankedTableEntry& entry,
                     std::string& text) override;

    // The level the main menu shows: that of the last computer opponent.
    static uint32_t menuLevel(const SetupConfig& setup);

private:
    ScoreHeaderBar* mHeader;
};
