#pragma once
// The last stage of a video texture's player: it receives every decoded
// picture on the player's decoding thread and copies it into the video
// texture, converting to the texture's texel layout. The picture lands in the
// texture's top-left corner, row for row. The texture is swapped only under
// the filter's lock, so a picture never goes into a texture being replaced.
#include "Engine/Texture.h"
#include "Platform/Media/VideoFrameSink.h"

#include <cstdint>
#include <mutex>

class TextureRendererFilter final : public Platform::VideoFrameSink
{
public:
    TextureRendererFilter() = default;

    void renderFrame(const Platform::VideoFrame& frame) override;

    // The video's size and the texture its pictures go into (null: none).
    void setTarget(Texture* texture, uint32_t videoWidth, uint32_t videoHeight);
    Texture* getTarget();
    uint32_t getVideoWidth() const { return mVideoWidth; }
    uint32_t getVideoHeight() const { return mVideoHeight; }
    // Runs under the lock that keeps pictures out (clearing the texture).
    template <typename Function> void withTextureLocked(Function function)
    {
        std::lock_guard<std::mutex> lock(mMutex);
        function(mTexture);
    }
    // Pictures copied so far.
    uint64_t framesRendered();

    // Copies a BGRA picture into texels of that kind (Resource::PIXEL_KIND_),
    // clipped to the texture's size. False for a kind it cannot write.
    static bool convertFrame(const Platform::VideoFrame& frame, uint32_t pixelKind, uint8_t* bits,
                             int32_t pitch, uint32_t textureWidth, uint32_t textureHeight);

private:
    std::mutex mMutex;
    Texture* mTexture = nullptr;
    uint32_t mVideoWidth = 0;
    uint32_t mVideoHeight = 0;
    uint64_t mFrames = 0;
};
