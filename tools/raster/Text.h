#pragma once
// Text through FreeType for the generators: faces loaded from the installed
// font files, anti-aliased coverage masks of UTF-8 strings, colour emoji.
#include "raster/Canvas.h"

#include <memory>
#include <string>
#include <string_view>

typedef struct FT_FaceRec_* FT_Face;

namespace Raster
{

class Typeface
{
public:
    // Loads the face; on failure valid() is false and a line went to stderr.
    explicit Typeface(const std::string& path);
    ~Typeface();
    Typeface(const Typeface&) = delete;
    Typeface& operator=(const Typeface&) = delete;

    bool valid() const { return mFace != nullptr; }
    FT_Face face() const { return mFace; }
    // Sets the em size in pixels (fractional sizes allowed).
    void setSize(float pixels);
    // Line metrics at the current size, in pixels (descender negative).
    float ascender() const;
    float descender() const;
    // Advance of a UTF-8 string at the current size, with extra spacing
    // after every character.
    float measure(std::string_view utf8, float tracking = 0.0f) const;
    // Draws the string's coverage, baseline at (x, y), as colour c.
    void draw(Canvas& canvas, std::string_view utf8, float x, float y, Color c, float tracking = 0.0f) const;
    // The string's coverage as a white layer with a margin around it; the
    // baseline lies at margin + ascender.
    Canvas mask(std::string_view utf8, int margin, float tracking = 0.0f) const;
    // A colour glyph (emoji faces with bitmap strikes): the strike's bitmap.
    Canvas colorGlyph(char32_t codePoint) const;

private:
    FT_Face mFace = nullptr;
};

std::u32string decodeUtf8(std::string_view text);

// Paints a white mask layer with a paint function of the layer's pixel
// centre: every pixel takes the paint's colour with the mask's alpha.
template <typename Paint> Canvas paintMask(const Canvas& mask, Paint&& paint)
{
    Canvas out(mask.width(), mask.height());
    for (int y = 0; y < mask.height(); ++y)
        for (int x = 0; x < mask.width(); ++x)
        {
            float a = mask.at(x, y).a;
            if (a > 0)
            {
                Color c = paint(x + 0.5f, y + 0.5f);
                out.blend(x, y, c, a);
            }
        }
    return out;
}

} // namespace Raster
