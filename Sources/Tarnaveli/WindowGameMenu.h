#pragma once
// The in-game menu opened from the board's menu button: load, save, options,
// scores, abandon and continue.
#include "Tarnaveli/InGameServices.h"
#include "Tarnaveli/MenuWindowBase.h"

class WindowGameMenu : public MenuWindowBase
{
public:
    static constexpr uint32_t BUTTON_COUNT = 6;

    enum Entry : uint32_t
    {
        LOAD,
        SAVE,
        OPTIONS,
        SCORES,
        ABORT,
        CONTINUE
    };

    explicit WindowGameMenu(InGameServices& services);
    // Gives the board its buttons back.
    ~WindowGameMenu() override;

private:
    InGameServices& mServices;
};
