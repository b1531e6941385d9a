#pragma once
// The main menu: eight picture buttons under the game's title picture, over
// the menu video.
#include "Tarnaveli/MenuServices.h"
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

    // Starts the menu's background video.
    explicit WindowMenu(MenuServices& services);
    // Makes and opens a main menu.
    static WindowMenu* openNew(MenuServices& services);

    Image* getTitleImage() const { return mTitle; }

private:
    MenuServices& mServices;
    Image* mTitle = nullptr;
};
