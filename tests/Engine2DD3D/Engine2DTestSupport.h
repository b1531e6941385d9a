#pragma once
// An engine on a recording device (or on a device a test controls), image
// files written into a temporary folder, and reading texels back.
#include "Engine2DD3D/Engine2DD3D.h"
#include "Engine2DD3D/TextureD3D.h"
#include "ImageFixtures.h"
#include "Platform/Gpu/DeviceBase.h"
#include "Platform/Gpu/RecordingDevice.h"
#include "Platform/System/MessageSink.h"
#include "Platform/System/Paths.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace Engine2DTest
{

using Platform::Gpu::RecordingDevice;

// A device whose cooperative level the test sets, counting clears, resets
// and presents.
class LosableDevice final : public Platform::Gpu::DeviceBase
{
public:
    LosableDevice() : DeviceBase(Platform::Gpu::PresentParameters{}) {}
    Platform::PlatformResult testCooperativeLevel() override { return level; }
    Platform::PlatformResult reset(const Platform::Gpu::PresentParameters& parameters) override
    {
        ++resets;
        if (resetResult != Platform::Gpu::GPU_OK)
            return resetResult;
        level = Platform::Gpu::GPU_OK;
        return DeviceBase::reset(parameters);
    }

    Platform::PlatformResult level = Platform::Gpu::GPU_OK;
    Platform::PlatformResult resetResult = Platform::Gpu::GPU_OK;
    int clears = 0, resets = 0, presents = 0;

protected:
    Platform::PlatformResult doDraw(const Platform::Gpu::DrawCall&) override { return Platform::Gpu::GPU_OK; }
    Platform::PlatformResult doClear(uint32_t, uint32_t, float, uint32_t) override
    {
        ++clears;
        return Platform::Gpu::GPU_OK;
    }
    Platform::PlatformResult doPresent() override
    {
        ++presents;
        return Platform::Gpu::GPU_OK;
    }
    Platform::PlatformResult doCreateTexture(Platform::Gpu::Texture&) override
    {
        return Platform::Gpu::GPU_OK;
    }
    void doDestroyTexture(Platform::Gpu::Texture&) override {}
    Platform::PlatformResult doSetRenderTarget(Platform::Gpu::Texture*) override
    {
        return Platform::Gpu::GPU_OK;
    }
    Platform::PlatformResult doSaveScreenshot(const std::string&) override { return Platform::Gpu::GPU_OK; }
};

// Texels of level 0 of a texture, as ARGB.
inline std::vector<uint32_t> readTexels(Texture* texture)
{
    void* bits = nullptr;
    int32_t pitch = 0;
    std::vector<uint32_t> texels;
    if (texture->lock(&bits, &pitch) != 0)
        return texels;
    uint32_t width = texture->getTextureWidth(), height = texture->getTextureHeight();
    texels.resize(size_t(width) * height);
    for (uint32_t y = 0; y < height; ++y)
        std::memcpy(texels.data() + size_t(y) * width, static_cast<uint8_t*>(bits) + size_t(y) * pitch,
                    width * 4);
    texture->unlock();
    return texels;
}

class RecordingEngineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto recording = std::make_unique<RecordingDevice>();
        device = recording.get();
        ASSERT_EQ(engine.initWithDevice(std::move(recording)), 0u);
    }

    // A PNG file of RGBA pixels (given as ARGB words); its path.
    std::string writePng(const std::string& name, int width, int height, const std::vector<uint32_t>& argb)
    {
        ImageFixtures::Bytes samples;
        for (uint32_t pixel : argb)
        {
            samples.push_back(uint8_t(pixel >> 16));
            samples.push_back(uint8_t(pixel >> 8));
            samples.push_back(uint8_t(pixel));
            samples.push_back(uint8_t(pixel >> 24));
        }
        return writeFile(name, ImageFixtures::encodePng(width, height, samples));
    }
    std::string writeFile(const std::string& name, const ImageFixtures::Bytes& bytes)
    {
        std::string path = folder.path() + name;
        std::FILE* file = std::fopen(path.c_str(), "wb");
        EXPECT_NE(file, nullptr);
        if (file != nullptr)
        {
            std::fwrite(bytes.data(), 1, bytes.size(), file);
            std::fclose(file);
        }
        return path;
    }
    // A texture of a w x h PNG of one colour, loaded.
    Texture* loadedTexture(int width, int height, uint32_t color = 0xFFFFFFFF)
    {
        std::string path = writePng("t" + std::to_string(width) + "x" + std::to_string(height) + ".png",
                                    width, height, std::vector<uint32_t>(size_t(width) * height, color));
        Texture* texture = engine.getTextureByName(path, 0);
        EXPECT_EQ(texture->load(), 0u);
        return texture;
    }

    Platform::ScopedMessageCapture messages;
    Platform::TemporaryDirectory folder;
    Engine2DD3D engine;
    RecordingDevice* device = nullptr;
};

} // namespace Engine2DTest
