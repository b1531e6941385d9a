#pragma once
// Where decoded pictures go: the video texture copies each one into its
// texture. Frames are 32-bit BGRA (bytes B, G, R, A; alpha 0xFF), rows top
// down, at the video's size.
#include <cstdint>

namespace Platform
{

struct VideoFrame
{
    const uint8_t* pixels = nullptr;
    uint32_t width = 0;
    uint32_t height = 0;
    // Bytes from one row to the next (width x 4 or more).
    uint32_t pitch = 0;
    // Stream time of the picture, from the start of the video.
    int64_t positionMs = 0;
};

class VideoFrameSink
{
public:
    virtual ~VideoFrameSink() = default;
    // Called on the player's decoding thread; the pixels are valid only for
    // the call. Must not call back into the player.
    virtual void renderFrame(const VideoFrame& frame) = 0;
};

} // namespace Platform
