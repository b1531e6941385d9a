#include "Tarnaveli/GameIcon.h"

#include "Platform/Window/Window.h"

void registerGameIcon()
{
    if (Platform::findIcon(GAME_ICON_ID) != nullptr)
        return;
    Platform::IconImage icon;
    icon.width = kGameIconSize;
    icon.height = kGameIconSize;
    const size_t bytes = static_cast<size_t>(kGameIconSize) * static_cast<size_t>(kGameIconSize) * 4;
    icon.rgba.assign(kGameIconPixels, kGameIconPixels + bytes);
    Platform::registerIcon(GAME_ICON_ID, std::move(icon));
}
