#include "Raster.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <png.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>

namespace ModelGen
{

namespace
{
float clamp01(float v)
{
    return v < 0 ? 0 : (v > 1 ? 1 : v);
}

// Coverage of a pixel whose centre lies at signed distance d from an edge
// (negative inside), over one pixel of softness.
float edgeCoverage(float d)
{
    return clamp01(0.5f - d);
}

uint32_t hash3(uint32_t x, uint32_t y, uint32_t seed)
{
    uint32_t h = x * 0x8da6b343u ^ y * 0xd8163841u ^ seed * 0xcb1ab31fu;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return h;
}

float smooth(float t)
{
    return t * t * (3 - 2 * t);
}
} // namespace

Rgba rgb(int r, int g, int b, int a)
{
    return {r / 255.0f, g / 255.0f, b / 255.0f, a / 255.0f};
}

Rgba mix(const Rgba& x, const Rgba& y, float t)
{
    return {x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t, x.a + (y.a - x.a) * t};
}

Rgba scaled(const Rgba& c, float factor)
{
    return {c.r * factor, c.g * factor, c.b * factor, c.a};
}

Canvas::Canvas(int width, int height)
    : mWidth(width), mHeight(height), mPixels(static_cast<size_t>(width) * height)
{
}

void Canvas::blend(int x, int y, const Rgba& c, float coverage)
{
    if (x < 0 || y < 0 || x >= mWidth || y >= mHeight)
        return;
    float k = clamp01(c.a * coverage);
    if (k <= 0)
        return;
    Rgba& d = mPixels[index(x, y)];
    d.r = c.r * k + d.r * (1 - k);
    d.g = c.g * k + d.g * (1 - k);
    d.b = c.b * k + d.b * (1 - k);
    d.a = k + d.a * (1 - k);
}

void Canvas::fill(const Rgba& c)
{
    std::fill(mPixels.begin(), mPixels.end(), c);
}

void Canvas::fillRect(float x0, float y0, float x1, float y1, const Rgba& c)
{
    int ix0 = std::max(0, static_cast<int>(std::floor(x0)));
    int iy0 = std::max(0, static_cast<int>(std::floor(y0)));
    int ix1 = std::min(mWidth - 1, static_cast<int>(std::ceil(x1)));
    int iy1 = std::min(mHeight - 1, static_cast<int>(std::ceil(y1)));
    for (int y = iy0; y <= iy1; ++y)
        for (int x = ix0; x <= ix1; ++x)
        {
            float px = x + 0.5f, py = y + 0.5f;
            float d = std::max(std::max(x0 - px, px - x1), std::max(y0 - py, py - y1));
            blend(x, y, c, edgeCoverage(d));
        }
}

void Canvas::disc(float cx, float cy, float radius, const Rgba& c)
{
    ring(cx, cy, -1, radius, c);
}

void Canvas::ring(float cx, float cy, float inner, float outer, const Rgba& c)
{
    int ix0 = std::max(0, static_cast<int>(cx - outer - 1));
    int iy0 = std::max(0, static_cast<int>(cy - outer - 1));
    int ix1 = std::min(mWidth - 1, static_cast<int>(cx + outer + 1));
    int iy1 = std::min(mHeight - 1, static_cast<int>(cy + outer + 1));
    for (int y = iy0; y <= iy1; ++y)
        for (int x = ix0; x <= ix1; ++x)
        {
            float r = std::hypot(x + 0.5f - cx, y + 0.5f - cy);
            float d = std::max(r - outer, inner - r);
            blend(x, y, c, edgeCoverage(d));
        }
}

void Canvas::line(float x0, float y0, float x1, float y1, float width, const Rgba& c)
{
    float half = width / 2;
    int ix0 = std::max(0, static_cast<int>(std::min(x0, x1) - half - 1));
    int iy0 = std::max(0, static_cast<int>(std::min(y0, y1) - half - 1));
    int ix1 = std::min(mWidth - 1, static_cast<int>(std::max(x0, x1) + half + 1));
    int iy1 = std::min(mHeight - 1, static_cast<int>(std::max(y0, y1) + half + 1));
    float dx = x1 - x0, dy = y1 - y0;
    float length2 = dx * dx + dy * dy;
    for (int y = iy0; y <= iy1; ++y)
        for (int x = ix0; x <= ix1; ++x)
        {
            float px = x + 0.5f - x0, py = y + 0.5f - y0;
            float t = length2 > 0 ? clamp01((px * dx + py * dy) / length2) : 0;
            float d = std::hypot(px - t * dx, py - t * dy) - half;
            blend(x, y, c, edgeCoverage(d));
        }
}

void Canvas::grain(uint32_t seed, int cells, float amount)
{
    for (int y = 0; y < mHeight; ++y)
        for (int x = 0; x < mWidth; ++x)
        {
            float n = tileFractal(seed, (x + 0.5f) * cells / mWidth, (y + 0.5f) * cells / mHeight, cells, 3);
            float f = 1 + amount * (2 * n - 1);
            Rgba& p = mPixels[index(x, y)];
            p.r = clamp01(p.r * f);
            p.g = clamp01(p.g * f);
            p.b = clamp01(p.b * f);
        }
}

void Canvas::drawBgra(const uint8_t* pixels, int width, int height, int pitch, float x, float y, float w,
                      float h, const Rgba* silhouette)
{
    if (width <= 0 || height <= 0 || w <= 0 || h <= 0)
        return;
    auto sample = [&](int sx, int sy, int channel)
    {
        sx = std::clamp(sx, 0, width - 1);
        sy = std::clamp(sy, 0, height - 1);
        return pixels[static_cast<size_t>(sy) * pitch + sx * 4 + channel] / 255.0f;
    };
    int ix0 = std::max(0, static_cast<int>(x)), iy0 = std::max(0, static_cast<int>(y));
    int ix1 = std::min(mWidth - 1, static_cast<int>(x + w)),
        iy1 = std::min(mHeight - 1, static_cast<int>(y + h));
    for (int dy = iy0; dy <= iy1; ++dy)
        for (int dx = ix0; dx <= ix1; ++dx)
        {
            float u = (dx + 0.5f - x) / w * width - 0.5f;
            float v = (dy + 0.5f - y) / h * height - 0.5f;
            if (u < -0.5f || v < -0.5f || u > width - 0.5f || v > height - 0.5f)
                continue;
            int u0 = static_cast<int>(std::floor(u)), v0 = static_cast<int>(std::floor(v));
            float fu = u - u0, fv = v - v0;
            float premult[4];
            for (int ch = 0; ch < 4; ++ch)
            {
                float top = sample(u0, v0, ch) * (1 - fu) + sample(u0 + 1, v0, ch) * fu;
                float bottom = sample(u0, v0 + 1, ch) * (1 - fu) + sample(u0 + 1, v0 + 1, ch) * fu;
                premult[ch] = top * (1 - fv) + bottom * fv;
            }
            float a = premult[3];
            if (a <= 0)
                continue;
            // Stored as blue, green, red, alpha, premultiplied.
            if (silhouette)
                blend(dx, dy, *silhouette, a);
            else
                blend(dx, dy, {premult[2] / a, premult[1] / a, premult[0] / a, 1}, a);
        }
}

bool Canvas::savePng(const std::string& path) const
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info)
    {
        png_destroy_write_struct(&png, nullptr);
        std::fclose(file);
        return false;
    }
    std::vector<uint8_t> row(static_cast<size_t>(mWidth) * 4);
    if (setjmp(png_jmpbuf(png)))
    {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_compression_level(png, 6);
    png_set_IHDR(png, info, mWidth, mHeight, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < mHeight; ++y)
    {
        for (int x = 0; x < mWidth; ++x)
        {
            const Rgba& p = mPixels[index(x, y)];
            row[x * 4 + 0] = static_cast<uint8_t>(std::lround(clamp01(p.r) * 255));
            row[x * 4 + 1] = static_cast<uint8_t>(std::lround(clamp01(p.g) * 255));
            row[x * 4 + 2] = static_cast<uint8_t>(std::lround(clamp01(p.b) * 255));
            row[x * 4 + 3] = static_cast<uint8_t>(std::lround(clamp01(p.a) * 255));
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

float tileNoise(uint32_t seed, float x, float y, int period)
{
    int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
    float fx = smooth(x - x0), fy = smooth(y - y0);
    auto lattice = [&](int ix, int iy)
    {
        uint32_t wx = static_cast<uint32_t>(((ix % period) + period) % period);
        uint32_t wy = static_cast<uint32_t>(((iy % period) + period) % period);
        return (hash3(wx, wy, seed) & 0xFFFFFF) / 16777215.0f;
    };
    float top = lattice(x0, y0) * (1 - fx) + lattice(x0 + 1, y0) * fx;
    float bottom = lattice(x0, y0 + 1) * (1 - fx) + lattice(x0 + 1, y0 + 1) * fx;
    return top * (1 - fy) + bottom * fy;
}

float tileFractal(uint32_t seed, float x, float y, int period, int octaves)
{
    float sum = 0, weight = 1, total = 0;
    for (int o = 0; o < octaves; ++o)
    {
        sum += tileNoise(seed + o * 101, x, y, period) * weight;
        total += weight;
        x *= 2;
        y *= 2;
        period *= 2;
        weight *= 0.5f;
    }
    return sum / total;
}

struct GlyphPainter::Fonts
{
    FT_Library library = nullptr;
    FT_Face emoji = nullptr;
    FT_Face text = nullptr;
};

GlyphPainter::GlyphPainter(const std::string& emojiFont, const std::string& textFont)
    : mFonts(std::make_unique<Fonts>())
{
    if (FT_Init_FreeType(&mFonts->library) != 0)
    {
        mFonts->library = nullptr;
        return;
    }
    if (!emojiFont.empty() && FT_New_Face(mFonts->library, emojiFont.c_str(), 0, &mFonts->emoji) == 0)
    {
        // Colour emoji fonts hold bitmap strikes; take the largest.
        if (mFonts->emoji->num_fixed_sizes > 0)
        {
            int best = 0;
            for (int i = 1; i < mFonts->emoji->num_fixed_sizes; ++i)
                if (mFonts->emoji->available_sizes[i].height > mFonts->emoji->available_sizes[best].height)
                    best = i;
            FT_Select_Size(mFonts->emoji, best);
        }
        else
        {
            FT_Set_Pixel_Sizes(mFonts->emoji, 0, 128);
        }
    }
    else
    {
        mFonts->emoji = nullptr;
    }
    if (textFont.empty() || FT_New_Face(mFonts->library, textFont.c_str(), 0, &mFonts->text) != 0)
        mFonts->text = nullptr;
}

GlyphPainter::~GlyphPainter()
{
    if (mFonts->emoji)
        FT_Done_Face(mFonts->emoji);
    if (mFonts->text)
        FT_Done_Face(mFonts->text);
    if (mFonts->library)
        FT_Done_FreeType(mFonts->library);
}

bool GlyphPainter::drawEmoji(Canvas& canvas, uint32_t codePoint, float cx, float cy, float size,
                             const Rgba* outline)
{
    FT_Face face = mFonts->emoji;
    if (!face || FT_Get_Char_Index(face, codePoint) == 0)
        return false;
    if (FT_Load_Char(face, codePoint, FT_LOAD_COLOR | FT_LOAD_RENDER) != 0)
        return false;
    const FT_Bitmap& bitmap = face->glyph->bitmap;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_BGRA || bitmap.width == 0 || bitmap.rows == 0 || bitmap.pitch <= 0)
        return false;
    float w = static_cast<float>(bitmap.width), h = static_cast<float>(bitmap.rows);
    float factor = size / std::max(w, h);
    w *= factor;
    h *= factor;
    int bw = static_cast<int>(bitmap.width), bh = static_cast<int>(bitmap.rows);
    if (outline)
        for (int k = 0; k < 8; ++k)
        {
            float ox = 2.5f * std::cos(k * 0.785398f), oy = 2.5f * std::sin(k * 0.785398f);
            canvas.drawBgra(bitmap.buffer, bw, bh, bitmap.pitch, cx - w / 2 + ox, cy - h / 2 + oy, w, h,
                            outline);
        }
    canvas.drawBgra(bitmap.buffer, bw, bh, bitmap.pitch, cx - w / 2, cy - h / 2, w, h);
    return true;
}

bool GlyphPainter::drawText(Canvas& canvas, const std::string& text, float cx, float cy, float size,
                            const Rgba& c)
{
    FT_Face face = mFonts->text;
    if (!face || FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(size)) != 0)
        return false;
    // First pass measures the ink box, second draws it centred.
    int penX = 0, minX = 1 << 30, maxX = -(1 << 30), minY = 1 << 30, maxY = -(1 << 30);
    for (char ch : text)
    {
        if (FT_Load_Char(face, static_cast<unsigned char>(ch), FT_LOAD_DEFAULT) != 0)
            return false;
        FT_Glyph_Metrics& m = face->glyph->metrics;
        minX = std::min(minX, penX + static_cast<int>(m.horiBearingX >> 6));
        maxX = std::max(maxX, penX + static_cast<int>((m.horiBearingX + m.width) >> 6));
        minY = std::min(minY, -static_cast<int>(m.horiBearingY >> 6));
        maxY = std::max(maxY, static_cast<int>((m.height - m.horiBearingY) >> 6));
        penX += static_cast<int>(face->glyph->advance.x >> 6);
    }
    float originX = cx - (minX + maxX) / 2.0f;
    float originY = cy - (minY + maxY) / 2.0f;
    penX = 0;
    for (char ch : text)
    {
        if (FT_Load_Char(face, static_cast<unsigned char>(ch), FT_LOAD_RENDER) != 0)
            return false;
        const FT_Bitmap& b = face->glyph->bitmap;
        int left = static_cast<int>(std::lround(originX)) + penX + face->glyph->bitmap_left;
        int top = static_cast<int>(std::lround(originY)) - face->glyph->bitmap_top;
        if (b.pixel_mode == FT_PIXEL_MODE_GRAY)
            for (unsigned y = 0; y < b.rows; ++y)
                for (unsigned x = 0; x < b.width; ++x)
                    canvas.blend(left + static_cast<int>(x), top + static_cast<int>(y), c,
                                 b.buffer[y * b.pitch + x] / 255.0f);
        penX += static_cast<int>(face->glyph->advance.x >> 6);
    }
    return true;
}

} // namespace ModelGen
