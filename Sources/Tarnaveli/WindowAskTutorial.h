#pragma once
// The question asked before the first game: follow the tutorial, or go on to
// the new-game window (solo) or the network menu (network).
#include "Gui/Dialog.h"
#include "Tarnaveli/MenuServices.h"

class WindowAskTutorial : public Dialog
{
public:
    static constexpr uint32_t MODE_SOLO = 0;
    static constexpr uint32_t MODE_NETWORK = 1;

    WindowAskTutorial(uint32_t mode, MenuServices& services);
    void onResult(uint32_t buttonBits) override;
    uint32_t getMode() const { return mMode; }

    // A person (white) against the computer at the easy level, with the tutorial.
    static void startTutorialGame(MenuServices& services);

private:
    uint32_t mMode;
    MenuServices& mServices;
};
