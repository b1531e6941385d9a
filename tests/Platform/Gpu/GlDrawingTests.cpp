#include "GlTestSupport.h"

#include <bit>

using namespace GpuTest;

namespace
{

// A 4 x 4 texture whose texels are all different: red grows to the right,
// green downwards.
std::vector<uint32_t> gradient4x4()
{
    std::vector<uint32_t> texels(16);
    for (uint32_t y = 0; y < 4; ++y)
    {
        for (uint32_t x = 0; x < 4; ++x)
        {
            texels[y * 4 + x] = 0xFF000000u | ((x * 60 + 10) << 16) | ((y * 60 + 10) << 8) | 0x33;
        }
    }
    return texels;
}

} // namespace

TEST_F(GlDeviceTest, PointFilteredQuadLandsTexelForPixelWithoutShiftOrFlip)
{
    auto texture = makeTexture(4, 4, gradient4x4());
    device->clear(CLEAR_TARGET, 0xFF000000, 1, 0);
    device->setTexture(0, texture.get());
    device->setSamplerState(0, SAMP_MAGFILTER, TEXF_POINT);
    device->setSamplerState(0, SAMP_MINFILTER, TEXF_POINT);
    device->setRenderState(RS_ALPHABLENDENABLE, 0);
    drawQuad(100, 50, 4, 4);
    auto texels = gradient4x4();
    for (uint32_t y = 0; y < 4; ++y)
    {
        for (uint32_t x = 0; x < 4; ++x)
        {
            EXPECT_EQ(pixel(100 + x, 50 + y), texels[y * 4 + x]) << x << "," << y;
        }
    }
    // Nothing outside the quad.
    EXPECT_EQ(pixel(99, 50), 0xFF000000u);
    EXPECT_EQ(pixel(104, 50), 0xFF000000u);
    EXPECT_EQ(pixel(100, 49), 0xFF000000u);
    EXPECT_EQ(pixel(100, 54), 0xFF000000u);
}

TEST_F(GlDeviceTest, StretchedPointFilteredQuadRepeatsEachTexel)
{
    auto texture = makeTexture(4, 4, gradient4x4());
    device->setTexture(0, texture.get());
    drawQuad(0, 0, 16, 16);
    auto texels = gradient4x4();
    for (uint32_t y = 0; y < 16; ++y)
    {
        for (uint32_t x = 0; x < 16; ++x)
        {
            ASSERT_EQ(pixel(x, y), texels[(y / 4) * 4 + x / 4]) << x << "," << y;
        }
    }
}

TEST_F(GlDeviceTest, VertexColourModulatesTextureInArgbOrder)
{
    auto texture = makeTexture(1, 1, {0xFFFFFFFF});
    device->setTexture(0, texture.get());
    drawQuad(10, 10, 8, 8, 0xFF204080);
    EXPECT_EQ(pixel(12, 12), 0xFF204080u);
    // Texture bytes in memory are blue, green, red, alpha.
    auto blue = makeTexture(1, 1, {0xFF0000FF});
    device->setTexture(0, blue.get());
    drawQuad(30, 10, 8, 8);
    forgetFrame();
    EXPECT_EQ(pixel(32, 12), 0xFF0000FFu);
}

TEST_F(GlDeviceTest, AlphaBlendingAndAdditiveBlending)
{
    device->clear(CLEAR_TARGET, 0xFF204060, 1, 0);
    auto texture = makeTexture(1, 1, {0x80FFFFFF});
    device->setTexture(0, texture.get());
    device->setRenderState(RS_ALPHABLENDENABLE, 1);
    device->setRenderState(RS_SRCBLEND, BLEND_SRCALPHA);
    device->setRenderState(RS_DESTBLEND, BLEND_INVSRCALPHA);
    drawQuad(0, 0, 10, 10, 0xFFC0C0C0);
    device->setRenderState(RS_DESTBLEND, BLEND_SRCALPHA);
    drawQuad(20, 0, 10, 10, 0xFF404040);
    // alpha 128/255 of 0xC0 over the clear colour.
    float a = 128.0f / 255.0f;
    auto blend = [&](float src, float dst) { return uint32_t(std::lround(src * a + dst * (1 - a))); };
    uint32_t expected = 0xFF000000u | blend(0xC0, 0x20) << 16 | blend(0xC0, 0x40) << 8 | blend(0xC0, 0x60);
    EXPECT_TRUE(nearColor(pixel(5, 5) | 0xFF000000u, expected));
    // Additive: source x alpha + destination x alpha.
    auto add = [&](float src, float dst) { return uint32_t(std::min(255L, std::lround(src * a + dst * a))); };
    uint32_t added = 0xFF000000u | add(0x40, 0x20) << 16 | add(0x40, 0x40) << 8 | add(0x40, 0x60);
    EXPECT_TRUE(nearColor(pixel(25, 5) | 0xFF000000u, added));
}

TEST_F(GlDeviceTest, AlphaTestDropsPixelsBelowTheReference)
{
    device->clear(CLEAR_TARGET, 0xFF000000, 1, 0);
    auto texture = makeTexture(2, 1, {0x40FF0000, 0xC000FF00});
    device->setTexture(0, texture.get());
    device->setRenderState(RS_ALPHABLENDENABLE, 0);
    device->setRenderState(RS_ALPHATESTENABLE, 1);
    device->setRenderState(RS_ALPHAREF, 0x80);
    device->setRenderState(RS_ALPHAFUNC, CMP_GREATEREQUAL);
    drawQuad(0, 0, 2, 1);
    EXPECT_EQ(pixel(0, 0), 0xFF000000u);
    EXPECT_EQ(pixel(1, 0) & 0x00FFFFFF, 0x0000FF00u);
    // Reference 0 with "greater or equal" lets everything through.
    device->setRenderState(RS_ALPHAREF, 0);
    drawQuad(0, 2, 2, 1);
    forgetFrame();
    EXPECT_EQ(pixel(0, 2) & 0x00FFFFFF, 0x00FF0000u);
}

TEST_F(GlDeviceTest, CullingFollowsScreenWinding)
{
    auto texture = makeTexture(1, 1, {0xFFFFFFFF});
    device->setTexture(0, texture.get());
    device->clear(CLEAR_TARGET, 0xFF000000, 1, 0);
    // Top-left, top-right, bottom-left: clockwise on the screen (y down).
    const ColorVertex clockwise[3] = {
        {0, 0, 1024, 0xFFFFFFFF, 0, 0}, {20, 0, 1024, 0xFFFFFFFF, 0, 0}, {0, 20, 1024, 0xFFFFFFFF, 0, 0}};
    const ColorVertex counterClockwise[3] = {
        {40, 0, 1024, 0xFFFFFFFF, 0, 0}, {40, 20, 1024, 0xFFFFFFFF, 0, 0}, {60, 0, 1024, 0xFFFFFFFF, 0, 0}};
    auto drawTriangle = [&](const ColorVertex(&v)[3])
    {
        std::unique_ptr<VertexBuffer> buffer;
        device->createVertexBuffer(sizeof v, 0, FVF_XYZ_DIFFUSE_TEX1, POOL_SYSTEMMEM, &buffer);
        void* data;
        buffer->lock(0, 0, &data, 0);
        std::memcpy(data, v, sizeof v);
        buffer->unlock();
        device->setStreamSource(0, buffer.get(), 0, sizeof(ColorVertex));
        device->setFVF(FVF_XYZ_DIFFUSE_TEX1);
        EXPECT_EQ(device->drawPrimitive(PT_TRIANGLELIST, 0, 1), GPU_OK);
        device->readFrame(); // draw before the buffer goes
    };
    device->setRenderState(RS_CULLMODE, CULL_CCW); // the default: clockwise faces are the front
    drawTriangle(clockwise);
    drawTriangle(counterClockwise);
    EXPECT_EQ(pixel(3, 3), 0xFFFFFFFFu);
    EXPECT_EQ(pixel(43, 3), 0xFF000000u);
    forgetFrame();
    device->clear(CLEAR_TARGET, 0xFF000000, 1, 0);
    device->setRenderState(RS_CULLMODE, CULL_CW);
    drawTriangle(clockwise);
    drawTriangle(counterClockwise);
    EXPECT_EQ(pixel(3, 3), 0xFF000000u);
    EXPECT_EQ(pixel(43, 3), 0xFFFFFFFFu);
}

TEST_F(GlDeviceTest, QuadStripsKeepTheirWindingUnderCulling)
{
    // A strip drawn top-left, top-right, bottom-left, bottom-right turns
    // clockwise in both of its triangles.
    auto texture = makeTexture(1, 1, {0xFFFFFFFF});
    device->setTexture(0, texture.get());
    device->setRenderState(RS_CULLMODE, CULL_CCW);
    drawQuad(0, 0, 10, 10);
    EXPECT_EQ(pixel(2, 7), 0xFFFFFFFFu);
    EXPECT_EQ(pixel(7, 2), 0xFFFFFFFFu);
}

TEST_F(GlDeviceTest, GeneratedMipChainIsCompleteWhenShorterThanFull)
{
    // 64 x 64 with 4 levels (not the full 7): minified far down it must still
    // sample the averaged colour, not black.
    std::vector<uint32_t> checker(64 * 64);
    for (uint32_t i = 0; i < checker.size(); ++i)
    {
        checker[i] = ((i / 64 + i % 64) % 2) ? 0xFFFFFFFF : 0xFF000000;
    }
    auto texture = makeTexture(64, 64, checker, 4, USAGE_AUTOGENMIPMAP);
    EXPECT_EQ(texture->getLevelCount(), 1u);
    device->setTexture(0, texture.get());
    device->setSamplerState(0, SAMP_MINFILTER, TEXF_LINEAR);
    device->setSamplerState(0, SAMP_MAGFILTER, TEXF_LINEAR);
    device->setSamplerState(0, SAMP_MIPFILTER, TEXF_POINT);
    drawQuad(0, 0, 8, 8); // level 3: 8 x 8 texels of grey
    uint32_t grey = pixel(4, 4);
    EXPECT_TRUE(nearColor(grey, 0xFF808080, 2));
}

TEST_F(GlDeviceTest, ExplicitMipLevelsAreLockedAndSampledOneByOne)
{
    std::unique_ptr<Texture> texture;
    ASSERT_EQ(device->createTexture(4, 4, 0, 0, FMT_A8R8G8B8, POOL_MANAGED, &texture), GPU_OK);
    ASSERT_EQ(texture->getLevelCount(), 3u);
    const uint32_t colors[3] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF};
    for (uint32_t level = 0; level < 3; ++level)
    {
        SurfaceDesc desc;
        ASSERT_EQ(texture->getLevelDesc(level, &desc), GPU_OK);
        LockedRect locked;
        ASSERT_EQ(texture->lockRect(level, &locked, 0), GPU_OK);
        for (uint32_t i = 0; i < desc.width * desc.height; ++i)
        {
            static_cast<uint32_t*>(locked.bits)[i] = colors[level];
        }
        texture->unlockRect(level);
    }
    device->setTexture(0, texture.get());
    device->setSamplerState(0, SAMP_MIPFILTER, TEXF_POINT);
    drawQuad(0, 0, 1, 1);
    EXPECT_EQ(pixel(0, 0), 0xFF0000FFu);
}

TEST_F(GlDeviceTest, SixteenBitAndOpaqueFormatsReadAsTheirColours)
{
    std::unique_ptr<Texture> shorts, opaque;
    ASSERT_EQ(device->createTexture(2, 1, 1, 0, FMT_A1R5G5B5, POOL_MANAGED, &shorts), GPU_OK);
    LockedRect locked;
    ASSERT_EQ(shorts->lockRect(0, &locked, 0), GPU_OK);
    EXPECT_EQ(locked.pitch, 4);
    const uint16_t texels[2] = {0xFC00, 0x03E0}; // opaque red, transparent green
    std::memcpy(locked.bits, texels, sizeof texels);
    shorts->unlockRect(0);
    ASSERT_EQ(device->createTexture(1, 1, 1, 0, FMT_X8R8G8B8, POOL_MANAGED, &opaque), GPU_OK);
    ASSERT_EQ(opaque->lockRect(0, &locked, 0), GPU_OK);
    *static_cast<uint32_t*>(locked.bits) = 0x00123456; // alpha byte ignored
    opaque->unlockRect(0);
    device->setRenderState(RS_ALPHABLENDENABLE, 0);
    device->setTexture(0, shorts.get());
    drawQuad(0, 0, 2, 1);
    device->setTexture(0, opaque.get());
    drawQuad(0, 1, 1, 1);
    EXPECT_EQ(pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(pixel(1, 0), 0x0000FF00u);
    EXPECT_EQ(pixel(0, 1), 0xFF123456u);
}

TEST_F(GlDeviceTest, RenderTargetTextureDrawnBackIsUpright)
{
    std::unique_ptr<Texture> target;
    ASSERT_EQ(device->createTexture(64, 64, 1, USAGE_RENDERTARGET, FMT_X8R8G8B8, POOL_DEFAULT, &target),
              GPU_OK);
    LockedRect locked;
    EXPECT_EQ(target->lockRect(0, &locked, 0), GPU_INVALIDCALL);
    auto white = makeTexture(1, 1, {0xFFFFFFFF});
    ASSERT_EQ(device->setRenderTarget(target.get()), GPU_OK);
    device->setTransform(TS_PROJECTION, pixelProjection(64, 64));
    device->clear(CLEAR_TARGET, 0xFF0000FF, 1, 0);
    device->setTexture(0, white.get());
    drawQuad(0, 0, 64, 16, 0xFFFF0000); // red band at the top
    ASSERT_EQ(device->setRenderTarget(nullptr), GPU_OK);
    device->setTransform(TS_PROJECTION, pixelProjection(1024, 768));
    device->clear(CLEAR_TARGET, 0xFF000000, 1, 0);
    device->setTexture(0, target.get());
    drawQuad(200, 100, 64, 64);
    EXPECT_EQ(pixel(230, 105), 0xFFFF0000u);
    EXPECT_EQ(pixel(230, 150), 0xFF0000FFu);
}

TEST_F(GlDeviceTest, DepthTestUsesTheZeroToOneRange)
{
    auto texture = prepareDepthQuads();
    device->setRenderState(RS_ZENABLE, 1);
    device->clear(CLEAR_TARGET | CLEAR_ZBUFFER, 0xFF000000, 1, 0);
    // With an identity projection z is the depth itself; a quad at 0.25
    // hides one at 0.5 drawn after it, and one at 1.5 is clipped away.
    auto quadAt = [&](float z, uint32_t color, float x0) { drawDepthQuad(z, color, x0, x0 + 0.5f, 0.5f, 1); };
    quadAt(0.25f, 0xFFFF0000, -0.5f);
    quadAt(0.5f, 0xFF00FF00, -0.5f);
    quadAt(1.5f, 0xFF0000FF, 0.0f);
    quadAt(0.75f, 0xFFFFFF00, 0.25f);
    // Clip x -0.5..0 is pixels 256..511, 0.25..0.75 pixels 640..895, clip y
    // 1..0.5 rows 0..191.
    EXPECT_EQ(pixel(300, 50), 0xFFFF0000u);
    EXPECT_EQ(pixel(700, 50), 0xFFFFFF00u);
    EXPECT_EQ(pixel(530, 50), 0xFF000000u);
}

TEST_F(GlDeviceTest, DepthBiasOfOneDrawsOnlyWhereNothingWasDrawnAndWritesNoDepth)
{
    auto texture = prepareDepthQuads();
    device->setRenderState(RS_ZENABLE, 1);
    device->clear(CLEAR_TARGET | CLEAR_ZBUFFER, 0xFF000000, 1, 0);
    auto quadAt = [&](float z, uint32_t color, float x0, float x1) { drawDepthQuad(z, color, x0, x1); };
    // Something far but not at the far plane on the left (pixels 0..511).
    quadAt(0.99f, 0xFFFF0000, -1.0f, 0.0f);
    // A picture in front of everything, pushed to the far plane: it shows
    // only on the right, where the depth is as cleared.
    device->setRenderState(RS_ZWRITEENABLE, 0);
    device->setRenderState(RS_DEPTHBIAS, std::bit_cast<uint32_t>(1.0f));
    quadAt(0.0f, 0xFF00FF00, -1.0f, 1.0f);
    EXPECT_EQ(pixel(100, 50), 0xFFFF0000u);
    EXPECT_EQ(pixel(900, 50), 0xFF00FF00u);
    // Without the bias the depth test is plain again, and the picture left
    // the right half's depth alone: a far quad still lands there.
    device->setRenderState(RS_DEPTHBIAS, 0);
    device->setRenderState(RS_ZWRITEENABLE, 1);
    quadAt(0.999f, 0xFF0000FF, -1.0f, 1.0f);
    forgetFrame();
    EXPECT_EQ(pixel(100, 50), 0xFFFF0000u);
    EXPECT_EQ(pixel(900, 50), 0xFF0000FFu);
}

TEST_F(GlDeviceTest, DepthClearsTakeEffectAfterDepthWritesAndForANewValue)
{
    auto texture = prepareDepthQuads();
    auto quadAt = [&](float z, uint32_t color) { drawDepthQuad(z, color, -1, 1); };
    // Frames drawn without depth, each cleared again: nothing to redo.
    for (int frame = 0; frame < 2; ++frame)
    {
        device->clear(CLEAR_TARGET | CLEAR_ZBUFFER, 0xFF000000, 1, 0);
        device->setRenderState(RS_ZENABLE, 0);
        quadAt(0.5f, 0xFFFF0000);
    }
    // A near quad writes depth; after the next clear a far one shows.
    device->setRenderState(RS_ZENABLE, 1);
    quadAt(0.25f, 0xFFFF0000);
    device->clear(CLEAR_TARGET | CLEAR_ZBUFFER, 0xFF000000, 1, 0);
    quadAt(0.75f, 0xFF00FF00);
    EXPECT_EQ(pixel(500, 50), 0xFF00FF00u);
    // A clear to another depth does clear, even with nothing written since.
    device->clear(CLEAR_TARGET | CLEAR_ZBUFFER, 0xFF000000, 1, 0);
    device->clear(CLEAR_ZBUFFER, 0, 0.5f, 0);
    quadAt(0.75f, 0xFF0000FF);
    forgetFrame();
    EXPECT_EQ(pixel(500, 50), 0xFF000000u);
}

TEST_F(GlDeviceTest, IndexedDrawsWithSixteenAndThirtyTwoBitIndices)
{
    auto texture = makeTexture(1, 1, {0xFFFFFFFF});
    device->setTexture(0, texture.get());
    const ColorVertex v[6] = {{0, 0, 1024, 0, 0, 0},
                              {0, 0, 1024, 0, 0, 0},
                              {10, 10, 1024, 0xFFFF0000, 0, 0},
                              {20, 10, 1024, 0xFFFF0000, 0, 0},
                              {10, 20, 1024, 0xFFFF0000, 0, 0},
                              {20, 20, 1024, 0xFFFF0000, 0, 0}};
    std::unique_ptr<VertexBuffer> vertices;
    ASSERT_EQ(device->createVertexBuffer(sizeof v, 0, FVF_XYZ_DIFFUSE_TEX1, POOL_MANAGED, &vertices), GPU_OK);
    void* data;
    vertices->lock(0, 0, &data, 0);
    std::memcpy(data, v, sizeof v);
    vertices->unlock();
    device->setStreamSource(0, vertices.get(), 0, sizeof(ColorVertex));
    device->setFVF(FVF_XYZ_DIFFUSE_TEX1);
    for (uint32_t format : {FMT_INDEX16, FMT_INDEX32})
    {
        std::unique_ptr<IndexBuffer> indices;
        uint32_t size = format == FMT_INDEX16 ? 2 : 4;
        ASSERT_EQ(device->createIndexBuffer(6 * size, 0, format, POOL_MANAGED, &indices), GPU_OK);
        const uint32_t list[6] = {0, 1, 2, 2, 1, 3};
        indices->lock(0, 0, &data, 0);
        for (int i = 0; i < 6; ++i)
        {
            if (size == 2)
            {
                static_cast<uint16_t*>(data)[i] = uint16_t(list[i]);
            }
            else
            {
                static_cast<uint32_t*>(data)[i] = list[i];
            }
        }
        indices->unlock();
        device->setIndices(indices.get());
        device->clear(CLEAR_TARGET, 0xFF000000, 1, 0);
        // Base vertex 2: index 0 names vertex 2.
        ASSERT_EQ(device->drawIndexedPrimitive(PT_TRIANGLELIST, 2, 0, 4, 0, 2), GPU_OK);
        // An index reaching past the vertices it declared is refused.
        EXPECT_EQ(device->drawIndexedPrimitive(PT_TRIANGLELIST, 2, 0, 3, 0, 2), GPU_INVALIDCALL);
        forgetFrame();
        EXPECT_EQ(pixel(15, 15), 0xFFFF0000u);
        EXPECT_EQ(pixel(25, 15), 0xFF000000u);
        device->setIndices(nullptr);
    }
}

TEST_F(GlDeviceTest, ConsecutiveQuadsWithTheSameStatesAreSentOnce)
{
    auto texture = makeTexture(1, 1, {0xFFFFFFFF});
    device->setTexture(0, texture.get());
    device->readFrame();
    uint64_t before = device->glDrawCount();
    for (int i = 0; i < 50; ++i)
    {
        drawQuad(float(i * 4), 0, 3, 3, 0xFF00FF00);
    }
    // A state change sends what was gathered; setting a state to its own
    // value does not.
    device->setRenderState(RS_ALPHABLENDENABLE, 1);
    device->setRenderState(RS_ALPHABLENDENABLE, 1);
    drawQuad(0, 10, 3, 3, 0xFFFF0000);
    EXPECT_EQ(pixel(197, 1), 0xFF00FF00u);
    EXPECT_EQ(pixel(1, 11), 0xFFFF0000u);
    EXPECT_EQ(device->glDrawCount() - before, 2u);
}

TEST_F(GlDeviceTest, TextureWrittenOnAnotherThreadShowsAtTheNextDraw)
{
    auto texture = makeTexture(1, 1, {0xFF000000});
    device->setTexture(0, texture.get());
    drawQuad(0, 0, 2, 2);
    EXPECT_EQ(pixel(0, 0), 0xFF000000u);
    std::thread writer(
        [&]
        {
            LockedRect locked;
            ASSERT_EQ(texture->lockRect(0, &locked, LOCK_DISCARD), GPU_OK);
            *static_cast<uint32_t*>(locked.bits) = 0xFF00FF00;
            texture->unlockRect(0);
        });
    writer.join();
    drawQuad(0, 0, 2, 2);
    forgetFrame();
    EXPECT_EQ(pixel(0, 0), 0xFF00FF00u);
}

TEST_F(GlDeviceTest, PositionAndTextureLayoutDrawsWhiteTexturedTrianglesAtAnyStride)
{
    // The grid sheet's 20-byte layout has no colour: the texture shows as it is.
    auto texture = makeTexture(1, 1, {0xFF336699});
    device->setTexture(0, texture.get());
    struct PaddedVertex
    {
        float x, y, z, u, v;
        uint32_t padding;
    };
    const PaddedVertex v[6] = {{0, 0, 1024, 0, 0, 0}, {8, 0, 1024, 0, 0, 0}, {0, 8, 1024, 0, 0, 0},
                               {0, 8, 1024, 0, 0, 0}, {8, 0, 1024, 0, 0, 0}, {8, 8, 1024, 0, 0, 0}};
    std::unique_ptr<VertexBuffer> buffer;
    ASSERT_EQ(device->createVertexBuffer(sizeof v, 0, FVF_XYZ_TEX1, POOL_SYSTEMMEM, &buffer), GPU_OK);
    void* data;
    buffer->lock(0, 0, &data, 0);
    std::memcpy(data, v, sizeof v);
    buffer->unlock();
    device->setStreamSource(0, buffer.get(), 0, sizeof(PaddedVertex));
    device->setFVF(FVF_XYZ_TEX1);
    ASSERT_EQ(device->drawPrimitive(PT_TRIANGLELIST, 0, 2), GPU_OK);
    EXPECT_EQ(pixel(1, 6), 0xFF336699u);
    EXPECT_EQ(pixel(6, 1), 0xFF336699u);
}

TEST_F(GlDeviceTest, ResetKeepsTexturesAndDrawsAgainFromDefaultStates)
{
    auto texture = makeTexture(1, 1, {0xFF00FF00});
    device->setRenderState(RS_LIGHTING, 0);
    ASSERT_EQ(device->testCooperativeLevel(), GPU_OK);
    ASSERT_EQ(device->reset(PresentParameters{}), GPU_OK);
    uint32_t lighting = 0;
    device->getRenderState(RS_LIGHTING, &lighting);
    EXPECT_EQ(lighting, 1u);
    device->setRenderState(RS_LIGHTING, 0);
    device->setRenderState(RS_CULLMODE, CULL_NONE);
    device->setRenderState(RS_ZENABLE, 0);
    device->setTransform(TS_PROJECTION, pixelProjection(1024, 768));
    device->setTexture(0, texture.get());
    drawQuad(0, 0, 4, 4);
    EXPECT_EQ(pixel(1, 1), 0xFF00FF00u);
}

TEST_F(GlDeviceTest, PresentFitsTheFrameIntoALargerWindow)
{
    device->clear(CLEAR_TARGET, 0xFFFF0000, 1, 0);
    SDL_SetWindowSize(window(), 1280, 1024);
    EXPECT_EQ(device->present(), GPU_OK);
    SDL_SetWindowSize(window(), 640, 400);
    EXPECT_EQ(device->present(), GPU_OK);
    // The frame itself is untouched by presenting it.
    EXPECT_EQ(pixel(512, 384), 0xFFFF0000u);
}

TEST_F(GlDeviceTest, StageOperationsSelectAndCombineTheirArguments)
{
    auto texture = makeTexture(1, 1, {0xFF404040});
    device->setTexture(0, texture.get());
    device->setRenderState(RS_ALPHABLENDENABLE, 0);
    // The outline pass: the vertex colour alone.
    device->setTextureStageState(0, TSS_COLOROP, TOP_SELECTARG1);
    device->setTextureStageState(0, TSS_COLORARG1, TA_DIFFUSE);
    drawQuad(0, 0, 2, 2, 0xFF10E010);
    // Texture plus the complement of the texture factor.
    device->setRenderState(RS_TEXTUREFACTOR, 0xFFF0F0F0);
    device->setTextureStageState(0, TSS_COLOROP, TOP_ADD);
    device->setTextureStageState(0, TSS_COLORARG1, TA_TEXTURE);
    device->setTextureStageState(0, TSS_COLORARG2, TA_TFACTOR | TA_COMPLEMENT);
    drawQuad(4, 0, 2, 2, 0xFF000000);
    // Twice the product, saturating.
    device->setTextureStageState(0, TSS_COLOROP, TOP_MODULATE2X);
    device->setTextureStageState(0, TSS_COLORARG2, TA_DIFFUSE);
    drawQuad(8, 0, 2, 2, 0xFFFF8000);
    EXPECT_EQ(pixel(0, 0), 0xFF10E010u);
    EXPECT_EQ(pixel(4, 0), 0xFF4F4F4Fu);
    EXPECT_TRUE(nearColor(pixel(8, 0), 0xFF804000));
    // Without a texture, the texture argument reads as white.
    device->setTexture(0, nullptr);
    device->setTextureStageState(0, TSS_COLOROP, TOP_MODULATE);
    drawQuad(12, 0, 2, 2, 0xFF123456);
    forgetFrame();
    EXPECT_EQ(pixel(12, 0), 0xFF123456u);
}

// A picture written once gives its CPU copy up: what is drawn, read by a
// lock, changed again, or kept past the device must still be the picture.
TEST_F(GlDeviceTest, TextureWithoutItsCpuCopyReadsItsContentsBackFromTheCard)
{
    const std::vector<uint32_t> picture = {0xFF102030, 0x80405060, 0xFF708090, 0x00A0B0C0};
    auto texture = makeTexture(2, 2, picture);
    texture->releaseCopyAfterUpload();
    EXPECT_TRUE(texture->hasReleasedLevels());
    device->setRenderState(RS_ALPHABLENDENABLE, 0);
    device->setTexture(0, texture.get());
    drawQuad(0, 0, 4, 4);
    EXPECT_EQ(pixel(0, 0), 0xFF102030u);
    EXPECT_EQ(pixel(3, 2), 0x00A0B0C0u);

    auto locked = [&](uint32_t flags)
    {
        LockedRect rect;
        EXPECT_EQ(texture->lockRect(0, &rect, flags), GPU_OK);
        std::vector<uint32_t> texels(4);
        for (uint32_t y = 0; y < 2; ++y)
            std::memcpy(&texels[y * 2], static_cast<uint8_t*>(rect.bits) + y * rect.pitch, 8);
        return std::pair(rect, texels);
    };
    auto [rect, texels] = locked(0);
    EXPECT_EQ(texels, picture);
    // One texel changed: the rest must not come back as zeros.
    static_cast<uint32_t*>(rect.bits)[1] = 0xFFFFFFFF;
    EXPECT_EQ(texture->unlockRect(0), GPU_OK);
    forgetFrame();
    drawQuad(0, 0, 4, 4);
    EXPECT_EQ(pixel(2, 0), 0xFFFFFFFFu);
    EXPECT_EQ(pixel(0, 2), 0xFF708090u);
    EXPECT_TRUE(texture->hasReleasedLevels());

    // A generated chain keeps level 0 only.
    auto chained = makeTexture(4, 4, std::vector<uint32_t>(16, 0xFF336699), 0, USAGE_AUTOGENMIPMAP);
    chained->releaseCopyAfterUpload();
    device.reset();
    EXPECT_FALSE(texture->hasReleasedLevels());
    std::tie(rect, texels) = locked(LOCK_READONLY);
    EXPECT_EQ(texels, (std::vector<uint32_t>{0xFF102030, 0xFFFFFFFF, 0xFF708090, 0x00A0B0C0}));
    texture->unlockRect(0);
    LockedRect level0;
    ASSERT_EQ(chained->lockRect(0, &level0, LOCK_READONLY), GPU_OK);
    EXPECT_EQ(static_cast<uint32_t*>(level0.bits)[15], 0xFF336699u);
    chained->unlockRect(0);
}

// Blending is left out where it cannot change a pixel; wherever one texel
// or one vertex is translucent the frame must still show through.
TEST_F(GlDeviceTest, BlendingIsSkippedOnlyWhereEveryFragmentIsOpaque)
{
    struct Case
    {
        const char* name;
        uint32_t format;
        std::vector<uint32_t> texels; // 2 x 1
        uint32_t vertexColor;
        uint32_t left, right; // over a red frame
    };
    const Case cases[] = {
        {"opaque picture", FMT_A8R8G8B8, {0xFF00FF00, 0xFF0000FF}, 0xFFFFFFFF, 0xFF00FF00, 0xFF0000FF},
        {"one clear texel", FMT_A8R8G8B8, {0xFF00FF00, 0x000000FF}, 0xFFFFFFFF, 0xFF00FF00, 0xFFFF0000},
        {"translucent vertices", FMT_A8R8G8B8, {0xFF00FF00, 0xFF00FF00}, 0x80FFFFFF, 0xBF7F8000, 0xBF7F8000},
        {"no alpha in the format",
         FMT_X8R8G8B8,
         {0x0000FF00, 0x000000FF},
         0xFFFFFFFF,
         0xFF00FF00,
         0xFF0000FF},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::unique_ptr<Texture> texture;
        ASSERT_EQ(device->createTexture(2, 1, 1, 0, c.format, POOL_MANAGED, &texture), GPU_OK);
        LockedRect locked;
        ASSERT_EQ(texture->lockRect(0, &locked, 0), GPU_OK);
        std::memcpy(locked.bits, c.texels.data(), 8);
        texture->unlockRect(0);
        device->clear(CLEAR_TARGET, 0xFFFF0000, 1, 0);
        device->setRenderState(RS_ALPHABLENDENABLE, 1);
        device->setRenderState(RS_SRCBLEND, BLEND_SRCALPHA);
        device->setRenderState(RS_DESTBLEND, BLEND_INVSRCALPHA);
        device->setTexture(0, texture.get());
        drawQuad(0, 0, 4, 2, c.vertexColor);
        forgetFrame();
        EXPECT_TRUE(nearColor(pixel(0, 0), c.left));
        EXPECT_TRUE(nearColor(pixel(3, 1), c.right));
        device->setTexture(0, nullptr);
    }
}

TEST_F(GlDeviceTest, TransparentPartsOfABlendedPictureAreLeftOutWithTheSameResult)
{
    // A 256 x 256 frame picture: a translucent band, an opaque dot in the
    // otherwise clear middle.
    std::vector<uint32_t> texels(256 * 256, 0x0000FF00);
    for (uint32_t y = 0; y < 256; ++y)
    {
        for (uint32_t x = 0; x < 256; ++x)
        {
            if (x < 20 || y < 20 || x >= 236 || y >= 236)
            {
                texels[y * 256 + x] = 0x800000FF;
            }
        }
    }
    texels[128 * 256 + 128] = 0xFF00FF00;
    std::unique_ptr<Texture> texture = makeTexture(256, 256, texels);
    device->setRenderState(RS_ALPHABLENDENABLE, 1);
    device->setRenderState(RS_SRCBLEND, BLEND_SRCALPHA);
    device->setRenderState(RS_DESTBLEND, BLEND_INVSRCALPHA);
    device->setSamplerState(0, SAMP_MINFILTER, TEXF_POINT);
    device->setSamplerState(0, SAMP_MAGFILTER, TEXF_POINT);
    device->setTexture(0, texture.get());
    device->clear(CLEAR_TARGET, 0xFFFF0000, 1, 0);
    // Stretched twice over: one texel is a 2 x 2 block of pixels.
    drawQuad(100, 50, 512, 512);
    device->present();
    EXPECT_TRUE(nearColor(pixel(100, 50), 0xBF7F0080));
    EXPECT_TRUE(nearColor(pixel(611, 561), 0xBF7F0080));
    EXPECT_TRUE(nearColor(pixel(100 + 39, 300), 0xBF7F0080));
    EXPECT_EQ(pixel(100 + 40, 300), 0xFFFF0000u);
    EXPECT_EQ(pixel(100 + 160, 50 + 160), 0xFFFF0000u);
    EXPECT_EQ(pixel(100 + 256, 50 + 256), 0xFF00FF00u);
    EXPECT_EQ(pixel(100 + 257, 50 + 257), 0xFF00FF00u);
}
