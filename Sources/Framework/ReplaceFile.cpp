#include "Framework/ReplaceFile.h"

#include "Platform/System/Paths.h"

#include <cstdio>

ErrorCode writeFileReplacing(const std::string& path, uint32_t flags,
                             const std::function<ErrorCode(DiskOutputFile&)>& write)
{
    std::string temporary = path + ".tmp";
    ErrorCode result;
    {
        DiskOutputFile file(temporary, flags);
        result = file.open();
        if (result != ERROR_OK)
            return result;
        result = write(file);
        ErrorCode closed = file.close();
        if (result == ERROR_OK)
            result = closed;
    }
    std::string temporaryPath = Platform::mapPath(temporary);
    if (result == ERROR_OK && std::rename(temporaryPath.c_str(), Platform::mapPath(path).c_str()) != 0)
        result = ERROR_FILEIO_WRITEERROR;
    if (result != ERROR_OK)
        std::remove(temporaryPath.c_str());
    return result;
}
