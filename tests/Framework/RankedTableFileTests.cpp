// The ranked table: ordering with ties, overflow, its file and damaged files.
#include "Framework/RankedTableFile.h"
#include "TestApplication.h"

#include <gtest/gtest.h>

namespace
{
class ScoreEntry : public RankedTableEntry
{
public:
    ScoreEntry(int32_t value = 0, std::string name = "") : mValue(value), mName(std::move(name)) {}
    void setDefaults() override { mValue = 0; }
    ErrorCode serialize(BinaryStream& stream) override
    {
        if (ErrorCode error = stream.transferValue(mValue))
            return error;
        return stream.transferString(mName);
    }
    int32_t score() const override { return mValue; }
    void copyFrom(const RankedTableEntry& other) override
    {
        const auto& entry = static_cast<const ScoreEntry&>(other);
        mValue = entry.mValue;
        mName = entry.mName;
    }
    const std::string& name() const { return mName; }

private:
    int32_t mValue;
    std::string mName;
};

// Three categories of at most three entries; the key is the category.
class ScoreTable : public RankedTableFile
{
public:
    ScoreTable() : RankedTableFile(3, 3, "data\\score.dat") {}
    std::unique_ptr<RankedTableEntry> createEntry() override { return std::make_unique<ScoreEntry>(); }
    uint32_t categoryOf(uint32_t key) override { return key; }

    std::vector<std::string> names(uint32_t category) const
    {
        std::vector<std::string> out;
        for (const auto& entry : getCategory(category))
            out.push_back(static_cast<const ScoreEntry&>(*entry).name());
        return out;
    }
};

std::string u32(uint32_t v)
{
    return std::string(reinterpret_cast<const char*>(&v), 4);
}

std::string entryBytes(int32_t score, const std::string& name)
{
    return u32(static_cast<uint32_t>(score)) + u32(static_cast<uint32_t>(name.size())) + name;
}

class RankedTableFileTest : public ::testing::Test
{
protected:
    void SetUp() override { std::filesystem::create_directories(app.directory() + "data"); }
    TestApplication app;
};
} // namespace

TEST_F(RankedTableFileTest, EqualScoreGoesBeforeAndOverflowDropsTheLast)
{
    ScoreTable table;
    table.init();
    EXPECT_EQ(table.insert(ScoreEntry(50, "a"), 0), 0u);
    EXPECT_EQ(table.insert(ScoreEntry(30, "b"), 0), 0u);
    EXPECT_EQ(table.insert(ScoreEntry(50, "c"), 0), 1u);
    EXPECT_EQ(table.names(0), (std::vector<std::string>{"b", "c", "a"}));

    EXPECT_TRUE(table.qualifies(ScoreEntry(50), 0));
    EXPECT_FALSE(table.qualifies(ScoreEntry(51), 0));
    EXPECT_TRUE(table.qualifies(ScoreEntry(999), 1));

    EXPECT_EQ(table.insert(ScoreEntry(40, "d"), 0), 1u);
    EXPECT_EQ(table.names(0), (std::vector<std::string>{"b", "d", "c"}));
    EXPECT_EQ(table.insert(ScoreEntry(60, "e"), 0), 3u);
    EXPECT_EQ(table.names(0), (std::vector<std::string>{"b", "d", "c"}));
    EXPECT_TRUE(table.names(1).empty());
}

TEST_F(RankedTableFileTest, CategoryOutsideTheTableTakesNothing)
{
    ScoreTable table;
    table.init();
    EXPECT_FALSE(table.qualifies(ScoreEntry(1), 7));
    EXPECT_EQ(table.insert(ScoreEntry(1, "x"), 7), 3u);
    EXPECT_TRUE(table.getCategory(7).empty());
}

TEST_F(RankedTableFileTest, SavedFileIsCountsAndEntriesAndLoadsBack)
{
    ScoreTable table;
    table.init();
    table.insert(ScoreEntry(20, "Zoé"), 0);
    table.insert(ScoreEntry(10, "Al"), 0);
    table.insert(ScoreEntry(5, ""), 2);
    ASSERT_EQ(table.save(), ERROR_OK);
    std::string expected =
        u32(2) + entryBytes(10, "Al") + entryBytes(20, "Zoé") + u32(0) + u32(1) + entryBytes(5, "");
    EXPECT_EQ(app.readFile("data/score.dat"), expected);
    EXPECT_FALSE(app.hasFile("data/score.dat.tmp"));

    ScoreTable loaded;
    EXPECT_EQ(loaded.init(), ERROR_OK);
    EXPECT_EQ(loaded.names(0), (std::vector<std::string>{"Al", "Zoé"}));
    EXPECT_EQ(loaded.names(2), (std::vector<std::string>{""}));
}

TEST_F(RankedTableFileTest, ADamagedFileKeepsEveryEntryReadWholeBeforeTheDamage)
{
    using Names = std::vector<std::string>;
    const std::string two = u32(2) + entryBytes(10, "Al") + entryBytes(20, "Bo");
    const struct
    {
        std::string bytes;
        Names first, second;
    } cases[] = {
        {two + u32(1) + entryBytes(5, "Cy") + u32(0) + "!", {"Al", "Bo"}, {"Cy"}}, // trailing bytes ignored
        {two + u32(1) + entryBytes(5, "Cy").substr(0, 9), {"Al", "Bo"}, {}},       // last entry cut short
        {two + u32(1), {"Al", "Bo"}, {}},                                          // a category missing
        {two.substr(0, two.size() - 1), {"Al"}, {}},                               // second name cut
        {u32(4) + std::string(4 * 8, '\0') + u32(0) + u32(0), {}, {}}, // more than a category holds
        {u32(0xFFFFFFFF), {}, {}},                                     // absurd count
        {u32(1) + u32(10) + u32(0x7FFFFFFF) + "x", {}, {}},            // string longer than the file
    };
    for (const auto& c : cases)
    {
        app.writeFile("data/score.dat", c.bytes);
        ScoreTable table;
        table.init();
        EXPECT_EQ(table.names(0), c.first) << c.bytes.size();
        EXPECT_EQ(table.names(1), c.second) << c.bytes.size();
        EXPECT_TRUE(table.names(2).empty()) << c.bytes.size();
    }
    std::filesystem::remove(app.directory() + "data/score.dat");
    ScoreTable missing;
    EXPECT_EQ(missing.init(), ERROR_FILEIO_FILENOTFOUND);
    EXPECT_TRUE(missing.getCategory(0).empty());
}

TEST_F(RankedTableFileTest, ADamagedFileIsKeptAsideOnceBeforeItIsReplaced)
{
    const std::string damaged = u32(1) + entryBytes(10, "Al") + u32(7);
    app.writeFile("data/score.dat", damaged);
    ScoreTable table;
    EXPECT_NE(table.init(), ERROR_OK);
    table.insert(ScoreEntry(5, "Cy"), 1);
    ASSERT_EQ(table.save(), ERROR_OK);
    EXPECT_EQ(app.readFile("data/score.dat.bak"), damaged);
    EXPECT_EQ(app.readFile("data/score.dat"),
              u32(1) + entryBytes(10, "Al") + u32(1) + entryBytes(5, "Cy") + u32(0));
    ASSERT_EQ(app.messages.messages().size(), 1u);
    EXPECT_NE(app.messages.messages()[0].text.find("score.dat.bak"), std::string::npos);
    EXPECT_NE(app.messages.messages()[0].text.find(app.directory() + "data/score.dat "), std::string::npos)
        << "the file is not named where it is";

    // Said once: the next record replaces a sound file without a word, and
    // a file damaged again later never overwrites the first copy.
    ASSERT_EQ(table.save(), ERROR_OK);
    EXPECT_EQ(app.messages.messages().size(), 1u);
    app.writeFile("data/score.dat", "xx");
    ScoreTable again;
    again.init();
    ASSERT_EQ(again.save(), ERROR_OK);
    EXPECT_EQ(app.readFile("data/score.dat.bak"), damaged);
    EXPECT_EQ(app.readFile("data/score.dat.bak2"), "xx");
}

TEST_F(RankedTableFileTest, ClearEmptiesEveryCategory)
{
    ScoreTable table;
    table.init();
    table.insert(ScoreEntry(1, "a"), 0);
    table.insert(ScoreEntry(1, "b"), 2);
    table.clear();
    EXPECT_TRUE(table.getCategory(0).empty());
    EXPECT_TRUE(table.getCategory(2).empty());
}
