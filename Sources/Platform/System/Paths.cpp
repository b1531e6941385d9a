#include "Platform/System/Paths.h"

#include "Platform/System/Text1252.h"

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <memory>
#include <mutex>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Platform
{
namespace
{
// Where the game's folders are on this run. Replaced as a whole (tests move
// the program folder), never changed in place, so a reader keeps a
// consistent copy while another thread maps a path.
struct Layout
{
    std::string program;     // Linux form, trailing '/'
    std::string programName; // as the program spells it
    std::string data;        // the build's data, trailing '/'
    std::string user;        // the program's own files, trailing '/'
};

std::mutex gLayoutMutex;
std::shared_ptr<const Layout> gLayout;
std::string gProgramName;

bool exists(const std::string& path)
{
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

bool isDirectory(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string withSlash(std::string path)
{
    if (path.empty() || path.back() != '/')
        path += '/';
    return path;
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

bool isUtf8(std::string_view text)
{
    size_t i = 0;
    while (i < text.size())
    {
        unsigned char lead = static_cast<unsigned char>(text[i]);
        size_t extra = 0;
        if (lead >= 0xC2 && lead <= 0xDF)
            extra = 1;
        else if ((lead & 0xF0) == 0xE0)
            extra = 2;
        else if (lead >= 0xF0 && lead <= 0xF4)
            extra = 3;
        else if (lead >= 0x80)
            return false;
        if (i + extra >= text.size())
            return false;
        for (size_t k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        i += extra + 1;
    }
    return true;
}

// A name on the disk as the program spells it.
std::string toProgramName(std::string_view diskName)
{
    return isUtf8(diskName) ? utf8ToCp1252(diskName) : std::string(diskName);
}

std::string readProgramDirectory()
{
    std::error_code error;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return "./";
    return withSlash(exe.parent_path().string());
}

std::string homeDataDirectory()
{
    const char* xdg = std::getenv("XDG_DATA_HOME");
    // XDG ignores a relative value of the variable.
    if (xdg != nullptr && xdg[0] == '/')
        return withSlash(xdg);
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0')
    {
        const passwd* entry = ::getpwuid(::getuid());
        home = entry != nullptr ? entry->pw_dir : "/tmp";
    }
    return withSlash(home) + ".local/share/";
}

std::shared_ptr<const Layout> makeLayout(const std::string& program)
{
    auto layout = std::make_shared<Layout>();
    layout->program = withSlash(program);
    layout->programName = toProgramName(layout->program);
    // A build folder holds data/ beside the program; an installed program
    // finds its data in the prefix's share folder.
    std::string installed =
        withSlash(std::filesystem::path(layout->program + "../share/velmorique").lexically_normal().string());
    bool isInstalled = !isDirectory(layout->program + "data") && isDirectory(installed);
    layout->data = isInstalled ? installed : layout->program + "data/";
    const char* userDir = std::getenv("VELMORIQUE_USER_DIR");
    if (userDir != nullptr && userDir[0] != '\0')
    {
        std::error_code error;
        layout->user = withSlash(std::filesystem::absolute(userDir, error).lexically_normal().string());
    }
    else if (isInstalled)
        layout->user = homeDataDirectory() + "velmorique/";
    else
        layout->user = layout->data;
    return layout;
}

std::shared_ptr<const Layout> currentLayout()
{
    std::lock_guard lock(gLayoutMutex);
    if (!gLayout)
    {
        gLayout = makeLayout(readProgramDirectory());
        gProgramName = gLayout->programName;
    }
    return gLayout;
}

// base (a Linux folder with its trailing '/', or "/") followed by the
// program's relative path, each component converted to the disk's spelling;
// a component that does not exist as spelled is looked for ignoring case.
// Once nothing matches the rest is kept as given (a file about to be
// created, or a missing file).
std::string resolve(const std::string& base, std::string_view relative)
{
    std::string full = base + cp1252ToUtf8(relative);
    if (exists(full))
        return full;
    std::string resolved = base;
    bool matching = true;
    size_t pos = 0;
    while (pos < relative.size())
    {
        size_t next = std::min(relative.find('/', pos), relative.size());
        std::string_view component = relative.substr(pos, next - pos);
        pos = next + 1;
        if (component.empty())
            continue;
        std::string candidate = resolved + cp1252ToUtf8(component);
        if (matching && !exists(candidate))
        {
            matching = false;
            for (const DirectoryEntry& entry : listDirectory(resolved.empty() ? "." : resolved))
            {
                if (equalsIgnoreCase(entry.name, component))
                {
                    candidate = resolved + entry.diskName;
                    matching = true;
                    break;
                }
            }
        }
        resolved = candidate;
        if (next < relative.size())
            resolved += '/';
    }
    return resolved;
}

// The part of a relative path below its leading "data" component, when it
// has one.
bool splitDataPath(std::string_view relative, std::string_view& below)
{
    size_t slash = relative.find('/');
    std::string_view first = relative.substr(0, slash);
    if (!equalsIgnoreCase(first, "data"))
        return false;
    below = slash == std::string_view::npos ? std::string_view() : relative.substr(slash + 1);
    return true;
}

// Before a write into the user's folder: the folder itself, and the folders
// leading to the file where the data folder has them too, or has the archive
// that stands for them (Ressources.dat for Ressources\): the user's folder
// mirrors the data, so data\Ressources\lang.ini can be written at once. A
// path ending with a separator names a folder to make. Any other missing
// folder stays missing, and the write fails as it would anywhere.
void makeUserFolders(const Layout& layout, const std::string& mapped)
{
    // A build folder's data is the user's folder: it is there or the build
    // is broken, and nothing is made for a file.
    const bool folder = mapped.ends_with('/');
    if (layout.user == layout.data && !folder)
        return;
    std::error_code error;
    std::filesystem::create_directories(layout.user, error);
    std::filesystem::path inside = mapped.substr(layout.user.size());
    if (!folder)
    {
        inside = inside.parent_path();
        std::string top = inside.empty() ? std::string() : inside.begin()->string();
        if (!isDirectory(layout.data + inside.string()) && !exists(layout.data + top + ".dat"))
            return;
    }
    std::filesystem::create_directories(layout.user + inside.string(), error);
}

enum class Mapping
{
    Read,
    Write,
    // Where a write goes, with nothing made on the disk.
    WriteTarget
};

std::string mapGamePath(std::string_view path, Mapping mapping)
{
    const bool writing = mapping != Mapping::Read;
    std::shared_ptr<const Layout> layout = currentLayout();
    std::string slashed = toSlashPath(path);
    std::string_view relative = slashed;
    std::string mapped;
    std::string_view below;
    if (isAbsolutePath(path) && !slashed.starts_with(layout->programName))
    {
        relative.remove_prefix(std::min(slashed.find_first_not_of('/'), slashed.size()));
        mapped = resolve("/", relative);
    }
    else
    {
        // The program's folder followed by data\ names the same files as
        // data\ alone (the game builds such paths from its own folder).
        if (isAbsolutePath(path))
            relative.remove_prefix(layout->programName.size());
        if (layout->user != layout->data && splitDataPath(relative, below))
        {
            mapped = resolve(layout->user, below);
            if (!writing && !exists(mapped))
            {
                std::string installed = resolve(layout->data, below);
                if (exists(installed))
                    return installed;
            }
        }
        else
            mapped = resolve(layout->program, relative);
    }

    if (mapping == Mapping::Write && mapped.starts_with(layout->user))
        makeUserFolders(*layout, mapped);
    return mapped;
}
} // namespace

const std::string& programDirectory()
{
    currentLayout();
    std::lock_guard lock(gLayoutMutex);
    return gProgramName;
}

void setProgramDirectory(const std::string& directory)
{
    std::shared_ptr<const Layout> layout = makeLayout(cp1252ToUtf8(directory));
    std::lock_guard lock(gLayoutMutex);
    gLayout = layout;
    gProgramName = layout->programName;
}

std::string dataDirectory()
{
    return currentLayout()->data;
}

std::string userDataDirectory()
{
    return currentLayout()->user;
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
    return mapGamePath(path, Mapping::Read);
}

std::string mapPathForWriting(std::string_view path)
{
    return mapGamePath(path, Mapping::Write);
}

std::string writtenPath(std::string_view path)
{
    return mapGamePath(path, Mapping::WriteTarget);
}

std::string toProgramPath(std::string_view linuxPath)
{
    std::string out;
    size_t pos = 0;
    while (pos <= linuxPath.size())
    {
        size_t next = std::min(linuxPath.find('/', pos), linuxPath.size());
        out += toProgramName(linuxPath.substr(pos, next - pos));
        if (next < linuxPath.size())
            out += '/';
        pos = next + 1;
    }
    return out;
}

bool isInsideWritableDataFolder(std::string_view path)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path root = fs::weakly_canonical(fs::path(userDataDirectory()), error);
    if (error)
        return false;
    // The folder the file goes into, with its links followed: the file's own
    // name is checked by the writer, which never writes through a link.
    const fs::path target = fs::path(mapPathForWriting(path));
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
        std::string diskName = entry->d_name;
        if (diskName == "." || diskName == "..")
            continue;
        struct stat st;
        const bool found = ::stat((withSlash(linuxDirectory) + diskName).c_str(), &st) == 0;
        const bool isDir = found && S_ISDIR(st.st_mode);
        const bool isFile = found && S_ISREG(st.st_mode);
        entries.push_back({toProgramName(diskName), isDir, isFile, std::move(diskName)});
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
