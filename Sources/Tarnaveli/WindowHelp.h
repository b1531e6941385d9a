#pragma once
// The rules in two full-window pages: the first click turns to the second
// page, the second closes the window.
#include "Framework/Timer.h"
#include "Gui/Window.h"
#include "Tarnaveli/MenuServices.h"

class Image;
class TextButton;

class WindowHelp : public Window
{
public:
    static constexpr uint32_t IMAGE_PAGE_1 = 29;
    static constexpr uint32_t IMAGE_PAGE_2 = 30;
    static constexpr uint32_t FADE_MS = 1000;

    // returnToMenu: open the main menu on closing.
    WindowHelp(bool returnToMenu, MenuServices& services);

    void animate() override;
    int32_t getContentTop() override { return 0; }

    // The button's click.
    void next();

    uint32_t getStage() const { return mStage; }
    Image* getPage(uint32_t index) const { return index == 0 ? mPage1 : mPage2; }
    TextButton* getButton() const { return mButton; }

    // The colour of a page fading in for t ms.
    static uint32_t fadeColor(uint32_t t);

private:
    bool mReturnToMenu;
    MenuServices& mServices;
    uint32_t mStage = 0;
    Image* mPage1 = nullptr;
    Image* mPage2 = nullptr;
    TextButton* mButton = nullptr;
    Timer mTimer;
};
