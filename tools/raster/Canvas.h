#pragma once
// A small software canvas for the data generators: premultiplied float RGBA
// pixels, "over" compositing, anti-aliased filling of shapes given by their
// signed distance, and a few whole-picture operations. Everything the game
// shows is drawn through this, so that the art is made at build time from
// code and the palette in assets/.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace Raster
{

struct Color
{
    float r = 0, g = 0, b = 0, a = 1; // straight (not premultiplied) 0..1

    static Color rgb(uint32_t hex, float alpha = 1.0f)
    {
        return {((hex >> 16) & 255) / 255.0f, ((hex >> 8) & 255) / 255.0f, (hex & 255) / 255.0f, alpha};
    }
    Color withAlpha(float alpha) const { return {r, g, b, alpha}; }
    Color scaled(float f) const { return {r * f, g * f, b * f, a}; }
};

Color mix(const Color& a, const Color& b, float t);
float smoothstep(float edge0, float edge1, float x);
inline float clamp01(float v)
{
    return std::clamp(v, 0.0f, 1.0f);
}

// Coverage of a pixel whose centre lies at signed distance d from an edge
// (negative inside).
inline float coverage(float d)
{
    return clamp01(0.5f - d);
}

struct Pixel
{
    float r = 0, g = 0, b = 0, a = 0; // premultiplied
};

class Canvas
{
public:
    Canvas() = default;
    Canvas(int width, int height, Color fill = {0, 0, 0, 0});

    int width() const { return mWidth; }
    int height() const { return mHeight; }
    Pixel& at(int x, int y) { return mPixels[static_cast<size_t>(y) * mWidth + x]; }
    const Pixel& at(int x, int y) const { return mPixels[static_cast<size_t>(y) * mWidth + x]; }
    Color colorAt(int x, int y) const;
    // Bilinear sample with clamped edges, straight colour.
    Color sample(float x, float y) const;

    // Composites colour c over the pixel with the given coverage.
    void blend(int x, int y, const Color& c, float cover = 1.0f)
    {
        if (x < 0 || y < 0 || x >= mWidth || y >= mHeight)
            return;
        float a = c.a * cover;
        if (a <= 0.0f)
            return;
        Pixel& p = at(x, y);
        float k = 1.0f - a;
        p.r = c.r * a + p.r * k;
        p.g = c.g * a + p.g * k;
        p.b = c.b * a + p.b * k;
        p.a = a + p.a * k;
    }
    void set(int x, int y, const Color& c)
    {
        if (x < 0 || y < 0 || x >= mWidth || y >= mHeight)
            return;
        at(x, y) = {c.r * c.a, c.g * c.a, c.b * c.a, c.a};
    }

    // Fills every pixel inside the box [x0, x1) x [y0, y1) (clipped) with the
    // paint at the pixel's centre, weighted by the coverage of the distance
    // function there. Both callables take the centre (x + 0.5, y + 0.5).
    template <typename Distance, typename Paint>
    void fill(float x0, float y0, float x1, float y1, Distance&& distance, Paint&& paint)
    {
        int ix0 = std::max(0, static_cast<int>(std::floor(x0)) - 1);
        int iy0 = std::max(0, static_cast<int>(std::floor(y0)) - 1);
        int ix1 = std::min(mWidth, static_cast<int>(std::ceil(x1)) + 1);
        int iy1 = std::min(mHeight, static_cast<int>(std::ceil(y1)) + 1);
        for (int y = iy0; y < iy1; ++y)
            for (int x = ix0; x < ix1; ++x)
            {
                float px = x + 0.5f, py = y + 0.5f;
                float cov = coverage(distance(px, py));
                if (cov > 0.0f)
                    blend(x, y, paint(px, py), cov);
            }
    }
    template <typename Paint> void fillAll(Paint&& paint)
    {
        for (int y = 0; y < mHeight; ++y)
            for (int x = 0; x < mWidth; ++x)
                blend(x, y, paint(x + 0.5f, y + 0.5f));
    }
    // Replaces every pixel (no compositing).
    template <typename Paint> void setAll(Paint&& paint)
    {
        for (int y = 0; y < mHeight; ++y)
            for (int x = 0; x < mWidth; ++x)
                set(x, y, paint(x + 0.5f, y + 0.5f));
    }

    // Composites another canvas over this one at (dx, dy), with an opacity.
    void draw(const Canvas& other, int dx, int dy, float opacity = 1.0f);
    // Draws another canvas scaled into the rectangle (bilinear, or box
    // averaged when it shrinks by more than two).
    void drawScaled(const Canvas& other, float x, float y, float w, float h, float opacity = 1.0f);
    // The part [x, x + w) x [y, y + h) as a new canvas.
    Canvas crop(int x, int y, int w, int h) const;
    // Multiplies every pixel's alpha by mask(x, y).
    template <typename Mask> void multiplyAlpha(Mask&& mask)
    {
        for (int y = 0; y < mHeight; ++y)
            for (int x = 0; x < mWidth; ++x)
            {
                float m = clamp01(mask(x + 0.5f, y + 0.5f));
                Pixel& p = at(x, y);
                p.r *= m, p.g *= m, p.b *= m, p.a *= m;
            }
    }
    // Separable box blur repeated three times (close to a Gaussian).
    void blur(float radius);
    // The alpha channel as a one-colour layer, blurred and offset: a shadow.
    Canvas shadow(Color color, float radius, int dx, int dy) const;

    // 8-bit straight RGBA, rows top to bottom.
    std::vector<uint8_t> toRgba8() const;
    std::vector<uint8_t> toRgb8(Color background) const;

private:
    int mWidth = 0;
    int mHeight = 0;
    std::vector<Pixel> mPixels;
};

// Signed distances (negative inside).
float sdCircle(float px, float py, float cx, float cy, float r);
float sdRoundBox(float px, float py, float x, float y, float w, float h, float radius);
float sdSegment(float px, float py, float ax, float ay, float bx, float by);
struct Point
{
    float x, y;
};
float sdPolygon(float px, float py, const std::vector<Point>& points);
// Bounding box of points.
void bounds(const std::vector<Point>& points, float& x0, float& y0, float& x1, float& y1);

// Tileable value noise in [0, 1] over a period (in lattice cells) on both
// axes; fbm sums octaves that keep the period.
float valueNoise(float x, float y, int periodX, int periodY, uint32_t seed);
float fbm(float x, float y, int periodX, int periodY, int octaves, uint32_t seed);

// Writes a canvas; false (with a line on standard error) on failure.
bool writePng(const Canvas& canvas, const std::string& path);
bool writeJpeg(const Canvas& canvas, const std::string& path, int quality = 90);

} // namespace Raster
