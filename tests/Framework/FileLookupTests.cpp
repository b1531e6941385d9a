#include "Framework/FileLookup.h"
#include "Platform/System/Paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace
{
class FileLookupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Platform::setProgramDirectory(mDir.path());
        writeFile("pack/lang.ini", "archive");
        writeFile("pack/images/Fond.png", "PNG");
        std::filesystem::create_directories(mDir.path() + "data");
        ASSERT_EQ(buildResourceArchive(mDir.path() + "data/Ressources.dat", mDir.path() + "pack",
                                       "data\\Ressources"),
                  ERROR_OK);
        // The disk holds other files under the same folder.
        writeFile("data/Ressources/lang.ini", "disk");
        writeFile("data/Ressources/extra.ini", "disk only");
        writeFile("data/setup.ini", "setup");
        std::filesystem::create_directories(mDir.path() + "data/Ressources/dossier");
        auto archive = std::make_unique<ResourceArchive>();
        ASSERT_EQ(archive->open("data\\Ressources.dat"), ERROR_OK);
        mLookup.addArchive(std::move(archive));
    }
    void writeFile(const std::string& relative, const std::string& bytes)
    {
        std::filesystem::path path = mDir.path() + relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string readAll(InputStream& stream)
    {
        std::string text;
        char c;
        while (stream.transfer(&c, 1) == ERROR_OK)
            text += c;
        return text;
    }
    Platform::TemporaryDirectory mDir;
    FileLookup mLookup;
};
} // namespace

TEST_F(FileLookupTest, ArchiveComesBeforeTheDisk)
{
    std::unique_ptr<InputStream> stream;
    ASSERT_EQ(mLookup.openFile("data\\Ressources\\LANG.ini", stream), ERROR_OK);
    EXPECT_EQ(readAll(*stream), "archive");
    ASSERT_EQ(mLookup.openFile("data\\setup.ini", stream, 5), ERROR_OK); // not covered: the disk
    EXPECT_EQ(stream->getFlags(), 5u);
    EXPECT_EQ(readAll(*stream), "setup");

    std::unique_ptr<ByteBuffer> bytes;
    EXPECT_EQ(mLookup.readFromArchives("data\\Ressources\\images\\fond.PNG", bytes), ERROR_OK);
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(bytes->size(), 3u);
    EXPECT_EQ(mLookup.readFromArchives("data\\setup.ini", bytes), ERROR_OK);
    EXPECT_EQ(bytes, nullptr);
}

TEST_F(FileLookupTest, ArchiveOnlyHidesTheDiskUnderTheArchivesFolder)
{
    std::unique_ptr<ByteBuffer> bytes;
    std::unique_ptr<InputStream> stream;
    EXPECT_EQ(mLookup.readFromArchives("data\\Ressources\\extra.ini", bytes), ERROR_FILENOTFOUND);
    EXPECT_EQ(mLookup.openFile("data\\Ressources\\extra.ini", stream), ERROR_FILENOTFOUND);
    EXPECT_EQ(stream, nullptr);
    EXPECT_FALSE(mLookup.fileExists("data\\Ressources\\extra.ini"));
    EXPECT_TRUE(mLookup.fileExists("data\\ressources\\Images\\fond.png"));

    mLookup.setArchiveOnly(false);
    EXPECT_EQ(mLookup.readFromArchives("data\\Ressources\\extra.ini", bytes), ERROR_OK);
    EXPECT_EQ(bytes, nullptr);
    ASSERT_EQ(mLookup.openFile("data\\Ressources\\extra.ini", stream), ERROR_OK);
    EXPECT_EQ(readAll(*stream), "disk only");
    EXPECT_TRUE(mLookup.fileExists("data\\Ressources\\extra.ini"));
    EXPECT_EQ(mLookup.openFile("data\\Ressources\\absent.ini", stream), ERROR_FILEIO_FILENOTFOUND);
}

TEST_F(FileLookupTest, DiskFallbackIgnoresCaseAndFolders)
{
    EXPECT_TRUE(mLookup.fileExists("DATA\\SETUP.INI"));
    EXPECT_FALSE(mLookup.fileExists("data\\absent.ini"));
    EXPECT_FALSE(mLookup.fileExists("data"));
    mLookup.setArchiveOnly(false);
    EXPECT_FALSE(mLookup.fileExists("data\\Ressources\\dossier"));
    std::unique_ptr<InputStream> stream;
    EXPECT_EQ(mLookup.openFile("data\\Ressources\\dossier", stream), ERROR_FILEIO_FILENOTFOUND);

    FileLookup empty;
    EXPECT_TRUE(empty.fileExists("data\\Ressources\\lang.ini"));
    ASSERT_EQ(empty.openFile("data\\Ressources\\lang.ini", stream), ERROR_OK);
    EXPECT_EQ(readAll(*stream), "disk");
}

TEST_F(FileLookupTest, FreeLookupsUseTheActiveLookupOrTheDisk)
{
    std::unique_ptr<InputStream> stream;
    std::unique_ptr<ByteBuffer> bytes;
    ASSERT_EQ(activeFileLookup(), nullptr);
    ASSERT_EQ(openDataFile("data\\Ressources\\lang.ini", stream), ERROR_OK);
    EXPECT_EQ(readAll(*stream), "disk");
    EXPECT_EQ(readDataFromArchives("data\\Ressources\\lang.ini", bytes), ERROR_OK);
    EXPECT_EQ(bytes, nullptr);
    EXPECT_TRUE(dataFileExists("data\\Ressources\\extra.ini"));

    setActiveFileLookup(&mLookup);
    ASSERT_EQ(openDataFile("data\\Ressources\\lang.ini", stream), ERROR_OK);
    EXPECT_EQ(readAll(*stream), "archive");
    EXPECT_EQ(readDataFromArchives("data\\Ressources\\lang.ini", bytes), ERROR_OK);
    ASSERT_NE(bytes, nullptr);
    EXPECT_FALSE(dataFileExists("data\\Ressources\\extra.ini"));
    setActiveFileLookup(nullptr);
}
