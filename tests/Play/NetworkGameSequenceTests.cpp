// Two network games in a row between two runs of the game: the windows the
// guest had open when the host ended the first game go with it, and the
// second game plays as if there had been no first.
#include "../Platform/Net/NetSessionHarness.h"
#include "Journeys.h"
#include "PlayChecks.h"

#include "Gui/TextField.h"
#include "Tarnaveli/Board/Board.h"
#include "Tarnaveli/BoardView/BoardGraphics3D.h"
#include "Tarnaveli/ChatPanel.h"
#include "Tarnaveli/GameScreen.h"
#include "Tarnaveli/ScoreListView.h"
#include "Tarnaveli/WindowAskTutorial.h"
#include "Tarnaveli/WindowGameMenu.h"
#include "Tarnaveli/WindowMenu.h"
#include "Tarnaveli/WindowPrepareGame.h"
#include "Tarnaveli/WindowWin.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <fstream>
#include <typeinfo>

using namespace Play;

namespace
{
// Network events come on real time: a wait lasts 1500 frames and 30 s at
// least, however fast the frames run.
bool waitLive(Driver& driver, const std::function<bool()>& condition)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    for (int frame = 0; !condition(); ++frame)
        if ((frame >= 1500 && std::chrono::steady_clock::now() >= end) || !driver.step())
            return condition();
    return true;
}

// The two processes meet through files in a folder both know.
struct Meeting
{
    Platform::TemporaryDirectory folder;
    void tell(const char* what) const { std::ofstream(folder.path() + what).put('1'); }
    bool told(const char* what) const { return access((folder.path() + what).c_str(), F_OK) == 0; }
};

// From the main menu, hosts the game "Partie de Hôte" or joins it, and
// waits for it to start: the guest says when it is ready, the host launches.
bool startGame(Driver& driver, bool hosting)
{
    if (!openMainMenuEntry(driver, WindowMenu::MULTI) ||
        (driver.layer<WindowAskTutorial>() != nullptr && !clickText(driver, "Non")))
        return false;
    driver.settle(20);
    if (auto* nickname = driver.find<TextField>())
        nickname->setText(cp1252(hosting ? "Hôte" : "Invité"));
    if (!clickText(driver, hosting ? "Créer" : "Rejoindre"))
        return false;
    if (hosting)
    {
        if (!waitLive(driver, [&] { return driver.findText(cp1252("Invité : Prêt")) != nullptr; }))
            return false;
        driver.run(5);
        clickText(driver, "Lancer");
    }
    else
    {
        if (!waitLive(driver, [&] { return clickText(driver, "Partie de Hôte"); }) ||
            !clickText(driver, "Rejoindre") ||
            !waitLive(driver, [&] { return driver.find<ChatPanel>() != nullptr; }))
            return false;
        driver.settle(10);
        auto* chat = driver.find<ChatPanel>();
        driver.click(chat->getField());
        driver.type("Prêt");
        driver.click(chat->getSendButton());
    }
    return waitLive(driver, [] { return GameScreen::current() != nullptr; });
}

// Done on both boards before the first move: White's elephant stands next
// to Black's den and wins in one move.
void elephantByTheDen(Driver& driver)
{
    driver.settle(40);
    GameScreen* screen = GameScreen::current();
    screen->getBoard()->getPiece(0, RANK_ELEPHANT).moveTo(8, 2);
    screen->getView()->resetForNewGame();
}

// The host wins the first game and clicks OK on its end window once the
// guest's is open too; in the second it plays first and stays. 0 when all
// went so, else the step that did not.
int hostTwoGames(Driver& driver, const Meeting& guest)
{
    if (!startGame(driver, true))
        return 10;
    elephantByTheDen(driver);
    if (!waitLive(driver, [&] { return guest.told("ready"); }) || !playMove(driver, 8, 2, 8, 3))
        return 11;
    if (!waitLive(driver, [&] { return driver.layer<WindowWin>() != nullptr && guest.told("won"); }) ||
        !clickText(driver, "OK") || !waitLive(driver, [] { return GameScreen::current() == nullptr; }))
        return 12;
    if (!startGame(driver, true))
        return 20;
    driver.settle(40);
    int fromX = 0, fromY = 0, toX = 0, toY = 0;
    if (!firstWhiteMove(*GameScreen::current()->getBoard(), fromX, fromY, toX, toY) ||
        !playMove(driver, fromX, fromY, toX, toY))
        return 21;
    return waitLive(driver, [&] { return guest.told("done"); }) && GameScreen::current() != nullptr ? 0 : 22;
}
} // namespace

TEST(PlayNetwork, WhatTheGuestHadOpenWhenTheHostWonGoesWithTheGameAndTheNextGamePlays)
{
    SKIP_WITHOUT_DISPLAY();
    // A game port of the test's own: another test may host a game meanwhile.
    uint16_t port = 0;
    close(NetTest::loopbackListener(port));
    setenv("VELMORIQUE_GAME_PORT", std::to_string(port).c_str(), 1);
    Meeting meeting;
    ChildRunner hostRun([&](Driver& host) { return hostTwoGames(host, meeting); });
    Driver driver;
    PngOnFailure png(driver);

    // First game: the guest looks at the scores from the in-game menu when
    // the host's winning move comes, and its end window opens over them.
    ASSERT_TRUE(startGame(driver, false)) << "the first game did not start";
    elephantByTheDen(driver);
    driver.click(driver.find<BoardGraphics3D>()->getButton(3));
    driver.settle(40);
    clickMenuEntry(driver, WindowGameMenu::SCORES);
    ASSERT_NE(driver.layer<ScoreListView>(), nullptr);
    meeting.tell("ready");
    ASSERT_TRUE(waitLive(driver, [&] { return driver.layer<WindowWin>() != nullptr; }));
    meeting.tell("won");
    ASSERT_TRUE(waitLive(driver, [] { return GameScreen::current() == nullptr; }));
    driver.settle(20);
    ASSERT_NE(driver.findText(cp1252("Déconnecté de la partie")), nullptr);
    driver.pressKey(SDL_SCANCODE_RETURN, SDLK_RETURN);

    // Second game: only its screen and chat stand, a piece takes a click and
    // Echap keeps the guest in the game.
    ASSERT_TRUE(startGame(driver, false)) << "the second game did not start";
    driver.settle(40);
    GameScreen* screen = GameScreen::current();
    for (Component* layer : driver.layers())
        EXPECT_TRUE(layer == screen || layer == screen->getChatWindow())
            << "left over from the first game: " << typeid(*layer).name();
    ASSERT_TRUE(waitLive(driver, [&] { return waitForTurn(driver, 1, 1); }));
    const Piece& elephant = screen->getBoard()->getPiece(1, RANK_ELEPHANT);
    int x = 0, y = 0;
    ASSERT_TRUE(cellPoint(driver, elephant.getX(), elephant.getY(), x, y));
    driver.click(x, y);
    driver.settle(2);
    EXPECT_TRUE(driver.find<BoardGraphics3D>()->isPieceSelected());
    driver.pressKey(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE);
    driver.run(50);
    EXPECT_EQ(GameScreen::current(), screen) << "Echap took the guest out of the game";
    meeting.tell("done");
    const ChildRun hosted = hostRun.wait();
    EXPECT_EQ(hosted.exitCode, 0) << "the host stopped at step " << hosted.exitCode << ", signal "
                                  << hosted.signal;
}
