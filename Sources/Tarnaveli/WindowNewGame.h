#pragma once
// The new-game window: a person or the computer for white and for black, and
// the computer's level, then a local game.
#include "Gui/Dialog.h"
#include "Tarnaveli/MenuServices.h"

#include <array>

class ComboBox;
class Container;
class DifficultySelector;

class WindowNewGame : public Dialog
{
public:
    static constexpr int32_t WIDTH = 500;
    static constexpr int32_t ROW_HEIGHT = 32;
    static constexpr int32_t PANEL_X = 330;
    static constexpr int32_t PANEL_WIDTH = 160;
    static constexpr int32_t PANEL_HEIGHT = 76;

    explicit WindowNewGame(MenuServices& services);

    // 1 starts the game, 8 returns to the main menu.
    void onResult(uint32_t buttonBits) override;
    // The level panel shows while either side is the computer.
    void updateVisibility();

    ComboBox* getPlayerCombo(uint32_t side) const { return side < 2 ? mCombos[side] : nullptr; }
    DifficultySelector* getSelector() const { return mSelector; }
    Container* getLevelPanel() const { return mPanel; }

private:
    MenuServices& mServices;
    std::array<ComboBox*, 2> mCombos{};
    DifficultySelector* mSelector = nullptr;
    Container* mPanel = nullptr;
};
