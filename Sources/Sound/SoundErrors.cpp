#include "Sound/SoundErrors.h"

#include "Framework/ErrorText.h"
#include "Framework/Messages.h"

#include <cstdarg>
#include <mutex>

namespace
{
std::mutex gReporterMutex;
SoundErrorReporter gReporter;
} // namespace

void setSoundErrorReporter(SoundErrorReporter reporter)
{
    std::lock_guard lock(gReporterMutex);
    gReporter = std::move(reporter);
}

ErrorCode reportSoundError(ErrorCode code, Platform::PlatformResult result, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string detail = formatMessage(format, args);
    va_end(args);
    SoundErrorReporter reporter;
    {
        std::lock_guard lock(gReporterMutex);
        reporter = gReporter;
    }
    if (reporter)
    {
        reporter(code, result, detail);
        return code;
    }
    return reportDirectXError(code, static_cast<uint32_t>(result), "%s", detail.c_str());
}

ErrorCode reportSoundErrorAt(ErrorCode code, Platform::PlatformResult result, const char* sourceName,
                             SourceLocation where)
{
    return reportSoundError(code, result, "(line %i in file %s)", static_cast<int>(where.line()), sourceName);
}
