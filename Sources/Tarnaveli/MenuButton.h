#pragma once
// A picture button of the menus: 208 by 54, no caption, drawn by the menu
// button look of its id (looks 37 to 47 of the game, one per picture), with
// an infotip and a callback given the button and its menu.
#include "Gui/TextButton.h"

#include <functional>

class MenuWindowBase;

class MenuButton : public TextButton
{
public:
    static constexpr int32_t WIDTH = 208;
    static constexpr int32_t HEIGHT = 54;
    using Callback = std::function<void(MenuButton* button, MenuWindowBase* menu)>;

    MenuButton(int32_t x, int32_t y, uint32_t skinTextureId, const std::string& infotipText,
               Callback callback, MenuWindowBase* menu);

    uint32_t getSkinTextureId() const { return mSkinTextureId; }
    MenuWindowBase* getMenu() const { return mMenu; }

private:
    uint32_t mSkinTextureId;
    Callback mCallback;
    MenuWindowBase* mMenu;
};
