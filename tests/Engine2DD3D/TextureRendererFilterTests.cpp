#include "Engine2DD3D/TextureRendererFilter.h"

#include "VideoTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace
{

// A BGRA picture whose pixel (x, y) is (B = x, G = y, R = 0x80 + x, A = 0).
std::vector<uint8_t> makePicture(uint32_t width, uint32_t height)
{
    std::vector<uint8_t> pixels(size_t(width) * height * 4);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x)
        {
            uint8_t* p = &pixels[(size_t(y) * width + x) * 4];
            p[0] = uint8_t(x);
            p[1] = uint8_t(y);
            p[2] = uint8_t(0x80 + x);
            p[3] = 0;
        }
    return pixels;
}

Platform::VideoFrame frameOf(const std::vector<uint8_t>& pixels, uint32_t width, uint32_t height)
{
    Platform::VideoFrame frame;
    frame.pixels = pixels.data();
    frame.width = width;
    frame.height = height;
    frame.pitch = width * 4;
    return frame;
}

} // namespace

TEST(TextureRendererFilter, ThirtyTwoBitTexelsGetThePictureOpaqueWithinTheSurface)
{
    auto picture = makePicture(6, 3);
    // A surface narrower than the picture (a texture made for another video)
    // is never overrun; the pitch leaves room beyond the texels.
    std::vector<uint8_t> texels(5 * 4 * 2 + 8, 0xEE);
    ASSERT_TRUE(TextureRendererFilter::convertFrame(frameOf(picture, 6, 3), Resource::PIXEL_KIND_A8R8G8B8,
                                                    texels.data(), 24, 5, 2));
    for (uint32_t y = 0; y < 2; ++y)
        for (uint32_t x = 0; x < 5; ++x)
        {
            const uint8_t* t = &texels[y * 24 + x * 4];
            EXPECT_EQ(t[0], x);
            EXPECT_EQ(t[1], y);
            EXPECT_EQ(t[2], 0x80 + x);
            EXPECT_EQ(t[3], 0xFF);
        }
    // The pitch's padding and everything after row 2 stay untouched.
    EXPECT_EQ(texels[20], 0xEE);
    EXPECT_EQ(texels[24 + 20], 0xEE);
    EXPECT_EQ(texels.back(), 0xEE);
}

// The decoder hands its pictures out with padded rows: each row is read at
// its pitch, the padding never shows.
TEST(TextureRendererFilter, PictureRowsAreReadAtTheirPitch)
{
    auto packed = makePicture(3, 2);
    std::vector<uint8_t> padded(2 * 16, 0xAB);
    for (uint32_t y = 0; y < 2; ++y)
        std::memcpy(&padded[y * 16], &packed[y * 12], 12);
    Platform::VideoFrame frame = frameOf(padded, 3, 2);
    frame.pitch = 16;
    std::vector<uint8_t> texels(2 * 12, 0);
    ASSERT_TRUE(
        TextureRendererFilter::convertFrame(frame, Resource::PIXEL_KIND_X8R8G8B8, texels.data(), 12, 3, 2));
    for (uint32_t y = 0; y < 2; ++y)
        for (uint32_t x = 0; x < 3; ++x)
        {
            EXPECT_EQ(texels[y * 12 + x * 4], x) << x << "," << y;
            EXPECT_EQ(texels[y * 12 + x * 4 + 1], y) << x << "," << y;
        }
}

TEST(TextureRendererFilter, SixteenBitTexelsKeepTheTopFiveBitsOfEachChannel)
{
    std::vector<uint8_t> picture = {0xFF, 0x08, 0xF7, 0x00, 0x07, 0xFF, 0x10, 0x00};
    std::vector<uint8_t> texels(4, 0);
    Platform::VideoFrame frame = frameOf(picture, 2, 1);
    ASSERT_TRUE(
        TextureRendererFilter::convertFrame(frame, Resource::PIXEL_KIND_A1R5G5B5, texels.data(), 4, 2, 1));
    uint16_t first, second;
    std::memcpy(&first, &texels[0], 2);
    std::memcpy(&second, &texels[2], 2);
    EXPECT_EQ(first, 0x8000 | (0xF0 << 7) | (0x08 << 2) | (0xFF >> 3));
    EXPECT_EQ(second, 0x8000 | (0x10 << 7) | (0xF8 << 2) | (0x07 >> 3));
}

TEST(TextureRendererFilter, OtherTexelKindsAndBadPitchesWriteNothing)
{
    auto picture = makePicture(2, 2);
    std::vector<uint8_t> texels(16, 0xEE);
    EXPECT_FALSE(TextureRendererFilter::convertFrame(frameOf(picture, 2, 2), 7, texels.data(), 8, 2, 2));
    EXPECT_FALSE(TextureRendererFilter::convertFrame(frameOf(picture, 2, 2), 0, texels.data(), 0, 2, 2));
    Platform::VideoFrame shortRows = frameOf(picture, 2, 2);
    shortRows.pitch = 4;
    EXPECT_FALSE(TextureRendererFilter::convertFrame(shortRows, 0, texels.data(), 8, 2, 2));
    EXPECT_EQ(texels, std::vector<uint8_t>(16, 0xEE));
}

TEST(TextureRendererFilter, PicturesGoOnlyIntoALoadedTarget)
{
    MemoryEngine2D engine;
    auto* texture = static_cast<FakeResource*>(engine.createTexture(6, 3, 0));
    TextureRendererFilter filter;
    auto picture = makePicture(6, 3);
    filter.renderFrame(frameOf(picture, 6, 3));
    filter.setTarget(texture, 6, 3);
    // Not loaded yet: nothing to write into.
    filter.renderFrame(frameOf(picture, 6, 3));
    EXPECT_EQ(filter.framesRendered(), 0u);
    ASSERT_EQ(texture->load(), 0);
    filter.renderFrame(frameOf(picture, 6, 3));
    EXPECT_EQ(filter.framesRendered(), 1u);
    EXPECT_EQ(texture->locks, texture->unlocks);
    EXPECT_EQ(texelColour(texture, 5, 2), 0x850205u);
    filter.setTarget(nullptr, 0, 0);
    filter.renderFrame(frameOf(picture, 6, 3));
    EXPECT_EQ(filter.framesRendered(), 1u);
    texture->unload();
    texture->release();
}
