#pragma once
// What the video control bar and the full-screen video layer drive: a video
// playing into a texture and shown as a 2D image. The 2D engine's video
// texture implements it.
#include "Engine/Texture.h"
#include "Framework/ErrorCodes.h"
#include "Gui/GuiTypes.h"

#include <cstdint>
#include <functional>
#include <string>

enum VideoState : uint32_t
{
    VIDEO_STOPPED = 0,
    VIDEO_PLAYING = 1,
    VIDEO_PAUSED = 2
};

class ControllableVideo
{
public:
    virtual ~ControllableVideo() = default;

    virtual ErrorCode open(const std::string& fileName) = 0;
    virtual uint32_t getState() = 0;
    virtual void play() = 0;
    // Back to the start.
    virtual void stop() = 0;
    virtual void pause() = 0;
    // Milliseconds.
    virtual uint32_t getDuration() = 0;
    virtual uint32_t getPosition() = 0;
    virtual void setPosition(uint32_t ms) = 0;
    // Negative rates play backward.
    virtual void setRate(double rate) = 0;
    // The video's own size; (0, 0) when unknown.
    virtual void getVideoSize(int32_t& width, int32_t& height) = 0;
    virtual void setRect(int32_t x, int32_t y, int32_t width, int32_t height) = 0;
    virtual Rect getRect() = 0;
    // The texture the frames land in, and whether it holds them upside down.
    virtual Texture* getTexture() = 0;
    virtual bool isTextureMirrored() = 0;
    // Once a frame: rate emulation and the video's events.
    virtual void update() = 0;
    virtual ErrorCode render() = 0;
    // Called from update when the video reaches its end.
    virtual void setEndCallback(std::function<void()> callback) = 0;
};
