#include "GuiTestSupport.h"

TEST(GuiQueue, AddUnderTheRootWaitsForTheEndOfTheDispatch)
{
    Log log;
    GuiTestApplication app;
    Margins margins{4, 6, 0, 0};
    auto* layer = openNow(app, new TestLayer(log, "layer", 100, 100, 200, 200, &margins));
    auto* child = new Probe(log, "child", 10, 20, 5, 5);
    layer->add(child);
    EXPECT_TRUE(layer->getChildren().empty());
    app.moveMouse(0, 0);
    ASSERT_EQ(layer->getChildren().size(), 1u);
    EXPECT_EQ(child->getX(), 114);
    EXPECT_EQ(child->getY(), 126);

    Container detached(0, 0, 10, 10, LOOK_EMPTY);
    detached.add(new Component(0, 0, 1, 1));
    EXPECT_EQ(detached.getChildren().size(), 1u) << "a detached container adds at once";
}

TEST(GuiQueue, WidgetClosesItsOwnWindowFromItsHandler)
{
    Log log;
    GuiTestApplication app;
    auto* below = openNow(app, new TestLayer(log, "below", 0, 0, 400, 400));
    auto* window = openNow(app, new TestWindow(log, "window", 0, 0, 100, 100, false, false));
    auto* button = new Probe(log, "button", 0, 0, 50, 50);
    window->addChild(button);
    button->onMouse = [&](const MouseEvent& event)
    {
        if (event.mType != MOUSE_EVENT_BUTTON_UP)
            return;
        window->close();
        window->close();
        log.push_back("still alive " + button->name);
    };
    button->mouseResult = 1;
    log.clear();
    app.release(10, 10);
    EXPECT_EQ(log, (Log{"button mouse 2", "still alive button", "window deactivate", "below activate",
                        "window deleted", "button deleted"}));
    EXPECT_EQ(app.root().getChildren(), (std::vector<Component*>{below}));
    EXPECT_TRUE(app.gui().getOperations().empty());
}

TEST(GuiQueue, RemoveAndDeleteAndPlainRemove)
{
    Log log;
    GuiTestApplication app;
    auto* layer = openNow(app, new TestLayer(log, "layer", 0, 0, 100, 100));
    auto* doomed = new Probe(log, "doomed", 0, 0, 10, 10);
    auto* kept = new Probe(log, "kept", 0, 0, 10, 10);
    layer->addChild(doomed);
    layer->addChild(kept);
    layer->deleteChild(doomed);
    app.gui().postOperation(kept, GUI_OP_REMOVE, nullptr);
    app.gui().postOperation(nullptr, GUI_OP_NONE, nullptr);
    EXPECT_EQ(layer->getChildren().size(), 2u);
    log.clear();
    app.gui().processDeferred();
    EXPECT_EQ(log, (Log{"doomed deleted"}));
    EXPECT_TRUE(layer->getChildren().empty());
    EXPECT_EQ(kept->getParent(), nullptr);
    delete kept;
}

TEST(GuiQueue, AddOnTopSwitchesTheActiveLayer)
{
    Log log;
    GuiTestApplication app;
    auto* first = new TestLayer(log, "first", 0, 0, 10, 10);
    auto* second = new TestLayer(log, "second", 0, 0, 10, 10);
    first->open();
    second->open();
    EXPECT_EQ(first->open(), 1) << "a layer opens once";
    app.gui().processDeferred();
    EXPECT_EQ(log, (Log{"first activate", "first deactivate", "second activate"}));
    EXPECT_EQ(app.root().getChildren(), (std::vector<Component*>{first, second}));
}

TEST(GuiQueue, RaiseAndLowerKeepThePlaceAndSwitchTheActiveLayer)
{
    Log log;
    GuiTestApplication app;
    auto* a = openNow(app, new TestLayer(log, "a", 10, 20, 10, 10));
    auto* b = openNow(app, new TestLayer(log, "b", 30, 40, 10, 10));
    log.clear();
    app.gui().raise(a);
    app.gui().processDeferred();
    EXPECT_EQ(app.root().getChildren(), (std::vector<Component*>{b, a}));
    EXPECT_EQ(log, (Log{"b deactivate", "a activate"}));
    EXPECT_EQ(a->getX(), 10);
    EXPECT_EQ(a->getY(), 20);

    log.clear();
    app.gui().postOperation(a, GUI_OP_LOWER, nullptr);
    app.gui().processDeferred();
    EXPECT_EQ(app.root().getChildren(), (std::vector<Component*>{a, b}));
    EXPECT_EQ(log, (Log{"a deactivate", "b activate"}));

    // Inside a container with margins the widget stays where it is too.
    Margins margins{5, 7, 0, 0};
    auto* framed = openNow(app, new TestLayer(log, "framed", 100, 100, 100, 100, &margins));
    auto* one = new Probe(log, "one", 1, 2, 5, 5);
    auto* two = new Probe(log, "two", 3, 4, 5, 5);
    framed->addChild(one);
    framed->addChild(two);
    app.gui().raise(one);
    app.gui().processDeferred();
    EXPECT_EQ(framed->getChildren(), (std::vector<Component*>{two, one}));
    EXPECT_EQ(one->getX(), 106);
    EXPECT_EQ(one->getY(), 109);
}

TEST(GuiQueue, OpeningALayerWhileAButtonIsHeldClearsThePress)
{
    Log log;
    GuiTestApplication app;
    auto* layer = openNow(app, new TestLayer(log, "layer", 0, 0, 100, 100));
    auto* button = new Probe(log, "button", 0, 0, 10, 10);
    layer->addChild(button);
    app.gui().setPressed(button);
    log.clear();
    auto* popup = new TestLayer(log, "popup", 0, 0, 10, 10);
    popup->open();
    EXPECT_EQ(app.gui().getPressed(), nullptr);
    EXPECT_EQ(log, (Log{"button lose pressed"}));
    app.gui().processDeferred();
}

TEST(GuiQueue, ClosingTheTopLayerReHoversTheWidgetBelowTheCursor)
{
    Log log;
    GuiTestApplication app;
    auto* layer = openNow(app, new TestLayer(log, "layer", 0, 0, 100, 100));
    auto* under = new Probe(log, "under", 0, 0, 50, 50);
    layer->addChild(under);
    auto* popup = openNow(app, new TestLayer(log, "popup", 0, 0, 100, 100));
    auto* over = new Probe(log, "over", 0, 0, 50, 50);
    popup->addChild(over);
    app.moveMouse(10, 10);
    EXPECT_EQ(app.gui().getHovered(), over);

    popup->close();
    app.gui().processDeferred();
    EXPECT_EQ(app.gui().getHovered(), under) << "the queued move found the widget below";
    EXPECT_TRUE(under->isHovered());
}

TEST(GuiQueue, OperationsPostedDuringTheRunAreTakenByTheSameRun)
{
    Log log;
    GuiTestApplication app;
    auto* layer = openNow(app, new TestLayer(log, "layer", 0, 0, 100, 100));
    auto* probe = new Probe(log, "probe", 0, 0, 50, 50);
    layer->addChild(probe);
    int moves = 0;
    probe->onMouse = [&](const MouseEvent& event)
    {
        // The re-hover's move: its own queue run returns at once, so this
        // deletion is carried out by the outer run.
        if (event.mType == MOUSE_EVENT_MOVE && ++moves == 1)
            layer->deleteChild(probe);
    };
    app.gui().postOperation(nullptr, GUI_OP_REHOVER, nullptr);
    app.cursor().mMouseX = 10;
    app.cursor().mMouseY = 10;
    app.gui().processDeferred();
    EXPECT_TRUE(layer->getChildren().empty());
    EXPECT_EQ(app.gui().getHovered(), nullptr);
    EXPECT_EQ(moves, 1);
}

TEST(GuiQueue, DeletedWidgetLeavesNoPointerAndNoQueuedOperation)
{
    Log log;
    GuiTestApplication app;
    auto* layer = openNow(app, new TestLayer(log, "layer", 0, 0, 100, 100));
    auto* widget = new Probe(log, "widget", 0, 0, 50, 50);
    layer->addChild(widget);
    GuiManager& gui = app.gui();
    app.moveMouse(10, 10);
    gui.setPressed(widget);
    gui.setFocus(widget);
    gui.setHoverCandidate(widget);
    gui.addWindowMessageListener(widget);
    gui.raise(widget);
    gui.postOperation(widget, GUI_OP_REMOVE, nullptr);
    layer->removeAndDeleteChild(widget);
    EXPECT_EQ(gui.getPressed(), nullptr);
    EXPECT_EQ(gui.getFocused(), nullptr);
    EXPECT_EQ(gui.getHovered(), nullptr);
    EXPECT_EQ(gui.getHoverCandidate(), nullptr);
    EXPECT_TRUE(gui.getOperations().empty());
    gui.broadcastWindowMessage(1, 0, 0);
    gui.processDeferred();
}

TEST(GuiQueue, ChildWaitingForADeletedParentGoesWithIt)
{
    Log log;
    GuiTestApplication app;
    auto* layer = openNow(app, new TestLayer(log, "layer", 0, 0, 100, 100));
    auto* box = new Container(0, 0, 50, 50, LOOK_EMPTY);
    layer->addChild(box);
    box->add(new Probe(log, "pending", 0, 0, 5, 5));
    log.clear();
    layer->removeAndDeleteChild(box);
    EXPECT_EQ(log, (Log{"pending deleted"}));
    EXPECT_TRUE(app.gui().getOperations().empty());
}

TEST(GuiQueue, ManagerGoingAwayDeletesTheTreeAndWhatWaitsInTheQueue)
{
    Log log;
    {
        GuiTestApplication app;
        auto* shown = openNow(app, new TestLayer(log, "shown", 0, 0, 10, 10));
        shown->addChild(new Probe(log, "child", 0, 0, 1, 1));
        (new TestLayer(log, "waiting", 0, 0, 10, 10))->open();
        auto* loose = new Probe(log, "loose", 0, 0, 1, 1);
        app.gui().postOperation(loose, GUI_OP_REMOVE_AND_DELETE, nullptr);
    }
    std::sort(log.begin(), log.end());
    EXPECT_EQ(log,
              (Log{"child deleted", "loose deleted", "shown activate", "shown deleted", "waiting deleted"}));
}

TEST(GuiQueue, ServiceCreatorsMakeTheManagerAndTheLookTable)
{
    GuiManager::registerServices();
    struct Application final : ApplicationGeneric
    {
        Application() : ApplicationGeneric(GuiTestApplication::settings()) {}
        void createFirstWindow() override {}
    };
    {
        Application app;
        EXPECT_NE(dynamic_cast<GuiManager*>(app.getGuiManager()), nullptr);
        EXPECT_EQ(GuiManager::current(), app.getGuiManager());
        auto* looks = dynamic_cast<LookTable*>(app.getService(SERVICE_LOOK_TABLE));
        ASSERT_NE(looks, nullptr);
        EXPECT_EQ(looks->size(), 13u);
        EXPECT_NE(dynamic_cast<EmptyLook*>(looks->getLook(LOOK_EMPTY)), nullptr);
        EXPECT_NE(dynamic_cast<DialogLook*>(looks->getLook(LOOK_DIALOG)), nullptr);
        EXPECT_EQ(looks->getLook(0), nullptr);
        EXPECT_EQ(looks->getLook(99), nullptr);
        ASSERT_EQ(app.getGuiManager()->init(), 0);
        EXPECT_EQ(GuiManager::current()->getRoot()->getRect(), (Rect{0, 0, 1024, 768}));
    }
    EXPECT_EQ(GuiManager::current(), nullptr);
    setServiceCreator(SERVICE_LOOK_TABLE, nullptr);
    setServiceCreator(SERVICE_GUI_MANAGER, nullptr);
}
