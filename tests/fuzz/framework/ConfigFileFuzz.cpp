// Configuration files from untrusted bytes: every line form, every binding
// kind, then a save of what was read.
#include "Framework/BinaryStream.h"
#include "Framework/ConfigFile.h"
#include "Framework/Utilities.h"
#include "Platform/System/MessageSink.h"

#include <cstdint>

namespace
{
// Bad lines raise message boxes; keep them out of the output.
class QuietSink final : public Platform::MessageSink
{
public:
    void show(const std::string&, const std::string&, Platform::MessageKind) override {}
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool quiet = (Platform::setMessageSink(std::make_shared<QuietSink>()), true);
    (void)quiet;
    if (size > 0xFFFFFFFFu)
        return 0;

    std::string text, key;
    bool flag = false;
    int32_t number = 0, player = 0, difficulty = 0;
    ConfigFile config("fuzz.ini");
    config.addString("Texte", text);
    config.addString("", key);
    config.addBool("Drapeau", flag);
    config.addInt("Nombre", number);
    config.addPlayerType("Joueur", player);
    config.addDifficulty("Niveau", difficulty);
    MemoryInputStream stream(data, static_cast<uint32_t>(size));
    if (config.loadFrom(stream) != ERROR_OK)
        __builtin_trap(); // bad lines never make the load fail

    // What was read writes back and reads again the same.
    std::string escaped = escapeString(text);
    if (unescapeString(escaped) != text)
        __builtin_trap();
    std::string line;
    for (const auto& binding : config.bindings())
        binding->write(line);
    return 0;
}
