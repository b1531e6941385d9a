#include "X11WindowIcon.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace Play
{
bool readWindowIcon(SDL_Window* window, ShownIcon& icon, std::string& reason)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window == nullptr || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
    {
        reason = "not an X11 window";
        return false;
    }
    Display* display = info.info.x11.display;
    XSync(display, False);
    const Atom property = XInternAtom(display, "_NET_WM_ICON", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, info.info.x11.window, property, 0, 1L << 20, False, XA_CARDINAL, &type,
                           &format, &count, &after, &data) != Success ||
        data == nullptr || format != 32 || count < 2)
    {
        if (data != nullptr)
            XFree(data);
        reason = "the window has no icon";
        return false;
    }
    // 32-bit items come back as longs: width, height, then ARGB pixels.
    const auto* items = reinterpret_cast<const unsigned long*>(data);
    const unsigned long width = items[0];
    const unsigned long height = items[1];
    if (width == 0 || height == 0 || width * height > count - 2)
    {
        XFree(data);
        reason = "a malformed icon property";
        return false;
    }
    icon.width = static_cast<int>(width);
    icon.height = static_cast<int>(height);
    icon.rgba.resize(width * height * 4);
    for (unsigned long i = 0; i < width * height; ++i)
    {
        const auto argb = static_cast<uint32_t>(items[2 + i]);
        icon.rgba[i * 4 + 0] = static_cast<uint8_t>(argb >> 16);
        icon.rgba[i * 4 + 1] = static_cast<uint8_t>(argb >> 8);
        icon.rgba[i * 4 + 2] = static_cast<uint8_t>(argb);
        icon.rgba[i * 4 + 3] = static_cast<uint8_t>(argb >> 24);
    }
    XFree(data);
    return true;
}
} // namespace Play
