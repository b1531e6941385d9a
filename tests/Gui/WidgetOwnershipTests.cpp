#include "Gui/ComponentRef.h"
#include "GuiTestSupport.h"

TEST(WidgetOwnership, HandleOnAClosedWindowTurnsNullOnlyAfterTheDispatch)
{
    Log log;
    GuiTestApplication app;
    auto* window = openNow(app, new TestWindow(log, "window", 0, 0, 100, 100, false, false));
    auto* button = window->addChild(std::make_unique<Probe>(log, "button", 0, 0, 50, 50));
    ComponentRef<Layer> shown = window;
    ComponentRef<Probe> pressed = button;
    ComponentRef<Layer> copy = shown;
    bool aliveInHandler = false;
    button->onMouse = [&](const MouseEvent& event)
    {
        if (event.mType != MOUSE_EVENT_BUTTON_UP)
            return;
        window->close();
        aliveInHandler = shown != nullptr && pressed != nullptr;
    };
    button->mouseResult = 1;
    app.release(10, 10);
    EXPECT_TRUE(aliveInHandler) << "the window goes after the dispatch, not inside it";
    EXPECT_EQ(shown, nullptr);
    EXPECT_EQ(copy.get(), nullptr);
    EXPECT_EQ(pressed, nullptr) << "its children go with it";
    EXPECT_TRUE(app.root().getChildren().empty());

    // A handle made after the window went away, and an empty one, stay null.
    ComponentRef<Layer> none;
    EXPECT_FALSE(none);
    none = nullptr;
    EXPECT_EQ(none.get(), nullptr);
}

TEST(WidgetOwnership, DeletedChildStaysDrawnAndHitUntilTheEndOfTheDispatch)
{
    Log log;
    GuiTestApplication app;
    auto* layer = openNow(app, new TestLayer(log, "layer", 0, 0, 200, 100));
    auto* first = layer->addChild(std::make_unique<Probe>(log, "first", 0, 0, 100, 100));
    auto* second = layer->addChild(std::make_unique<Probe>(log, "second", 0, 0, 100, 100));
    ComponentRef<Probe> doomed = first;
    first->onMouse = [&](const MouseEvent& event)
    {
        if (event.mType == MOUSE_EVENT_BUTTON_DOWN)
            layer->deleteChild(first);
    };
    log.clear();
    app.press(10, 10);
    // In array order: the first child asks for its own deletion, the second is
    // still asked, on an unchanged tree; the deletion comes last.
    EXPECT_EQ(log, (Log{"first mouse 1", "second mouse 1", "first deleted"}));
    EXPECT_EQ(doomed, nullptr);
    EXPECT_EQ(layer->getChildren(), (std::vector<Component*>{second}));
}

TEST(WidgetOwnership, QueuedAddOwnsTheWidgetUntilItIsAdded)
{
    Log log;
    GuiTestApplication app;
    auto* layer = openNow(app, new TestLayer(log, "layer", 0, 0, 100, 100));
    auto* box = layer->addChild(std::make_unique<Container>(0, 0, 50, 50, LOOK_EMPTY));
    ComponentRef<Probe> waiting = box->add(std::make_unique<Probe>(log, "waiting", 0, 0, 5, 5));
    ASSERT_NE(waiting, nullptr);
    EXPECT_TRUE(box->getChildren().empty());
    // The same widget posted again is neither added twice nor deleted twice.
    app.gui().postOperation(waiting.get(), GUI_OP_ADD, box);
    EXPECT_EQ(app.gui().getOperations().size(), 1u);
    app.gui().processDeferred();
    EXPECT_EQ(box->getChildren(), (std::vector<Component*>{waiting.get()}));

    auto* again = box->add(std::make_unique<Probe>(log, "again", 0, 0, 5, 5));
    ComponentRef<Probe> pending = again;
    log.clear();
    layer->deleteChild(box);
    app.gui().processDeferred();
    EXPECT_EQ(log, (Log{"waiting deleted", "again deleted"})) << "the pending one goes with its parent";
    EXPECT_EQ(pending, nullptr);
}

TEST(WidgetOwnership, LentChildIsShownButNeverDeletedByTheContainer)
{
    Log log;
    GuiTestApplication app;
    Probe lent(log, "lent", 0, 0, 10, 10);
    {
        Container holder(0, 0, 50, 50, LOOK_EMPTY);
        holder.appendChild(Container::lend(&lent));
        EXPECT_EQ(lent.getParent(), &holder);
        holder.deleteAllChildren();
        EXPECT_EQ(lent.getParent(), nullptr);
        holder.appendChild(Container::lend(&lent));
        // Raised and lowered, it stays on loan.
        ChildPtr entry = holder.takeChild(&lent);
        EXPECT_TRUE(entry.get_deleter().lent);
        holder.insertChildAtFront(std::move(entry));
    }
    EXPECT_EQ(lent.getParent(), nullptr);
    EXPECT_TRUE(log.empty()) << "the holder went without deleting it";

    // Taken out for good, an owned child is the caller's again.
    Container holder(0, 0, 50, 50, LOOK_EMPTY);
    auto* owned = holder.addChild(std::make_unique<Probe>(log, "owned", 0, 0, 10, 10));
    std::unique_ptr<Component> back(holder.takeChild(owned).release());
    EXPECT_TRUE(holder.getChildren().empty());
    EXPECT_TRUE(log.empty());
    back.reset();
    EXPECT_EQ(log, (Log{"owned deleted"}));
    EXPECT_EQ(holder.takeChild(owned), nullptr) << "not a child";
}

TEST(WidgetOwnership, ShowLayerDeletesWhatNoManagerCanShow)
{
    Log log;
    {
        GuiTestApplication app;
        auto* shown = showLayer(std::make_unique<TestLayer>(log, "shown", 0, 0, 10, 10));
        ASSERT_NE(shown, nullptr);
        app.gui().processDeferred();
        EXPECT_EQ(app.root().getChildren(), (std::vector<Component*>{shown}));
    }
    log.clear();
    EXPECT_EQ(showLayer(std::make_unique<TestLayer>(log, "alone", 0, 0, 10, 10)), nullptr);
    EXPECT_EQ(log, (Log{"alone deleted"}));
}
