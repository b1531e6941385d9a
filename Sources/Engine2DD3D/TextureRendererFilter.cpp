#include "Engine2DD3D/TextureRendererFilter.h"

#include <algorithm>
#include <cstring>

void TextureRendererFilter::setTarget(Texture* texture, uint32_t videoWidth, uint32_t videoHeight)
{
    std::lock_guard<std::mutex> lock(mMutex);
    mTexture = texture;
    mVideoWidth = videoWidth;
    mVideoHeight = videoHeight;
}

Texture* TextureRendererFilter::getTarget()
{
    std::lock_guard<std::mutex> lock(mMutex);
    return mTexture;
}

uint64_t TextureRendererFilter::framesRendered()
{
    std::lock_guard<std::mutex> lock(mMutex);
    return mFrames;
}

void TextureRendererFilter::renderFrame(const Platform::VideoFrame& frame)
{
    std::lock_guard<std::mutex> lock(mMutex);
    if (mTexture == nullptr || frame.pixels == nullptr || !mTexture->isCreated())
        return;
    void* bits = nullptr;
    int32_t pitch = 0;
    if (mTexture->lock(&bits, &pitch) != 0 || bits == nullptr)
        return;
    // The texture's surface may be smaller than the picture only if it was
    // made for another video; never write past it.
    uint32_t width = mTexture->getTextureWidth() != 0 ? mTexture->getTextureWidth() : mTexture->getWidth();
    uint32_t height =
        mTexture->getTextureHeight() != 0 ? mTexture->getTextureHeight() : mTexture->getHeight();
    if (convertFrame(frame, mTexture->getPixelKind(), static_cast<uint8_t*>(bits), pitch, width, height))
        ++mFrames;
    mTexture->unlock();
}

bool TextureRendererFilter::convertFrame(const Platform::VideoFrame& frame, uint32_t pixelKind, uint8_t* bits,
                                         int32_t pitch, uint32_t textureWidth, uint32_t textureHeight)
{
    if (pitch <= 0 || frame.pitch < frame.width * 4)
        return false;
    uint32_t width = std::min(frame.width, textureWidth);
    uint32_t height = std::min(frame.height, textureHeight);
    for (uint32_t row = 0; row < height; ++row)
    {
        const uint8_t* source = frame.pixels + static_cast<size_t>(row) * frame.pitch;
        uint8_t* target = bits + static_cast<size_t>(row) * static_cast<uint32_t>(pitch);
        switch (pixelKind)
        {
        case Resource::PIXEL_KIND_X8R8G8B8:
        case Resource::PIXEL_KIND_A8R8G8B8:
        {
            // Texels are B, G, R, A in memory like the picture; pictures are
            // opaque whatever alpha the decoder left.
            std::memcpy(target, source, static_cast<size_t>(width) * 4);
            for (uint32_t x = 0; x < width; ++x)
                target[x * 4 + 3] = 0xFF;
            break;
        }
        case Resource::PIXEL_KIND_A1R5G5B5:
        {
            for (uint32_t x = 0; x < width; ++x)
            {
                const uint8_t* p = source + x * 4;
                uint16_t texel =
                    static_cast<uint16_t>(0x8000 | (p[2] & 0xF8) << 7 | (p[1] & 0xF8) << 2 | p[0] >> 3);
                std::memcpy(target + x * 2, &texel, 2);
            }
            break;
        }
        default:
            return false;
        }
    }
    return true;
}
