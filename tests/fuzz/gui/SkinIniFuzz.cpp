// skins.ini and skin.ini from untrusted bytes: texture file names and
// "Color(r,g,b,a)" colours; every colour read writes back as it reads.
#include "Framework/BinaryStream.h"
#include "Framework/ConfigFile.h"
#include "Gui/Skin.h"
#include "Platform/System/MessageSink.h"

#include <cstdint>
#include <string>

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

    std::string files[2] = {"fileDir.png", "containerLiftSelection.png"};
    uint32_t colors[3] = {0xFF000000, 0x80FFFFFF, 0};
    ConfigFile config("skin.ini");
    config.addString("SKIN_TEX_FILE_DIR", files[0]);
    config.addString("SKIN_TEX_CONTAINERLIFT_SELECTION", files[1]);
    config.addBinding(std::make_unique<ColorBinding>("SKIN_COLOR_BUTTON_TEXT_RELEASED", colors[0]));
    config.addBinding(std::make_unique<ColorBinding>("SKIN_COLOR_BUTTON_TEXT_SHADOW", colors[1]));
    config.addBinding(std::make_unique<ColorBinding>("SKIN_COLOR_TEXT", colors[2]));
    MemoryInputStream stream(data, static_cast<uint32_t>(size));
    if (config.loadFrom(stream) != ERROR_OK)
        __builtin_trap(); // bad lines never make the load fail

    for (uint32_t color : colors)
    {
        uint32_t again = ~color;
        if (!ColorBinding::parseColor(ColorBinding::formatColor(color), again) || again != color)
            __builtin_trap();
    }
    // The whole input as one colour text: a text that reads gives a colour
    // that writes back and reads the same.
    uint32_t color = 0;
    if (ColorBinding::parseColor(std::string(reinterpret_cast<const char*>(data), size), color))
    {
        uint32_t again = 0;
        if (!ColorBinding::parseColor(ColorBinding::formatColor(color), again) || again != color)
            __builtin_trap();
    }
    std::string line;
    for (const auto& binding : config.bindings())
        binding->write(line);
    return 0;
}
