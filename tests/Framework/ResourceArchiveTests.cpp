#include "Framework/ResourceArchive.h"
#include "Platform/System/MessageSink.h"
#include "Platform/System/Paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace
{
// Writes archive directories by hand, little-endian.
struct Bytes
{
    std::string data;
    Bytes& u16(uint16_t v)
    {
        data += static_cast<char>(v & 0xFF);
        data += static_cast<char>(v >> 8);
        return *this;
    }
    Bytes& u32(uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            data += static_cast<char>((v >> (8 * i)) & 0xFF);
        return *this;
    }
    Bytes& name(const std::string& text)
    {
        u16(static_cast<uint16_t>(text.size()));
        data += text;
        return *this;
    }
    Bytes& raw(const std::string& text)
    {
        data += text;
        return *this;
    }
};

class ResourceArchiveTest : public ::testing::Test
{
protected:
    void SetUp() override { Platform::setProgramDirectory(mDir.path()); }
    void writeFile(const std::string& relative, const std::string& bytes)
    {
        std::filesystem::path path = mDir.path() + relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }
    std::string readFile(const std::string& relative)
    {
        std::ifstream in(mDir.path() + relative, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    ErrorCode openBytes(ResourceArchive& archive, const std::string& bytes)
    {
        writeFile("test.dat", bytes);
        return archive.open("test.dat");
    }
    static std::string asText(const ByteBuffer& buffer)
    {
        return std::string(reinterpret_cast<const char*>(buffer.data()), buffer.size());
    }
    Platform::TemporaryDirectory mDir;
};
} // namespace

TEST_F(ResourceArchiveTest, BuilderWritesSortedDirectoryThenDataDepthFirst)
{
    writeFile("src/b/x.txt", "hi");
    writeFile("src/a.bin", "\x01\x02\x03");
    writeFile("src/a.skip", "left out");
    ASSERT_EQ(buildResourceArchive(mDir.path() + "out.dat", mDir.path() + "src/", "data\\Res\\", {".SKIP"}),
              ERROR_OK);

    Bytes expected;
    expected.name("data\\Res").u16(1);
    expected.name("b").u16(0).u16(1).name("x.txt").u32(0).u32(2);
    expected.u16(1).name("a.bin").u32(2).u32(3);
    expected.raw("hi").raw("\x01\x02\x03");
    EXPECT_EQ(readFile("out.dat"), expected.data);
    EXPECT_FALSE(std::filesystem::exists(mDir.path() + "out.dat.tmp"));

    EXPECT_EQ(buildResourceArchive(mDir.path() + "out2.dat", mDir.path() + "nothing", "r"),
              ERROR_FILEIO_FILENOTFOUND);
    EXPECT_EQ(buildResourceArchive(mDir.path() + "no/such/dir/out.dat", mDir.path() + "src", "r"),
              ERROR_FILEIO_INVALIDFILE);
}

TEST_F(ResourceArchiveTest, EveryPackedFileReadsBackWhole)
{
    std::string big(16385, '\0');
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>(i * 7 + 3);
    writeFile("src/Images/fond.png", big);
    writeFile("src/Images/Vide.bin", "");
    writeFile("src/skins/Bois/skin.ini", "SKIN_COLOR_X = Color(1,2,3,4)\r\n");
    writeFile("src/lang.ini", "LANG_ERROR = Erreur\r\n");
    std::filesystem::create_directories(mDir.path() + "data");
    ASSERT_EQ(
        buildResourceArchive(mDir.path() + "data/Ressources.dat", mDir.path() + "src", "data\\Ressources"),
        ERROR_OK);

    ResourceArchive archive;
    ASSERT_EQ(archive.open("data\\Ressources.dat"), ERROR_OK);
    auto image = archive.readFile("data\\Ressources\\Images\\fond.png");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(asText(*image), big);
    auto empty = archive.readFile("data\\Ressources\\images\\vide.bin");
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->size(), 0u);
    auto skin = archive.readFile("DATA\\ressources\\SKINS\\bois\\Skin.INI");
    ASSERT_NE(skin, nullptr);
    EXPECT_EQ(asText(*skin), "SKIN_COLOR_X = Color(1,2,3,4)\r\n");
    EXPECT_EQ(asText(*archive.readFile("data\\Ressources\\lang.ini")), "LANG_ERROR = Erreur\r\n");
    EXPECT_EQ(archive.readFile("data\\Ressources\\absent.ini"), nullptr);
    EXPECT_EQ(archive.readFile("data\\Ressources\\Images"), nullptr); // a folder is not a file
}

TEST_F(ResourceArchiveTest, CoverageNeedsTheRootNameAndABackslash)
{
    Bytes bytes;
    bytes.name("data\\Ressources").u16(1).name("skins").u16(1).name("Bois").u16(0).u16(0).u16(0).u16(1);
    bytes.name("lang.ini").u32(0).u32(1).raw("x");
    ResourceArchive archive;
    ASSERT_EQ(openBytes(archive, bytes.data), ERROR_OK);

    EXPECT_TRUE(archive.covers("data\\Ressources\\anything"));
    EXPECT_TRUE(archive.covers("DATA\\RESSOURCES\\lang.ini"));
    EXPECT_FALSE(archive.covers("data\\RessourcesX\\a"));
    EXPECT_FALSE(archive.covers("data\\Ressources"));
    EXPECT_FALSE(archive.covers("data\\Res"));
    EXPECT_TRUE(archive.hasFile("Data\\Ressources\\LANG.INI"));
    EXPECT_FALSE(archive.hasFile("data\\Ressources\\\\lang.ini"));

    const ArchiveFolder* skins = archive.findFolder("data\\ressources\\Skins");
    ASSERT_NE(skins, nullptr);
    EXPECT_EQ(skins->folders.size(), 1u);
    EXPECT_EQ(skins->folders[0]->name, "Bois");
    EXPECT_EQ(archive.findFolder("data\\Ressources\\skins\\"), skins);
    EXPECT_EQ(archive.findFolder("data\\Ressources"), archive.root());
    EXPECT_NE(archive.findFolder("data\\Ressources\\skins\\bois"), nullptr);
    EXPECT_EQ(archive.findFolder("data\\Ressources\\lang.ini"), nullptr);
    EXPECT_EQ(archive.findFolder("data\\Ressources\\skins\\Pierre"), nullptr);
}

TEST_F(ResourceArchiveTest, MissingArchiveIsReportedAndMountsNothing)
{
    Platform::ScopedMessageCapture capture;
    ResourceArchive archive;
    EXPECT_EQ(archive.open("data\\Ressources.dat"), ERROR_FILEIO_FILENOTFOUND);
    ASSERT_EQ(capture.messages().size(), 1u);
    EXPECT_EQ(capture.messages()[0].text, "Fichier 'data\\Ressources.dat' introuvable");
    EXPECT_EQ(archive.root(), nullptr);
    EXPECT_FALSE(archive.covers("data\\Ressources.dat\\x"));
}

TEST_F(ResourceArchiveTest, DamagedDirectoriesMountNothing)
{
    Bytes good;
    good.name("r").u16(1).name("d").u16(0).u16(1).name("f").u32(0).u32(3).u16(1).name("g").u32(3).u32(2);
    good.raw("abcde");
    ResourceArchive archive;
    ASSERT_EQ(openBytes(archive, good.data), ERROR_OK);

    // Every cut inside the directory or the data.
    for (size_t n = 0; n < good.data.size(); ++n)
    {
        EXPECT_EQ(openBytes(archive, good.data.substr(0, n)), ERROR_FILEIO_READERROR) << n;
        EXPECT_EQ(archive.root(), nullptr);
        EXPECT_FALSE(archive.covers("r\\f"));
    }

    // A file that runs past the end, or whose offset wraps around.
    Bytes pastEnd;
    pastEnd.name("r").u16(0).u16(1).name("f").u32(1).u32(3).raw("abc");
    EXPECT_EQ(openBytes(archive, pastEnd.data), ERROR_FILEIO_READERROR);
    Bytes wraps;
    wraps.name("r").u16(0).u16(1).name("f").u32(0xFFFFFFFF).u32(2).raw("abc");
    EXPECT_EQ(openBytes(archive, wraps.data), ERROR_FILEIO_READERROR);

    // Counts far beyond the bytes there: refused before anything is reserved.
    Bytes manyFiles;
    manyFiles.name("r").u16(0).u16(0xFFFF).name("f").u32(0).u32(0);
    EXPECT_EQ(openBytes(archive, manyFiles.data), ERROR_FILEIO_READERROR);
    Bytes longName;
    longName.name("r").u16(0).u16(1).u16(0xFFFF).raw("f");
    EXPECT_EQ(openBytes(archive, longName.data), ERROR_FILEIO_READERROR);
}

TEST_F(ResourceArchiveTest, FolderNestingIsCapped)
{
    auto nested = [](uint32_t depth)
    {
        Bytes bytes;
        bytes.name("r");
        for (uint32_t i = 0; i < depth; ++i)
            bytes.u16(1).name("d");
        bytes.u16(0).u16(0);
        for (uint32_t i = 0; i < depth; ++i)
            bytes.u16(0);
        return bytes.data;
    };
    ResourceArchive archive;
    EXPECT_EQ(openBytes(archive, nested(ResourceArchive::kMaxFolderDepth)), ERROR_OK);
    EXPECT_EQ(openBytes(archive, nested(ResourceArchive::kMaxFolderDepth + 1)), ERROR_FILEIO_READERROR);
    EXPECT_EQ(openBytes(archive, nested(20000)), ERROR_FILEIO_READERROR);
}
