#include "Tarnaveli/WindowGameMenu.h"

#include "Framework/LangTable.h"
#include "Tarnaveli/GameLang.h"
#include "Tarnaveli/ScoreListView.h"

WindowGameMenu::WindowGameMenu(InGameServices& services)
    : MenuWindowBase(BUTTON_COUNT, 0), mServices(services)
{
    const bool network = mServices.isNetworkGame();
    const bool over = mServices.isGameOver();

    MenuButton* load = addButton(LOAD, 40, getLangText(LANG_WINDOW_MENU_LOAD_GAME_INFOTIP),
                                 [this](MenuButton*, MenuWindowBase*) { mServices.openLoadDialog(true); });
    load->setEnabled(!network);
    MenuButton* save = addButton(SAVE, 46, getLangText(LANG_WINDOW_MENU_SAVE_GAME_INFOTIP),
                                 [this](MenuButton*, MenuWindowBase*) { mServices.openSaveDialog(); });
    save->setEnabled(!network && !over);
    addButton(OPTIONS, 42, getLangText(LANG_WINDOW_MENU_OPTIONS_INFOTIP),
              [this](MenuButton*, MenuWindowBase*) { mServices.openOptions(); });
    addButton(SCORES, 41, getLangText(LANG_WINDOW_MENU_SCORES_INFOTIP),
              [this](MenuButton*, MenuWindowBase*)
              {
                  if (ScoreTable* table = mServices.getScoreTable())
                      (new ScoreListView(table, 0, -1))->open();
              });
    addButton(ABORT, 45, getLangText(LANG_WINDOW_MENU_ABORT_INFOTIP),
              [this](MenuButton*, MenuWindowBase* menu)
              {
                  menu->close();
                  mServices.leaveToMainMenu(std::string());
              });
    addButton(CONTINUE, 47, getLangText(LANG_WINDOW_MENU_CONTINUE_INFOTIP),
              [](MenuButton*, MenuWindowBase* menu) { menu->close(); });
}

WindowGameMenu::~WindowGameMenu()
{
    mServices.closeGameMenu();
}
