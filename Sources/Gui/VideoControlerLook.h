#pragma once
// The look of the video control strip: the looks of its five buttons and of
// its progression bar, and the slowest and fastest speeds.
#include "Gui/Look.h"

class VideoControlerLook : public Look
{
public:
    enum Button : uint32_t
    {
        BUTTON_PLAY = 0,
        BUTTON_PAUSE = 1,
        BUTTON_BACKWARD = 2,
        BUTTON_FORWARD = 3,
        BUTTON_FULL_SCREEN = 4,
        BUTTON_COUNT = 5
    };

    VideoControlerLook(uint32_t play, uint32_t pause, uint32_t backward, uint32_t forward,
                       uint32_t fullScreen, uint32_t progressionBar)
        : Look(0, 0, nullptr, nullptr), buttonLooks{play, pause, backward, forward, fullScreen},
          progressionBarLook(progressionBar)
    {
    }

    uint32_t getKind() override { return LOOK_KIND_VIDEO_CONTROLLER; }
    std::unique_ptr<LookRenderer> createRenderer(Component* widget) override
    {
        return std::make_unique<EmptyRenderer>(this, widget);
    }

    uint32_t buttonLooks[BUTTON_COUNT];
    uint32_t progressionBarLook;
    int32_t minSpeed = -4;
    int32_t maxSpeed = 4;
    // The height of the strip under the video; the buttons are square.
    int32_t stripHeight = 32;
};
