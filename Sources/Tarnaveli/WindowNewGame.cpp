#include "Tarnaveli/WindowNewGame.h"

#include "Framework/LangTable.h"
#include "Gui/ComboBox.h"
#include "Gui/Label.h"
#include "Gui/Text.h"
#include "Tarnaveli/DifficultySelector.h"
#include "Tarnaveli/GameLang.h"
#include "Tarnaveli/SetupConfig.h"
#include "Tarnaveli/WindowMenu.h"

namespace
{
constexpr int32_t kLabelWidth = 130;
constexpr int32_t kComboWidth = 200;

int32_t clampKind(int32_t kind)
{
    return kind == 1 ? 1 : 0;
}
} // namespace

WindowNewGame::WindowNewGame(MenuServices& services)
    : Dialog(WIDTH, PANEL_HEIGHT, getLangText(LANG_WINDOW_NEW_GAME_TITLE), 9, false, true, LOOK_DIALOG),
      mServices(services)
{
    const SetupConfig& setup = mServices.getSetup();
    const int32_t left = getContentLeft();
    const int32_t top = getContentTop();
    const int32_t kinds[2] = {clampKind(setup.mLastPlayerType0), clampKind(setup.mLastPlayerType1)};
    for (uint32_t side = 0; side < 2; ++side)
    {
        const int32_t y = top + static_cast<int32_t>(side) * ROW_HEIGHT;
        addChild(std::make_unique<Label>(
            left, y, kLabelWidth, ROW_HEIGHT,
            getLangText(side == 0 ? LANG_WINDOW_NEW_GAME_LABEL_WHITE : LANG_WINDOW_NEW_GAME_LABEL_BLACK),
            0xFF000000, 0));
        auto* combo = new ComboBox(left + kLabelWidth, y, kComboWidth, ROW_HEIGHT, 0);
        combo->addItem(getLangText(LANG_WINDOW_NEW_GAME_HUMAN));
        combo->addItem(getLangText(LANG_WINDOW_NEW_GAME_COMPUTER));
        combo->setSelectedIndex(kinds[side]);
        combo->onChange.mFunction = [this](Component*, uint32_t) { updateVisibility(); };
        mCombos[side] = combo;
        addChild(combo);
    }

    mPanel = new Container(left + PANEL_X, top, PANEL_WIDTH, PANEL_HEIGHT, LOOK_EMPTY);
    Font* font = findFont(0);
    const int32_t titleHeight = font != nullptr ? font->getLineHeight() : 0;
    mPanel->addChild(std::make_unique<Label>(0, 0, PANEL_WIDTH, titleHeight,
                                             getLangText(LANG_COMBO_DIFFICULTY_LABEL), 0xFF000000, 0, font));
    const int32_t level = setup.mLastComputerDiff0;
    mSelector = new DifficultySelector(Rect{0, titleHeight, PANEL_WIDTH, PANEL_HEIGHT - titleHeight},
                                       level >= 0 && level <= 2 ? static_cast<uint32_t>(level) : 0);
    mPanel->addChild(mSelector);
    addChild(mPanel);
    updateVisibility();
}

void WindowNewGame::updateVisibility()
{
    mPanel->setVisible(mCombos[0]->getSelectedIndex() == 1 || mCombos[1]->getSelectedIndex() == 1);
}

void WindowNewGame::onResult(uint32_t buttonBits)
{
    if (buttonBits == 1)
    {
        LocalGameRequest request;
        for (uint32_t side = 0; side < 2; ++side)
            request.playerKind[side] = mCombos[side]->getSelectedIndex() == 1 ? 1 : 0;
        request.level = mSelector->getValue();
        request.tutorial = false;
        SetupConfig& setup = mServices.getSetup();
        setup.mLastPlayerType0 = static_cast<int32_t>(request.playerKind[0]);
        setup.mLastPlayerType1 = static_cast<int32_t>(request.playerKind[1]);
        setup.mLastComputerDiff0 = static_cast<int32_t>(request.level);
        mServices.startLocalGame(request);
        close();
    }
    else if (buttonBits == 8)
    {
        close();
        WindowMenu::openNew(mServices);
    }
}
