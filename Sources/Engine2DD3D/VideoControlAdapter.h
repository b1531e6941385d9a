#pragma once
// Lets the GUI's video control bar and full-screen layer drive the 2D
// engine's video texture: the toolkit knows videos only through its
// ControllableVideo interface, since it sits below the engine's components.
#include "Engine2DD3D/EngineComponent.h"
#include "Gui/ControllableVideo.h"

#include <functional>
#include <memory>

class VideoControlAdapter final : public ControllableVideo
{
public:
    explicit VideoControlAdapter(std::unique_ptr<EngineComponent> video);
    ~VideoControlAdapter() override;

    // Makes the control bar build its videos through the running 2D engine.
    static void install();

    ErrorCode open(const std::string& fileName) override { return mVideo->open(fileName); }
    uint32_t getState() override { return mVideo->getState(); }
    void play() override { mVideo->play(); }
    void stop() override { mVideo->stop(); }
    void pause() override { mVideo->pause(); }
    uint32_t getDuration() override;
    uint32_t getPosition() override;
    void setPosition(uint32_t ms) override;
    void setRate(double rate) override { mVideo->setRate(static_cast<float>(rate)); }
    void getVideoSize(int32_t& width, int32_t& height) override;
    void setRect(int32_t x, int32_t y, int32_t width, int32_t height) override
    {
        mVideo->setRect(x, y, width, height);
    }
    Rect getRect() override { return mVideo->getRect(); }
    Texture* getTexture() override;
    bool isTextureMirrored() override;
    void update() override { mVideo->animate(); }
    ErrorCode render() override { return mVideo->render(); }
    void setEndCallback(std::function<void()> callback) override;

    EngineComponent& video() { return *mVideo; }

private:
    static void onVideoEnd(uint32_t code, void* self);

    std::unique_ptr<EngineComponent> mVideo;
    std::function<void()> mEndCallback;
};
