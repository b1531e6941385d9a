// A network game on this machine between two runs of the game in two
// processes: one hosts, the other finds and joins it; both chat and move,
// then the guest leaves and the host is told.
#include "Journeys.h"
#include "PlayChecks.h"

#include "Gui/ContainerLift.h"
#include "Gui/Dialog.h"
#include "Gui/Label.h"
#include "Gui/TextButton.h"
#include "Gui/TextField.h"
#include "Tarnaveli/Board/Board.h"
#include "Tarnaveli/BoardView/BoardGraphics3D.h"
#include "Tarnaveli/ChatPanel.h"
#include "Tarnaveli/GameScreen.h"
#include "Tarnaveli/WindowAskTutorial.h"
#include "Tarnaveli/WindowGameMenu.h"
#include "Tarnaveli/WindowJoinGame.h"
#include "Tarnaveli/WindowMenu.h"
#include "Tarnaveli/WindowNewGameMulti.h"
#include "Tarnaveli/WindowPrepareGame.h"

#include <gtest/gtest.h>

using namespace Play;

namespace
{
// Network events come on real time: waits are long in frames.
constexpr int kNetworkBudget = 1500;

WindowNewGameMulti* openNetworkMenu(Driver& driver, const std::string& nickname)
{
    if (reachMainMenu(driver) == nullptr)
        return nullptr;
    clickMenuEntry(driver, WindowMenu::MULTI);
    if (driver.layer<WindowAskTutorial>() != nullptr && !clickText(driver, "Non"))
        return nullptr;
    driver.settle(20);
    auto* menu = driver.layer<WindowNewGameMulti>();
    if (menu == nullptr)
        return nullptr;
    TextField* field = driver.find<TextField>(menu);
    if (field == nullptr)
        return nullptr;
    driver.click(field);
    for (size_t i = 0; i < 32; ++i)
        driver.pressKey(SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE);
    for (size_t i = 0; i < 32; ++i)
        driver.pressKey(SDL_SCANCODE_DELETE, SDLK_DELETE);
    driver.type(nickname);
    return field->getText() == cp1252(nickname) ? menu : nullptr;
}

ChatPanel* chat(Driver&)
{
    GameScreen* screen = GameScreen::current();
    return screen != nullptr ? screen->getChatPanelWidget() : nullptr;
}

bool chatShows(Driver& driver, const std::string& utf8)
{
    ChatPanel* panel = chat(driver);
    if (panel == nullptr)
        return false;
    for (Label* line : driver.allOf<Label>(panel->getList()))
        if (Driver::textOf(line).find(cp1252(utf8)) != std::string::npos)
            return true;
    return false;
}

bool say(Driver& driver, const std::string& utf8)
{
    ChatPanel* panel = chat(driver);
    if (panel == nullptr)
        return false;
    driver.click(panel->getField());
    driver.type(utf8);
    driver.click(panel->getSendButton());
    return driver.waitFor([&] { return chatShows(driver, utf8); }, 100);
}

// The side's first legal move whose cells the chat window leaves in view,
// played with the mouse.
bool moveWithTheMouse(Driver& driver, uint32_t side)
{
    GameScreen* screen = GameScreen::current();
    Board& board = *screen->getBoard();
    auto clear = [&](int x, int y)
    {
        int px = 0;
        int py = 0;
        Component* window = screen->getChatWindow();
        return cellPoint(driver, x, y, px, py) &&
               (window == nullptr || !Driver::shown(window) || !window->containsPoint(px, py));
    };
    for (uint32_t rank = 0; rank < 8; ++rank)
    {
        MoveList moves;
        board.generateMoves(side, rank, moves);
        const Piece& piece = board.getPiece(side, rank);
        for (uint32_t i = 0; i < moves.getCount(); ++i)
            if (clear(piece.getX(), piece.getY()) && clear(moves[i].getTargetX(), moves[i].getTargetY()))
                return playMove(driver, piece.getX(), piece.getY(), moves[i].getTargetX(),
                                moves[i].getTargetY());
    }
    return false;
}

bool waitForMyTurn(Driver& driver, uint32_t side)
{
    return driver.waitFor(
        [&]
        {
            GameScreen* screen = GameScreen::current();
            return screen != nullptr && screen->getBoard()->getSideToMove() == side &&
                   !screen->getView()->isShowingMove();
        },
        kNetworkBudget);
}

// The host's side of the game, in the child process. 0 when all went as a
// player expects, else the number of the step that did not.
int host(Driver& driver)
{
    WindowNewGameMulti* menu = openNetworkMenu(driver, "Hôte");
    if (menu == nullptr)
        return 10;
    if (!clickText(driver, "Créer"))
        return 11;
    driver.settle(10);
    WindowPrepareGame* room = driver.layer<WindowPrepareGame>();
    if (room == nullptr)
        return 12;
    // The guest arrives: "Lancer" comes on and looks it.
    if (!driver.waitFor([&] { return room->isLaunchEnabled(); }, kNetworkBudget))
        return 13;
    driver.run(5);
    if (!clickText(driver, "Lancer"))
        return 14;
    if (!driver.waitFor([&] { return GameScreen::current() != nullptr; }, kNetworkBudget))
        return 15;
    driver.settle(40);
    // Chat both ways.
    if (!driver.waitFor([&] { return chatShows(driver, "Bonjour de l'invité"); }, kNetworkBudget))
        return 20;
    if (!say(driver, "Salut, à toi de jouer après moi"))
        return 21;
    // Two moves each, White first.
    for (int turn = 0; turn < 2; ++turn)
    {
        if (!waitForMyTurn(driver, 0))
            return 30 + turn;
        if (!moveWithTheMouse(driver, 0))
            return 32 + turn;
    }
    // The guest leaves: the host is told, back at the main menu.
    if (!driver.waitFor([&] { return GameScreen::current() == nullptr; }, kNetworkBudget))
        return 40;
    driver.settle(20);
    if (driver.findText(cp1252("Votre adversaire a quitté la partie")) == nullptr)
        return 41;
    if (driver.layer<WindowMenu>() == nullptr)
        return 42;
    return 0;
}
} // namespace

TEST(PlayNetwork, HostAndGuestInTwoProcessesChatMoveAndTheHostIsToldWhenTheGuestLeaves)
{
    SKIP_WITHOUT_DISPLAY();
    // The host starts first so that its game can be found.
    ChildRunner hostRun(host);
    Driver driver;
    PngOnFailure png(driver);
    WindowNewGameMulti* menu = openNetworkMenu(driver, "Invité");
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(clickText(driver, "Rejoindre"));
    driver.settle(10);
    auto* join = driver.layer<WindowJoinGame>();
    ASSERT_NE(join, nullptr);
    // The host's game appears in the list: select it and join.
    Label* row = nullptr;
    ASSERT_TRUE(driver.waitFor(
        [&]
        {
            for (Label* label : driver.allOf<Label>(join->getList()))
                if (Driver::textOf(label) == cp1252("Partie de Hôte"))
                    row = label;
            if (row == nullptr && !join->isEnumerating())
                clickText(driver, "Rafraîchir");
            return row != nullptr;
        },
        kNetworkBudget))
        << "the hosted game was not found";
    driver.click(row);
    EXPECT_TRUE(join->isJoinEnabled());
    ASSERT_TRUE(clickText(driver, "Rejoindre"));
    ASSERT_TRUE(driver.waitFor([&] { return driver.layer<WindowPrepareGame>() != nullptr; }, kNetworkBudget));
    ASSERT_TRUE(driver.waitFor([&] { return GameScreen::current() != nullptr; }, kNetworkBudget))
        << "the game did not start";
    driver.settle(40);
    GameScreen* screen = GameScreen::current();
    ASSERT_TRUE(screen->isNetworkGame());
    auto* view = driver.find<BoardGraphics3D>();
    ASSERT_NE(view, nullptr);
    // The chat window is open: its button waits until it is hidden.
    ASSERT_NE(screen->getChatWindow(), nullptr);
    EXPECT_FALSE(view->getButton(4)->isEnabled()) << "the chat button is on while the chat is open";

    ASSERT_TRUE(say(driver, "Bonjour de l'invité"));
    EXPECT_TRUE(
        driver.waitFor([&] { return chatShows(driver, "Salut, à toi de jouer après moi"); }, kNetworkBudget));
    Faults faults = checkContrast(driver, chat(driver), driver.readFrame());
    EXPECT_TRUE(faults.empty()) << faults.front();

    for (int turn = 0; turn < 2; ++turn)
    {
        ASSERT_TRUE(waitForMyTurn(driver, 1)) << "White's move " << turn << " did not come";
        ASSERT_TRUE(moveWithTheMouse(driver, 1));
    }
    ASSERT_TRUE(driver.waitFor([&] { return screen->getBoard()->getMoveCount() >= 4; }, kNetworkBudget));

    // The guest leaves through the in-game menu.
    driver.click(view->getButton(3));
    driver.settle(40);
    ASSERT_NE(driver.layer<WindowGameMenu>(), nullptr);
    clickMenuEntry(driver, WindowGameMenu::ABORT);
    ASSERT_TRUE(driver.waitFor([&] { return driver.layer<WindowMenu>() != nullptr; }, 200));
    const ChildRun hosted = hostRun.wait();
    EXPECT_EQ(hosted.signal, 0) << "the host crashed";
    EXPECT_EQ(hosted.exitCode, 0) << "the host stopped at step " << hosted.exitCode;
}
