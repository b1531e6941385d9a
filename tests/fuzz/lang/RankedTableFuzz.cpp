// Loads arbitrary bytes as a records file: the table must come out either
// whole or empty, never over its limits.
#include "Framework/RankedTableFile.h"
#include "Platform/System/Paths.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>

namespace
{
class Entry : public RankedTableEntry
{
public:
    void setDefaults() override {}
    ErrorCode serialize(BinaryStream& stream) override
    {
        if (ErrorCode error = stream.transferValue(mTime))
            return error;
        if (ErrorCode error = stream.transferValue(mMoves))
            return error;
        return stream.transferString(mName);
    }
    int32_t score() const override { return static_cast<int32_t>(mTime); }
    void copyFrom(const RankedTableEntry& other) override { *this = static_cast<const Entry&>(other); }

private:
    uint32_t mTime = 0;
    uint32_t mMoves = 0;
    std::string mName;
};

class Table : public RankedTableFile
{
public:
    Table() : RankedTableFile(3, 10, "score.dat") {}
    std::unique_ptr<RankedTableEntry> createEntry() override { return std::make_unique<Entry>(); }
    uint32_t categoryOf(uint32_t key) override { return key; }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Platform::TemporaryDirectory directory;
    Platform::setProgramDirectory(directory.path());
    std::ofstream(directory.path() + "score.dat", std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    Table table;
    ErrorCode result = table.init();
    for (uint32_t c = 0; c < table.getCategoryCount(); ++c)
    {
        if (table.getCategory(c).size() > table.getMaxEntries() ||
            (result != ERROR_OK && !table.getCategory(c).empty()))
            std::abort();
    }
    return 0;
}
