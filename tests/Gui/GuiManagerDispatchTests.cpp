#include "GuiTestSupport.h"

// Two overlapping layers; each holds one probe covering the same spot.
struct TwoLayers
{
    Log log;
    GuiTestApplication app;
    TestLayer* lower = openNow(app, new TestLayer(log, "lower", 0, 0, 200, 200));
    TestLayer* upper = openNow(app, new TestLayer(log, "upper", 50, 50, 200, 200));
    Probe* lowerProbe = add(lower, "lowerProbe", 60, 60);
    Probe* upperProbe = add(upper, "upperProbe", 10, 10);

    Probe* add(Layer* layer, const char* name, int32_t x, int32_t y)
    {
        auto* probe = new Probe(log, name, x, y, 40, 40);
        layer->addChild(probe);
        return probe;
    }
};

TEST(GuiDispatch, TopmostLayerIsAskedFirstAndCoversTheOnesBelow)
{
    TwoLayers t;
    t.log.clear();
    t.app.press(70, 70);
    EXPECT_EQ(t.log, (Log{"upperProbe mouse 1"})) << "the upper layer consumes what lies over it";

    t.log.clear();
    t.app.press(10, 10);
    EXPECT_EQ(t.log, Log{}) << "the lower layer consumes its own area";
}

TEST(GuiDispatch, ContainerAsksItsChildrenFirstToLast)
{
    Log log;
    GuiTestApplication app;
    auto* layer = openNow(app, new TestLayer(log, "layer", 0, 0, 100, 100));
    auto* first = new Probe(log, "first", 0, 0, 50, 50);
    auto* second = new Probe(log, "second", 0, 0, 50, 50);
    layer->addChild(first);
    layer->addChild(second);
    log.clear();
    app.press(10, 10);
    EXPECT_EQ(log, (Log{"first mouse 1", "second mouse 1"}));
    first->mouseResult = 1;
    log.clear();
    app.press(10, 10);
    EXPECT_EQ(log, (Log{"first mouse 1"}));
}

TEST(GuiDispatch, PressedWidgetReceivesEveryMouseEventWherever)
{
    TwoLayers t;
    t.app.gui().setPressed(t.lowerProbe);
    t.log.clear();
    t.app.press(500, 500);
    t.app.moveMouse(10, 10);
    EXPECT_EQ(t.log, (Log{"lowerProbe mouse 1", "lowerProbe mouse 0"}));
    EXPECT_EQ(t.app.gui().getHovered(), nullptr) << "a pressed widget is not hovered from outside";
}

TEST(GuiDispatch, PressIsHandedOverWithLoseNotifications)
{
    TwoLayers t;
    GuiManager& gui = t.app.gui();
    t.log.clear();
    gui.setPressed(t.lowerProbe);
    gui.setPressed(t.upperProbe);
    gui.clearPressed(t.lowerProbe);
    EXPECT_EQ(gui.getPressed(), t.upperProbe);
    gui.clearPressed(t.upperProbe);
    EXPECT_EQ(t.log, (Log{"lowerProbe lose pressed", "upperProbe lose pressed"}));
    EXPECT_EQ(gui.getPressedOrRoot(), gui.getRoot());

    t.log.clear();
    gui.setFocus(t.lowerProbe);
    gui.setFocus(t.upperProbe);
    gui.clearFocus(t.lowerProbe);
    gui.clearFocus(t.upperProbe);
    EXPECT_EQ(t.log, (Log{"lowerProbe gain focus", "lowerProbe lose focus", "upperProbe gain focus",
                          "upperProbe lose focus"}));
}

TEST(GuiDispatch, KeysGoToFocusThenRootWithoutAskingFocusTwice)
{
    TwoLayers t;
    t.app.gui().setFocus(t.lowerProbe);
    t.log.clear();
    t.app.key(5);
    EXPECT_EQ(t.log, (Log{"lowerProbe key 5", "upperProbe key 5"}));

    t.lowerProbe->keyResult = 1;
    t.log.clear();
    t.app.key(6);
    EXPECT_EQ(t.log, (Log{"lowerProbe key 6"}));
    EXPECT_EQ(t.app.gui().getSkipWidget(), nullptr);
}

TEST(GuiDispatch, KeysWithoutFocusWalkLayersTopFirst)
{
    TwoLayers t;
    t.log.clear();
    t.app.key(9);
    EXPECT_EQ(t.log, (Log{"upperProbe key 9", "lowerProbe key 9"}));
}

TEST(GuiDispatch, MoveChangesHoverAndOtherEventsDoNot)
{
    TwoLayers t;
    GuiManager& gui = t.app.gui();
    t.log.clear();
    t.app.moveMouse(70, 70);
    EXPECT_EQ(gui.getHovered(), t.upperProbe);
    EXPECT_TRUE(t.upperProbe->isHovered());

    t.app.press(10, 10);
    EXPECT_EQ(gui.getHovered(), t.upperProbe);

    t.app.moveMouse(10, 10);
    EXPECT_EQ(gui.getHovered(), nullptr);
    EXPECT_FALSE(t.upperProbe->isHovered());
    EXPECT_EQ(t.log, (Log{"upperProbe mouse 0", "upperProbe enter", "upperProbe leave"}));
}

TEST(GuiDispatch, CandidateThatKeepsHoverIsNotDisplaced)
{
    Log log;
    GuiTestApplication app;
    auto* layer = openNow(app, new TestLayer(log, "layer", 0, 0, 100, 100));
    auto* first = new Probe(log, "first", 0, 0, 50, 50);
    auto* second = new Probe(log, "second", 0, 0, 50, 50);
    layer->addChild(first);
    layer->addChild(second);
    app.moveMouse(10, 10);
    EXPECT_EQ(app.gui().getHovered(), second) << "the later candidate wins";
    first->keeps = true;
    app.moveMouse(11, 11);
    EXPECT_EQ(app.gui().getHovered(), first);
}

TEST(GuiDispatch, InfotipRequestFollowsTheDeepestWidgetAndIsNotRestartedWhenEqual)
{
    Log log;
    GuiTestApplication app;
    struct CountingInfotip : InfotipPopup
    {
        int* count;
        explicit CountingInfotip(int* count) : count(count) {}
        void setRequest(const InfotipRequest& request) override
        {
            ++*count;
            InfotipPopup::setRequest(request);
        }
    };
    int shows = 0;
    GuiManager::setInfotipCreator([&shows] { return std::make_unique<CountingInfotip>(&shows); });
    app.gui().init();
    GuiManager::setInfotipCreator(nullptr);

    auto* layer = openNow(app, new TestLayer(log, "layer", 0, 0, 100, 100));
    auto* outer = new Probe(log, "outer", 0, 0, 80, 80);
    auto* inner = new Probe(log, "inner", 0, 0, 20, 20);
    outer->infotip = "dehors";
    inner->infotip = "dedans";
    layer->addChild(outer);
    layer->addChild(inner);
    app.moveMouse(10, 10);
    const InfotipRequest& shown = app.gui().getInfotip()->getRequest();
    EXPECT_EQ(shown.text, "dedans");
    EXPECT_EQ(shown.delay, 500u);
    EXPECT_EQ(shown.width, 20);
    int before = shows;
    app.moveMouse(12, 12);
    EXPECT_EQ(shows, before) << "the same request does not restart the tip";
    app.moveMouse(50, 50);
    EXPECT_EQ(app.gui().getInfotip()->getRequest().text, "dehors");
    app.gui().setInfotipEnabled(false);
    app.moveMouse(51, 51);
    EXPECT_EQ(app.gui().getInfotip()->getRequest().text, "");
}

TEST(GuiDispatch, WindowMessagesStopAtTheFirstModalLayer)
{
    Log log;
    GuiTestApplication app;
    auto* bottom = openNow(app, new TestLayer(log, "bottom", 0, 0, 10, 10));
    auto* modal = openNow(app, new TestWindow(log, "modal", 0, 0, 10, 10, false, true));
    auto* top = openNow(app, new TestLayer(log, "top", 0, 0, 10, 10));
    Probe* probes[3];
    Layer* layers[3] = {bottom, modal, top};
    const char* names[3] = {"bottomProbe", "modalProbe", "topProbe"};
    for (int i = 0; i < 3; ++i)
    {
        probes[i] = new Probe(log, names[i], 0, 0, 1, 1);
        layers[i]->addChild(probes[i]);
        app.gui().addWindowMessageListener(probes[i]);
    }
    log.clear();
    app.gui().broadcastWindowMessage(0x200, 0, 0);
    EXPECT_EQ(log, (Log{"modalProbe message 512", "topProbe message 512"}));
}

TEST(GuiDispatch, InfotipRequestsCompareWithoutPlacementAndResetKeepsTheAnchor)
{
    InfotipRequest a;
    EXPECT_EQ(a.width, 16);
    a.x = 5;
    a.text = "tip";
    a.delay = 500;
    InfotipRequest b = a;
    b.placement = 3;
    EXPECT_TRUE(a == b);
    b.delay = 0xFFFFFFFF;
    EXPECT_FALSE(a == b);
    a.reset();
    EXPECT_EQ(a.x, 5);
    EXPECT_EQ(a.delay, 500u);
    EXPECT_TRUE(a.text.empty());
}
