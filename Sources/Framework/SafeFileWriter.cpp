#include "Framework/SafeFileWriter.h"

#include "Platform/System/Paths.h"

#include <cstdio>
#include <sys/stat.h>

ErrorCode writeFileSafely(const std::string& path, const std::function<ErrorCode(StdioFile& file)>& writer)
{
    std::string finalPath = Platform::mapPath(path);
    struct stat st;
    bool replace = ::stat(finalPath.c_str(), &st) != 0 || S_ISREG(st.st_mode);
    std::string writtenPath = replace ? finalPath + ".tmp" : finalPath;

    ErrorCode result = ERROR_OK;
    {
        StdioFile out(writtenPath);
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
