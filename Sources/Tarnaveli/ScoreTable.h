#pragma once
// The records table in data\score.dat: three categories (the computer's
// level, 0 easy to 2 hard) of at most ten won games, fastest first.
#include "Framework/RankedTableFile.h"

#include <cstdint>
#include <string>

class ScoreEntry final : public RankedTableEntry
{
public:
    // An empty record of row 0 of category 0.
    ScoreEntry() { reset(0, 0); }

    // The placeholder of a row: "----", 999 moves, and 30 minutes for the
    // first row of the easy category, 3 more per row and 30 more per level.
    void reset(uint32_t category, uint32_t row);
    void setDefaults() override { reset(0, 0); }
    // Time (u32 ms), moves (u32), then the name as a u32 length and its bytes.
    ErrorCode serialize(BinaryStream& stream) override;
    // The time; the longest times all rank last rather than wrap to the top.
    int32_t score() const override;
    void copyFrom(const RankedTableEntry& other) override;

    // Duration of the won game in milliseconds.
    uint32_t mTime = 0;
    uint32_t mMoves = 0;
    std::string mName;
};

class ScoreTable final : public RankedTableFile
{
public:
    static constexpr const char* FILE_NAME = "data\\score.dat";
    static constexpr uint32_t CATEGORY_COUNT = 3;
    static constexpr uint32_t MAX_ENTRIES = 10;

    ScoreTable() : RankedTableFile(CATEGORY_COUNT, MAX_ENTRIES, FILE_NAME) {}
    std::unique_ptr<RankedTableEntry> createEntry() override { return std::make_unique<ScoreEntry>(); }
    // The key is the computer's level.
    uint32_t categoryOf(uint32_t level) override { return level; }
};
