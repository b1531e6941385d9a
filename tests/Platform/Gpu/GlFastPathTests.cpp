// The software renderer draws rectangles that only sample a texture by a
// path of its own, with its own rounding: what goes that way must come out
// as it did through the general path.
#include "GlTestSupport.h"

#include <algorithm>
#include <cmath>
#include <functional>

using namespace GpuTest;

namespace
{

// The fast path weighs the four texels of a bilinear sample with coarser
// fractions: where neighbouring texels differ by a whole 255, a channel may
// come out a few steps away. Everything else matches to one step.
constexpr int kBilinearTolerance = 4;

// Texels that change in every direction at every step, opaque unless asked.
std::vector<uint32_t> busyTexels(uint32_t width, uint32_t height, bool translucent = false)
{
    std::vector<uint32_t> texels(size_t(width) * height);
    for (uint32_t y = 0; y < height; ++y)
    {
        for (uint32_t x = 0; x < width; ++x)
        {
            uint32_t alpha = translucent ? (x * 37 + y * 11) & 0xFF : 0xFF;
            texels[size_t(y) * width + x] =
                alpha << 24 | ((x * 29 + y * 3) & 0xFF) << 16 | ((y * 23 + x * 5) & 0xFF) << 8 | ((x ^ y) * 13 & 0xFF);
        }
    }
    return texels;
}

class GlFastPathTest : public GlDeviceTest
{
protected:
    // The same draw through the general path: a depth test that passes
    // everything keeps the depth buffer bound, and a specular sum of zero
    // keeps the full stage shader.
    void drawTheOldWay(const std::function<void()>& draw)
    {
        device->setRenderState(RS_ZENABLE, 1);
        device->setRenderState(RS_ZFUNC, CMP_ALWAYS);
        device->setRenderState(RS_ZWRITEENABLE, 0);
        device->setRenderState(RS_SPECULARENABLE, 1);
        draw();
        device->setRenderState(RS_ZENABLE, 0);
        device->setRenderState(RS_SPECULARENABLE, 0);
    }

    // Pixels of the rectangle against those of the same rectangle moved by
    // (dx, dy); the worst channel difference found.
    int worstDifference(uint32_t x0, uint32_t y0, uint32_t width, uint32_t height, uint32_t dx, uint32_t dy)
    {
        int worst = 0;
        for (uint32_t y = y0; y < y0 + height; ++y)
        {
            for (uint32_t x = x0; x < x0 + width; ++x)
            {
                uint32_t a = pixel(x, y), b = pixel(x + dx, y + dy);
                for (int shift = 0; shift < 32; shift += 8)
                {
                    worst = std::max(worst, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
                }
            }
        }
        return worst;
    }
};

} // namespace

TEST_F(GlFastPathTest, SampledRectanglesMatchTheGeneralPath)
{
    auto opaque = makeTexture(64, 48, busyTexels(64, 48));
    auto translucent = makeTexture(32, 32, busyTexels(32, 32, true));
    // As the menu's video: a picture without alpha, whatever its alpha bytes
    // hold, stretched by the menu's factor.
    std::unique_ptr<Texture> video;
    ASSERT_EQ(device->createTexture(160, 120, 1, 0, FMT_X8R8G8B8, POOL_MANAGED, &video), GPU_OK);
    LockedRect locked;
    ASSERT_EQ(video->lockRect(0, &locked, 0), GPU_OK);
    std::vector<uint32_t> texels = busyTexels(160, 120, true);
    std::memcpy(locked.bits, texels.data(), texels.size() * 4);
    video->unlockRect(0);
    device->clear(CLEAR_TARGET | CLEAR_ZBUFFER, 0xFF204080, 1, 0);
    device->setRenderState(RS_ALPHABLENDENABLE, 1);
    device->setRenderState(RS_SRCBLEND, BLEND_SRCALPHA);
    device->setRenderState(RS_DESTBLEND, BLEND_INVSRCALPHA);
    device->setSamplerState(0, SAMP_ADDRESSU, TADDRESS_CLAMP);
    device->setSamplerState(0, SAMP_ADDRESSV, TADDRESS_CLAMP);
    struct Case
    {
        const char* name;
        Texture* texture;
        uint32_t filter;
        float width, height;
        uint32_t color;
    };
    const Case cases[] = {
        {"texel for pixel", opaque.get(), TEXF_POINT, 64, 48, 0xFFFFFFFF},
        {"stretched, bilinear", opaque.get(), TEXF_LINEAR, 160, 120, 0xFFFFFFFF},
        {"shrunk, bilinear", opaque.get(), TEXF_LINEAR, 40, 30, 0xFFFFFFFF},
        {"blended", translucent.get(), TEXF_POINT, 32, 32, 0xFFFFFFFF},
        {"blended and stretched", translucent.get(), TEXF_LINEAR, 100, 70, 0xFFFFFFFF},
        {"coloured vertices", translucent.get(), TEXF_LINEAR, 50, 50, 0xC080FF40},
        {"picture without alpha", video.get(), TEXF_LINEAR, 256, 192, 0xFFFFFFFF},
    };
    float y = 0;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        device->setTexture(0, c.texture);
        device->setSamplerState(0, SAMP_MAGFILTER, c.filter);
        device->setSamplerState(0, SAMP_MINFILTER, c.filter);
        drawQuad(0, y, c.width, c.height, c.color);
        drawTheOldWay([&] { drawQuad(300, y, c.width, c.height, c.color); });
        forgetFrame();
        EXPECT_LE(worstDifference(0, uint32_t(y), uint32_t(c.width), uint32_t(c.height), 300, 0),
                  c.filter == TEXF_LINEAR ? kBilinearTolerance : 1);
        y += c.height + 2;
    }
}

TEST_F(GlFastPathTest, DepthSurvivesTwoDimensionalDrawingBetweenDepthTestedDraws)
{
    // 2D drawing goes to the picture alone; the depth written before it
    // must still hide what is drawn behind afterwards, and a depth clear
    // after it must reach the depth buffer.
    auto white = prepareDepthQuads();
    device->clear(CLEAR_TARGET | CLEAR_ZBUFFER, 0xFF000000, 1, 0);
    device->setRenderState(RS_ZENABLE, 1);
    device->setRenderState(RS_ZWRITEENABLE, 1);
    drawDepthQuad(0.2f, 0xFFFF0000, -1, 0, -1, 1);
    device->setRenderState(RS_ZENABLE, 0);
    drawDepthQuad(0.9f, 0xFF00FF00, 0.5f, 1, -1, 1);
    device->setRenderState(RS_ZENABLE, 1);
    drawDepthQuad(0.5f, 0xFF0000FF, -1, 0.5f, -1, 1);
    EXPECT_EQ(pixel(100, 300), 0xFFFF0000u);
    EXPECT_EQ(pixel(600, 300), 0xFF0000FFu);
    EXPECT_EQ(pixel(900, 300), 0xFF00FF00u);
    forgetFrame();
    device->setRenderState(RS_ZENABLE, 0);
    drawDepthQuad(0.9f, 0xFF00FF00, -1, 1, -1, 1);
    device->clear(CLEAR_ZBUFFER, 0, 1, 0);
    device->setRenderState(RS_ZENABLE, 1);
    drawDepthQuad(0.5f, 0xFFFFFF00, -1, 1, -1, 1);
    EXPECT_EQ(pixel(100, 300), 0xFFFFFF00u);
}

TEST_F(GlFastPathTest, ColouredDrawsMatchTheGeneralPath)
{
    // Vertices of one shared colour take a constant in place of the
    // interpolated colour; anything else keeps the colours per vertex.
    auto texture = makeTexture(32, 32, busyTexels(32, 32, true));
    device->clear(CLEAR_TARGET | CLEAR_ZBUFFER, 0xFF204080, 1, 0);
    device->setRenderState(RS_ALPHABLENDENABLE, 1);
    device->setRenderState(RS_SRCBLEND, BLEND_SRCALPHA);
    device->setRenderState(RS_DESTBLEND, BLEND_INVSRCALPHA);
    device->setTexture(0, texture.get());
    device->setSamplerState(0, SAMP_MAGFILTER, TEXF_POINT);
    device->setSamplerState(0, SAMP_MINFILTER, TEXF_POINT);
    struct Case
    {
        const char* name;
        uint32_t colorOp, alphaOp;
        uint32_t first, second;
        // A gradient: the second colour at the right-hand corners.
        bool gradient = false;
    };
    const Case cases[] = {
        {"fading picture", TOP_MODULATE, TOP_MODULATE, 0x80FFFFFF, 0x80FFFFFF},
        {"tinted text", TOP_MODULATE, TOP_MODULATE, 0xFF3070C0, 0xFF3070C0},
        {"tint, the texture's own alpha", TOP_MODULATE, TOP_SELECTARG1, 0x40C08020, 0x40C08020},
        {"the texture's colour, faded", TOP_SELECTARG1, TOP_MODULATE, 0x60102030, 0x60102030},
        {"two colours in one batch", TOP_MODULATE, TOP_MODULATE, 0xFF3070C0, 0xC0C07030},
        {"colours differing by alpha alone", TOP_MODULATE, TOP_MODULATE, 0xFF3070C0, 0x7F3070C0},
        {"a gradient", TOP_MODULATE, TOP_MODULATE, 0xFFFF0000, 0x800000FF, true},
    };
    auto draw = [&](const Case& c, float x, float y)
    {
        if (c.gradient)
        {
            const ColorVertex v[4] = {{x, y, 1024, c.first, 0, 0},
                                      {x + 32, y, 1024, c.second, 1, 0},
                                      {x, y + 32, 1024, c.first, 0, 1},
                                      {x + 32, y + 32, 1024, c.second, 1, 1}};
            drawStrip(v);
            return;
        }
        // Two rectangles gathered into one batch, texel for pixel.
        drawQuad(x, y, 32, 16, c.first, 0, 0, 1, 0.5f);
        drawQuad(x, y + 16, 32, 16, c.second, 0, 0.5f, 1, 1);
    };
    float y = 0;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        device->setTextureStageState(0, TSS_COLOROP, c.colorOp);
        device->setTextureStageState(0, TSS_ALPHAOP, c.alphaOp);
        device->setTextureStageState(0, TSS_COLORARG1, TA_TEXTURE);
        device->setTextureStageState(0, TSS_COLORARG2, TA_DIFFUSE);
        device->setTextureStageState(0, TSS_ALPHAARG1, TA_TEXTURE);
        device->setTextureStageState(0, TSS_ALPHAARG2, TA_DIFFUSE);
        draw(c, 0, y);
        drawTheOldWay([&] { draw(c, 300, y); });
        forgetFrame();
        EXPECT_LE(worstDifference(0, uint32_t(y), 32, 32, 300, 0), 1);
        y += 34;
    }
}

TEST_F(GlFastPathTest, EachBatchDrawsInItsOwnColour)
{
    // Batches of one program but different colours, split by a change of
    // texture: the second must not keep the first one's colour.
    auto white = makeTexture(4, 4, std::vector<uint32_t>(16, 0xFFFFFFFF));
    auto alsoWhite = makeTexture(4, 4, std::vector<uint32_t>(16, 0xFFFFFFFF));
    device->clear(CLEAR_TARGET | CLEAR_ZBUFFER, 0xFF000000, 1, 0);
    const std::pair<Texture*, uint32_t> draws[] = {
        {white.get(), 0xFF00FF00}, {alsoWhite.get(), 0xFFFF0000}, {white.get(), 0xFFFFFFFF},
        {alsoWhite.get(), 0xFF0000FF}};
    float x = 0;
    for (const auto& [texture, color] : draws)
    {
        device->setTexture(0, texture);
        drawQuad(x, 0, 16, 16, color);
        x += 20;
    }
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_EQ(pixel(uint32_t(20 * i + 8), 8), draws[i].second) << "draw " << i;
    }
}
