#pragma once
// What the board view tells the in-game screen, and what it asks of it. The
// screen implements it and owns the view; the view never deletes it.
#include <cstdint>

class Move;
class Piece;

class BoardViewListener
{
public:
    virtual void onMoveStarted(const Move& move) = 0;
    // The move has been played on the board and the turn has passed.
    virtual void onMoveFinished(const Move& move) = 0;
    virtual void onMoveUndone() = 0;
    virtual void onPieceSelected(Piece& piece) = 0;

    // A move chosen at this machine, to be shown: the screen writes it into
    // the chat in a network game, then calls BoardGraphics::startMove.
    virtual void playMove(const Move& move) = 0;
    // The local player of a network game moved: post the move message
    // (the piece's rank, the move's index in its list) to the peer.
    virtual void sendMove(uint32_t rank, uint32_t index) = 0;
    // The game is over and `winner` won it: the end-of-game window.
    virtual void onGameOver(uint32_t winner) = 0;
    // The board buttons' requests.
    virtual void openGameMenu() {}
    virtual void openChatWindow() {}
    // The chat button stays disabled while the chat window shows.
    virtual bool isChatWindowOpen() const { return false; }

protected:
    // The view never deletes its listener.
    ~BoardViewListener() = default;
};
