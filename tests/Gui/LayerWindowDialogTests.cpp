#include "GuiTestSupport.h"

#include "Framework/Keys.h"
#include "Gui/LabeledCheckBox.h"
#include "Gui/TextField.h"
#include "Gui/WrapTextBox.h"

TEST(Window, ModalWindowSwallowsMouseAndKeysTheChildrenLeave)
{
    Log log;
    GuiTestApplication app;
    auto* below = openNow(app, new TestLayer(log, "below", 0, 0, 1024, 768));
    auto* belowProbe = new Probe(log, "belowProbe", 500, 500, 50, 50);
    below->addChild(belowProbe);
    auto* modal = openNow(app, new TestWindow(log, "modal", 0, 0, 100, 100, false, true));
    auto* inside = new Probe(log, "inside", 0, 0, 50, 50);
    modal->addChild(inside);
    log.clear();
    app.press(510, 510);
    app.key(12);
    EXPECT_EQ(log, (Log{"inside key 12"})) << "nothing below the modal window reacts";
    app.press(10, 10);
    EXPECT_EQ(log, (Log{"inside key 12", "inside mouse 1"}));

    TestWindow plain(log, "plain", 0, 0, 10, 10, false, false);
    KeyEvent key;
    EXPECT_EQ(plain.onKeyEvent(key), 0u);
    EXPECT_FALSE(plain.hitTest(app.mouse(MOUSE_EVENT_MOVE, 300, 300)));
    EXPECT_TRUE(modal->hitTest(app.mouse(MOUSE_EVENT_MOVE, 300, 300)));
    modal->setVisible(false);
    EXPECT_FALSE(modal->hitTest(app.mouse(MOUSE_EVENT_MOVE, 10, 10)));
}

TEST(Window, ClientSizeAndTitleBandExcludeTheRightMargin)
{
    Log log;
    GuiTestApplication app;
    TestWindow window(log, "w", 100, 100, 200, 100, true, false);
    window.setMargins({10, 20, 10, 5});
    window.resize(220, 125, true);
    EXPECT_TRUE(window.isInTitleBar(app.mouse(MOUSE_EVENT_MOVE, 110, 100)));
    EXPECT_TRUE(window.isInTitleBar(app.mouse(MOUSE_EVENT_MOVE, 309, 119)));
    EXPECT_FALSE(window.isInTitleBar(app.mouse(MOUSE_EVENT_MOVE, 310, 105))) << "x + width - marginRight";
    EXPECT_FALSE(window.isInTitleBar(app.mouse(MOUSE_EVENT_MOVE, 109, 105)));
    EXPECT_FALSE(window.isInTitleBar(app.mouse(MOUSE_EVENT_MOVE, 150, 120)));
}

TEST(Window, DragByTheTitleBandMovesTheWindowUntilRelease)
{
    Log log;
    GuiTestApplication app;
    auto* window = openNow(app, new TestWindow(log, "w", 100, 100, 200, 100, true, false));
    window->setMargins({0, 20, 0, 0});
    auto* child = new Probe(log, "child", 0, 0, 10, 10);
    window->addChild(child);
    app.press(150, 105);
    EXPECT_TRUE(window->isDragging());
    EXPECT_EQ(app.gui().getPressed(), window);
    app.moveMouse(170, 125);
    EXPECT_EQ(window->getX(), 120);
    EXPECT_EQ(window->getY(), 120);
    EXPECT_EQ(child->getX(), 120);
    EXPECT_EQ(child->getY(), 140);
    app.release(170, 125);
    EXPECT_FALSE(window->isDragging());
    EXPECT_EQ(app.gui().getPressed(), nullptr);
    app.moveMouse(300, 300);
    EXPECT_EQ(window->getX(), 120);
}

TEST(Window, FixedWindowDoesNotDrag)
{
    Log log;
    GuiTestApplication app;
    auto* window = openNow(app, new TestWindow(log, "w", 100, 100, 200, 100, false, false));
    window->setMargins({0, 20, 0, 0});
    app.press(150, 105);
    EXPECT_FALSE(window->isDragging());
    EXPECT_EQ(app.gui().getPressed(), nullptr);
}

TEST(Layer, OpeningEffectWrapsTheDrawingUntilItsDurationHasPassed)
{
    Log log;
    GuiTestApplication app;
    app.engine().effectCount = 2;
    app.engine().effectLog = &log;
    Layer layer(0, 0, 10, 10, LOOK_EMPTY, true);
    Layer plain(0, 0, 10, 10, LOOK_EMPTY, false);
    app.engine().effectCount = 0;
    Layer without(0, 0, 10, 10, LOOK_EMPTY, true);
    ASSERT_TRUE(layer.hasEffect());
    EXPECT_FALSE(plain.hasEffect());
    EXPECT_FALSE(without.hasEffect()) << "an engine without effects";
    layer.addChild(new Probe(log, "child", 0, 0, 1, 1));
    log.clear();
    EXPECT_EQ(layer.render(), 0);
    EXPECT_EQ(log, (Log{"begin", "child render", "end"}));
}

TEST(Layer, DeviceLossAndResetReachTheTreeThroughTheEngine)
{
    Log log;
    GuiTestApplication app;
    struct DeviceProbe : Probe
    {
        using Probe::Probe;
        ErrorCode onDeviceLost() override
        {
            log.push_back(name + " lost");
            return 0;
        }
        ErrorCode onDeviceReset() override
        {
            log.push_back(name + " reset");
            return 0;
        }
    };
    auto* layer = openNow(app, new TestLayer(log, "layer", 0, 0, 10, 10));
    layer->addChild(new DeviceProbe(log, "probe", 0, 0, 1, 1));
    log.clear();
    EXPECT_EQ(app.gui().onDeviceLost(), 0);
    EXPECT_EQ(app.gui().onDeviceReset(), 0);
    EXPECT_EQ(log, (Log{"probe lost", "probe reset"}));
}

TEST(Dialog, MaskNineMakesOkAndCancelCentredAsATwoButtonRow)
{
    Log log;
    GuiTestApplication app;
    auto* dialog = openNow(app, new TestDialog(log, 9));
    EXPECT_EQ(dialog->getButtonCount(), 2u);
    ASSERT_NE(dialog->getButton(0), nullptr);
    EXPECT_EQ(dialog->getButton(1), nullptr);
    EXPECT_EQ(dialog->getButton(2), nullptr);
    ASSERT_NE(dialog->getButton(3), nullptr);

    // 300 x 100 of content, the default look (no margins, no insets).
    EXPECT_EQ(dialog->getWidth(), 300);
    EXPECT_EQ(dialog->getHeight(), 100 + 32 + 40 + 32);
    EXPECT_EQ(dialog->getX(), (1024 - 300) / 2);
    EXPECT_EQ(dialog->getY(), (768 - 204) / 2);
    Component* ok = dialog->getButton(0);
    Component* cancel = dialog->getButton(3);
    EXPECT_EQ(ok->getX(), dialog->getX() + 0);
    EXPECT_EQ(cancel->getX(), dialog->getX() + 150);
    EXPECT_EQ(ok->getY(), dialog->getY() + 204 - 32);

    log.clear();
    app.click(cancel->getX() + 5, cancel->getY() + 5);
    EXPECT_EQ(log, (Log{"result 8"}));
    app.click(ok->getX() + 5, ok->getY() + 5);
    EXPECT_EQ(log, (Log{"result 8", "result 1"}));
}

TEST(Dialog, TitleSpansTheClientWidthAndContentStartsBelowIt)
{
    Log log;
    GuiTestApplication app;
    TestDialog dialog(log, 1);
    Label* title = dialog.getTitleRenderer()->getLabel();
    ASSERT_NE(title->getTextObject(), nullptr);
    EXPECT_EQ(title->getTextObject()->getText(), "Titre");
    EXPECT_EQ(title->getWidth(), dialog.getWidth());
    EXPECT_EQ(title->getHeight(), 40);
    EXPECT_EQ(title->getX(), dialog.getX());
    EXPECT_EQ(dialog.getCursorY(), 16 + 40);
    Label* line = dialog.addTextLine("Une ligne");
    EXPECT_EQ(line->getHeight(), 11);
    EXPECT_EQ(line->getY(), dialog.getY() + 56);
    EXPECT_EQ(dialog.getCursorY(), 67);
    dialog.recenter();
    EXPECT_EQ(dialog.getHeight(), 11 + 32 + 40 + 32);
    EXPECT_EQ(line->getY(), dialog.getY() + 56);
}

TEST(Dialog, ShortcutKeysPressTheirButtonOnFirstPressOnly)
{
    Log log;
    GuiTestApplication app;
    auto* look = new DialogLook();
    look->buttonRecords[2].shortcutKey = KEY_ESCAPE;
    look->buttonRecords[1].shortcutKey = KEY_ENTER;
    app.looks().setLook(12, std::unique_ptr<Look>(look));
    auto* dialog = openNow(app, new TestDialog(log, 1 | 4, true, 12));
    log.clear();
    app.key(KEY_ESCAPE, KEY_EVENT_REPEATED);
    app.key(KEY_ENTER);
    EXPECT_TRUE(log.empty()) << "repeats and buttons outside the mask are ignored";
    app.key(KEY_ESCAPE);
    EXPECT_EQ(log, (Log{"result 4"}));
    app.key(KEY_NONE);
    EXPECT_EQ(log, (Log{"result 4"})) << "a key without an id is not the shortcut of unset records";
    (void)dialog;
}

TEST(Dialog, ButtonsAddedAndRemovedLaterReflowTheRow)
{
    Log log;
    GuiTestApplication app;
    auto* dialog = openNow(app, new TestDialog(log, 1));
    EXPECT_EQ(dialog->getButton(0)->getX(), dialog->getX() + 75);
    dialog->addButton(2);
    dialog->addButton(2);
    EXPECT_EQ(dialog->getButtonCount(), 2u);
    app.gui().processDeferred();
    EXPECT_EQ(dialog->getButton(0)->getX(), dialog->getX());
    EXPECT_EQ(dialog->getButton(2)->getX(), dialog->getX() + 150);
    EXPECT_EQ(dialog->getButton(2)->getParent(), dialog);
    dialog->removeButton(0);
    app.gui().processDeferred();
    EXPECT_EQ(dialog->getButtonCount(), 1u);
    EXPECT_EQ(dialog->getButton(0), nullptr);
    EXPECT_EQ(dialog->getButton(2)->getX(), dialog->getX() + 75);
    EXPECT_EQ(dialog->getChildren().size(), 2u) << "the title and one button";
}

TEST(MessageDialog, ReportsTheButtonCallsBackAndCloses)
{
    Log log;
    GuiTestApplication app;
    auto* below = openNow(app, new TestLayer(log, "below", 0, 0, 1024, 768));
    int token = 0;
    uint32_t seen = 0;
    void* seenObject = nullptr;
    auto* box = new MessageDialog(
        "Question", "Continuer ?", 1 | 8,
        [&](MessageDialog* dialog, void* object)
        {
            seen = dialog->getResult();
            seenObject = object;
        },
        &token);
    openNow(app, box);
    EXPECT_EQ(box->getWidth(), 450);
    Component* cancel = box->getButton(3);
    ASSERT_NE(cancel, nullptr);
    log.clear();
    app.click(cancel->getX() + 1, cancel->getY() + 1);
    EXPECT_EQ(seen, 8u);
    EXPECT_EQ(seenObject, &token);
    EXPECT_EQ(app.root().getChildren(), (std::vector<Component*>{below}));
    EXPECT_EQ(log, (Log{"below activate"}));
    EXPECT_TRUE(app.sound().log.empty());
}

namespace
{
// Buttons whose caption is 10 pixels a character wide.
class WideCaptionKit final : public DialogButtonKit
{
public:
    struct Button final : Component
    {
        Button(const DialogButtonSpec& request)
            : Component(0, 0, request.width, request.height), caption(request.caption)
        {
        }
        std::string caption;
    };
    Component* createButton(const DialogButtonSpec& request) override { return new Button(request); }
    void setCaption(Component* button, const std::string& caption) override
    {
        static_cast<Button*>(button)->caption = caption;
    }
    int32_t getCaptionWidth(Component* button) override
    {
        return static_cast<int32_t>(static_cast<Button*>(button)->caption.size()) * 10;
    }
};
} // namespace

TEST(Dialog, FittedButtonsTakeTheirCaptionWidthAndKeepTheirSlot)
{
    Log log;
    GuiTestApplication app;
    setDialogButtonKit(std::make_unique<WideCaptionKit>());
    struct KitReset
    {
        ~KitReset() { setDialogButtonKit(nullptr); }
    } kitReset;
    auto* look = new DialogLook();
    look->fitButtons = true;
    look->buttonExtraWidth = 20;
    look->buttonRecords[0].captionTextId = -1;
    look->buttonRecords[0].caption = "Valider";
    look->buttonRecords[3].captionTextId = -1;
    look->buttonRecords[3].caption = "Non";
    app.looks().setLook(12, std::unique_ptr<Look>(look));
    TestDialog dialog(log, 9, true, 12);
    Component* first = dialog.getButton(0);
    Component* second = dialog.getButton(3);
    EXPECT_EQ(first->getWidth(), 90);
    EXPECT_EQ(second->getWidth(), 50);
    // Each stays centred in its 150-pixel slot.
    EXPECT_EQ(first->getX(), dialog.getX() + 30);
    EXPECT_EQ(second->getX(), dialog.getX() + 150 + 50);

    dialog.setButtonCaption(3, "Reinitialiser");
    EXPECT_EQ(second->getWidth(), 150);
    EXPECT_EQ(second->getX(), dialog.getX() + 150) << "the second slot, not past the row";
    EXPECT_EQ(second->getY(), dialog.getY() + dialog.getHeight() - 32);
}

TEST(Dialog, BuildersStackTheirRowsFromTheRunningY)
{
    Log log;
    GuiTestApplication app;
    TestDialog dialog(log, 1);
    const int32_t top = dialog.getCursorY();
    const int32_t rowHeight = dialog.getDialogLook()->fieldHeight;

    LabeledCheckBox* full = dialog.addCheckBox("Musique", "Joue la musique", true);
    LabeledCheckBox* narrow = dialog.addCheckBox("Bruitages", "", false, 120);
    EXPECT_EQ(full->getY() - dialog.getY(), top);
    EXPECT_EQ(full->getWidth(), dialog.getContentWidth());
    EXPECT_EQ(full->getHeight(), rowHeight);
    EXPECT_TRUE(full->isChecked());
    EXPECT_EQ(full->getInfotipText(), "Joue la musique");
    EXPECT_EQ(narrow->getY() - dialog.getY(), top + rowHeight);
    EXPECT_EQ(narrow->getWidth(), 120);
    EXPECT_FALSE(narrow->isChecked());

    // A caption and its field share one row; without a caption the field
    // spans the content.
    TextField* named = dialog.addTextField("Nom :", "Ann", 12);
    TextField* bare = dialog.addTextField("", "", 5);
    EXPECT_EQ(named->getY() - dialog.getY(), top + 2 * rowHeight);
    EXPECT_EQ(named->getText(), "Ann");
    EXPECT_EQ(named->getMaxLength(), 12u);
    EXPECT_EQ(named->getX() - dialog.getX(), 5 * 7);
    EXPECT_EQ(named->getX() + named->getWidth(), dialog.getX() + dialog.getContentWidth());
    EXPECT_EQ(bare->getY() - dialog.getY(), top + 3 * rowHeight);
    EXPECT_EQ(bare->getWidth(), dialog.getContentWidth());
    EXPECT_EQ(dialog.getCursorY(), top + 4 * rowHeight);

    // A text box is fitted to its two lines and the dialog to the content.
    auto* box = new WrapTextBox({0, 0, dialog.getContentWidth(), 500}, LOOK_EMPTY);
    WrapTextStyle style;
    box->addWord("Une", style, WRAP_FLOW);
    box->newLine();
    box->addWord("Deux", style, WRAP_FLOW);
    dialog.addTextBox(box);
    EXPECT_EQ(box->getHeight(), 22);
    EXPECT_EQ(box->getY() - dialog.getY(), top + 4 * rowHeight);
    EXPECT_EQ(dialog.getCursorY(), top + 4 * rowHeight + 22);
    EXPECT_EQ(dialog.getHeight(), 4 * rowHeight + 22 + 32 + 40 + 32);
    EXPECT_EQ(box->getY() - dialog.getY(), top + 4 * rowHeight);
}
