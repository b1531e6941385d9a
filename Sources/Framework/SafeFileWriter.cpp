#include "Framework/SafeFileWriter.h"

#include "Platform/System/Paths.h"

#include <cstdio>
#include <sys/stat.h>

ErrorCode writeFileSafely(const std::string& path, const std::function<ErrorCode(StdioFile& file)>& writer)
{
    std::string finalPath = Platform::mapPathForWriting(path);
    struct stat st;
    bool replace = ::stat(finalPath.c_str(), &st) != 0 || S_ISREG(st.st_mode);
    // The file is opened by the game's own name, which it maps again: a
    // mapped name handed back would have its UTF-8 converted a second time.
    std::string writtenName = replace ? path + ".tmp" : path;
    std::string writtenPath = replace ? Platform::mapPathForWriting(writtenName) : finalPath;

    ErrorCode result = ERROR_OK;
    {
        StdioFile out(writtenName);
        if (ErrorCode error = out.openWrite())
            return error;
        result = writer(out);
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
    return result;
}
