#include "FakeEngine3D.h"

#include <gtest/gtest.h>

using namespace EngineTest;

namespace
{

// A node that records its own render and pick, and can fail its render.
class Node final : public ChildListNode
{
public:
    Node(FakeEngine3D& engine, const std::string& name) : mEngine(engine), mName(name)
    {
        FakeEngine3D::name(this, name);
    }
    ErrorCode render() override
    {
        mEngine.log.push_back("render " + mName);
        if (mRenderCode)
            return mRenderCode;
        return ChildListNode::render();
    }
    ErrorCode pick(PickResult* result) override
    {
        mEngine.log.push_back("pick " + mName);
        return ChildListNode::pick(result);
    }

    FakeEngine3D& mEngine;
    std::string mName;
    ErrorCode mRenderCode = 0;
};

class ChildListNodeTest : public ::testing::Test
{
protected:
    void SetUp() override { engine.init(); }
    FakeEngine3D engine;
};

} // namespace

TEST_F(ChildListNodeTest, NewNodesJoinTheRootInOrderAndDrawInsideTheirTransforms)
{
    ASSERT_NE(engine.getSceneRoot(), nullptr);
    EXPECT_EQ(engine.getSceneRoot()->getParent(), nullptr);
    Node a(engine, "a"), b(engine, "b");
    ASSERT_EQ(engine.getSceneRoot()->getChildren().size(), 2u);
    EXPECT_EQ(engine.getSceneRoot()->getChildren()[1], &b);
    EXPECT_EQ(b.getParent(), engine.getSceneRoot());
    engine.log.clear();
    ASSERT_EQ(engine.render(), 0u);
    EXPECT_EQ(engine.log, (std::vector<std::string>{"enter root", "enter a", "render a", "leave a", "enter b",
                                                    "render b", "leave b", "leave root"}));
}

TEST_F(ChildListNodeTest, AddChildMovesANodeToTheEndOfItsNewParent)
{
    Node a(engine, "a"), b(engine, "b"), c(engine, "c");
    a.addChild(&b);
    a.addChild(&c);
    EXPECT_EQ(engine.getSceneRoot()->getChildren().size(), 1u);
    a.addChild(&b);
    EXPECT_EQ(a.getChildren(), (std::vector<ChildListNode*>{&c, &b}));
    // Never under itself or its own descendant.
    b.addChild(&a);
    a.addChild(&a);
    EXPECT_EQ(a.getParent(), engine.getSceneRoot());
    EXPECT_TRUE(b.getChildren().empty());
    a.moveChildToFront(&b);
    EXPECT_EQ(a.getChildren().front(), &b);
    a.moveChildToBack(&b);
    EXPECT_EQ(a.getChildren().back(), &b);
}

TEST_F(ChildListNodeTest, InactiveParentHidesItsDescendantsFromDrawingAndPicking)
{
    Node a(engine, "a"), b(engine, "b");
    a.addChild(&b);
    a.mPickable = b.mPickable = true;
    a.mActive = false;
    engine.log.clear();
    PickResult result;
    engine.render();
    engine.pick(0, 0, &result, nullptr);
    for (const std::string& line : engine.log)
        EXPECT_EQ(line.find(" b"), std::string::npos) << line;
}

TEST_F(ChildListNodeTest, PickingEntersOnlyPickableNodes)
{
    Node a(engine, "a"), b(engine, "b"), c(engine, "c");
    a.addChild(&b);
    a.mPickable = true;
    b.mPickable = true;
    // c is not pickable; b is, but only because a is too.
    engine.log.clear();
    PickResult result;
    ASSERT_EQ(engine.pick(0, 0, &result, nullptr), 0u);
    EXPECT_EQ(engine.log, (std::vector<std::string>{"enter root", "enter a", "pick a", "enter b", "pick b",
                                                    "leave b", "leave a", "leave root"}));
    a.mPickable = false;
    engine.log.clear();
    engine.pick(0, 0, &result, nullptr);
    EXPECT_EQ(engine.log, (std::vector<std::string>{"enter root", "leave root"}));
}

TEST_F(ChildListNodeTest, AFailingChildStopsTheWalkAfterLeavingItsTransform)
{
    Node a(engine, "a"), b(engine, "b");
    a.mRenderCode = ERROR_STOP_RENDERING;
    engine.log.clear();
    EXPECT_EQ(engine.render(), uint32_t(ERROR_STOP_RENDERING));
    EXPECT_EQ(engine.log,
              (std::vector<std::string>{"enter root", "enter a", "render a", "leave a", "leave root"}));
}

TEST_F(ChildListNodeTest, DestroyingAParentFirstLeavesItsChildrenParentless)
{
    auto parent = std::make_unique<Node>(engine, "p");
    Node child(engine, "c");
    parent->addChild(&child);
    parent.reset();
    EXPECT_EQ(child.getParent(), nullptr);
    EXPECT_TRUE(engine.getSceneRoot()->getChildren().empty());
}

TEST_F(ChildListNodeTest, LocalToWorldGoesThroughEveryAncestor)
{
    Node a(engine, "a"), b(engine, "b");
    a.addChild(&b);
    a.mTransform.mPosition = {1, 2, 3};
    a.mTransform.update();
    b.mTransform.mPosition = {10, 0, 0};
    b.mTransform.update();
    Platform::Vector3 out;
    b.localToWorld({0, 0, 1}, &out);
    EXPECT_EQ(out, (Platform::Vector3{11, 2, 4}));
}

TEST(ChildListNodeWithoutEngine, StandsAloneAndDrawsNothingOfItsOwn)
{
    ChildListNode node;
    EXPECT_EQ(node.getParent(), nullptr);
    EXPECT_EQ(node.mTransform.mTransform, nullptr);
    EXPECT_EQ(node.renderWithTransform(), 0u);
    Platform::Vector3 out;
    node.localToWorld({1, 2, 3}, &out);
    EXPECT_EQ(out, (Platform::Vector3{1, 2, 3}));
}
