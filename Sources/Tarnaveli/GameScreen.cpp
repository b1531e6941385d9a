#include "Tarnaveli/GameScreen.h"

#include "Framework/ApplicationGeneric.h"
#include "Framework/LangTable.h"
#include "Gui/Dialog.h"
#include "Gui/GuiManager.h"
#include "Network/GameMessages.h"
#include "Network/NetworkEvent.h"
#include "Network/NetworkPeer.h"
#include "Network/NetworkPlayerInfo.h"
#include "Platform/System/Memory.h"
#include "Tarnaveli/Board/Board.h"
#include "Tarnaveli/Board/ComputerPlayer.h"
#include "Tarnaveli/Board/NetworkPlayer.h"
#include "Tarnaveli/Board/Player.h"
#include "Tarnaveli/ChatPanel.h"
#include "Tarnaveli/ChatWindow.h"
#include "Tarnaveli/GameApplication.h"
#include "Tarnaveli/GameLang.h"
#include "Tarnaveli/GameTextFormat.h"
#include "Tarnaveli/MenuServices.h"
#include "Tarnaveli/SavedGame.h"
#include "Tarnaveli/TutorialAdvisor.h"
#include "Tarnaveli/WindowPrepareGame.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace
{
GameScreen* gCurrent = nullptr;

constexpr int32_t kDefaultWidth = 1024;
constexpr int32_t kDefaultHeight = 768;
constexpr size_t kMoveLineLength = 256;
const Rect kAdvisorRect{0, 0, 200, 200};

int32_t clientWidth()
{
    ApplicationGeneric* application = getApplication();
    return application != nullptr && application->getSettings().mClientWidth > 0
               ? static_cast<int32_t>(application->getSettings().mClientWidth)
               : kDefaultWidth;
}

int32_t clientHeight()
{
    ApplicationGeneric* application = getApplication();
    return application != nullptr && application->getSettings().mClientHeight > 0
               ? static_cast<int32_t>(application->getSettings().mClientHeight)
               : kDefaultHeight;
}

// A game text, empty when no language file has been loaded.
std::string screenText(uint32_t id)
{
    ApplicationGeneric* application = getApplication();
    LangTable* lang = application != nullptr ? application->getLangTable() : nullptr;
    if (lang == nullptr || !lang->isLoaded() || id >= lang->size())
        return std::string();
    return lang->getText(id);
}

bool isNetworkKind(uint32_t kind)
{
    return kind == PLAYER_NETWORK_REMOTE || kind == PLAYER_NETWORK_LOCAL;
}

} // namespace

NetworkGameScreen* GameScreenLinks::getGameScreen()
{
    return GameScreen::current();
}

NetworkWaitingWindow* GameScreenLinks::getWaitingWindow()
{
    return WindowPrepareGame::current();
}

std::string GameScreenLinks::getText(uint32_t languageId)
{
    return screenText(languageId);
}

GameScreen* GameScreen::current()
{
    return gCurrent;
}

void GameScreen::installLinks()
{
    static GameScreenLinks links;
    setNetworkGameLinks(&links);
    ChatWindow::setPanelMaker([](int32_t x, int32_t y, int32_t width, int32_t height) -> Component*
                              { return new ChatPanel(x, y, width, height); });
}

GameScreen* GameScreen::startLocalGame(GameScreenServices& services, const LocalGameRequest& request)
{
    auto* screen = new GameScreen(services);
    std::unique_ptr<Player> players[2];
    for (uint32_t side = 0; side < 2; ++side)
    {
        if (request.playerKind[side] == PLAYER_COMPUTER)
            players[side] = std::make_unique<ComputerPlayer>(screen->getBoard(), side, request.level);
        else
            players[side] = std::make_unique<HumanPlayer>(side);
    }
    screen->newGame(std::move(players[0]), std::move(players[1]), request.tutorial);
    return screen;
}

GameScreen* GameScreen::startNetworkGame(GameScreenServices& services, std::unique_ptr<Player> white,
                                         std::unique_ptr<Player> black)
{
    auto* screen = new GameScreen(services);
    screen->newGame(std::move(white), std::move(black), false);
    return screen;
}

GameScreen::GameScreen(GameScreenServices& services)
    : Layer(0, 0, clientWidth(), clientHeight(), kLookId, false), mServices(services)
{
    GameApplication* game = GameApplication::current();
    if (game != nullptr)
        game->closeMenuVideoWindow();
    gCurrent = this;
    if (game != nullptr)
        game->setGameScreenShown(true);
    createBoard();
    if (game != nullptr)
        game->setMusicMode(MusicMode::Stopped);
}

GameScreen::~GameScreen()
{
    if (gCurrent == this)
        gCurrent = nullptr;
    if (GameApplication* game = GameApplication::current(); game != nullptr && gCurrent == nullptr)
        game->setGameScreenShown(false);
    // Either may be gone already: at shut-down the root deletes its layers
    // in its own order.
    if (mGameMenu != nullptr)
        mGameMenu->close();
    if (mAdvisor != nullptr)
        mAdvisor->close();
    // The view's widget reads the board and reports to the view's link
    // until it goes: it goes first.
    deleteAllChildren();
    mView.reset();
    mBoard.reset();
    // The board's scene went with it: without this, every game played would
    // leave its memory resident behind the main menu.
    Platform::releaseFreeMemoryAfterFrames(2);
}

void GameScreen::createBoard()
{
    mBoard = std::make_unique<Board>();
    mView = mServices.createView(*this, *mBoard);
    if (mView != nullptr && mView->getWidget() != nullptr)
        addChild(mView->getWidget());
}

NetworkPeer* GameScreen::network() const
{
    return mServices.getNetwork();
}

void GameScreen::newGame(std::unique_ptr<Player> player0, std::unique_ptr<Player> player1, bool tutorial)
{
    if (GameApplication* game = GameApplication::current())
        game->getSetup().mFirstGame = false;
    mBoard->reset();
    mBoard->setPlayer(0, std::move(player0));
    mBoard->setPlayer(1, std::move(player1));
    if (!isOpened())
        open();

    if (isNetworkGame())
    {
        if (mChatWindow == nullptr)
        {
            GameScreenServices::ChatWindowParts parts = mServices.createChatWindow(*this);
            mChatWindow = parts.window;
            mChatPanel = parts.panel;
            if (mChatWindow != nullptr)
                mChatWindow->open();
        }
    }
    else
        closeChatWindow();

    if (mView != nullptr)
        mView->resetForNewGame();

    if (tutorial && mAdvisor == nullptr)
    {
        mAdvisor = showLayer(std::make_unique<TutorialAdvisor>(kAdvisorRect, this, 0));
        if (mAdvisor != nullptr)
            mAdvisor->update();
    }
}

void GameScreen::closeChatWindow()
{
    if (mChatWindow != nullptr)
        mChatWindow->close();
    mChatWindow = nullptr;
    mChatPanel = nullptr;
}

void GameScreen::removeAdvisor()
{
    if (mAdvisor != nullptr)
        mAdvisor->close();
    mAdvisor = nullptr;
}

void GameScreen::animate()
{
    Container::animate();
    if (!isNetworkGame())
        return;
    // A move that arrives while the previous one is still being shown would
    // find the turn not yet passed; it waits in the queue until the view is
    // idle, as do the events behind it.
    if (mView != nullptr && mView->isShowingMove())
        return;
    NetworkPeer* peer = network();
    if (peer == nullptr)
        return;
    std::scoped_lock guard(*peer);
    for (uint32_t handled = 0; handled < NetworkEndpoint::kEventsPerFrame && !mLeaving; ++handled)
    {
        std::unique_ptr<NetworkEvent> event = peer->popEvent();
        if (event == nullptr)
            break;
        const uint32_t kind = event->getKind();
        if (kind == NETWORK_EVENT_PLAYER_LEFT)
        {
            leaveToMainMenu(screenText(LANG_NETWORK_OPPONENT_LEFT));
            break;
        }
        if (kind == NETWORK_EVENT_SESSION_ENDED)
        {
            auto* data = dynamic_cast<NetworkDataEvent*>(event.get());
            leaveToMainMenu(data != nullptr ? data->getDisconnectText() : std::string());
            break;
        }
        if (kind == NETWORK_EVENT_MESSAGE)
        {
            auto* received = dynamic_cast<NetworkMessageEvent*>(event.get());
            if (received != nullptr && received->getMessage() != nullptr)
                received->getMessage()->execute(peer, received->getSender());
            // A move now being shown holds back what follows it.
            if (mView != nullptr && mView->isShowingMove())
                break;
        }
    }
}

void GameScreen::playMove(const Move& move)
{
    if (isNetworkGame())
        logMoveInChat(move);
    if (mView != nullptr)
        mView->startMove(move);
    else
        mBoard->playMove(move);
}

void GameScreen::sendMove(uint32_t rank, uint32_t index)
{
    NetworkPeer* peer = network();
    if (peer == nullptr)
        return;
    std::scoped_lock guard(*peer);
    auto payload = std::make_unique<MovePayload>(static_cast<uint8_t>(rank), static_cast<uint8_t>(index));
    payload->computeSize();
    peer->send(std::make_unique<MoveMessage>(std::move(payload)), nullptr);
}

void GameScreen::onGameOver(uint32_t winner)
{
    mServices.openEndWindow(*this, winner);
}

void GameScreen::logMoveInChat(const Move& move)
{
    if (mChatPanel == nullptr)
        return;
    const Piece* piece = move.getPiece();
    if (piece == nullptr || !piece->isOnBoard())
        return;
    std::string name;
    if (auto* player = dynamic_cast<NetworkPlayer*>(mBoard->getPlayer(piece->getSide())))
    {
        NetworkPeer* peer = network();
        NetworkPlayerInfo* info = player->getInfo();
        if (peer != nullptr)
        {
            std::scoped_lock guard(*peer);
            if (info != nullptr)
                name = info->getName();
        }
        else if (info != nullptr)
            name = info->getName();
    }
    // The piece set maps each rank to its own animal.
    const std::string animal = screenText(LANG_THE_PION_NAME_RAT + piece->getRank());
    const auto column = [](int32_t x) { return std::string(1, static_cast<char>('A' + x)); };
    const std::string line =
        formatGameText(screenText(LANG_MOVE_DESCRIPTION),
                       {name, animal, column(piece->getX()), std::to_string(piece->getY() + 1),
                        column(move.getTargetX()), std::to_string(move.getTargetY() + 1)},
                       kMoveLineLength);
    mChatPanel->append(line, kChatLogColor);
}

void GameScreen::leaveToMainMenu(const std::string& message)
{
    if (mLeaving)
        return;
    mLeaving = true;
    if (isNetworkGame())
    {
        if (NetworkPeer* peer = network())
        {
            std::scoped_lock guard(*peer);
            peer->closeSession();
        }
    }
    closeScreen();
    mServices.openMainMenu();
    if (!message.empty())
    {
        auto* box = new MessageDialog(screenText(LANG_NETWORK_DISCONNECTED), message, 1, nullptr, nullptr);
        box->open();
    }
}

void GameScreen::closeScreen()
{
    // Received messages no longer reach a screen that is going.
    if (gCurrent == this)
        gCurrent = nullptr;
    closeGameWindows();
    close();
    closeChatWindow();
}

void GameScreen::closeGameWindows()
{
    // Whatever stands over the screen was opened in its game: the end
    // window, the in-game menu and all it opened, the advisor, the chat. Left
    // open, a window would come back over the next game and answer its keys.
    // Those still waiting to be shown stand over it too. Closed without an
    // answer, the end window writes no record and a file dialog no file.
    GuiManager* gui = GuiManager::current();
    if (gui == nullptr || gui->getRoot() == nullptr)
        return;
    std::vector<Component*> stack = gui->getRoot()->getChildren();
    for (const GuiManager::Operation& waiting : gui->getOperations())
        if ((waiting.op == GUI_OP_ADD || waiting.op == GUI_OP_ADD_ON_TOP) && waiting.parent == gui->getRoot())
            stack.push_back(waiting.component);
    const auto screen = std::find(stack.begin(), stack.end(), this);
    if (screen == stack.end())
        return;
    for (auto over = std::next(screen); over != stack.end(); ++over)
        if (auto* window = dynamic_cast<Layer*>(*over))
            window->close();
}

void GameScreen::openGameMenu()
{
    setBoardButtonsEnabled(false);
    mGameMenu = mServices.openGameMenu(*this);
    placeGameMenuClearOfChat();
}

void GameScreen::placeGameMenuClearOfChat()
{
    // The menu opens over the chat window; where its buttons would cross
    // the window's lower part, it goes down below the window, as far as the
    // screen lets it.
    if (mGameMenu == nullptr || mChatWindow == nullptr || !mChatWindow->isVisible())
        return;
    const Rect menu = mGameMenu->getRect();
    const Rect chat = mChatWindow->getRect();
    const bool crosses = menu.x < chat.x + chat.width && chat.x < menu.x + menu.width &&
                         menu.y < chat.y + chat.height && chat.y < menu.y + menu.height;
    const int32_t below = chat.y + chat.height;
    if (crosses && below + menu.height <= clientHeight())
        mGameMenu->moveTo(menu.x, below, true);
}

void GameScreen::closeGameMenu()
{
    setBoardButtonsEnabled(true);
    mGameMenu = nullptr;
}

void GameScreen::openChatWindow()
{
    if (mChatWindow != nullptr)
        mChatWindow->setVisible(true);
}

void GameScreen::onChatWindowHidden()
{
    if (mView != nullptr)
        mView->enableChatButton();
}

bool GameScreen::isNetworkGame() const
{
    const Player* player = mBoard != nullptr ? mBoard->getPlayer(0) : nullptr;
    return player != nullptr && isNetworkKind(player->getKind());
}

Player* GameScreen::findPlayerByNetworkId(const NetworkPlayerInfo* sender) const
{
    if (sender == nullptr)
        return nullptr;
    for (uint32_t side = 0; side < 2; ++side)
    {
        auto* player = dynamic_cast<NetworkPlayer*>(mBoard->getPlayer(side));
        if (player != nullptr && player->getInfo() == sender)
            return player;
    }
    return nullptr;
}

ErrorCode GameScreen::render3D()
{
    return mView != nullptr ? mView->render3D() : ERROR_OK;
}

void GameScreen::setBoardButtonsEnabled(bool enabled)
{
    if (mView != nullptr)
        mView->setButtonsEnabled(enabled);
}

ErrorCode GameScreen::saveGame(const std::string& path)
{
    return SavedGame::save(path, *mBoard);
}

ErrorCode GameScreen::loadGame(const std::string& path)
{
    // The board stays the same object, so the view keeps drawing it; only
    // a wholly valid file changes it.
    if (ErrorCode error = SavedGame::loadInto(path, *mBoard))
        return error;
    if (mView != nullptr)
        mView->resetForNewGame();
    updateLayout();
    // A loaded game has no tutorial.
    removeAdvisor();
    return ERROR_OK;
}

void GameScreen::onMoveStarted(const Move&)
{
    if (mAdvisor != nullptr)
        mAdvisor->hide();
}

void GameScreen::onMoveFinished(const Move&)
{
    if (mAdvisor != nullptr && mBoard->getSideToMove() == 0)
        mAdvisor->update();
}

void GameScreen::onMoveUndone()
{
    if (mAdvisor == nullptr)
        return;
    if (mBoard->getSideToMove() == 1)
        mAdvisor->hide();
    else
        mAdvisor->update();
}

void GameScreen::onPieceSelected(Piece& piece)
{
    if (mAdvisor != nullptr && mBoard->getSideToMove() == 0)
        mAdvisor->onPieceSelected(piece);
}

void GameScreen::deactivate()
{
    if (mPaused)
        return;
    mPausedByDeactivation = false;
    mPaused = true;
}

void GameScreen::activate()
{
    if (mPausedByDeactivation)
        return;
    mPaused = false;
}

void GameScreen::pauseForDeactivation()
{
    if (mPaused)
        return;
    mPaused = true;
    mPausedByDeactivation = true;
}

void GameScreen::resumeAfterActivation()
{
    if (mPausedByDeactivation)
        mPaused = false;
}

NetworkChatPanel* GameScreen::getChatPanel()
{
    return mChatPanel;
}

bool GameScreen::findPlayerByNetworkRecord(const NetworkPlayerInfo* record, uint32_t& kind, uint32_t& side)
{
    const Player* player = findPlayerByNetworkId(record);
    if (player == nullptr)
        return false;
    kind = player->getKind();
    side = player->getSide();
    return true;
}

uint32_t GameScreen::getSideToMove()
{
    return mBoard->getSideToMove();
}

bool GameScreen::isPieceOnBoard(uint32_t side, uint32_t rank)
{
    return side < 2 && rank < 8 && mBoard->getPiece(side, rank).isOnBoard();
}

uint32_t GameScreen::countPieceMoves(uint32_t side, uint32_t rank)
{
    MoveList moves;
    mBoard->generateMoves(side, rank, moves);
    return moves.getCount();
}

void GameScreen::playMove(uint32_t side, uint32_t rank, uint32_t moveIndex)
{
    MoveList moves;
    mBoard->generateMoves(side, rank, moves);
    if (moveIndex >= moves.getCount())
        return;
    // The view keeps its own copy of the list.
    playMove(moves[moveIndex]);
}
