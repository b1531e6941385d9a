#pragma once
// The closing picture shown when the player quits, with the game
// description's end-screen links over it; when it ends the program quits.
#include "Gui/FadePopup.h"

class GameDescription;

class WindowQuit : public FadePopup
{
public:
    static constexpr uint32_t IMAGE_CLOSING = 32;
    static constexpr uint32_t DISPLAY_MS = 20000;
    static constexpr uint32_t FADE_MS = 500;

    // The description's closing-screen links become its buttons, when there
    // is a description.
    explicit WindowQuit(GameDescription* description);

    // The record the pop-up shows: the closing picture over black.
    static IntroScreen makeScreen();
};
