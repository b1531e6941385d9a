// Piece tokens and the board diagram of the help pages.
#include "ImageDrawing.h"

#include <cmath>

using namespace Raster;

namespace
{
// Noto Color Emoji pictures of the animals, by rank.
constexpr std::array<char32_t, 8> kAnimalEmoji = {U'\U0001F400', U'\U0001F408', U'\U0001F43A', U'\U0001F415',
                                                  U'\U0001F406', U'\U0001F405', U'\U0001F981', U'\U0001F418'};

int terrain(int x, int y)
{
    if (x >= 3 && x <= 5 && (y == 1 || y == 2 || y == 4 || y == 5))
        return 0; // water
    if ((x == 0 && (y == 2 || y == 4)) || (x == 1 && y == 3))
        return 2; // trap of side 0
    if ((x == 8 && (y == 2 || y == 4)) || (x == 7 && y == 3))
        return 3;
    if (x == 0 && y == 3)
        return 4; // den of side 0
    if (x == 8 && y == 3)
        return 5;
    return 1;
}

constexpr std::array<std::array<int, 2>, 8> kOpening = {
    {{2, 6}, {1, 1}, {2, 2}, {1, 5}, {2, 4}, {0, 0}, {0, 6}, {2, 0}}};
} // namespace

Canvas pieceIcon(const Theme& theme, ImageFonts& fonts, int rank, int side, int size)
{
    Canvas c(size, size);
    float s = static_cast<float>(size);
    float cx = s / 2, cy = s / 2 - s * 0.02f, r = s * 0.45f;
    // Shadow, gold rim, disc.
    c.fill(
        0, 0, s, s, [&](float x, float y) { return sdCircle(x, y, cx, cy + s * 0.03f, r); },
        [&](float, float) {
            return Color{0, 0, 0, 0.45f};
        });
    c.fill(
        0, 0, s, s, [&](float x, float y) { return sdCircle(x, y, cx, cy, r); },
        [&](float, float y) { return theme.gold((y - (cy - r)) / (2 * r)); });
    float ir = r - s * 0.055f;
    c.fill(
        0, 0, s, s, [&](float x, float y) { return sdCircle(x, y, cx, cy, ir); },
        [&](float x, float y)
        {
            float t = (y - (cy - ir)) / (2 * ir);
            float d = std::hypot(x - cx, y - cy) / ir;
            Color base = side == 0 ? mix(theme.p["ivory"], theme.p["parchment.mid"], t * 0.7f)
                                   : mix(Color::rgb(0x4A3A34), theme.p["ebony"], t);
            return mix(base, side == 0 ? theme.p["parchment.dark"] : Color::rgb(0x0A0606),
                       smoothstep(0.75f, 1.0f, d) * 0.5f);
        });
    // The animal.
    Canvas animal = fonts.emoji.colorGlyph(kAnimalEmoji[rank]);
    if (animal.width() > 0)
    {
        float box = ir * 1.7f;
        float aw = box, ah = box * animal.height() / animal.width();
        c.drawScaled(animal.shadow({0, 0, 0, side == 0 ? 0.35f : 0.6f}, 0, 0, 0), cx - aw / 2 + s * 0.01f,
                     cy - ah / 2 + s * 0.025f, aw, ah);
        c.drawScaled(animal, cx - aw / 2, cy - ah / 2, aw, ah);
    }
    // Gloss.
    c.fill(
        0, 0, s, s, [&](float x, float y) { return sdCircle(x, y, cx, cy - ir * 0.45f, ir * 0.7f); },
        [&](float, float y) {
            return Color{1, 1, 1, 0.16f * clamp01(1.0f - (y - (cy - ir)) / ir)};
        });
    return c;
}

Canvas boardDiagram(const Theme& theme, ImageFonts& fonts, int cell, bool withPieces)
{
    const int border = cell / 4;
    Canvas c(9 * cell + 2 * border, 7 * cell + 2 * border);
    float W = static_cast<float>(c.width()), H = static_cast<float>(c.height());
    c.fill(
        0, 0, W, H, [&](float x, float y) { return sdRoundBox(x, y, 0, 0, W, H, border); },
        [&](float x, float y)
        {
            float d = -sdRoundBox(x, y, 0, 0, W, H, border);
            return d < 3 ? theme.gold(d / 3) : theme.lacquer(0.3f + 0.5f * y / H);
        });
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9; ++x)
        {
            float x0 = border + x * cell + 1.0f, y0 = border + y * cell + 1.0f, w = cell - 2.0f;
            int t = terrain(x, y);
            c.fill(
                x0, y0, x0 + w, y0 + w,
                [&](float px, float py) { return sdRoundBox(px, py, x0, y0, w, w, 2); },
                [&](float px, float py)
                {
                    float n = fbm(px / 9.0f, py / 9.0f, 0, 0, 3, 17) - 0.5f;
                    if (t == 0)
                    {
                        float wave = std::sin((px * 0.35f + std::sin(py * 0.4f) * 2.0f)) * 0.5f + 0.5f;
                        Color water = mix(Color::rgb(0x2F6F9E), Color::rgb(0x6FB0D8), 0.3f + n);
                        return mix(water, Color::rgb(0xCFE8F5), smoothstep(0.85f, 1.0f, wave) * 0.4f);
                    }
                    Color land = mix(Color::rgb(0xB8C98C), Color::rgb(0x8FA868), 0.5f + n);
                    return land;
                });
            float cx = x0 + w / 2, cy = y0 + w / 2;
            if (t == 2 || t == 3)
            {
                // A trap: a lacquer ring with a cross of spikes.
                c.fill(
                    x0, y0, x0 + w, y0 + w,
                    [&](float px, float py)
                    {
                        float ring = std::fabs(sdCircle(px, py, cx, cy, w * 0.32f)) - w * 0.05f;
                        float a =
                            sdSegment(px, py, cx - w * 0.2f, cy - w * 0.2f, cx + w * 0.2f, cy + w * 0.2f) -
                            w * 0.04f;
                        float b =
                            sdSegment(px, py, cx - w * 0.2f, cy + w * 0.2f, cx + w * 0.2f, cy - w * 0.2f) -
                            w * 0.04f;
                        return std::min(ring, std::min(a, b));
                    },
                    [&](float, float) { return theme.p["lacquer.mid"]; });
            }
            else if (t == 4 || t == 5)
            {
                // A den: a small gold temple on lacquer.
                c.fill(
                    x0, y0, x0 + w, y0 + w,
                    [&](float px, float py) { return sdRoundBox(px, py, x0 + 2, y0 + 2, w - 4, w - 4, 3); },
                    [&](float, float py) { return theme.lacquer((py - y0) / w); });
                float u = w / 10.0f;
                std::vector<Point> roof = {{cx - 4.2f * u, cy - 1.0f * u},
                                           {cx - 3.0f * u, cy - 2.6f * u},
                                           {cx + 3.0f * u, cy - 2.6f * u},
                                           {cx + 4.2f * u, cy - 1.0f * u}};
                theme.goldShape(
                    c, x0, y0, x0 + w, y0 + w,
                    [&](float px, float py)
                    {
                        float d = sdPolygon(px, py, roof);
                        d = std::min(d,
                                     sdRoundBox(px, py, cx - 3 * u, cy - 0.6f * u, 1.2f * u, 3.6f * u, 0.3f));
                        d = std::min(
                            d, sdRoundBox(px, py, cx + 1.8f * u, cy - 0.6f * u, 1.2f * u, 3.6f * u, 0.3f));
                        d = std::min(d, sdRoundBox(px, py, cx - 4 * u, cy + 3 * u, 8 * u, 1.1f * u, 0.3f));
                        d = std::min(d, sdCircle(px, py, cx, cy - 3.3f * u, 0.7f * u));
                        return d;
                    },
                    ButtonState::Released, 1.0f);
            }
        }
    if (withPieces)
        for (int side = 0; side < 2; ++side)
            for (int rank = 0; rank < 8; ++rank)
            {
                int x = kOpening[rank][0], y = kOpening[rank][1];
                if (side == 1)
                    x = 8 - x, y = 6 - y;
                Canvas icon = pieceIcon(theme, fonts, rank, side, cell * 2);
                c.drawScaled(icon, border + x * cell + cell * 0.06f, border + y * cell + cell * 0.06f,
                             cell * 0.88f, cell * 0.88f);
            }
    return c;
}
