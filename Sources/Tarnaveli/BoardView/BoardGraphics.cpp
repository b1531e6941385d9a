#include "Tarnaveli/BoardView/BoardGraphics.h"

#include "Tarnaveli/Board/Board.h"
#include "Tarnaveli/Board/ComputerPlayer.h"
#include "Tarnaveli/Board/Player.h"
#include "Tarnaveli/BoardView/BoardViewListener.h"

namespace
{

bool isLocalPerson(const Player* player)
{
    return player != nullptr &&
           (player->getKind() == PLAYER_HUMAN || player->getKind() == PLAYER_NETWORK_LOCAL);
}

} // namespace

BoardGraphics::BoardGraphics(Board* board, const Rect& rect, BoardViewListener* listener, uint32_t lookId)
    : Container(rect, lookId), mBoard(board), mListener(listener)
{
}

BoardGraphics::~BoardGraphics() = default;

bool BoardGraphics::isGameOver() const
{
    return mBoard->isDenEntered() || mNoMoveLoss;
}

bool BoardGraphics::startMove(const Move& move)
{
    // One move at a time, of the side to move, on this board: a second one
    // started over the first would replace it, and the board would play
    // only one of the two while both sides believe they have moved.
    MoveList* owner = move.getOwner();
    if (owner == nullptr || owner->getBoard() != mBoard || owner->getSide() != mBoard->getSideToMove() ||
        mCurrentMove != nullptr || !isMoveAnimationFinished() || isGameOver())
        return false;
    int32_t index = owner->indexOf(&move);
    if (index < 0)
        return false;
    mCurrentList = *owner;
    mCurrentMove = &mCurrentList[static_cast<uint32_t>(index)];
    beginMoveAnimation(*mCurrentMove);
    if (mListener != nullptr)
        mListener->onMoveStarted(move);
    return true;
}

bool BoardGraphics::canPlayerAct()
{
    if (!isMoveAnimationFinished() || isGameOver() || mCurrentMove != nullptr)
        return false;
    return isLocalPerson(mBoard->getPlayer(mBoard->getSideToMove()));
}

void BoardGraphics::playChosenMove(const Move& move)
{
    Player* player = mBoard->getPlayer(mBoard->getSideToMove());
    MoveList* owner = move.getOwner();
    // Checked again when the choice arrives: nothing is sent to the peer
    // for a move that would not be shown.
    if (player == nullptr || owner == nullptr || !canPlayerAct() || owner->getBoard() != mBoard ||
        owner->getSide() != mBoard->getSideToMove())
        return;
    int32_t index = owner->indexOf(&move);
    if (index < 0)
        return;
    if (player->getKind() == PLAYER_NETWORK_LOCAL && mListener != nullptr)
        mListener->sendMove(owner->getRank(), static_cast<uint32_t>(index));
    if (mListener != nullptr)
        mListener->playMove(move);
    else
        startMove(move);
}

void BoardGraphics::undo()
{
    Player* first = mBoard->getPlayer(0);
    if (first != nullptr &&
        (first->getKind() == PLAYER_NETWORK_REMOTE || first->getKind() == PLAYER_NETWORK_LOCAL))
        return;
    if (!canPlayerAct() || mBoard->getHistory().empty())
        return;
    Player* lastMover = mBoard->getPlayer(1 - mBoard->getSideToMove());
    if (lastMover != nullptr && lastMover->getKind() == PLAYER_COMPUTER)
        mBoard->undoMove();
    mBoard->undoMove();
    mHint = nullptr;
    mTurnChecked = false;
    if (mListener != nullptr)
        mListener->onMoveUndone();
}

const Move* BoardGraphics::computeHint()
{
    if (!canPlayerAct())
        return nullptr;
    if (mHint == nullptr)
    {
        ComputerPlayer adviser(mBoard, mBoard->getSideToMove(), 1);
        const Move* chosen = adviser.chooseMove();
        if (chosen == nullptr)
            return nullptr;
        int32_t index = chosen->getOwner()->indexOf(chosen);
        mHintList = *chosen->getOwner();
        mHint = &mHintList[static_cast<uint32_t>(index)];
    }
    return mHint;
}

void BoardGraphics::resetGameState()
{
    mCurrentMove = nullptr;
    mHint = nullptr;
    mNoMoveLoss = false;
    mTurnChecked = false;
}

void BoardGraphics::finishCurrentMove()
{
    uint32_t mover = mBoard->getSideToMove();
    Move played = *mCurrentMove;
    mBoard->playMove(*mCurrentMove);
    if (mListener != nullptr)
        mListener->onMoveFinished(*mCurrentMove);
    updateLayout();
    if (played.getKind() == MOVE_DEN_ENTRY)
    {
        mBoard->getClock().stop();
        if (mListener != nullptr)
            mListener->onGameOver(mover);
    }
    mCurrentMove = nullptr;
    mHint = nullptr;
    mTurnChecked = false;
}

void BoardGraphics::checkSideCanMove()
{
    // The rules leave a side without any move stuck: it loses, as if its
    // den had been taken, rather than the game hanging on an empty search.
    mTurnChecked = true;
    uint32_t side = mBoard->getSideToMove();
    if (mBoard->isDenEntered() || mBoard->hasLegalMove(side))
        return;
    mNoMoveLoss = true;
    mBoard->getClock().stop();
    if (mListener != nullptr)
        mListener->onGameOver(1 - side);
}

void BoardGraphics::animate()
{
    Container::animate();
    if (mCurrentMove != nullptr && isMoveAnimationFinished())
        finishCurrentMove();
    if (mCurrentMove != nullptr || isGameOver() || !isMoveAnimationFinished())
        return;
    if (!mTurnChecked)
        checkSideCanMove();
    if (isGameOver())
        return;
    Player* player = mBoard->getPlayer(mBoard->getSideToMove());
    if (player != nullptr && player->getKind() == PLAYER_COMPUTER)
    {
        Move* chosen = static_cast<ComputerPlayer*>(player)->chooseMove();
        if (chosen != nullptr)
            startMove(*chosen);
    }
}
