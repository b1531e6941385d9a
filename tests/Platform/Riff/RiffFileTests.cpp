#include "Platform/Riff/RiffFile.h"
#include "Platform/System/Paths.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace Platform;

namespace
{
void put32(std::vector<uint8_t>& bytes, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void putChunk(std::vector<uint8_t>& bytes, uint32_t id, uint32_t declaredSize,
              const std::vector<uint8_t>& data)
{
    put32(bytes, id);
    put32(bytes, declaredSize);
    bytes.insert(bytes.end(), data.begin(), data.end());
}

constexpr uint32_t kTest = makeFourCC('T', 'E', 'S', 'T');
constexpr uint32_t kOdd = makeFourCC('o', 'd', 'd', ' ');
constexpr uint32_t kInfo = makeFourCC('I', 'N', 'F', 'O');
constexpr uint32_t kName = makeFourCC('n', 'a', 'm', 'e');
constexpr uint32_t kLast = makeFourCC('l', 'a', 's', 't');
} // namespace

TEST(RiffFile, WrittenChunksReadBackWithPaddingAndNesting)
{
    TemporaryDirectory dir;
    std::string path = dir.path() + "nested.riff";
    {
        RiffFile file;
        ASSERT_TRUE(file.openFile(path, RiffMode::Create));
        RiffChunk riff;
        riff.formType = kTest;
        ASSERT_TRUE(file.createChunk(riff, RiffFind::Riff));
        RiffChunk odd;
        odd.id = kOdd;
        ASSERT_TRUE(file.createChunk(odd, RiffFind::Chunk));
        ASSERT_TRUE(file.write("abc", 3));
        ASSERT_TRUE(file.ascend(odd));
        EXPECT_EQ(odd.size, 3u);
        RiffChunk list;
        list.formType = kInfo;
        ASSERT_TRUE(file.createChunk(list, RiffFind::List));
        RiffChunk name;
        name.id = kName;
        ASSERT_TRUE(file.createChunk(name, RiffFind::Chunk));
        ASSERT_TRUE(file.write("velmo", 5));
        ASSERT_TRUE(file.ascend(name));
        ASSERT_TRUE(file.ascend(list));
        RiffChunk last;
        last.id = kLast;
        ASSERT_TRUE(file.createChunk(last, RiffFind::Chunk));
        ASSERT_TRUE(file.write("zz", 2));
        ASSERT_TRUE(file.ascend(last));
        ASSERT_TRUE(file.ascend(riff));
        EXPECT_TRUE(file.close());
    }

    RiffFile file;
    ASSERT_TRUE(file.openFile(path, RiffMode::Read));
    // 12 + (8 + 3 + pad) + (12 + 8 + 5 + pad) + (8 + 2)
    EXPECT_EQ(file.size(), 60u);
    RiffChunk riff;
    riff.formType = kTest;
    ASSERT_TRUE(file.descend(riff, nullptr, RiffFind::Riff));
    EXPECT_EQ(riff.size, 52u);
    RiffChunk list;
    list.formType = kInfo;
    ASSERT_TRUE(file.descend(list, &riff, RiffFind::List));
    RiffChunk name;
    name.id = kName;
    ASSERT_TRUE(file.descend(name, &list, RiffFind::Chunk));
    char text[8] = {};
    EXPECT_EQ(file.read(text, 8), 8u); // reads are bounded by the file, not the chunk
    EXPECT_EQ(std::string(text, 5), "velmo");
    ASSERT_TRUE(file.ascend(list));
    RiffChunk last;
    last.id = kLast;
    ASSERT_TRUE(file.descend(last, &riff, RiffFind::Chunk));
    EXPECT_EQ(last.size, 2u);
    // Searching again from the end finds nothing.
    RiffChunk again;
    again.id = kOdd;
    EXPECT_FALSE(file.descend(again, &riff, RiffFind::Chunk));
}

TEST(RiffFile, SizesLargerThanTheBytesPresentAreClamped)
{
    std::vector<uint8_t> bytes;
    put32(bytes, kRiffId);
    put32(bytes, 0xFFFFFFF0u); // a RIFF size far past the end
    put32(bytes, kTest);
    putChunk(bytes, kOdd, 1000, {1, 2, 3, 4}); // only four bytes present
    RiffFile file;
    ASSERT_TRUE(file.openMemory(bytes.data(), static_cast<uint32_t>(bytes.size())));
    RiffChunk riff;
    ASSERT_TRUE(file.descend(riff, nullptr, RiffFind::Next));
    EXPECT_EQ(riff.id, kRiffId);
    EXPECT_EQ(riff.size, bytes.size() - 8);
    RiffChunk odd;
    odd.id = kOdd;
    ASSERT_TRUE(file.descend(odd, &riff, RiffFind::Chunk));
    EXPECT_EQ(odd.size, 4u);
    uint8_t data[16];
    EXPECT_EQ(file.read(data, 16), 4u);
    EXPECT_EQ(file.read(data, 16), 0u);
    EXPECT_TRUE(file.ascend(odd));
    EXPECT_EQ(file.tell(), file.size());
}

TEST(RiffFile, ChunksOutsideTheParentAndTruncatedHeadersAreNotFound)
{
    std::vector<uint8_t> bytes;
    put32(bytes, kRiffId);
    put32(bytes, 4 + 8 + 2); // covers the first chunk only
    put32(bytes, kTest);
    putChunk(bytes, kOdd, 2, {9, 9});
    putChunk(bytes, kLast, 2, {7, 7});
    RiffFile file;
    ASSERT_TRUE(file.openMemory(bytes.data(), static_cast<uint32_t>(bytes.size())));
    RiffChunk riff;
    riff.formType = kTest;
    ASSERT_TRUE(file.descend(riff, nullptr, RiffFind::Riff));
    RiffChunk last;
    last.id = kLast;
    EXPECT_FALSE(file.descend(last, &riff, RiffFind::Chunk));
    // Without the parent the chunk after it is found.
    ASSERT_TRUE(file.seek(12));
    EXPECT_TRUE(file.descend(last, nullptr, RiffFind::Chunk));

    for (uint32_t n = 0; n < 12; ++n)
    {
        RiffFile cut;
        ASSERT_TRUE(cut.openMemory(bytes.data(), n));
        RiffChunk chunk;
        EXPECT_FALSE(cut.descend(chunk, nullptr, RiffFind::Next)) << n;
    }
}

TEST(RiffFile, MemoryFilesAreReadOnly)
{
    uint8_t bytes[8] = {};
    RiffFile file;
    ASSERT_TRUE(file.openMemory(bytes, sizeof bytes));
    EXPECT_FALSE(file.write(bytes, 1));
    RiffChunk chunk;
    chunk.id = kOdd;
    EXPECT_FALSE(file.createChunk(chunk, RiffFind::Chunk));
    EXPECT_FALSE(file.seek(9));
    EXPECT_TRUE(file.seek(8));
}

TEST(RiffFile, FoldersAndMissingFilesDoNotOpen)
{
    TemporaryDirectory dir;
    RiffFile file;
    EXPECT_FALSE(file.openFile(dir.path(), RiffMode::Read));
    EXPECT_FALSE(file.openFile(dir.path() + "absent.wav", RiffMode::Read));
    EXPECT_FALSE(file.isOpen());
}
