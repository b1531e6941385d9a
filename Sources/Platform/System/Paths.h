#pragma once
// Mapping of the game's Windows-style paths ("data\Ressources\lang.ini") to
// Linux paths. Relative paths are relative to the program's folder; a path is
// absolute when it starts with '/' or its second character is ':' (the drive
// letter is dropped). When the exact name does not exist, each component is
// looked up case-insensitively, since the data was named on a system that
// ignores case.
//
// The game's "data\" folder has two homes. What the build makes is read from
// the data folder: data/ beside the program in a build folder, or
// ../share/velmorique/ beside an installed program. What the program writes
// (settings, scores, set-up, language file, saved games) goes to the user's
// folder, and a file there wins over the installed one. The user's folder is
// $VELMORIQUE_USER_DIR when set; otherwise, for an installed program,
// $XDG_DATA_HOME/velmorique (~/.local/share/velmorique by default), and for a
// build folder its own data/.
//
// Names inside the program are Windows-1252 bytes; on the disk they are
// UTF-8. The mapping converts them, and listing a folder converts back.
#include <string>
#include <string_view>
#include <vector>

namespace Platform
{

// The folder of the running executable, with a trailing '/', as the program
// spells names (Windows-1252).
const std::string& programDirectory();
// Tests point the program folder at a scratch directory; the data and user
// folders are worked out again from it and from the environment.
void setProgramDirectory(const std::string& directory);

// Where the build's data is read from and where the program's own files go,
// as Linux paths with a trailing '/'. They are the same folder when a build
// folder runs without VELMORIQUE_USER_DIR.
std::string dataDirectory();
std::string userDataDirectory();

bool isAbsolutePath(std::string_view path);

// Backslashes to slashes and the drive letter removed; nothing else.
std::string toSlashPath(std::string_view path);

// The Linux path to read the game's path from: absolute, UTF-8, with the
// case-insensitive fallback applied to every existing component; for a file
// of the data folder, the user's copy when there is one. A file found nowhere
// maps to where the program would write it.
std::string mapPath(std::string_view path);

// The Linux path to write the game's path to: a file of the data folder goes
// to the user's folder, and the folders leading to it there are created (the
// path itself too when it ends with a separator).
std::string mapPathForWriting(std::string_view path);
// The Linux path mapPathForWriting gives, with no folder made: where the file
// is written, for a message to name it.
std::string writtenPath(std::string_view path);

// A Linux path as the program spells paths (UTF-8 to Windows-1252; a name that
// is not UTF-8 is kept byte for byte, as older saves were written).
std::string toProgramPath(std::string_view linuxPath);

// Whether a file written at the game's path would land inside the folder the
// program writes its data in (the player's folder where one is set up),
// symbolic links in the existing part of the path resolved. Configuration
// write-back is held to it, so that a path read from a file cannot make the
// program write elsewhere.
bool isInsideWritableDataFolder(std::string_view path);

// Entries of a directory (no "." or ".."), sorted by name: the name as the
// program spells it and the name as it is on the disk.
struct DirectoryEntry
{
    std::string name;
    bool isDirectory = false;
    // A file that holds data; a pipe, a socket or a device is neither this
    // nor a folder.
    bool isRegularFile = false;
    std::string diskName;
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
