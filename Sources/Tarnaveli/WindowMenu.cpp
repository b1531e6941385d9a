#include "Tarnaveli/WindowMenu.h"

#include "Framework/ApplicationGeneric.h"
#include "Framework/LangTable.h"
#include "Gui/Image.h"
#include "Tarnaveli/GameLang.h"
#include "Tarnaveli/ScoreListView.h"
#include "Tarnaveli/SetupConfig.h"
#include "Tarnaveli/WindowAskTutorial.h"
#include "Tarnaveli/WindowHelp.h"
#include "Tarnaveli/WindowNewGame.h"

WindowMenu* WindowMenu::openNew(MenuServices& services)
{
    auto* menu = new WindowMenu(services);
    menu->open();
    return menu;
}

WindowMenu::WindowMenu(MenuServices& services)
    : MenuWindowBase(BUTTON_COUNT, TITLE_HEIGHT), mServices(services)
{
    mServices.openMenuVideoWindow();
    ApplicationGeneric* application = getApplication();
    if (Texture* title = application != nullptr ? application->getImage(IMAGE_TITLE) : nullptr)
    {
        mTitle = new Image(0, -110, title);
        mTitle->setRelativePosition((WIDTH - mTitle->getWidth()) / 2, -110);
        addChild(mTitle);
    }

    addButton(TUTORIAL, 37, getLangText(LANG_WINDOW_MENU_NEW_GAME_TUTORIAL_INFOTIP),
              [this](MenuButton*, MenuWindowBase* menu)
              {
                  menu->close();
                  WindowAskTutorial::startTutorialGame(mServices);
              });
    addButton(SOLO, 38, getLangText(LANG_WINDOW_MENU_NEW_GAME_SOLO_INFOTIP),
              [this](MenuButton*, MenuWindowBase* menu)
              {
                  menu->close();
                  if (mServices.getSetup().mFirstGame)
                      (new WindowAskTutorial(WindowAskTutorial::MODE_SOLO, mServices))->open();
                  else
                      (new WindowNewGame(mServices))->open();
              });
    addButton(MULTI, 39, getLangText(LANG_WINDOW_MENU_NEW_GAME_MULTI_INFOTIP),
              [this](MenuButton*, MenuWindowBase* menu)
              {
                  menu->close();
                  if (mServices.getSetup().mFirstGame)
                      (new WindowAskTutorial(WindowAskTutorial::MODE_NETWORK, mServices))->open();
                  else
                      mServices.openNetworkMenu();
              });
    addButton(LOAD, 40, getLangText(LANG_WINDOW_MENU_LOAD_GAME_INFOTIP),
              [this](MenuButton*, MenuWindowBase*) { mServices.openLoadDialog(false); });
    addButton(SCORES, 41, getLangText(LANG_WINDOW_MENU_SCORES_INFOTIP),
              [this](MenuButton*, MenuWindowBase*)
              {
                  if (ScoreTable* table = mServices.getScoreTable())
                      (new ScoreListView(table, ScoreListView::menuLevel(mServices.getSetup()), -1))->open();
              });
    addButton(OPTIONS, 42, getLangText(LANG_WINDOW_MENU_OPTIONS_INFOTIP),
              [this](MenuButton*, MenuWindowBase*) { mServices.openOptions(); });
    addButton(HELP, 43, getLangText(LANG_WINDOW_MENU_HELP_INFOTIP),
              [this](MenuButton*, MenuWindowBase*) { (new WindowHelp(false, mServices))->open(); });
    addButton(QUIT, 44, getLangText(LANG_WINDOW_MENU_QUIT_INFOTIP),
              [this](MenuButton*, MenuWindowBase* menu)
              {
                  menu->close();
                  mServices.closeMenuVideoWindow();
                  mServices.quit();
              });
}
