#pragma once
// The misty mountain landscape behind the menus: an ink-painting dawn with
// layered ridges, a pagoda, drifting mist and rising lantern sparks. Every
// moving part is periodic in the phase (0 to 1), so frames at phase 0 and 1
// are the same and the menu video loops without a seam.
#include "raster/Theme.h"

namespace Raster
{

class Landscape
{
public:
    Landscape(int width, int height, const Theme& theme);
    // Draws the frame at the phase into a canvas of the landscape's size.
    void render(Canvas& out, float phase) const;

private:
    int mWidth, mHeight;
    [[maybe_unused]] const Theme& mTheme;
    Canvas mSky;      // sky, sun and far ridges: never moves
    Canvas mNear;     // the two nearest ridges with the pagoda and pines
    Canvas mMistFar;  // mist band between the far ridges, periodic in x
    Canvas mMistNear; // mist in front of the middle ridges, periodic in x
};

} // namespace Raster
