#include "Sound/SoundErrors.h"

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

ErrorCode reportSoundError(ErrorCode code, Platform::AudioResult result, const char* format, ...)
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
    const char* name = Platform::audioResultName(result);
    if (name != nullptr)
        showMessage("%s%s", name, detail.c_str());
    else
        showMessage("0x%08X%s", static_cast<unsigned>(result), detail.c_str());
    return code;
}
