#pragma once
// The tutorial game's advisor: a small window in the top-left corner that
// explains, after each move, a general tip and the captures either side can
// make, warns when the opponent enters the player's home third and cheers
// when the player reaches the enemy's third; and, when the player selects a
// piece, describes it and warns about traps, water and jumps.
#include "Gui/ComponentRef.h"
#include "Gui/Window.h"
#include "Tarnaveli/Board/Move.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class Board;
class WrapTextBox;
class GameScreen;
class Piece;

class TutorialAdvisor : public Window
{
public:
    static constexpr uint32_t kLookId = 50;
    static constexpr uint32_t kTipColor = 0xFFFFFFFF;
    static constexpr uint32_t kGeneralTipCount = 4;

    // The board is the screen's, read at each tip (a loaded game replaces it).
    TutorialAdvisor(const Rect& rect, GameScreen* screen, uint32_t side);
    ~TutorialAdvisor() override;

    int32_t getContentTop() override { return 0; }

    // After a move.
    void update();
    void onPieceSelected(Piece& piece);
    // A move starts: hidden until the next tip.
    void hide();

    // The paragraphs of the tip shown, and the panel that shows them.
    const std::vector<std::string>& getTips() const { return mTips; }
    WrapTextBox* getPanel() const { return mPanel; }
    uint32_t getGeneralTipIndex() const { return mGeneralTip; }

    // The game's texts for a rank (the piece set maps ranks to animals).
    static std::string pieceName(uint32_t rank);
    static std::string pieceNameWithArticle(uint32_t rank);

private:
    Board* board() const;
    void beginTip();
    void addTip(const std::string& text);
    void endTip();

    // A sibling layer of the root: null once the screen is gone, which at
    // shut-down may be before this window.
    ComponentRef<GameScreen> mScreen;
    uint32_t mSide;
    uint32_t mOpponent;
    uint32_t mGeneralTip = 0;
    std::array<bool, 8> mDescribed{};
    Piece* mSelected = nullptr;
    MoveList mSelectedMoves;
    // A child while a tip shows; replaced at each tip.
    WrapTextBox* mPanel = nullptr;
    std::vector<std::string> mTips;
};
