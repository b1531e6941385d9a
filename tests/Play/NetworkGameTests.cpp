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
#include "Tarnaveli/MenuVideoWindow.h"
#include "Tarnaveli/ScoreListView.h"
#include "Tarnaveli/WindowAskTutorial.h"
#include "Tarnaveli/WindowGameMenu.h"
#include "Tarnaveli/WindowJoinGame.h"
#include "Tarnaveli/WindowMenu.h"
#include "Tarnaveli/WindowNewGameMulti.h"
#include "Tarnaveli/WindowPrepareGame.h"
#include "Tarnaveli/WindowWin.h"

#include "Gui/Look.h"
#include "NetworkDirectPlay/DirectPlayCommon.h"
#include "NetworkDirectPlay/NetworkPeerDirectPlay.h"
#include "Platform/Net/NetWire.h"
#include "Platform/System/Text1252.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <functional>
#include <thread>
#include <typeinfo>

using namespace Play;

namespace
{
double meanLuminance(const Frame& frame, const Rect& r)
{
    double sum = 0;
    int count = 0;
    for (int y = std::max(0, r.y); y < std::min(kFrameHeight, r.y + r.height); ++y)
        for (int x = std::max(0, r.x); x < std::min(kFrameWidth, r.x + r.width); ++x, ++count)
        {
            const uint32_t p = frame.at(x, y);
            sum += (0.2126 * ((p >> 16) & 0xFF) + 0.7152 * ((p >> 8) & 0xFF) + 0.0722 * (p & 0xFF)) / 255.0;
        }
    return count > 0 ? sum / count : 0;
}

// A port of this test's own for the game, free when chosen, for both
// processes (the game's own port may be in use by another game on this
// machine).
void useFreeGamePort()
{
    const int probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (probe >= 0 && bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        setenv("VELMORIQUE_GAME_PORT", std::to_string(ntohs(address.sin_port)).c_str(), 1);
    if (probe >= 0)
        close(probe);
}

// Network events come on real time: waits are long in frames.
constexpr int kNetworkBudget = 1500;

// The budgets count frames at the game's pace, but network events come on
// real time: however fast frames run, a wait lasts at least as long as its
// frames would at that pace.
bool waitOnClock(Driver& driver, const std::function<bool()>& condition, int frames)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(20 * frames);
    for (int frame = 0; !condition(); ++frame)
    {
        if ((frame >= frames && std::chrono::steady_clock::now() >= deadline) || !driver.step())
            return condition();
    }
    return true;
}

WindowNewGameMulti* openNetworkMenu(Driver& driver, const std::string& nickname)
{
    if (!openMainMenuEntry(driver, WindowMenu::MULTI))
        return nullptr;
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
    // A nickname kept from an earlier game goes first.
    for (size_t i = field->getText().size(); i > 0; --i)
    {
        driver.pressKey(SDL_SCANCODE_END, SDLK_END);
        driver.pressKey(SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE);
    }
    driver.type(nickname);
    return field->getText() == cp1252(nickname) ? menu : nullptr;
}

ChatPanel* chat(Driver&)
{
    GameScreen* screen = GameScreen::current();
    return screen != nullptr ? screen->getChatPanelWidget() : nullptr;
}

bool panelShows(Driver& driver, ChatPanel* panel, const std::string& utf8)
{
    if (panel == nullptr)
        return false;
    for (Label* line : driver.allOf<Label>(panel->getList()))
        if (Driver::textOf(line).find(cp1252(utf8)) != std::string::npos)
            return true;
    return false;
}

bool sayIn(Driver& driver, ChatPanel* panel, const std::string& utf8)
{
    if (panel == nullptr)
        return false;
    driver.click(panel->getField());
    driver.type(utf8);
    driver.click(panel->getSendButton());
    return driver.waitFor([&] { return panelShows(driver, panel, utf8); }, 100);
}

bool chatShows(Driver& driver, const std::string& utf8)
{
    return panelShows(driver, chat(driver), utf8);
}

// The panel's lines with a character drawn outside the rows, left of the
// lift, or shown on fewer rows than its lines: one fault each.
Faults hiddenInChat(Driver& driver, ChatPanel* panel)
{
    Faults faults;
    ContainerLift* list = panel->getList();
    const Rect rows = list->getClipList()->getRect();
    if (rows.x + rows.width > list->getLift()->getX())
        faults.push_back("the rows reach under the lift");
    for (Label* line : driver.allOf<Label>(list))
    {
        Text2D* text = line->getTextObject();
        const std::string& characters = text->getText();
        for (int32_t i = 0; i < int32_t(characters.size()); ++i)
        {
            const Rect glyph = glyphSpan(line, i, i);
            if (characters[i] != ' ' && (glyph.x < rows.x || glyph.x + glyph.width > rows.x + rows.width))
            {
                faults.push_back("character " + std::to_string(i) + " hidden: " + describe(line));
                break;
            }
        }
        if (line->getHeight() < text->getHeight())
            faults.push_back("lines cut off: " + describe(line));
    }
    return faults;
}

int linesOf(Driver& driver, ChatPanel* panel, const std::string& utf8)
{
    for (Label* line : driver.allOf<Label>(panel->getList()))
        if (Driver::textOf(line).find(cp1252(utf8)) != std::string::npos)
            return line->getTextObject()->getLineCount();
    return 0;
}

bool say(Driver& driver, const std::string& utf8)
{
    return sayIn(driver, chat(driver), utf8);
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

// Waits for the host's game in the join window's list and selects it.
bool selectHostedGame(Driver& driver, WindowJoinGame* join)
{
    Label* row = nullptr;
    waitOnClock(
        driver,
        [&]
        {
            for (Label* label : driver.allOf<Label>(join->getList()))
                if (Driver::textOf(label) == cp1252("Partie de Hôte"))
                    row = label;
            if (row == nullptr && !join->isEnumerating())
                clickText(driver, "Rafraîchir");
            return row != nullptr;
        },
        kNetworkBudget);
    if (row != nullptr)
        driver.click(row);
    return row != nullptr;
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
    // The guest arrives ("Lancer" comes on) and says when it is ready.
    if (!waitOnClock(
            driver, [&] { return room->isLaunchEnabled(); }, kNetworkBudget))
        return 13;
    if (!waitOnClock(
            driver, [&] { return panelShows(driver, driver.find<ChatPanel>(room), "Prêt"); }, kNetworkBudget))
        return 16;
    driver.run(5);
    if (!clickText(driver, "Lancer"))
        return 14;
    if (!waitOnClock(
            driver, [&] { return GameScreen::current() != nullptr; }, kNetworkBudget))
        return 15;
    driver.settle(40);
    // Chat both ways.
    if (!waitOnClock(
            driver, [&] { return chatShows(driver, "Bonjour de l'invité"); }, kNetworkBudget))
        return 20;
    if (!say(driver, "Salut à toi"))
        return 21;
    // Two moves each, White first.
    for (int turn = 0; turn < 2; ++turn)
    {
        if (!waitOnClock(
                driver, [&] { return waitForTurn(driver, 0, 1); }, kNetworkBudget))
            return 30 + turn;
        if (!moveWithTheMouse(driver, 0))
            return 32 + turn;
    }
    // The guest leaves: the host is told, back at the main menu.
    if (!waitOnClock(
            driver, [&] { return GameScreen::current() == nullptr; }, kNetworkBudget))
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
    useFreeGamePort();
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
    ASSERT_TRUE(selectHostedGame(driver, join)) << "the hosted game was not found";
    EXPECT_TRUE(join->isJoinEnabled());
    // Enabled, "Rejoindre" looks like its enabled neighbour, not greyed.
    {
        driver.mouseMove(5, 5);
        driver.settle(2);
        const Frame frame = driver.readFrame();
        Component* joinButton = driver.findText("Rejoindre", join);
        Component* refresh = driver.findText(cp1252("Rafraîchir"), join);
        ASSERT_NE(joinButton, nullptr);
        ASSERT_NE(refresh, nullptr);
        EXPECT_LT(
            std::abs(meanLuminance(frame, joinButton->getRect()) - meanLuminance(frame, refresh->getRect())),
            0.05)
            << "\"Rejoindre\" still looks disabled";
    }
    ASSERT_TRUE(clickText(driver, "Rejoindre"));
    ASSERT_TRUE(waitOnClock(
        driver, [&] { return driver.layer<WindowPrepareGame>() != nullptr; }, kNetworkBudget));
    driver.settle(10);
    // The host launches once the guest says it is ready.
    WindowPrepareGame* room = driver.layer<WindowPrepareGame>();
    ASSERT_NE(room, nullptr);
    Faults roomFaults = checkWindow(driver, room);
    EXPECT_TRUE(roomFaults.empty()) << "waiting room:" << joined(roomFaults);
    ASSERT_TRUE(sayIn(driver, driver.find<ChatPanel>(room), "Prêt"));
    ASSERT_TRUE(waitOnClock(
        driver, [&] { return GameScreen::current() != nullptr; }, kNetworkBudget))
        << "the game did not start";
    driver.settle(40);
    GameScreen* screen = GameScreen::current();
    ASSERT_TRUE(screen->isNetworkGame());
    auto* view = driver.find<BoardGraphics3D>();
    ASSERT_NE(view, nullptr);
    // The chat window is open: its button waits until it is hidden.
    ASSERT_NE(screen->getChatWindow(), nullptr);
    EXPECT_FALSE(view->getButton(4)->isEnabled()) << "the chat button is on while the chat is open";

    // With an empty field, "Envoyer" is off and looks it.
    ASSERT_NE(chat(driver), nullptr);
    EXPECT_EQ(chat(driver)->getSendButton()->getLookState(), uint32_t{LOOK_STATE_DISABLED})
        << "\"Envoyer\" looks enabled with an empty field";
    ASSERT_TRUE(say(driver, "Bonjour de l'invité"));
    EXPECT_TRUE(waitOnClock(
        driver, [&] { return chatShows(driver, "Salut à toi"); }, kNetworkBudget));
    Faults faults = checkWindow(driver, screen->getChatWindow());
    EXPECT_TRUE(faults.empty()) << "chat window:" << joined(faults);
    // Lines longer than the chat is wide, one of ordinary words and one
    // holding a word longer than that: every character shows left of the
    // scroll bar, on as many rows as the line needs.
    const std::string words = "Je reviens tout de suite, le temps de fermer la fenêtre de la cuisine et de "
                              "voir ce que fait le chat de la voisine";
    const std::string longWord = "fin " + std::string(120, 'W');
    ASSERT_TRUE(say(driver, words));
    ASSERT_TRUE(say(driver, longWord));
    EXPECT_GE(linesOf(driver, chat(driver), words), 3);
    EXPECT_GE(linesOf(driver, chat(driver), longWord), 5);
    Faults hidden = hiddenInChat(driver, chat(driver));
    EXPECT_TRUE(hidden.empty()) << joined(hidden);

    for (int turn = 0; turn < 2; ++turn)
    {
        ASSERT_TRUE(waitOnClock(
            driver, [&] { return waitForTurn(driver, 1, 1); }, kNetworkBudget))
            << "White's move " << turn << " did not come";
        ASSERT_TRUE(moveWithTheMouse(driver, 1));
    }
    ASSERT_TRUE(waitOnClock(
        driver, [&] { return screen->getBoard()->getMoveCount() >= 4; }, kNetworkBudget));

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

TEST(PlayNetwork, HostingWhileTheGamePortIsTakenSaysThePortIsInUse)
{
    SKIP_WITHOUT_DISPLAY();
    // Another program holds the game's port on this machine.
    const int holder = socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(holder, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(bind(holder, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(holder, 1), 0);
    ASSERT_EQ(getsockname(holder, reinterpret_cast<sockaddr*>(&address), &length), 0);
    const std::string port = std::to_string(ntohs(address.sin_port));
    setenv("VELMORIQUE_GAME_PORT", port.c_str(), 1);

    Driver driver;
    PngOnFailure png(driver);
    ASSERT_NE(openNetworkMenu(driver, "Hôte"), nullptr);
    ASSERT_TRUE(clickText(driver, "Créer"));
    driver.settle(10);
    close(holder);
    EXPECT_EQ(driver.layer<WindowPrepareGame>(), nullptr);
    auto* message = driver.layer<Dialog>();
    ASSERT_NE(message, nullptr) << "no message";
    std::string text;
    for (Label* label : driver.allOf<Label>(message))
        text += Driver::textOf(label) + " ";
    EXPECT_EQ(text.find(cp1252("Appel ou paramètre invalide")), std::string::npos)
        << Platform::cp1252ToUtf8(text);
    EXPECT_NE(text.find("port " + port), std::string::npos) << Platform::cp1252ToUtf8(text);
}

namespace
{
// Opens the join window as "Invité"; `answers` is where its search takes
// answers. Null when the window did not open.
WindowJoinGame* openJoinWindow(Driver& driver, sockaddr_in& answers)
{
    if (openNetworkMenu(driver, "Invité") == nullptr || !clickText(driver, "Rejoindre"))
        return nullptr;
    driver.settle(10);
    auto* join = driver.layer<WindowJoinGame>();
    auto* peer = dynamic_cast<NetworkPeerDirectPlay*>(driver.game().getNetwork());
    if (join == nullptr || peer == nullptr || peer->getSessionLayer() == nullptr)
        return nullptr;
    answers = {};
    answers.sin_family = AF_INET;
    answers.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    answers.sin_port = htons(peer->getSessionLayer()->answerPort());
    return join;
}

struct DrawnPixels
{
    size_t inside = 0;
    size_t outside = 0;
};

// The pixels a widget draws, counted inside the area and outside it: those
// that change when it alone is not drawn, over the menu's video held still.
DrawnPixels pixelsDrawnBy(Driver& driver, Component* widget, const Rect& area)
{
    DrawnPixels drawn;
    driver.mouseMove(5, 5);
    driver.settle(20);
    auto* video = driver.layer<MenuVideoWindow>();
    if (video == nullptr)
    {
        ADD_FAILURE() << "no menu video";
        return drawn;
    }
    video->setVisible(false);
    driver.step(0);
    const Frame shown = driver.readFrame();
    widget->setVisible(false);
    driver.step(0);
    const Frame hidden = driver.readFrame();
    widget->setVisible(true);
    video->setVisible(true);
    for (int y = 0; y < kFrameHeight; ++y)
        for (int x = 0; x < kFrameWidth; ++x)
            if (shown.at(x, y) != hidden.at(x, y))
                ++(x >= area.x && x < area.x + area.width && y >= area.y && y < area.y + area.height
                       ? drawn.inside
                       : drawn.outside);
    return drawn;
}

// Two processes signal each other with files: waits, frames running, until
// the other made `path`.
bool waitForFile(Driver& driver, const std::string& path)
{
    return waitOnClock(
        driver, [&] { return access(path.c_str(), F_OK) == 0; }, kNetworkBudget);
}

// A player searching for games in the join window, and a game hosted on
// this machine once the test has sent the player what it sends first (until
// then the host's program does not run).
struct SearchBeforeAGame
{
    // Waits for the file `sent`, then starts the game, hosts and waits for a
    // guest that does not come.
    static int hostOnceSent(Driver& host, const std::string& sent)
    {
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(20 * kNetworkBudget);
        while (access(sent.c_str(), F_OK) != 0 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (openNetworkMenu(host, "Hôte") == nullptr || !clickText(host, "Créer"))
            return 10;
        waitOnClock(
            host, [] { return false; }, kNetworkBudget);
        return 0;
    }
    void hostTheGame() { std::ofstream(sent).put('1'); }
    bool listsTheGame()
    {
        return waitOnClock(
            driver, [&] { return driver.findText(cp1252("Partie de Hôte"), join->getList()) != nullptr; },
            kNetworkBudget);
    }

    Platform::TemporaryDirectory scratch;
    const std::string sent = scratch.path() + "sent";
    ChildRunner hostRun{[this](Driver& host) { return hostOnceSent(host, sent); }};
    Driver driver;
    PngOnFailure png{driver};
    sockaddr_in to{}; // where the player's search takes answers
    WindowJoinGame* join = openJoinWindow(driver, to);
};
} // namespace

// A few bytes from more senders than a search remembers, sent to a player
// looking for a game, do not keep out the game hosted after them.
TEST(PlayNetwork, JunkFromManySendersHidesNoGameFromTheJoinWindow)
{
    SKIP_WITHOUT_DISPLAY();
    useFreeGamePort();
    SearchBeforeAGame search;
    ASSERT_NE(search.join, nullptr);
    std::vector<int> senders(300);
    for (int& fd : senders)
    {
        fd = socket(AF_INET, SOCK_DGRAM, 0);
        const uint8_t junk[8] = {0x4A, 0x55, 0x4E, 0x4B, uint8_t(fd), 0, 0, 0};
        sendto(fd, junk, sizeof junk, 0, reinterpret_cast<sockaddr*>(&search.to), sizeof search.to);
    }
    search.driver.run(10);
    for (int fd : senders)
        close(fd);
    search.hostTheGame();
    EXPECT_TRUE(search.listsTheGame()) << "the game hosted after the junk is not listed";
}

// Made-up games answered once from the address and port where a game is
// hosted afterwards fill that source's share of the join list: they give
// way to the game once it answers and they stay silent.
TEST(PlayNetwork, MadeUpGamesSentFromAGamesAddressBeforeItIsHostedGiveWayToIt)
{
    SKIP_WITHOUT_DISPLAY();
    useFreeGamePort();
    SearchBeforeAGame search;
    ASSERT_NE(search.join, nullptr);
    const uint16_t gamePort = static_cast<uint16_t>(std::stoi(getenv("VELMORIQUE_GAME_PORT")));
    const int forger = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in from{};
    from.sin_family = AF_INET;
    from.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    from.sin_port = htons(gamePort);
    ASSERT_EQ(bind(forger, reinterpret_cast<sockaddr*>(&from), sizeof from), 0);
    Platform::NetHostInfo fake;
    fake.application = DirectPlay::toNetGuid(DirectPlay::kGameApplicationGuid);
    fake.maxPlayers = 2;
    fake.currentPlayers = 1;
    fake.address.port = gamePort;
    for (uint8_t i = 1; i <= Platform::kNetMaxHostsPerSource; ++i)
    {
        fake.instance.bytes.fill(i);
        fake.sessionName = "Partie gratuite " + std::to_string(i);
        const std::vector<uint8_t> bytes = Platform::NetWire::encodeAnswer(fake);
        sendto(forger, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&search.to),
               sizeof search.to);
    }
    close(forger);
    ASSERT_TRUE(waitOnClock(
        search.driver,
        [&] { return search.join->getList()->getRowCount() == Platform::kNetMaxHostsPerSource; },
        kNetworkBudget));
    search.hostTheGame();
    EXPECT_TRUE(search.listsTheGame()) << "the game hosted where the made-up games came from is not listed";
}

// The host cancels its game once the guest lists it and creates another of
// the same name: the guest's list holds both, and joining the ended one says
// the game cannot be joined, not that the guest was banned.
TEST(PlayNetwork, JoiningAGameItsHostCancelledSaysItCannotBeJoined)
{
    SKIP_WITHOUT_DISPLAY();
    useFreeGamePort();
    Platform::TemporaryDirectory scratch;
    const std::string listed = scratch.path() + "listed";
    const std::string done = scratch.path() + "done";
    ChildRunner hostRun(
        [&](Driver& host)
        {
            if (openNetworkMenu(host, "Hôte") == nullptr || !clickText(host, "Créer"))
                return 10;
            if (!waitForFile(host, listed) || !clickText(host, "Annuler"))
                return 11;
            host.settle(10);
            if (!clickText(host, "Créer"))
                return 12;
            return waitForFile(host, done) ? 0 : 13;
        });
    Driver driver;
    PngOnFailure png(driver);
    sockaddr_in answers{};
    WindowJoinGame* join = openJoinWindow(driver, answers);
    ASSERT_NE(join, nullptr);
    const std::string name = cp1252("Partie de Hôte");
    auto rows = [&]
    {
        std::vector<Label*> found;
        for (Label* label : driver.allOf<Label>(join->getList()))
            if (Driver::textOf(label) == name)
                found.push_back(label);
        return found;
    };
    ASSERT_TRUE(waitOnClock(driver, [&] { return rows().size() == 1; }, kNetworkBudget));
    std::ofstream(listed).put('1');
    ASSERT_TRUE(waitOnClock(driver, [&] { return rows().size() == 2; }, kNetworkBudget))
        << "the game created again is not listed beside the cancelled one";

    driver.click(rows()[0]);
    ASSERT_TRUE(clickText(driver, "Rejoindre"));
    const std::string cannot = cp1252("Impossible de se connecter à cette partie.");
    EXPECT_TRUE(waitOnClock(driver, [&] { return driver.findText(cannot) != nullptr; }, kNetworkBudget));
    EXPECT_EQ(driver.findText(cp1252("Vous êtes bannis de la partie.")), nullptr);
    EXPECT_EQ(driver.layer<WindowPrepareGame>(), nullptr);
    std::ofstream(done).put('1');
    const ChildRun hosted = hostRun.wait();
    EXPECT_EQ(hosted.signal, 0) << "the host crashed";
    EXPECT_EQ(hosted.exitCode, 0) << "the host stopped at step " << hosted.exitCode;
}

// A name as long as the name field takes, of the widest letters, shows in
// its slot of the waiting room as far as the slot goes, and no further.
TEST(PlayNetwork, ALongNameInTheWaitingRoomDrawsNothingOutsideTheSlots)
{
    SKIP_WITHOUT_DISPLAY();
    useFreeGamePort();
    Driver driver;
    PngOnFailure png(driver);
    const std::string name = "WMWMWMWMWMWMWMWMWMWMWFIN";
    ASSERT_NE(openNetworkMenu(driver, name), nullptr);
    ASSERT_TRUE(clickText(driver, "Créer"));
    driver.settle(10);
    WindowPrepareGame* room = driver.layer<WindowPrepareGame>();
    ASSERT_NE(room, nullptr);
    Component* slot = driver.findText(name, room);
    ASSERT_NE(slot, nullptr);
    const DrawnPixels drawn = pixelsDrawnBy(driver, slot, slot->getParent()->getRect());
    EXPECT_GT(drawn.inside, 0u) << "the name is not drawn";
    EXPECT_EQ(drawn.outside, 0u) << "pixels of the name drawn outside the slot panel";
}

// A game's name from the network holding line breaks and other control
// characters shows on one line in its own row of the join list: the row of
// the game listed below it reads as it would alone.
TEST(PlayNetwork, AForgedNameWithLineBreaksDrawsNothingOutsideItsRowOfTheJoinList)
{
    SKIP_WITHOUT_DISPLAY();
    useFreeGamePort();
    Driver driver;
    PngOnFailure png(driver);
    sockaddr_in to{};
    WindowJoinGame* join = openJoinWindow(driver, to);
    ASSERT_NE(join, nullptr);
    // The forged answer comes first, so that its row stands above the game's.
    Platform::NetHostInfo game;
    game.application = DirectPlay::toNetGuid(DirectPlay::kGameApplicationGuid);
    game.maxPlayers = 2;
    game.currentPlayers = 1;
    game.address.port = 4444;
    Platform::NetHostInfo forged = game;
    forged.instance.bytes.fill(0x66);
    while (forged.sessionName.size() < Platform::kNetMaxSessionName)
        forged.sessionName += std::string("Piege\n\r\t\0\x1B\x7F", 11);
    forged.sessionName.resize(Platform::kNetMaxSessionName);
    game.sessionName = "Partie de Bob";
    const int sender = socket(AF_INET, SOCK_DGRAM, 0);
    for (const Platform::NetHostInfo* answer : {&forged, &game})
    {
        const std::vector<uint8_t> bytes = Platform::NetWire::encodeAnswer(*answer);
        sendto(sender, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    }
    close(sender);
    ASSERT_TRUE(waitOnClock(
        driver, [&] { return driver.findText("Partie de Bob", join->getList()) != nullptr; },
        kNetworkBudget));
    // Each change of the list makes its rows anew.
    Label* fake = nullptr;
    for (Label* label : driver.allOf<Label>(join->getList()))
        if (Driver::textOf(label).rfind("Piege", 0) == 0)
            fake = label;
    ASSERT_NE(fake, nullptr);
    const std::string shown = Driver::textOf(fake);
    EXPECT_EQ(
        std::count_if(shown.begin(), shown.end(), [](char c) { return uint8_t(c) < 0x20 || c == 0x7F; }), 0);
    const DrawnPixels drawn = pixelsDrawnBy(driver, fake, fake->getRect());
    EXPECT_GT(drawn.inside, 0u) << "the forged name is not drawn";
    EXPECT_EQ(drawn.outside, 0u) << "pixels of the forged name drawn outside its row";
}

namespace
{
// Longer than the chat is wide.
const char* const kLongLine =
    "Je vais geler dans un instant, sans rien dire de plus, et ma connexion restera ouverte";

// Hosts a game and launches it once the guest says it is ready: 0 when the
// game runs, else the number of the step that failed.
int hostUntilTheGameRuns(Driver& driver)
{
    if (openNetworkMenu(driver, "Hôte") == nullptr || !clickText(driver, "Créer"))
        return 10;
    driver.settle(10);
    WindowPrepareGame* room = driver.layer<WindowPrepareGame>();
    if (room == nullptr || !waitOnClock(
                               driver, [&] { return room->isLaunchEnabled(); }, kNetworkBudget))
        return 11;
    if (!waitOnClock(
            driver, [&] { return panelShows(driver, driver.find<ChatPanel>(room), "Prêt"); }, kNetworkBudget))
        return 12;
    driver.run(5);
    if (!clickText(driver, "Lancer") ||
        !waitOnClock(
            driver, [&] { return GameScreen::current() != nullptr; }, kNetworkBudget))
        return 13;
    driver.settle(40);
    return 0;
}

// Finds the host's game, joins it and says it is ready: 0 when the game
// runs, else the number of the step that failed.
int joinUntilTheGameRuns(Driver& driver)
{
    if (openNetworkMenu(driver, "Invité") == nullptr || !clickText(driver, "Rejoindre"))
        return 20;
    driver.settle(10);
    auto* join = driver.layer<WindowJoinGame>();
    if (join == nullptr || !selectHostedGame(driver, join) || !clickText(driver, "Rejoindre"))
        return 21;
    if (!waitOnClock(
            driver, [&] { return driver.layer<WindowPrepareGame>() != nullptr; }, kNetworkBudget))
        return 22;
    driver.settle(10);
    if (!sayIn(driver, driver.find<ChatPanel>(driver.layer<WindowPrepareGame>()), "Prêt"))
        return 23;
    if (!waitOnClock(
            driver, [&] { return GameScreen::current() != nullptr; }, kNetworkBudget))
        return 24;
    driver.settle(40);
    return 0;
}

// A player whose program hangs in the middle of the game: it says so, then
// stops dead, its connection still open and answering nothing.
int hangAfterSaying(Driver& driver, const std::string& line)
{
    if (!say(driver, line))
        return 30;
    driver.run(20);
    raise(SIGSTOP);
    return 0;
}

int hostThatHangs(Driver& driver)
{
    int step = hostUntilTheGameRuns(driver);
    return step != 0 ? step : hangAfterSaying(driver, kLongLine);
}

int guestThatHangs(Driver& driver)
{
    int step = joinUntilTheGameRuns(driver);
    return step != 0 ? step : hangAfterSaying(driver, "Je vais geler");
}
} // namespace

TEST(PlayNetwork, AGuestWhoseHostStopsAnsweringIsToldTheConnectionIsLostAndReturnsToTheMenu)
{
    SKIP_WITHOUT_DISPLAY();
    useFreeGamePort();
    ChildRunner hostRun(hostThatHangs);
    Driver driver;
    PngOnFailure png(driver);
    ASSERT_EQ(joinUntilTheGameRuns(driver), 0);
    ASSERT_TRUE(waitOnClock(
        driver, [&] { return chatShows(driver, kLongLine); }, kNetworkBudget));
    // The long line breaks onto rows of its own, all inside the chat.
    for (Label* line : driver.allOf<Label>(chat(driver)->getList()))
    {
        if (Driver::textOf(line).find(cp1252(kLongLine)) == std::string::npos)
            continue;
        EXPECT_GT(line->getTextObject()->getLineCount(), 1);
        EXPECT_LE(line->getTextObject()->getMaxLineWidth(), line->getWidth());
        EXPECT_EQ(line->getHeight(), line->getTextObject()->getHeight());
    }

    // Nothing comes from the host any more; within the bound the guest is
    // told, as when a host leaves, and is back at the main menu.
    const auto hung = std::chrono::steady_clock::now();
    ASSERT_TRUE(waitOnClock(
        driver, [&] { return GameScreen::current() == nullptr; }, 3 * kNetworkBudget))
        << "the guest still waits for a host that is gone";
    const auto told =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - hung);
    std::printf("the guest was told after %lld ms\n", static_cast<long long>(told.count()));
    driver.settle(20);
    EXPECT_NE(driver.findText(cp1252("Connection perdu avec l'hote")), nullptr);
    EXPECT_NE(driver.findText(cp1252("Déconnecté de la partie")), nullptr);
    EXPECT_NE(driver.layer<WindowMenu>(), nullptr);
}

TEST(PlayNetwork, AHostWhoseGuestStopsAnsweringIsToldTheOpponentLeftAndReturnsToTheMenu)
{
    SKIP_WITHOUT_DISPLAY();
    useFreeGamePort();
    // The guest searches until the game is hosted.
    ChildRunner guestRun(guestThatHangs);
    Driver driver;
    PngOnFailure png(driver);
    ASSERT_EQ(hostUntilTheGameRuns(driver), 0);
    ASSERT_TRUE(waitOnClock(
        driver, [&] { return chatShows(driver, "Je vais geler"); }, kNetworkBudget));

    ASSERT_TRUE(waitOnClock(
        driver, [&] { return GameScreen::current() == nullptr; }, 3 * kNetworkBudget))
        << "the host still waits for a guest that is gone";
    driver.settle(20);
    EXPECT_NE(driver.findText(cp1252("Votre adversaire a quitté la partie")), nullptr);
    EXPECT_NE(driver.layer<WindowMenu>(), nullptr);
}

namespace
{
// Done on the board before the first move: White's elephant stands next to
// Black's den, and wins in one move.
void elephantByTheDen()
{
    GameScreen* screen = GameScreen::current();
    screen->getBoard()->getPiece(0, RANK_ELEPHANT).moveTo(8, 2);
    screen->getView()->resetForNewGame();
}

bool told(const std::string& what)
{
    return access(what.c_str(), F_OK) == 0;
}

// The host wins the first game and clicks OK on its end window once the
// guest's is open too; in the second it plays first and stays. 0 when all
// went so, else the step that did not.
int hostTwoGames(Driver& driver, const std::string& meeting)
{
    if (int step = hostUntilTheGameRuns(driver))
        return step;
    elephantByTheDen();
    if (!waitOnClock(
            driver, [&] { return told(meeting + "ready"); }, kNetworkBudget) ||
        !playMove(driver, 8, 2, 8, 3))
        return 40;
    if (!waitOnClock(
            driver, [&] { return driver.layer<WindowWin>() != nullptr && told(meeting + "won"); },
            kNetworkBudget) ||
        !clickText(driver, "OK") ||
        !waitOnClock(
            driver, [] { return GameScreen::current() == nullptr; }, kNetworkBudget))
        return 41;
    if (int step = hostUntilTheGameRuns(driver))
        return step;
    int fromX = 0, fromY = 0, toX = 0, toY = 0;
    if (!firstWhiteMove(*GameScreen::current()->getBoard(), fromX, fromY, toX, toY) ||
        !playMove(driver, fromX, fromY, toX, toY))
        return 42;
    return waitOnClock(
               driver, [&] { return told(meeting + "done"); }, kNetworkBudget) &&
                   GameScreen::current() != nullptr
               ? 0
               : 43;
}
} // namespace

// Two network games in a row: the windows the guest had open when the host
// ended the first go with it, and the second plays as if there had been no
// first.
TEST(PlayNetwork, WhatTheGuestHadOpenWhenTheHostWonGoesWithTheGameAndTheNextGamePlays)
{
    SKIP_WITHOUT_DISPLAY();
    useFreeGamePort();
    Platform::TemporaryDirectory scratch;
    const std::string meeting = scratch.path();
    ChildRunner hostRun([&](Driver& host) { return hostTwoGames(host, meeting); });
    Driver driver;
    PngOnFailure png(driver);
    auto tell = [&](const char* what) { std::ofstream(meeting + what).put('1'); };

    // First game: the guest looks at the scores from the in-game menu when
    // the host's winning move comes, and its end window opens over them.
    ASSERT_EQ(joinUntilTheGameRuns(driver), 0) << "the first game did not start";
    elephantByTheDen();
    driver.click(driver.find<BoardGraphics3D>()->getButton(3));
    driver.settle(40);
    clickMenuEntry(driver, WindowGameMenu::SCORES);
    ASSERT_NE(driver.layer<ScoreListView>(), nullptr);
    tell("ready");
    ASSERT_TRUE(waitOnClock(
        driver, [&] { return driver.layer<WindowWin>() != nullptr; }, kNetworkBudget));
    tell("won");
    ASSERT_TRUE(waitOnClock(
        driver, [] { return GameScreen::current() == nullptr; }, kNetworkBudget));
    driver.settle(20);
    ASSERT_NE(driver.findText(cp1252("Déconnecté de la partie")), nullptr);
    driver.pressKey(SDL_SCANCODE_RETURN, SDLK_RETURN);

    // Second game: only its screen and chat stand, a piece takes a click and
    // Echap keeps the guest in the game.
    ASSERT_EQ(joinUntilTheGameRuns(driver), 0) << "the second game did not start";
    GameScreen* screen = GameScreen::current();
    for (Component* layer : driver.layers())
        EXPECT_TRUE(layer == screen || layer == screen->getChatWindow())
            << "left over from the first game: " << typeid(*layer).name();
    ASSERT_TRUE(waitOnClock(
        driver, [&] { return waitForTurn(driver, 1, 1); }, kNetworkBudget));
    const Piece& elephant = screen->getBoard()->getPiece(1, RANK_ELEPHANT);
    int x = 0, y = 0;
    ASSERT_TRUE(cellPoint(driver, elephant.getX(), elephant.getY(), x, y));
    driver.click(x, y);
    driver.settle(2);
    EXPECT_TRUE(driver.find<BoardGraphics3D>()->isPieceSelected());
    driver.pressKey(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE);
    driver.run(50);
    EXPECT_EQ(GameScreen::current(), screen) << "Echap took the guest out of the game";
    tell("done");
    const ChildRun hosted = hostRun.wait();
    EXPECT_EQ(hosted.exitCode, 0) << "the host stopped at step " << hosted.exitCode << ", signal "
                                  << hosted.signal;
}
