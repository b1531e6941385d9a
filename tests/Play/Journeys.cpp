#include "Journeys.h"

#include "Engine/Engine3D.h"
#include "Gui/FileDialog.h"
#include "Gui/TextButton.h"
#include "Tarnaveli/Board/Board.h"
#include "Tarnaveli/Board/NetworkPlayer.h"
#include "Tarnaveli/Board/PlayerKinds.h"
#include "Tarnaveli/BoardView/BoardGraphics3D.h"
#include "Tarnaveli/GameScreen.h"
#include "Tarnaveli/WindowAskTutorial.h"
#include "Tarnaveli/WindowMenu.h"
#include "Tarnaveli/WindowNewGame.h"

#include <gtest/gtest.h>

#include <cmath>

namespace Play
{

WindowMenu* reachMainMenu(Driver& driver)
{
    if (!driver.running() && driver.start() != 0)
        return nullptr;
    // Each intro picture ends on a click (they would last about ten
    // seconds); whatever a click does not end ends in its own time.
    for (int picture = 0; picture < 2 && driver.layer<WindowMenu>() == nullptr; ++picture)
    {
        driver.run(2);
        driver.click(512, 384);
    }
    driver.waitFor(
        [&]
        {
            WindowMenu* menu = driver.layer<WindowMenu>();
            return menu != nullptr && menu->isUnfolded();
        },
        200, 100);
    driver.settle(10);
    return driver.layer<WindowMenu>();
}

void clickMenuEntry(Driver& driver, uint32_t entry)
{
    auto* menu = driver.layer<MenuWindowBase>();
    ASSERT_NE(menu, nullptr);
    driver.waitFor([&] { return menu->isUnfolded(); }, 100, 40);
    driver.click(menu->getMenuButton(entry));
    driver.settle(10);
}

bool openMainMenuEntry(Driver& driver, uint32_t entry)
{
    if (reachMainMenu(driver) == nullptr)
        return false;
    clickMenuEntry(driver, entry);
    return true;
}

bool loadFromMainMenu(Driver& driver, const std::string& fileName)
{
    auto* dialog = fromMainMenu<FileDialog>(driver, WindowMenu::LOAD);
    if (dialog == nullptr)
        return false;
    dialog->setName(cp1252(fileName));
    return clickText(driver, "OK");
}

bool clickText(Driver& driver, const std::string& utf8)
{
    Component* widget = driver.findText(cp1252(utf8));
    if (widget == nullptr)
        return false;
    driver.click(widget);
    return true;
}

BoardGraphics3D* startSoloGame(Driver& driver)
{
    if (reachMainMenu(driver) == nullptr)
        return nullptr;
    clickMenuEntry(driver, WindowMenu::SOLO);
    // A fresh install asks first whether to follow the tutorial.
    if (driver.layer<WindowAskTutorial>() != nullptr && !clickText(driver, "Non"))
        return nullptr;
    driver.settle(10);
    if (driver.layer<WindowNewGame>() == nullptr || !clickText(driver, "OK"))
        return nullptr;
    BoardGraphics3D* view = nullptr;
    driver.waitFor(
        [&]
        {
            view = driver.find<BoardGraphics3D>();
            return view != nullptr && GameScreen::current() != nullptr;
        },
        100);
    // The camera settles on its starting view.
    driver.settle(40);
    return view;
}

BoardGraphics3D* startNetworkScreen(Driver& driver)
{
    BoardGraphics3D* view = startSoloGame(driver);
    GameScreen* screen = GameScreen::current();
    if (view == nullptr || screen == nullptr)
        return nullptr;
    screen->newGame(std::make_unique<NetworkPlayer>(PLAYER_NETWORK_LOCAL, 0),
                    std::make_unique<NetworkPlayer>(PLAYER_NETWORK_REMOTE, 1), false);
    driver.settle(20);
    return view;
}

bool cellPoint(Driver& driver, int cellX, int cellY, int& x, int& y)
{
    return cellPoint(driver, cellX, cellY, 0.0f, 0.0f, x, y);
}

bool cellPoint(Driver& driver, int cellX, int cellY, float u, float v, int& x, int& y)
{
    auto* view = driver.find<BoardGraphics3D>();
    Engine3D* engine = Engine3D::current();
    if (view == nullptr || engine == nullptr)
        return false;
    const CameraSetup& camera = engine->getCamera();
    // Half the step to the next cell along each axis of the board.
    const Platform::Vector3 c = view->getMarkerCentre(cellX, cellY);
    const Platform::Vector3 along =
        cellX < 8 ? view->getMarkerCentre(cellX + 1, cellY) : view->getMarkerCentre(cellX - 1, cellY);
    const Platform::Vector3 across =
        cellY < 6 ? view->getMarkerCentre(cellX, cellY + 1) : view->getMarkerCentre(cellX, cellY - 1);
    const float su = (cellX < 8 ? 0.5f : -0.5f) * u;
    const float sv = (cellY < 6 ? 0.5f : -0.5f) * v;
    const Platform::Vector3 p{c.x + su * (along.x - c.x) + sv * (across.x - c.x),
                              c.y + su * (along.y - c.y) + sv * (across.y - c.y),
                              c.z + su * (along.z - c.z) + sv * (across.z - c.z)};
    auto sub = [](Platform::Vector3 a, Platform::Vector3 b) {
        return Platform::Vector3{a.x - b.x, a.y - b.y, a.z - b.z};
    };
    auto dot = [](Platform::Vector3 a, Platform::Vector3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; };
    auto cross = [](Platform::Vector3 a, Platform::Vector3 b) {
        return Platform::Vector3{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
    };
    auto normal = [&](Platform::Vector3 a)
    {
        float length = std::sqrt(dot(a, a));
        return Platform::Vector3{a.x / length, a.y / length, a.z / length};
    };
    // A left-handed view looking from the eye at the target.
    const Platform::Vector3 zAxis = normal(sub(camera.mTarget, camera.mEye));
    const Platform::Vector3 xAxis = normal(cross(camera.mUp, zAxis));
    const Platform::Vector3 yAxis = cross(zAxis, xAxis);
    const Platform::Vector3 d = sub(p, camera.mEye);
    const float vx = dot(xAxis, d);
    const float vy = dot(yAxis, d);
    const float vz = dot(zAxis, d);
    if (vz <= 0)
        return false;
    float width = kFrameWidth;
    float height = kFrameHeight;
    engine->getViewSize(&width, &height);
    const float scaleY = 1.0f / std::tan(camera.mFieldOfView / 2);
    const float scaleX = scaleY * height / width;
    x = int(std::lround((vx * scaleX / vz + 1) / 2 * width));
    y = int(std::lround((1 - vy * scaleY / vz) / 2 * height));
    return x >= 0 && x < kFrameWidth && y >= 0 && y < kFrameHeight;
}

bool firstWhiteMove(Board& board, int& fromX, int& fromY, int& toX, int& toY)
{
    for (uint32_t rank = 0; rank < 8; ++rank)
    {
        MoveList moves;
        board.generateMoves(0, rank, moves);
        if (moves.getCount() == 0)
            continue;
        const Piece& piece = board.getPiece(0, rank);
        fromX = piece.getX();
        fromY = piece.getY();
        toX = moves[0].getTargetX();
        toY = moves[0].getTargetY();
        return true;
    }
    return false;
}

bool playMove(Driver& driver, int fromX, int fromY, int toX, int toY)
{
    GameScreen* screen = GameScreen::current();
    if (screen == nullptr)
        return false;
    const uint32_t moves = screen->getBoard()->getMoveCount();
    int x = 0;
    int y = 0;
    if (!cellPoint(driver, fromX, fromY, x, y))
        return false;
    driver.click(x, y);
    driver.settle(2);
    if (!cellPoint(driver, toX, toY, x, y))
        return false;
    driver.click(x, y);
    return driver.waitFor(
        [&] { return screen->getBoard()->getMoveCount() > moves && !screen->getView()->isShowingMove(); },
        200, 50);
}

bool waitForTurn(Driver& driver, uint32_t side, int budget)
{
    GameScreen* screen = GameScreen::current();
    if (screen == nullptr)
        return false;
    return driver.waitFor(
        [&]
        {
            GameScreen* now = GameScreen::current();
            return now != nullptr && now->getBoard()->getSideToMove() == side &&
                   !now->getView()->isShowingMove();
        },
        budget, 50);
}

ChildRun startInChild(const std::function<void(Driver&)>& prepare)
{
    return runInChild(
        [&](Driver& driver)
        {
            prepare(driver);
            const ErrorCode code = driver.start();
            return code == 0 ? 0 : 100 + int(code % 100);
        });
}

std::string shownMessages(const ChildRun& run)
{
    std::string shown;
    for (const std::string& message : run.messages)
        shown += message + "\n";
    return shown;
}

} // namespace Play
