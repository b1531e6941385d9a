// .fnt glyph tables from untrusted bytes: a table that reads writes back to
// the same records and reads again the same, and packs into an atlas that
// holds every glyph's bytes inside its own sides.
#include "Framework/BinaryStream.h"
#include "Gui/Font.h"
#include "Gui/GlyphAtlas.h"

#include <cstdint>
#include <string>

namespace
{
class StringOutput final : public OutputStream
{
public:
    ErrorCode transferString(std::string&) override { return 1; }
    ErrorCode transfer(void* address, uint32_t count) override
    {
        bytes.append(static_cast<const char*>(address), count);
        return 0;
    }
    ErrorCode seek(uint32_t) override { return 1; }
    uint32_t tell() override { return static_cast<uint32_t>(bytes.size()); }
    bool isAtEnd() override { return true; }
    std::string bytes;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 0xFFFFFFFFu)
        return 0;
    MemoryInputStream stream(data, static_cast<uint32_t>(size));
    GlyphTable table;
    if (table.read(stream) != 0)
    {
        if (table.glyphCount != 0)
            __builtin_trap(); // a refused file leaves nothing half read
        return 0;
    }
    uint32_t present = 0;
    for (uint32_t code = 0; code < GlyphTable::kTableSize; ++code)
    {
        const GlyphTable::Glyph& glyph = table.getGlyph(static_cast<uint8_t>(code));
        if (glyph.pixels.size() != size_t(glyph.width) * table.height)
        {
            if (!glyph.pixels.empty())
                __builtin_trap();
        }
        present += glyph.pixels.empty() ? 0 : 1;
    }
    if (present != table.glyphCount)
        __builtin_trap();

    StringOutput output;
    if (table.write(output) != 0)
        __builtin_trap();
    MemoryInputStream again(output.bytes.data(), static_cast<uint32_t>(output.bytes.size()));
    GlyphTable copy;
    if (copy.read(again) != 0 || copy.glyphCount != table.glyphCount || copy.height != table.height)
        __builtin_trap();
    for (uint32_t code = 0; code < GlyphTable::kTableSize; ++code)
    {
        if (copy.getGlyph(static_cast<uint8_t>(code)).pixels !=
            table.getGlyph(static_cast<uint8_t>(code)).pixels)
            __builtin_trap();
    }

    GlyphAtlas atlas;
    if (!atlas.pack(table, 2048))
        return 0;
    for (uint32_t code = 0; code < GlyphTable::kTableSize; ++code)
    {
        const GlyphTable::Glyph& glyph = table.getGlyph(static_cast<uint8_t>(code));
        const ResourceRect& rect = atlas.getRect(static_cast<uint8_t>(code));
        if (glyph.pixels.empty())
            continue;
        if (rect.width != glyph.width || rect.height != table.height || rect.x < 1 || rect.y < 1 ||
            uint64_t{rect.x} + rect.width + 1 > atlas.getWidth() ||
            uint64_t{rect.y} + rect.height + 1 > atlas.getHeight())
            __builtin_trap();
        for (uint32_t y = 0; y < rect.height; ++y)
            for (uint32_t x = 0; x < rect.width; ++x)
                if (atlas.getPixels()[size_t(rect.y + y) * atlas.getWidth() + rect.x + x] !=
                    glyph.pixels[size_t(y) * rect.width + x])
                    __builtin_trap();
    }
    return 0;
}
