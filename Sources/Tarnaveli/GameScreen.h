#pragma once
// The full-screen window in which a game is played. It owns the board and
// its view, starts games with two players (optionally with the tutorial
// advisor), plays the chosen moves (writing each into the chat in a network
// game), drains the network object's event queue every frame in a network
// game, checks and plays the moves the remote player sends, saves and loads
// games, and leaves to the main menu with an optional message.
//
// The 3D board view and the windows this screen opens (main menu, in-game
// menu, end-of-game window, chat window) belong to other parts of the game:
// the screen asks for them through the services it is made with.
#include "Gui/ComponentRef.h"
#include "Gui/Layer.h"
#include "Network/NetworkGameLinks.h"
#include "Tarnaveli/GameScreenServices.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class Board;
class ChatPanel;
class Component;
class Move;
class NetworkPeer;
class Piece;
class Player;
class TutorialAdvisor;
struct LocalGameRequest;

// What the screen asks of its board view. The view's widget is a child of
// the screen (the screen's container deletes it, before this object); this
// object is the screen's own. The board stays the same object for the
// screen's whole life.
class GameScreenView
{
public:
    virtual ~GameScreenView() = default;
    virtual Component* getWidget() = 0;
    // Animates the move; the view plays it on the board when done.
    virtual void startMove(const Move& move) = 0;
    // A new or reloaded game: animation and selection dropped, laid out.
    virtual void resetForNewGame() = 0;
    virtual ErrorCode render3D() = 0;
    virtual void setButtonsEnabled(bool enabled) = 0;
    // The chat window was hidden: its button may show it again.
    virtual void enableChatButton() = 0;
    // A move is being animated and not yet played on the board.
    virtual bool isShowingMove() = 0;
};

// What received messages reach the current screen and the open waiting
// window by.
class GameScreenLinks : public NetworkGameLinks
{
public:
    NetworkGameScreen* getGameScreen() override;
    NetworkWaitingWindow* getWaitingWindow() override;
    std::string getText(uint32_t languageId) override;
};

class GameScreen : public Layer, public NetworkGameScreen
{
public:
    static constexpr uint32_t kLookId = 8;
    static constexpr uint32_t kChatLogColor = 0xFF808000;

    // The screen currently shown, or null.
    static GameScreen* current();
    // Installs the links through which received messages reach the current
    // screen and the waiting window; once, at start-up.
    static void installLinks();

    explicit GameScreen(GameScreenServices& services);
    // A new screen playing the game the menus ask for; a computer player
    // plays on the screen's board.
    static GameScreen* startLocalGame(GameScreenServices& services, const LocalGameRequest& request);
    // A new screen playing a network game: white (side 0) against black.
    static GameScreen* startNetworkGame(GameScreenServices& services, std::unique_ptr<Player> white,
                                        std::unique_ptr<Player> black);
    ~GameScreen() override;

    void newGame(std::unique_ptr<Player> player0, std::unique_ptr<Player> player1, bool tutorial);

    // A move chosen at this machine or received: logged in the chat in a
    // network game, then animated by the view.
    void playMove(const Move& move);
    // The local player of a network game moved: the move message to the peer.
    void sendMove(uint32_t rank, uint32_t index);
    void onGameOver(uint32_t winner);
    void logMoveInChat(const Move& move);
    // The screen goes, and every window of its game with it.
    void closeScreen();
    void openGameMenu();
    void closeGameMenu();
    void openChatWindow();
    bool isNetworkGame() const;
    Player* findPlayerByNetworkId(const NetworkPlayerInfo* sender) const;
    ErrorCode render3D();
    void setBoardButtonsEnabled(bool enabled);
    // The chat window was hidden by its button.
    void onChatWindowHidden();

    ErrorCode saveGame(const std::string& path);
    // The current game stays as it was unless the whole file is valid.
    ErrorCode loadGame(const std::string& path);

    // What the board view reports.
    void onMoveStarted(const Move& move);
    void onMoveFinished(const Move& move);
    void onMoveUndone();
    void onPieceSelected(Piece& piece);

    // Layer.
    void animate() override;
    void activate() override;
    void deactivate() override;
    // The main window lost or regained activation.
    void pauseForDeactivation();
    void resumeAfterActivation();

    // NetworkGameScreen: a received move, checked by the message.
    NetworkChatPanel* getChatPanel() override;
    bool findPlayerByNetworkRecord(const NetworkPlayerInfo* record, uint32_t& kind, uint32_t& side) override;
    uint32_t getSideToMove() override;
    bool isPieceOnBoard(uint32_t side, uint32_t rank) override;
    uint32_t countPieceMoves(uint32_t side, uint32_t rank) override;
    void playMove(uint32_t side, uint32_t rank, uint32_t moveIndex) override;
    void leaveToMainMenu(const std::string& message) override;

    Board* getBoard() const { return mBoard.get(); }
    GameScreenView* getView() const { return mView.get(); }
    ChatPanel* getChatPanelWidget() const { return mChatPanel; }
    Layer* getChatWindow() const { return mChatWindow; }
    TutorialAdvisor* getTutorialAdvisor() const { return mAdvisor; }
    Layer* getGameMenu() const { return mGameMenu; }
    bool isPaused() const { return mPaused; }
    bool isPausedByDeactivation() const { return mPausedByDeactivation; }

private:
    void createBoard();
    void closeChatWindow();
    void closeGameWindows();
    void placeGameMenuClearOfChat();
    void removeAdvisor();
    NetworkPeer* network() const;

    GameScreenServices& mServices;
    bool mPaused = false;
    bool mPausedByDeactivation = false;
    std::unique_ptr<Board> mBoard;
    std::unique_ptr<GameScreenView> mView;
    // The GUI root owns these windows (and the chat window its panel): each
    // reads null once it is gone.
    ComponentRef<ChatPanel> mChatPanel;
    ComponentRef<Layer> mChatWindow;
    ComponentRef<Layer> mGameMenu;
    ComponentRef<TutorialAdvisor> mAdvisor;
    // Set while leaving, so a second leave in the same frame does nothing.
    bool mLeaving = false;
};
