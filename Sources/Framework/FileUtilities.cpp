#include "Framework/FileUtilities.h"

#include "Framework/Text1252Literal.h"
#include "Platform/System/Paths.h"

#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <spawn.h>
#include <strings.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>

extern char** environ;

namespace
{
std::mutex gLauncherMutex;
ShellLauncher gLauncher;
std::mutex gFailureMutex;
std::vector<ShellOpenFailure> gFailures;

void keepFailure(const std::string& what, int exitCode)
{
    std::lock_guard lock(gFailureMutex);
    gFailures.push_back(ShellOpenFailure{what, exitCode});
}

bool spawnOpener(const std::string& target, const std::string& what)
{
    pid_t pid = 0;
    std::string program = "xdg-open";
    char* argv[] = {program.data(), const_cast<char*>(target.c_str()), nullptr};
    if (::posix_spawnp(&pid, "xdg-open", nullptr, nullptr, argv, environ) != 0)
        return false;
    // Reap the opener when it ends so that no zombie is left behind; the
    // game does not wait for it, but hears of an opener that failed.
    std::thread(
        [pid, what]
        {
            int status = 0;
            if (::waitpid(pid, &status, 0) != pid)
                return;
            if (WIFEXITED(status) && WEXITSTATUS(status) != 0)
                keepFailure(what, WEXITSTATUS(status));
            else if (WIFSIGNALED(status))
                keepFailure(what, 128 + WTERMSIG(status));
        })
        .detach();
    return true;
}

bool hasScheme(const std::string& text)
{
    size_t colon = text.find(':');
    // "C:\..." is a drive letter, not a scheme.
    if (colon == std::string::npos || colon < 2)
        return false;
    for (size_t i = 0; i < colon; ++i)
    {
        char c = text[i];
        bool ok =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (i > 0 && (c == '+' || c == '-' || c == '.'));
        if (!ok)
            return false;
    }
    return true;
}
} // namespace

void getFileDirectory(const std::string& path, std::string& directory)
{
    size_t last = path.find_last_of("\\/");
    if (last != std::string::npos)
        directory = path.substr(0, last + 1);
    else if (path.size() >= 2 && path[1] == ':')
        directory = path.substr(0, 2);
    else
        directory.clear();
}

std::string getFileExtension(const std::string& path)
{
    size_t dot = path.rfind('.');
    return dot == std::string::npos ? std::string() : path.substr(dot);
}

const char* findExtension(const char* text)
{
    const char* dot = std::strrchr(text, '.');
    return dot != nullptr ? dot : text + std::strlen(text);
}

bool pathExists(const std::string& path, bool& isDirectory)
{
    isDirectory = false;
    struct stat st;
    if (::stat(Platform::mapPath(path).c_str(), &st) != 0)
        return false;
    isDirectory = S_ISDIR(st.st_mode);
    return true;
}

bool diskFileExists(const std::string& path)
{
    // Without O_NONBLOCK a pipe at the name would hold the program here;
    // a pipe or a device is no data file anyway.
    int fd = ::open(Platform::mapPath(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat st;
    bool isFile = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    ::close(fd);
    return isFile;
}

bool createDataFolder(const std::string& folder)
{
    std::error_code error;
    const std::filesystem::path path = Platform::mapPathForWriting(folder);
    std::filesystem::create_directories(path, error);
    return std::filesystem::is_directory(path, error);
}

int removeStaleTemporaryFiles(const std::string& folder)
{
    // Interrupted writes are left where the program writes.
    const std::string linuxFolder = Platform::mapPathForWriting(folder);
    int removed = 0;
    for (const Platform::DirectoryEntry& entry : Platform::listDirectory(linuxFolder))
    {
        // Only what the safe writer makes: a written file's name, ".tmp".
        const std::string& name = entry.diskName;
        if (!name.ends_with(".tmp"))
            continue;
        const std::string written = name.substr(0, name.size() - 4);
        const std::string extension = getFileExtension(written);
        if (strcasecmp(extension.c_str(), ".ini") != 0 && strcasecmp(extension.c_str(), ".dat") != 0 &&
            strcasecmp(extension.c_str(), ".tnv") != 0)
            continue;
        const std::string path = (std::filesystem::path(linuxFolder) / name).string();
        struct stat st;
        if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::unlink(path.c_str()) == 0)
            ++removed;
    }
    return removed;
}

std::string shellOpenTarget(const std::string& path)
{
    return hasScheme(path) ? path : Platform::mapPath(path);
}

bool shellOpen(const std::string& path)
{
    std::string target = shellOpenTarget(path);
    ShellLauncher launcher;
    {
        std::lock_guard lock(gLauncherMutex);
        launcher = gLauncher;
    }
    const bool started = launcher ? launcher(target) : spawnOpener(target, path);
    if (!started)
        keepFailure(path, -1);
    return started;
}

std::vector<ShellOpenFailure> takeShellOpenFailures()
{
    std::lock_guard lock(gFailureMutex);
    return std::exchange(gFailures, {});
}

std::string describeShellOpenFailure(const ShellOpenFailure& failure)
{
    std::string text = std::string(TEXT_1252("Impossible d'ouvrir « ")) + failure.what + TEXT_1252(" » : ");
    if (failure.exitCode < 0)
        return text + TEXT_1252("le programme qui ouvre les liens et les documents (xdg-open, du paquet "
                                "xdg-utils) n'est pas installé.");
    return text + TEXT_1252("xdg-open a échoué (code ") + std::to_string(failure.exitCode) + ").";
}

void setShellLauncher(ShellLauncher launcher)
{
    std::lock_guard lock(gLauncherMutex);
    gLauncher = std::move(launcher);
}
