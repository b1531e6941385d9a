#pragma once
// A small RGBA canvas for the model textures: shapes with soft edges,
// tileable noise, glyphs drawn through FreeType (colour emoji and plain
// text) and PNG output. Everything is deterministic: the same calls give the
// same bytes on every run.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ModelGen
{

struct Rgba
{
    float r = 0, g = 0, b = 0, a = 1;
};

Rgba rgb(int r, int g, int b, int a = 255);
Rgba mix(const Rgba& x, const Rgba& y, float t);
Rgba scaled(const Rgba& c, float factor);

class Canvas
{
public:
    Canvas(int width, int height);

    int width() const { return mWidth; }
    int height() const { return mHeight; }
    Rgba get(int x, int y) const { return mPixels[index(x, y)]; }
    void set(int x, int y, const Rgba& c) { mPixels[index(x, y)] = c; }
    // Source-over blending of c with an extra coverage factor.
    void blend(int x, int y, const Rgba& c, float coverage);

    void fill(const Rgba& c);
    void fillRect(float x0, float y0, float x1, float y1, const Rgba& c);
    // Antialiased disc and ring (between the two radii).
    void disc(float cx, float cy, float radius, const Rgba& c);
    void ring(float cx, float cy, float inner, float outer, const Rgba& c);
    // Antialiased line segment of the given width.
    void line(float x0, float y0, float x1, float y1, float width, const Rgba& c);
    // Multiplies every pixel's colour by 1 + amount * noise, the noise
    // tileable over the canvas (period = canvas size / cells).
    void grain(uint32_t seed, int cells, float amount);

    // A premultiplied BGRA bitmap scaled into a box; with a silhouette
    // colour, only its shape is drawn, in that colour.
    void drawBgra(const uint8_t* pixels, int width, int height, int pitch, float x, float y, float w, float h,
                  const Rgba* silhouette = nullptr);

    bool savePng(const std::string& path) const;

private:
    size_t index(int x, int y) const { return static_cast<size_t>(y) * mWidth + x; }
    int mWidth;
    int mHeight;
    std::vector<Rgba> mPixels;
};

// Tileable value noise in 0..1 with the given integer period (lattice cells).
float tileNoise(uint32_t seed, float x, float y, int period);
// Sum of octaves of tileNoise, period doubled at each octave.
float tileFractal(uint32_t seed, float x, float y, int period, int octaves);

// Glyph drawing through FreeType. Either font may be missing: the calls then
// report false and the caller draws a substitute.
class GlyphPainter
{
public:
    GlyphPainter(const std::string& emojiFont, const std::string& textFont);
    ~GlyphPainter();
    GlyphPainter(const GlyphPainter&) = delete;
    GlyphPainter& operator=(const GlyphPainter&) = delete;

    // Draws the colour glyph of a code point fitted into the square box
    // centred on (cx, cy); with an outline colour, ringed by a thin contour
    // so that pale pictures stand out on pale ground (and dark on dark).
    bool drawEmoji(Canvas& canvas, uint32_t codePoint, float cx, float cy, float size,
                   const Rgba* outline = nullptr);
    // Draws ASCII text centred on (cx, cy), pixel height size.
    bool drawText(Canvas& canvas, const std::string& text, float cx, float cy, float size, const Rgba& c);

private:
    struct Fonts;
    std::unique_ptr<Fonts> mFonts;
};

} // namespace ModelGen
