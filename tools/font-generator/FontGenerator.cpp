// Makes the game's bitmap fonts (.fnt) from installed outline fonts:
//   font-generator <folder> (<file name> <font file> <pixel height>)...
// Every font holds a glyph for each printable Windows-1252 code, so any
// French text of the game (accents, the typographic apostrophe 0x92, œ, « »)
// finds its glyph, and glyph 0, the default glyph, is a hollow box.
//
// .fnt layout (u32 little-endian): 256, line spacing, letter spacing, glyph
// count N, glyph height H, then N records {code, width W, W x H coverage
// bytes}.
#include "Platform/System/Text1252.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ft2build.h>
#include <string>
#include <vector>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

namespace
{

struct Glyph
{
    uint32_t code = 0;
    uint32_t width = 0;
    std::vector<uint8_t> pixels; // width x height
};

void putU32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// The outline is scaled so that the tallest character of the set (accented
// capitals) to the deepest descender fills exactly the nominal height: a
// "32" font then fits the 32-pixel rows of the dialogs and no accent is cut.
bool makeFont(FT_Library library, const std::string& fontPath, int height, const std::string& outPath)
{
    FT_Face face = nullptr;
    if (FT_New_Face(library, fontPath.c_str(), 0, &face) != 0)
    {
        std::fprintf(stderr, "font-generator: cannot load %s\n", fontPath.c_str());
        return false;
    }
    long top = 0, bottom = 0;
    for (int code = 32; code < 256; ++code)
    {
        char32_t cp = Platform::cp1252ToCodePoint(static_cast<unsigned char>(code));
        FT_UInt index = cp ? FT_Get_Char_Index(face, cp) : 0;
        if (index == 0 || FT_Load_Glyph(face, index, FT_LOAD_NO_SCALE) != 0)
            continue;
        FT_BBox box;
        FT_Outline_Get_CBox(&face->glyph->outline, &box);
        top = std::max(top, box.yMax);
        bottom = std::min(bottom, box.yMin);
    }
    if (top <= bottom)
    {
        std::fprintf(stderr, "font-generator: %s has no outlines\n", fontPath.c_str());
        FT_Done_Face(face);
        return false;
    }
    // Air above the accents (two pixels) and below the descenders (one):
    // hinting may move an edge by a pixel.
    float emPixels = (height - 3) * face->units_per_EM / static_cast<float>(top - bottom);
    FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(emPixels * 64.0f), 72, 72);
    int baseline = 2 + static_cast<int>(std::lround(top * emPixels / face->units_per_EM));

    std::vector<Glyph> glyphs;
    // Glyph 0: a hollow box half as wide as the height, standing on the baseline.
    {
        Glyph box;
        box.width = static_cast<uint32_t>(height / 2);
        box.pixels.assign(box.width * height, 0);
        int top = baseline - static_cast<int>(height * 0.6f), bottom = baseline - 1;
        for (int y = top; y <= bottom; ++y)
            for (int x = 1; x < static_cast<int>(box.width) - 1; ++x)
                if (y == top || y == bottom || x == 1 || x == static_cast<int>(box.width) - 2)
                    box.pixels[y * box.width + x] = 200;
        glyphs.push_back(std::move(box));
    }
    for (int code = 32; code < 256; ++code)
    {
        char32_t cp = Platform::cp1252ToCodePoint(static_cast<unsigned char>(code));
        if (cp == 0 || code == 127)
            continue;
        FT_UInt index = FT_Get_Char_Index(face, cp == 0xA0 ? U' ' : cp);
        if (index == 0 && cp != U' ')
        {
            std::fprintf(stderr, "font-generator: %s has no glyph for U+%04X\n", fontPath.c_str(),
                         static_cast<unsigned>(cp));
            continue;
        }
        if (FT_Load_Glyph(face, index, FT_LOAD_TARGET_LIGHT | FT_LOAD_RENDER) != 0)
            continue;
        FT_GlyphSlot slot = face->glyph;
        Glyph glyph;
        glyph.code = static_cast<uint32_t>(code);
        glyph.width = static_cast<uint32_t>(std::max<long>(1, std::lround(slot->advance.x / 64.0)));
        glyph.pixels.assign(glyph.width * height, 0);
        const FT_Bitmap& bitmap = slot->bitmap;
        for (unsigned row = 0; row < bitmap.rows; ++row)
            for (unsigned col = 0; col < bitmap.width; ++col)
            {
                int x = slot->bitmap_left + static_cast<int>(col);
                int y = baseline - slot->bitmap_top + static_cast<int>(row);
                if (x < 0 || y < 0 || x >= static_cast<int>(glyph.width) || y >= height)
                    continue;
                uint8_t& p = glyph.pixels[y * glyph.width + x];
                p = std::max(p, bitmap.buffer[row * bitmap.pitch + col]);
            }
        glyphs.push_back(std::move(glyph));
    }
    FT_Done_Face(face);

    std::vector<uint8_t> out;
    putU32(out, 256);
    putU32(out, 0); // line spacing: the height already holds the line gap
    putU32(out, 0); // letter spacing: the advances are the font's own
    putU32(out, static_cast<uint32_t>(glyphs.size()));
    putU32(out, static_cast<uint32_t>(height));
    for (const Glyph& g : glyphs)
    {
        putU32(out, g.code);
        putU32(out, g.width);
        out.insert(out.end(), g.pixels.begin(), g.pixels.end());
    }
    std::string temporary = outPath + ".part";
    FILE* file = std::fopen(temporary.c_str(), "wb");
    bool ok = file && std::fwrite(out.data(), 1, out.size(), file) == out.size();
    if (file && std::fclose(file) != 0)
        ok = false;
    if (ok && std::rename(temporary.c_str(), outPath.c_str()) != 0)
        ok = false;
    if (!ok)
    {
        std::remove(temporary.c_str());
        std::fprintf(stderr, "font-generator: cannot write %s\n", outPath.c_str());
    }
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 5 || (argc - 2) % 3 != 0)
    {
        std::fprintf(stderr, "usage: %s <folder> (<file name> <font file> <pixel height>)...\n", argv[0]);
        return 2;
    }
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0)
        return 1;
    bool ok = true;
    for (int i = 2; i + 2 < argc; i += 3)
    {
        int height = std::atoi(argv[i + 2]);
        if (height < 4 || height > 256)
        {
            std::fprintf(stderr, "font-generator: bad height %s\n", argv[i + 2]);
            ok = false;
            continue;
        }
        ok = makeFont(library, argv[i + 1], height, std::string(argv[1]) + "/" + argv[i]) && ok;
    }
    FT_Done_FreeType(library);
    return ok ? 0 : 1;
}
