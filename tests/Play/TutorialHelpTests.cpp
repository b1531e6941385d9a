// The tutorial game and its advisor, the help pages, the in-game menu and
// the closing screen, as a player reaches them.
#include "Journeys.h"
#include "PlayChecks.h"

#include "Gui/Image.h"
#include "Gui/TextButton.h"
#include "Tarnaveli/Board/Board.h"
#include "Tarnaveli/BoardView/BoardGraphics3D.h"
#include "Tarnaveli/GameDescription/GameDescription.h"
#include "Tarnaveli/GameScreen.h"
#include "Tarnaveli/TutorialAdvisor.h"
#include "Tarnaveli/WindowGameMenu.h"
#include "Tarnaveli/WindowHelp.h"
#include "Tarnaveli/WindowMenu.h"
#include "Tarnaveli/WindowQuit.h"

#include <gtest/gtest.h>

using namespace Play;

namespace
{
// The cells of the board drawn under the advisor.
Faults cellsUnder(Driver& driver, Component* advisor)
{
    Faults faults;
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9; ++x)
            for (auto [u, v] :
                 {std::pair{0.0f, 0.0f}, {-0.8f, -0.8f}, {0.8f, -0.8f}, {-0.8f, 0.8f}, {0.8f, 0.8f}})
            {
                int px = 0;
                int py = 0;
                if (cellPoint(driver, x, y, u, v, px, py) && advisor->containsPoint(px, py))
                {
                    faults.push_back("cell (" + std::to_string(x) + "," + std::to_string(y) +
                                     ") under the advisor " + describe(advisor));
                    break;
                }
            }
    return faults;
}

// Shown buttons of the window other than those listed.
size_t linkButtons(Driver& driver, Component* window, std::initializer_list<Component*> others)
{
    size_t count = 0;
    for (Component* c : driver.all(window))
        if (c != window && Driver::shown(c) && dynamic_cast<Image*>(c) == nullptr &&
            dynamic_cast<Container*>(c) == nullptr &&
            std::find(others.begin(), others.end(), c) == others.end())
            ++count;
    return count;
}
} // namespace

TEST(PlayTutorial, TheAdvisorExplainsEachSelectedPieceAndEachMoveWithoutHidingTheBoard)
{
    SKIP_WITHOUT_DISPLAY();
    Driver driver;
    PngOnFailure png(driver);
    ASSERT_TRUE(openMainMenuEntry(driver, WindowMenu::TUTORIAL));
    ASSERT_TRUE(driver.waitFor([&] { return GameScreen::current() != nullptr; }, 100));
    driver.settle(40);
    GameScreen* screen = GameScreen::current();
    ASSERT_NE(screen->getTutorialAdvisor(), nullptr);
    Board& board = *screen->getBoard();

    // Each white animal selected in turn: the advisor describes it.
    for (uint32_t rank = 0; rank < 8; ++rank)
    {
        SCOPED_TRACE("rank " + std::to_string(rank));
        const Piece& piece = board.getPiece(0, rank);
        int px = 0;
        int py = 0;
        ASSERT_TRUE(cellPoint(driver, piece.getX(), piece.getY(), px, py));
        driver.click(px, py);
        driver.settle(10);
        TutorialAdvisor* advisor = screen->getTutorialAdvisor();
        ASSERT_NE(advisor, nullptr);
        EXPECT_FALSE(advisor->getTips().empty());
        Faults faults = cellsUnder(driver, advisor);
        Faults window = checkWindow(driver, advisor);
        faults.insert(faults.end(), window.begin(), window.end());
        EXPECT_TRUE(faults.empty()) << joined(faults);
        if (!faults.empty())
            break;
    }

    // A move, the computer's answer, and the advisor's tip after it.
    MoveList moves;
    board.generateMoves(0, 0, moves);
    ASSERT_GT(moves.getCount(), 0u);
    const Piece& rat = board.getPiece(0, 0);
    ASSERT_TRUE(playMove(driver, rat.getX(), rat.getY(), moves[0].getTargetX(), moves[0].getTargetY()));
    ASSERT_TRUE(waitForTurn(driver, 0));
    driver.settle(20);
    TutorialAdvisor* advisor = screen->getTutorialAdvisor();
    ASSERT_NE(advisor, nullptr);
    EXPECT_TRUE(Driver::shown(advisor));
    EXPECT_FALSE(advisor->getTips().empty());
    Faults faults = cellsUnder(driver, advisor);
    EXPECT_TRUE(faults.empty()) << joined(faults);
}

TEST(PlayTutorial, TheHelpPagesTurnAndTheSecondOffersTheRulesLink)
{
    SKIP_WITHOUT_DISPLAY();
    Driver driver;
    PngOnFailure png(driver);
    auto* help = fromMainMenu<WindowHelp>(driver, WindowMenu::HELP);
    ASSERT_NE(help, nullptr);
    driver.settle(40);
    auto* next = driver.find<TextButton>(help);
    ASSERT_NE(next, nullptr);
    driver.click(next);
    driver.settle(40);
    const size_t areas = driver.game().getGameDescription()->getTutorialLinkGroup().getAreas().size();
    ASSERT_GT(areas, 0u);
    EXPECT_EQ(linkButtons(driver, help, {next}), areas) << "the rules link is missing";
    driver.click(next);
    driver.settle(40);
    EXPECT_EQ(driver.layer<WindowHelp>(), nullptr);
    EXPECT_NE(driver.layer<WindowMenu>(), nullptr);
}

TEST(PlayTutorial, TheInGameMenuHoldsTheBoardButtonsUntilItIsLeft)
{
    SKIP_WITHOUT_DISPLAY();
    Driver driver;
    PngOnFailure png(driver);
    BoardGraphics3D* view = startSoloGame(driver);
    ASSERT_NE(view, nullptr);
    driver.click(view->getButton(3));
    driver.settle(40);
    ASSERT_NE(driver.layer<WindowGameMenu>(), nullptr);
    for (uint32_t i = 0; i < 4; ++i)
        EXPECT_FALSE(view->getButton(i)->isEnabled()) << "button " << i;
    clickMenuEntry(driver, WindowGameMenu::CONTINUE);
    driver.settle(20);
    EXPECT_EQ(driver.layer<WindowGameMenu>(), nullptr);
    for (uint32_t i = 0; i < 4; ++i)
        EXPECT_TRUE(view->getButton(i)->isEnabled()) << "button " << i;
}

TEST(PlayTutorial, TheClosingScreenOffersTheCreditsLinkThenEndsTheProgram)
{
    SKIP_WITHOUT_DISPLAY();
    Driver driver;
    PngOnFailure png(driver);
    auto* closing = fromMainMenu<WindowQuit>(driver, WindowMenu::QUIT);
    ASSERT_NE(closing, nullptr);
    driver.settle(20);
    const size_t areas = driver.game().getGameDescription()->getEndScreenLinkGroup().getAreas().size();
    ASSERT_GT(areas, 0u);
    EXPECT_EQ(linkButtons(driver, closing, {}), areas) << "the credits link is missing";
    EXPECT_TRUE(driver.waitFor([&] { return driver.quitTaken(); }, 300, 100)) << "the program did not end";
}
