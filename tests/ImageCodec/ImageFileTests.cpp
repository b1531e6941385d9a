#include "ImageCodec/ImageLibrary.h"
#include "Platform/System/Paths.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>

namespace
{
MemoryImageFile* memoryFile(const char* text)
{
    return static_cast<MemoryImageFile*>(
        createMemoryImageFile(text, static_cast<int64_t>(std::strlen(text))));
}
} // namespace

TEST(MemoryImageFile, CreationRefusesNegativeSizesAndMissingBytes)
{
    ImageFilePtr empty(createMemoryImageFile(nullptr, 0));
    ASSERT_NE(empty, nullptr);
    char byte;
    EXPECT_EQ(empty->read(&byte, 1), 0u);
    EXPECT_EQ(createMemoryImageFile(nullptr, 5), nullptr);
    EXPECT_EQ(createMemoryImageFile("abc", -1), nullptr);
}

TEST(MemoryImageFile, KeepsItsOwnCopyWithPowerOfTwoCapacity)
{
    char source[] = "hello";
    ImageFilePtr file(createMemoryImageFile(source, 5));
    source[0] = 'X';
    auto* memory = static_cast<MemoryImageFile*>(file.get());
    EXPECT_EQ(memory->capacity(), 8u);
    char out[8] = {};
    EXPECT_EQ(file->read(out, 3), 3u);
    EXPECT_EQ(file->read(out + 3, 100), 2u);
    EXPECT_STREQ(out, "hello");
    EXPECT_EQ(file->read(out, 1), 0u);
}

TEST(MemoryImageFile, SeekOutsideTheDataRewindsAndFails)
{
    ImageFilePtr file(memoryFile("abcdef"));
    EXPECT_TRUE(file->seek(-2, 2));
    EXPECT_EQ(file->tell(), 4);
    EXPECT_TRUE(file->seek(2, 1));
    EXPECT_EQ(file->tell(), 6); // the end itself is a valid position
    EXPECT_FALSE(file->seek(1, 1));
    EXPECT_EQ(file->tell(), 0);
    EXPECT_TRUE(file->seek(3, 0));
    EXPECT_FALSE(file->seek(-4, 1));
    EXPECT_EQ(file->tell(), 0);
    EXPECT_TRUE(file->seek(3, 0));
    EXPECT_FALSE(file->seek(0, 7));
    EXPECT_EQ(file->tell(), 3);
    EXPECT_FALSE(file->seek(std::numeric_limits<int64_t>::max(), 2));
    EXPECT_FALSE(file->seek(std::numeric_limits<int64_t>::min(), 1));
    EXPECT_EQ(file->tell(), 0);
}

TEST(MemoryImageFile, WritesGrowTheBufferAndTheSize)
{
    ImageFilePtr file(createMemoryImageFile(nullptr, 0));
    auto* memory = static_cast<MemoryImageFile*>(file.get());
    EXPECT_EQ(file->write("0123456789", 10), 10u);
    EXPECT_EQ(memory->size(), 10u);
    EXPECT_EQ(memory->capacity(), 16u);
    ASSERT_TRUE(file->seek(4, 0));
    EXPECT_EQ(file->write("ab", 2), 2u);
    EXPECT_EQ(memory->size(), 10u);
    EXPECT_EQ(std::memcmp(memory->data(), "0123ab6789", 10), 0);
}

TEST(MemoryImageFile, WritesTooLargeToHoldFailWithoutWrapping)
{
    ImageFilePtr file(memoryFile("abc"));
    ASSERT_TRUE(file->seek(0, 2));
    const char byte = 'x';
    // Neither count could be held; the source pointer is never read.
    EXPECT_EQ(file->write(&byte, std::numeric_limits<size_t>::max()), 0u);
    EXPECT_EQ(file->write(&byte, std::numeric_limits<size_t>::max() - 2), 0u);
    EXPECT_EQ(file->write(&byte, std::numeric_limits<size_t>::max() / 2 + 2), 0u);
    auto* memory = static_cast<MemoryImageFile*>(file.get());
    EXPECT_EQ(memory->size(), 3u);
    EXPECT_EQ(file->write(&byte, 1), 1u);
    EXPECT_EQ(memory->size(), 4u);
}

TEST(StdioImageFile, OpensTheGamesPathsBesideTheProgram)
{
    Platform::TemporaryDirectory directory;
    Platform::setProgramDirectory(directory.path());
    EXPECT_EQ(openImageFile("data\\missing.png", false), nullptr);

    std::filesystem::create_directories(directory.path() + "data");
    ImageFilePtr out(openImageFile("data\\pic.bin", true));
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(out->write("abcdef", 6), 6u);
    out.reset();

    ImageFilePtr in(openImageFile("DATA\\Pic.bin", false));
    ASSERT_NE(in, nullptr);
    EXPECT_TRUE(in->seek(-2, 2));
    char tail[3] = {};
    EXPECT_EQ(in->read(tail, 5), 2u);
    EXPECT_STREQ(tail, "ef");
    EXPECT_FALSE(in->seek(0, 3));
    EXPECT_EQ(in->write("x", 1), 0u);
}
