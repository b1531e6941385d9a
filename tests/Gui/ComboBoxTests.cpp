#include "Gui/ComboBox.h"
#include "Gui/ComboDropList.h"

#include "WidgetTestSupport.h"

namespace
{
struct ComboFixture : ::testing::Test
{
    // The box's borders are 2 and 3 pixels: items are 24 high. The list
    // opens at (130, 130); its items start at y 133.
    ComboFixture()
    {
        app.looks().setLook(9, std::make_unique<MarginLook>(Margins{2, 3, 2, 3}));
        combo = new ComboBox(100, 100, 200, 30, 9);
        layer->addChild(combo);
        for (const char* item : {"Facile", "Moyen", "Difficile"})
            combo->addItem(item);
        combo->onChange.mFunction = [this](Component* sender, uint32_t)
        {
            EXPECT_EQ(sender, combo);
            changes.push_back(combo->getSelectedIndex());
        };
    }
    ComboDropList* dropList() { return dynamic_cast<ComboDropList*>(app.root().getChildren().back()); }
    EditText& itemText(uint32_t index)
    {
        return *static_cast<EditText*>(dropList()->getItemLabel(index)->getTextObject());
    }
    // Two blinks of 100 ms, then the choice applies.
    void blinkOut()
    {
        app.frame(0);
        app.frame(100);
        app.frame(100);
    }

    WidgetTestApplication app;
    TestLayer* layer = app.screen();
    ComboBox* combo = nullptr;
    std::vector<int32_t> changes;
};

TEST_F(ComboFixture, PartsAndSelectedText)
{
    EXPECT_EQ(combo->getArrowButton()->getRect(), (Rect{100, 100, 30, 30}));
    EXPECT_EQ(combo->getContentBox()->getRect(), (Rect{130, 100, 170, 30}));
    EXPECT_EQ(combo->getLabel()->getRect(), (Rect{132, 103, 166, 24}));
    EXPECT_EQ(combo->getItemHeight(), 24);
    // The text is as high as the box's inside, not the font's own size.
    EXPECT_EQ(combo->getLabel()->getTextObject()->getSize(), 24);
    combo->setSelectedIndex(1);
    EXPECT_EQ(static_cast<EditText*>(combo->getLabel()->getTextObject())->text, "Moyen");
    combo->setSelectedIndex(5);
    EXPECT_EQ(combo->getSelectedIndex(), -1);
    EXPECT_EQ(static_cast<EditText*>(combo->getLabel()->getTextObject())->text, "");
    EXPECT_TRUE(changes.empty());
    combo->resize(300, 40, true);
    EXPECT_EQ(combo->getArrowButton()->getRect(), (Rect{100, 100, 40, 40}));
    EXPECT_EQ(combo->getContentBox()->getRect(), (Rect{140, 100, 260, 40}));
    EXPECT_EQ(combo->getLabel()->getRect(), (Rect{142, 103, 256, 34}));
    EXPECT_EQ(combo->getLabel()->getTextObject()->getSize(), 34);
}

TEST_F(ComboFixture, ArrowOpensTheListHoverHighlightsAndAChoiceAppliesAfterTwoBlinks)
{
    app.click(110, 110);
    ComboDropList* list = dropList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(combo->getDropList(), list);
    EXPECT_EQ(list->getListBox()->getRect(), (Rect{130, 130, 170, 78}));
    EXPECT_EQ(list->getItemLabel(2)->getRect(), (Rect{132, 181, 166, 24}));

    app.moveMouse(150, 160);
    EXPECT_EQ(list->getHoveredItem(), 1);
    EXPECT_TRUE(itemText(1).selectionShown());
    EXPECT_FALSE(itemText(1).caretShown()) << "nothing to type into";
    EXPECT_EQ(itemText(1).selectionEnd, 5);
    app.moveMouse(150, 190);
    EXPECT_FALSE(itemText(1).selectionShown());
    EXPECT_TRUE(list->isHighlighted(2));

    app.press(150, 190);
    EXPECT_TRUE(list->isClosing());
    EXPECT_EQ(app.sounds(), Log{"play 9 -1"});
    app.moveMouse(150, 140); // ignored while closing
    EXPECT_EQ(list->getHoveredItem(), 2);
    app.frame(0);
    EXPECT_FALSE(list->isHighlighted(2));
    app.frame(50);
    EXPECT_TRUE(list->isHighlighted(2));
    app.frame(50); // the second blink begins
    app.frame(30);
    EXPECT_FALSE(list->isHighlighted(2));
    app.frame(40);
    EXPECT_TRUE(list->isHighlighted(2));
    EXPECT_TRUE(changes.empty());
    app.frame(30);
    EXPECT_EQ(changes, (std::vector<int32_t>{2}));
    EXPECT_EQ(combo->getSelectedIndex(), 2);
    EXPECT_EQ(dropList(), nullptr);
    EXPECT_EQ(combo->getDropList(), nullptr);
}

TEST_F(ComboFixture, TextBoxOpensTooAndTheSameItemStillCallsBack)
{
    combo->setSelectedIndex(0);
    app.click(200, 110);
    ASSERT_NE(dropList(), nullptr);
    // The release of the opening click did not close it.
    EXPECT_FALSE(dropList()->isClosing());
    app.click(150, 140);
    blinkOut();
    EXPECT_EQ(changes, (std::vector<int32_t>{0}));
}

TEST_F(ComboFixture, PressOutsideTheItemsClosesWithoutChoosing)
{
    app.click(110, 110);
    ASSERT_NE(dropList(), nullptr);
    app.click(500, 500);
    EXPECT_EQ(dropList(), nullptr);
    EXPECT_TRUE(changes.empty());
    EXPECT_TRUE(app.sounds().empty());
    // A second click opens a new list.
    app.click(110, 110);
    EXPECT_NE(dropList(), nullptr);
}

TEST_F(ComboFixture, EmptyComboOpensOneBoxHighAndClosesOnAnyClick)
{
    auto* empty = new ComboBox(100, 300, 200, 30, 9);
    layer->addChild(empty);
    app.click(110, 310);
    ASSERT_NE(dropList(), nullptr);
    EXPECT_EQ(dropList()->getListBox()->getHeight(), 30);
    app.click(150, 335);
    EXPECT_EQ(dropList(), nullptr);
}

TEST_F(ComboFixture, DeletingTheComboClosesItsListSafely)
{
    app.click(110, 110);
    ASSERT_NE(dropList(), nullptr);
    app.press(150, 140);
    layer->removeAndDeleteChild(combo);
    combo = nullptr;
    blinkOut();
    EXPECT_EQ(dropList(), nullptr);
    EXPECT_TRUE(changes.empty());
}
} // namespace
