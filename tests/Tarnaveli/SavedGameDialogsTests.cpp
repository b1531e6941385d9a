// The menus' load and save entries: the saved-games dialog and what the
// chosen file does to the game screens.
#include "GameScreenFixture.h"
#include "Gui/FileDialog.h"
#include "Tarnaveli/Board/ComputerPlayer.h"
#include "Tarnaveli/MenuVideoWindow.h"
#include "Tarnaveli/SavedGame.h"
#include "Tarnaveli/SavedGameDialogs.h"
#include "Tarnaveli/WindowMenu.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>

namespace
{
struct DialogsFixture : GameScreenFixture
{
    void openLoadDialog(bool inGame) { SavedGameDialogs::openLoadDialog(game, game, inGame); }

    FileDialog* dialog()
    {
        app.gui().processDeferred();
        const auto& children = app.root().getChildren();
        return children.empty() ? nullptr : dynamic_cast<FileDialog*>(children.back());
    }
    // Types the name and presses OK.
    void choose(FileDialog* chosen, const std::string& name)
    {
        chosen->setName(name);
        chosen->onResult(1);
        app.gui().processDeferred();
    }
    void startHumanAgainstComputer()
    {
        openScreen();
        screen->newGame(std::make_unique<HumanPlayer>(0),
                        std::make_unique<ComputerPlayer>(screen->getBoard(), 1, 2), false);
        app.gui().processDeferred();
    }
    std::string savesFolder() const { return folder.path() + "data/saves/"; }
};
} // namespace

TEST(SavedGameDialogs, BothDialogsListTheSavesFolderThroughTheTnvFilter)
{
    DialogsFixture f;
    f.startHumanAgainstComputer();
    for (bool saving : {false, true})
    {
        if (saving)
            SavedGameDialogs::openSaveDialog();
        else
            f.openLoadDialog(true);
        FileDialog* dialog = f.dialog();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->isSaveMode(), saving);
        EXPECT_EQ(dialog->getFolder(), f.savesFolder());
        ASSERT_EQ(dialog->getFilters().size(), 1u);
        EXPECT_EQ(dialog->getFilters()[0].extensions, std::vector<std::string>{".tnv"});
        EXPECT_EQ(dialog->getFilters()[0].iconId, 196u);
        // Cancelling does nothing more than close the dialog.
        dialog->onResult(8);
        f.app.gui().processDeferred();
        EXPECT_EQ(f.topDialog(), nullptr);
    }
}

TEST(SavedGameDialogs, AGameSavedInGameLoadsFromTheMainMenuOnANewScreen)
{
    DialogsFixture f;
    f.startHumanAgainstComputer();
    SavedGameDialogs::openSaveDialog();
    f.choose(f.dialog(), "partie");
    EXPECT_TRUE(std::filesystem::exists(f.savesFolder() + "partie.tnv"));
    EXPECT_EQ(f.topDialog(), nullptr) << "no error after a good save";
    f.screen->closeScreen();
    f.app.gui().processDeferred();
    ASSERT_EQ(GameScreen::current(), nullptr);

    WindowMenu* menu = WindowMenu::openNew(f.game);
    f.openLoadDialog(false);
    f.choose(f.dialog(), "partie");
    EXPECT_FALSE(f.hasLayer(menu)) << "the loaded game replaces the main menu";
    GameScreen* loaded = GameScreen::current();
    ASSERT_NE(loaded, nullptr);
    EXPECT_TRUE(f.hasLayer(loaded));
    auto* computer = dynamic_cast<ComputerPlayer*>(loaded->getBoard()->getPlayer(1));
    ASSERT_NE(computer, nullptr);
    EXPECT_EQ(computer->getLevel(), 2u);
    EXPECT_EQ(loaded->getBoard()->getPlayer(0)->getKind(), PLAYER_HUMAN);
}

TEST(SavedGameDialogs, ADamagedFileShowsTheErrorAndKeepsTheGameOrClosesTheNewScreen)
{
    DialogsFixture f;
    {
        std::ofstream bad(f.savesFolder() + "abime.tnv", std::ios::binary);
        bad << "pas une partie";
    }
    f.startHumanAgainstComputer();
    GameScreen* playing = f.screen;
    Board* board = playing->getBoard();
    f.openLoadDialog(true);
    f.choose(f.dialog(), "abime");
    ASSERT_NE(f.topDialog(), nullptr);
    EXPECT_EQ(GameScreen::current(), playing);
    EXPECT_EQ(playing->getBoard(), board);
    EXPECT_EQ(board->getPlayer(1)->getKind(), PLAYER_COMPUTER);
    f.topDialog()->onResult(1);
    playing->closeScreen();
    f.app.gui().processDeferred();

    WindowMenu* menu = WindowMenu::openNew(f.game);
    f.app.gui().processDeferred();
    // From here the menu's video is the application's (the screen made for
    // the load takes it away).
    f.game.opensMenuVideo = true;
    f.openLoadDialog(false);
    f.choose(f.dialog(), "abime");
    EXPECT_TRUE(f.hasLayer(menu)) << "the main menu stays under the error";
    ASSERT_NE(f.topDialog(), nullptr);
    EXPECT_EQ(GameScreen::current(), nullptr);
    for (Component* child : f.app.root().getChildren())
        EXPECT_EQ(dynamic_cast<GameScreen*>(child), nullptr);
    // Its video background comes back, under it.
    const auto& layers = f.app.root().getChildren();
    auto video =
        std::find_if(layers.begin(), layers.end(),
                     [](Component* child) { return dynamic_cast<MenuVideoWindow*>(child) != nullptr; });
    ASSERT_NE(video, layers.end());
    EXPECT_LT(video - layers.begin(), std::find(layers.begin(), layers.end(), menu) - layers.begin());
}

TEST(SavedGameDialogs, AFailedSaveShowsTheError)
{
    DialogsFixture f;
    f.startHumanAgainstComputer();
    SavedGameDialogs::openSaveDialog();
    FileDialog* dialog = f.dialog();
    ASSERT_NE(dialog, nullptr);
    // The saves folder turns into a file: nothing can be created inside it.
    std::filesystem::remove_all(f.savesFolder());
    std::ofstream(f.folder.path() + "data/saves") << "x";
    f.choose(dialog, "partie");
    EXPECT_NE(f.topDialog(), nullptr);
    EXPECT_EQ(GameScreen::current(), f.screen);
}
