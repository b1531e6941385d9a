#include "Framework/SafeFileWriter.h"

#include "Platform/System/Paths.h"

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
// The rename itself lives in the folder's entry: without this a power cut
// may bring back the old file after the new one was reported saved. Cheap,
// and a folder that cannot be synced loses nothing the rename had not.
void syncFolderOf(const std::string& path)
{
    const std::string folder = std::filesystem::path(path).parent_path().string();
    int descriptor = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return;
    ::fsync(descriptor);
    ::close(descriptor);
}
} // namespace

ErrorCode writeFileSafely(const std::string& path, const std::function<ErrorCode(StdioFile& file)>& writer)
{
    std::string finalPath = Platform::mapPathForWriting(path);
    struct stat st;
    const bool present = ::lstat(finalPath.c_str(), &st) == 0;
    // A link could point anywhere: the program never writes through one, nor
    // replaces it.
    if (present && S_ISLNK(st.st_mode))
        return ERROR_FILEIO_INVALIDFILE;
    // A pipe would hold the program until something reads it.
    if (present && !S_ISREG(st.st_mode) && !S_ISCHR(st.st_mode))
        return ERROR_FILEIO_INVALIDFILE;
    bool replace = !present || S_ISREG(st.st_mode);
    // The file is opened by the game's own name, which it maps again: a
    // mapped name handed back would have its UTF-8 converted a second time.
    std::string writtenName = replace ? path + ".tmp" : path;
    std::string writtenPath = replace ? Platform::mapPathForWriting(writtenName) : finalPath;

    ErrorCode result = ERROR_OK;
    {
        StdioFile out(writtenName);
        if (replace)
        {
            // What an interrupted save left there, or whatever was put in
            // its place, goes; the new file is then created, never opened.
            ::unlink(writtenPath.c_str());
            if (ErrorCode error = out.openWriteNew())
                return error;
        }
        else if (ErrorCode error = out.openWrite())
            return error;
        result = writer(out);
        // The bytes reach the disk before the name does, so that a power cut
        // leaves the old file or the new one, never an empty one.
        if (result == ERROR_OK && replace)
            result = out.sync();
        ErrorCode closeError = out.close();
        if (result == ERROR_OK)
            result = closeError;
    }
    if (!replace)
        return result;
    if (result == ERROR_OK && std::rename(writtenPath.c_str(), finalPath.c_str()) != 0)
        result = ERROR_FILEIO_WRITEERROR;
    if (result != ERROR_OK)
        std::remove(writtenPath.c_str());
    else
        syncFolderOf(finalPath);
    return result;
}
