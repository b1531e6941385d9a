// The in-game screen: moves handed to the board view, moves received from the
// network checked before they are played, the event queue drained each frame,
// the chat, the pause flags, and games saved and loaded into the screen.
#include "GameScreenFixture.h"

#include "Gui/ContainerLift.h"
#include "Gui/Label.h"
#include "Tarnaveli/Board/ComputerPlayer.h"
#include "Tarnaveli/SavedGame.h"
#include "Tarnaveli/TutorialAdvisor.h"

#include <fstream>

namespace
{
std::string lineText(ChatPanel* panel, uint32_t index)
{
    auto* label = dynamic_cast<Label*>(panel->getList()->getRow(index));
    return label != nullptr && label->getTextObject() != nullptr ? label->getTextObject()->getText() : "?";
}

uint32_t lineColor(ChatPanel* panel, uint32_t index)
{
    auto* label = dynamic_cast<Label*>(panel->getList()->getRow(index));
    auto* text = label != nullptr ? dynamic_cast<FakeText*>(label->getTextObject()) : nullptr;
    return text != nullptr ? text->color : 0;
}

// The index of the move of a piece that goes to (x, y).
uint32_t moveIndexTo(Board& board, uint32_t side, uint32_t rank, int32_t x, int32_t y)
{
    MoveList moves;
    board.generateMoves(side, rank, moves);
    for (uint32_t i = 0; i < moves.getCount(); ++i)
        if (moves[i].getTargetX() == x && moves[i].getTargetY() == y)
            return i;
    ADD_FAILURE() << "no such move";
    return 0;
}
} // namespace

TEST(GameScreen, LocalMoveGoesToTheViewAndIsPlayedWhenItsAnimationEnds)
{
    GameScreenFixture f;
    ASSERT_TRUE(f.loaded);
    GameScreen* screen = f.openScreen();
    EXPECT_EQ(GameScreen::current(), screen);
    screen->newGame(std::make_unique<HumanPlayer>(0), std::make_unique<HumanPlayer>(1), false);
    f.app.gui().processDeferred();
    EXPECT_TRUE(f.hasLayer(screen));
    EXPECT_EQ(screen->getChatWindow(), nullptr);
    EXPECT_FALSE(screen->isNetworkGame());

    Board& board = *screen->getBoard();
    MoveList moves;
    board.generateMoves(0, RANK_RAT, moves);
    ASSERT_GT(moves.getCount(), 0u);
    f.log.clear();
    screen->playMove(moves[0]);
    ASSERT_EQ(f.log.size(), 1u);
    EXPECT_EQ(board.getSideToMove(), 0u) << "played only when the animation ends";
    f.view->finish(*screen);
    EXPECT_EQ(board.getSideToMove(), 1u);
    EXPECT_EQ(board.getPiece(0, RANK_RAT).getX(), moves[0].getTargetX());
}

TEST(GameScreen, NetworkMoveFromTheRemotePlayerOnTurnIsPlayedAndLoggedInTheChat)
{
    GameScreenFixture f;
    GameScreen* screen = f.openScreen();
    f.startNetworkGame();
    ASSERT_NE(screen->getChatPanelWidget(), nullptr);
    EXPECT_TRUE(f.hasLayer(screen->getChatWindow()));
    Board& board = *screen->getBoard();
    board.setSideToMove(1);
    // Side 1's rat stands at (6, 0); one step to (6, 1).
    const Piece& rat = board.getPiece(1, RANK_RAT);
    ASSERT_EQ(rat.getX(), 6);
    ASSERT_EQ(rat.getY(), 0);
    const uint32_t index = moveIndexTo(board, 1, RANK_RAT, 6, 1);

    f.receive(GameScreenFixture::moveMessage(RANK_RAT, static_cast<uint8_t>(index)), f.peer.remote);
    screen->animate();
    EXPECT_EQ(f.mainMenus, 0);
    ASSERT_FALSE(f.log.empty());
    EXPECT_EQ(f.log.back(), "start 6,1");
    ChatPanel* chat = screen->getChatPanelWidget();
    ASSERT_EQ(chat->getList()->getRowCount(), 1u);
    EXPECT_EQ(lineText(chat, 0), "Bruno d\xE9place le rat de G1 en G2");
    EXPECT_EQ(lineColor(chat, 0), GameScreen::kChatLogColor);
}

TEST(GameScreen, IllegalNetworkMovesEndTheGameWithTheSynchronisationError)
{
    struct Case
    {
        const char* name;
        uint32_t sideToMove;
        uint8_t rank;
        int indexShift; // added to the legal move count; negative: a legal index
        bool fromLocal;
        bool capturedPiece;
    };
    const Case cases[] = {
        {"sender not on turn", 0, RANK_RAT, -1, false, false},
        {"rank 8", 1, 8, -1, false, false},
        {"captured piece", 1, RANK_CAT, -1, false, true},
        {"index equal to the count", 1, RANK_RAT, 0, false, false},
        {"our own player's record", 1, RANK_RAT, -1, true, false},
    };
    for (const Case& c : cases)
    {
        GameScreenFixture f;
        GameScreen* screen = f.openScreen();
        f.startNetworkGame();
        Board& board = *screen->getBoard();
        board.setSideToMove(c.sideToMove);
        if (c.capturedPiece)
            board.getPiece(1, RANK_CAT).moveTo(-1, 0);
        MoveList moves;
        board.generateMoves(1, c.rank < 8 ? c.rank : 0, moves);
        const int index = c.indexShift < 0 ? 0 : static_cast<int>(moves.getCount()) + c.indexShift;
        f.log.clear();
        f.receive(GameScreenFixture::moveMessage(c.rank, static_cast<uint8_t>(index)),
                  c.fromLocal ? f.peer.local : f.peer.remote);
        screen->animate();
        f.app.gui().processDeferred();
        EXPECT_TRUE(f.log.empty()) << c.name << ": nothing played";
        EXPECT_EQ(f.mainMenus, 1) << c.name;
        EXPECT_EQ(f.peer.closed, 1) << c.name;
        EXPECT_FALSE(f.hasLayer(screen)) << c.name;
        MessageDialog* box = f.topDialog();
        ASSERT_NE(box, nullptr) << c.name;
        EXPECT_EQ(GameScreen::current(), nullptr) << c.name;
    }
}

TEST(GameScreen, OpponentLeavingEndsTheGameOnceAndLeavesLaterEventsQueued)
{
    GameScreenFixture f;
    GameScreen* screen = f.openScreen();
    f.startNetworkGame();
    f.peer.postEvent(std::make_unique<NetworkPlayerEvent>(NETWORK_EVENT_PLAYER_LEFT, f.peer.remote));
    f.peer.postEvent(std::make_unique<NetworkDataEvent>(NETWORK_EVENT_SESSION_ENDED, DISCONNECT_HOST_LEFT));
    screen->animate();
    screen->animate();
    f.app.gui().processDeferred();
    EXPECT_EQ(f.mainMenus, 1);
    auto left = f.peer.popEvent();
    ASSERT_NE(left, nullptr);
    EXPECT_EQ(left->getKind(), static_cast<uint32_t>(NETWORK_EVENT_SESSION_ENDED));
    EXPECT_FALSE(f.hasLayer(screen));
}

// The windows over the screen go with it, one opened in the very frame the
// game ends too; the message that says why stays.
TEST(GameScreen, LeavingClosesTheWindowsOfTheGameAndShowsOnlyTheMessage)
{
    GameScreenFixture f;
    GameScreen* screen = f.openScreen();
    f.startNetworkGame();
    ComponentRef<Layer> shown = showLayer(std::make_unique<MessageDialog>("Scores", "", 1, nullptr, nullptr));
    f.app.gui().processDeferred();
    ComponentRef<Layer> waiting = showLayer(std::make_unique<MessageDialog>("Fin", "", 1, nullptr, nullptr));
    screen->leaveToMainMenu("L'hôte a quitté la partie");
    f.app.gui().processDeferred();
    EXPECT_EQ(shown, nullptr);
    EXPECT_EQ(waiting, nullptr);
    ASSERT_EQ(f.app.root().getChildren().size(), 1u);
    EXPECT_NE(f.topDialog(), nullptr);
}

TEST(GameScreen, ReceivedMovesWaitWhileTheViewStillShowsAMove)
{
    GameScreenFixture f;
    GameScreen* screen = f.openScreen();
    f.startNetworkGame();
    Board& board = *screen->getBoard();
    // This machine's person moves; the reply arrives before the animation ends.
    MoveList moves;
    board.generateMoves(0, RANK_RAT, moves);
    screen->playMove(moves[0]);
    f.receive(GameScreenFixture::moveMessage(RANK_RAT, 0), f.peer.remote);
    screen->animate();
    EXPECT_EQ(f.mainMenus, 0) << "the turn has not passed yet";
    f.view->finish(*screen);
    screen->animate();
    EXPECT_EQ(f.mainMenus, 0);
    EXPECT_EQ(f.log.back().substr(0, 6), "start ");
    EXPECT_TRUE(f.view->isShowingMove());
}

TEST(GameScreen, LocalNetworkMoveIsSentAsAMoveMessage)
{
    GameScreenFixture f;
    GameScreen* screen = f.openScreen();
    f.startNetworkGame();
    screen->sendMove(RANK_LION, 2);
    ASSERT_EQ(f.peer.sent.size(), 1u);
    EXPECT_EQ(f.peer.targets[0], nullptr);
    auto* message = dynamic_cast<MoveMessage*>(f.peer.sent[0].get());
    ASSERT_NE(message, nullptr);
    ASSERT_NE(message->getPayload(), nullptr);
    EXPECT_EQ(message->getPayload()->getPiece(), RANK_LION);
    EXPECT_EQ(message->getPayload()->getMoveIndex(), 2);
    EXPECT_EQ(message->getPayload()->getSize(), 6u);
}

TEST(GameScreen, SecondGameKeepsOneChatWindowInANetworkGameAndNoneInALocalOne)
{
    GameScreenFixture f;
    GameScreen* screen = f.openScreen();
    f.startNetworkGame();
    Layer* chat = screen->getChatWindow();
    ASSERT_NE(chat, nullptr);
    f.startNetworkGame();
    EXPECT_EQ(screen->getChatWindow(), chat);
    screen->newGame(std::make_unique<HumanPlayer>(0), std::make_unique<HumanPlayer>(1), false);
    f.app.gui().processDeferred();
    EXPECT_EQ(screen->getChatWindow(), nullptr);
    EXPECT_EQ(screen->getChatPanel(), nullptr);
    EXPECT_FALSE(f.hasLayer(chat));
}

TEST(GameScreen, PauseFlagsFollowActivationAndCoveringLayers)
{
    GameScreenFixture f;
    GameScreen* screen = f.openScreen();
    screen->pauseForDeactivation();
    screen->pauseForDeactivation();
    screen->resumeAfterActivation();
    EXPECT_FALSE(screen->isPaused());
    screen->deactivate();
    EXPECT_TRUE(screen->isPaused());
    EXPECT_FALSE(screen->isPausedByDeactivation());
    screen->activate();
    EXPECT_FALSE(screen->isPaused());
    // Covered while the main window was inactive: its return does not resume
    // a pause that a layer still holds... the table's own rule.
    screen->pauseForDeactivation();
    screen->activate();
    EXPECT_TRUE(screen->isPaused());
    screen->resumeAfterActivation();
    EXPECT_FALSE(screen->isPaused());
    delete screen;
}

TEST(GameScreen, LoadReplacesTheBoardAndRemovesTheAdvisorButADamagedFileChangesNothing)
{
    GameScreenFixture f;
    GameScreen* screen = f.openScreen();
    screen->newGame(std::make_unique<HumanPlayer>(0), std::make_unique<ComputerPlayer>(nullptr, 1, 0), true);
    f.app.gui().processDeferred();
    ASSERT_NE(screen->getTutorialAdvisor(), nullptr);

    Board saved;
    saved.setPlayer(0, std::make_unique<HumanPlayer>(0));
    saved.setPlayer(1, std::make_unique<ComputerPlayer>(&saved, 1, 2));
    saved.setSideToMove(1);
    const std::string path = f.folder.path() + "data/saves/a.tnv";
    ASSERT_EQ(SavedGame::save(path, saved), ERROR_OK);

    std::ofstream(f.folder.path() + "data/saves/bad.tnv", std::ios::binary) << "short";
    Board* before = screen->getBoard();
    EXPECT_NE(screen->loadGame(f.folder.path() + "data/saves/bad.tnv"), ERROR_OK);
    EXPECT_EQ(screen->getBoard(), before);
    EXPECT_NE(screen->getTutorialAdvisor(), nullptr);

    f.log.clear();
    ASSERT_EQ(screen->loadGame(path), ERROR_OK);
    EXPECT_EQ(screen->getBoard(), before) << "the view keeps its board";
    EXPECT_EQ(screen->getBoard()->getSideToMove(), 1u);
    EXPECT_EQ(screen->getBoard()->getMoveCount(), 0u);
    EXPECT_EQ(screen->getTutorialAdvisor(), nullptr);
    auto* computer = dynamic_cast<ComputerPlayer*>(screen->getBoard()->getPlayer(1));
    ASSERT_NE(computer, nullptr);
    EXPECT_EQ(computer->getLevel(), 2u);
    EXPECT_EQ(computer->getBoard(), screen->getBoard());
    EXPECT_EQ(f.log, (std::vector<std::string>{"reset"}));
}

TEST(GameScreen, GameMenuDisablesTheBoardButtonsUntilItCloses)
{
    GameScreenFixture f;
    GameScreen* screen = f.openScreen();
    f.log.clear();
    screen->openGameMenu();
    screen->closeGameMenu();
    EXPECT_EQ(f.game.gameMenus, 1);
    EXPECT_EQ(f.log, (std::vector<std::string>{"buttons off", "buttons on"}));
    delete screen;
}

TEST(GameScreen, MenusStartALocalGameOnANewScreenAndLeaveIt)
{
    GameScreenFixture f;
    LocalGameRequest request;
    request.playerKind[0] = PLAYER_HUMAN;
    request.playerKind[1] = PLAYER_COMPUTER;
    request.level = 2;
    GameScreen* screen = GameScreen::startLocalGame(f.game, request);
    ASSERT_EQ(GameScreen::current(), screen);
    f.app.gui().processDeferred();
    EXPECT_TRUE(f.hasLayer(screen));
    Board& board = *screen->getBoard();
    ASSERT_NE(board.getPlayer(0), nullptr);
    EXPECT_EQ(board.getPlayer(0)->getKind(), PLAYER_HUMAN);
    auto* computer = dynamic_cast<ComputerPlayer*>(board.getPlayer(1));
    ASSERT_NE(computer, nullptr);
    EXPECT_EQ(computer->getLevel(), 2u);
    EXPECT_EQ(computer->getBoard(), &board);
    EXPECT_FALSE(screen->isNetworkGame());
    EXPECT_FALSE(board.isDenEntered());

    screen->leaveToMainMenu(std::string());
    f.app.gui().processDeferred();
    EXPECT_EQ(GameScreen::current(), nullptr);
    EXPECT_EQ(f.mainMenus, 1);
    EXPECT_FALSE(f.hasLayer(screen));
}
