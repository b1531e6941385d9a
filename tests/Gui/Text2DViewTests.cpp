// Glyphs and skin frames through the 2D engine on a recording device: the
// glyph textures hold white texels whose alpha is the glyph's byte, and every
// shown character is one draw.
#include "Engine2DD3D/Engine2DD3D.h"
#include "Engine2DD3D/TextureD3D.h"
#include "Gui/Container.h"
#include "Platform/Gpu/RecordingDevice.h"
#include "SkinTestSupport.h"

#include <cstring>

namespace
{
class EngineApplication final : public ApplicationGeneric
{
public:
    EngineApplication() : ApplicationGeneric(settings())
    {
        auto engine = std::make_unique<Engine2DD3D>();
        auto recording = std::make_unique<Platform::Gpu::RecordingDevice>();
        device = recording.get();
        EXPECT_EQ(engine->initWithDevice(std::move(recording)), 0);
        setService(std::move(engine));
        setService(std::make_unique<SkinManager>());
        setService(std::make_unique<LookTable>());
    }
    void createFirstWindow() override {}
    static const ApplicationSettings& settings()
    {
        static ApplicationSettings s;
        return s;
    }

    Platform::Gpu::RecordingDevice* device = nullptr;
    Platform::ScopedMessageCapture messages;
};

// The texels of the texture's picture, read where it lies on the device's
// surface (a glyph's is a part of its font's atlas), with `frame` texels
// more on every side.
std::vector<uint32_t> texels(Texture* texture, int32_t frame = 0)
{
    auto* surface = dynamic_cast<TextureD3D*>(texture)->getD3DTexture();
    Platform::Gpu::LockedRect locked;
    std::vector<uint32_t> result;
    if (surface == nullptr || surface->lockRect(0, &locked, 0) != Platform::Gpu::GPU_OK)
        return result;
    const int32_t left = static_cast<int32_t>(texture->getSurfaceX()) - frame;
    const int32_t top = static_cast<int32_t>(texture->getSurfaceY()) - frame;
    for (int32_t y = top; y < top + static_cast<int32_t>(texture->getHeight()) + 2 * frame; ++y)
    {
        for (int32_t x = left; x < left + static_cast<int32_t>(texture->getWidth()) + 2 * frame; ++x)
        {
            uint32_t texel = 0;
            std::memcpy(&texel, static_cast<uint8_t*>(locked.bits) + size_t(y) * locked.pitch + size_t(x) * 4,
                        4);
            result.push_back(texel);
        }
    }
    surface->unlockRect(0);
    return result;
}
} // namespace

TEST(Text2DViewEngineTest, GlyphTexturesAreWhiteWithTheGlyphAlphaAndEachCharacterDrawsOnce)
{
    ScratchProgramFolder folder;
    folder.write("data/test.fnt", FntBuilder(2, 0, 1).glyph(0, 1, 0x00).glyph('a', 3, 0x80).bytes());
    EngineApplication app;
    {
        BitmapFont font("data\\test.fnt", nullptr);
        std::unique_ptr<Text2D> text = font.createText(10, 10, 100, "aa?", 0xFF0000FF, 0, 0);
        Texture* a = font.getGlyphTexture('a');
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->getWidth(), 3u);
        EXPECT_EQ(a->getHeight(), 2u);
        EXPECT_EQ(texels(a), std::vector<uint32_t>(6, 0x80FFFFFFu));
        // The font's glyphs are parts of one texture without smaller levels,
        // each framed by its own edges.
        auto* surface = dynamic_cast<TextureD3D*>(a)->getD3DTexture();
        EXPECT_EQ(dynamic_cast<TextureD3D*>(font.getGlyphTexture(0))->getD3DTexture(), surface);
        EXPECT_EQ(surface->storedLevelCount(), 1u);
        EXPECT_EQ(texels(a, 1), std::vector<uint32_t>(20, 0x80FFFFFFu));

        const uint32_t before = app.device->drawCount();
        ASSERT_EQ(text->render(), 0);
        EXPECT_EQ(app.device->drawCount() - before, 3u);
    }
    EXPECT_TRUE(app.messages.messages().empty());
}

TEST(Text2DViewEngineTest, SkinFrameDrawsItsNineImages)
{
    ScratchProgramFolder folder;
    EngineApplication app;
    // A skin whose nine frame pictures are blank textures of the engine.
    Skin skin("Test", 9, {});
    auto* engine = static_cast<Engine2D*>(app.getEngine2D());
    for (uint32_t id = 0; id < 9; ++id)
        skin.setTexture(id, engine->createTexture(8, 8, 0));
    auto& skins = static_cast<SkinManager&>(*app.getService(SERVICE_SKIN_MANAGER));
    skins.setCurrentSkin(&skin);
    const uint32_t ids[9] = {0, 1, 2, 3, 4, 5, 6, 7, 8};
    static_cast<LookTable&>(*app.getService(SERVICE_LOOK_TABLE))
        .setLook(6, std::make_unique<ContainerLook>(ids, Margins{4, 4, 4, 4}, true));
    {
        Container frame(0, 0, 64, 48, 6);
        const uint32_t before = app.device->drawCount();
        ASSERT_EQ(frame.render(), 0);
        EXPECT_EQ(app.device->drawCount() - before, 9u);
    }
    skins.setCurrentSkin(nullptr);
    EXPECT_TRUE(app.messages.messages().empty());
}

TEST(Text2DViewEngineTest, SelectedCharactersShowInvertedOverABoxInTheCaretsPicture)
{
    ScratchProgramFolder folder;
    folder.write("data/test.fnt", FntBuilder(2, 0, 1).glyph(0, 1, 0x00).glyph('a', 3, 0x80).bytes());
    EngineApplication app;
    auto* engine = static_cast<Engine2D*>(app.getEngine2D());
    Texture* caret = engine->createTexture(4, 32, 0);
    {
        BitmapFont font("data\\test.fnt", caret);
        std::unique_ptr<Text2D> text = font.createText(10, 10, 100, "aaa", 0xFF000000, 0, 0);
        auto* view = static_cast<Text2DView*>(text.get());
        text->setCaret(1, false);
        text->setCaret(3, true);
        text->showSelection(true);
        const uint32_t before = app.device->drawCount();
        ASSERT_EQ(text->render(), 0);
        EXPECT_EQ(app.device->drawCount() - before, 5u) << "three characters and two boxes";
        EXPECT_EQ(view->getSelectionBox(0), nullptr);
        for (int32_t i : {1, 2})
        {
            Image2D* box = view->getSelectionBox(i);
            Image2D* glyph = view->getGlyphImage(i);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->getTexture(), caret);
            EXPECT_EQ(box->getX(), glyph->getX());
            EXPECT_EQ(box->getWidth(), glyph->getWidth());
            EXPECT_EQ(box->getHeight(), glyph->getHeight());
            EXPECT_EQ(glyph->getColor(), 0xFFFFFFFFu);
        }
        text->showSelection(false);
        const uint32_t hidden = app.device->drawCount();
        ASSERT_EQ(text->render(), 0);
        EXPECT_EQ(app.device->drawCount() - hidden, 3u);
    }
    engine->releaseTexture(caret);
    EXPECT_TRUE(app.messages.messages().empty());
}
