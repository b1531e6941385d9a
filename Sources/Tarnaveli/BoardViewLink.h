#pragma once
// The in-game screen's link to the 3D board view: it makes the view over
// the screen's board with the game description's models and lights, hands
// the screen's requests to the view, and passes the view's reports to the
// screen.
#include "Gui/ComponentRef.h"
#include "Tarnaveli/BoardView/BoardViewListener.h"
#include "Tarnaveli/GameScreen.h"

#include <memory>

class BoardAssets;
class BoardGraphics3D;

class BoardViewLink final : public GameScreenView, public BoardViewListener
{
public:
    // The view over the board, with the game's assets; null when the game
    // has no description loaded.
    static std::unique_ptr<GameScreenView> create(GameScreen& screen, Board& board);

    // assets may be null when the view was given its own.
    BoardViewLink(GameScreen& screen, Board& board, std::unique_ptr<BoardAssets> assets,
                  const struct BoardViewServices& services);
    ~BoardViewLink() override;

    Component* getWidget() override;
    void startMove(const Move& move) override;
    void resetForNewGame() override;
    ErrorCode render3D() override;
    void setButtonsEnabled(bool enabled) override;
    void enableChatButton() override;
    bool isShowingMove() override;

    void onMoveStarted(const Move& move) override { mScreen.onMoveStarted(move); }
    void onMoveFinished(const Move& move) override { mScreen.onMoveFinished(move); }
    void onMoveUndone() override { mScreen.onMoveUndone(); }
    void onPieceSelected(Piece& piece) override { mScreen.onPieceSelected(piece); }
    void playMove(const Move& move) override { mScreen.playMove(move); }
    void sendMove(uint32_t rank, uint32_t index) override { mScreen.sendMove(rank, index); }
    void onGameOver(uint32_t winner) override { mScreen.onGameOver(winner); }
    void openGameMenu() override { mScreen.openGameMenu(); }
    void openChatWindow() override { mScreen.openChatWindow(); }
    bool isChatWindowOpen() const override
    {
        return mScreen.getChatWindow() != nullptr && mScreen.getChatWindow()->isVisible();
    }

    BoardGraphics3D* getView() const { return mView; }

private:
    GameScreen& mScreen;
    // Outlives the view: the screen deletes its children before this link.
    std::unique_ptr<BoardAssets> mAssets;
    // Made here and handed to the screen, which adopts it as its child.
    ComponentRef<BoardGraphics3D> mView;
};
