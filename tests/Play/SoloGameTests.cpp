// A solo game against the computer played with the mouse, saved, loaded and
// won, as a player does it.
#include "Journeys.h"
#include "PlayChecks.h"

#include "Engine/Engine3D.h"
#include "Gui/FileDialog.h"
#include "Gui/Label.h"
#include "Gui/TextField.h"
#include "Gui/TimeDisplay.h"
#include "Platform/System/Random.h"
#include "Tarnaveli/Board/Board.h"
#include "Tarnaveli/Board/ComputerPlayer.h"
#include "Tarnaveli/Board/Player.h"
#include "Tarnaveli/Board/PlayerKinds.h"
#include "Tarnaveli/BoardView/BoardGraphics3D.h"
#include "Tarnaveli/GameScreen.h"
#include "Tarnaveli/SavedGame.h"
#include "Tarnaveli/ScoreListView.h"
#include "Tarnaveli/WindowGameMenu.h"
#include "Tarnaveli/WindowMenu.h"
#include "Tarnaveli/WindowWin.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>

using namespace Play;
namespace fs = std::filesystem;

namespace
{
TimeDisplay* gameClock(Driver& driver)
{
    GameScreen* screen = GameScreen::current();
    return screen != nullptr ? driver.find<TimeDisplay>(screen) : nullptr;
}

} // namespace

TEST(PlaySolo, MovesWithTheMouseTheComputerAnswersTheClockRunsHintUndoAndEveryCameraShowsTheBoard)
{
    SKIP_WITHOUT_DISPLAY();
    Driver driver;
    PngOnFailure png(driver);
    BoardGraphics3D* view = startSoloGame(driver);
    ASSERT_NE(view, nullptr);
    Platform::seedRandom(17);
    GameScreen* screen = GameScreen::current();
    Board& board = *screen->getBoard();

    // The cursor over a cell finds that cell.
    for (auto [x, y] : {std::pair{0, 0}, {8, 6}, {4, 3}, {2, 0}})
    {
        int px = 0;
        int py = 0;
        ASSERT_TRUE(cellPoint(driver, x, y, px, py));
        PickResult pick;
        pick.mDistance = 1e30f;
        ASSERT_EQ(Engine3D::current()->pick(float(px), float(py), &pick, nullptr), 0u);
        int32_t cellX = -1;
        int32_t cellY = -1;
        Piece* piece = view->pieceFromPick(pick);
        if (piece != nullptr)
        {
            cellX = piece->getX();
            cellY = piece->getY();
        }
        else
            view->cellFromPick(pick, cellX, cellY);
        EXPECT_EQ(cellX, x);
        EXPECT_EQ(cellY, y);
    }

    // The game clock shows on the turn plaque and runs.
    TimeDisplay* clock = gameClock(driver);
    EXPECT_NE(clock, nullptr) << "no game clock";
    if (clock != nullptr)
    {
        EXPECT_TRUE(Driver::shown(clock));
        const Rect r = clock->getRect();
        EXPECT_EQ((std::array<int32_t, 4>{r.x, r.y, r.width, r.height}),
                  (std::array<int32_t, 4>{465, 117, 108, 24}));
        const uint32_t before = clock->getTime();
        driver.run(50, 40);
        EXPECT_GE(clock->getTime(), before + 1500);
    }

    // A move with the mouse, and the computer's answer.
    int fromX = 0;
    int fromY = 0;
    int toX = 0;
    int toY = 0;
    ASSERT_TRUE(firstWhiteMove(board, fromX, fromY, toX, toY));
    ASSERT_TRUE(playMove(driver, fromX, fromY, toX, toY));
    ASSERT_NE(board.getCell(toX, toY).mOccupant, nullptr);
    EXPECT_EQ(board.getCell(toX, toY).mOccupant->getSide(), 0u);
    ASSERT_TRUE(waitForTurn(driver, 0));
    EXPECT_EQ(board.getMoveCount(), 2u);

    // A hint, then undo.
    driver.click(view->getButton(1));
    EXPECT_TRUE(view->isHintShown());
    driver.settle(60);
    const uint32_t moves = board.getMoveCount();
    driver.click(view->getButton(2));
    driver.settle(10);
    EXPECT_LT(board.getMoveCount(), moves);
    EXPECT_EQ(board.getSideToMove(), 0u);

    // Every camera preset shows all the cells, none under the overlay.
    for (uint32_t preset = 0; preset < BoardGraphics3D::kCameraCount; ++preset)
    {
        SCOPED_TRACE("camera " + std::to_string(view->getCameraIndex()));
        Faults faults = hiddenCells(driver);
        EXPECT_TRUE(faults.empty()) << joined(faults);
        if (!faults.empty())
            driver.savePng("camera" + std::to_string(view->getCameraIndex()));
        driver.click(view->getButton(0));
        driver.settle(40);
    }
}

TEST(PlaySolo, SavedFromTheGameMenuOnAFreshInstallAndLoadedFromTheMainMenuTheGameIsAsItWas)
{
    SKIP_WITHOUT_DISPLAY();
    Driver driver;
    PngOnFailure png(driver);
    BoardGraphics3D* view = startSoloGame(driver);
    ASSERT_NE(view, nullptr);
    Board* board = GameScreen::current()->getBoard();
    int fromX = 0;
    int fromY = 0;
    int toX = 0;
    int toY = 0;
    ASSERT_TRUE(firstWhiteMove(*board, fromX, fromY, toX, toY));
    ASSERT_TRUE(playMove(driver, fromX, fromY, toX, toY));
    ASSERT_TRUE(waitForTurn(driver, 0));

    // Save as "partie été" from the in-game menu.
    driver.click(view->getButton(3));
    driver.settle(40);
    ASSERT_NE(driver.layer<WindowGameMenu>(), nullptr);
    clickMenuEntry(driver, WindowGameMenu::SAVE);
    auto* dialog = driver.layer<FileDialog>();
    ASSERT_NE(dialog, nullptr);
    TextField* name = driver.allOf<TextField>(dialog).back();
    driver.click(name);
    driver.type("partie été");
    ASSERT_EQ(dialog->getName(), cp1252("partie été"));
    const uint32_t savedClock = board->getClock().getElapsed();
    std::vector<std::pair<int, int>> cells;
    for (uint32_t i = 0; i < Board::kPieceCount; ++i)
        cells.emplace_back(board->getPieceByIndex(i).getX(), board->getPieceByIndex(i).getY());
    ASSERT_TRUE(clickText(driver, "OK"));
    driver.settle(20);
    EXPECT_EQ(driver.layer<FileDialog>(), nullptr);
    if (auto* message = driver.layer<Dialog>())
        ADD_FAILURE() << "a message after saving: " << describe(driver.allOf<Label>(message).back());
    bool saved = false;
    if (fs::exists(driver.dataPath("saves")))
        for (const auto& entry : fs::directory_iterator(driver.dataPath("saves")))
            saved = saved || entry.path().extension() == ".tnv";
    ASSERT_TRUE(saved) << "nothing written under data/saves";
    // Names on the disk are UTF-8.
    EXPECT_TRUE(fs::exists(driver.dataPath("saves/partie été.tnv")));

    // Leave to the main menu, and load it from there.
    driver.run(50, 40);
    if (driver.layer<WindowGameMenu>() == nullptr)
    {
        driver.click(view->getButton(3));
        driver.settle(40);
    }
    clickMenuEntry(driver, WindowGameMenu::ABORT);
    ASSERT_TRUE(driver.waitFor([&] { return driver.layer<WindowMenu>() != nullptr; }, 100));
    ASSERT_TRUE(loadFromMainMenu(driver, "partie été.tnv"));
    ASSERT_TRUE(driver.waitFor([&] { return GameScreen::current() != nullptr; }, 100));
    driver.settle(10);
    board = GameScreen::current()->getBoard();
    EXPECT_EQ(board->getSideToMove(), 0u);
    for (uint32_t i = 0; i < Board::kPieceCount; ++i)
    {
        EXPECT_EQ(board->getPieceByIndex(i).getX(), cells[i].first) << "piece " << i;
        EXPECT_EQ(board->getPieceByIndex(i).getY(), cells[i].second) << "piece " << i;
    }
    EXPECT_GE(board->getClock().getElapsed(), savedClock);
    EXPECT_LT(board->getClock().getElapsed(), savedClock + 2000);
    TimeDisplay* clock = gameClock(driver);
    ASSERT_NE(clock, nullptr) << "no game clock";
    EXPECT_GE(clock->getTime(), savedClock);
}

// From a saved position where White (the player) stands next to Black's den,
// the player enters it: the end-of-game window takes a record name with
// accents, and the scores window shows that record inside its frame.
TEST(PlaySolo, EnteringTheDenWinsAndTheRecordWithAnAccentedNameShowsInTheScores)
{
    SKIP_WITHOUT_DISPLAY();
    Driver driver;
    PngOnFailure png(driver);
    {
        Platform::setProgramDirectory(driver.folder());
        registerPlayerKinds();
        Board board;
        board.reset();
        board.setPlayer(0, std::make_unique<HumanPlayer>(0));
        board.setPlayer(1, std::make_unique<ComputerPlayer>(&board, 1, 0));
        ASSERT_TRUE(board.getPiece(0, 7).moveTo(8, 2));
        board.getClock().stop();
        board.getClock().setElapsed(61000);
        fs::create_directories(driver.dataPath("saves"));
        ASSERT_EQ(SavedGame::save("data\\saves\\fin.tnv", board), 0u);
    }
    ASSERT_TRUE(loadFromMainMenu(driver, "fin.tnv"));
    ASSERT_TRUE(driver.waitFor([&] { return GameScreen::current() != nullptr; }, 100));
    driver.settle(40);
    ASSERT_TRUE(playMove(driver, 8, 2, 8, 3));
    ASSERT_TRUE(driver.waitFor([&] { return driver.layer<WindowWin>() != nullptr; }, 200));
    driver.settle(20);
    auto* win = driver.layer<WindowWin>();
    ASSERT_NE(win->getNameField(), nullptr) << "no record offered";
    Faults faults = checkWindow(driver, win);
    EXPECT_TRUE(faults.empty()) << joined(faults);
    driver.click(win->getNameField());
    driver.type("Zoé è à ç");
    EXPECT_EQ(win->getNameField()->getText(), cp1252("Zoé è à ç"));
    ASSERT_TRUE(clickText(driver, "OK"));
    ASSERT_TRUE(driver.waitFor([&] { return driver.layer<ScoreListView>() != nullptr; }, 200));
    driver.settle(40);
    auto* scores = driver.layer<ScoreListView>();
    EXPECT_NE(driver.findText(cp1252("Zoé è à ç"), scores), nullptr) << "the record is not listed";
    faults = checkWindow(driver, scores);
    EXPECT_TRUE(faults.empty()) << joined(faults);
}
