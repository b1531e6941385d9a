// Loads arbitrary bytes as a records file: the table never goes over its
// limits, and what it keeps of a damaged file is whole.
#include "Framework/RankedTableFile.h"
#include "Platform/System/MessageSink.h"
#include "Platform/System/Paths.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

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
// The copy of a damaged file is announced in a message box.
class QuietSink final : public Platform::MessageSink
{
public:
    void show(const std::string&, const std::string&, Platform::MessageKind) override {}
};

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool quiet = (Platform::setMessageSink(std::make_shared<QuietSink>()), true);
    static Platform::TemporaryDirectory directory;
    (void)quiet;
    Platform::setProgramDirectory(directory.path());
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::filesystem::remove(directory.path() + "score.dat.bak");
    std::ofstream(directory.path() + "score.dat", std::ios::binary) << input;
    Table table;
    ErrorCode result = table.init();
    for (uint32_t c = 0; c < table.getCategoryCount(); ++c)
    {
        if (table.getCategory(c).size() > table.getMaxEntries())
            std::abort();
    }
    if (result == ERROR_OK)
        return 0;
    // What was kept of a damaged file saves and reads back whole, and the
    // damaged file survives beside it byte for byte.
    if (table.save() != ERROR_OK || readAll(directory.path() + "score.dat.bak") != input)
        std::abort();
    Table again;
    if (again.init() != ERROR_OK)
        std::abort();
    for (uint32_t c = 0; c < table.getCategoryCount(); ++c)
    {
        if (again.getCategory(c).size() != table.getCategory(c).size())
            std::abort();
    }
    return 0;
}
