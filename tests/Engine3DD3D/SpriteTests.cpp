#include "../Engine/FakeResource.h"
#include "Engine/Sprite3D.h"
#include "EngineFixture.h"

#include <cstring>

using namespace Engine3DTest;
using namespace Platform;

namespace
{

class SpriteTest : public EngineFixture
{
protected:
    Sprite3D* add()
    {
        sprites.emplace_back(engine->createSprite());
        return sprites.back().get();
    }

    // Vertex i of the shared buffer: x, y, z, colour, u, v.
    struct Vertex
    {
        float x, y, z;
        uint32_t color;
        float u, v;
    };
    Vertex vertex(uint32_t index)
    {
        Vertex v;
        std::memcpy(&v, engine->getSpriteVertices()->data() + index * 24, sizeof v);
        return v;
    }

    std::vector<std::unique_ptr<Sprite3D>> sprites;
};

} // namespace

TEST_F(SpriteTest, TheSeventeenthSpriteDoublesTheQuadBuffer)
{
    EXPECT_EQ(engine->getQuadCapacity(), 16u);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(add()->mQuadIndex, uint32_t(i * 4));
    EXPECT_TRUE(engine->getFreeQuads().empty());
    Sprite3D* seventeenth = add();
    EXPECT_EQ(engine->getQuadCapacity(), 32u);
    EXPECT_EQ(engine->getSpriteVertices()->length(), 32u * 96u);
    EXPECT_EQ(seventeenth->mQuadIndex, 64u);
    ASSERT_EQ(engine->getFreeQuads().size(), 15u);
    EXPECT_EQ(engine->getFreeQuads().front(), 68u);
    EXPECT_EQ(engine->getFreeQuads().back(), 124u);
}

TEST_F(SpriteTest, QuadsAreWrittenWithPivotSizeAndColour)
{
    Sprite3D* sprite = add();
    sprite->mPivot = {-1, -2};
    sprite->mWidth = 4;
    sprite->mHeight = 8;
    sprite->mColor = 0x80FF0000;
    engine->updateSpriteQuad(sprite);
    Vertex first = vertex(sprite->mQuadIndex), last = vertex(sprite->mQuadIndex + 3);
    EXPECT_EQ(first.x, -1.0f);
    EXPECT_EQ(first.y, -2.0f);
    EXPECT_EQ(first.v, 1.0f);
    EXPECT_EQ(first.color, 0x80FF0000u);
    EXPECT_EQ(last.x, 3.0f);
    EXPECT_EQ(last.y, 6.0f);
    EXPECT_EQ(last.u, 1.0f);
    EXPECT_EQ(last.v, 0.0f);
    // After the buffer grows, every sprite's quad is written again.
    for (int i = 0; i < 16; ++i)
        add();
    EXPECT_EQ(vertex(sprite->mQuadIndex + 3).x, 3.0f);
}

TEST_F(SpriteTest, ADestroyedSpriteGivesItsQuadBackOnce)
{
    Sprite3D* first = add();
    add();
    uint32_t quad = first->mQuadIndex;
    sprites.erase(sprites.begin());
    EXPECT_EQ(engine->getSprites().size(), 1u);
    EXPECT_EQ(engine->getFreeQuads().back(), quad);
    size_t free = engine->getFreeQuads().size();
    Sprite3D stranger;
    engine->removeSprite(&stranger);
    EXPECT_EQ(engine->getFreeQuads().size(), free);
}

TEST_F(SpriteTest, DrawingRewritesDirtyQuadsAndSortsFarthestFirst)
{
    // The default camera looks along (0, -500, 1500).
    Sprite3D* near = add();
    Sprite3D* far = add();
    Sprite3D* middle = add();
    Sprite3D* alsoMiddle = add();
    // The scene walk places them before the sprite pass sorts them.
    near->mTransform.mPosition = {0, 0, -100};
    far->mTransform.mPosition = {0, 0, 400};
    middle->mTransform.mPosition = {0, 0, 100};
    alsoMiddle->mTransform.mPosition = {0, 0, 100};
    for (Sprite3D* sprite : {near, far, middle, alsoMiddle})
        sprite->mTransform.update();
    far->mWidth = 9;
    far->mDirty = true;
    ASSERT_EQ(engine->beginPass3D(), 0u);
    ASSERT_EQ(engine->render3D(), 0u);
    EXPECT_FALSE(far->mDirty);
    EXPECT_EQ(vertex(far->mQuadIndex + 3).x, 8.5f);
    EXPECT_EQ(engine->getSprites(), (std::vector<Sprite3D*>{far, middle, alsoMiddle, near}));
    // Without textures nothing is drawn, and blending is put back.
    EXPECT_EQ(device.drawCount(), 0u);
    cache.flush();
    EXPECT_EQ(cache.getState(Gpu::RS_ALPHABLENDENABLE), 0u);
}

TEST_F(SpriteTest, ANewSpriteIsAUnitQuadStandingCentredOnItsPosition)
{
    Sprite3D* sprite = add();
    Vertex first = vertex(sprite->mQuadIndex), last = vertex(sprite->mQuadIndex + 3);
    EXPECT_EQ(first.x, -0.5f);
    EXPECT_EQ(first.y, 0.0f);
    EXPECT_EQ(last.x, 0.5f);
    EXPECT_EQ(last.y, 1.0f);
    Sprite3D loose;
    EXPECT_EQ(loose.mQuadIndex, 0xFFFFFFFFu);
}

TEST_F(SpriteTest, TheSceneWalkRecordsWhereTheSpriteStandsInTheWorld)
{
    ChildListNode parent;
    parent.mTransform.mPosition = {10, 20, 30};
    parent.mTransform.update();
    Sprite3D* sprite = add();
    parent.addChild(sprite);
    sprite->mTransform.mPosition = {1, 2, 3};
    sprite->mTransform.update();
    ASSERT_EQ(engine->beginPass3D(), 0u);
    ASSERT_EQ(engine->render3D(), 0u);
    EXPECT_NEAR(sprite->mPosition.x, 11.0f, 1e-5f);
    EXPECT_NEAR(sprite->mPosition.y, 22.0f, 1e-5f);
    EXPECT_NEAR(sprite->mPosition.z, 33.0f, 1e-5f);
    sprites.clear();
}

TEST_F(SpriteTest, ASpriteHoldsALoadOfItsTextureUntilItGoes)
{
    FakeResource first(nullptr, 4, 4, 0), second(nullptr, 4, 4, 0);
    Sprite3D* sprite = add();
    ASSERT_EQ(sprite->setTexture(&first), 0u);
    ASSERT_EQ(sprite->setTexture(&second), 0u);
    EXPECT_EQ(first.loads, 1);
    EXPECT_EQ(first.unloads, 1);
    EXPECT_EQ(second.loads, 1);
    sprites.clear();
    EXPECT_EQ(second.unloads, 1);
}
