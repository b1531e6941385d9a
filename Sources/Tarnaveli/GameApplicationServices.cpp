// What the game application answers to the menus, the in-game screen and the
// network windows: the windows and screens it opens, and what it asks of the
// screen being shown.
#include "Tarnaveli/GameApplication.h"

#include "Engine2DD3D/VideoVMR9Texture.h"
#include "Sound/SoundManager.h"
#include "Tarnaveli/Board/Board.h"
#include "Tarnaveli/Board/ComputerPlayer.h"
#include "Tarnaveli/Board/Player.h"
#include "Tarnaveli/BoardViewLink.h"
#include "Tarnaveli/ChatPanel.h"
#include "Tarnaveli/ChatWindow.h"
#include "Tarnaveli/GameScreen.h"
#include "Tarnaveli/MenuVideoWindow.h"
#include "Tarnaveli/SavedGameDialogs.h"
#include "Tarnaveli/WindowGameMenu.h"
#include "Tarnaveli/WindowJoinGame.h"
#include "Tarnaveli/WindowMenu.h"
#include "Tarnaveli/WindowNewGameMulti.h"
#include "Tarnaveli/WindowOption.h"
#include "Tarnaveli/WindowPrepareGame.h"
#include "Tarnaveli/WindowQuit.h"
#include "Tarnaveli/WindowWin.h"

void GameApplication::connectVideoSound(SoundManager* sound)
{
    VideoVMR9Texture::setAudioDevice(sound != nullptr ? sound->getSharedAudioDevice() : nullptr);
    if (sound != nullptr)
        EngineComponent::listenToSoundManager(*sound);
}

void GameApplication::openMainMenu()
{
    WindowMenu::openNew(*this);
}

void GameApplication::showMenuVideo()
{
    MenuVideoWindow::openNew(*this);
}

void GameApplication::hideMenuVideo()
{
    if (MenuVideoWindow* video = MenuVideoWindow::current())
        video->close();
}

void GameApplication::openClosingScreen()
{
    // The closing picture quits the program when it ends; a picture that
    // cannot be shown must not keep the program from quitting.
    if (showLayer(std::make_unique<WindowQuit>(mGameDescription.get())) == nullptr)
        quitApplication(false);
}

void GameApplication::openNetworkGameWindow()
{
    (new WindowNewGameMulti(*this))->open();
}

void GameApplication::startMenuMusic()
{
    setMusicMode(MusicMode::Menu);
}

void GameApplication::playEffect(uint32_t soundId)
{
    if (SoundManager* sound = getSoundManager())
        sound->playSound(1, 7, soundId, -1, false, false);
}

void GameApplication::fatalQuit()
{
    quitApplication(true);
}

// Each window is made on the running game's objects; without them (no
// network object yet) nothing opens.
void GameApplication::openOptions()
{
    if (WindowOption* window = WindowOption::createForGame())
        window->open();
}

void GameApplication::openJoinWindow()
{
    if (mNetwork != nullptr)
        (new WindowJoinGame(*mNetwork, *this))->open();
}

// The window learns from the session whether this machine hosts.
void GameApplication::openWaitingWindow()
{
    if (mNetwork != nullptr)
        (new WindowPrepareGame(*mNetwork, *this))->open();
}

void GameApplication::startLocalGame(const LocalGameRequest& request)
{
    GameScreen::startLocalGame(*this, request);
}

void GameApplication::startNetworkGame(std::unique_ptr<Player> white, std::unique_ptr<Player> black)
{
    GameScreen::startNetworkGame(*this, std::move(white), std::move(black));
}

void GameApplication::openLoadDialog(bool inGame)
{
    SavedGameDialogs::openLoadDialog(*this, *this, inGame);
}

void GameApplication::openSaveDialog()
{
    SavedGameDialogs::openSaveDialog();
}

void GameApplication::leaveToMainMenu(const std::string& message)
{
    if (GameScreen* current = GameScreen::current())
        current->leaveToMainMenu(message);
}

void GameApplication::closeGameMenu()
{
    if (GameScreen* current = GameScreen::current())
        current->closeGameMenu();
}

bool GameApplication::isNetworkGame() const
{
    GameScreen* current = GameScreen::current();
    return current != nullptr && current->isNetworkGame();
}

bool GameApplication::isGameOver() const
{
    GameScreen* current = GameScreen::current();
    return current != nullptr && current->getBoard()->isDenEntered();
}

ErrorCode GameApplication::renderGame3D()
{
    GameScreen* current = GameScreen::current();
    return current != nullptr ? current->render3D() : ERROR_OK;
}

void GameApplication::pauseGame()
{
    if (GameScreen* current = GameScreen::current())
        current->pauseForDeactivation();
}

void GameApplication::resumeGame()
{
    if (GameScreen* current = GameScreen::current())
        current->resumeAfterActivation();
}

std::unique_ptr<GameScreenView> GameApplication::createView(GameScreen& screen, Board& board)
{
    return BoardViewLink::create(screen, board);
}

GameScreenServices::ChatWindowParts GameApplication::createChatWindow(GameScreen& screen)
{
    auto* window = new ChatWindow();
    window->onHidden = [&screen] { screen.onChatWindowHidden(); };
    ChatWindowParts parts;
    parts.window = window;
    parts.panel = dynamic_cast<ChatPanel*>(window->getChatPanel());
    return parts;
}

Layer* GameApplication::openGameMenu(GameScreen&)
{
    auto* menu = new WindowGameMenu(*this);
    menu->open();
    return menu;
}

void GameApplication::openEndWindow(GameScreen& screen, uint32_t winner)
{
    Board& board = *screen.getBoard();
    GameOutcome outcome;
    outcome.winnerSide = winner & 1;
    outcome.network = screen.isNetworkGame();
    const Player* winnerPlayer = board.getPlayer(outcome.winnerSide);
    outcome.winnerIsLocal = winnerPlayer != nullptr && winnerPlayer->getKind() == PLAYER_NETWORK_LOCAL;
    for (uint32_t side = 0; side < 2; ++side)
    {
        const Player* player = board.getPlayer(side);
        outcome.playerKind[side] = player != nullptr && player->getKind() == PLAYER_COMPUTER ? 1 : 0;
        if (auto* computer = dynamic_cast<const ComputerPlayer*>(player))
            outcome.computerLevel = computer->getLevel();
    }
    outcome.elapsedMs = board.getClock().getElapsed();
    outcome.moves = board.getMoveCount();
    (new WindowWin(outcome, *this))->open();
}

WaitingChatPanel GameApplication::createChatPanel(int32_t x, int32_t y, int32_t width, int32_t height)
{
    return ChatPanel::makeWaitingPanel(x, y, width, height);
}
