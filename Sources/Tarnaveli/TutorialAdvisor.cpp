#include "Tarnaveli/TutorialAdvisor.h"

#include "Framework/LangTable.h"
#include "Gui/GuiManager.h"
#include "Gui/Text.h"
#include "Gui/WrapTextBox.h"
#include "Tarnaveli/Board/Board.h"
#include "Tarnaveli/Board/Piece.h"
#include "Tarnaveli/GameLang.h"
#include "Tarnaveli/GameScreen.h"
#include "Tarnaveli/GameTextFormat.h"
#include "Tarnaveli/StartupTables.h"

#include <algorithm>

namespace
{
constexpr uint32_t kPanelLook = 8;
constexpr uint32_t kTipFlags = 4;
constexpr size_t kTipLength = 256;

// The third of the board nearest to a side's own den.
bool inHomeThird(uint32_t side, int32_t x)
{
    return side == 0 ? x <= 2 : x >= 6;
}
} // namespace

TutorialAdvisor::TutorialAdvisor(const Rect& rect, GameScreen* screen, uint32_t side)
    : Window(rect.x, rect.y, rect.width, rect.height, true, kLookId, false, false), mScreen(screen),
      mSide(side & 1), mOpponent(1 - (side & 1))
{
}

TutorialAdvisor::~TutorialAdvisor() = default;

Board* TutorialAdvisor::board() const
{
    return mScreen != nullptr ? mScreen->getBoard() : nullptr;
}

std::string TutorialAdvisor::pieceName(uint32_t rank)
{
    return getLangText(LANG_PION_NAME_RAT + (rank & 7));
}

std::string TutorialAdvisor::pieceNameWithArticle(uint32_t rank)
{
    return getLangText(LANG_THE_PION_NAME_RAT + (rank & 7));
}

void TutorialAdvisor::beginTip()
{
    setVisible(true);
    if (mPanel != nullptr)
    {
        // Under the GUI root it goes after the current dispatch: the panel
        // may be the widget being drawn or dispatched to.
        deleteChild(mPanel);
        mPanel = nullptr;
    }
    mTips.clear();
    // Filling the client area; its line and item spacing stay 0, so that
    // the paragraphs stand directly one under another.
    const Margins margins = getMargins();
    mPanel = new WrapTextBox({0, 0, std::max(0, getWidth() - margins.left - margins.right),
                              std::max(0, getHeight() - margins.top - margins.bottom)},
                             kPanelLook);
}

void TutorialAdvisor::addTip(const std::string& text)
{
    mTips.push_back(text);
    WrapTextStyle style;
    style.fontId = FONT_INFOTIP;
    style.color = kTipColor;
    style.alignment = kTipFlags;
    mPanel->addWord(text, style, WRAP_FLOW);
    mPanel->newLine();
}

void TutorialAdvisor::endTip()
{
    mPanel->fitHeight();
    addChild(mPanel);
    const Margins margins = getMargins();
    resize(getWidth(), mPanel->getHeight() + margins.top + margins.bottom, true);
}

void TutorialAdvisor::hide()
{
    setVisible(false);
}

void TutorialAdvisor::update()
{
    Board* game = board();
    beginTip();
    addTip(getLangText(LANG_TUTORIAL_GENERAL_0 + mGeneralTip));
    if (mGeneralTip + 1 < kGeneralTipCount)
        ++mGeneralTip;
    if (game == nullptr)
    {
        endTip();
        return;
    }

    MoveList moves;
    for (uint32_t rank = 0; rank < 8; ++rank)
    {
        game->generateMoves(mSide, rank, moves);
        for (const Move& move : moves)
            if (move.getKind() == MOVE_CAPTURE)
            {
                const Piece* victim = game->getCell(move.getTargetX(), move.getTargetY()).mOccupant;
                uint32_t victimRank = victim != nullptr ? victim->getRank() : move.getCapturedRank();
                addTip(formatGameText(getLangText(LANG_TUTORIAL_CAN_EAT),
                                      {pieceName(rank), pieceNameWithArticle(victimRank)}, kTipLength));
            }
    }
    for (uint32_t rank = 0; rank < 8; ++rank)
    {
        game->generateMoves(mOpponent, rank, moves);
        for (const Move& move : moves)
            if (move.getKind() == MOVE_CAPTURE)
            {
                const Piece* victim = game->getCell(move.getTargetX(), move.getTargetY()).mOccupant;
                uint32_t victimRank = victim != nullptr ? victim->getRank() : move.getCapturedRank();
                addTip(formatGameText(getLangText(LANG_TUTORIAL_ADVERSE_CAN_EAT),
                                      {pieceNameWithArticle(rank), pieceName(victimRank)}, kTipLength));
            }
    }

    bool underAttack = false;
    bool attacking = false;
    for (uint32_t rank = 0; rank < 8; ++rank)
    {
        const Piece& enemy = game->getPiece(mOpponent, rank);
        underAttack = underAttack || (enemy.isOnBoard() && inHomeThird(mSide, enemy.getX()));
        const Piece& own = game->getPiece(mSide, rank);
        attacking = attacking || (own.isOnBoard() && inHomeThird(mOpponent, own.getX()));
    }
    if (underAttack)
        addTip(getLangText(LANG_TUTORIAL_UNDERATTACK));
    if (attacking)
        addTip(getLangText(LANG_TUTORIAL_ATTACK));
    endTip();
}

void TutorialAdvisor::onPieceSelected(Piece& piece)
{
    Board* game = board();
    beginTip();
    mSelected = &piece;
    const uint32_t rank = piece.getRank() & 7;
    if (!mDescribed[rank])
    {
        addTip(getLangText(LANG_PION_DESC_RAT + rank));
        mDescribed[rank] = true;
        endTip();
        return;
    }
    addTip(getLangText(LANG_PION_DESC_SHORT_RAT + rank));
    if (game == nullptr)
    {
        endTip();
        return;
    }
    game->generateMoves(piece.getSide(), rank, mSelectedMoves);

    const uint32_t enemyTrap = TERRAIN_TRAP_0 + mOpponent;
    bool trap = false;
    bool water = false;
    bool jump = false;
    for (const Move& move : mSelectedMoves)
    {
        const int32_t tx = move.getTargetX();
        const int32_t ty = move.getTargetY();
        if (game->getCell(tx, ty).mKind == enemyTrap)
        {
            static constexpr int32_t kDx[4] = {-1, 0, 1, 0};
            static constexpr int32_t kDy[4] = {0, -1, 0, 1};
            for (int i = 0; i < 4; ++i)
            {
                const int32_t nx = tx + kDx[i];
                const int32_t ny = ty + kDy[i];
                if (!Board::isInside(nx, ny))
                    continue;
                const Piece* near = game->getCell(nx, ny).mOccupant;
                trap = trap || (near != nullptr && near->getSide() == mOpponent);
            }
        }
        if (rank == RANK_RAT && piece.isOnBoard() &&
            game->getCell(piece.getX(), piece.getY()).mKind != TERRAIN_WATER &&
            game->getCell(tx, ty).mKind == TERRAIN_WATER)
            water = true;
        if ((rank == RANK_TIGER || rank == RANK_LION) && move.isJump())
            jump = true;
    }
    if (trap)
        addTip(getLangText(LANG_TUTORIAL_TRAP));
    if (water)
        addTip(getLangText(LANG_TUTORIAL_ENTERWATER));
    if (jump)
        addTip(formatGameText(getLangText(LANG_TUTORIAL_CANJUMP), {pieceName(rank)}, kTipLength));
    endTip();
}
