#include "Framework/FileUtilities.h"

#include "Platform/System/Paths.h"

#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace
{
std::mutex gLauncherMutex;
ShellLauncher gLauncher;

bool spawnOpener(const std::string& target)
{
    pid_t pid = 0;
    std::string program = "xdg-open";
    char* argv[] = {program.data(), const_cast<char*>(target.c_str()), nullptr};
    if (::posix_spawnp(&pid, "xdg-open", nullptr, nullptr, argv, environ) != 0)
        return false;
    // Reap the opener when it ends so that no zombie is left behind; the
    // game does not wait for it.
    std::thread(
        [pid]
        {
            int status = 0;
            ::waitpid(pid, &status, 0);
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
    int fd = ::open(Platform::mapPath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st;
    bool isFile = ::fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode);
    ::close(fd);
    return isFile;
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
    return launcher ? launcher(target) : spawnOpener(target);
}

void setShellLauncher(ShellLauncher launcher)
{
    std::lock_guard lock(gLauncherMutex);
    gLauncher = std::move(launcher);
}
