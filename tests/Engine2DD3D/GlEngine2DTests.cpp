// The 2D engine drawing on the OpenGL device, frames read back. Skipped
// without a display.
#include "Engine2DD3D/Image2DD3D.h"
#include "Engine2DTestSupport.h"
#include "Framework/ApplicationGeneric.h"
#include "Framework/NullServices.h"
#include "GlEngineTestSupport.h"
#include "Gui/RenderedComponent.h"
#include "Gui/SheetMoveBase.h"
#include "Platform/Gpu/GlDevice.h"

#include <SDL.h>

using namespace Engine2DTest;

namespace
{
class GlEngine2DTest : public GlEngineTest
{
protected:
    uint32_t pixel(uint32_t x, uint32_t y)
    {
        if (mFrame.empty())
            mFrame = mDevice->readFrame();
        return mFrame[size_t(y) * 1024 + x];
    }
    ::Texture* pixelsTexture(uint32_t width, uint32_t height, const std::vector<uint32_t>& argb)
    {
        mPixels.push_back(argb);
        ::Texture* texture = mEngine->createTextureFromPixels(width, height, mPixels.back().data(),
                                                              ::Texture::FLAG_PIXELS_32BIT, 0);
        mTextures.push_back(texture);
        return texture;
    }
    void forgetFrame() { mFrame.clear(); }

    // A widget drawing images of the engine, each at its own rectangle.
    class ImageWidget final : public Component
    {
    public:
        ImageWidget(Engine2DD3D& engine, const Rect& rect) : Component(rect), mEngine(engine) {}
        void add(::Texture* texture, const Rect& rect)
        {
            mImages.push_back(mEngine.createImage(
                static_cast<float>(rect.x), static_cast<float>(rect.y), texture, Image2D::SIZE_STRETCHED,
                static_cast<float>(rect.width), static_cast<float>(rect.height), 0xFFFFFFFF, nullptr));
        }
        ErrorCode render() override
        {
            for (auto& image : mImages)
            {
                if (ErrorCode code = image->draw())
                    return code;
            }
            return 0;
        }

    private:
        Engine2DD3D& mEngine;
        std::vector<std::unique_ptr<Image2D>> mImages;
    };
    void releaseTextures()
    {
        for (::Texture* texture : mTextures)
            texture->release();
        mTextures.clear();
    }

private:
    std::vector<uint32_t> mFrame;
    std::vector<std::vector<uint32_t>> mPixels;
    std::vector<::Texture*> mTextures;
};
} // namespace

TEST_F(GlEngine2DTest, FrameIsClearedOpaqueInTheClearColour)
{
    mEngine->setClearColor(0x00204060);
    ASSERT_EQ(mEngine->beginFrame(), 0u);
    for (auto [x, y] : {std::pair{0u, 0u}, {1023u, 767u}, {512u, 384u}})
        EXPECT_EQ(pixel(x, y), 0xFF204060u) << x << "," << y;
    EXPECT_EQ(mEngine->endFrame(), 0u);
}

TEST_F(GlEngine2DTest, NaturalSizeImageLandsTexelForPixel)
{
    std::vector<uint32_t> texels;
    for (uint32_t y = 0; y < 4; ++y)
        for (uint32_t x = 0; x < 4; ++x)
            texels.push_back(0xFF000000u | (x * 60 + 10) << 16 | (y * 60 + 10) << 8 | 0x33);
    ::Texture* texture = pixelsTexture(4, 4, texels);
    ASSERT_EQ(mEngine->beginFrame(), 0u);
    mEngine->begin2DPass();
    {
        auto image = mEngine->createImage(100, 50, texture, Image2D::SIZE_NATURAL, 0, 0, 0xFFFFFFFF, nullptr);
        EXPECT_EQ(image->draw(), 0u);
        for (uint32_t y = 0; y < 4; ++y)
            for (uint32_t x = 0; x < 4; ++x)
                EXPECT_EQ(pixel(100 + x, 50 + y), texels[y * 4 + x]) << x << "," << y;
        EXPECT_EQ(pixel(99, 50), 0xFF000000u);
        EXPECT_EQ(pixel(104, 53), 0xFF000000u);
        EXPECT_EQ(pixel(100, 54), 0xFF000000u);
    }
    mEngine->endFrame();
    releaseTextures();
}

TEST_F(GlEngine2DTest, ColourModulatesAndAlphaBlendsOverTheFrame)
{
    ::Texture* white = pixelsTexture(1, 1, {0xFFFFFFFF});
    mEngine->setClearColor(0x000000FF);
    ASSERT_EQ(mEngine->beginFrame(), 0u);
    mEngine->begin2DPass();
    {
        auto image =
            mEngine->createImage(10, 10, white, Image2D::SIZE_STRETCHED, 20, 20, 0x80FF0000, nullptr);
        image->draw();
        uint32_t blended = pixel(15, 15);
        EXPECT_NEAR(int((blended >> 16) & 0xFF), 0x80, 2);
        EXPECT_NEAR(int(blended & 0xFF), 0x7F, 2);
        EXPECT_EQ(pixel(35, 15), 0xFF0000FFu);
    }
    mEngine->endFrame();
    releaseTextures();
}

TEST_F(GlEngine2DTest, ClippedImageDrawsOnlyInsideItsClip)
{
    ::Texture* white = pixelsTexture(1, 1, {0xFFFFFFFF});
    RenderList clip({0, 0, 50, 50});
    ASSERT_EQ(mEngine->beginFrame(), 0u);
    mEngine->begin2DPass();
    {
        auto image = mEngine->createImage(40, 40, white, Image2D::SIZE_STRETCHED, 20, 20, 0xFFFFFFFF, &clip);
        image->draw();
        EXPECT_EQ(pixel(45, 45), 0xFFFFFFFFu);
        EXPECT_EQ(pixel(49, 49), 0xFFFFFFFFu);
        EXPECT_EQ(pixel(50, 45), 0xFF000000u);
        EXPECT_EQ(pixel(45, 55), 0xFF000000u);
    }
    mEngine->endFrame();
    releaseTextures();
}

TEST_F(GlEngine2DTest, RenderedComponentShowsTheSamePixelsAsTheComponentDrawnDirectly)
{
    ::Texture* green = pixelsTexture(1, 1, {0xFF00FF00});
    ::Texture* blue = pixelsTexture(1, 1, {0xFF0000FF});
    ::Texture* red = pixelsTexture(1, 1, {0xFFFF0000});
    // On white, as the rendered component's surface starts.
    mEngine->setClearColor(0xFFFFFFFF);
    ASSERT_EQ(mEngine->beginFrame(), 0u);
    mEngine->begin2DPass();
    {
        // The component: 40 x 24 at (500, 500), three blocks inside it.
        ImageWidget content(*mEngine, {500, 500, 40, 24});
        content.add(green, {503, 502, 16, 12});
        content.add(blue, {520, 510, 6, 9});
        content.add(red, {526, 510, 6, 9});
        auto rendered = mEngine->createRenderedComponent({100, 100, 40, 24});
        ASSERT_EQ(rendered->renderComponent(&content), 0u);
        ASSERT_NE(rendered->getRenderTexture(), nullptr);
        // Nothing of it reached the frame.
        EXPECT_EQ(pixel(505, 505), 0xFFFFFFFFu);
        // Drawn directly, and through the rendered component.
        EXPECT_EQ(content.render(), 0u);
        EXPECT_EQ(rendered->render(), 0u);
        forgetFrame();
        size_t differing = 0;
        for (uint32_t y = 0; y < 24; ++y)
            for (uint32_t x = 0; x < 40; ++x)
                differing += pixel(500 + x, 500 + y) != pixel(100 + x, 100 + y) ? 1 : 0;
        EXPECT_EQ(differing, 0u);
        EXPECT_EQ(pixel(110, 107), 0xFF00FF00u);
        EXPECT_EQ(pixel(121, 112), 0xFF0000FFu);
        EXPECT_EQ(pixel(130, 112), 0xFFFF0000u);
        EXPECT_EQ(pixel(101, 101), 0xFFFFFFFFu);
    }
    mEngine->endFrame();
    releaseTextures();
}

TEST_F(GlEngine2DTest, RotatedSheetDrawsItsContentWhereTheRotationPutsIt)
{
    ::Texture* green = pixelsTexture(1, 1, {0xFF00FF00});
    for (float angle : {0.0f, 1.5707964f})
    {
        SCOPED_TRACE(angle);
        forgetFrame();
        ASSERT_EQ(mEngine->beginFrame(), 0u);
        mEngine->begin2DPass();
        {
            auto sheet = mEngine->createSheetMove({200, 200, 100, 100});
            // 20 x 10 at (260, 200): right of the centre (250, 250), at the top.
            auto* content = new ImageWidget(*mEngine, {260, 200, 20, 10});
            content->add(green, {260, 200, 20, 10});
            sheet->addChild(content);
            sheet->setRotation(250, 250, angle);
            EXPECT_EQ(sheet->render(), 0u);
        }
        if (angle == 0.0f)
        {
            EXPECT_EQ(pixel(270, 205), 0xFF00FF00u);
            EXPECT_EQ(pixel(295, 270), 0xFF000000u);
        }
        else
        {
            // A quarter turn: (x, y) about the centre goes to (-y, x); the
            // block now stands right of the centre, below it, on its side.
            EXPECT_EQ(pixel(295, 270), 0xFF00FF00u);
            EXPECT_EQ(pixel(292, 262), 0xFF00FF00u);
            EXPECT_EQ(pixel(298, 278), 0xFF00FF00u);
            EXPECT_EQ(pixel(270, 205), 0xFF000000u);
            EXPECT_EQ(pixel(295, 285), 0xFF000000u);
        }
        mEngine->endFrame();
    }
    // The world transform is the frame's again: a later image lands as is.
    forgetFrame();
    ASSERT_EQ(mEngine->beginFrame(), 0u);
    mEngine->begin2DPass();
    {
        auto image = mEngine->createImage(10, 10, green, Image2D::SIZE_STRETCHED, 4, 4, 0xFFFFFFFF, nullptr);
        image->draw();
        EXPECT_EQ(pixel(11, 11), 0xFF00FF00u);
    }
    mEngine->endFrame();
    releaseTextures();
}

// The program's own path: the application builds its 2D engine through the
// kind registered for it, on its main window, and draws a cleared frame.
TEST(GlApplicationEngine, ApplicationDrawsItsFramesThroughTheRegisteredEngine)
{
    if (!std::getenv("DISPLAY"))
        GTEST_SKIP() << "no display";
    [[maybe_unused]] SystemAllocations system;
    Platform::ScopedMessageCapture messages;
    Platform::TemporaryDirectory folder;
    Platform::setProgramDirectory(folder.path());
    Engine2DD3D::registerKind();
    struct StartApplication final : ApplicationGeneric
    {
        using ApplicationGeneric::ApplicationGeneric;
        void createFirstWindow() override {}
    };
    ApplicationSettings settings;
    settings.mTitle = "test";
    settings.mLanguageFile = "data\\Ressources\\lang.ini";
    {
        StartApplication application(settings);
        application.setService(std::make_unique<NullSoundManager>());
        auto* engine = dynamic_cast<Engine2DD3D*>(application.getEngine2D());
        ASSERT_NE(engine, nullptr);
        ASSERT_EQ(application.init(), 0u) << (messages.messages().empty() ? "" : messages.messages()[0].text);
        engine->setClearColor(0x00336699);
        EXPECT_EQ(application.renderFrame(), 0u);
        auto* device = dynamic_cast<Platform::Gpu::GlDevice*>(engine->getDevice());
        ASSERT_NE(device, nullptr);
        EXPECT_EQ(device->readFrame()[384 * 1024 + 512], 0xFF336699u);
        EXPECT_TRUE(engine->getPresentParity());
        // A message box first presents the frame again.
        application.presentPendingFrame();
        EXPECT_FALSE(engine->getPresentParity());
    }
    setServiceCreator(SERVICE_ENGINE_2D, nullptr);
    SDL_Quit();
}
