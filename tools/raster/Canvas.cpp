#include "raster/Canvas.h"

#include <cstdio>

namespace Raster
{

Color mix(const Color& a, const Color& b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

float smoothstep(float edge0, float edge1, float x)
{
    float t = clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3.0f - 2.0f * t);
}

Canvas::Canvas(int width, int height, Color fill)
    : mWidth(width), mHeight(height),
      mPixels(static_cast<size_t>(width) * height,
              Pixel{fill.r * fill.a, fill.g * fill.a, fill.b * fill.a, fill.a})
{
}

Color Canvas::colorAt(int x, int y) const
{
    const Pixel& p = at(x, y);
    if (p.a <= 0.0f)
        return {0, 0, 0, 0};
    return {p.r / p.a, p.g / p.a, p.b / p.a, p.a};
}

Color Canvas::sample(float x, float y) const
{
    x -= 0.5f, y -= 0.5f;
    int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
    float fx = x - x0, fy = y - y0;
    auto px = [&](int ix, int iy) -> const Pixel&
    { return at(std::clamp(ix, 0, mWidth - 1), std::clamp(iy, 0, mHeight - 1)); };
    const Pixel &a = px(x0, y0), &b = px(x0 + 1, y0), &c = px(x0, y0 + 1), &d = px(x0 + 1, y0 + 1);
    auto lerp2 = [&](float va, float vb, float vc, float vd)
    { return (va * (1 - fx) + vb * fx) * (1 - fy) + (vc * (1 - fx) + vd * fx) * fy; };
    Pixel p{lerp2(a.r, b.r, c.r, d.r), lerp2(a.g, b.g, c.g, d.g), lerp2(a.b, b.b, c.b, d.b),
            lerp2(a.a, b.a, c.a, d.a)};
    if (p.a <= 1e-6f)
        return {0, 0, 0, 0};
    return {p.r / p.a, p.g / p.a, p.b / p.a, p.a};
}

void Canvas::draw(const Canvas& other, int dx, int dy, float opacity)
{
    for (int y = 0; y < other.height(); ++y)
    {
        int ty = y + dy;
        if (ty < 0 || ty >= mHeight)
            continue;
        for (int x = 0; x < other.width(); ++x)
        {
            int tx = x + dx;
            if (tx < 0 || tx >= mWidth)
                continue;
            const Pixel& s = other.at(x, y);
            Pixel& p = at(tx, ty);
            float k = 1.0f - s.a * opacity;
            p.r = s.r * opacity + p.r * k;
            p.g = s.g * opacity + p.g * k;
            p.b = s.b * opacity + p.b * k;
            p.a = s.a * opacity + p.a * k;
        }
    }
}

void Canvas::drawScaled(const Canvas& other, float x, float y, float w, float h, float opacity)
{
    if (w <= 0 || h <= 0 || other.width() == 0 || other.height() == 0)
        return;
    // Shrinking a lot: average down first so that bilinear sampling does not alias.
    const Canvas* source = &other;
    Canvas reduced;
    float factor = std::min(other.width() / w, other.height() / h);
    if (factor > 2.0f)
    {
        int step = static_cast<int>(factor);
        int rw = std::max(1, other.width() / step), rh = std::max(1, other.height() / step);
        reduced = Canvas(rw, rh);
        for (int ry = 0; ry < rh; ++ry)
            for (int rx = 0; rx < rw; ++rx)
            {
                Pixel sum;
                for (int sy = 0; sy < step; ++sy)
                    for (int sx = 0; sx < step; ++sx)
                    {
                        const Pixel& s = other.at(std::min(rx * step + sx, other.width() - 1),
                                                  std::min(ry * step + sy, other.height() - 1));
                        sum.r += s.r, sum.g += s.g, sum.b += s.b, sum.a += s.a;
                    }
                float n = static_cast<float>(step * step);
                reduced.at(rx, ry) = {sum.r / n, sum.g / n, sum.b / n, sum.a / n};
            }
        source = &reduced;
    }
    int ix0 = std::max(0, static_cast<int>(std::floor(x))),
        iy0 = std::max(0, static_cast<int>(std::floor(y)));
    int ix1 = std::min(mWidth, static_cast<int>(std::ceil(x + w)));
    int iy1 = std::min(mHeight, static_cast<int>(std::ceil(y + h)));
    for (int ty = iy0; ty < iy1; ++ty)
        for (int tx = ix0; tx < ix1; ++tx)
        {
            float u = (tx + 0.5f - x) / w * source->width();
            float v = (ty + 0.5f - y) / h * source->height();
            if (u < 0 || v < 0 || u > source->width() || v > source->height())
                continue;
            Color c = source->sample(u, v);
            blend(tx, ty, c, opacity);
        }
}

Canvas Canvas::crop(int x, int y, int w, int h) const
{
    Canvas out(w, h);
    for (int iy = 0; iy < h; ++iy)
        for (int ix = 0; ix < w; ++ix)
        {
            int sx = x + ix, sy = y + iy;
            if (sx >= 0 && sy >= 0 && sx < mWidth && sy < mHeight)
                out.at(ix, iy) = at(sx, sy);
        }
    return out;
}

namespace
{
void boxBlurLine(Pixel* data, int count, int stride, int radius, std::vector<Pixel>& scratch)
{
    scratch.resize(count);
    float n = 2.0f * radius + 1.0f;
    Pixel sum;
    auto get = [&](int i) -> const Pixel& { return data[std::clamp(i, 0, count - 1) * stride]; };
    for (int i = -radius; i <= radius; ++i)
    {
        const Pixel& p = get(i);
        sum.r += p.r, sum.g += p.g, sum.b += p.b, sum.a += p.a;
    }
    for (int i = 0; i < count; ++i)
    {
        scratch[i] = {sum.r / n, sum.g / n, sum.b / n, sum.a / n};
        const Pixel& add = get(i + radius + 1);
        const Pixel& sub = get(i - radius);
        sum.r += add.r - sub.r, sum.g += add.g - sub.g, sum.b += add.b - sub.b, sum.a += add.a - sub.a;
    }
    for (int i = 0; i < count; ++i)
        data[i * stride] = scratch[i];
}
} // namespace

void Canvas::blur(float radius)
{
    int r = std::max(1, static_cast<int>(radius / 1.7f + 0.5f));
    std::vector<Pixel> scratch;
    for (int pass = 0; pass < 3; ++pass)
    {
        for (int y = 0; y < mHeight; ++y)
            boxBlurLine(&at(0, y), mWidth, 1, r, scratch);
        for (int x = 0; x < mWidth; ++x)
            boxBlurLine(&at(x, 0), mHeight, mWidth, r, scratch);
    }
}

Canvas Canvas::shadow(Color color, float radius, int dx, int dy) const
{
    Canvas out(mWidth, mHeight);
    for (int y = 0; y < mHeight; ++y)
        for (int x = 0; x < mWidth; ++x)
        {
            int sx = x - dx, sy = y - dy;
            if (sx < 0 || sy < 0 || sx >= mWidth || sy >= mHeight)
                continue;
            float a = at(sx, sy).a * color.a;
            out.at(x, y) = {color.r * a, color.g * a, color.b * a, a};
        }
    if (radius > 0)
        out.blur(radius);
    return out;
}

std::vector<uint8_t> Canvas::toRgba8() const
{
    std::vector<uint8_t> out(static_cast<size_t>(mWidth) * mHeight * 4);
    for (size_t i = 0; i < mPixels.size(); ++i)
    {
        const Pixel& p = mPixels[i];
        float a = clamp01(p.a);
        float inv = a > 0 ? 1.0f / a : 0.0f;
        out[i * 4 + 0] = static_cast<uint8_t>(clamp01(p.r * inv) * 255.0f + 0.5f);
        out[i * 4 + 1] = static_cast<uint8_t>(clamp01(p.g * inv) * 255.0f + 0.5f);
        out[i * 4 + 2] = static_cast<uint8_t>(clamp01(p.b * inv) * 255.0f + 0.5f);
        out[i * 4 + 3] = static_cast<uint8_t>(a * 255.0f + 0.5f);
    }
    return out;
}

std::vector<uint8_t> Canvas::toRgb8(Color background) const
{
    std::vector<uint8_t> out(static_cast<size_t>(mWidth) * mHeight * 3);
    for (size_t i = 0; i < mPixels.size(); ++i)
    {
        const Pixel& p = mPixels[i];
        float k = 1.0f - clamp01(p.a);
        out[i * 3 + 0] = static_cast<uint8_t>(clamp01(p.r + background.r * k) * 255.0f + 0.5f);
        out[i * 3 + 1] = static_cast<uint8_t>(clamp01(p.g + background.g * k) * 255.0f + 0.5f);
        out[i * 3 + 2] = static_cast<uint8_t>(clamp01(p.b + background.b * k) * 255.0f + 0.5f);
    }
    return out;
}

float sdCircle(float px, float py, float cx, float cy, float r)
{
    return std::hypot(px - cx, py - cy) - r;
}

float sdRoundBox(float px, float py, float x, float y, float w, float h, float radius)
{
    float cx = x + w * 0.5f, cy = y + h * 0.5f;
    float qx = std::fabs(px - cx) - (w * 0.5f - radius);
    float qy = std::fabs(py - cy) - (h * 0.5f - radius);
    float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

float sdSegment(float px, float py, float ax, float ay, float bx, float by)
{
    float pax = px - ax, pay = py - ay, bax = bx - ax, bay = by - ay;
    float len2 = bax * bax + bay * bay;
    float h = len2 > 0 ? clamp01((pax * bax + pay * bay) / len2) : 0.0f;
    return std::hypot(pax - bax * h, pay - bay * h);
}

float sdPolygon(float px, float py, const std::vector<Point>& v)
{
    float d = (px - v[0].x) * (px - v[0].x) + (py - v[0].y) * (py - v[0].y);
    float s = 1.0f;
    for (size_t i = 0, j = v.size() - 1; i < v.size(); j = i, ++i)
    {
        float ex = v[j].x - v[i].x, ey = v[j].y - v[i].y;
        float wx = px - v[i].x, wy = py - v[i].y;
        float t = clamp01((wx * ex + wy * ey) / (ex * ex + ey * ey));
        float bx = wx - ex * t, by = wy - ey * t;
        d = std::min(d, bx * bx + by * by);
        bool c1 = py >= v[i].y, c2 = py<v[j].y, c3 = ex * wy> ey * wx;
        if ((c1 && c2 && c3) || (!c1 && !c2 && !c3))
            s = -s;
    }
    return s * std::sqrt(d);
}

void bounds(const std::vector<Point>& points, float& x0, float& y0, float& x1, float& y1)
{
    x0 = y0 = 1e9f;
    x1 = y1 = -1e9f;
    for (const Point& p : points)
    {
        x0 = std::min(x0, p.x), y0 = std::min(y0, p.y);
        x1 = std::max(x1, p.x), y1 = std::max(y1, p.y);
    }
}

namespace
{
float lattice(int x, int y, uint32_t seed)
{
    uint32_t h =
        static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xFFFFFF) / static_cast<float>(0xFFFFFF);
}
int wrap(int v, int period)
{
    return period > 0 ? ((v % period) + period) % period : v;
}
} // namespace

float valueNoise(float x, float y, int periodX, int periodY, uint32_t seed)
{
    int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
    float fx = x - x0, fy = y - y0;
    fx = fx * fx * (3 - 2 * fx);
    fy = fy * fy * (3 - 2 * fy);
    int ax = wrap(x0, periodX), bx = wrap(x0 + 1, periodX);
    int ay = wrap(y0, periodY), by = wrap(y0 + 1, periodY);
    float a = lattice(ax, ay, seed), b = lattice(bx, ay, seed);
    float c = lattice(ax, by, seed), d = lattice(bx, by, seed);
    return (a * (1 - fx) + b * fx) * (1 - fy) + (c * (1 - fx) + d * fx) * fy;
}

float fbm(float x, float y, int periodX, int periodY, int octaves, uint32_t seed)
{
    float sum = 0, amplitude = 0.5f, total = 0;
    for (int i = 0; i < octaves; ++i)
    {
        sum += valueNoise(x, y, periodX, periodY, seed + i * 101) * amplitude;
        total += amplitude;
        x *= 2, y *= 2;
        periodX *= 2, periodY *= 2;
        amplitude *= 0.5f;
    }
    return sum / total;
}

} // namespace Raster
