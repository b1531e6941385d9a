#include "Gui/TextButton.h"

#include "WidgetTestSupport.h"

namespace
{
struct ButtonFixture : ::testing::Test
{
    ButtonFixture()
    {
        app.looks().setLook(3, std::make_unique<SoundLook>(4));
        layer = app.screen();
        button = new TextButton(100, 100, 80, 30, "Jouer", 3, "Commencer une partie");
        button->onClick.mUserValue = 7;
        button->onClick.mFunction = [this](Component* sender, uint32_t value)
        {
            EXPECT_EQ(sender, button);
            EXPECT_EQ(value, 7u);
            ++clicks;
        };
        layer->addChild(button);
    }

    WidgetTestApplication app;
    TestLayer* layer = nullptr;
    TextButton* button = nullptr;
    int clicks = 0;
};

TEST_F(ButtonFixture, ClickFiresOnReleaseWithSound)
{
    app.moveMouse(110, 110);
    app.press(110, 110);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(app.gui().getPressed(), button);
    EXPECT_EQ(button->getLookState(), LOOK_STATE_PRESSED);
    app.release(110, 110);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(app.gui().getPressed(), nullptr);
    EXPECT_EQ(app.sounds(), Log{"play 4 -1"});
    EXPECT_EQ(button->getLookState(), LOOK_STATE_ROLLED_OVER);
}

TEST_F(ButtonFixture, LookStatesFollowCursorPressAndEnabledFlag)
{
    EXPECT_EQ(button->getLookState(), LOOK_STATE_RELEASED);
    app.moveMouse(110, 110);
    EXPECT_EQ(button->getLookState(), LOOK_STATE_ROLLED_OVER);
    app.moveMouse(300, 300);
    EXPECT_EQ(button->getLookState(), LOOK_STATE_RELEASED);
    button->setEnabled(false);
    app.moveMouse(110, 110);
    EXPECT_EQ(button->getLookState(), LOOK_STATE_DISABLED);
}

// Remembers the state the button's look was last laid out in.
struct StateRenderer final : LookRenderer
{
    StateRenderer(Look* look, Component* widget, uint32_t& shown) : LookRenderer(look, widget), shown(shown)
    {
    }
    ErrorCode render() override { return 0; }
    ErrorCode update() override
    {
        shown = dynamic_cast<LookStateSource*>(mWidget)->getLookState();
        return 0;
    }
    uint32_t& shown;
};

struct StateLook final : Look
{
    StateLook() : Look(0, 0, nullptr, nullptr) {}
    uint32_t getKind() override { return LOOK_KIND_BUTTON; }
    std::unique_ptr<LookRenderer> createRenderer(Component* widget) override
    {
        return std::make_unique<StateRenderer>(this, widget, shown);
    }
    uint32_t shown = 99;
};

TEST(TextButton, EnablingShowsTheNewStateWithoutAnotherLayout)
{
    WidgetTestApplication app;
    auto* look = new StateLook();
    app.looks().setLook(3, std::unique_ptr<Look>(look));
    TextButton button(0, 0, 80, 30, "Lancer", 3, "");
    button.setEnabled(false);
    EXPECT_EQ(look->shown, LOOK_STATE_DISABLED);
    button.setEnabled(true);
    EXPECT_EQ(look->shown, LOOK_STATE_RELEASED);
}

TEST_F(ButtonFixture, ReleaseOutsideGivesUpThePressSilently)
{
    app.moveMouse(110, 110);
    app.press(110, 110);
    app.moveMouse(300, 300);
    app.release(300, 300);
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(app.sounds().empty());
    EXPECT_EQ(app.gui().getPressed(), nullptr);
}

TEST_F(ButtonFixture, DisabledButtonIgnoresPressAndRelease)
{
    button->setEnabled(false);
    app.click(110, 110);
    EXPECT_EQ(app.gui().getPressed(), nullptr);
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(app.sounds().empty());

    // Disabled while held: the release plays nothing and fires nothing.
    button->setEnabled(true);
    app.press(110, 110);
    button->setEnabled(false);
    app.release(110, 110);
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(app.sounds().empty());
    EXPECT_EQ(app.gui().getPressed(), nullptr);
}

TEST_F(ButtonFixture, RightButtonDoesNothing)
{
    app.moveMouse(110, 110);
    app.gui().dispatchMouseEvent(app.mouse(MOUSE_EVENT_BUTTON_DOWN, 110, 110, MOUSE_BUTTON_RIGHT));
    app.gui().dispatchMouseEvent(app.mouse(MOUSE_EVENT_BUTTON_UP, 110, 110, MOUSE_BUTTON_RIGHT));
    EXPECT_EQ(app.gui().getPressed(), nullptr);
    EXPECT_EQ(clicks, 0);
}

TEST_F(ButtonFixture, AutoRepeatFiresAtPressThenOncePerIntervalAndOncePerLateFrame)
{
    button->setAutoRepeat(100);
    app.moveMouse(110, 110);
    app.press(110, 110);
    EXPECT_EQ(clicks, 1);
    app.frame(60);
    EXPECT_EQ(clicks, 1);
    app.frame(40);
    EXPECT_EQ(clicks, 2);
    app.frame(100);
    EXPECT_EQ(clicks, 3);
    app.frame(50);
    app.release(110, 110);
    EXPECT_EQ(clicks, 3);
    EXPECT_EQ(app.sounds(), Log{"play 4 -1"});

    // A frame 350 ms late fires once; 50 ms stay, so 50 more fire again.
    app.press(110, 110);
    EXPECT_EQ(clicks, 4);
    app.frame(350);
    EXPECT_EQ(clicks, 5);
    app.frame(49);
    EXPECT_EQ(clicks, 5);
    app.frame(1);
    EXPECT_EQ(clicks, 6);
}

TEST_F(ButtonFixture, AutoRepeatStopsOffTheButtonAndRestartsFromZero)
{
    button->setAutoRepeat(100);
    app.moveMouse(110, 110);
    app.press(110, 110);
    app.moveMouse(300, 300);
    app.frame(250);
    EXPECT_EQ(clicks, 1);
    app.moveMouse(110, 110);
    app.frame(0);
    app.frame(99);
    EXPECT_EQ(clicks, 1);
    app.frame(1);
    EXPECT_EQ(clicks, 2);
}

TEST_F(ButtonFixture, CaptionIsCentredAndFollowsTheButton)
{
    auto* caption = static_cast<EditText*>(button->getCaption());
    EXPECT_EQ(caption->width, 80);
    EXPECT_EQ(caption->x, 100);
    EXPECT_EQ(caption->y, 100 + (30 - 11) / 2);
    button->setRelativePosition(10, 20);
    EXPECT_EQ(caption->x, 10);
    EXPECT_EQ(caption->y, 20 + 9);
    button->setCaption("Quitter le jeu");
    EXPECT_EQ(caption->text, "Quitter le jeu");
    EXPECT_EQ(button->getCaptionWidth(), 14 * 7);
    EXPECT_EQ(button->getInfotipText(), "Commencer une partie");
}

TEST_F(ButtonFixture, LooksReadStateAndCaptionThroughTheStateSource)
{
    auto* source = dynamic_cast<LookStateSource*>(static_cast<Component*>(button));
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->getCaption(), button->getCaption());
    app.moveMouse(110, 110);
    EXPECT_EQ(source->getLookState(), LOOK_STATE_ROLLED_OVER);
}

TEST(TextButtonKit, DialogButtonsBecomeTextButtons)
{
    WidgetTestApplication app;
    installTextButtonDialogKit();
    int fired = 0;
    DialogButtonSpec request;
    request.caption = "OK";
    request.width = 60;
    request.height = 20;
    request.onClick.mFunction = [&](Component*, uint32_t) { ++fired; };
    Component* made = getDialogButtonKit().createButton(request);
    auto* button = dynamic_cast<TextButton*>(made);
    ASSERT_NE(button, nullptr);
    getDialogButtonKit().setCaption(made, "Annuler");
    EXPECT_EQ(getDialogButtonKit().getCaptionWidth(made), 7 * 7);
    TestLayer* layer = app.screen();
    layer->addChild(made);
    app.click(5, 5);
    EXPECT_EQ(fired, 1);
    EXPECT_TRUE(getDialogButtonKit().isEnabled(made));
    button->setEnabled(false);
    EXPECT_FALSE(getDialogButtonKit().isEnabled(made)) << "so that its shortcut key does nothing";
    setDialogButtonKit(nullptr);
}
} // namespace
