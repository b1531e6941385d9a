#include "Framework/FileUtilities.h"
#include "Platform/System/Paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

TEST(FileUtilities, DirectoryKeepsDriveAndTrailingSeparator)
{
    std::string dir = "x";
    getFileDirectory("C:\\Jeu\\data\\plateau.X", dir);
    EXPECT_EQ(dir, "C:\\Jeu\\data\\");
    getFileDirectory("data/models/a.x", dir);
    EXPECT_EQ(dir, "data/models/");
    getFileDirectory("C:fichier.txt", dir);
    EXPECT_EQ(dir, "C:");
    getFileDirectory("fichier.txt", dir);
    EXPECT_EQ(dir, "");
}

TEST(FileUtilities, ExtensionsFromTheLastDot)
{
    EXPECT_EQ(getFileExtension("video\\menu.wmv"), ".wmv");
    EXPECT_EQ(getFileExtension("a.tar.gz"), ".gz");
    EXPECT_EQ(getFileExtension("LISEZMOI"), "");
    const char* name = "image.png";
    EXPECT_STREQ(findExtension(name), ".png");
    const char* bare = "image";
    EXPECT_EQ(findExtension(bare), bare + 5);
}

TEST(FileUtilities, ADirectoryExistsButIsNotAFile)
{
    Platform::TemporaryDirectory dir;
    Platform::setProgramDirectory(dir.path());
    std::filesystem::create_directories(dir.path() + "Data/Sons");
    std::ofstream(dir.path() + "Data/Sons/Clic.wav") << "RIFF";

    bool isDirectory = false;
    EXPECT_TRUE(pathExists("data\\sons", isDirectory));
    EXPECT_TRUE(isDirectory);
    EXPECT_TRUE(pathExists("data\\sons\\clic.wav", isDirectory));
    EXPECT_FALSE(isDirectory);
    EXPECT_FALSE(pathExists("data\\absent", isDirectory));

    EXPECT_TRUE(diskFileExists("DATA\\Sons\\clic.WAV"));
    EXPECT_FALSE(diskFileExists("data\\sons"));
    EXPECT_FALSE(diskFileExists("data\\absent.wav"));
}

TEST(FileUtilities, ShellOpenHandsMappedPathsAndLinksToTheLauncher)
{
    Platform::TemporaryDirectory dir;
    Platform::setProgramDirectory(dir.path());
    std::vector<std::string> opened;
    setShellLauncher(
        [&](const std::string& target)
        {
            opened.push_back(target);
            return true;
        });
    EXPECT_TRUE(shellOpen("aide\\regles.html"));
    EXPECT_TRUE(shellOpen("http://example.invalid/"));
    EXPECT_TRUE(shellOpen("C:\\tmp\\doc.pdf"));
    setShellLauncher(nullptr);
    ASSERT_EQ(opened.size(), 3u);
    EXPECT_EQ(opened[0], dir.path() + "aide/regles.html");
    EXPECT_EQ(opened[1], "http://example.invalid/");
    EXPECT_EQ(opened[2], "/tmp/doc.pdf");
}
