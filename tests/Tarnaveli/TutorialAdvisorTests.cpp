// The tutorial advisor: the general tips in turn, the captures either side
// can make, the thirds of the board, and the piece descriptions with their
// warnings; and how the game screen drives it.
#include "GameScreenFixture.h"

#include "Tarnaveli/Board/ComputerPlayer.h"
#include "Tarnaveli/GameTextFormat.h"
#include "Tarnaveli/TutorialAdvisor.h"

namespace
{
constexpr uint32_t plus(uint32_t text, uint32_t rank)
{
    return text + rank;
}

struct AdvisorFixture : GameScreenFixture
{
    AdvisorFixture()
    {
        openScreen();
        screen->newGame(std::make_unique<HumanPlayer>(0), std::make_unique<ComputerPlayer>(nullptr, 1, 0),
                        true);
        app.gui().processDeferred();
        advisor = screen->getTutorialAdvisor();
        board = screen->getBoard();
    }
    // Clears the board but for the pieces placed afterwards.
    void emptyBoard()
    {
        for (uint32_t i = 0; i < Board::kPieceCount; ++i)
            board->getPieceByIndex(i).moveTo(-1, 0);
    }
    std::vector<std::string> text(std::initializer_list<uint32_t> ids)
    {
        std::vector<std::string> out;
        for (uint32_t id : ids)
            out.push_back(getLangText(id));
        return out;
    }

    TutorialAdvisor* advisor = nullptr;
    Board* board = nullptr;
};
} // namespace

TEST(TutorialAdvisor, GeneralTipsComeInTurnAndTheLastOneRepeats)
{
    AdvisorFixture f;
    ASSERT_NE(f.advisor, nullptr);
    ASSERT_TRUE(f.loaded);
    // The game's start showed tip 0 already.
    EXPECT_EQ(f.advisor->getTips().front(), getLangText(LANG_TUTORIAL_GENERAL_0));
    const uint32_t expected[] = {LANG_TUTORIAL_GENERAL_1, LANG_TUTORIAL_GENERAL_2, LANG_TUTORIAL_GENERAL_3,
                                 LANG_TUTORIAL_GENERAL_3, LANG_TUTORIAL_GENERAL_3};
    for (uint32_t id : expected)
    {
        f.advisor->update();
        ASSERT_FALSE(f.advisor->getTips().empty());
        EXPECT_EQ(f.advisor->getTips().front(), getLangText(id));
    }
}

TEST(TutorialAdvisor, QuietPositionGivesTheGeneralTipAloneAndThirdsAddTheirLines)
{
    AdvisorFixture f;
    f.emptyBoard();
    f.board->getPiece(0, RANK_DOG).moveTo(4, 3);
    f.board->getPiece(1, RANK_DOG).moveTo(4, 0);
    f.advisor->update();
    EXPECT_EQ(f.advisor->getTips(), f.text({LANG_TUTORIAL_GENERAL_1}));

    // The enemy in our home third, and we in theirs.
    f.board->getPiece(1, RANK_CAT).moveTo(1, 6);
    f.board->getPiece(0, RANK_CAT).moveTo(7, 6);
    f.board->getPiece(1, RANK_WOLF).moveTo(2, 0);
    f.advisor->update();
    EXPECT_EQ(f.advisor->getTips(),
              f.text({LANG_TUTORIAL_GENERAL_2, LANG_TUTORIAL_UNDERATTACK, LANG_TUTORIAL_ATTACK}));
}

TEST(TutorialAdvisor, CapturesOfBothSidesAreNamed)
{
    AdvisorFixture f;
    f.emptyBoard();
    // Our elephant can take their cat; their lion can take our dog.
    f.board->getPiece(0, RANK_ELEPHANT).moveTo(4, 0);
    f.board->getPiece(1, RANK_CAT).moveTo(5, 0);
    f.board->getPiece(0, RANK_DOG).moveTo(4, 6);
    f.board->getPiece(1, RANK_LION).moveTo(5, 6);
    f.advisor->update();
    const std::vector<std::string> expected = {
        getLangText(LANG_TUTORIAL_GENERAL_1),
        formatGameText(getLangText(LANG_TUTORIAL_CAN_EAT),
                       {getLangText(plus(LANG_PION_NAME_RAT, RANK_ELEPHANT)),
                        getLangText(plus(LANG_THE_PION_NAME_RAT, RANK_CAT))}),
        formatGameText(getLangText(LANG_TUTORIAL_ADVERSE_CAN_EAT),
                       {getLangText(plus(LANG_THE_PION_NAME_RAT, RANK_LION)),
                        getLangText(plus(LANG_PION_NAME_RAT, RANK_DOG))}),
    };
    EXPECT_EQ(f.advisor->getTips(), expected);
    EXPECT_NE(expected[1].find("chat"), std::string::npos);
}

TEST(TutorialAdvisor, FirstSelectionDescribesThenLaterOnesWarn)
{
    AdvisorFixture f;
    f.emptyBoard();
    Piece& rat = f.board->getPiece(0, RANK_RAT);
    rat.moveTo(2, 1); // next to the lake
    Piece& lion = f.board->getPiece(0, RANK_LION);
    lion.moveTo(2, 5); // facing the other lake
    Piece& tiger = f.board->getPiece(0, RANK_TIGER);
    tiger.moveTo(7, 2); // next to their trap at (8, 2)
    f.board->getPiece(1, RANK_WOLF).moveTo(8, 1);

    f.advisor->onPieceSelected(rat);
    EXPECT_EQ(f.advisor->getTips(), f.text({LANG_PION_DESC_RAT}));
    f.advisor->onPieceSelected(rat);
    EXPECT_EQ(f.advisor->getTips(), f.text({LANG_PION_DESC_SHORT_RAT, LANG_TUTORIAL_ENTERWATER}));

    f.advisor->onPieceSelected(lion);
    f.advisor->onPieceSelected(lion);
    EXPECT_EQ(f.advisor->getTips(),
              (std::vector<std::string>{getLangText(plus(LANG_PION_DESC_SHORT_RAT, RANK_LION)),
                                        formatGameText(getLangText(LANG_TUTORIAL_CANJUMP),
                                                       {getLangText(plus(LANG_PION_NAME_RAT, RANK_LION))})}));

    f.advisor->onPieceSelected(tiger);
    f.advisor->onPieceSelected(tiger);
    EXPECT_EQ(f.advisor->getTips(), f.text({plus(LANG_PION_DESC_SHORT_RAT, RANK_TIGER), LANG_TUTORIAL_TRAP}));
}

TEST(TutorialAdvisor, ScreenHidesItDuringMovesAndShowsItWhenSideZeroIsOnTurn)
{
    AdvisorFixture f;
    MoveList moves;
    f.board->generateMoves(0, RANK_RAT, moves);
    f.screen->playMove(moves[0]);
    f.screen->onMoveStarted(moves[0]);
    EXPECT_FALSE(f.advisor->isVisible());
    f.view->finish(*f.screen);
    EXPECT_FALSE(f.advisor->isVisible()) << "side 1 is on turn";
    f.board->setSideToMove(0);
    f.screen->onMoveFinished(moves[0]);
    EXPECT_TRUE(f.advisor->isVisible());

    f.screen->onPieceSelected(f.board->getPiece(0, RANK_CAT));
    EXPECT_EQ(f.advisor->getTips(), f.text({plus(LANG_PION_DESC_RAT, RANK_CAT)}));

    f.board->setSideToMove(1);
    f.screen->onMoveUndone();
    EXPECT_FALSE(f.advisor->isVisible());
    f.board->setSideToMove(0);
    f.screen->onMoveUndone();
    EXPECT_TRUE(f.advisor->isVisible());
}
