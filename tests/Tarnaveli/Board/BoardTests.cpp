#include "BoardTestHelpers.h"
#include "Tarnaveli/Board/Board.h"
#include "Tarnaveli/Board/Player.h"

#include <gtest/gtest.h>

using namespace BoardTest;

namespace
{
// One row of the move-generation table: a position, the piece asked about,
// and the moves it must get, in order.
struct MovesCase
{
    const char* name;
    std::vector<Placed> position;
    uint32_t side;
    uint32_t rank;
    std::vector<Target> expected;
};
} // namespace

TEST(Board, OpeningPositionIsReflectedAndTerrainIsLaidOut)
{
    Board board;
    const int32_t opening[8][2] = {{2, 6}, {1, 1}, {2, 2}, {1, 5}, {2, 4}, {0, 0}, {0, 6}, {2, 0}};
    for (uint32_t rank = 0; rank < 8; ++rank)
    {
        EXPECT_EQ(board.getPiece(0, rank).getX(), opening[rank][0]);
        EXPECT_EQ(board.getPiece(0, rank).getY(), opening[rank][1]);
        EXPECT_EQ(board.getPiece(1, rank).getX(), 8 - opening[rank][0]);
        EXPECT_EQ(board.getPiece(1, rank).getY(), 6 - opening[rank][1]);
    }
    EXPECT_TRUE(isConsistent(board));
    EXPECT_EQ(board.getSideToMove(), 0u);
    EXPECT_FALSE(board.isDenEntered());

    int water = 0;
    for (int32_t y = 0; y < 7; ++y)
        for (int32_t x = 0; x < 9; ++x)
            water += board.getCell(x, y).mKind == TERRAIN_WATER;
    EXPECT_EQ(water, 12);
    EXPECT_EQ(board.getCell(0, 3).mKind, TERRAIN_DEN_0);
    EXPECT_EQ(board.getCell(8, 3).mKind, TERRAIN_DEN_1);
    for (auto [x, y] : {std::pair{0, 2}, {1, 3}, {0, 4}})
    {
        EXPECT_EQ(board.getCell(x, y).mKind, TERRAIN_TRAP_0);
        EXPECT_EQ(board.getCell(8 - x, y).mKind, TERRAIN_TRAP_1);
    }
}

TEST(Board, GeneratesMovesInTheFixedDirectionOrder)
{
    const std::vector<MovesCase> cases = {
        {"opening rat", {}, 0, RANK_RAT, {{1, 6, 0}, {2, 5, 0}, {3, 6, 0}}},
        {"opening tiger", {}, 0, RANK_TIGER, {{1, 0, 0}, {0, 1, 0}}},
        {"opening lion", {}, 0, RANK_LION, {{0, 5, 0}, {1, 6, 0}}},
        {"opening side-1 rat", {}, 1, RANK_RAT, {{5, 0, 0}, {7, 0, 0}, {6, 1, 0}}},
    };
    for (const MovesCase& c : cases)
    {
        Board board;
        EXPECT_EQ(targetsOf(board, c.side, c.rank), c.expected) << c.name;
    }
}

TEST(Board, MoveRulesEdgeCases)
{
    const std::vector<MovesCase> cases = {
        {"tiger jumps the lake across",
         {{0, 5, 2, 1}},
         0,
         RANK_TIGER,
         {{1, 1, 0}, {2, 0, 0}, {6, 1, 0}, {2, 2, 0}}},
        {"own piece in the lake blocks",
         {{0, 5, 2, 1}, {0, 0, 3, 1}},
         0,
         RANK_TIGER,
         {{1, 1, 0}, {2, 0, 0}, {2, 2, 0}}},
        {"enemy rat mid-lake blocks",
         {{0, 5, 2, 1}, {1, 0, 4, 1}},
         0,
         RANK_TIGER,
         {{1, 1, 0}, {2, 0, 0}, {2, 2, 0}}},
        {"far lake cell blocks",
         {{0, 5, 2, 1}, {1, 0, 5, 1}},
         0,
         RANK_TIGER,
         {{1, 1, 0}, {2, 0, 0}, {2, 2, 0}}},
        {"lion jumps down and takes",
         {{0, 6, 4, 0}, {1, 6, 4, 3}},
         0,
         RANK_LION,
         {{3, 0, 0}, {5, 0, 0}, {4, 3, 1}}},
        {"lion cannot take the elephant", {{0, 6, 4, 0}, {1, 7, 4, 3}}, 0, RANK_LION, {{3, 0, 0}, {5, 0, 0}}},
        {"jump lands on an own piece", {{0, 6, 4, 0}, {0, 1, 4, 3}}, 0, RANK_LION, {{3, 0, 0}, {5, 0, 0}}},
        {"a jump cannot take a higher rank",
         {{0, 5, 2, 1}, {1, 7, 6, 1}},
         0,
         RANK_TIGER,
         {{1, 1, 0}, {2, 0, 0}, {2, 2, 0}}},
        {"other ranks stop at water", {{0, 7, 2, 1}}, 0, RANK_ELEPHANT, {{1, 1, 0}, {2, 0, 0}, {2, 2, 0}}},
        {"rat swims", {{0, 0, 2, 1}}, 0, RANK_RAT, {{1, 1, 0}, {2, 0, 0}, {3, 1, 0}, {2, 2, 0}}},
        {"rat on land takes rat in water",
         {{0, 0, 2, 1}, {1, 0, 3, 1}},
         0,
         RANK_RAT,
         {{1, 1, 0}, {2, 0, 0}, {3, 1, 1}, {2, 2, 0}}},
        {"rat in water takes rat on land",
         {{0, 0, 3, 1}, {1, 0, 2, 1}},
         0,
         RANK_RAT,
         {{2, 1, 1}, {3, 0, 0}, {4, 1, 0}, {3, 2, 0}}},
        {"rat in water takes rat in water",
         {{0, 0, 3, 1}, {1, 0, 4, 1}},
         0,
         RANK_RAT,
         {{2, 1, 0}, {3, 0, 0}, {4, 1, 1}, {3, 2, 0}}},
        {"rat in water spares the elephant",
         {{0, 0, 3, 1}, {1, 7, 2, 1}},
         0,
         RANK_RAT,
         {{3, 0, 0}, {4, 1, 0}, {3, 2, 0}}},
        {"rat on land takes the elephant",
         {{0, 0, 2, 1}, {1, 7, 2, 0}},
         0,
         RANK_RAT,
         {{1, 1, 0}, {2, 0, 1}, {3, 1, 0}, {2, 2, 0}}},
        {"rat does not take the cat",
         {{0, 0, 1, 1}, {1, 1, 1, 0}},
         0,
         RANK_RAT,
         {{0, 1, 0}, {2, 1, 0}, {1, 2, 0}}},
        {"elephant takes the rat on land",
         {{0, 7, 1, 1}, {1, 0, 1, 0}},
         0,
         RANK_ELEPHANT,
         {{0, 1, 0}, {1, 0, 1}, {2, 1, 0}, {1, 2, 0}}},
        {"elephant cannot reach a rat in water",
         {{0, 7, 2, 1}, {1, 0, 3, 1}},
         0,
         RANK_ELEPHANT,
         {{1, 1, 0}, {2, 0, 0}, {2, 2, 0}}},
        {"lower rank is refused",
         {{0, 1, 1, 1}, {1, 2, 1, 0}},
         0,
         RANK_CAT,
         {{0, 1, 0}, {2, 1, 0}, {1, 2, 0}}},
        {"equal ranks take",
         {{0, 2, 1, 1}, {1, 2, 1, 0}},
         0,
         RANK_WOLF,
         {{0, 1, 0}, {1, 0, 1}, {2, 1, 0}, {1, 2, 0}}},
        {"cat takes elephant in own trap",
         {{0, 1, 2, 3}, {1, 7, 1, 3}},
         0,
         RANK_CAT,
         {{1, 3, 1}, {2, 2, 0}, {3, 3, 0}, {2, 4, 0}}},
        {"side 1 takes in its own trap",
         {{1, 1, 6, 3}, {0, 7, 7, 3}},
         1,
         RANK_CAT,
         {{5, 3, 0}, {6, 2, 0}, {7, 3, 1}, {6, 4, 0}}},
        {"the enemy's trap gives no capture",
         {{1, 1, 2, 3}, {0, 7, 1, 3}},
         1,
         RANK_CAT,
         {{2, 2, 0}, {3, 3, 0}, {2, 4, 0}}},
        {"never into the own den", {{0, 1, 1, 3}}, 0, RANK_CAT, {{1, 2, 0}, {2, 3, 0}, {1, 4, 0}}},
        {"into the enemy den", {{0, 1, 7, 3}}, 0, RANK_CAT, {{6, 3, 0}, {7, 2, 0}, {8, 3, 2}, {7, 4, 0}}},
        {"side 1 into den 0", {{1, 4, 1, 3}}, 1, RANK_PANTHER, {{0, 3, 2}, {1, 2, 0}, {2, 3, 0}, {1, 4, 0}}},
        {"corner piece", {{1, 5, 8, 6}}, 1, RANK_TIGER, {{7, 6, 0}, {8, 5, 0}}},
        {"captured piece has no moves", {}, 0, RANK_LION, {}},
        {"side out of range", {{0, 0, 2, 1}}, 2, RANK_RAT, {}},
        {"rank out of range", {{0, 0, 2, 1}}, 0, 8, {}},
    };
    for (const MovesCase& c : cases)
    {
        Board board;
        setPosition(board, c.position);
        ASSERT_TRUE(isConsistent(board)) << c.name;
        EXPECT_EQ(targetsOf(board, c.side, c.rank), c.expected) << c.name;
    }
}

TEST(Board, DenEntrySetsTheFlagAndUndoClearsIt)
{
    Board board;
    setPosition(board, {{0, 1, 7, 3}, {1, 1, 0, 0}});
    MoveList moves;
    board.generateMoves(0, RANK_CAT, moves);
    ASSERT_EQ(moves[2].getKind(), MOVE_DEN_ENTRY);
    const std::string before = snapshot(board);
    board.playMove(moves[2]);
    EXPECT_TRUE(board.isDenEntered());
    EXPECT_EQ(board.getSideToMove(), 1u);
    EXPECT_EQ(board.getCell(8, 3).mOccupant, &board.getPiece(0, RANK_CAT));
    board.undoMove();
    EXPECT_EQ(snapshot(board), before);
}

TEST(Board, PlayAndUndoRestoreCaptures)
{
    Board board;
    setPosition(board, {{0, 6, 4, 0}, {1, 6, 4, 3}, {1, 0, 8, 6}});
    MoveList moves;
    board.generateMoves(0, RANK_LION, moves);
    ASSERT_EQ(moves.getCount(), 3u);
    ASSERT_EQ(moves[2].getKind(), MOVE_CAPTURE);
    EXPECT_TRUE(moves[2].isJump());
    EXPECT_FALSE(moves[0].isJump());
    const std::string before = snapshot(board);
    board.playMove(moves[2]);
    EXPECT_EQ(board.getPiece(1, RANK_LION).getX(), -1);
    EXPECT_EQ(board.getPiece(1, RANK_LION).getY(), 0);
    EXPECT_EQ(board.getMoveCount(), 1u);
    const HistoryEntry& entry = board.getHistory().back();
    EXPECT_EQ(entry.mIndex, 2);
    EXPECT_EQ(entry.mMoves[2].getOwner(), &entry.mMoves);
    EXPECT_EQ(entry.mMoves[2].getCapturedRank(), RANK_LION);
    EXPECT_EQ(entry.mMoves[2].getFromX(), 4);
    EXPECT_EQ(entry.mMoves[2].getFromY(), 0);
    EXPECT_TRUE(isConsistent(board));
    board.undoMove();
    EXPECT_EQ(snapshot(board), before);
    EXPECT_EQ(board.getMoveCount(), 0u);

    board.undoMove(); // empty history: nothing changes
    EXPECT_EQ(snapshot(board), before);
}

TEST(Board, MoveListCopiesPointTheirMovesAtThemselves)
{
    Board board;
    MoveList moves;
    board.generateMoves(0, RANK_CAT, moves);
    MoveList copy(moves);
    MoveList assigned;
    assigned = moves;
    for (uint32_t i = 0; i < moves.getCount(); ++i)
    {
        EXPECT_EQ(copy[i].getOwner(), &copy);
        EXPECT_EQ(assigned[i].getOwner(), &assigned);
        EXPECT_EQ(copy.indexOf(&copy[i]), static_cast<int32_t>(i));
    }
    EXPECT_EQ(copy.indexOf(&moves[0]), -1);
    EXPECT_EQ(copy.getCount(), 4u);
}

TEST(Board, ResetRestoresTheOpeningAndEmptiesTheHistory)
{
    Board board;
    const std::string opening = snapshot(board);
    MoveList moves;
    board.generateMoves(0, RANK_RAT, moves);
    board.playMove(moves[0]);
    board.generateMoves(1, RANK_RAT, moves);
    board.playMove(moves[0]);
    board.setDenEntered();
    ASSERT_EQ(board.getMoveCount(), 2u);
    board.reset();
    EXPECT_EQ(snapshot(board), opening);
    EXPECT_EQ(board.getMoveCount(), 0u);
    EXPECT_TRUE(board.getClock().isRunning());
    board.undoMove(); // nothing left to take back after a reset
    EXPECT_EQ(snapshot(board), opening);
}

TEST(Board, MoveToRefusesCellsOffTheGridOrHeldByAnotherPiece)
{
    Board board;
    const std::string before = snapshot(board);
    Piece& rat = board.getPiece(0, RANK_RAT);
    for (auto [x, y] : {std::pair{9, 0}, {0, 7}, {-2, 0}, {3, -1}, {1000, 1000}, {0, 6}, {6, 0}})
        EXPECT_FALSE(rat.moveTo(x, y)) << x << "," << y;
    EXPECT_EQ(snapshot(board), before);
    EXPECT_TRUE(rat.moveTo(2, 6)); // its own cell
    EXPECT_TRUE(rat.moveTo(-1, 0));
    EXPECT_TRUE(rat.moveTo(4, 4));
    EXPECT_TRUE(isConsistent(board));
}

TEST(Board, PlayingACopiedMovePlaysTheMatchingMoveOfItsList)
{
    Board board;
    MoveList moves;
    board.generateMoves(0, RANK_CAT, moves);
    const Move copy = moves[2];
    board.playMove(copy);
    EXPECT_EQ(board.getPiece(0, RANK_CAT).getX(), 2);
    EXPECT_EQ(board.getHistory().back().mIndex, 2);
    board.undoMove();
    EXPECT_EQ(board.getPiece(0, RANK_CAT).getX(), 1);

    board.playMove(Move()); // no list: ignored
    EXPECT_EQ(board.getMoveCount(), 0u);
    EXPECT_TRUE(isConsistent(board));
}

TEST(Board, HasLegalMoveSeesBlockedAndEmptySides)
{
    Board board;
    EXPECT_TRUE(board.hasLegalMove(0));
    EXPECT_TRUE(board.hasLegalMove(1));
    // Side 1's lone cat in the corner, hemmed in by higher side-0 ranks.
    setPosition(board, {{1, 1, 8, 6}, {0, 7, 7, 6}, {0, 6, 8, 5}});
    EXPECT_FALSE(board.hasLegalMove(1));
    EXPECT_TRUE(board.hasLegalMove(0));
    clearBoard(board);
    EXPECT_FALSE(board.hasLegalMove(0));
}

TEST(Board, SetPlayerReplacesAndKeepsTheSamePlayer)
{
    Board board;
    EXPECT_EQ(board.getPlayer(0), nullptr);
    board.setPlayer(0, std::make_unique<HumanPlayer>(0));
    Player* held = board.getPlayer(0);
    ASSERT_NE(held, nullptr);
    board.setPlayer(0, std::unique_ptr<Player>(held)); // the same object: nothing changes
    EXPECT_EQ(board.getPlayer(0), held);
    board.setPlayer(0, std::make_unique<HumanPlayer>(1));
    EXPECT_NE(board.getPlayer(0), nullptr);
    EXPECT_EQ(board.getPlayer(0)->getSide(), 1u);
    board.setPlayer(2, std::make_unique<HumanPlayer>(0)); // no such side: dropped
    EXPECT_EQ(board.getPlayer(2), nullptr);
}
