#include "Engine2DD3D/Image2DD3D.h"
#include "Engine2DD3D/Image2DStrechedD3D.h"
#include "Engine2DTestSupport.h"

using namespace Engine2DTest;
using Platform::Gpu::BLEND_INVSRCALPHA;
using Platform::Gpu::BLEND_SRCALPHA;
using Platform::Gpu::RS_DESTBLEND;

namespace
{
class Image2DD3DTest : public RecordingEngineTest
{
protected:
    std::unique_ptr<Image2D> image(::Texture* texture, uint32_t flags, float width = 0, float height = 0,
                                   RenderList* list = nullptr, float x = 0, float y = 0)
    {
        return engine.createImage(x, y, texture, flags, width, height, 0xFFFFFFFF, list);
    }
    static const Vertex2D* vertices(const std::unique_ptr<Image2D>& image)
    {
        return static_cast<Image2DD3D*>(image.get())->vertices();
    }
    uint32_t samplerState(uint32_t type)
    {
        uint32_t value = 0;
        device->getSamplerState(0, type, &value);
        return value;
    }
};
} // namespace

TEST_F(Image2DD3DTest, BindingLoadsTheTextureAndNaturalSizeFollowsTheImage)
{
    ::Texture* texture =
        engine.getTextureByName(writePng("a.png", 100, 50, std::vector<uint32_t>(5000, ~0u)), 0);
    {
        auto drawn = image(texture, Image2D::SIZE_NATURAL, 7, 7, nullptr, 10, 20);
        EXPECT_EQ(texture->getLoadCount(), 1);
        EXPECT_EQ(drawn->getWidth(), 100.0f);
        EXPECT_EQ(drawn->getHeight(), 50.0f);
        const Vertex2D* v = vertices(drawn);
        EXPECT_EQ(v[0].x, 10.0f);
        EXPECT_EQ(v[0].y, 20.0f);
        EXPECT_EQ(v[3].x, 110.0f);
        EXPECT_EQ(v[3].y, 70.0f);
        EXPECT_EQ(v[0].z, 1024.0f);
        EXPECT_FLOAT_EQ(v[3].u, 100.0f / 128.0f);
        EXPECT_FLOAT_EQ(v[3].v, 50.0f / 64.0f);
        EXPECT_EQ(v[1].x, 110.0f);
        EXPECT_EQ(v[2].y, 70.0f);
        // Rebinding the same texture changes nothing.
        EXPECT_EQ(drawn->setTexture(texture), 0u);
        EXPECT_EQ(texture->getLoadCount(), 1);
    }
    EXPECT_EQ(texture->getLoadCount(), 0);
    EXPECT_FALSE(texture->isCreated());
    texture->release();
}

TEST_F(Image2DD3DTest, ClippingCutsPositionsAndTextureCoordinatesInProportion)
{
    ::Texture* texture = loadedTexture(128, 64);
    RenderList list({0, 0, 640, 480});
    auto drawn = image(texture, Image2D::SIZE_STRETCHED, 100, 50, &list, -20, 10);
    const Vertex2D* v = vertices(drawn);
    EXPECT_EQ(v[0].x, 0.0f);
    EXPECT_FLOAT_EQ(v[0].u, 0.2f);
    EXPECT_FLOAT_EQ(v[1].u, 1.0f);
    EXPECT_FALSE(drawn->isCulled());
    // Mirrored: the cut comes off the other end of the span.
    drawn->setMirrorX(true);
    EXPECT_FLOAT_EQ(v[0].u, 0.8f);
    EXPECT_FLOAT_EQ(v[1].u, 0.0f);
    // Moving the clip recomputes its images.
    list.setRect(0, 30, 640, 480);
    EXPECT_EQ(v[0].y, 30.0f);
    EXPECT_FLOAT_EQ(v[0].v, 0.4f);
    drawn.reset();
    texture->unload();
    texture->release();
}

TEST_F(Image2DD3DTest, ImageOutsideItsClipIsCulledAndDrawsNothing)
{
    ::Texture* texture = loadedTexture(16, 16);
    RenderList list({0, 0, 100, 100});
    auto drawn = image(texture, Image2D::SIZE_STRETCHED, 16, 16, &list, 200, 10);
    EXPECT_TRUE(drawn->isCulled());
    EXPECT_EQ(drawn->draw(), 0u);
    EXPECT_EQ(device->drawCount(), 0u);
    // Back inside: visible again and drawn.
    drawn->setPosition(50, 10);
    EXPECT_FALSE(drawn->isCulled());
    drawn->draw();
    EXPECT_EQ(device->drawCount(), 1u);
    drawn.reset();
    texture->unload();
    texture->release();
}

TEST_F(Image2DD3DTest, ClipThatGoesFirstLeavesItsImagesUnclipped)
{
    ::Texture* texture = loadedTexture(16, 16);
    auto list = std::make_unique<RenderList>(Rect2D{0, 0, 10, 10});
    auto drawn = image(texture, Image2D::SIZE_STRETCHED, 16, 16, list.get(), 5, 5);
    EXPECT_EQ(vertices(drawn)[3].x, 10.0f);
    list.reset();
    EXPECT_EQ(drawn->getRenderList(), nullptr);
    EXPECT_EQ(vertices(drawn)[3].x, 21.0f);
    // And an image that goes first leaves its list.
    RenderList other({0, 0, 10, 10});
    drawn->setRenderList(&other);
    EXPECT_EQ(other.getImages().size(), 1u);
    drawn.reset();
    EXPECT_TRUE(other.getImages().empty());
    texture->unload();
    texture->release();
}

TEST_F(Image2DD3DTest, TiledModeNeedsAPowerOfTwoImage)
{
    ::Texture* odd = loadedTexture(100, 100);
    ::Texture* even = loadedTexture(64, 64);
    auto drawn = image(even, Image2D::SIZE_TILED, 200, 100);
    const Vertex2D* v = vertices(drawn);
    EXPECT_FLOAT_EQ(v[3].u, 200.0f / 64.0f);
    EXPECT_EQ(drawn->setTexture(odd), ERROR_TEXTURE_NOT_POWER_OF_2);
    EXPECT_EQ(drawn->getTexture(), odd);
    EXPECT_EQ(drawn->setSize(50, 50, Image2D::SIZE_TILED), ERROR_TEXTURE_NOT_POWER_OF_2);
    EXPECT_EQ(drawn->getWidth(), 200.0f);
    EXPECT_EQ(drawn->setSize(50, 50, Image2D::SIZE_STRETCHED), 0u);
    EXPECT_EQ(drawn->getSizeMode(), uint32_t(Image2D::SIZE_STRETCHED));
    drawn.reset();
    for (::Texture* texture : {odd, even})
    {
        texture->unload();
        texture->release();
    }
}

TEST_F(Image2DD3DTest, FilteringAndAddressingBySizeMode)
{
    ::Texture* texture = loadedTexture(100, 50);
    auto drawn = image(texture, Image2D::SIZE_STRETCHED, 100, 50);
    drawn->draw();
    EXPECT_EQ(samplerState(Platform::Gpu::SAMP_MAGFILTER), uint32_t(Platform::Gpu::TEXF_POINT));
    EXPECT_EQ(samplerState(Platform::Gpu::SAMP_ADDRESSU), uint32_t(Platform::Gpu::TADDRESS_CLAMP));
    drawn->setSize(101, 50, Image2D::SIZE_STRETCHED);
    drawn->draw();
    EXPECT_EQ(samplerState(Platform::Gpu::SAMP_MINFILTER), uint32_t(Platform::Gpu::TEXF_LINEAR));
    drawn->setSourceRect(0, 0, 10, 10);
    drawn->draw();
    EXPECT_EQ(samplerState(Platform::Gpu::SAMP_MAGFILTER), uint32_t(Platform::Gpu::TEXF_LINEAR));
    EXPECT_EQ(samplerState(Platform::Gpu::SAMP_ADDRESSV), uint32_t(Platform::Gpu::TADDRESS_WRAP));
    EXPECT_FLOAT_EQ(vertices(drawn)[3].u, 10.0f / 128.0f);
    drawn->resetSize();
    drawn->draw();
    EXPECT_EQ(samplerState(Platform::Gpu::SAMP_MAGFILTER), uint32_t(Platform::Gpu::TEXF_POINT));
    drawn->setLinear(true);
    drawn->draw();
    EXPECT_EQ(samplerState(Platform::Gpu::SAMP_MAGFILTER), uint32_t(Platform::Gpu::TEXF_LINEAR));
    drawn.reset();
    texture->unload();
    texture->release();
}

TEST_F(Image2DD3DTest, PointFilterFlagKeepsPointUntilBothSidesChange)
{
    std::string path = writePng("p.png", 100, 50, std::vector<uint32_t>(5000, ~0u));
    ::Texture* texture = engine.getTextureByName(path, ::Texture::FLAG_STRETCH_POINT_FILTER);
    auto drawn = image(texture, Image2D::SIZE_STRETCHED, 101, 50);
    drawn->draw();
    EXPECT_EQ(samplerState(Platform::Gpu::SAMP_MAGFILTER), uint32_t(Platform::Gpu::TEXF_POINT));
    drawn->setSize(101, 51, Image2D::SIZE_STRETCHED);
    drawn->draw();
    EXPECT_EQ(samplerState(Platform::Gpu::SAMP_MAGFILTER), uint32_t(Platform::Gpu::TEXF_LINEAR));
    drawn.reset();
    texture->release();
}

TEST_F(Image2DD3DTest, MirrorsSwapCoordinatesOnlyWhenTheyChange)
{
    ::Texture* texture = loadedTexture(64, 64);
    auto drawn = image(texture, Image2D::SIZE_NATURAL);
    const Vertex2D* v = vertices(drawn);
    drawn->setMirrorX(true);
    drawn->setMirrorY(true);
    EXPECT_EQ(v[0].u, 1.0f);
    EXPECT_EQ(v[0].v, 1.0f);
    EXPECT_EQ(v[3].u, 0.0f);
    drawn->setMirrorX(true);
    EXPECT_EQ(v[0].u, 1.0f);
    EXPECT_TRUE(drawn->isMirrorX());
    drawn.reset();
    texture->unload();
    texture->release();
}

TEST_F(Image2DD3DTest, AdditiveImageChangesTheBlendForItsDrawOnly)
{
    ::Texture* texture = loadedTexture(8, 8);
    auto drawn = image(texture, Image2D::SIZE_NATURAL | Image2D::FLAG_ADDITIVE);
    engine.getStateCache().flush();
    device->clearCalls();
    drawn->draw();
    EXPECT_EQ(device->countCalls("setRenderState(20, 5)"), 1u);
    EXPECT_EQ(engine.getStateCache().getState(RS_DESTBLEND), uint32_t(BLEND_INVSRCALPHA));
    EXPECT_EQ(device->countCalls("drawPrimitive(5, 0, 2)"), 1u);
    (void)BLEND_SRCALPHA;
    drawn.reset();
    texture->unload();
    texture->release();
}

TEST_F(Image2DD3DTest, ImageWithoutTextureDrawsNothing)
{
    auto drawn = image(nullptr, Image2D::SIZE_NATURAL, 10, 10);
    EXPECT_EQ(drawn->draw(), 0u);
    EXPECT_EQ(drawn->resetSize(), 0u);
    EXPECT_EQ(device->drawCount(), 0u);
}

TEST_F(Image2DD3DTest, StretchedImageTakesItsCornersAndCullMode)
{
    ::Texture* texture = loadedTexture(100, 64);
    Platform::Vector3 corners[4] = {{0, 0, 1024}, {10, 0, 1024}, {0, 10, 1024}, {12, 14, 1000}};
    auto quad = engine.createStretchedImage(corners, texture, 0x80FFFFFF, 0);
    const Vertex2D* v = static_cast<Image2DStrechedD3D*>(quad.get())->vertices();
    EXPECT_EQ(v[3].x, 12.0f);
    EXPECT_EQ(v[3].z, 1000.0f);
    EXPECT_EQ(v[3].color, 0x80FFFFFFu);
    EXPECT_FLOAT_EQ(v[3].u, 100.0f / 128.0f);
    EXPECT_EQ(texture->getLoadCount(), 2);
    quad->setCullMode(Image2DStreched::CULL_COUNTER_CLOCKWISE);
    engine.getStateCache().flush();
    device->clearCalls();
    EXPECT_EQ(quad->draw(), 0u);
    EXPECT_EQ(device->countCalls("setRenderState(22, 3)"), 1u);
    EXPECT_EQ(engine.getStateCache().getState(Platform::Gpu::RS_CULLMODE),
              uint32_t(Platform::Gpu::CULL_NONE));
    quad->setMirrorY(true);
    EXPECT_EQ(v[3].v, 0.0f);
    EXPECT_EQ(v[0].v, 1.0f);
    quad.reset();
    EXPECT_EQ(texture->getLoadCount(), 1);
    texture->unload();
    texture->release();
}

TEST_F(Image2DD3DTest, RewritingTheSameCornersKeepsTheBufferAsItWas)
{
    // A buffer's new version makes the device draw the frame again.
    std::unique_ptr<Platform::Gpu::VertexBuffer> buffer = createQuadBuffer(engine, "test");
    ASSERT_NE(buffer, nullptr);
    Vertex2D quad[4] = {
        {0, 0, 1024, ~0u, 0, 0}, {8, 0, 1024, ~0u, 1, 0}, {0, 8, 1024, ~0u, 0, 1}, {8, 8, 1024, ~0u, 1, 1}};
    ASSERT_EQ(writeQuad(*buffer, quad, "test"), 0u);
    uint64_t written = buffer->version();
    ASSERT_EQ(writeQuad(*buffer, quad, "test"), 0u);
    EXPECT_EQ(buffer->version(), written);
    quad[3].color = 0x80FFFFFF;
    ASSERT_EQ(writeQuad(*buffer, quad, "test"), 0u);
    EXPECT_NE(buffer->version(), written);
    EXPECT_EQ(reinterpret_cast<const Vertex2D*>(buffer->data())[3].color, 0x80FFFFFFu);
}
