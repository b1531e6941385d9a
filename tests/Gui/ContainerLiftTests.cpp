#include "Gui/ContainerLift.h"

#include "WidgetTestSupport.h"

namespace
{
struct ListFixture : ::testing::Test
{
    // The default list look: content look 9, a lift 32 wide, step 10. The
    // content spans (100, 100) to (300, 200) inside its 4/6 margins.
    ListFixture()
    {
        app.looks().setLook(9, std::make_unique<MarginLook>(Margins{4, 6, 4, 6}));
        list = new ContainerLift(100, 100, 232, 100, LOOK_EMPTY, 9);
        layer->addChild(list);
        list->onSelect.mFunction = [this](Component* sender, uint32_t)
        {
            EXPECT_EQ(sender, list);
            selections.push_back(list->getSelectedIndex());
        };
    }
    void addRows(std::initializer_list<int32_t> heights)
    {
        for (int32_t height : heights)
            list->addRow(new Component(0, 0, 150, height));
    }

    WidgetTestApplication app;
    TestLayer* layer = app.screen();
    ContainerLift* list = nullptr;
    std::vector<int32_t> selections;
};

TEST_F(ListFixture, PartsAndRowsArePlacedInsideTheContent)
{
    EXPECT_EQ(list->getContent()->getRect(), (Rect{100, 100, 200, 100}));
    EXPECT_EQ(list->getLift()->getRect(), (Rect{300, 100, 32, 100}));
    EXPECT_EQ(list->getClipList()->getRect(), (Rect{104, 106, 192, 88}));
    addRows({30, 40});
    EXPECT_EQ(list->getRow(0)->getRect(), (Rect{104, 106, 150, 30}));
    EXPECT_EQ(list->getRow(1)->getRect(), (Rect{104, 136, 150, 40}));
    EXPECT_EQ(list->getRow(1)->getRenderList(), list->getClipList());
    list->moveTo(0, 0, true);
    EXPECT_EQ(list->getClipList()->getRect(), (Rect{4, 6, 192, 88}));
    EXPECT_EQ(list->getRow(1)->getY(), 36);
}

TEST_F(ListFixture, ScrollRangeCountsWholeStepsOfTheVisibleHeight)
{
    // 130 pixels of rows, 88 visible.
    addRows({30, 30, 30, 40});
    list->setScrollStep(20);
    EXPECT_EQ(list->getLift()->getMaximum(), 130 - 80);
    list->setScrollStep(30);
    EXPECT_EQ(list->getLift()->getMaximum(), 130 - 60);
    list->setScrollPercent(50);
    EXPECT_EQ(list->getScrollPosition(), 35);
    EXPECT_EQ(list->getRow(0)->getY(), 106 - 35);
    // Fewer rows cut the scroll to the new maximum.
    list->clear();
    addRows({30});
    EXPECT_EQ(list->getLift()->getMaximum(), 0);
    EXPECT_EQ(list->getScrollPosition(), 0);
    EXPECT_EQ(list->getLift()->getCarretLength(), 100 - 64);
}

TEST_F(ListFixture, WheelScrollsOneStepPerNotchWithinTheRange)
{
    addRows({30, 30, 30, 40});
    app.wheel(150, 150, -120);
    EXPECT_EQ(list->getScrollPosition(), 10);
    EXPECT_EQ(list->getLift()->getValue(), 10);
    app.wheel(150, 150, -600);
    EXPECT_EQ(list->getScrollPosition(), 50);
    app.wheel(150, 150, 1200);
    EXPECT_EQ(list->getScrollPosition(), 0);
}

TEST_F(ListFixture, LiftMovesTheRows)
{
    addRows({30, 30, 30, 40});
    list->getLift()->moveBy(20);
    EXPECT_EQ(list->getScrollPosition(), 20);
    EXPECT_EQ(list->getRow(0)->getY(), 86);
}

TEST_F(ListFixture, ClickSelectsTheRowUnderThePointWithSoundAndHighlight)
{
    addRows({30, 40});
    app.click(120, 150);
    EXPECT_EQ(list->getSelectedIndex(), 1);
    EXPECT_EQ(selections, (std::vector<int32_t>{1}));
    EXPECT_EQ(app.sounds(), Log{"play 9 -1"});
    Rect highlight;
    ASSERT_TRUE(list->getHighlight(highlight));
    EXPECT_EQ(highlight, (Rect{104, 136, 196, 40}));
    EXPECT_EQ(list->getHighlightImage()->getRect(), highlight);
    EXPECT_EQ(list->getHighlightImage()->getSkinTextureId(), 1u);
    // Below the rows: nothing.
    app.click(120, 190);
    EXPECT_EQ(list->getSelectedIndex(), 1);
    // A row scrolled under the top border is not hit there.
    list->setScrollPosition(20);
    app.click(120, 102);
    EXPECT_EQ(selections.size(), 1u);
    list->setSelectable(false);
    list->updateLayout();
    EXPECT_FALSE(list->getHighlight(highlight));
    EXPECT_EQ(list->getHighlightImage()->getSkinTextureId(), Image::kNoSkinTexture);
}

TEST_F(ListFixture, SelectBringsTheRowIntoTheMiddle)
{
    addRows({30, 30, 30, 30, 30, 30});
    list->select(4); // offset 120, visible 88: (30 - 88) / 2 = -29
    EXPECT_EQ(list->getScrollPosition(), 120 - 29);
    EXPECT_EQ(app.sounds(), Log{"play 9 -1"});
    list->select(4); // wholly visible now
    EXPECT_EQ(list->getScrollPosition(), 91);
    list->select(0);
    EXPECT_EQ(list->getScrollPosition(), 0);
    list->select(6); // past the rows
    EXPECT_EQ(list->getSelectedIndex(), 0);
}

TEST_F(ListFixture, KeysSelectOnlyWhenEnabled)
{
    addRows({30, 30, 30});
    app.key(KEY_DOWN);
    EXPECT_EQ(list->getSelectedIndex(), -1);
    list->setTakesKeys(true);
    app.key(KEY_UP);
    EXPECT_EQ(list->getSelectedIndex(), -1);
    app.key(KEY_DOWN);
    EXPECT_EQ(list->getSelectedIndex(), 0);
    app.key(KEY_UP);
    EXPECT_EQ(list->getSelectedIndex(), 0);
    app.key(KEY_END);
    EXPECT_EQ(list->getSelectedIndex(), 2);
    app.key(KEY_DOWN, "", KEY_EVENT_REPEATED);
    EXPECT_EQ(list->getSelectedIndex(), 2);
    app.key(KEY_HOME);
    EXPECT_EQ(list->getSelectedIndex(), 0);
    EXPECT_EQ(list->onKeyEvent(KeyEvent{KEY_A}), 0u);
    EXPECT_EQ(selections, (std::vector<int32_t>{0, 2, 0}));
}

TEST_F(ListFixture, ClearingFromTheSelectionCallbackDefersTheDeletion)
{
    Log log;
    list->addRow(new Probe(log, "row", 0, 0, 150, 30));
    list->onSelect.mFunction = [this](Component*, uint32_t) { list->clear(); };
    app.click(120, 110);
    EXPECT_EQ(list->getRowCount(), 0u);
    EXPECT_EQ(list->getSelectedIndex(), -1);
    EXPECT_EQ(log.back(), "row deleted");
}
} // namespace

namespace
{
struct CountingRow : Component
{
    using Component::Component;
    ErrorCode render() override
    {
        ++renders;
        return 0;
    }
    int renders = 0;
};
} // namespace

TEST_F(ListFixture, OnlyRowsInTheWindowAreDrawn)
{
    std::vector<CountingRow*> rows;
    for (int i = 0; i < 30; ++i)
    {
        rows.push_back(new CountingRow(0, 0, 150, 20));
        list->addRow(rows.back());
    }
    const Rect window = list->getClipList()->getRect();
    for (int32_t scroll : {0, 30, 250, 500})
    {
        list->setScrollPosition(scroll);
        for (CountingRow* row : rows)
            row->renders = 0;
        ASSERT_EQ(list->render(), 0u);
        int drawn = 0;
        for (size_t i = 0; i < rows.size(); ++i)
        {
            const Rect r = rows[i]->getRect();
            bool inside = r.y + r.height > window.y && r.y < window.y + window.height;
            EXPECT_EQ(rows[i]->renders, inside ? 1 : 0) << "row " << i << " at scroll " << scroll;
            drawn += rows[i]->renders;
        }
        EXPECT_LE(drawn, window.height / 20 + 2) << "scroll " << scroll;
    }
}
