#include "Gui/CheckBox.h"
#include "Gui/CheckBoxLook.h"
#include "Gui/CheckBoxPair.h"
#include "Gui/LabeledCheckBox.h"

#include "WidgetTestSupport.h"

namespace
{
constexpr uint32_t kBoxLook = 5;
constexpr uint32_t kCaptionLook = 3;

struct BoxFixture : ::testing::Test
{
    BoxFixture()
    {
        const uint32_t ids[6] = {10, 11, 12, 13, 14, 15};
        app.looks().setLook(kBoxLook, std::make_unique<CheckBoxLook>(ids, 2));
        layer = app.screen();
    }
    uint32_t shownTexture(CheckBox* box)
    {
        return static_cast<CheckBoxRenderer*>(box->getRenderer())->getTextureId();
    }

    WidgetTestApplication app;
    TestLayer* layer = nullptr;
};

TEST_F(BoxFixture, ClickTogglesPlaysTheLookSoundAndCallsBack)
{
    auto* box = new CheckBox(10, 10, 20, 20, kBoxLook);
    layer->addChild(box);
    int calls = 0;
    box->onClick.mFunction = [&](Component* sender, uint32_t)
    {
        EXPECT_EQ(sender, box);
        ++calls;
    };
    app.click(15, 15);
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(app.sounds(), Log{"play 2 -1"});
    EXPECT_EQ(app.gui().getPressed(), nullptr);
    app.click(15, 15);
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(calls, 2);
}

TEST_F(BoxFixture, TextureFollowsStateAndCursor)
{
    auto* box = new CheckBox(10, 10, 20, 20, kBoxLook);
    layer->addChild(box);
    EXPECT_EQ(shownTexture(box), 12u); // unchecked released
    app.moveMouse(15, 15);
    EXPECT_EQ(shownTexture(box), 14u); // unchecked rolled over
    app.press(15, 15);
    EXPECT_EQ(shownTexture(box), 10u); // unchecked pressed
    app.release(15, 15);
    EXPECT_EQ(shownTexture(box), 15u); // checked rolled over
    box->setEnabled(false);
    box->updateLayout();
    EXPECT_EQ(shownTexture(box), 13u); // disabled: released group
}

TEST_F(BoxFixture, DisabledOrDraggedOntoBoxDoesNotToggle)
{
    auto* box = new CheckBox(10, 10, 20, 20, kBoxLook);
    layer->addChild(box);
    box->setEnabled(false);
    app.click(15, 15);
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(app.gui().getPressed(), nullptr);
    EXPECT_TRUE(app.sounds().empty());

    // A press that began elsewhere does not toggle on release.
    box->setEnabled(true);
    app.press(300, 300);
    app.release(15, 15);
    EXPECT_FALSE(box->isChecked());
    // Pressed on the box, released off it.
    app.press(15, 15);
    app.release(300, 300);
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(app.gui().getPressed(), nullptr);
}

TEST_F(BoxFixture, LabeledBoxLaysOutAndTogglesFromItsCaption)
{
    auto* widget = new LabeledCheckBox(100, 50, 300, 30, "Musique", "La musique des menus", false, kBoxLook,
                                       kCaptionLook, nullptr, 20, 24, "Son");
    layer->addChild(widget);
    CheckBox* box = widget->getBox();
    EXPECT_EQ(box->getRect(), (Rect{100, 50, 24, 24}));
    TextButton* leading = widget->getLeadingCaption();
    ASSERT_NE(leading, nullptr);
    EXPECT_EQ(leading->getRect(), (Rect{124, 50, 21, 30}));
    EXPECT_EQ(widget->getCaption()->getRect(), (Rect{145, 55, 255, 20}));
    auto* caption = static_cast<EditText*>(widget->getCaption()->getCaption());
    EXPECT_EQ(caption->flags & 3u, 0u);
    EXPECT_EQ(caption->flags & TEXT_WORD_WRAP, 0u);
    EXPECT_EQ(widget->getNaturalWidth(), 24 + 7 * 7 + 21);
    EXPECT_EQ(widget->getInfotipText(), "La musique des menus");

    int changes = 0;
    widget->onChange.mFunction = [&](Component* sender, uint32_t)
    {
        EXPECT_EQ(sender, widget);
        ++changes;
    };
    app.click(160, 60); // main caption
    EXPECT_TRUE(widget->isChecked());
    app.click(110, 60); // the box
    EXPECT_FALSE(widget->isChecked());
    app.click(130, 60); // leading caption: calls back, keeps the state
    EXPECT_FALSE(widget->isChecked());
    EXPECT_EQ(changes, 3);

    widget->resize(400, 30, true);
    EXPECT_EQ(widget->getCaption()->getWidth(), 355);
}

TEST_F(BoxFixture, DisabledLabeledBoxKeepsItsStateAndCallsNobody)
{
    auto* widget = new LabeledCheckBox(0, 0, 200, 20, "Sons", "", true, kBoxLook, kCaptionLook);
    layer->addChild(widget);
    int changes = 0;
    widget->onChange.mFunction = [&](Component*, uint32_t) { ++changes; };
    widget->setEnabled(false);
    app.click(5, 5);
    app.click(50, 5);
    EXPECT_TRUE(widget->isChecked());
    EXPECT_EQ(changes, 0);
}

TEST_F(BoxFixture, PairBoxesAlwaysDiffer)
{
    auto* pair = new CheckBoxPair(0, 100, 300, 20, "Couleur", "", true);
    layer->addChild(pair);
    EXPECT_EQ(pair->getSecond()->getRect(), (Rect{30, 100, 20, 20}));
    EXPECT_EQ(pair->getLabel()->getRect(), (Rect{60, 100, 240, 20}));
    int changes = 0;
    pair->onChange.mFunction = [&](Component*, uint32_t) { ++changes; };
    app.click(35, 105);
    EXPECT_FALSE(pair->getFirst()->isChecked());
    EXPECT_TRUE(pair->getSecond()->isChecked());
    // A click on the checked box unchecks it and checks the other one.
    app.click(35, 105);
    EXPECT_TRUE(pair->getFirst()->isChecked());
    EXPECT_FALSE(pair->getSecond()->isChecked());
    app.click(5, 105);
    EXPECT_NE(pair->getFirst()->isChecked(), pair->getSecond()->isChecked());
    EXPECT_EQ(changes, 3);
}
} // namespace
