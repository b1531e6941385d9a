#pragma once
// What every window the player can open must satisfy, checked on the widget
// tree and on the frame read back.
#include "PlayDriver.h"

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace Platform::Gpu
{
class DeviceBase;
}

// The game needs a display for its window and its OpenGL device.
#define SKIP_WITHOUT_DISPLAY()                                                                               \
    do                                                                                                       \
    {                                                                                                        \
        if (std::getenv("DISPLAY") == nullptr)                                                               \
            GTEST_SKIP() << "no display";                                                                    \
    } while (0)

namespace Play
{

// One line per fault found, naming the widget; empty when all is well.
using Faults = std::vector<std::string>;

// Every shown widget of the layer lies inside the layer's rectangle (the
// screen's for a layer that draws no frame of its own), and the layer inside
// the 1024 x 768 screen.
Faults checkInsideFrame(Driver& driver, Component* layer, bool frameless = false);
// Every glyph of every shown label and text button lies inside its widget.
Faults checkTextsFit(Driver& driver, Component* layer);
// No line of a shown text starts with a mark that French sets after a space
// (? ! : ; and the closing guillemet).
Faults checkLineStarts(Driver& driver, Component* layer);
// Every shown image has a size and something drawn where it stands.
Faults checkImagesDrawn(Driver& driver, Component* layer, const Frame& frame);
// Every shown text reads against what is drawn behind it with a luminance
// contrast of at least 3:1.
Faults checkContrast(Driver& driver, Component* layer, const Frame& frame);
// The five above on the frame as it is now.
Faults checkWindow(Driver& driver, Component* layer, bool frameless = false);
// The faults one to a line, for a failure message.
std::string joined(const Faults& faults);

// The pixels that differ between two frames; all of them when one is missing.
size_t differingPixels(const Frame& a, const Frame& b);
// The game's graphics device, for what it keeps of earlier frames.
Platform::Gpu::DeviceBase* gameDevice();
// The frame as shown against the next one drawn with `keep` switched off (a
// kept picture not used): the pixels that differ. `keep` is on again after.
size_t differenceFromRedrawn(Driver& driver, const std::function<void(bool)>& keep);

// The contrast ratio of two colours by their relative luminance (1 to 21).
double contrastRatio(uint32_t argb1, uint32_t argb2);
// The luminance contrast of a text against the frame: the glyph boxes' pixels
// that differ most from the text colour stand for what is behind it.
double textContrast(const Frame& frame, Component* widget);

// The contrast between the ink and the ground of a region of the frame,
// whatever their colours: the median pixel is the ground, the tenth of the
// pixels farthest from it the ink.
double inkContrast(const Frame& frame, const Rect& region);
// The glyph boxes of a label's or button's characters first..last.
Rect glyphSpan(Component* widget, int32_t first, int32_t last);

std::string describe(Component* widget);

// The shown widgets of the in-game screen drawn over the board.
std::vector<Component*> boardOverlay(Driver& driver);
// The cells of the board that are off the screen or under the overlay or
// under one of the layers given (shown ones only), by the current camera.
Faults hiddenCells(Driver& driver, const std::vector<Component*>& layersOver = {});

} // namespace Play
