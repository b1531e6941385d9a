#include "Tarnaveli/ScoreTable.h"

#include <limits>

void ScoreEntry::reset(uint32_t category, uint32_t row)
{
    constexpr uint64_t kThreeMinutesMs = 180000;
    mName = "----";
    mMoves = 999;
    uint64_t time =
        (static_cast<uint64_t>(row) + 10 * static_cast<uint64_t>(category) + 10) * kThreeMinutesMs;
    mTime = time > std::numeric_limits<uint32_t>::max() ? std::numeric_limits<uint32_t>::max()
                                                        : static_cast<uint32_t>(time);
}

ErrorCode ScoreEntry::serialize(BinaryStream& stream)
{
    if (ErrorCode error = stream.transferValue(mTime))
        return error;
    if (ErrorCode error = stream.transferValue(mMoves))
        return error;
    return stream.transferString(mName);
}

int32_t ScoreEntry::score() const
{
    // The table compares signed scores; a time past the signed range (a
    // damaged file, or a game left open for 25 days) must not rank first.
    constexpr uint32_t kLargest = static_cast<uint32_t>(std::numeric_limits<int32_t>::max());
    return static_cast<int32_t>(mTime > kLargest ? kLargest : mTime);
}

void ScoreEntry::copyFrom(const RankedTableEntry& other)
{
    const auto* entry = dynamic_cast<const ScoreEntry*>(&other);
    if (entry == nullptr)
        return;
    mTime = entry->mTime;
    mMoves = entry->mMoves;
    mName = entry->mName;
}
