#pragma once
// A video that plays nothing: it keeps its state, position and rectangle and
// logs every command ("play", "rate -2", "seek 5000", "rect 0 0 10 10").
#include "Gui/ControllableVideo.h"

#include <sstream>
#include <string>
#include <vector>

class FakeControllableVideo final : public ControllableVideo
{
public:
    explicit FakeControllableVideo(Rect rect) : rect(rect) {}

    ErrorCode open(const std::string& name) override
    {
        fileName = name;
        return 0;
    }
    uint32_t getState() override { return state; }
    void play() override
    {
        log.push_back("play");
        state = VIDEO_PLAYING;
    }
    void stop() override
    {
        log.push_back("stop");
        state = VIDEO_STOPPED;
        position = 0;
    }
    void pause() override
    {
        log.push_back("pause");
        state = VIDEO_PAUSED;
    }
    uint32_t getDuration() override { return duration; }
    uint32_t getPosition() override { return position; }
    void setPosition(uint32_t ms) override
    {
        log.push_back("seek " + std::to_string(ms));
        position = ms;
    }
    void setRate(double rate) override
    {
        std::ostringstream text;
        text << "rate " << rate;
        log.push_back(text.str());
    }
    void getVideoSize(int32_t& width, int32_t& height) override
    {
        width = videoWidth;
        height = videoHeight;
    }
    void setRect(int32_t x, int32_t y, int32_t width, int32_t height) override
    {
        rect = {x, y, width, height};
        log.push_back("rect " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(width) +
                      " " + std::to_string(height));
    }
    Rect getRect() override { return rect; }
    Texture* getTexture() override { return texture; }
    bool isTextureMirrored() override { return true; }
    void update() override
    {
        ++updates;
        if (endNow && endCallback)
        {
            endNow = false;
            endCallback();
        }
    }
    ErrorCode render() override
    {
        ++renders;
        return 0;
    }
    void setEndCallback(std::function<void()> callback) override { endCallback = std::move(callback); }

    Rect rect;
    std::string fileName;
    uint32_t state = VIDEO_STOPPED;
    uint32_t duration = 10000;
    uint32_t position = 0;
    int32_t videoWidth = 0;
    int32_t videoHeight = 0;
    Texture* texture = nullptr;
    std::vector<std::string> log;
    std::function<void()> endCallback;
    bool endNow = false;
    int updates = 0;
    int renders = 0;
};
