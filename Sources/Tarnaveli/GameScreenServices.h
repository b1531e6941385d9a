#pragma once
// What the in-game screen asks of the rest of the game: its board view, the
// windows it opens (chat, in-game menu, end of game, main menu) and the
// network object. The game application answers; each screen is given it
// when it is made.
#include <cstdint>
#include <memory>

class Board;
class ChatPanel;
class GameScreen;
class GameScreenView;
class Layer;
class NetworkPeer;

class GameScreenServices
{
public:
    // The chat window of a network game: the layer (opened by the screen)
    // and the chat panel inside it.
    struct ChatWindowParts
    {
        Layer* window = nullptr;
        ChatPanel* panel = nullptr;
    };

    // The board view over the board, reporting to the screen.
    virtual std::unique_ptr<GameScreenView> createView(GameScreen& screen, Board& board) = 0;
    virtual ChatWindowParts createChatWindow(GameScreen& screen) = 0;
    // The in-game menu, opened; it tells the screen when it closes.
    virtual Layer* openGameMenu(GameScreen& screen) = 0;
    virtual void openEndWindow(GameScreen& screen, uint32_t winner) = 0;
    virtual void openMainMenu() = 0;
    virtual NetworkPeer* getNetwork() const = 0;

protected:
    ~GameScreenServices() = default;
};
