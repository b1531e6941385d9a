#include "Tarnaveli/WindowMenu.h"

#include "Framework/ApplicationGeneric.h"
#include "Framework/LangTable.h"
#include "Gui/Image.h"
#include "Tarnaveli/GameLang.h"
#include "Tarnaveli/MenuHooks.h"
#include "Tarnaveli/ScoreListView.h"
#include "Tarnaveli/SetupConfig.h"
#include "Tarnaveli/WindowAskTutorial.h"
#include "Tarnaveli/WindowHelp.h"
#include "Tarnaveli/WindowNewGame.h"

namespace
{
bool isFirstGame()
{
    SetupConfig* setup = menuHooks().setup ? menuHooks().setup() : nullptr;
    return setup != nullptr && setup->mFirstGame;
}

void openScores(uint32_t level)
{
    ScoreTable* table = menuHooks().scoreTable ? menuHooks().scoreTable() : nullptr;
    if (table != nullptr)
        (new ScoreListView(table, level, -1))->open();
}
} // namespace

WindowMenu* WindowMenu::openNew()
{
    auto* menu = new WindowMenu();
    menu->open();
    return menu;
}

WindowMenu::WindowMenu() : MenuWindowBase(BUTTON_COUNT, TITLE_HEIGHT, true)
{
    ApplicationGeneric* application = getApplication();
    if (Texture* title = application != nullptr ? application->getImage(IMAGE_TITLE) : nullptr)
    {
        mTitle = new Image(0, -110, title);
        mTitle->setRelativePosition((WIDTH - mTitle->getWidth()) / 2, -110);
        addChild(mTitle);
    }

    addButton(TUTORIAL, 37, getLangText(LANG_WINDOW_MENU_NEW_GAME_TUTORIAL_INFOTIP),
              [](MenuButton*, MenuWindowBase* menu)
              {
                  menu->close();
                  WindowAskTutorial::startTutorialGame();
              });
    addButton(SOLO, 38, getLangText(LANG_WINDOW_MENU_NEW_GAME_SOLO_INFOTIP),
              [](MenuButton*, MenuWindowBase* menu)
              {
                  menu->close();
                  if (isFirstGame())
                      (new WindowAskTutorial(WindowAskTutorial::MODE_SOLO))->open();
                  else
                      (new WindowNewGame())->open();
              });
    addButton(MULTI, 39, getLangText(LANG_WINDOW_MENU_NEW_GAME_MULTI_INFOTIP),
              [](MenuButton*, MenuWindowBase* menu)
              {
                  menu->close();
                  if (isFirstGame())
                      (new WindowAskTutorial(WindowAskTutorial::MODE_NETWORK))->open();
                  else if (menuHooks().openNetworkMenu)
                      menuHooks().openNetworkMenu();
              });
    addButton(LOAD, 40, getLangText(LANG_WINDOW_MENU_LOAD_GAME_INFOTIP),
              [](MenuButton*, MenuWindowBase*)
              {
                  if (menuHooks().openLoadDialog)
                      menuHooks().openLoadDialog(false);
              });
    addButton(SCORES, 41, getLangText(LANG_WINDOW_MENU_SCORES_INFOTIP),
              [](MenuButton*, MenuWindowBase*)
              {
                  SetupConfig* setup = menuHooks().setup ? menuHooks().setup() : nullptr;
                  openScores(setup != nullptr ? ScoreListView::menuLevel(*setup) : 0);
              });
    addButton(OPTIONS, 42, getLangText(LANG_WINDOW_MENU_OPTIONS_INFOTIP),
              [](MenuButton*, MenuWindowBase*)
              {
                  if (menuHooks().openOptions)
                      menuHooks().openOptions();
              });
    addButton(HELP, 43, getLangText(LANG_WINDOW_MENU_HELP_INFOTIP),
              [](MenuButton*, MenuWindowBase*) { (new WindowHelp(false))->open(); });
    addButton(QUIT, 44, getLangText(LANG_WINDOW_MENU_QUIT_INFOTIP),
              [](MenuButton*, MenuWindowBase* menu)
              {
                  menu->close();
                  if (menuHooks().closeMenuVideo)
                      menuHooks().closeMenuVideo();
                  if (menuHooks().quit)
                      menuHooks().quit();
              });
}
