// The screen with the 3D board view on a recording device: the view's undo
// and hint buttons act on the screen's board and the screen hears of them.
#include "BoardView/TestBoardAssets.h"
#include "Engine2DD3D/RenderStateCache.h"
#include "Engine3DD3D/Engine3DD3D.h"
#include "GameScreenFixture.h"
#include "Platform/Gpu/RecordingDevice.h"
#include "Tarnaveli/Board/ComputerPlayer.h"
#include "Tarnaveli/BoardView/BoardGraphics3D.h"
#include "Tarnaveli/BoardViewLink.h"
#include "Tarnaveli/TutorialAdvisor.h"

TEST(BoardViewLink, UndoAndHintButtonsActOnTheScreensGame)
{
    GameScreenFixture f;
    Platform::setProgramDirectory(std::string(VELMORIQUE_BUILD_DIR) + "/");
    Platform::Gpu::RecordingDevice device;
    RenderStateCache cache;
    cache.setDevice(&device);
    Engine3DD3D engine(&device, &cache);
    ASSERT_EQ(engine.init(), 0u);
    BoardViewLink* link = nullptr;
    f.game.makeView = [&](GameScreen& screen, Board& board) -> std::unique_ptr<GameScreenView>
    {
        BoardViewServices services;
        services.engine3D = &engine;
        services.sounds = &f.app.sound();
        auto assets = std::make_unique<TestAssets>(engine);
        services.assets = assets.get();
        auto made = std::make_unique<BoardViewLink>(screen, board, std::move(assets), services);
        link = made.get();
        return made;
    };
    GameScreen* screen = f.openScreen();
    ASSERT_NE(link, nullptr);
    ASSERT_TRUE(link->getView()->isReady());
    EXPECT_EQ(link->getWidget()->getParent(), screen);
    screen->newGame(std::make_unique<HumanPlayer>(0),
                    std::make_unique<ComputerPlayer>(screen->getBoard(), 1, 0), true);
    f.app.gui().processDeferred();
    TutorialAdvisor* advisor = screen->getTutorialAdvisor();
    ASSERT_NE(advisor, nullptr);

    // The hint is computed for the person on turn.
    link->getView()->showHint();
    EXPECT_TRUE(link->getView()->isHintShown());

    // The person's move and the computer's reply, then the undo button.
    Board& board = *screen->getBoard();
    MoveList moves;
    board.generateMoves(0, RANK_RAT, moves);
    board.playMove(moves[0]);
    board.generateMoves(1, RANK_RAT, moves);
    board.playMove(moves[0]);
    advisor->hide();
    link->getView()->undoMove();
    EXPECT_EQ(board.getMoveCount(), 0u);
    EXPECT_EQ(board.getSideToMove(), 0u);
    EXPECT_TRUE(advisor->isVisible()) << "the advisor is told the moves were taken back";

    // A move handed to the screen is shown by the view before it is played.
    board.generateMoves(0, RANK_RAT, moves);
    screen->playMove(moves[0]);
    EXPECT_TRUE(link->isShowingMove());
    EXPECT_EQ(board.getMoveCount(), 0u);

    // The screen and its view go while the engine still exists.
    screen->closeScreen();
    f.app.gui().processDeferred();
}
