// The look table's built-in looks and the renderers of the container,
// picture, button and text-button looks.
#include "Gui/Container.h"
#include "Gui/Dialog.h"
#include "SkinTestSupport.h"

namespace
{
class CountedLook final : public Look
{
public:
    explicit CountedLook(int& deletions) : Look(0, 0, nullptr, nullptr), mDeletions(deletions) {}
    ~CountedLook() override { ++mDeletions; }
    uint32_t getKind() override { return LOOK_KIND_CONTAINER; }
    std::unique_ptr<LookRenderer> createRenderer(Component* widget) override
    {
        return std::make_unique<EmptyRenderer>(this, widget);
    }

private:
    int& mDeletions;
};

// A button as the button looks see it: a look state and a caption.
class StateWidget final : public Container, public LookStateSource
{
public:
    StateWidget(uint32_t lookId, Font* font) : Container(10, 20, 120, 30, lookId)
    {
        if (font != nullptr)
            caption = font->createText(15, 25, 100, "Oui", 0xFF000000, 0, TEXT_ALIGN_CENTER);
    }
    uint32_t getLookState() override { return state; }
    Text2D* getCaption() const override { return caption.get(); }

    uint32_t state = LOOK_STATE_RELEASED;
    std::unique_ptr<Text2D> caption;
};

class LookTest : public ::testing::Test
{
protected:
    LookTest()
    {
        folder.write("data/test.fnt", FntBuilder(10, 0, 1).glyph(0, 4).bytes());
        font = std::make_unique<BitmapFont>("data\\test.fnt", nullptr);
    }

    RecordingImage* lastImage() { return app.engine().images.back(); }

    ScratchProgramFolder folder;
    SkinTestApplication app;
    std::unique_ptr<BitmapFont> font;
};

struct Placed
{
    float x, y, width, height;
    bool operator==(const Placed&) const = default;
};
Placed placed(const Image2D& image)
{
    return {image.getX(), image.getY(), image.getWidth(), image.getHeight()};
}
} // namespace

TEST(MultiplyColorsTest, MultipliesEachChannelOver255)
{
    EXPECT_EQ(multiplyColors(0xFF808080, 0x80FF0000), 0x80800000u);
    EXPECT_EQ(multiplyColors(0xFFFFFFFF, 0x12345678), 0x12345678u);
    EXPECT_EQ(multiplyColors(0x00000000, 0xFFFFFFFF), 0u);
}

TEST_F(LookTest, TableHoldsTheBuiltInLooksAndOwnsWhatItIsGiven)
{
    LookTable& table = app.looks();
    EXPECT_EQ(table.size(), 13u);
    ASSERT_NE(dynamic_cast<TextLook*>(table.getLook(LOOK_TEXT)), nullptr);
    EXPECT_EQ(table.getLook(LOOK_TEXT)->getKind(), uint32_t{LOOK_KIND_BUTTON});
    EXPECT_EQ(table.getLook(LOOK_TEXT)->getColorCount(), 1u);
    ASSERT_NE(dynamic_cast<ValueLook*>(table.getLook(LOOK_VALUE)), nullptr);
    EXPECT_EQ(static_cast<ValueLook*>(table.getLook(LOOK_VALUE))->getValue(), 0u);
    EXPECT_NE(dynamic_cast<EmptyLook*>(table.getLook(LOOK_EMPTY)), nullptr);
    EXPECT_NE(dynamic_cast<DialogLook*>(table.getLook(LOOK_DIALOG)), nullptr);
    ASSERT_NE(dynamic_cast<ListLook*>(table.getLook(LOOK_LIST)), nullptr);
    EXPECT_EQ(table.getLook(LOOK_LIST)->getKind(), uint32_t{LOOK_KIND_LIST});
    for (uint32_t id : {0u, 3u, 4u, 5u, 6u, 7u, 9u, 12u})
        EXPECT_EQ(table.getLook(id), nullptr) << id;

    int deletions = 0;
    table.setLook(3, std::make_unique<CountedLook>(deletions));
    table.setLook(3, std::make_unique<CountedLook>(deletions));
    EXPECT_EQ(deletions, 1);
    table.resize(54);
    EXPECT_EQ(table.size(), 54u);
    table.resize(20);
    EXPECT_EQ(table.size(), 54u);
    EXPECT_NE(table.getLook(3), nullptr);
    table.setLook(3, nullptr);
    EXPECT_EQ(deletions, 2);
}

TEST_F(LookTest, ContainerLookFitsNineImagesToTheMargins)
{
    CurrentTestSkin skin(app, 20, {});
    const uint32_t ids[9] = {11, 12, 13, 14, 15, 16, 17, 18, 19};
    app.looks().setLook(6, std::make_unique<ContainerLook>(ids, Margins{4, 5, 6, 7}, true));
    EXPECT_EQ(app.looks().getLook(6)->getMargins(), (Margins{4, 5, 6, 7}));
    size_t first = app.engine().images.size();
    Container frame(10, 20, 200, 100, 6);
    frame.setColor(0x80FFFFFF);
    frame.updateLayout();
    ASSERT_EQ(app.engine().images.size(), first + 9);
    RecordingImage* const* images = app.engine().images.data() + first;
    const Placed expected[9] = {{10, 25, 4, 88},   {204, 25, 6, 88}, {14, 20, 190, 5},
                                {14, 113, 190, 7}, {10, 20, 4, 5},   {204, 20, 6, 5},
                                {10, 113, 4, 7},   {204, 113, 6, 7}, {14, 25, 190, 88}};
    for (int i = 0; i < 9; ++i)
    {
        EXPECT_EQ(placed(*images[i]), expected[i]) << i;
        EXPECT_EQ(images[i]->getTexture(), skin.skin().getTexture(ids[i])) << i;
        EXPECT_EQ(images[i]->getColor(), 0x80FFFFFFu) << i;
        EXPECT_EQ(images[i]->getSizeMode(), i == 8 ? Image2D::SIZE_TILED : Image2D::SIZE_STRETCHED) << i;
    }
    ASSERT_EQ(frame.render(), 0);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(images[i]->draws, 1);
    images[2]->drawResult = 9;
    EXPECT_EQ(frame.render(), 9);

    // A container's own margins win over the look's; a frame narrower than
    // its margins gets empty middles, never negative sizes.
    Margins own{1, 1, 1, 1};
    first = app.engine().images.size();
    Container thin(0, 0, 1, 1, 6, &own);
    ASSERT_EQ(app.engine().images.size(), first + 9);
    EXPECT_EQ(placed(*app.engine().images[first + 8]), (Placed{1, 1, 0, 0}));
    EXPECT_EQ(placed(*app.engine().images[first + 7]), (Placed{0, 0, 1, 1}));
}

TEST_F(LookTest, SingleTextureAndValueLooksCoverTheWidget)
{
    CurrentTestSkin skin(app, 3, {});
    app.looks().setLook(13, std::make_unique<SingleTextureLook>(2));
    Container picture(5, 6, 70, 80, 13);
    RecordingImage* image = lastImage();
    EXPECT_EQ(placed(*image), (Placed{5, 6, 70, 80}));
    EXPECT_EQ(image->getTexture(), skin.skin().getTexture(2));
    EXPECT_EQ(image->getSizeMode(), Image2D::SIZE_STRETCHED);
    picture.setColor(0xFF00FF00);
    picture.updateLayout();
    EXPECT_EQ(image->getColor(), 0xFF00FF00u);

    // The value look shows nothing until its state slots are filled.
    StateWidget value(LOOK_VALUE, nullptr);
    image = lastImage();
    EXPECT_EQ(image->getTexture(), nullptr);
    ASSERT_EQ(value.render(), 0);
    EXPECT_EQ(image->draws, 0);
    auto* look = static_cast<ValueLook*>(app.looks().getLook(LOOK_VALUE));
    look->setStateTexture(LOOK_STATE_PRESSED, skin.skin().getTexture(1));
    value.state = LOOK_STATE_PRESSED;
    value.updateLayout();
    EXPECT_EQ(image->getTexture(), skin.skin().getTexture(1));
    look->setStateTexture(LOOK_STATE_PRESSED, nullptr);
}

TEST_F(LookTest, ButtonLookShowsTheTextureOfTheLookState)
{
    CurrentTestSkin skin(app, 20, {0xFF0000FF, 0xFF00FF00, 0xFFFF0000, 0xFF808080, 0x00000000});
    // Given pressed, released, rolled over, disabled; kept in look-state order.
    app.looks().setLook(4, std::make_unique<ButtonLook>(11, 12, 13, 14, 3));
    const uint32_t colorIds[5] = {0, 1, 2, 3, 4};
    app.looks().setLook(22, std::make_unique<ButtonLook>(11, 12, 13, 14, 3, colorIds));
    Look* look = app.looks().getLook(4);
    EXPECT_EQ(look->getTextureId(LOOK_STATE_RELEASED), 12u);
    EXPECT_EQ(look->getTextureId(LOOK_STATE_PRESSED), 11u);
    EXPECT_EQ(look->getTextureId(LOOK_STATE_ROLLED_OVER), 13u);
    EXPECT_EQ(look->getTextureId(LOOK_STATE_DISABLED), 14u);
    EXPECT_EQ(static_cast<ButtonLook*>(look)->getValue(), 3u);
    EXPECT_EQ(look->getMargins(), Margins{});

    const size_t first = app.engine().images.size();
    StateWidget button(4, font.get());
    RecordingImage* image = app.engine().images[first];
    EXPECT_EQ(placed(*image), (Placed{10, 20, 120, 30}));
    EXPECT_EQ(image->getTexture(), skin.skin().getTexture(12));
    for (uint32_t state : {LOOK_STATE_PRESSED, LOOK_STATE_ROLLED_OVER, LOOK_STATE_DISABLED})
    {
        button.state = state;
        button.updateLayout();
        EXPECT_EQ(image->getTexture(), skin.skin().getTexture(look->getTextureId(state))) << state;
    }
    auto* renderer = static_cast<ButtonRenderer*>(button.getRenderer());
    EXPECT_EQ(renderer->getFaceTexture(), skin.skin().getTexture(12));
    // Without colour ids the caption keeps its colour.
    EXPECT_EQ(button.caption->getColor(), 0xFF000000u);

    // With colour ids the caption takes the state's colour; a transparent
    // shadow colour draws no shadow.
    StateWidget coloured(22, font.get());
    coloured.setColor(0xFF808080);
    coloured.state = LOOK_STATE_PRESSED;
    coloured.updateLayout();
    EXPECT_EQ(coloured.caption->getColor(), multiplyColors(0xFF808080, 0xFF00FF00));
    size_t before = app.engine().images.size();
    ASSERT_EQ(coloured.render(), 0);
    EXPECT_EQ(app.engine().images.size(), before);
}

TEST_F(LookTest, TextButtonLookDrawsAShadowOfTheCaptionInTheStateColours)
{
    CurrentTestSkin skin(app, 0, {0xFF0000FF, 0xFF00FF00, 0xFFFF0000, 0x80101010, 0xFF808080});
    // Pressed 1, released 0, rolled over 2, shadow 3, disabled 4.
    app.looks().setLook(14, std::make_unique<TextButtonLook>(1, 0, 2, 3, 4, 3, 2, 4));
    Look* look = app.looks().getLook(14);
    EXPECT_EQ(look->getColorId(LOOK_STATE_DISABLED), 4u);
    EXPECT_EQ(look->getColorId(BUTTON_COLOR_SHADOW), 3u);

    StateWidget button(14, font.get());
    button.updateLayout();
    // The caption draws after the renderer, over the shadow.
    auto* renderer = button.getRenderer();
    button.caption->setText("Non", true);
    button.state = LOOK_STATE_ROLLED_OVER;
    button.setColor(0xFFFFFFFF);
    button.updateLayout();
    EXPECT_EQ(button.caption->getColor(), 0xFFFF0000u);
    ASSERT_EQ(renderer->render(), 0);
    // The shadow's glyphs: the caption's text, offset by (2, 4), in the
    // shadow colour, with the caption's alignment (the caption itself is not
    // drawn by the renderer).
    std::vector<RecordingImage*> shadowGlyphs;
    for (size_t i = 0; i < app.engine().images.size(); ++i)
    {
        if (app.engine().images[i]->draws > 0)
            shadowGlyphs.push_back(app.engine().images[i]);
    }
    ASSERT_EQ(shadowGlyphs.size(), 3u);
    int32_t captionX = 0, captionY = 0;
    button.caption->getCharPosition(0, captionX, captionY);
    EXPECT_EQ(shadowGlyphs[0]->getX(), static_cast<float>(captionX + 2));
    EXPECT_EQ(shadowGlyphs[0]->getY(), static_cast<float>(captionY + 4));
    EXPECT_EQ(shadowGlyphs[0]->getColor(), 0x80101010u);
}
