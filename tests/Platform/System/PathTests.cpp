#include "Platform/System/Paths.h"
#include "Platform/System/Text1252.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

namespace
{
// Sets (or, with null, removes) an environment variable for one test.
class ScopedEnv
{
public:
    ScopedEnv(const char* name, const char* value) : mName(name)
    {
        if (const char* old = std::getenv(name))
            mOld = old;
        value != nullptr ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedEnv() { mOld ? setenv(mName, mOld->c_str(), 1) : unsetenv(mName); }

private:
    const char* mName;
    std::optional<std::string> mOld;
};

void touch(const std::string& path, const char* content = "x")
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path) << content;
}

std::string readAll(const std::string& path)
{
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// An installed prefix: the program in bin/, its data in share/velmorique/.
struct InstalledPrefix
{
    InstalledPrefix()
    {
        touch(root.path() + "prefix/share/velmorique/Ressources.dat", "installed");
        touch(root.path() + "prefix/share/velmorique/setup.ini", "installed");
        std::filesystem::create_directories(root.path() + "prefix/bin");
    }
    Platform::TemporaryDirectory root;
};
} // namespace

TEST(Paths, BackslashPathsMapBelowTheProgramFolder)
{
    Platform::TemporaryDirectory dir;
    Platform::setProgramDirectory(dir.path());
    EXPECT_EQ(Platform::mapPath("data\\setup.ini"), dir.path() + "data/setup.ini");
    EXPECT_EQ(Platform::mapPath("C:\\tmp\\x"), "/tmp/x");
    EXPECT_EQ(Platform::mapPath("/tmp/y"), "/tmp/y");
    EXPECT_TRUE(Platform::isAbsolutePath("C:\\x"));
    EXPECT_FALSE(Platform::isAbsolutePath("data\\x"));
}

TEST(Paths, MissingNamesAreFoundIgnoringCase)
{
    Platform::TemporaryDirectory dir;
    Platform::setProgramDirectory(dir.path());
    std::filesystem::create_directories(dir.path() + "Data/Ressources");
    std::ofstream(dir.path() + "Data/Ressources/Lang.ini") << "x";
    EXPECT_EQ(Platform::mapPath("data\\ressources\\lang.INI"), dir.path() + "Data/Ressources/Lang.ini");
    // A new file in an existing folder keeps its own name.
    EXPECT_EQ(Platform::mapPath("DATA\\new.txt"), dir.path() + "Data/new.txt");
}

TEST(Paths, AnInstalledProgramReadsItsPrefixAndWritesToTheUsersFolderWhereverThePrefixMoves)
{
    InstalledPrefix p;
    ScopedEnv xdg("XDG_DATA_HOME", (p.root.path() + "xdg").c_str());
    for (const char* prefix : {"prefix", "moved"})
    {
        if (std::string(prefix) == "moved")
            std::filesystem::rename(p.root.path() + "prefix", p.root.path() + "moved");
        const std::string share = p.root.path() + prefix + "/share/velmorique/";
        const std::string user = p.root.path() + "xdg/velmorique/";
        Platform::setProgramDirectory(p.root.path() + prefix + "/bin");
        EXPECT_EQ(Platform::dataDirectory(), share);
        EXPECT_EQ(Platform::userDataDirectory(), user);
        EXPECT_EQ(Platform::mapPath("data\\Ressources.dat"), share + "Ressources.dat");
        EXPECT_EQ(Platform::mapPath("data\\score.dat"), user + "score.dat")
            << "missing: where it will be written";

        // A write makes the user's folders; the user's copy then wins.
        EXPECT_EQ(Platform::mapPathForWriting("data\\setup.ini"), user + "setup.ini");
        EXPECT_EQ(Platform::mapPath("data\\setup.ini"), share + "setup.ini") << "nothing written yet";
        touch(user + "setup.ini", "mine");
        EXPECT_EQ(readAll(Platform::mapPath("DATA\\Setup.ini")), "mine");
        EXPECT_EQ(Platform::mapPathForWriting("data\\saves\\"), user + "saves/");
        EXPECT_TRUE(std::filesystem::is_directory(user + "saves"));
        // Folders the data has, or its archive stands for, are made for a
        // file; others are not.
        Platform::mapPathForWriting("data\\Ressources\\lang.ini");
        EXPECT_TRUE(std::filesystem::is_directory(user + "Ressources"));
        Platform::mapPathForWriting("data\\nofolder\\x.tnv");
        EXPECT_FALSE(std::filesystem::exists(user + "nofolder"));
        // The game also names its files from its own folder.
        EXPECT_EQ(Platform::mapPathForWriting(Platform::programDirectory() + "data\\saves\\a.tnv"),
                  user + "saves/a.tnv");
        std::filesystem::remove_all(user);
    }
}

TEST(Paths, TheUsersFolderComesFromTheEnvironment)
{
    InstalledPrefix p;
    const std::string home = p.root.path() + "home/";
    ScopedEnv homeEnv("HOME", home.c_str());
    struct Case
    {
        const char* xdg;
        std::string userDir; // empty: unset
        std::string expected;
    } cases[] = {
        {nullptr, "", home + ".local/share/velmorique/"},
        {"relative/ignored", "", home + ".local/share/velmorique/"},
        {"/elsewhere", "", "/elsewhere/velmorique/"},
        {"/elsewhere", p.root.path() + "mine", p.root.path() + "mine/"},
    };
    for (const Case& c : cases)
    {
        ScopedEnv xdg("XDG_DATA_HOME", c.xdg);
        ScopedEnv userDir("VELMORIQUE_USER_DIR", c.userDir.empty() ? nullptr : c.userDir.c_str());
        Platform::setProgramDirectory(p.root.path() + "prefix/bin");
        EXPECT_EQ(Platform::userDataDirectory(), c.expected) << (c.xdg ? c.xdg : "no XDG_DATA_HOME");
    }
}

TEST(Paths, ABuildFolderWritesToTheUserFolderNamedByTheEnvironment)
{
    Platform::TemporaryDirectory dir;
    touch(dir.path() + "data/settings.dat", "build");
    ScopedEnv userDir("VELMORIQUE_USER_DIR", (dir.path() + "user").c_str());
    Platform::setProgramDirectory(dir.path());
    EXPECT_EQ(Platform::mapPathForWriting("data\\settings.dat"), dir.path() + "user/settings.dat");
    EXPECT_EQ(Platform::mapPath("data\\settings.dat"), dir.path() + "data/settings.dat");
    EXPECT_EQ(Platform::mapPath("models\\a.X"), dir.path() + "models/a.X")
        << "outside data: the program's folder";
}

TEST(Paths, NamesAreUtf8OnTheDiskAnd1252InTheProgram)
{
    Platform::TemporaryDirectory dir;
    Platform::setProgramDirectory(dir.path());
    const std::string written = Platform::mapPathForWriting("data\\saves\\partie \xe9t\xe9.tnv");
    EXPECT_EQ(written, dir.path() + "data/saves/partie \u00e9t\u00e9.tnv");
    touch(written);
    // A name an older version wrote in 1252 bytes is still found and listed.
    touch(dir.path() + "data/saves/ancienne \xe9.tnv", "old");
    std::vector<std::string> names;
    for (const Platform::DirectoryEntry& entry : Platform::listDirectory(dir.path() + "data/saves"))
        names.push_back(entry.name);
    EXPECT_EQ(names, (std::vector<std::string>{"ancienne \xe9.tnv", "partie \xe9t\xe9.tnv"}));
    EXPECT_EQ(readAll(Platform::mapPath("data\\saves\\ANCIENNE \xe9.tnv")), "old");
    EXPECT_EQ(Platform::toProgramPath(dir.path() + "\u00e9t\u00e9/"), dir.path() + "\xe9t\xe9/");
}

TEST(Text1252, RoundTripsEveryAssignedByte)
{
    for (int b = 1; b < 256; ++b)
    {
        std::string one(1, static_cast<char>(b));
        if (Platform::cp1252ToCodePoint(static_cast<unsigned char>(b)) == 0)
            continue;
        EXPECT_EQ(Platform::utf8ToCp1252(Platform::cp1252ToUtf8(one)), one) << b;
    }
    EXPECT_EQ(Platform::cp1252ToUtf8("\x92\x9C"), "\u2019\u0153");
    EXPECT_EQ(Platform::utf8ToCp1252("\u4E2D\xC3"), "??");
}
