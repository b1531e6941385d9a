#include "Gui/ColumnList.h"

#include "GuiTestSupport.h"
#include "Platform/System/Paths.h"

#include <filesystem>

namespace
{
class TimeEntry final : public RankedTableEntry
{
public:
    explicit TimeEntry(int32_t time = 0) : time(time) {}
    void setDefaults() override { time = 0; }
    ErrorCode serialize(BinaryStream& stream) override { return stream.transferValue(time); }
    int32_t score() const override { return time; }
    void copyFrom(const RankedTableEntry& other) override { time = other.score(); }
    int32_t time;
};

class TimeTable final : public RankedTableFile
{
public:
    TimeTable() : RankedTableFile(2, 10, "data\\score.dat") {}
    std::unique_ptr<RankedTableEntry> createEntry() override { return std::make_unique<TimeEntry>(); }
    uint32_t categoryOf(uint32_t key) override { return key; }
};

class Selector final : public CategorySelector
{
public:
    Selector() : CategorySelector(0, 0, 100, 30, LOOK_EMPTY) {}
    uint32_t getSelectedCategory() override { return category; }
    void choose(uint32_t newCategory)
    {
        category = newCategory;
        onChange.invoke(this);
    }
    uint32_t category = 0;
};

class TimeList final : public ColumnList
{
public:
    TimeList(Selector* selector, RankedTableFile* records, int32_t highlight)
        : ColumnList(selector, records, 2, highlight, 0xFF0000FF, 3, LOOK_DIALOG)
    {
        setColumn(0, 0, "Rang");
        setColumn(1, 60, "Temps");
    }
    void getCellText(uint32_t column, uint32_t row, const RankedTableEntry& entry, std::string& text) override
    {
        text = column == 0 ? std::to_string(row + 1) : std::to_string(entry.score());
    }
};

struct ColumnListFixture
{
    Platform::TemporaryDirectory directory;
    Log log;
    GuiTestApplication app;
    TimeTable table;
    Selector* selector = new Selector();

    ColumnListFixture()
    {
        Platform::setProgramDirectory(directory.path());
        std::filesystem::create_directories(directory.path() + "data");
        table.init();
        for (int32_t time : {30, 10, 20})
            table.insert(TimeEntry(time), 0);
        table.insert(TimeEntry(99), 1);
    }

    std::string cell(Container* row, size_t column)
    {
        auto* label = static_cast<Label*>(row->getChildren()[column]);
        return label->getTextObject()->getText();
    }
};
} // namespace

TEST(ColumnList, PulseGoesFromBlackToOrangeAndBackInTwoSeconds)
{
    EXPECT_EQ(ColumnList::pulseLevel(0), 0u);
    EXPECT_EQ(ColumnList::pulseLevel(500), 127u);
    EXPECT_EQ(ColumnList::pulseLevel(1000), 255u);
    EXPECT_EQ(ColumnList::pulseLevel(1500), 128u);
    EXPECT_EQ(ColumnList::pulseLevel(2000), 0u);
    EXPECT_EQ(ColumnList::pulseLevel(2001), 0u);
}

TEST(ColumnList, ShowsTheSelectedCategoryAndFollowsTheSelector)
{
    ColumnListFixture f;
    auto* list = openNow(f.app, new TimeList(f.selector, &f.table, 1));
    EXPECT_EQ(f.selector->getParent(), list);
    EXPECT_EQ(f.selector->getWidth(), list->getContentWidth());
    Container* rows = list->getListContainer();
    ASSERT_NE(rows, nullptr);
    ASSERT_EQ(rows->getChildren().size(), 3u);
    auto* second = static_cast<Container*>(rows->getChildren()[1]);
    EXPECT_EQ(f.cell(second, 0), "2");
    EXPECT_EQ(f.cell(second, 1), "20");
    EXPECT_EQ(second->getY(), rows->getY() + 11);
    EXPECT_EQ(list->getSelectedRow(), second);
    EXPECT_EQ(second->getChildren()[1]->getX(), rows->getX() + 60);
    EXPECT_EQ(second->getChildren()[1]->getWidth(), list->getContentWidth() - 60);
    EXPECT_EQ(rows->getY(), f.selector->getY() + 30 + 11) << "one line for the column titles";

    f.selector->choose(1);
    ASSERT_EQ(rows->getChildren().size(), 1u);
    EXPECT_EQ(f.cell(static_cast<Container*>(rows->getChildren()[0]), 1), "99");
    EXPECT_EQ(list->getSelectedRow(), nullptr);
    EXPECT_EQ(list->getHighlightRow(), -1);
}

TEST(ColumnList, ResetButtonEmptiesTheTableAfterConfirmation)
{
    ColumnListFixture f;
    auto* list = openNow(f.app, new TimeList(f.selector, &f.table, -1));
    ASSERT_NE(list->getButton(3), nullptr);
    ASSERT_NE(list->getButton(0), nullptr);
    Component* reset = list->getButton(3);
    f.app.click(reset->getX() + 1, reset->getY() + 1);
    auto* confirm = dynamic_cast<MessageDialog*>(f.app.root().getChildren().back());
    ASSERT_NE(confirm, nullptr);
    Component* cancel = confirm->getButton(3);
    f.app.click(cancel->getX() + 1, cancel->getY() + 1);
    EXPECT_EQ(f.table.getCategory(0).size(), 3u);
    EXPECT_EQ(f.app.root().getChildren().back(), list);

    f.app.click(reset->getX() + 1, reset->getY() + 1);
    confirm = dynamic_cast<MessageDialog*>(f.app.root().getChildren().back());
    ASSERT_NE(confirm, nullptr);
    Component* ok = confirm->getButton(0);
    f.app.click(ok->getX() + 1, ok->getY() + 1);
    EXPECT_TRUE(f.table.getCategory(0).empty());
    EXPECT_TRUE(list->getListContainer()->getChildren().empty());
    EXPECT_TRUE(std::filesystem::exists(f.directory.path() + "data/score.dat"));

    Component* close = list->getButton(0);
    f.app.click(close->getX() + 1, close->getY() + 1);
    EXPECT_TRUE(f.app.root().getChildren().empty());
}

TEST(ColumnList, SelectorOfAListNeverOpenedIsDeletedWithIt)
{
    ColumnListFixture f;
    delete new TimeList(f.selector, &f.table, -1);
}
