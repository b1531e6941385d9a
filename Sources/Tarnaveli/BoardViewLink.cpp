#include "Tarnaveli/BoardViewLink.h"

#include "Tarnaveli/BoardView/BoardGraphics3D.h"
#include "Tarnaveli/BoardView/GameBoardAssets.h"
#include "Tarnaveli/GameApplication.h"

namespace
{
const Rect kViewRect{0, 0, 1024, 768};
}

std::unique_ptr<GameScreenView> BoardViewLink::create(GameScreen& screen, Board& board)
{
    GameApplication* game = GameApplication::current();
    if (game == nullptr || game->getGameDescription() == nullptr)
        return nullptr;
    auto assets = std::make_unique<GameBoardAssets>(game->getGameDescription());
    BoardViewServices services;
    services.assets = assets.get();
    services.pieceSet = game->getSetup().mPionSet > 0 ? static_cast<size_t>(game->getSetup().mPionSet) : 0;
    return std::make_unique<BoardViewLink>(screen, board, std::move(assets), services);
}

BoardViewLink::BoardViewLink(GameScreen& screen, Board& board, std::unique_ptr<BoardAssets> assets,
                             const BoardViewServices& services)
    : mScreen(screen), mAssets(std::move(assets))
{
    mView = new BoardGraphics3D(&board, kViewRect, this, services);
}

// The view is a child of the screen, which deletes it.
BoardViewLink::~BoardViewLink() = default;

Component* BoardViewLink::getWidget()
{
    return mView;
}

void BoardViewLink::startMove(const Move& move)
{
    mView->startMove(move);
}

void BoardViewLink::resetForNewGame()
{
    mView->endMoveAnimation();
    mView->resetGameState();
    mView->updateLayout();
}

ErrorCode BoardViewLink::render3D()
{
    return mView->render3D();
}

void BoardViewLink::setButtonsEnabled(bool enabled)
{
    mView->setButtonsEnabled(enabled);
}

void BoardViewLink::enableChatButton()
{
    mView->enableChatButton();
}

bool BoardViewLink::isShowingMove()
{
    return mView->getCurrentMove() != nullptr;
}
