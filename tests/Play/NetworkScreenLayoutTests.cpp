// The in-game screen of a network game with its chat window open: the chat
// window where it belongs and movable, the clock and the turn plaque in view
// beside it on the solo game's framed plaque, every cell in view from every
// camera, and the in-game menu over the chat window.
#include "Journeys.h"
#include "PlayChecks.h"

#include "Gui/Label.h"
#include "Gui/TextButton.h"
#include "Gui/TimeDisplay.h"
#include "Tarnaveli/Board/Board.h"
#include "Tarnaveli/Board/NetworkPlayer.h"
#include "Tarnaveli/Board/PlayerKinds.h"
#include "Tarnaveli/BoardView/BoardGraphics3D.h"
#include "Tarnaveli/ChatWindow.h"
#include "Tarnaveli/GameScreen.h"
#include "Tarnaveli/WindowGameMenu.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace Play;

namespace
{
bool overlaps(const Rect& a, const Rect& b)
{
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

std::string rectText(const Rect& r)
{
    return "(" + std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.width) + "x" +
           std::to_string(r.height) + ")";
}
} // namespace

TEST(PlayNetworkScreen, TheChatWindowHidesNoCellNorTheClockNorThePlaqueFromAnyCamera)
{
    SKIP_WITHOUT_DISPLAY();
    Driver driver;
    PngOnFailure png(driver);
    BoardGraphics3D* view = startNetworkScreen(driver);
    ASSERT_NE(view, nullptr);
    auto* chat = dynamic_cast<ChatWindow*>(GameScreen::current()->getChatWindow());
    ASSERT_NE(chat, nullptr);
    ASSERT_TRUE(Driver::shown(chat));

    // Where the chat window belongs, at its size, movable.
    EXPECT_EQ(chat->getX(), 400);
    EXPECT_EQ(chat->getY(), 0);
    EXPECT_EQ(chat->getWidth() - chat->getMarginLeft() - chat->getMarginRight(), ChatWindow::CLIENT_WIDTH);
    EXPECT_EQ(chat->getHeight() - chat->getMarginTop() - chat->getMarginBottom(), ChatWindow::CLIENT_HEIGHT);
    EXPECT_TRUE(chat->isMovable());

    // The clock and the plaque stay in view beside it, and so does every
    // other widget the board shows.
    ASSERT_NE(view->getClockDisplay(), nullptr);
    ASSERT_NE(view->getTurnLabel(), nullptr);
    EXPECT_TRUE(Driver::shown(view->getClockDisplay()));
    EXPECT_TRUE(Driver::shown(view->getTurnLabel()));
    for (Component* widget : boardOverlay(driver))
    {
        if (dynamic_cast<Label*>(widget) != nullptr || dynamic_cast<TextButton*>(widget) != nullptr ||
            widget == view->getClockDisplay())
        {
            EXPECT_FALSE(overlaps(widget->getRect(), chat->getRect()))
                << describe(widget) << " " << rectText(widget->getRect()) << " under the chat window "
                << rectText(chat->getRect());
        }
    }
    Faults faults = checkWindow(driver, GameScreen::current(), true);
    EXPECT_TRUE(faults.empty()) << joined(faults);

    // Every cell in view from every camera, the chat window open.
    for (uint32_t preset = 0; preset < BoardGraphics3D::kCameraCount; ++preset)
    {
        SCOPED_TRACE("camera " + std::to_string(view->getCameraIndex()));
        Faults hidden = hiddenCells(driver, {chat});
        EXPECT_TRUE(hidden.empty()) << joined(hidden);
        if (!hidden.empty())
            driver.savePng("camera" + std::to_string(view->getCameraIndex()));
        driver.click(view->getButton(0));
        driver.settle(40);
    }
}

TEST(PlayNetworkScreen, TheInGameMenuStandsOverTheChatWindow)
{
    SKIP_WITHOUT_DISPLAY();
    Driver driver;
    PngOnFailure png(driver);
    BoardGraphics3D* view = startNetworkScreen(driver);
    ASSERT_NE(view, nullptr);
    Layer* chat = GameScreen::current()->getChatWindow();
    ASSERT_NE(chat, nullptr);
    driver.click(view->getButton(3));
    driver.settle(40);
    auto* menu = driver.layer<WindowGameMenu>();
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(menu->isUnfolded());

    // Above it in the order of layers, and drawn so: the menu's buttons look
    // the same with the chat window open and hidden.
    const std::vector<Component*> layers = driver.layers();
    const auto menuAt = std::find(layers.begin(), layers.end(), menu);
    const auto chatAt = std::find(layers.begin(), layers.end(), chat);
    ASSERT_NE(chatAt, layers.end());
    EXPECT_GT(menuAt - layers.begin(), chatAt - layers.begin());
    driver.step();
    const Frame open = driver.readFrame();
    chat->setVisible(false);
    driver.step();
    const Frame hidden = driver.readFrame();
    chat->setVisible(true);
    ASSERT_FALSE(open.empty());
    for (uint32_t i = 0; i < WindowGameMenu::BUTTON_COUNT; ++i)
    {
        const Rect r = menu->getMenuButton(i)->getRect();
        int differing = 0;
        for (int y = std::max(0, r.y); y < std::min(kFrameHeight, r.y + r.height); ++y)
            for (int x = std::max(0, r.x); x < std::min(kFrameWidth, r.x + r.width); ++x)
                differing += open.at(x, y) != hidden.at(x, y) ? 1 : 0;
        EXPECT_EQ(differing, 0) << "menu button " << i << " " << rectText(r)
                                << " is drawn differently with the chat window open";
    }
}

TEST(PlayNetworkScreen, TheMovedClockStandsOnTheSoloGamesFramedPlaque)
{
    SKIP_WITHOUT_DISPLAY();
    Driver driver;
    PngOnFailure png(driver);
    BoardGraphics3D* view = startSoloGame(driver);
    ASSERT_NE(view, nullptr);
    TimeDisplay* clock = view->getClockDisplay();
    ASSERT_NE(clock, nullptr);
    driver.step();
    const Frame solo = driver.readFrame();
    const Rect soloClock = clock->getRect();
    const std::string soloTime = clock->getShownText(), soloTurn = Driver::textOf(view->getTurnLabel());

    GameScreen::current()->newGame(std::make_unique<NetworkPlayer>(PLAYER_NETWORK_LOCAL, 0),
                                   std::make_unique<NetworkPlayer>(PLAYER_NETWORK_REMOTE, 1), false);
    driver.settle(20);
    // The new game's clock shows the solo frame's time: both plaques then
    // carry the same clock and turn.
    ASSERT_TRUE(driver.waitFor([&] { return clock->getShownText() == soloTime; }));
    driver.step();
    ASSERT_EQ(clock->getShownText(), soloTime);
    ASSERT_EQ(Driver::textOf(view->getTurnLabel()), soloTurn);
    const Frame moved = driver.readFrame();
    const int dx = clock->getX() - soloClock.x, dy = clock->getY() - soloClock.y;
    ASSERT_NE(dx, 0);

    // The plaque of the overlay picture, its gold rim included, less the
    // rounded edge that blends with the scene behind it: the moved plaque
    // shows it pixel for pixel.
    const Rect plaque{456, 111, 126, 62};
    int differing = 0;
    for (int y = plaque.y; y < plaque.y + plaque.height; ++y)
        for (int x = plaque.x; x < plaque.x + plaque.width; ++x)
            differing += solo.at(x, y) != moved.at(x + dx, y + dy) ? 1 : 0;
    EXPECT_EQ(differing, 0) << "pixels of the plaque drawn differently beside the chat window";
}
