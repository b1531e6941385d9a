#include "Platform/System/Paths.h"

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace Platform
{
namespace
{
std::mutex gDirectoryMutex;
std::string gProgramDirectory;

std::string readProgramDirectory()
{
    std::error_code error;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return "./";
    std::string dir = exe.parent_path().string();
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    return dir;
}

bool exists(const std::string& path)
{
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
    {
        unsigned char ca = static_cast<unsigned char>(a[i]);
        unsigned char cb = static_cast<unsigned char>(b[i]);
        if (ca >= 'A' && ca <= 'Z')
            ca = static_cast<unsigned char>(ca - 'A' + 'a');
        if (cb >= 'A' && cb <= 'Z')
            cb = static_cast<unsigned char>(cb - 'A' + 'a');
        if (ca != cb)
            return false;
    }
    return true;
}
} // namespace

const std::string& programDirectory()
{
    std::lock_guard lock(gDirectoryMutex);
    if (gProgramDirectory.empty())
        gProgramDirectory = readProgramDirectory();
    return gProgramDirectory;
}

void setProgramDirectory(const std::string& directory)
{
    std::lock_guard lock(gDirectoryMutex);
    gProgramDirectory = directory;
    if (gProgramDirectory.empty() || gProgramDirectory.back() != '/')
        gProgramDirectory += '/';
}

bool isAbsolutePath(std::string_view path)
{
    return (!path.empty() && (path[0] == '/' || path[0] == '\\')) || (path.size() >= 2 && path[1] == ':');
}

std::string toSlashPath(std::string_view path)
{
    if (path.size() >= 2 && path[1] == ':')
        path.remove_prefix(2);
    std::string out(path);
    std::replace(out.begin(), out.end(), '\\', '/');
    return out;
}

std::string mapPath(std::string_view path)
{
    std::string slashed = toSlashPath(path);
    std::string full = isAbsolutePath(path) ? slashed : programDirectory() + slashed;
    if (full.empty() || exists(full))
        return full;

    // Walk the components, replacing each missing one by an entry of its
    // folder that differs only in case; once nothing matches, keep the rest
    // as given (a file about to be created, or a missing file).
    std::string resolved = full[0] == '/' ? "/" : "";
    size_t pos = full[0] == '/' ? 1 : 0;
    bool matching = true;
    while (pos <= full.size())
    {
        size_t next = full.find('/', pos);
        if (next == std::string::npos)
            next = full.size();
        std::string component = full.substr(pos, next - pos);
        pos = next + 1;
        if (component.empty())
            continue;
        std::string candidate = resolved + component;
        if (matching && !exists(candidate))
        {
            bool found = false;
            std::string folder = resolved.empty() ? "." : resolved;
            for (const DirectoryEntry& entry : listDirectory(folder))
            {
                if (equalsIgnoreCase(entry.name, component))
                {
                    candidate = resolved + entry.name;
                    found = true;
                    break;
                }
            }
            matching = found;
        }
        resolved = candidate;
        if (next < full.size())
            resolved += '/';
    }
    return resolved;
}

bool isInsideWritableDataFolder(std::string_view path)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path root = fs::weakly_canonical(fs::path(programDirectory()) / "data", error);
    if (error)
        return false;
    // The folder the file goes into, with its links followed: the file's own
    // name is checked by the writer, which never writes through a link.
    const fs::path target = fs::path(mapPath(path));
    const fs::path folder = fs::weakly_canonical(target.parent_path(), error);
    if (error || target.filename().empty() || target.filename() == "." || target.filename() == "..")
        return false;
    auto rootPart = root.begin();
    auto folderPart = folder.begin();
    for (; rootPart != root.end(); ++rootPart, ++folderPart)
    {
        if (folderPart == folder.end() || *folderPart != *rootPart)
            return false;
    }
    return true;
}

std::vector<DirectoryEntry> listDirectory(const std::string& linuxDirectory)
{
    std::vector<DirectoryEntry> entries;
    DIR* dir = ::opendir(linuxDirectory.c_str());
    if (dir == nullptr)
        return entries;
    while (dirent* entry = ::readdir(dir))
    {
        std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        std::string full = linuxDirectory;
        if (!full.empty() && full.back() != '/')
            full += '/';
        full += name;
        struct stat st;
        bool isDir = ::stat(full.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        entries.push_back({std::move(name), isDir});
    }
    ::closedir(dir);
    std::sort(entries.begin(), entries.end(),
              [](const DirectoryEntry& a, const DirectoryEntry& b) { return a.name < b.name; });
    return entries;
}

TemporaryDirectory::TemporaryDirectory()
{
    std::string base = std::filesystem::temp_directory_path().string() + "/velmorique-XXXXXX";
    std::vector<char> buffer(base.begin(), base.end());
    buffer.push_back('\0');
    const char* made = ::mkdtemp(buffer.data());
    mPath = made != nullptr ? std::string(made) + "/" : std::string("./");
}

TemporaryDirectory::~TemporaryDirectory()
{
    std::error_code error;
    if (mPath != "./")
        std::filesystem::remove_all(mPath, error);
}

} // namespace Platform
