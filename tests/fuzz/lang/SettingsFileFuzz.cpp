// Loads arbitrary bytes as a settings file: a load either succeeds with
// levels in range or leaves the defaults untouched.
#include "Framework/SettingsFile.h"
#include "Platform/System/Paths.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Platform::TemporaryDirectory directory;
    Platform::setProgramDirectory(directory.path());
    std::ofstream(directory.path() + "settings.dat", std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    SettingsFile settings("settings.dat", 0);
    ErrorCode result = settings.load();
    if (result == ERROR_OK && (settings.getMusicLevel() > 255 || settings.getSoundLevel() > 255))
        std::abort();
    if (result != ERROR_OK && (settings.getMusicLevel() != 178 || settings.getSoundLevel() != 178 ||
                               !settings.isMusicEnabled() || !settings.isSoundEnabled()))
        std::abort();
    return 0;
}
