#pragma once
// The full-window intro video: a video played over the whole client area,
// blocking until it ends or the user interrupts it with a key press, a left
// click or by closing the window. While it plays the main window's message
// hook sends every message here; the pictures are drawn into the frame
// through the 2D engine, on black, fitted as asked.
#include "Engine/Engine2D.h"
#include "Framework/AppWindow.h"

#include <cstdint>

// Where the video goes in a client area of W x H: with fit, the largest size
// with the video's aspect ratio; without, the video's own size, reduced when
// larger than the area. Centred (integer halves).
struct IntroVideoPlacement
{
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
};
IntroVideoPlacement placeIntroVideo(int32_t clientWidth, int32_t clientHeight, int32_t videoWidth,
                                    int32_t videoHeight, bool fit);

inline constexpr int32_t kIntroVideoEnded = 0;
inline constexpr int32_t kIntroVideoStopped = 1;
inline constexpr int32_t kIntroVideoNullName = static_cast<int32_t>(0x80004003u);

// Plays the file (by the game's path) over the running application's main
// window: 0 when it played to its end, 1 when the user stopped it, otherwise
// the failing result (negative). The window argument is not used.
int32_t playIntroVideo(const char* fileName, void* window, bool fit);

// The same on a given window and 2D engine, with the client size the
// placement uses.
int32_t playIntroVideoOn(const char* fileName, AppWindow& window, Engine2D& engine, int32_t clientWidth,
                         int32_t clientHeight, bool fit);
