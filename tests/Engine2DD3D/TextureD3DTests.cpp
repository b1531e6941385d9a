#include "Engine2DTestSupport.h"
#include "Framework/FileLookup.h"

#include <filesystem>

using namespace Engine2DTest;

namespace
{
// Every texel different: red grows to the right, green downwards.
std::vector<uint32_t> gradient(int width, int height)
{
    std::vector<uint32_t> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(0xFF000000u | uint32_t(x & 0xFF) << 16 | uint32_t(y & 0xFF) << 8 | 0x40);
    return pixels;
}
} // namespace

using TextureD3DTest = RecordingEngineTest;

TEST_F(TextureD3DTest, PngGivesPowerOfTwoSurfaceWithRepeatedBorder)
{
    std::string path = writePng("g.png", 100, 60, gradient(100, 60));
    Texture* texture = engine.getTextureByName(path, 0);
    ASSERT_EQ(texture->load(), 0u);
    EXPECT_EQ(texture->getWidth(), 100u);
    EXPECT_EQ(texture->getHeight(), 60u);
    EXPECT_EQ(texture->getTextureWidth(), 128u);
    EXPECT_EQ(texture->getTextureHeight(), 64u);
    EXPECT_EQ(texture->getPixelKind(), uint32_t(Resource::PIXEL_KIND_A8R8G8B8));
    auto texels = readTexels(texture);
    ASSERT_EQ(texels.size(), 128u * 64u);
    auto at = [&](int x, int y) { return texels[size_t(y) * 128 + x]; };
    EXPECT_EQ(at(0, 0), 0xFF000040u);
    EXPECT_EQ(at(99, 59), 0xFF633B40u);
    // Column 100 repeats column 99; row 60 repeats row 59 over 101 texels.
    for (int y = 0; y < 60; ++y)
        ASSERT_EQ(at(100, y), at(99, y)) << y;
    for (int x = 0; x <= 100; ++x)
        ASSERT_EQ(at(x, 60), at(x, 59)) << x;
    EXPECT_EQ(at(101, 0), 0u);
    EXPECT_EQ(at(0, 61), 0u);
    texture->unload();
    EXPECT_FALSE(texture->isCreated());
    texture->release();
}

TEST_F(TextureD3DTest, JpegLoadsThroughTheSamePath)
{
    ImageFixtures::Bytes grey(16 * 8, 200);
    std::string path = writeFile("g.jpg", ImageFixtures::encodeJpeg(16, 8, 1, grey));
    Texture* texture = engine.getTextureByName(path, 0);
    ASSERT_EQ(texture->load(), 0u);
    EXPECT_EQ(texture->getWidth(), 16u);
    EXPECT_EQ(texture->getTextureHeight(), 8u);
    uint32_t texel = readTexels(texture)[3 * 16 + 5];
    EXPECT_EQ(texel >> 24, 0xFFu);
    EXPECT_NEAR(int(texel & 0xFF), 200, 2);
    texture->unload();
    texture->release();
}

TEST_F(TextureD3DTest, OneByOneImageGivesOneByOneTexture)
{
    Texture* texture = loadedTexture(1, 1, 0xFF123456);
    EXPECT_EQ(texture->getTextureWidth(), 1u);
    EXPECT_EQ(readTexels(texture), std::vector<uint32_t>{0xFF123456u});
    texture->unload();
    texture->release();
}

TEST_F(TextureD3DTest, MipMapFlagAsksForLevelsByTheLargerSide)
{
    std::string wide = writePng("w.png", 256, 64, std::vector<uint32_t>(256 * 64, 0xFFFFFFFF));
    std::string small = writePng("s.png", 4, 4, std::vector<uint32_t>(16, 0xFFFFFFFF));
    Texture* first = engine.getTextureByName(wide, Texture::FLAG_MIPMAPS);
    Texture* second = engine.getTextureByName(small, Texture::FLAG_MIPMAPS);
    device->clearCalls();
    ASSERT_EQ(first->load(), 0u);
    ASSERT_EQ(second->load(), 0u);
    EXPECT_EQ(device->countCalls("createTexture(256, 64, 6, 0x400, 21, 1)"), 1u);
    EXPECT_EQ(device->countCalls("createTexture(4, 4, 1, 0x400, 21, 1)"), 1u);
    for (Texture* texture : {first, second})
    {
        texture->unload();
        texture->release();
    }
}

TEST_F(TextureD3DTest, NegativeThenAlphaFromBrightness)
{
    std::vector<uint32_t> pixels = {0xFF000000, 0xFFFFFFFF, 0xFF808080, 0xFF306090};
    std::string path = writePng("bw.png", 4, 1, pixels);
    Texture* alpha = engine.getTextureByName(path, Texture::FLAG_ALPHA_FROM_BRIGHTNESS);
    ASSERT_EQ(alpha->load(), 0u);
    auto texels = readTexels(alpha);
    EXPECT_EQ(texels[0], 0x00FFFFFFu);
    EXPECT_EQ(texels[1], 0xFFFFFFFFu);
    EXPECT_EQ(texels[2], 0x80FFFFFFu);
    EXPECT_EQ(texels[3], uint32_t((0x30 + 0x60 + 0x90) / 3) << 24 | 0xFFFFFFu);
    alpha->unload();
    alpha->release();

    std::string other = writePng("neg.png", 4, 1, pixels);
    Texture* negative = engine.getTextureByName(other, Texture::FLAG_NEGATIVE);
    ASSERT_EQ(negative->load(), 0u);
    texels = readTexels(negative);
    EXPECT_EQ(texels[0], 0xFFFFFFFFu);
    EXPECT_EQ(texels[3], 0xFFCF9F6Fu);
    negative->unload();
    negative->release();
}

TEST_F(TextureD3DTest, CallerPixelsByLayout)
{
    const uint8_t alpha[2] = {0x10, 0xF0};
    Texture* glyph = engine.createTextureFromPixels(2, 1, alpha, Texture::FLAG_PIXELS_ALPHA8, 0xFF336699);
    ASSERT_EQ(glyph->load(), 0u);
    auto texels = readTexels(glyph);
    EXPECT_EQ(texels[0], 0x10336699u);
    EXPECT_EQ(texels[1], 0xF0336699u);

    const uint32_t words[3] = {0x11223344, 0x55667788, 0x99AABBCC};
    Texture* full = engine.createTextureFromPixels(3, 1, words, Texture::FLAG_PIXELS_32BIT, 0);
    ASSERT_EQ(full->load(), 0u);
    texels = readTexels(full);
    EXPECT_EQ(full->getTextureWidth(), 4u);
    EXPECT_EQ(texels[0], 0x11223344u);
    EXPECT_EQ(texels[2], 0x99AABBCCu);
    EXPECT_EQ(texels[3], 0x99AABBCCu);

    const uint8_t bgr[3] = {0x01, 0x02, 0x03};
    Texture* rgb = engine.createTextureFromPixels(1, 1, bgr, Texture::FLAG_PIXELS_24BIT, 0x80FFFFFF);
    ASSERT_EQ(rgb->load(), 0u);
    EXPECT_EQ(readTexels(rgb)[0], 0x80030201u);

    // No layout bit, or no pixels: the surface stays as made.
    Texture* none = engine.createTextureFromPixels(2, 2, words, 0, 0);
    ASSERT_EQ(none->load(), 0u);
    EXPECT_EQ(readTexels(none), std::vector<uint32_t>(4, 0u));
    Texture* missing = engine.createTextureFromPixels(2, 2, nullptr, Texture::FLAG_PIXELS_32BIT, 0);
    ASSERT_EQ(missing->load(), 0u);
    for (Texture* texture : {glyph, full, rgb, none, missing})
    {
        texture->unload();
        texture->release();
    }
}

TEST_F(TextureD3DTest, MissingOrUndecodableFileFailsWithFileNotFound)
{
    Texture* missing = engine.getTextureByName(folder.path() + "absent.png", 0);
    EXPECT_EQ(missing->doLoad(), ERROR_FILENOTFOUND);
    EXPECT_FALSE(missing->isCreated());
    std::string path = writeFile("junk.png", ImageFixtures::Bytes(40, 0x55));
    Texture* junk = engine.getTextureByName(path, 0);
    // Through load: the failure is shown, and nothing counts as loaded.
    EXPECT_EQ(junk->load(), ERROR_FILENOTFOUND);
    EXPECT_EQ(junk->getLoadCount(), 0);
    ASSERT_EQ(messages.messages().size(), 1u);
    missing->release();
    junk->release();
}

TEST_F(TextureD3DTest, ProgramImagesAreFoundById)
{
    ImageFixtures::Bytes samples = {1, 2, 3, 255, 4, 5, 6, 255};
    static ImageFixtures::Bytes png;
    png = ImageFixtures::encodePng(2, 1, samples);
    TextureD3D::registerProgramImage(901, png);
    Texture* texture = engine.getTextureByResourceId(901, 0);
    ASSERT_EQ(texture->load(), 0u);
    EXPECT_EQ(readTexels(texture)[1], 0xFF040506u);
    Texture* unknown = engine.getTextureByResourceId(902, 0);
    EXPECT_EQ(unknown->doLoad(), ERROR_RESSOURCENOTFOUND);
    texture->unload();
    texture->release();
    unknown->release();
    TextureD3D::clearProgramImages();
}

TEST_F(TextureD3DTest, BlankSurfacesAndTheDeviceReset)
{
    Texture* plain = engine.createTexture(64, 32, 0);
    Texture* target = engine.createTexture(64, 32, Texture::FLAG_RENDER_TARGET);
    ASSERT_EQ(plain->load(), 0u);
    ASSERT_EQ(target->load(), 0u);
    EXPECT_EQ(plain->getPixelKind(), uint32_t(Resource::PIXEL_KIND_X8R8G8B8));
    EXPECT_EQ(plain->getParam(), 0xFFFFFFFFu);
    EXPECT_EQ(plain->fillAll(0xFF00FF00, true), 0u);
    EXPECT_EQ(readTexels(plain)[64 * 32 - 1], 0xFF00FF00u);
    auto* targetD3D = static_cast<TextureD3D*>(target);
    auto* plainD3D = static_cast<TextureD3D*>(plain);
    Platform::Gpu::Texture* plainSurface = plainD3D->getD3DTexture();

    // The render target is dropped at the loss and made again; the managed
    // surface survives with its texels.
    EXPECT_EQ(engine.releaseDeviceObjects(), 0u);
    EXPECT_FALSE(target->isCreated());
    EXPECT_EQ(target->getLoadCount(), 1);
    EXPECT_EQ(plainD3D->getD3DTexture(), plainSurface);
    EXPECT_EQ(engine.restoreDeviceObjects(), 0u);
    EXPECT_TRUE(target->isCreated());
    EXPECT_NE(targetD3D->getD3DTexture(), nullptr);
    EXPECT_EQ(readTexels(plain)[0], 0xFF00FF00u);
    for (Texture* texture : {plain, target})
    {
        texture->unload();
        texture->release();
    }
}

TEST_F(TextureD3DTest, NotLoadedTexturesStayUnloadedAcrossReset)
{
    Texture* target = engine.createTexture(8, 8, Texture::FLAG_RENDER_TARGET);
    EXPECT_EQ(engine.releaseDeviceObjects(), 0u);
    EXPECT_EQ(engine.restoreDeviceObjects(), 0u);
    EXPECT_FALSE(target->isCreated());
    target->release();
}

TEST_F(TextureD3DTest, PowerOfTwoRounding)
{
    EXPECT_EQ(TextureD3D::powerOfTwo(0), 1u);
    EXPECT_EQ(TextureD3D::powerOfTwo(1), 1u);
    EXPECT_EQ(TextureD3D::powerOfTwo(2), 2u);
    EXPECT_EQ(TextureD3D::powerOfTwo(3), 4u);
    EXPECT_EQ(TextureD3D::powerOfTwo(1025), 2048u);
}

TEST_F(TextureD3DTest, FilesAreLookedUpInTheMountedArchiveFirst)
{
    std::filesystem::create_directories(folder.path() + "src/images");
    writePng("src/images/x.png", 2, 2, std::vector<uint32_t>(4, 0xFF0000FF));
    ASSERT_EQ(buildResourceArchive(folder.path() + "test.dat", folder.path() + "src", "data\\Ressources"),
              0u);
    auto archive = std::make_unique<ResourceArchive>();
    ASSERT_EQ(archive->open(folder.path() + "test.dat"), 0u);
    FileLookup lookup;
    lookup.addArchive(std::move(archive));
    setActiveFileLookup(&lookup);
    Texture* packed = engine.getTextureByName("data\\Ressources\\images\\x.png", 0);
    EXPECT_EQ(packed->load(), 0u);
    EXPECT_EQ(readTexels(packed)[3], 0xFF0000FFu);
    // Covered by the archive but not in it: not looked for on the disk.
    Texture* absent = engine.getTextureByName("data\\Ressources\\images\\y.png", 0);
    EXPECT_EQ(absent->doLoad(), ERROR_FILENOTFOUND);
    setActiveFileLookup(nullptr);
    packed->unload();
    packed->release();
    absent->release();
}

// A region draws part of its atlas: it keeps the atlas alive and loaded for
// as long as it needs it, takes the atlas's surface, and writes nothing.
TEST_F(TextureD3DTest, RegionLoadsAndHoldsItsAtlasAndCannotBeLocked)
{
    std::vector<uint8_t> alpha(16 * 8, 0x40);
    Texture* atlas = engine.createTextureFromPixels(
        16, 8, alpha.data(), Texture::FLAG_PIXELS_ALPHA8 | Texture::FLAG_SINGLE_LEVEL, 0xFFFFFFFF);
    EXPECT_EQ(engine.createTextureRegion(atlas, {10, 2, 7, 3}), nullptr) << "past the right side";
    EXPECT_EQ(engine.createTextureRegion(atlas, {0, 0, 0, 3}), nullptr) << "empty";
    Texture* first = engine.createTextureRegion(atlas, {3, 2, 5, 3});
    Texture* second = engine.createTextureRegion(atlas, {9, 1, 2, 2});
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(engine.createTextureRegion(first, {0, 0, 1, 1}), nullptr) << "a region of a region";
    atlas->release();
    EXPECT_EQ(atlas->getRefCount(), 2) << "each region holds the atlas";

    ASSERT_EQ(first->load(), 0u);
    ASSERT_EQ(second->load(), 0u);
    EXPECT_EQ(atlas->getLoadCount(), 2);
    auto* surface = dynamic_cast<TextureD3D*>(atlas)->getD3DTexture();
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->storedLevelCount(), 1u);
    EXPECT_EQ(dynamic_cast<TextureD3D*>(first)->getD3DTexture(), surface);
    EXPECT_EQ(first->getTextureWidth(), 16u);
    EXPECT_FLOAT_EQ(first->surfaceV(3), 5.0f / 8.0f);
    void* bits = nullptr;
    int32_t pitch = 0;
    EXPECT_NE(first->lock(&bits, &pitch), 0u);

    // A device reset brings the atlas back once, not once per region.
    ASSERT_EQ(engine.releaseDeviceObjects(), 0u);
    ASSERT_EQ(engine.restoreDeviceObjects(), 0u);
    EXPECT_EQ(atlas->getLoadCount(), 2);

    EXPECT_EQ(first->unload(), 0u);
    EXPECT_TRUE(atlas->isCreated());
    first->release();
    // Destroyed while loaded: its load goes back with it.
    second->release();
    EXPECT_EQ(engine.getTextures().size(), 0u);
}
