#include "Sound/ProgramSounds.h"

#include <cctype>
#include <map>
#include <mutex>
#include <utility>

namespace
{
using Key = std::pair<std::string, std::string>;

std::string upper(const std::string& text)
{
    std::string result = text;
    for (char& c : result)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return result;
}

// Readers open sounds on the notification thread's side as well as the main
// thread's: the table is read under a lock.
std::mutex gMutex;

std::map<Key, std::span<const uint8_t>>& table()
{
    static std::map<Key, std::span<const uint8_t>> sounds;
    return sounds;
}
} // namespace

void registerProgramSound(const std::string& name, const std::string& kind, std::span<const uint8_t> bytes)
{
    std::lock_guard lock(gMutex);
    table()[{upper(name), upper(kind)}] = bytes;
}

std::span<const uint8_t> findProgramSound(const std::string& name, const std::string& kind)
{
    std::lock_guard lock(gMutex);
    auto found = table().find({upper(name), upper(kind)});
    return found != table().end() ? found->second : std::span<const uint8_t>();
}

void clearProgramSounds()
{
    std::lock_guard lock(gMutex);
    table().clear();
}
