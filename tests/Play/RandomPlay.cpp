#include "RandomPlay.h"

#include "Journeys.h"

#include "Engine/MeshModel.h"
#include "Framework/LangTable.h"
#include "Gui/Label.h"
#include "Gui/TextButton.h"
#include "Platform/System/Random.h"
#include "Tarnaveli/Board/Board.h"
#include "Tarnaveli/Board/ComputerPlayer.h"
#include "Tarnaveli/Board/Player.h"
#include "Tarnaveli/BoardView/BoardGraphics3D.h"
#include "Tarnaveli/GameScreen.h"
#include "Tarnaveli/WindowGameMenu.h"
#include "Tarnaveli/WindowWin.h"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <deque>
#include <functional>
#include <random>
#include <sstream>

namespace Play
{
namespace
{
constexpr uint32_t kLangTurnOfPlayer0 = 210;
// The computer starts its move in the frame the person's move ends in; a
// frame more is allowed for the order in which the widgets step.
constexpr int kComputerStartFrames = 2;
// The longest move shown (a turn, a jump over a lake, a death, a turn
// back) lasts about four seconds of the clock.
constexpr int kComputerTurnMs = 8000;
constexpr float kPlaceTolerance = 1e-3f;
// Frames allowed, once the random frames are over, for each move of the
// floor: a move and its animation (up to four seconds of the clock in frames
// of 55 ms on average) twice over, and the clicks that miss.
constexpr int kTopUpFramesPerMove = 150;

// Input that spans frames: each step runs before the frame it is due at.
struct Scheduled
{
    int frame;
    std::function<void()> action;
};

class RandomPlayer
{
public:
    RandomPlayer(Driver& driver, uint64_t seed) : mDriver(driver), mRandom(seed) {}

    RandomPlayReport run(int frames, int moveFloor);

private:
    int below(int n) { return static_cast<int>(mRandom() % static_cast<uint64_t>(n)); }
    float between(float low, float high)
    {
        return low + (high - low) * static_cast<float>(mRandom() % 10001) / 10000.0f;
    }
    void newGame();
    void act();
    void actToMove();
    void click(int x, int y);
    void clickCell(int cellX, int cellY);
    void clickWidget(Component* widget);
    std::string check();

    Driver& mDriver;
    std::mt19937_64 mRandom;
    RandomPlayReport mReport;
    int mFrame = 0;
    std::deque<Scheduled> mPending;
    int mMoveLimit = 0;
    uint32_t mLastMoveCount = 0;
    // Frames and clock the computer has been on turn for.
    int mComputerIdleFrames = 0;
    int mComputerTurnMs = 0;
    int mStepMs = 20;
};

void RandomPlayer::newGame()
{
    GameScreen* screen = GameScreen::current();
    if (screen == nullptr)
        return;
    if (auto* win = mDriver.layer<WindowWin>())
        win->close();
    if (Layer* menu = screen->getGameMenu())
        menu->close();
    Board& board = *screen->getBoard();
    const uint32_t level = static_cast<uint32_t>(below(2));
    screen->newGame(std::make_unique<HumanPlayer>(0), std::make_unique<ComputerPlayer>(&board, 1, level),
                    false);
    mPending.clear();
    mMoveLimit = 4 + below(24);
    mLastMoveCount = 0;
    ++mReport.games;
}

void RandomPlayer::click(int x, int y)
{
    // Half the clicks come in the same frame as the pointer's move onto the
    // cell, the others a frame later; the release comes one to three
    // frames after the press.
    const bool together = below(2) == 0;
    const int down = mFrame + (together ? 0 : 1);
    mPending.push_back({mFrame, [this, x, y] { mDriver.mouseMove(x, y); }});
    mPending.push_back({down, [this, x, y] { mDriver.mouseDown(x, y); }});
    mPending.push_back({down + 1 + below(3), [this, x, y] { mDriver.mouseUp(x, y); }});
}

void RandomPlayer::clickCell(int cellX, int cellY)
{
    int x = 0;
    int y = 0;
    if (cellPoint(mDriver, cellX, cellY, between(-0.6f, 0.6f), between(-0.6f, 0.6f), x, y))
        click(x, y);
}

void RandomPlayer::clickWidget(Component* widget)
{
    if (widget == nullptr)
        return;
    const Rect r = widget->getRect();
    click(r.x + r.width / 2, r.y + r.height / 2);
}

void RandomPlayer::act()
{
    GameScreen* screen = GameScreen::current();
    auto* view = mDriver.find<BoardGraphics3D>();
    if (screen == nullptr || view == nullptr)
        return;
    Board& board = *screen->getBoard();
    if (view->isGameOver() || mDriver.layer<WindowWin>() != nullptr ||
        (board.getMoveCount() >= static_cast<uint32_t>(mMoveLimit) && below(10) == 0))
    {
        newGame();
        return;
    }
    if (auto* menu = mDriver.layer<WindowGameMenu>())
    {
        // Nothing else while the menu is up: it is left as the player
        // leaves it.
        if (menu->isUnfolded() && below(8) == 0)
            clickWidget(menu->getMenuButton(WindowGameMenu::CONTINUE));
        return;
    }
    const int choice = below(100);
    const MoveList& selection = view->getSelectionMoves();
    if (choice < 45 && view->isPieceSelected() && selection.getCount() > 0)
    {
        // Where the selected piece may go.
        const Move& move = selection[static_cast<uint32_t>(below(static_cast<int>(selection.getCount())))];
        clickCell(move.getTargetX(), move.getTargetY());
    }
    else if (choice < 70)
    {
        // One of White's pieces, mostly one that can move.
        uint32_t rank = static_cast<uint32_t>(below(8));
        MoveList moves;
        for (int tries = 0; tries < 8 && below(5) != 0; ++tries, rank = (rank + 1) % 8)
        {
            board.generateMoves(0, rank, moves);
            if (moves.getCount() > 0)
                break;
        }
        const Piece& piece = board.getPiece(0, rank);
        if (piece.isOnBoard())
            clickCell(piece.getX(), piece.getY());
    }
    else if (choice < 80)
        clickCell(below(9), below(7));
    else if (choice < 85)
        clickWidget(view->getButton(1));
    else if (choice < 90)
        clickWidget(view->getButton(2));
    else if (choice < 94)
        clickWidget(view->getButton(0));
    else if (choice < 97)
        clickWidget(view->getButton(3));
    else
        mDriver.mouseMove(below(1024), below(768));
}

// Once the random frames are over with fewer moves than asked for: White's
// moves are played on purpose (a movable piece, then one of its targets,
// through the same clicks), the computer answers, and a game that ends is
// started afresh.
void RandomPlayer::actToMove()
{
    GameScreen* screen = GameScreen::current();
    auto* view = mDriver.find<BoardGraphics3D>();
    if (screen == nullptr || view == nullptr)
        return;
    Board& board = *screen->getBoard();
    if (view->isGameOver() || mDriver.layer<WindowWin>() != nullptr)
    {
        newGame();
        return;
    }
    if (auto* menu = mDriver.layer<WindowGameMenu>())
    {
        if (menu->isUnfolded())
            clickWidget(menu->getMenuButton(WindowGameMenu::CONTINUE));
        return;
    }
    if (!view->canPlayerAct())
        return;
    const MoveList& selection = view->getSelectionMoves();
    if (view->isPieceSelected() && selection.getCount() > 0)
    {
        const Move& move = selection[static_cast<uint32_t>(below(static_cast<int>(selection.getCount())))];
        clickCell(move.getTargetX(), move.getTargetY());
        return;
    }
    uint32_t rank = static_cast<uint32_t>(below(8));
    MoveList moves;
    for (int tries = 0; tries < 8; ++tries, rank = (rank + 1) % 8)
    {
        const Piece& piece = board.getPiece(0, rank);
        board.generateMoves(0, rank, moves);
        if (piece.isOnBoard() && moves.getCount() > 0)
        {
            clickCell(piece.getX(), piece.getY());
            return;
        }
    }
}

std::string RandomPlayer::check()
{
    GameScreen* screen = GameScreen::current();
    auto* view = mDriver.find<BoardGraphics3D>();
    if (screen == nullptr || view == nullptr)
        return "the game screen went away";
    Board& board = *screen->getBoard();
    const uint32_t side = board.getSideToMove();
    const uint32_t count = board.getMoveCount();
    std::ostringstream fault;

    // The side to move passes with each move played, never twice to one side.
    if (count % 2 != side)
        fault << "side " << side << " to move after " << count << " moves";
    uint32_t previous = 2;
    for (const HistoryEntry& entry : board.getHistory())
    {
        if (entry.mMoves.getSide() == previous)
            fault << "side " << previous << " played twice in a row; ";
        previous = entry.mMoves.getSide();
    }
    if (count > mLastMoveCount + 1)
        fault << count - mLastMoveCount << " moves played in one frame; ";
    mLastMoveCount = count;

    // The computer answers, and within its time.
    const Player* onTurn = board.getPlayer(side);
    const bool computerOnTurn =
        onTurn != nullptr && onTurn->getKind() == PLAYER_COMPUTER && !view->isGameOver();
    if (computerOnTurn)
    {
        mComputerTurnMs += mStepMs;
        mComputerIdleFrames = view->getCurrentMove() == nullptr ? mComputerIdleFrames + 1 : 0;
        if (mComputerIdleFrames > kComputerStartFrames)
            fault << "the computer has not answered for " << mComputerIdleFrames << " frames; ";
        if (mComputerTurnMs > kComputerTurnMs)
            fault << "the computer's turn has lasted " << mComputerTurnMs << " ms; ";
    }
    else
    {
        mComputerIdleFrames = 0;
        mComputerTurnMs = 0;
    }

    // The animals stand where the board says, once no move is shown.
    if (view->getCurrentMove() == nullptr && view->isMoveAnimationFinished())
        for (uint32_t i = 0; i < Board::kPieceCount; ++i)
        {
            const Piece& piece = board.getPieceByIndex(i);
            MeshInstance* object = view->getPieceObject(i / 8, i % 8);
            if (object == nullptr)
                continue;
            if (object->mActive != piece.isOnBoard())
                fault << "piece " << i
                      << (piece.isOnBoard() ? " hidden on the board; " : " shown off the board; ");
            else if (piece.isOnBoard())
            {
                const Platform::Vector3 at = object->mTransform.mPosition;
                const Platform::Vector3 cell = view->getPieceCentre(piece.getX(), piece.getY());
                if (std::fabs(at.x - cell.x) > kPlaceTolerance ||
                    std::fabs(at.y - cell.y) > kPlaceTolerance || std::fabs(at.z - cell.z) > kPlaceTolerance)
                    fault << "piece " << i << " drawn away from its cell (" << piece.getX() << ","
                          << piece.getY() << "); ";
            }
        }

    // The plaque names the side to move.
    const std::string plaque = Driver::textOf(view->getTurnLabel());
    if (plaque != getLangText(kLangTurnOfPlayer0 + side))
        fault << "the plaque reads \"" << plaque << "\" with side " << side << " to move; ";
    return fault.str();
}

RandomPlayReport RandomPlayer::run(int frames, int moveFloor)
{
    mReport.seed = 0;
    if (startSoloGame(mDriver) == nullptr)
    {
        mReport.fault = "no solo game started";
        return mReport;
    }
    newGame();
    for (mFrame = 0;; ++mFrame)
    {
        // Past the random frames, moves played on purpose make up for those
        // the random input did not play, within a bound.
        if (mFrame >= frames &&
            (mReport.moves >= moveFloor || mFrame >= frames + kTopUpFramesPerMove * moveFloor))
            break;
        if (mFrame >= frames)
        {
            if (mPending.empty())
                actToMove();
        }
        else if (mPending.empty() && below(2) == 0)
            act();
        while (!mPending.empty() && mPending.front().frame <= mFrame)
        {
            std::function<void()> action = std::move(mPending.front().action);
            mPending.pop_front();
            action();
        }
        // Frames of uneven length, as a loaded machine gives them.
        mStepMs = 10 + below(91);
        const uint32_t before =
            GameScreen::current() != nullptr ? GameScreen::current()->getBoard()->getMoveCount() : 0;
        if (!mDriver.step(mStepMs))
        {
            mReport.fault = "the program ended";
            break;
        }
        GameScreen* screen = GameScreen::current();
        if (screen != nullptr && screen->getBoard()->getMoveCount() > before)
            mReport.moves += static_cast<int>(screen->getBoard()->getMoveCount() - before);
        std::string fault = check();
        if (!fault.empty())
        {
            mReport.fault = "frame " + std::to_string(mFrame) + ": " + fault;
            break;
        }
    }
    mReport.frames = mFrame;
    if (mReport.fault.empty() && mReport.moves < moveFloor)
        mReport.fault = "only " + std::to_string(mReport.moves) + " moves in " + std::to_string(mFrame) +
                        " frames, the last " + std::to_string(mFrame - frames) +
                        " of them spent playing White's moves on purpose";
    return mReport;
}
} // namespace

uint64_t randomPlaySeed()
{
    if (const char* text = std::getenv("VELMORIQUE_PLAY_SEED"); text != nullptr && text[0] != '\0')
        return std::strtoull(text, nullptr, 0);
    return static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()) % 1000000007u;
}

RandomPlayReport playRandomly(Driver& driver, uint64_t seed, int frames, int moveFloor)
{
    Platform::seedRandom(static_cast<uint32_t>(seed));
    RandomPlayer player(driver, seed);
    RandomPlayReport report = player.run(frames, moveFloor);
    report.seed = seed;
    return report;
}

} // namespace Play
