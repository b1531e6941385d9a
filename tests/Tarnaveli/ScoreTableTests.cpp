// data\score.dat: the entries' layout, the placeholder rows, and the ranking
// of results within a level.
#include "DataFileTest.h"
#include "Framework/BinaryStream.h"
#include "Tarnaveli/ScoreTable.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
class ScoreTableTest : public DataFileTest
{
protected:
    ScoreTableTest() : DataFileTest("score.dat") {}
};

ScoreEntry entry(uint32_t time, uint32_t moves, const std::string& name)
{
    ScoreEntry e;
    e.mTime = time;
    e.mMoves = moves;
    e.mName = name;
    return e;
}

const ScoreEntry& at(const ScoreTable& table, uint32_t category, size_t row)
{
    return static_cast<const ScoreEntry&>(*table.getCategory(category).at(row));
}
} // namespace

TEST(ScoreEntry, PlaceholderRowsGrowThreeMinutesPerRowAndThirtyPerLevel)
{
    ScoreEntry e;
    e.reset(0, 0);
    EXPECT_EQ(e.mName, "----");
    EXPECT_EQ(e.mMoves, 999u);
    EXPECT_EQ(e.mTime, 1800000u);
    e.reset(0, 1);
    EXPECT_EQ(e.mTime, 1980000u);
    e.reset(2, 9);
    EXPECT_EQ(e.mTime, (9u + 20u + 10u) * 180000u);
    EXPECT_EQ(e.score(), static_cast<int32_t>(e.mTime));
}

TEST_F(ScoreTableTest, EntriesAreWrittenAsTimeMovesAndCountedName)
{
    ScoreTable table;
    table.init();
    table.insert(entry(3723000, 42, "Zo\xE9"), 1);
    ASSERT_EQ(table.save(), 0u);
    EXPECT_EQ(readFile(), (std::vector<uint8_t>{0,    0,    0,    0,                       // easy: none
                                                1,    0,    0,    0,                       // medium: one
                                                0xF8, 0xCE, 0x38, 0x00, 42,  0,   0,    0, // time, moves
                                                3,    0,    0,    0,    'Z', 'o', 0xE9,    // name
                                                0,    0,    0,    0}));                    // hard: none

    ScoreTable loaded;
    EXPECT_EQ(loaded.init(), 0u);
    ASSERT_EQ(loaded.getCategory(1).size(), 1u);
    EXPECT_EQ(at(loaded, 1, 0).mTime, 3723000u);
    EXPECT_EQ(at(loaded, 1, 0).mMoves, 42u);
    EXPECT_EQ(at(loaded, 1, 0).mName, "Zo\xE9");
}

TEST_F(ScoreTableTest, AnEqualTimeRanksAboveAndPushesTheLastOut)
{
    ScoreTable table;
    table.init();
    for (uint32_t i = 0; i < 10; ++i)
        table.insert(entry((i + 1) * 60000, i, "p" + std::to_string(i)), 2);
    ScoreEntry tie = entry(600000, 5, "new");
    EXPECT_TRUE(table.qualifies(tie, 2));
    EXPECT_EQ(table.insert(tie, 2), 9u);
    ASSERT_EQ(table.getCategory(2).size(), 10u);
    EXPECT_EQ(at(table, 2, 9).mName, "new");
    EXPECT_FALSE(table.qualifies(entry(600001, 1, "slow"), 2));
    EXPECT_TRUE(table.getCategory(0).empty());
}

TEST_F(ScoreTableTest, TimesBeyondTheSignedRangeRankLast)
{
    ScoreTable table;
    table.init();
    table.insert(entry(0xFFFFFFF0u, 1, "damaged"), 0);
    EXPECT_EQ(table.insert(entry(60000, 1, "quick"), 0), 0u);
    EXPECT_EQ(at(table, 0, 1).mName, "damaged");
}

TEST_F(ScoreTableTest, MissingFileStartsEmptyAndADamagedOneKeepsItsWholeEntries)
{
    ScoreTable missing;
    EXPECT_NE(missing.init(), 0u);
    for (uint32_t c = 0; c < 3; ++c)
        EXPECT_TRUE(missing.getCategory(c).empty());

    // One whole entry, then a name length running past the end of the file.
    writeFile({2, 0,   0, 0, 1, 0, 0, 0, 2, 0, 0,    0,    1,    0,    0,
               0, 'a', 1, 0, 0, 0, 2, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F, 'b'});
    ScoreTable damaged;
    EXPECT_NE(damaged.init(), 0u);
    ASSERT_EQ(damaged.getCategory(0).size(), 1u);
    EXPECT_EQ(at(damaged, 0, 0).mName, "a");
    EXPECT_EQ(at(damaged, 0, 0).mMoves, 2u);
}
