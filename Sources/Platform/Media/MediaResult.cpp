#include "Platform/Media/MediaResult.h"

#include <cctype>

namespace Platform
{

uint32_t videoOpenErrorCode(PlatformResult result, const std::string& fileName)
{
    if (!resultFailed(result))
        return 0;
    if (result == kMediaFileNotFound)
        return kVideoErrorFileNotFound;
    const size_t dot = fileName.rfind('.');
    if (dot != std::string::npos && fileName.size() - dot == 4)
    {
        std::string extension = fileName.substr(dot + 1);
        for (char& c : extension)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (extension == "wmv")
            return kVideoErrorWmv9Unavailable;
    }
    return kVideoErrorCodecUnavailable;
}

} // namespace Platform
