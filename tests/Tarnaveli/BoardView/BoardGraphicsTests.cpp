// The turn flow of the board view, over a view whose animation ends when the
// test says so.
#include "FakeBoardViewListener.h"
#include "Platform/System/Clock.h"
#include "Tarnaveli/Board/Board.h"
#include "Tarnaveli/Board/ComputerPlayer.h"
#include "Tarnaveli/Board/NetworkPlayer.h"
#include "Tarnaveli/BoardView/BoardGraphics.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{

class ScriptedBoardView final : public BoardGraphics
{
public:
    ScriptedBoardView(Board* board, BoardViewListener* listener)
        : BoardGraphics(board, Rect{0, 0, 1024, 768}, listener, 13)
    {
    }
    void beginMoveAnimation(Move&) override
    {
        ++animations;
        finished = false;
    }
    void endMoveAnimation() override { finished = true; }
    bool isMoveAnimationFinished() override { return finished; }

    bool finished = true;
    int animations = 0;
};

class BoardGraphicsTest : public ::testing::Test
{
protected:
    BoardGraphicsTest()
    {
        board.reset();
        board.setPlayer(0, std::make_unique<HumanPlayer>(0));
        board.setPlayer(1, std::make_unique<HumanPlayer>(1));
        listener.view = &view;
    }

    // The move of a piece to a target cell, from a list the test keeps.
    const Move* findMove(uint32_t side, uint32_t rank, int32_t x, int32_t y)
    {
        board.generateMoves(side, rank, moves);
        for (const Move& move : moves)
        {
            if (move.getTargetX() == x && move.getTargetY() == y)
                return &move;
        }
        return nullptr;
    }

    void finishAnimation()
    {
        view.finished = true;
        view.animate();
    }

    bool logged(const std::string& line) const
    {
        return std::find(listener.log.begin(), listener.log.end(), line) != listener.log.end();
    }

    Platform::ManualClock clock;
    Board board;
    FakeBoardViewListener listener;
    ScriptedBoardView view{&board, &listener};
    MoveList moves;
};

TEST_F(BoardGraphicsTest, ChosenMoveIsShownAndPlayedOnTheBoardOnlyWhenItsAnimationEnds)
{
    ASSERT_TRUE(view.canPlayerAct());
    // Side 0's rat starts on (0, 6) in the opening position.
    const Piece& rat = board.getPiece(0, RANK_RAT);
    const Move* move = findMove(0, RANK_RAT, rat.getX() + 1, rat.getY());
    ASSERT_NE(move, nullptr);
    int32_t fromX = rat.getX();
    view.playChosenMove(*move);
    EXPECT_EQ(view.animations, 1);
    EXPECT_FALSE(view.canPlayerAct());
    EXPECT_EQ(rat.getX(), fromX) << "the board waits for the animation";
    EXPECT_EQ(board.getSideToMove(), 0u);
    view.animate();
    EXPECT_EQ(rat.getX(), fromX);

    finishAnimation();
    EXPECT_EQ(rat.getX(), fromX + 1);
    EXPECT_EQ(board.getSideToMove(), 1u);
    EXPECT_EQ(view.getCurrentMove(), nullptr);
    std::string text = FakeBoardViewListener::describe(*move);
    std::vector<std::string> expected{"play " + text, "started " + text, "finished " + text};
    EXPECT_EQ(listener.log, expected);
    EXPECT_TRUE(view.canPlayerAct());
}

TEST_F(BoardGraphicsTest, AMoveIsRefusedWhileAnotherIsShownAndForTheSideNotToMove)
{
    const Piece& rat = board.getPiece(0, RANK_RAT);
    const Move* first = findMove(0, RANK_RAT, rat.getX() + 1, rat.getY());
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(view.startMove(*first));
    const Move* shown = view.getCurrentMove();
    // Another of White's moves while the first is shown, and Black's.
    MoveList others;
    uint32_t otherRank = 1;
    for (board.generateMoves(0, otherRank, others); others.getCount() == 0 && otherRank < 7;)
        board.generateMoves(0, ++otherRank, others);
    ASSERT_GT(others.getCount(), 0u);
    EXPECT_FALSE(view.startMove(others[0]));
    view.playChosenMove(others[0]);
    MoveList black;
    board.generateMoves(1, RANK_RAT, black);
    ASSERT_GT(black.getCount(), 0u);
    EXPECT_FALSE(view.startMove(black[0]));
    EXPECT_EQ(view.animations, 1);
    EXPECT_EQ(view.getCurrentMove(), shown);
    finishAnimation();
    EXPECT_EQ(board.getMoveCount(), 1u);
    EXPECT_EQ(board.getSideToMove(), 1u);
    // White again, now that Black is to move: refused too.
    board.generateMoves(0, otherRank, others);
    EXPECT_FALSE(view.startMove(others[0]));
    // A move of another board never reaches this one.
    Board elsewhere;
    elsewhere.reset();
    elsewhere.setSideToMove(1);
    elsewhere.generateMoves(1, RANK_RAT, black);
    EXPECT_FALSE(view.startMove(black[0]));
    EXPECT_EQ(view.animations, 1);
}

TEST_F(BoardGraphicsTest, ComputerOnTurnSearchesInTheFrameTheMoveEndsAndStartsItsMove)
{
    board.setPlayer(1, std::make_unique<ComputerPlayer>(&board, 1, 0));
    const Piece& rat = board.getPiece(0, RANK_RAT);
    view.playChosenMove(*findMove(0, RANK_RAT, rat.getX() + 1, rat.getY()));
    finishAnimation();
    EXPECT_EQ(view.animations, 2) << "the computer's reply is animated like any move";
    ASSERT_NE(view.getCurrentMove(), nullptr);
    EXPECT_EQ(view.getCurrentMove()->getOwner()->getSide(), 1u);
    EXPECT_FALSE(view.canPlayerAct());
    finishAnimation();
    EXPECT_EQ(board.getSideToMove(), 0u);
    EXPECT_EQ(board.getMoveCount(), 2u);
    EXPECT_TRUE(view.canPlayerAct());
}

TEST_F(BoardGraphicsTest, ComputerPlayingSideZeroMovesInTheFirstFrame)
{
    board.setPlayer(0, std::make_unique<ComputerPlayer>(&board, 0, 0));
    view.animate();
    EXPECT_EQ(view.animations, 1);
    EXPECT_NE(view.getCurrentMove(), nullptr);
}

TEST_F(BoardGraphicsTest, DenEntryEndsTheGameStopsTheClockAndNothingIsSearchedAfter)
{
    board.setPlayer(1, std::make_unique<ComputerPlayer>(&board, 1, 0));
    // Side 1's den is (8, 3); its trap (7, 3) in front of it is empty.
    Piece& dog = board.getPiece(0, RANK_DOG);
    ASSERT_TRUE(dog.moveTo(7, 3));
    board.getClock().start();
    const Move* entry = findMove(0, RANK_DOG, 8, 3);
    ASSERT_NE(entry, nullptr);
    ASSERT_EQ(entry->getKind(), uint32_t(MOVE_DEN_ENTRY));
    view.playChosenMove(*entry);
    finishAnimation();
    EXPECT_TRUE(board.isDenEntered());
    EXPECT_TRUE(view.isGameOver());
    EXPECT_FALSE(board.getClock().isRunning());
    EXPECT_TRUE(logged("game over 0"));
    EXPECT_EQ(view.animations, 1) << "no computer move after the game ended";
    view.animate();
    EXPECT_EQ(view.animations, 1);
    EXPECT_FALSE(view.canPlayerAct());
    EXPECT_EQ(view.computeHint(), nullptr);
}

TEST_F(BoardGraphicsTest, SideLeftWithoutAnyLegalMoveLosesInsteadOfStallingTheGame)
{
    board.setPlayer(1, std::make_unique<ComputerPlayer>(&board, 1, 0));
    for (uint32_t r = 0; r < 8; ++r)
        board.getPiece(1, r).moveTo(-1, -1);
    board.getClock().start();
    const Piece& rat = board.getPiece(0, RANK_RAT);
    view.playChosenMove(*findMove(0, RANK_RAT, rat.getX() + 1, rat.getY()));
    finishAnimation();
    EXPECT_TRUE(logged("game over 0"));
    EXPECT_TRUE(view.isGameOver());
    EXPECT_FALSE(board.getClock().isRunning());
    EXPECT_EQ(view.animations, 1);
    view.animate();
    EXPECT_EQ(std::count(listener.log.begin(), listener.log.end(), "game over 0"), 1)
        << "the loss is told once";
}

TEST_F(BoardGraphicsTest, UndoAgainstTheComputerTakesBackItsReplyAndThePersonsMove)
{
    board.setPlayer(1, std::make_unique<ComputerPlayer>(&board, 1, 0));
    const Piece& rat = board.getPiece(0, RANK_RAT);
    view.playChosenMove(*findMove(0, RANK_RAT, rat.getX() + 1, rat.getY()));
    finishAnimation();
    // Refused while the computer's reply is still animating.
    view.undo();
    EXPECT_FALSE(logged("undone"));
    finishAnimation();
    ASSERT_EQ(board.getMoveCount(), 2u);
    view.undo();
    EXPECT_EQ(board.getMoveCount(), 0u);
    EXPECT_EQ(board.getSideToMove(), 0u);
    EXPECT_TRUE(logged("undone"));
}

TEST_F(BoardGraphicsTest, UndoOfTheComputersOnlyMoveLetsItMoveAgain)
{
    board.setPlayer(0, std::make_unique<ComputerPlayer>(&board, 0, 0));
    view.animate();
    finishAnimation();
    ASSERT_EQ(board.getMoveCount(), 1u);
    ASSERT_EQ(board.getSideToMove(), 1u);
    view.undo();
    EXPECT_EQ(board.getMoveCount(), 0u);
    view.animate();
    EXPECT_EQ(view.animations, 2);
}

TEST_F(BoardGraphicsTest, NetworkGamesSendTheLocalMoveAndNeverUndo)
{
    board.setPlayer(0, std::make_unique<NetworkPlayer>(PLAYER_NETWORK_LOCAL, 0));
    board.setPlayer(1, std::make_unique<NetworkPlayer>(PLAYER_NETWORK_REMOTE, 1));
    const Piece& rat = board.getPiece(0, RANK_RAT);
    const Move* move = findMove(0, RANK_RAT, rat.getX() + 1, rat.getY());
    uint32_t index = static_cast<uint32_t>(moves.indexOf(move));
    view.playChosenMove(*move);
    ASSERT_FALSE(listener.log.empty());
    EXPECT_EQ(listener.log[0], "send 0 " + std::to_string(index)) << "sent before it is shown";
    finishAnimation();
    EXPECT_FALSE(view.canPlayerAct()) << "the remote player is on turn";
    view.animate();
    EXPECT_EQ(view.animations, 1) << "the view never waits for nor searches a remote move";
    board.setSideToMove(0);
    view.undo();
    EXPECT_FALSE(logged("undone"));
    EXPECT_EQ(board.getMoveCount(), 1u);
}

TEST_F(BoardGraphicsTest, HintIsComputedOncePerPositionAndOnlyForAPersonWhoCanAct)
{
    const Move* hint = view.computeHint();
    ASSERT_NE(hint, nullptr);
    std::string first = FakeBoardViewListener::describe(*hint);
    EXPECT_EQ(hint->getOwner()->getSide(), 0u);
    EXPECT_EQ(view.computeHint(), hint);
    EXPECT_EQ(FakeBoardViewListener::describe(*view.computeHint()), first);
    view.playChosenMove(*hint);
    EXPECT_EQ(view.computeHint(), nullptr) << "not while a move is shown";
    finishAnimation();
    const Move* next = view.computeHint();
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->getOwner()->getSide(), 1u) << "the position changed: a new hint";
}

} // namespace
