#include "raster/Landscape.h"

#include <cmath>

namespace Raster
{

namespace
{
constexpr float kTwoPi = 6.2831853f;

// Height of a ridge (fraction of the picture height, from the top) at u in 0..1.
float ridge(float u, float base, float amplitude, float scale, uint32_t seed)
{
    // Ridged noise gives the sharp crests of ink-painted mountains.
    float n = fbm(u * scale, 0.5f, 0, 0, 3, seed);
    float detail = fbm(u * scale * 8.0f, 0.5f, 0, 0, 2, seed + 1) - 0.5f;
    float crest = 1.0f - std::fabs(2.0f * n - 1.0f);
    float peak = std::pow(crest, 2.2f);
    return base - amplitude * (peak + detail * 0.06f);
}

// A mist layer of the given size whose pattern repeats every half width, so
// that it can drift by half a picture per loop: slowly.
Canvas mistLayer(int width, int height, float centre, float thickness, float density, Color tint,
                 uint32_t seed)
{
    Canvas c(width, height);
    const int period = 6;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            float u = static_cast<float>(x) / width, v = static_cast<float>(y) / height;
            float band = std::exp(-std::pow((v - centre) / thickness, 2.0f));
            float n = fbm(u * period, v * 8.0f, period / 2, 0, 4, seed);
            float a = clamp01(band * (n * 1.6f - 0.35f)) * density;
            c.set(x, y, tint.withAlpha(a));
        }
    return c;
}

// Shifted copy of a layer periodic in x (fractional shift by linear blend).
void drawShifted(Canvas& out, const Canvas& layer, float shift)
{
    int w = layer.width();
    float s = shift - std::floor(shift / w) * w;
    int whole = static_cast<int>(s);
    float f = s - whole;
    for (int y = 0; y < layer.height(); ++y)
        for (int x = 0; x < w; ++x)
        {
            const Pixel& a = layer.at(((x - whole) % w + w) % w, y);
            const Pixel& b = layer.at(((x - whole - 1) % w + w) % w, y);
            Pixel p{a.r * (1 - f) + b.r * f, a.g * (1 - f) + b.g * f, a.b * (1 - f) + b.b * f,
                    a.a * (1 - f) + b.a * f};
            if (p.a <= 0)
                continue;
            Pixel& o = out.at(x, y);
            float k = 1 - p.a;
            o.r = p.r + o.r * k, o.g = p.g + o.g * k, o.b = p.b + o.b * k, o.a = p.a + o.a * k;
        }
}
} // namespace

Landscape::Landscape(int width, int height, const Theme& theme)
    : mWidth(width), mHeight(height), mTheme(theme), mSky(width, height), mNear(width, height)
{
    const float W = static_cast<float>(width), H = static_cast<float>(height);
    const Color skyTop = Color::rgb(0x241A38), skyMid = Color::rgb(0x8A4A5A), skyLow = Color::rgb(0xF0B070);
    const float sunX = 0.78f * W, sunY = 0.33f * H, sunR = 0.05f * W;
    mSky.setAll(
        [&](float x, float y)
        {
            float v = y / H;
            Color c = v < 0.35f ? mix(skyTop, skyMid, v / 0.35f)
                                : mix(skyMid, skyLow, clamp01((v - 0.35f) / 0.25f));
            float d = std::hypot(x - sunX, y - sunY) / W;
            c = mix(c, Color::rgb(0xFFE2A0), std::exp(-d * 9.0f) * 0.55f);
            return c;
        });
    mSky.fill(
        sunX - sunR, sunY - sunR, sunX + sunR, sunY + sunR,
        [&](float x, float y) { return sdCircle(x, y, sunX, sunY, sunR); },
        [&](float, float) { return Color::rgb(0xFFF1C8, 0.92f); });
    // Far ridges: pale, blue-violet, lit from behind.
    struct Layer
    {
        float base, amplitude, scale;
        uint32_t seed;
        Color color;
    };
    const Layer far[] = {{0.62f, 0.34f, 3.0f, 3, Color::rgb(0x9A7A98)},
                         {0.68f, 0.28f, 4.0f, 9, Color::rgb(0x6E5275)}};
    for (const Layer& l : far)
        for (int x = 0; x < width; ++x)
        {
            float top = ridge((x + 0.5f) / W, l.base, l.amplitude, l.scale, l.seed) * H;
            for (int y = std::max(0, static_cast<int>(top) - 1); y < height; ++y)
            {
                float cov = clamp01(y + 0.5f - top + 0.5f);
                // Shade by height in the picture, not from each column's crest,
                // so that the slopes show no vertical streaks.
                float depth = clamp01((y / H - (l.base - l.amplitude)) / (l.amplitude + 0.1f));
                mSky.blend(x, y, mix(l.color, Color::rgb(0x3A2A48), depth * 0.4f), cov);
            }
        }
    // Near ridges: dark ink with a warm rim.
    const Layer nearLayers[] = {{0.78f, 0.20f, 5.0f, 21, Color::rgb(0x3B2838)},
                                {0.90f, 0.12f, 6.0f, 33, Color::rgb(0x1E1420)}};
    int layerIndex = 0;
    for (const Layer& l : nearLayers)
    {
        for (int x = 0; x < width; ++x)
        {
            float top = ridge((x + 0.5f) / W, l.base, l.amplitude, l.scale, l.seed) * H;
            for (int y = std::max(0, static_cast<int>(top) - 1); y < height; ++y)
            {
                float cov = clamp01(y + 0.5f - top + 0.5f);
                float rim = std::exp(-(y - top) / 2.5f) * 0.35f;
                Color c = mix(l.color, Color::rgb(0xE8A060), rim);
                mNear.blend(x, y, c, cov);
            }
        }
        // A pagoda on the middle ridge, pines on the nearest one.
        if (layerIndex == 0)
        {
            float px = 0.24f * W, u = W / 512.0f;
            float ground = ridge(px / W, l.base, l.amplitude, l.scale, l.seed) * H;
            for (int storey = 0; storey < 4; ++storey)
            {
                float y = ground - 4 * u - storey * 11 * u;
                float half = (16 - storey * 3) * u;
                std::vector<Point> roof = {{px - half - 4 * u, y - 2 * u},
                                           {px - half * 0.6f, y - 6 * u},
                                           {px + half * 0.6f, y - 6 * u},
                                           {px + half + 4 * u, y - 2 * u},
                                           {px + half, y},
                                           {px - half, y}};
                float x0, y0, x1, y1;
                bounds(roof, x0, y0, x1, y1);
                mNear.fill(
                    x0, y0, x1, y1, [&](float qx, float qy) { return sdPolygon(qx, qy, roof); },
                    [&](float, float) { return l.color; });
                mNear.fill(
                    px - half * 0.7f, y, px + half * 0.7f, y + 6 * u,
                    [&](float qx, float qy)
                    { return sdRoundBox(qx, qy, px - half * 0.7f, y, half * 1.4f, 6 * u, 0); },
                    [&](float, float) { return l.color; });
                // A lit window on every storey.
                mNear.fill(
                    px - 2 * u, y + 1 * u, px + 2 * u, y + 5 * u,
                    [&](float qx, float qy)
                    { return sdRoundBox(qx, qy, px - 1.5f * u, y + 1.5f * u, 3 * u, 3 * u, 0.5f); },
                    [&](float, float) { return Color::rgb(0xFFC060); });
            }
            float spireTop = ground - 4 * u - 4 * 11 * u;
            mNear.fill(
                px - u, spireTop - 9 * u, px + u, spireTop,
                [&](float qx, float qy)
                { return sdSegment(qx, qy, px, spireTop - 9 * u, px, spireTop) - 0.8f * u; },
                [&](float, float) { return l.color; });
        }
        else
        {
            for (float fx : {0.06f, 0.11f, 0.86f, 0.93f})
            {
                float px = fx * W, u = W / 512.0f;
                float ground = ridge(px / W, l.base, l.amplitude, l.scale, l.seed) * H;
                for (int tier = 0; tier < 4; ++tier)
                {
                    float y = ground - 6 * u - tier * 9 * u;
                    float half = (14 - tier * 3) * u;
                    std::vector<Point> t = {{px - half, y}, {px, y - 12 * u}, {px + half, y}};
                    mNear.fill(
                        px - half, y - 12 * u, px + half, y,
                        [&](float qx, float qy) { return sdPolygon(qx, qy, t); },
                        [&](float, float) { return l.color; });
                }
                mNear.fill(
                    px - 2 * u, ground - 8 * u, px + 2 * u, ground + u,
                    [&](float qx, float qy)
                    { return sdRoundBox(qx, qy, px - 1.5f * u, ground - 8 * u, 3 * u, 9 * u, 0); },
                    [&](float, float) { return l.color; });
            }
        }
        if (layerIndex == 0)
            mMistFar = mistLayer(width, height, 0.70f, 0.07f, 0.75f, Color::rgb(0xF4D8C8), 51);
        ++layerIndex;
    }
    mMistNear = mistLayer(width, height, 0.84f, 0.06f, 0.6f, Color::rgb(0xE8C8C0), 77);
}

void Landscape::render(Canvas& out, float phase) const
{
    const float W = static_cast<float>(mWidth), H = static_cast<float>(mHeight);
    out = mSky;
    drawShifted(out, mMistFar, phase * W / 2);
    // Middle ridge and its mist, then the nearest ridge: the near layer holds both.
    out.draw(mNear, 0, 0);
    drawShifted(out, mMistNear, -phase * W / 2);
    // Lantern sparks rising from the valley: each crosses the picture a
    // whole number of times per loop.
    for (int i = 0; i < 14; ++i)
    {
        float seedX = valueNoise(i * 3.1f, 0.5f, 0, 0, 901);
        float seedY = valueNoise(i * 7.7f, 1.5f, 0, 0, 902);
        float t = std::fmod(seedY + phase * (1 + i % 2), 1.0f);
        float x = (seedX * 0.9f + 0.05f) * W + std::sin((t + seedX) * kTwoPi) * 0.02f * W;
        float y = H * (1.02f - 0.55f * t);
        float r = (1.2f + seedX * 1.3f) * W / 512.0f;
        float alpha = std::sin(t * 3.14159f) * 0.85f;
        out.fill(
            x - 4 * r, y - 4 * r, x + 4 * r, y + 4 * r,
            [&](float px, float py) { return sdCircle(px, py, x, y, 3.5f * r); },
            [&](float px, float py)
            {
                float d = std::hypot(px - x, py - y) / r;
                return Color::rgb(0xFFC870, alpha * std::exp(-d * d * 0.35f));
            });
    }
    // A soft vignette keeps the menu in front readable.
    out.fillAll(
        [&](float x, float y)
        {
            float dx = (x / W - 0.5f) * 1.6f, dy = (y / H - 0.5f) * 1.6f;
            return Color{0, 0, 0, clamp01((dx * dx + dy * dy) - 0.35f) * 0.6f};
        });
}

} // namespace Raster
