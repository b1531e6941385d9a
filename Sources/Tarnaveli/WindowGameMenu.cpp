#include "Tarnaveli/WindowGameMenu.h"

#include "Framework/LangTable.h"
#include "Tarnaveli/GameLang.h"
#include "Tarnaveli/MenuHooks.h"
#include "Tarnaveli/ScoreListView.h"

WindowGameMenu::WindowGameMenu() : MenuWindowBase(BUTTON_COUNT, 0, false)
{
    const bool network = menuHooks().isNetworkGame && menuHooks().isNetworkGame();
    const bool over = menuHooks().isGameOver && menuHooks().isGameOver();

    MenuButton* load = addButton(LOAD, 40, getLangText(LANG_WINDOW_MENU_LOAD_GAME_INFOTIP),
                                 [](MenuButton*, MenuWindowBase*)
                                 {
                                     if (menuHooks().openLoadDialog)
                                         menuHooks().openLoadDialog(true);
                                 });
    load->setEnabled(!network);
    MenuButton* save = addButton(SAVE, 46, getLangText(LANG_WINDOW_MENU_SAVE_GAME_INFOTIP),
                                 [](MenuButton*, MenuWindowBase*)
                                 {
                                     if (menuHooks().openSaveDialog)
                                         menuHooks().openSaveDialog();
                                 });
    save->setEnabled(!network && !over);
    addButton(OPTIONS, 42, getLangText(LANG_WINDOW_MENU_OPTIONS_INFOTIP),
              [](MenuButton*, MenuWindowBase*)
              {
                  if (menuHooks().openOptions)
                      menuHooks().openOptions();
              });
    addButton(SCORES, 41, getLangText(LANG_WINDOW_MENU_SCORES_INFOTIP),
              [](MenuButton*, MenuWindowBase*)
              {
                  if (ScoreTable* table = menuHooks().scoreTable ? menuHooks().scoreTable() : nullptr)
                      (new ScoreListView(table, 0, -1))->open();
              });
    addButton(ABORT, 45, getLangText(LANG_WINDOW_MENU_ABORT_INFOTIP),
              [](MenuButton*, MenuWindowBase* menu)
              {
                  menu->close();
                  if (menuHooks().leaveToMainMenu)
                      menuHooks().leaveToMainMenu(std::string());
              });
    addButton(CONTINUE, 47, getLangText(LANG_WINDOW_MENU_CONTINUE_INFOTIP),
              [](MenuButton*, MenuWindowBase* menu) { menu->close(); });
}

WindowGameMenu::~WindowGameMenu()
{
    if (menuHooks().closeGameMenu)
        menuHooks().closeGameMenu();
}
