// The in-game screen of a network game with its chat window open: the chat
// window where it belongs and movable, the clock and the turn plaque in view
// beside it on the solo game's framed plaque, every cell in view from every
// camera, and the in-game menu over the chat window.
#include "Journeys.h"
#include "PlayChecks.h"

#include "Gui/Image.h"
#include "Gui/Label.h"
#include "Gui/Look.h"
#include "Gui/Skin.h"
#include "Gui/TextButton.h"
#include "Gui/TimeDisplay.h"
#include "ImageCodec/ImageLibrary.h"
#include "Tarnaveli/Board/Board.h"
#include "Tarnaveli/Board/NetworkPlayer.h"
#include "Tarnaveli/Board/PlayerKinds.h"
#include "Tarnaveli/BoardView/BoardGraphics3D.h"
#include "Tarnaveli/ChatWindow.h"
#include "Tarnaveli/GameScreen.h"
#include "Tarnaveli/WindowGameMenu.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace Play;

namespace
{
bool overlaps(const Rect& a, const Rect& b)
{
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

// The board view's look: the overlay picture that frames the screen and
// carries the turn plaque.
constexpr uint32_t kBoardOverlayLook = 13;

// The overlay's alpha, 1024 x 768; empty when it cannot be read.
std::vector<uint8_t> overlayAlpha()
{
    SkinManager* skins = findSkinManager();
    Look* look = findLook(kBoardOverlayLook);
    if (skins == nullptr || skins->getCurrentSkin() == nullptr || look == nullptr)
        return {};
    const std::string path = skins->getSkinsFolder() + skins->getCurrentSkin()->getName() + "\\" +
                             skins->getTextureFile(look->getTextureId(0));
    DecodedImagePtr image(
        convertImage(openImageByName(path.c_str(), IMAGE_FORMAT_AUTODETECT), PIXEL_FORMAT_R8G8B8A8));
    if (!image || image->getWidth() != kFrameWidth || image->getHeight() != kFrameHeight)
        return {};
    std::vector<uint8_t> alpha(size_t(kFrameWidth) * kFrameHeight);
    for (size_t i = 0; i < alpha.size(); ++i)
        alpha[i] = image->getPixels()[i * 4 + 3];
    return alpha;
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

    // The solo plaque is the overlay's shape that holds the clock: the plaque,
    // its cords and its shadow. Where it is opaque the moved plaque matches it
    // pixel for pixel. Its edge and shadow blend with the scene behind, and
    // the cords' tops with the title picture's shadow, which differ from one
    // place to the other: those are not compared.
    const std::vector<uint8_t> alpha = overlayAlpha();
    ASSERT_FALSE(alpha.empty());
    std::vector<Rect> title;
    for (Image* image : driver.allOf<Image>(view))
        title.push_back(image->getRect());
    auto underTitle = [&](int x, int y)
    {
        return std::any_of(title.begin(), title.end(),
                           [&](const Rect& r)
                           { return x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height; });
    };
    std::vector<std::pair<int, int>> open{{soloClock.x + soloClock.width / 2, soloClock.y}};
    std::set<std::pair<int, int>> plaque;
    int differing = 0;
    while (!open.empty())
    {
        const auto [x, y] = open.back();
        open.pop_back();
        if (x < 0 || y < 0 || x >= kFrameWidth || y >= kFrameHeight ||
            alpha[size_t(y) * kFrameWidth + x] == 0 || !plaque.insert({x, y}).second)
            continue;
        open.insert(open.end(), {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}});
        if (alpha[size_t(y) * kFrameWidth + x] == 255 && !underTitle(x, y) && !underTitle(x + dx, y + dy))
            differing += solo.at(x, y) != moved.at(x + dx, y + dy) ? 1 : 0;
    }
    // The shape found carries the clock and the turn label whole.
    const Rect turn = view->getTurnLabel()->getRect();
    for (const Rect& r : {soloClock, Rect{turn.x - dx, turn.y - dy, turn.width, turn.height}})
        EXPECT_TRUE(plaque.count({r.x, r.y}) && plaque.count({r.x + r.width - 1, r.y + r.height - 1}))
            << rectText(r) << " off the plaque";
    EXPECT_EQ(differing, 0) << "pixels of the plaque drawn differently beside the chat window";
}
