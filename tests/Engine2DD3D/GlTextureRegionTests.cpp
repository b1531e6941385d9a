// A part of an atlas, framed by a border that repeats its edges, draws the
// same pixels as the same picture made a texture of its own: texel for
// pixel, stretched, shrunk and clipped. Skipped without a display.
#include "GlEngineTestSupport.h"

#include <cstdlib>

using namespace Engine2DTest;

namespace
{
constexpr uint32_t kWidth = 5, kHeight = 3;
constexpr uint32_t kAtlasWidth = 16, kAtlasHeight = 8;
constexpr uint32_t kLeft = 3, kTop = 2;

// Every byte different, from almost clear to opaque.
std::vector<uint8_t> picture()
{
    std::vector<uint8_t> alpha;
    for (uint32_t i = 0; i < kWidth * kHeight; ++i)
        alpha.push_back(static_cast<uint8_t>(20 + i * 16));
    return alpha;
}

// The picture at (kLeft, kTop) in its frame; everything else opaque, so
// that a lookup reaching past the frame shows.
std::vector<uint8_t> atlas(const std::vector<uint8_t>& alpha)
{
    std::vector<uint8_t> pixels(kAtlasWidth * kAtlasHeight, 0xFF);
    auto clamp = [](int value, int high) { return value < 0 ? 0 : (value > high ? high : value); };
    for (int y = -1; y <= int(kHeight); ++y)
        for (int x = -1; x <= int(kWidth); ++x)
            pixels[size_t(int(kTop) + y) * kAtlasWidth + size_t(int(kLeft) + x)] =
                alpha[size_t(clamp(y, kHeight - 1)) * kWidth + size_t(clamp(x, kWidth - 1))];
    return pixels;
}

class GlTextureRegionTest : public GlEngineTest
{
protected:
    // The frame after drawing the texture at each rectangle, each image
    // clipped to `clip` when given.
    std::vector<uint32_t> drawn(::Texture* texture, const std::vector<Rect2D>& rects, const Rect2D* clip)
    {
        RenderList list(clip != nullptr ? *clip : Rect2D{});
        EXPECT_EQ(mEngine->beginFrame(), 0u);
        mEngine->begin2DPass();
        for (const Rect2D& rect : rects)
        {
            auto image = mEngine->createImage(float(rect.x), float(rect.y), texture, Image2D::SIZE_STRETCHED,
                                              float(rect.width), float(rect.height), 0xFFFFFFFF,
                                              clip != nullptr ? &list : nullptr);
            image->draw();
        }
        std::vector<uint32_t> frame = mDevice->readFrame();
        mEngine->endFrame();
        return frame;
    }
};

// Channels off by more than one step, counted over the frame.
int differences(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b)
{
    int count = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        for (int shift = 0; shift < 32; shift += 8)
            if (std::abs(int((a[i] >> shift) & 0xFF) - int((b[i] >> shift) & 0xFF)) > 1)
            {
                ++count;
                break;
            }
    return count + int(a.size() > b.size() ? a.size() - b.size() : b.size() - a.size());
}
} // namespace

TEST_F(GlTextureRegionTest, RegionDrawsThePixelsOfThePictureAsATextureOfItsOwn)
{
    const std::vector<uint8_t> alpha = picture();
    const std::vector<uint8_t> framed = atlas(alpha);
    ::Texture* own = mEngine->createTextureFromPixels(kWidth, kHeight, alpha.data(),
                                                      ::Texture::FLAG_PIXELS_ALPHA8, 0xFFFFFFFF);
    ::Texture* shared = mEngine->createTextureFromPixels(
        kAtlasWidth, kAtlasHeight, framed.data(),
        ::Texture::FLAG_PIXELS_ALPHA8 | ::Texture::FLAG_SINGLE_LEVEL, 0xFFFFFFFF);
    ::Texture* region = mEngine->createTextureRegion(shared, {kLeft, kTop, kWidth, kHeight});
    ASSERT_NE(region, nullptr);
    shared->release();
    ASSERT_EQ(own->load(), 0u);
    ASSERT_EQ(region->load(), 0u);

    // Texel for pixel, stretched by an uneven factor, shrunk, and cut by a
    // clip through the middle of a stretched one.
    const std::vector<Rect2D> rects = {{10, 10, 5, 3}, {30, 10, 23, 11}, {60, 10, 3, 2}, {90, 10, 40, 30}};
    const Rect2D clip{0, 0, 107, 27};
    for (const Rect2D* cut : {static_cast<const Rect2D*>(nullptr), &clip})
    {
        const std::vector<uint32_t> expected = drawn(own, rects, cut);
        const std::vector<uint32_t> actual = drawn(region, rects, cut);
        ASSERT_EQ(expected.size(), 1024u * 768u);
        EXPECT_EQ(differences(expected, actual), 0) << (cut != nullptr ? "clipped" : "whole");
        // The pictures did draw: texel for pixel, the first texel's alpha.
        EXPECT_NEAR(int(actual[10 * 1024 + 10] & 0xFF), 20, 1);
    }
    region->unload();
    region->release();
    own->unload();
    own->release();
}
