// The cursor's sprites, the system-cursor mode, cursor layers and the input
// manager service.
#include "Framework/Keys.h"
#include "SkinTestSupport.h"

namespace
{
Texture* makePicture(SkinTestApplication& app, const std::string& name)
{
    return app.engine().getTextureByName(name, 0);
}
} // namespace

TEST(CursorManagerTest, SpriteSitsWithTheHotspotUnderTheMouse)
{
    SkinTestApplication app;
    TestCursorManager& cursor = app.cursor();
    Texture* arrow = makePicture(app, "fleche.png");
    cursor.getOwnLayers()[0].setHotspot(8, 8);
    cursor.setImage(arrow);
    ASSERT_EQ(cursor.getSpriteCount(), 1u);
    EXPECT_EQ(cursor.arrowShown.back(), false);
    cursor.mMouseX = 100;
    cursor.mMouseY = 50;
    cursor.placeSprites();
    auto* sprite = static_cast<RecordingImage*>(cursor.getSprite(0));
    EXPECT_EQ(sprite->getX(), 92.0f);
    EXPECT_EQ(sprite->getY(), 42.0f);
    EXPECT_EQ(sprite->getTexture(), arrow);
    EXPECT_EQ(sprite->getSizeMode(), Image2D::SIZE_NATURAL);
    ASSERT_EQ(cursor.render(), 0);
    EXPECT_EQ(sprite->draws, 1);
    sprite->drawResult = 5;
    EXPECT_EQ(cursor.render(), 5);
    sprite->drawResult = 0;
    cursor.setImage(nullptr);
    arrow->release();
}

TEST(CursorManagerTest, SystemCursorDrawsNothingAndShowsTheArrowOnlyWithAnImage)
{
    SkinTestApplication app(true);
    TestCursorManager& cursor = app.cursor();
    ASSERT_EQ(cursor.init(), 0);
    EXPECT_EQ(cursor.arrowShown, std::vector<bool>{false});
    EXPECT_EQ(cursor.getSpriteCount(), 0u);
    EXPECT_EQ(cursor.render(), 0);

    Texture* arrow = makePicture(app, "fleche.png");
    cursor.setImage(arrow);
    EXPECT_EQ(cursor.arrowShown.back(), true);
    cursor.placeSprites();
    EXPECT_EQ(cursor.getSpriteCount(), 0u);
    cursor.setImage(nullptr);
    arrow->release();
}

TEST(CursorManagerTest, LentLayersDrawUntilTheOwnLayersComeBack)
{
    SkinTestApplication app;
    TestCursorManager& cursor = app.cursor();
    Texture* own = makePicture(app, "fleche.png");
    cursor.setImage(own);

    std::vector<CursorLayer> lent(2);
    lent[0].setImage(makePicture(app, "main.png"), true);
    lent[1].setImage(makePicture(app, "sablier.png"), true);
    lent[1].setHotspot(-3, 4);
    cursor.mMouseX = 10;
    cursor.mMouseY = 10;
    cursor.setLayers(&lent);
    ASSERT_EQ(cursor.getSpriteCount(), 2u);
    EXPECT_EQ(cursor.getSprite(0)->getTexture(), lent[0].getImage());
    EXPECT_EQ(cursor.getSprite(1)->getX(), 13.0f);
    EXPECT_EQ(cursor.getSprite(1)->getY(), 6.0f);
    ASSERT_EQ(cursor.render(), 0);
    EXPECT_EQ(static_cast<RecordingImage*>(cursor.getSprite(1))->draws, 1);

    // setImage goes back to the manager's own layers: one sprite drawn, and
    // the other lets go of the lent picture.
    cursor.setImage(own);
    EXPECT_EQ(&cursor.getCurrentLayers(), &cursor.getOwnLayers());
    EXPECT_EQ(cursor.getSprite(0)->getTexture(), own);
    EXPECT_EQ(cursor.getSprite(1)->getTexture(), nullptr);
    ASSERT_EQ(cursor.render(), 0);
    EXPECT_EQ(static_cast<RecordingImage*>(cursor.getSprite(1))->draws, 1);

    // No layers given: the own layer 0 loses its image.
    cursor.setLayers(&lent);
    cursor.setLayers(nullptr);
    EXPECT_EQ(cursor.getOwnLayers()[0].getImage(), nullptr);
    EXPECT_EQ(cursor.getSprite(0)->getTexture(), nullptr);
    ASSERT_EQ(cursor.render(), 0);
    own->release();
}

TEST(CursorLayerTest, ReleasesOnlyTheImagesItOwns)
{
    ResourceList list;
    bool ownedGone = false, borrowedGone = false;
    auto* owned = new FakeResource(&list, "a.png", 0);
    owned->destroyed = &ownedGone;
    auto* borrowed = new FakeResource(&list, "b.png", 0);
    borrowed->destroyed = &borrowedGone;
    {
        CursorLayer layer;
        layer.setImage(owned, true);
        layer.setImage(borrowed, false);
        EXPECT_TRUE(ownedGone);
        CursorLayer moved(std::move(layer));
        EXPECT_EQ(moved.getImage(), borrowed);
        EXPECT_EQ(layer.getImage(), nullptr);
    }
    EXPECT_FALSE(borrowedGone);
    borrowed->release();
    EXPECT_TRUE(borrowedGone);
}

TEST(InputManagerTest, IsServiceSevenAndInitialisesTheCursorAndTheKeyNames)
{
    SkinTestApplication app;
    auto* input = dynamic_cast<InputManager*>(app.getInputManager());
    ASSERT_NE(input, nullptr);
    EXPECT_EQ(input->getServiceId(), 7u);
    EXPECT_EQ(app.getCursorManager(), &app.cursor());
    ASSERT_EQ(input->init(), 0);
    EXPECT_EQ(app.cursor().arrowShown, std::vector<bool>{false});
}

TEST(ServiceRegistrationTest, ApplicationsMakeTheSkinAndInputManagers)
{
    SkinManager::registerService();
    InputManager::registerService();
    ApplicationSettings settings;
    struct Plain final : ApplicationGeneric
    {
        using ApplicationGeneric::ApplicationGeneric;
        void createFirstWindow() override {}
    } app(settings);
    EXPECT_NE(dynamic_cast<SkinManager*>(app.getService(SERVICE_SKIN_MANAGER)), nullptr);
    EXPECT_NE(dynamic_cast<InputManager*>(app.getInputManager()), nullptr);
    setServiceCreator(SERVICE_SKIN_MANAGER, nullptr);
    setServiceCreator(SERVICE_INPUT_MANAGER, nullptr);
}
