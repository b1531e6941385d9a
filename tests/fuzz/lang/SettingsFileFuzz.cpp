// Loads arbitrary bytes as a settings file: the file's values when it is
// whole and both levels are in range, every default otherwise.
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
    settings.load();
    const auto u32At = [&](size_t offset)
    {
        return static_cast<uint32_t>(data[offset] | data[offset + 1] << 8 | data[offset + 2] << 16) |
               static_cast<uint32_t>(data[offset + 3]) << 24;
    };
    const bool accepted = size >= 14 && u32At(4) <= 255 && u32At(8) <= 255;
    const uint32_t music = accepted ? u32At(4) : 178;
    const uint32_t sound = accepted ? u32At(8) : 178;
    const bool musicOn = accepted ? data[12] != 0 : true;
    const bool soundOn = accepted ? data[13] != 0 : true;
    if (settings.getMusicLevel() != music || settings.getSoundLevel() != sound ||
        settings.isMusicEnabled() != musicOn || settings.isSoundEnabled() != soundOn)
        std::abort();
    return 0;
}
