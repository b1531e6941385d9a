#pragma once
// The widget that shows a game held in a Board and runs its turns: the
// person on turn chooses a move, the subclass animates it, and only when the
// animation is over is the move played on the board. A computer on turn
// searches inside the frame; a move into a den, or a side left without a
// legal move, ends the game. Subclasses draw the board.
#include "Gui/Container.h"
#include "Tarnaveli/Board/Move.h"

#include <cstdint>

class Board;
class BoardViewListener;

class BoardGraphics : public Container
{
public:
    BoardGraphics(Board* board, const Rect& rect, BoardViewListener* listener, uint32_t lookId);
    ~BoardGraphics() override;

    virtual void beginMoveAnimation(Move& move) = 0;
    // A game starts or is reloaded: drop any animation and selection.
    virtual void endMoveAnimation() = 0;
    virtual bool isMoveAnimationFinished() = 0;
    virtual ErrorCode render3D() { return 0; }
    virtual void enableChatButton() {}

    // Shows a move; the board changes when its animation has finished.
    // Refused (false) while another move is shown or after the game ended,
    // and for a move that is not the side to move's on this board.
    bool startMove(const Move& move);
    // A person at this machine is on turn and may act now.
    bool canPlayerAct();
    // A move chosen by the person on turn: posted to the network peer when
    // the game is networked, then handed to the screen to show.
    void playChosenMove(const Move& move);
    // Takes back the last move, or the person's move and the computer's
    // reply; never in a network game.
    void undo();
    // The move a level-1 search advises the person on turn; null when it
    // cannot act. Computed once per position.
    const Move* computeHint();
    // A new or reloaded game: the turn is checked again.
    void resetGameState();

    void animate() override;

    Board* getBoard() const { return mBoard; }
    const Move* getCurrentMove() const { return mCurrentMove; }
    // Den entered, or the side on turn had no legal move.
    bool isGameOver() const;
    BoardViewListener* getListener() const { return mListener; }

protected:
    Board* mBoard;
    // Into mCurrentList while a move is shown.
    Move* mCurrentMove = nullptr;
    MoveList mCurrentList;
    MoveList mHintList;
    Move* mHint = nullptr;
    BoardViewListener* mListener;

private:
    void finishCurrentMove();
    // The side on turn has no move: it loses.
    void checkSideCanMove();

    bool mNoMoveLoss = false;
    bool mTurnChecked = false;
};
