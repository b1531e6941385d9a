#include "Tarnaveli/SavedGameDialogs.h"

#include "Framework/LangTable.h"
#include "Gui/Dialog.h"
#include "Gui/FileDialog.h"
#include "Gui/GuiManager.h"
#include "Tarnaveli/GameLang.h"
#include "Tarnaveli/GameScreen.h"
#include "Tarnaveli/MenuServices.h"
#include "Tarnaveli/MenuVideoWindow.h"
#include "Tarnaveli/SavedGame.h"
#include "Tarnaveli/WindowMenu.h"

#include <functional>

namespace
{
// The skin texture of a saved game's row in the file dialog.
constexpr uint32_t kSavedGameIcon = 196;

// The saved-games dialog on the saves folder, showing only .tnv files; the
// callback gets the chosen path, or nothing when the player cancelled.
void openSavedGameDialog(bool saving, std::function<void(const std::string& path)> onChosen)
{
    auto dialog = std::make_unique<FileDialog>(
        getLangText(saving ? LANG_WINDOW_SAVE_GAME_TITLE : LANG_WINDOW_LOAD_GAME_TITLE), 600, 400,
        SavedGame::kFolder, saving,
        [onChosen](FileDialog* chosen, uint32_t)
        {
            const std::string path = chosen->getAcceptedPath();
            if (!path.empty())
                onChosen(path);
        },
        0);
    dialog->addFilter({SavedGame::kExtension}, getLangText(LANG_SAVEGAME_FILTER), kSavedGameIcon);
    showLayer(std::move(dialog));
}

void showSavedGameError(uint32_t textId)
{
    (new MessageDialog(getLangText(LANG_ERROR), getLangText(textId), 1, nullptr, nullptr))->open();
}

// The main menu under the dialog, which a loaded game replaces.
void closeMainMenu()
{
    GuiManager* gui = GuiManager::current();
    GuiRoot* root = gui != nullptr ? gui->getRoot() : nullptr;
    if (root == nullptr)
        return;
    for (Component* child : root->getChildren())
        if (auto* menu = dynamic_cast<WindowMenu*>(child))
        {
            menu->close();
            return;
        }
}

// The new screen took the menu's video (and its music) away when it was
// made: the menu that stays gets them back, under it and its dialogs.
void restoreMenuBackground(MenuServices& menus)
{
    menus.openMenuVideoWindow();
    GuiManager* gui = GuiManager::current();
    if (MenuVideoWindow* video = MenuVideoWindow::current(); video != nullptr && gui != nullptr)
        gui->postOperation(video, GUI_OP_LOWER, nullptr);
}

// A file saved or loaded in a game, on the screen shown at the time: an
// error says so, else the in-game menu goes.
void onScreenShown(ErrorCode (GameScreen::*operation)(const std::string&), const std::string& path,
                   uint32_t errorTextId)
{
    GameScreen* current = GameScreen::current();
    if (current == nullptr)
        return;
    if ((current->*operation)(path) != ERROR_OK)
        showSavedGameError(errorTextId);
    else if (Layer* menu = current->getGameMenu())
        menu->close();
}
} // namespace

namespace SavedGameDialogs
{
void openLoadDialog(GameScreenServices& screens, MenuServices& menus, bool inGame)
{
    openSavedGameDialog(false,
                        [&screens, &menus, inGame](const std::string& path)
                        {
                            if (inGame)
                            {
                                onScreenShown(&GameScreen::loadGame, path, LANG_WINDOW_LOAD_GAME_ERROR);
                                return;
                            }
                            auto* screen = new GameScreen(screens);
                            if (!screen->isOpened())
                                screen->open();
                            if (screen->loadGame(path) != ERROR_OK)
                            {
                                screen->closeScreen();
                                restoreMenuBackground(menus);
                                showSavedGameError(LANG_WINDOW_LOAD_GAME_ERROR);
                            }
                            else
                                closeMainMenu();
                        });
}

void openSaveDialog()
{
    openSavedGameDialog(true, [](const std::string& path)
                        { onScreenShown(&GameScreen::saveGame, path, LANG_WINDOW_SAVE_GAME_ERROR); });
}
} // namespace SavedGameDialogs
