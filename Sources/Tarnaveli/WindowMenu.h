#pragma once
// The main menu: eight picture buttons under the game's title picture, over
// the menu video.
#include "Tarnaveli/MenuWindowBase.h"

class Image;

class WindowMenu : public MenuWindowBase
{
public:
    static constexpr uint32_t BUTTON_COUNT = 8;
    static constexpr uint32_t TITLE_HEIGHT = 40;
    static constexpr uint32_t IMAGE_TITLE = 28;

    enum Entry : uint32_t
    {
        TUTORIAL,
        SOLO,
        MULTI,
        LOAD,
        SCORES,
        OPTIONS,
        HELP,
        QUIT
    };

    WindowMenu();
    // Makes and opens a main menu.
    static WindowMenu* openNew();

    Image* getTitleImage() const { return mTitle; }

private:
    Image* mTitle = nullptr;
};
