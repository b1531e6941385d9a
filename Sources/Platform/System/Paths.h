#pragma once
// Mapping of the game's Windows-style paths ("data\Ressources\lang.ini") to
// Linux paths. Relative paths are relative to the program's folder; a path is
// absolute when it starts with '/' or its second character is ':' (the drive
// letter is dropped). When the exact name does not exist, each component is
// looked up case-insensitively, since the data was named on a system that
// ignores case.
#include <string>
#include <string_view>
#include <vector>

namespace Platform
{

// The folder of the running executable, with a trailing '/'.
const std::string& programDirectory();
// Tests point the program folder at a scratch directory.
void setProgramDirectory(const std::string& directory);

bool isAbsolutePath(std::string_view path);

// Backslashes to slashes and the drive letter removed; nothing else.
std::string toSlashPath(std::string_view path);

// The Linux path a file operation should use for the game's path: absolute,
// with the case-insensitive fallback applied to every existing component.
std::string mapPath(std::string_view path);

// Whether a file written at the game's path would land inside the folder the
// program keeps its own data in (data/ beside the program), symbolic links in
// the existing part of the path resolved. Configuration write-back is held to
// it, so that a path read from a file cannot make the program write elsewhere.
bool isInsideWritableDataFolder(std::string_view path);

// Entries of a directory (names only, no "." or ".."), sorted by name.
struct DirectoryEntry
{
    std::string name;
    bool isDirectory = false;
};
std::vector<DirectoryEntry> listDirectory(const std::string& linuxDirectory);

// A scratch directory for tests, removed with everything in it on destruction.
class TemporaryDirectory
{
public:
    TemporaryDirectory();
    ~TemporaryDirectory();
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;
    // With a trailing '/'.
    const std::string& path() const { return mPath; }

private:
    std::string mPath;
};

} // namespace Platform
