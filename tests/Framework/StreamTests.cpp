#include "Framework/BinaryStream.h"
#include "Framework/DiskFile.h"
#include "Platform/System/MessageSink.h"
#include "Platform/System/Paths.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
class DiskFileTest : public ::testing::Test
{
protected:
    void SetUp() override { Platform::setProgramDirectory(mDir.path()); }
    void writeRaw(const std::string& name, const std::string& bytes)
    {
        std::ofstream(mDir.path() + name, std::ios::binary) << bytes;
    }
    std::string readRaw(const std::string& name)
    {
        std::ifstream in(mDir.path() + name, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    Platform::TemporaryDirectory mDir;
};
} // namespace

TEST_F(DiskFileTest, ReadLineSplitsOnLineFeedsAndDropsCarriageReturns)
{
    writeRaw("a.txt", "a\r\nb");
    DiskInputFile in("a.txt");
    ASSERT_EQ(in.open(), ERROR_OK);
    std::string line;
    EXPECT_EQ(in.readLine(line), ERROR_OK);
    EXPECT_EQ(line, "a");
    EXPECT_EQ(in.readLine(line), ERROR_OK);
    EXPECT_EQ(line, "b");
    EXPECT_EQ(in.readLine(line), ERROR_FILEIO_EOF);

    writeRaw("b.txt", "x\n");
    DiskInputFile in2("b.txt");
    ASSERT_EQ(in2.open(), ERROR_OK);
    EXPECT_EQ(in2.readLine(line), ERROR_OK);
    EXPECT_EQ(line, "x");
    EXPECT_EQ(in2.readLine(line), ERROR_FILEIO_EOF);
}

TEST_F(DiskFileTest, ReadLineOnAClosedFileEndsWithAnError)
{
    DiskInputFile in("missing.txt");
    EXPECT_EQ(in.open(), ERROR_FILEIO_FILENOTFOUND);
    std::string line;
    EXPECT_NE(in.readLine(line), ERROR_OK);
}

TEST_F(DiskFileTest, StringsAndValuesRoundTripThroughDiskFiles)
{
    {
        DiskOutputFile out("data\\round.bin");
        // the folder does not exist yet
        EXPECT_EQ(out.open(), ERROR_FILEIO_INVALIDFILE);
    }
    DiskOutputFile out("round.bin", 7);
    ASSERT_EQ(out.open(), ERROR_OK);
    EXPECT_EQ(out.open(), ERROR_FILEIO_ALREADY_OPEN);
    std::string empty, text = "Léopard";
    uint32_t value = 0x01020304;
    bool flag = true;
    EXPECT_EQ(out.transferString(empty), ERROR_OK);
    EXPECT_EQ(out.transferString(text), ERROR_OK);
    EXPECT_EQ(out.transferValue(value), ERROR_OK);
    EXPECT_EQ(out.transferBool(flag), ERROR_OK);
    EXPECT_EQ(out.close(), ERROR_OK);
    EXPECT_EQ(readRaw("round.bin").substr(0, 4), std::string(4, '\0'));

    DiskInputFile in("ROUND.BIN"); // found whatever the case
    ASSERT_EQ(in.open(), ERROR_OK);
    std::string a = "x", b;
    uint32_t v = 0;
    bool f = false;
    EXPECT_EQ(in.transferString(a), ERROR_OK);
    EXPECT_EQ(in.transferString(b), ERROR_OK);
    EXPECT_EQ(in.transferValue(v), ERROR_OK);
    EXPECT_EQ(in.transferBool(f), ERROR_OK);
    EXPECT_EQ(a, "");
    EXPECT_EQ(b, text);
    EXPECT_EQ(v, value);
    EXPECT_TRUE(f);
}

TEST_F(DiskFileTest, ADirectoryIsNotAFile)
{
    std::filesystem::create_directory(mDir.path() + "folder");
    DiskInputFile in("folder");
    EXPECT_EQ(in.open(), ERROR_FILEIO_FILENOTFOUND);
    Platform::ScopedMessageCapture capture;
    StdioFile file("folder");
    EXPECT_EQ(file.openRead(), ERROR_FILEIO_FILENOTFOUND);
    ASSERT_EQ(capture.messages().size(), 1u);
    EXPECT_EQ(capture.messages()[0].text, "Fichier 'folder' introuvable");
}

// A pipe holds no data and would hold the program in open until something
// came to its other end: refused at once, for reading and for writing.
TEST_F(DiskFileTest, APipeIsRefusedAtOnce)
{
    const std::string pipe = mDir.path() + "tuyau.tnv";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    auto opened = std::async(std::launch::async,
                             []
                             {
                                 DiskInputFile in("tuyau.tnv");
                                 DiskOutputFile out("tuyau.tnv");
                                 return std::make_pair(in.open(), out.open());
                             });
    if (opened.wait_for(std::chrono::seconds(10)) != std::future_status::ready)
    {
        // Lets each blocked open go, so that the test fails instead of hanging.
        while (opened.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready)
            for (int flags : {O_WRONLY | O_NONBLOCK, O_RDONLY | O_NONBLOCK})
                if (int fd = ::open(pipe.c_str(), flags); fd >= 0)
                    ::close(fd);
        FAIL() << "open waited on the pipe";
    }
    const auto [read, written] = opened.get();
    EXPECT_EQ(read, ERROR_FILEIO_FILENOTFOUND);
    EXPECT_EQ(written, ERROR_FILEIO_INVALIDFILE);
}

TEST_F(DiskFileTest, CloseReportsAFailedFlush)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    DiskOutputFile out("/dev/full");
    ASSERT_EQ(out.open(), ERROR_OK);
    uint32_t value = 1;
    EXPECT_EQ(out.transferValue(value), ERROR_OK); // buffered
    EXPECT_EQ(out.close(), ERROR_FILEIO_WRITEERROR);
}

TEST(MemoryInputStream, ShortReadsFailWithoutMoving)
{
    const uint8_t bytes[3] = {1, 2, 3};
    MemoryInputStream in(bytes, 3);
    uint32_t value = 0;
    EXPECT_EQ(in.transfer(&value, 4), ERROR_INVALID);
    EXPECT_EQ(in.tell(), 0u);
    EXPECT_EQ(in.seek(3), ERROR_OK);
    EXPECT_TRUE(in.isAtEnd());
    EXPECT_EQ(in.seek(4), ERROR_INVALID);
}

TEST(MemoryInputStream, StringLongerThanTheRestIsRefusedBeforeAllocating)
{
    // Length 0xFFFFFFF0 followed by two bytes.
    const uint8_t bytes[6] = {0xF0, 0xFF, 0xFF, 0xFF, 'a', 'b'};
    MemoryInputStream in(bytes, sizeof bytes);
    std::string text = "kept";
    EXPECT_NE(in.transferString(text), ERROR_OK);
    EXPECT_EQ(text, "kept");
}

TEST(MemoryInputStream, EmbeddedZeroEndsTheString)
{
    const uint8_t bytes[7] = {3, 0, 0, 0, 'a', 0, 'b'};
    MemoryInputStream in(bytes, sizeof bytes);
    std::string text;
    EXPECT_EQ(in.transferString(text), ERROR_OK);
    EXPECT_EQ(text, "a");
    EXPECT_TRUE(in.isAtEnd());
}

TEST(MemoryInputStream, BoolsAreNormalised)
{
    const uint8_t bytes[1] = {0x7F};
    MemoryInputStream in(bytes, 1);
    bool flag = false;
    EXPECT_EQ(in.transferBool(flag), ERROR_OK);
    EXPECT_TRUE(flag);
}
