#pragma once
// What every window the player can open must satisfy, checked on the widget
// tree and on the frame read back.
#include "PlayDriver.h"

#include <cstdlib>
#include <string>
#include <vector>

// The game needs a display for its window and its OpenGL device.
#define SKIP_WITHOUT_DISPLAY()                                                                               \
    do                                                                                                       \
    {                                                                                                        \
        if (std::getenv("DISPLAY") == nullptr)                                                               \
            GTEST_SKIP() << "no display";                                                                    \
    } while (0)
