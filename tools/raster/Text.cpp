#include "raster/Text.h"

#include <cstdio>
#include <ft2build.h>
#include FT_FREETYPE_H

namespace Raster
{

namespace
{
FT_Library library()
{
    static FT_Library instance = []
    {
        FT_Library lib = nullptr;
        if (FT_Init_FreeType(&lib) != 0)
            std::fprintf(stderr, "FreeType cannot start\n");
        return lib;
    }();
    return instance;
}
} // namespace

std::u32string decodeUtf8(std::string_view text)
{
    std::u32string out;
    for (size_t i = 0; i < text.size();)
    {
        unsigned char c = static_cast<unsigned char>(text[i]);
        int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
        char32_t cp = extra == 0 ? c : extra == 1 ? (c & 0x1F) : extra == 2 ? (c & 0x0F) : (c & 0x07);
        if (i + extra >= text.size())
            break;
        for (int k = 1; k <= extra; ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        out.push_back(cp);
        i += extra + 1;
    }
    return out;
}

Typeface::Typeface(const std::string& path)
{
    if (!library() || FT_New_Face(library(), path.c_str(), 0, &mFace) != 0)
    {
        mFace = nullptr;
        std::fprintf(stderr, "cannot load the font %s\n", path.c_str());
    }
}

Typeface::~Typeface()
{
    if (mFace)
        FT_Done_Face(mFace);
}

void Typeface::setSize(float pixels)
{
    if (mFace && FT_IS_SCALABLE(mFace))
        FT_Set_Char_Size(mFace, 0, static_cast<FT_F26Dot6>(pixels * 64.0f + 0.5f), 72, 72);
}

float Typeface::ascender() const
{
    return mFace ? mFace->size->metrics.ascender / 64.0f : 0.0f;
}
float Typeface::descender() const
{
    return mFace ? mFace->size->metrics.descender / 64.0f : 0.0f;
}

float Typeface::measure(std::string_view utf8, float tracking) const
{
    if (!mFace)
        return 0;
    float width = 0;
    FT_UInt previous = 0;
    for (char32_t cp : decodeUtf8(utf8))
    {
        FT_UInt index = FT_Get_Char_Index(mFace, cp);
        if (previous && index && FT_HAS_KERNING(mFace))
        {
            FT_Vector kern;
            if (FT_Get_Kerning(mFace, previous, index, FT_KERNING_UNFITTED, &kern) == 0)
                width += kern.x / 64.0f;
        }
        if (FT_Load_Glyph(mFace, index, FT_LOAD_NO_HINTING) == 0)
            width += mFace->glyph->linearHoriAdvance / 65536.0f + tracking;
        previous = index;
    }
    return width;
}

void Typeface::draw(Canvas& canvas, std::string_view utf8, float x, float y, Color c, float tracking) const
{
    if (!mFace)
        return;
    FT_UInt previous = 0;
    float pen = x;
    for (char32_t cp : decodeUtf8(utf8))
    {
        FT_UInt index = FT_Get_Char_Index(mFace, cp);
        if (previous && index && FT_HAS_KERNING(mFace))
        {
            FT_Vector kern;
            if (FT_Get_Kerning(mFace, previous, index, FT_KERNING_UNFITTED, &kern) == 0)
                pen += kern.x / 64.0f;
        }
        previous = index;
        // The fractional pen position goes into the outline so that letters
        // keep their true spacing.
        float whole = std::floor(pen);
        FT_Vector shift{static_cast<FT_Pos>((pen - whole) * 64.0f), 0};
        FT_Set_Transform(mFace, nullptr, &shift);
        if (FT_Load_Glyph(mFace, index, FT_LOAD_NO_HINTING | FT_LOAD_RENDER) != 0)
            continue;
        FT_GlyphSlot slot = mFace->glyph;
        const FT_Bitmap& bitmap = slot->bitmap;
        int left = static_cast<int>(whole) + slot->bitmap_left;
        int top = static_cast<int>(std::floor(y)) - slot->bitmap_top;
        for (unsigned row = 0; row < bitmap.rows; ++row)
            for (unsigned col = 0; col < bitmap.width; ++col)
            {
                float a = bitmap.buffer[row * bitmap.pitch + col] / 255.0f;
                if (a > 0)
                    canvas.blend(left + static_cast<int>(col), top + static_cast<int>(row), c, a);
            }
        pen += slot->linearHoriAdvance / 65536.0f + tracking;
    }
    FT_Set_Transform(mFace, nullptr, nullptr);
}

Canvas Typeface::mask(std::string_view utf8, int margin, float tracking) const
{
    int width = static_cast<int>(std::ceil(measure(utf8, tracking))) + 2 * margin + 2;
    int height = static_cast<int>(std::ceil(ascender() - descender())) + 2 * margin;
    Canvas out(width, height);
    draw(out, utf8, static_cast<float>(margin), margin + ascender(), {1, 1, 1, 1}, tracking);
    return out;
}

Canvas Typeface::colorGlyph(char32_t codePoint) const
{
    if (!mFace)
        return {};
    if (mFace->num_fixed_sizes > 0)
        FT_Select_Size(mFace, 0);
    FT_UInt index = FT_Get_Char_Index(mFace, codePoint);
    if (index == 0 || FT_Load_Glyph(mFace, index, FT_LOAD_COLOR | FT_LOAD_RENDER) != 0)
    {
        std::fprintf(stderr, "no colour glyph for U+%X\n", static_cast<unsigned>(codePoint));
        return {};
    }
    const FT_Bitmap& bitmap = mFace->glyph->bitmap;
    Canvas out(static_cast<int>(bitmap.width), static_cast<int>(bitmap.rows));
    for (unsigned row = 0; row < bitmap.rows; ++row)
        for (unsigned col = 0; col < bitmap.width; ++col)
        {
            const uint8_t* p = bitmap.buffer + row * bitmap.pitch;
            if (bitmap.pixel_mode == FT_PIXEL_MODE_BGRA)
            {
                p += col * 4; // premultiplied BGRA
                out.at(col, row) = {p[2] / 255.0f, p[1] / 255.0f, p[0] / 255.0f, p[3] / 255.0f};
            }
            else if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY)
            {
                float a = p[col] / 255.0f;
                out.at(col, row) = {0, 0, 0, a};
            }
        }
    return out;
}

} // namespace Raster
