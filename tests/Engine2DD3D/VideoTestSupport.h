#pragma once
// What the video tests share: a 2D engine whose textures are blocks of
// memory (read back to see the pictures) and whose images only count their
// draws, tiny clips encoded once per run, and waiting in real time.
#include "../Engine/FakeResource.h"
#include "../Platform/Media/TestVideo.h"
#include "Engine/Engine2D.h"
#include "Engine/Texture.h"
#include "Gui/RenderedComponent.h"
#include "Gui/SheetMoveBase.h"
#include "Platform/System/Paths.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>

class CountingImage final : public Image2D
{
public:
    using Image2D::Image2D;
    ErrorCode draw() override
    {
        if (mTexture != nullptr && !isCulled())
            ++draws;
        return 0;
    }
    ErrorCode update() override { return 0; }
    int draws = 0;
};

class MemoryEngine2D final : public Engine2D
{
public:
    ErrorCode init() override { return 0; }
    ErrorCode beginFrame() override
    {
        ++frames;
        return 0;
    }
    ErrorCode begin2DPass() override { return 0; }
    ErrorCode end2DPass() override { return 0; }
    ErrorCode endFrame() override { return 0; }
    uint64_t getTextureMemoryUsed() override { return 0; }
    uint64_t getTextureMemoryAvailable() override { return 0; }
    std::unique_ptr<Image2D> createImage(float x, float y, Texture* texture, uint32_t flags, float width,
                                         float height, uint32_t color, RenderList* renderList) override
    {
        auto image = std::make_unique<CountingImage>(x, y, texture, flags, width, height, color, renderList);
        image->setTexture(texture);
        lastImage = image.get();
        return image;
    }
    std::unique_ptr<Image2DStreched> createStretchedImage(const Platform::Vector3*, Texture*, uint32_t,
                                                          uint32_t) override
    {
        return nullptr;
    }
    // Blank textures with power-of-two surfaces of the chosen texel kind.
    Texture* createTexture(uint32_t width, uint32_t height, uint16_t flags) override
    {
        auto* texture = new FakeResource(&mTextures, width, height, flags);
        texture->setSurface(powerOfTwo(width), powerOfTwo(height), pixelKind);
        ++texturesMade;
        return texture;
    }
    Texture* createTextureFromPixels(uint32_t, uint32_t, const void*, uint16_t, uint32_t) override
    {
        return nullptr;
    }
    Texture* getTextureByResourceId(uint32_t, uint16_t) override { return nullptr; }
    Texture* getTextureByName(const std::string&, uint16_t) override { return nullptr; }
    std::unique_ptr<SheetMoveBase> createSheetMove(const Rect2D&) override { return nullptr; }
    std::unique_ptr<SheetMove> createGridSheetMove() override { return nullptr; }
    std::unique_ptr<RenderedComponent> createRenderedComponent(const Rect2D&) override { return nullptr; }
    std::unique_ptr<LayerEffect> createOpeningEffect(uint32_t) override { return nullptr; }
    ErrorCode presentPending() override { return 0; }

    static uint32_t powerOfTwo(uint32_t value)
    {
        uint32_t side = 1;
        while (side < value)
            side <<= 1;
        return side;
    }

    uint32_t pixelKind = Resource::PIXEL_KIND_X8R8G8B8;
    int texturesMade = 0;
    int frames = 0;
    CountingImage* lastImage = nullptr;
};

// The 0xRRGGBB of a texel of a memory texture (4-byte texels).
inline uint32_t texelColour(Texture* texture, uint32_t x, uint32_t y)
{
    auto* memory = static_cast<FakeResource*>(texture);
    const uint8_t* p = memory->texels.data() + (size_t(y) * texture->getTextureWidth() + x) * 4;
    return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

inline uint32_t texelAlpha(Texture* texture, uint32_t x, uint32_t y)
{
    auto* memory = static_cast<FakeResource*>(texture);
    return memory->texels[(size_t(y) * texture->getTextureWidth() + x) * 4 + 3];
}

// The palette index of the clip's picture at a texel.
inline int texelFrame(Texture* texture, uint32_t x, uint32_t y)
{
    auto* memory = static_cast<FakeResource*>(texture);
    return TestVideo::nearestFrame(memory->texels.data() + (size_t(y) * texture->getTextureWidth() + x) * 4);
}

// Polls until the condition holds (true) or a few seconds have gone.
inline bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 5000)
{
    for (int waited = 0; waited < timeoutMs; waited += 5)
    {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return condition();
}

inline void settle()
{
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
}

// Clips written once into a folder that lives for the whole run.
struct VideoClips
{
    std::string folder;
    // 64 x 48, 10 pictures at 10 per second (WMV2 in ASF).
    std::string slow;
    // 64 x 48, 6 pictures at 50 per second.
    std::string quick;
    std::vector<uint8_t> quickBytes;
    std::string noDecoder;
    std::string soundOnly;

    static const VideoClips& get()
    {
        static Platform::TemporaryDirectory directory;
        static VideoClips clips = []
        {
            VideoClips c;
            c.folder = directory.path();
            TestVideo::Recipe slowSpec;
            c.slow = c.folder + "slow.wmv";
            TestVideo::encode(slowSpec, c.slow);
            TestVideo::Recipe quickSpec;
            quickSpec.frames = 6;
            quickSpec.framesPerSecond = 50;
            c.quick = c.folder + "quick.wmv";
            c.quickBytes = TestVideo::encode(quickSpec, c.quick);
            c.noDecoder = c.folder + "nodecoder.wmv";
            TestVideo::encodeWithoutDecoder(c.noDecoder);
            c.soundOnly = c.folder + "sound.wav";
            TestVideo::encodeSoundOnly(c.soundOnly);
            return c;
        }();
        return clips;
    }
};
