#pragma once
// The game's icon: the launcher's picture (the Lion's token), drawn at build
// time into the program as its icon resource.
#include <cstdint>

// kGameIconSize by kGameIconSize pixels, R, G, B, A bytes row by row.
extern const int kGameIconSize;
extern const unsigned char kGameIconPixels[];

// The resource id the game's settings name its window's icon by.
constexpr uint32_t GAME_ICON_ID = 125;

// Makes the picture the program's icon of id GAME_ICON_ID.
void registerGameIcon();
