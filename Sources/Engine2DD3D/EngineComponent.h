#pragma once
// A widget that the 2D engine makes and keeps track of: the video textures.
// Every live one is in the engine-side component list, through which the
// sound-effect level reaches the videos' sound tracks. The operations after
// the widget's own are the video's controls.
#include "Engine/Image2D.h"
#include "Engine/RenderList.h"
#include "Engine/Texture.h"
#include "Gui/Component.h"

#include <cstdint>
#include <string>
#include <vector>

class SoundManager;

class EngineComponent : public Component
{
public:
    // Called with (0, user value) when the video reaches its end.
    using EndCallback = void (*)(uint32_t code, void* userValue);

    EngineComponent(int32_t x, int32_t y, int32_t width, int32_t height, RenderList* renderList);
    ~EngineComponent() override;

    virtual ErrorCode open(const std::string& fileName) = 0;
    virtual Image2D* getImage() = 0;
    // 0 stopped, 1 playing, 2 paused.
    virtual uint32_t getState() = 0;
    virtual ErrorCode play() = 0;
    virtual ErrorCode stop() = 0;
    virtual ErrorCode pause() = 0;
    virtual ErrorCode resume() = 0;
    // Milliseconds.
    virtual int32_t getDuration() = 0;
    virtual int32_t getPosition() = 0;
    virtual ErrorCode setPosition(int32_t positionMs) = 0;
    virtual void getVideoSize(uint32_t& width, uint32_t& height) = 0;
    virtual ErrorCode setRate(float rate) = 0;
    virtual float getRate() = 0;
    // Sound level 0..255.
    virtual ErrorCode setVolume(uint32_t level) = 0;
    // -1 without a video or when the player cannot tell.
    virtual int32_t getVolume() = 0;
    virtual int32_t getStepPeriod() = 0;
    virtual void setStepPeriod(int32_t periodMs) = 0;
    // Takes over the caller's reference (null: none).
    virtual void setStillImage(Texture* texture) = 0;
    virtual void setRect(int32_t x, int32_t y, int32_t width, int32_t height) = 0;

    void setEndCallback(EndCallback callback, void* userValue)
    {
        mEndCallback = callback;
        mUserValue = userValue;
    }

    // Every live engine component, oldest first.
    static const std::vector<EngineComponent*>& components();
    // The sound-effect level videos open with; 255 until a sound manager
    // tells otherwise.
    static uint32_t soundLevel();
    // Passes the level to every live component and to those opened later.
    static void setSoundLevel(uint32_t level);
    // Makes the manager's sound-effect level (now and on every change) the
    // videos' level.
    static void listenToSoundManager(SoundManager& manager);

protected:
    void* mUserValue = nullptr;
    EndCallback mEndCallback = nullptr;
};
