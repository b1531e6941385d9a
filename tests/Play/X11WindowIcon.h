#pragma once
// Reads back the icon a window shows, as the desktop sees it (the X server's
// _NET_WM_ICON property). Kept apart from the game's headers: X11 names a
// type Window too.
#include <cstdint>
#include <string>
#include <vector>

struct SDL_Window;

namespace Play
{
struct ShownIcon
{
    int width = 0;
    int height = 0;
    // R, G, B, A bytes row by row.
    std::vector<uint8_t> rgba;
};

// The first picture of the window's icon property; false, with the reason,
// when the window is not on X11 or has no icon.
bool readWindowIcon(SDL_Window* window, ShownIcon& icon, std::string& reason);
} // namespace Play
