#pragma once
// Path handling and file tests on the game's paths ("data\Ressources\x.png",
// relative to the program's folder unless absolute; see Platform/System/Paths).
#include <functional>
#include <string>
#include <vector>

// Drive and directory of a path with the trailing separator ('\' or '/'),
// without the file name: "C:\a\b.txt" gives "C:\a\". Empty when the path has
// neither.
void getFileDirectory(const std::string& path, std::string& directory);

// The part from the last '.', the dot included, or empty.
std::string getFileExtension(const std::string& path);

// Pointer to the last '.' of the text, else to its terminating NUL.
const char* findExtension(const char* text);

// Whether anything (file or folder) stands at the path; isDirectory tells
// which.
bool pathExists(const std::string& path, bool& isDirectory);

// Whether a regular file can be opened for reading at the path. A directory,
// a pipe or a device is not a file.
bool diskFileExists(const std::string& path);

// Makes the folder of the game's path (with the folders above it) when it is
// missing; false when it cannot be made or something else stands there.
bool createDataFolder(const std::string& folder);

// Removes, in the folder of the game's path, the temporary files that a
// write interrupted by a crash or a power cut left beside the files the
// program writes (setup.ini.tmp, score.dat.tmp, partie.tnv.tmp). Only
// regular files are removed. Returns how many went.
int removeStaleTemporaryFiles(const std::string& folder);

// Opens a document, folder or web link with the desktop's default program
// ("xdg-open"), without waiting for it. Game paths are mapped first; texts
// with a scheme ("http://...", "mailto:...") are passed unchanged. Returns
// false when the opener could not be started. Either way a failure (the
// opener missing, or ending with an error later) is kept for
// takeShellOpenFailures.
bool shellOpen(const std::string& path);

// What shellOpen could not open: the text it was given, and the opener's exit
// code (-1: the opener could not be started at all).
struct ShellOpenFailure
{
    std::string what;
    int exitCode = -1;
};
// The failures kept since the last call, oldest first (the opener ends on its
// own thread; the main loop reports them).
std::vector<ShellOpenFailure> takeShellOpenFailures();
// The message that tells the player (Windows-1252).
std::string describeShellOpenFailure(const ShellOpenFailure& failure);

// What shellOpen would hand to the opener.
std::string shellOpenTarget(const std::string& path);

// Replaces the program that shellOpen starts (tests install a recorder so
// that nothing is launched); an empty function restores xdg-open.
using ShellLauncher = std::function<bool(const std::string& target)>;
void setShellLauncher(ShellLauncher launcher);
