#include "Gui/Image.h"

#include "Engine/Texture.h"
#include "WidgetTestSupport.h"

namespace
{
class BlankTexture final : public Texture
{
public:
    BlankTexture(uint32_t width, uint32_t height) : Texture(nullptr, width, height, 0) {}
    ErrorCode lock(void**, int32_t*) override { return 0; }
    ErrorCode unlock() override { return 0; }
    bool isCreated() const override { return true; }
    ErrorCode doLoad() override { return 0; }
    ErrorCode doUnload() override { return 0; }
    ErrorCode onLostDevice() override { return 0; }
    ErrorCode onResetDevice() override { return 0; }
};

class CountingImage final : public Image2D
{
public:
    CountingImage(float x, float y, Texture* texture, uint32_t flags, float width, float height,
                  uint32_t color, RenderList* list)
        : Image2D(x, y, nullptr, flags, width, height, color, list)
    {
        setTexture(texture);
    }
    ErrorCode draw() override
    {
        ++draws;
        return 0;
    }
    ErrorCode update() override { return 0; }
    int draws = 0;
};

// Learns its size when loaded, as a file texture does.
class LazyTexture final : public Texture
{
public:
    LazyTexture() : Texture(nullptr, 0, 0, 0) {}
    ErrorCode lock(void**, int32_t*) override { return 0; }
    ErrorCode unlock() override { return 0; }
    bool isCreated() const override { return true; }
    ErrorCode doLoad() override
    {
        setSize(64, 32);
        return 0;
    }
    ErrorCode doUnload() override { return 0; }
    ErrorCode onLostDevice() override { return 0; }
    ErrorCode onResetDevice() override { return 0; }
};

// Makes counting images; everything else is the fake engine's.
class ImageEngine final : public StubEngine2D
{
public:
    std::unique_ptr<Image2D> createImage(float x, float y, Texture* texture, uint32_t flags, float width,
                                         float height, uint32_t color, RenderList* list) override
    {
        return std::make_unique<CountingImage>(x, y, texture, flags, width, height, color, list);
    }
    uint32_t getOpeningEffectCount() override { return 0; }
};

// Two skins of two textures each; the test switches between them.
BlankTexture gSkinTextures[2][2] = {{{8, 8}, {8, 8}}, {{8, 8}, {8, 8}}};
int gCurrentSkin = 0;
Texture* skinTexture(uint32_t id)
{
    return id < 2 ? &gSkinTextures[gCurrentSkin][id] : nullptr;
}

struct ImageFixture : ::testing::Test
{
    ImageFixture()
    {
        app.setService(std::make_unique<ImageEngine>());
        Image::setSkinTextureSource(&skinTexture);
        gCurrentSkin = 0;
    }
    ~ImageFixture() override { Image::setSkinTextureSource(nullptr); }

    WidgetTestApplication app;
    BlankTexture picture{64, 32};
};

TEST_F(ImageFixture, TakesItsSizeFromTheTextureAndFollowsTheWidget)
{
    Image image(10, 20, &picture);
    EXPECT_EQ(image.getRect(), (Rect{10, 20, 64, 32}));
    Image2D* drawn = image.getImage();
    ASSERT_NE(drawn, nullptr);
    EXPECT_EQ(drawn->getTexture(), &picture);
    image.moveTo(30, 40, true);
    image.setColor(0x80FFFFFF);
    EXPECT_EQ(drawn->getX(), 30.0f);
    EXPECT_EQ(drawn->getY(), 40.0f);
    EXPECT_EQ(drawn->getColor(), 0x80FFFFFFu);
    EXPECT_EQ(image.render(), 0);
    EXPECT_EQ(static_cast<CountingImage*>(drawn)->draws, 1);
    EXPECT_FALSE(image.isHoverable());
}

TEST_F(ImageFixture, TakesTheSizeOfATextureNotYetLoaded)
{
    LazyTexture title;
    Image image(10, 20, &title);
    EXPECT_EQ(image.getRect(), (Rect{10, 20, 64, 32}));
    EXPECT_EQ(image.getImage()->getWidth(), 64.0f);
}

TEST_F(ImageFixture, SkinTextureShowsTheNewSkinAfterTheNextLayout)
{
    Image image(0, 0, 16, 16, 1u);
    EXPECT_EQ(image.getImage()->getTexture(), &gSkinTextures[0][1]);
    gCurrentSkin = 1;
    EXPECT_EQ(image.getImage()->getTexture(), &gSkinTextures[0][1]);
    image.updateLayout();
    EXPECT_EQ(image.getImage()->getTexture(), &gSkinTextures[1][1]);

    // A plain texture drops the id, and the other way round.
    image.setTexture(&picture);
    EXPECT_EQ(image.getSkinTextureId(), Image::kNoSkinTexture);
    image.updateLayout();
    EXPECT_EQ(image.getImage()->getTexture(), &picture);
    image.setSkinTexture(0);
    EXPECT_EQ(image.getTexture(), nullptr);
    EXPECT_EQ(image.getImage()->getTexture(), &gSkinTextures[1][0]);
}
} // namespace
