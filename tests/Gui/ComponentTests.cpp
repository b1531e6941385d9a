#include "Gui/Label.h"
#include "GuiTestSupport.h"

TEST(Component, RightAndBottomEdgesAreOutside)
{
    GuiTestApplication app;
    Component component(10, 20, 30, 40);
    EXPECT_TRUE(component.containsPoint(app.mouse(MOUSE_EVENT_MOVE, 10, 20)));
    EXPECT_TRUE(component.containsPoint(app.mouse(MOUSE_EVENT_MOVE, 39, 59)));
    EXPECT_FALSE(component.containsPoint(app.mouse(MOUSE_EVENT_MOVE, 40, 30)));
    EXPECT_FALSE(component.containsPoint(app.mouse(MOUSE_EVENT_MOVE, 20, 60)));
    EXPECT_FALSE(component.containsPoint(MouseEvent{})) << "an event without a cursor points nowhere";
}

TEST(Container, ChildPositionIsRelativeToClientOriginUntilAdded)
{
    GuiTestApplication app;
    Margins margins{4, 6, 0, 0};
    Container container(100, 100, 200, 200, LOOK_EMPTY, &margins);
    auto* child = new Component(10, 20, 5, 5);
    container.addChild(child);
    EXPECT_EQ(child->getX(), 114);
    EXPECT_EQ(child->getY(), 126);
    EXPECT_EQ(child->getParent(), &container);

    container.moveTo(200, 50, true);
    EXPECT_EQ(child->getX(), 214);
    EXPECT_EQ(child->getY(), 76);

    container.setMargins({10, 10, 0, 0});
    EXPECT_EQ(child->getX(), 220);
    EXPECT_EQ(child->getY(), 80);

    child->setRelativePosition(0, 0);
    EXPECT_EQ(child->getX(), 210);
    EXPECT_EQ(child->getY(), 60);
}

TEST(Container, InvisibleChildIsAnimatedAndMovedButNotDrawnOrHit)
{
    Log log;
    GuiTestApplication app;
    Container container(0, 0, 100, 100, LOOK_EMPTY);
    auto* hidden = new Probe(log, "hidden", 0, 0, 50, 50);
    auto* shown = new Probe(log, "shown", 0, 0, 50, 50);
    container.addChild(hidden);
    container.addChild(shown);
    hidden->setVisible(false);
    hidden->mouseResult = 1;

    container.animate();
    EXPECT_EQ(hidden->animations, 1);
    container.moveTo(5, 5, false);
    EXPECT_EQ(hidden->getX(), 5);

    log.clear();
    EXPECT_EQ(container.render(), 0);
    container.onMouseEvent(app.mouse(MOUSE_EVENT_BUTTON_DOWN, 10, 10));
    EXPECT_EQ(log, (Log{"shown render", "shown mouse 1"}));
}

TEST(Container, RenderStopsAtFirstFailingChild)
{
    Log log;
    GuiTestApplication app;
    Container container(0, 0, 100, 100, LOOK_EMPTY);
    auto* first = new Probe(log, "first", 0, 0, 10, 10);
    auto* second = new Probe(log, "second", 0, 0, 10, 10);
    auto* third = new Probe(log, "third", 0, 0, 10, 10);
    container.addChild(first);
    container.addChild(second);
    container.addChild(third);
    second->renderResult = 7;
    log.clear();
    EXPECT_EQ(container.render(), 7);
    EXPECT_EQ(log, (Log{"first render", "second render"}));
}

TEST(Container, DeletesItsChildrenFrontToBack)
{
    Log log;
    {
        GuiTestApplication app;
        auto container = std::make_unique<Container>(0, 0, 100, 100, LOOK_EMPTY);
        container->addChild(new Probe(log, "a", 0, 0, 1, 1));
        container->addChild(new Probe(log, "b", 0, 0, 1, 1));
        container.reset();
    }
    EXPECT_EQ(log, (Log{"a deleted", "b deleted"}));
}

TEST(Container, MissingLookDrawsNothingAndTakesNoMargins)
{
    GuiTestApplication app;
    Container container(0, 0, 10, 10, 12);
    EXPECT_NE(container.getRenderer(), nullptr);
    EXPECT_EQ(container.getMargins(), Margins{});
    EXPECT_EQ(container.render(), 0);
}

namespace
{
class FailingRenderer final : public LookRenderer
{
public:
    using LookRenderer::LookRenderer;
    ErrorCode render() override { return 0; }
    ErrorCode update() override { return ERROR_INVALID; }
};

class FramedLook final : public Look
{
public:
    FramedLook() : Look(0, 0, nullptr, nullptr) {}
    uint32_t getKind() override { return LOOK_KIND_CONTAINER; }
    std::unique_ptr<LookRenderer> createRenderer(Component* widget) override
    {
        return std::make_unique<FailingRenderer>(this, widget);
    }
    Margins getMargins() override { return {3, 4, 5, 6}; }
};
} // namespace

TEST(Container, FailedFrameUpdateIsReportedAndTheContainerStillBuilt)
{
    GuiTestApplication app;
    app.looks().setLook(3, std::make_unique<FramedLook>());
    Container container(0, 0, 10, 10, 3);
    EXPECT_EQ(container.getMargins(), (Margins{3, 4, 5, 6}));
    ASSERT_EQ(app.messages.messages().size(), 1u);
}

TEST(Component, LayerIsTheAncestorUnderTheRoot)
{
    Log log;
    GuiTestApplication app;
    auto* layer = openNow(app, new TestLayer(log, "layer", 0, 0, 100, 100));
    auto* inner = new Container(0, 0, 50, 50, LOOK_EMPTY);
    auto* leaf = new Component(0, 0, 5, 5);
    inner->addChild(leaf);
    layer->addChild(inner);
    EXPECT_EQ(leaf->getLayer(), layer);
    EXPECT_EQ(layer->getLayer(), layer);
    EXPECT_EQ(app.root().getLayer(), nullptr);
    EXPECT_TRUE(leaf->isAttachedToRoot());

    Container detached(0, 0, 1, 1, LOOK_EMPTY);
    auto* loose = new Component(0, 0, 1, 1);
    detached.addChild(loose);
    EXPECT_EQ(loose->getLayer(), nullptr);
    EXPECT_FALSE(loose->isAttachedToRoot());
}

TEST(Label, AlignmentPlacesTheTextInsideTheLabel)
{
    GuiTestApplication app;
    Label label(0, 100, 200, 30, "texte", 0xFF000000, 0);
    auto* text = static_cast<FakeText*>(label.getTextObject());
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->y, 100);
    label.setAlignment(LABEL_ALIGN_CENTER);
    EXPECT_EQ(text->y, 109);
    label.setAlignment(LABEL_ALIGN_BOTTOM);
    EXPECT_EQ(text->y, 119);
    label.setText("deux\nlignes");
    EXPECT_EQ(text->y, 108);
    label.moveTo(10, 0, true);
    EXPECT_EQ(text->x, 10);
    EXPECT_EQ(text->y, 8);
}

TEST(Label, StyleFallsBackToFontZeroAndColorReachesTheText)
{
    GuiTestApplication app;
    Label label(Rect{0, 0, 50, 20}, "a", LabelStyle{3, 0xFF112233, 0});
    auto* text = static_cast<FakeText*>(label.getTextObject());
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->lineHeight, 11);
    EXPECT_EQ(text->color, 0xFF112233u);
    label.setColor(0xFF445566);
    EXPECT_EQ(text->color, 0xFF445566u);
    EXPECT_EQ(label.getColor(), 0xFF445566u);
}

TEST(Label, ReplacedAndOwnedInfotipComponentsAreDeletedAfterTheDispatch)
{
    Log log;
    {
        GuiTestApplication app;
        auto label = std::make_unique<Label>(0, 0, 50, 20, "a", 0xFF000000, 0);
        label->setInfotip("tip", new Probe(log, "first", 0, 0, 1, 1));
        label->setInfotip("tip", new Probe(log, "second", 0, 0, 1, 1));
        EXPECT_TRUE(log.empty()) << "the first one may still be showing";
        app.gui().processDeferred();
        EXPECT_EQ(log, (Log{"first deleted"}));
        label.reset();
        app.gui().processDeferred();
        EXPECT_EQ(log, (Log{"first deleted", "second deleted"}));
    }
}
