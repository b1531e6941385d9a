// The five nine-part frames. Each is drawn whole, as one window whose middle
// runs straight, and then cut into its nine parts, so that corners and
// borders meet without a seam; the borders are stretched along their length
// by the game, so nothing in the straight middle varies along it.
#include "SkinDrawing.h"

using namespace Raster;

namespace
{

// Cuts the reference window into its nine files. Background: the middle, or
// the given tile for frames whose background repeats.
void cutNine(SkinWriter& out, const Canvas& ref, int L, int T, int R, int B, const std::string& prefix,
             const Canvas* tile)
{
    const int W = ref.width(), H = ref.height();
    const int midW = W - L - R, midH = H - T - B;
    const int run = 16; // border length; the game stretches it
    int bx = L + (midW - run) / 2, by = T + (midH - run) / 2;
    out.save(ref.crop(0, by, L, run), prefix + "BordureGauche.png");
    out.save(ref.crop(W - R, by, R, run), prefix + "BordureDroite.png");
    out.save(ref.crop(bx, 0, run, T), prefix + "BordureHaut.png");
    out.save(ref.crop(bx, H - B, run, B), prefix + "BordureBas.png");
    out.save(ref.crop(0, 0, L, T), prefix + "CoinHautGauche.png");
    out.save(ref.crop(W - R, 0, R, T), prefix + "CoinHautDroit.png");
    out.save(ref.crop(0, H - B, L, B), prefix + "CoinBasGauche.png");
    out.save(ref.crop(W - R, H - B, R, B), prefix + "CoinBasDroit.png");
    out.save(tile ? *tile : ref.crop(L, T, midW, midH), prefix + "Fond.png");
}

// A parchment tile that repeats without a seam (period = the tile size).
Canvas parchmentTile(const Theme& theme, int size, float strength, Color tint, float tintAmount,
                     uint32_t seed)
{
    Canvas tile(size, size);
    int period = size / 32;
    tile.setAll(
        [&](float x, float y)
        {
            float n = fbm(x / 32.0f, y / 32.0f, period, period, 4, seed) - 0.5f;
            float fibre = valueNoise(x / 4.0f, y / 32.0f, size / 4, period, seed + 3) - 0.5f;
            Color base = mix(theme.p["parchment.mid"], tint, tintAmount);
            Color c = n > 0 ? mix(base, theme.p["parchment.light"], n * 1.5f * strength)
                            : mix(base, theme.p["parchment.dark"], -n * 1.3f * strength);
            return mix(c, theme.p["parchment.dark"], std::max(0.0f, fibre) * 0.15f * strength);
        });
    return tile;
}

} // namespace

void drawChineseWindow(SkinWriter& out, const Theme& theme)
{
    // Margins of the frame: left 189, top 164, right 186, bottom 115.
    const int L = 189, T = 164, R = 186, B = 115, mid = 192;
    const int W = L + R + mid, H = T + B + mid;
    Canvas ref(W, H);
    Canvas body(W, H);

    // Lacquer frame with its gold rim, and the parchment inside it.
    const float fx0 = 58, fy0 = 84, fx1 = W - 58, fy1 = H - 34;
    const float px0 = 102, py0 = 124, px1 = W - 102, py1 = H - 76;
    body.fill(
        fx0, fy0, fx1, fy1,
        [&](float x, float y) { return sdRoundBox(x, y, fx0, fy0, fx1 - fx0, fy1 - fy0, 12); },
        [&](float x, float y)
        {
            float d = -sdRoundBox(x, y, fx0, fy0, fx1 - fx0, fy1 - fy0, 12);
            if (d < 4)
                return theme.gold(d / 4.0f);
            // Across the frame band: light near the outer edge, deep near the parchment.
            float inner = -sdRoundBox(x, y, px0, py0, px1 - px0, py1 - py0, 6);
            float across = clamp01(1.0f + inner / 40.0f);
            Color c = theme.lacquer(0.2f + 0.7f * across);
            // A fine gold line in the middle of the band.
            if (std::fabs(d - 14.0f) < 1.0f)
                c = mix(c, theme.gold(0.3f), 0.8f);
            return c;
        });
    // Gold bead around the parchment.
    body.fill(
        px0 - 6, py0 - 6, px1 + 6, py1 + 6,
        [&](float x, float y)
        { return sdRoundBox(x, y, px0 - 5, py0 - 5, px1 - px0 + 10, py1 - py0 + 10, 9); },
        [&](float x, float y)
        {
            float d = -sdRoundBox(x, y, px0 - 5, py0 - 5, px1 - px0 + 10, py1 - py0 + 10, 9);
            return theme.gold(1.0f - d / 5.0f);
        });
    // Parchment: smooth near the frame, textured only inside the client area
    // (the background part), fading to the smooth colour at its edges.
    body.fill(
        px0, py0, px1, py1,
        [&](float x, float y) { return sdRoundBox(x, y, px0, py0, px1 - px0, py1 - py0, 6); },
        [&](float x, float y)
        {
            float inside = std::min(std::min(x - L, W - R - x), std::min(y - T, H - B - y));
            float strength = smoothstep(0.0f, 24.0f, inside);
            Color c = theme.parchment(x, y, strength);
            // Shadow of the bead on the parchment.
            float edge = -sdRoundBox(x, y, px0, py0, px1 - px0, py1 - py0, 6);
            return mix(c, theme.p["parchment.dark"], 0.55f * (1.0f - smoothstep(0.0f, 10.0f, edge)));
        });
    // Gold key frets in the four inner corners of the parchment; they stay
    // inside the corner parts, which are not stretched.
    auto bracket = [&](float cx, float cy, float sx, float sy)
    {
        float x0 = std::min(cx, cx + 40 * sx), x1 = std::max(cx, cx + 40 * sx);
        float y0 = std::min(cy, cy + 40 * sy), y1 = std::max(cy, cy + 40 * sy);
        theme.goldShape(
            body, x0, y0, x1, y1,
            [&](float x, float y) { return sdFretCorner((x - cx) * sx, (y - cy) * sy, 0.45f); },
            ButtonState::Released, 0.9f);
    };
    bracket(px0 + 6, py0 + 6, 1, 1);
    bracket(px1 - 6, py0 + 6, -1, 1);
    bracket(px0 + 6, py1 - 6, 1, -1);
    bracket(px1 - 6, py1 - 6, -1, -1);

    // Plinth under the frame, hardly wider than it: the tallest dialogs
    // reach the bottom corners of the screen, where the publisher's logo
    // sits under the menus.
    const float plinth = 64;
    body.fill(
        plinth, H - 44, W - plinth, H - 18,
        [&](float x, float y) { return sdRoundBox(x, y, plinth, H - 44, W - 2 * plinth, 26, 5); },
        [&](float, float y)
        {
            float t = (y - (H - 44)) / 26.0f;
            if (t < 0.14f)
                return theme.gold(t / 0.14f);
            return mix(theme.p["ebony"], theme.p["lacquer.dark"], 0.5f * (1 - t));
        });

    // The roof: a ridge and an eave that sweep up at both ends. It starts
    // a little below the top of the frame's picture: the tallest dialogs are
    // a few pixels taller than the screen, and their roofs must not lose
    // their tips.
    const float rx0 = 10, rx1 = W - 10, zone = 120, drop = 10;
    auto lines = [&](float x, float& ridge, float& eave)
    {
        float u = std::min(x - rx0, rx1 - x);
        float s = std::max(0.0f, 1.0f - u / zone);
        ridge = drop + 30 - 24 * s * s;
        eave = drop + 104 - 66 * s * s;
    };
    body.fill(
        rx0, drop, rx1, drop + 110,
        [&](float x, float y)
        {
            float ridge, eave;
            lines(x, ridge, eave);
            float u = std::min(x - rx0, rx1 - x);
            return std::max(std::max(ridge - y, y - eave), -u) * 0.8f;
        },
        [&](float x, float y)
        {
            float ridge, eave;
            lines(x, ridge, eave);
            float v = (y - ridge) / (eave - ridge);
            float span = eave - ridge;
            float fromRidge = y - ridge, toEave = eave - y;
            if (fromRidge < 8)
                return theme.gold(fromRidge / 8.0f); // ridge cap
            if (toEave < 7)
                return theme.gold(1.0f - toEave / 7.0f); // eave board
            // Courses of tiles: rows darker at their lower lip.
            float rows = 5.0f;
            float f = (v * rows) - std::floor(v * rows);
            Color c = theme.lacquer(0.15f + 0.8f * v);
            c = c.scaled(0.78f + 0.3f * f);
            if (f > 0.9f)
                c = mix(c, theme.gold(0.5f), 0.35f);
            (void)span;
            return c;
        });
    // Finials on the roof tips.
    for (float cx : {rx0 + 6.0f, rx1 - 6.0f})
        theme.goldShape(
            body, cx - 9, drop, cx + 9, drop + 20,
            [&](float x, float y) { return sdCircle(x, y, cx, drop + 10, 7); }, ButtonState::Released, 1.2f);

    // Soft shadow of the whole frame, then the frame over it.
    Canvas shadow = body.shadow({0, 0, 0, 0.55f}, 10, 0, 7);
    ref.draw(shadow, 0, 0);
    ref.draw(body, 0, 0);
    cutNine(out, ref, L, T, R, B, "fenetreChinoise", nullptr);
}

void drawSmallWindow(SkinWriter& out, const Theme& theme)
{
    // Margins 40, 31, 37, 28; the background repeats.
    const int L = 40, T = 31, R = 37, B = 28, mid = 64;
    const int W = L + R + mid, H = T + B + mid;
    Canvas tile = parchmentTile(theme, 128, 0.8f, theme.p["parchment.light"], 0.2f, 11);
    Canvas ref(W, H);
    ref.fill(
        0, 0, W, H, [&](float x, float y) { return sdRoundBox(x, y, 1, 1, W - 2, H - 2, 9); },
        [&](float x, float y)
        {
            float d = -sdRoundBox(x, y, 1, 1, W - 2, H - 2, 9);
            if (d < 3)
                return theme.gold(d / 3.0f);
            // Distance to the client area, in the frame band.
            float inner = std::max(std::max(L - x, x - (W - R)), std::max(T - y, y - (H - B)));
            if (inner < 4)
                return theme.gold(1.0f - inner / 4.0f);
            // The title band darkens downwards and is even from T - 8 on,
            // where it meets the side borders.
            Color c = theme.lacquer(0.1f + 0.35f * clamp01(y / (T - 8.0f)));
            if (std::fabs(d - 6.0f) < 0.7f)
                c = mix(c, theme.gold(0.3f), 0.6f);
            // Recessed towards the client area, with a second fine line.
            c = c.scaled(0.78f + 0.22f * smoothstep(4.0f, 14.0f, inner));
            if (std::fabs(inner - 9.0f) < 0.6f)
                c = mix(c, theme.gold(0.4f), 0.5f);
            return c;
        });
    // Gloss along the title band.
    ref.fill(
        4, 4, W - 4, T - 6, [&](float x, float y) { return sdRoundBox(x, y, 5, 4, W - 10, T - 12, 6); },
        [&](float, float y) {
            return Color{1, 0.9f, 0.8f, 0.16f * (1.0f - (y - 4) / (T - 8))};
        });
    // Tile drawn in the middle so that the reference shows the whole window.
    for (int y = T; y < H - B; ++y)
        for (int x = L; x < W - R; ++x)
            ref.at(x, y) = tile.at((x - L) % tile.width(), (y - T) % tile.height());
    cutNine(out, ref, L, T, R, B, "fenetrePetite", &tile);
}

void drawInfotip(SkinWriter& out, const Theme& theme)
{
    // Margins 2, 2, 4, 4: a hairline, and a small shadow right and below.
    const int L = 2, T = 2, R = 4, B = 4, mid = 32;
    const int W = L + R + mid, H = T + B + mid;
    Canvas tile = parchmentTile(theme, 64, 0.35f, theme.p["ivory"], 0.55f, 23);
    Canvas ref(W, H);
    Color line = theme.p["lacquer.mid"];
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
        {
            bool inBox = x < W - 2 && y < H - 2;
            if (inBox && (x == 0 || y == 0 || x == W - 3 || y == H - 3))
                ref.set(x, y, line);
            else if (inBox && (x == 1 || y == 1 || x == W - 4 || y == H - 4))
                ref.set(x, y, theme.p["gold.mid"]);
            else if (!inBox && x >= 1 && y >= 1)
                ref.set(x, y, {0, 0, 0, (x >= W - 2 && y >= H - 2) ? 0.22f : 0.3f});
            else if (inBox)
                ref.at(x, y) = tile.at(x % tile.width(), y % tile.height());
        }
    cutNine(out, ref, L, T, R, B, "infotip", &tile);
}

void drawContainer(SkinWriter& out, const Theme& theme)
{
    // Margins 4 on every side: a sunken field with a gold edge.
    const int M = 4, mid = 32;
    const int W = 2 * M + mid, H = 2 * M + mid;
    Canvas tile = parchmentTile(theme, 64, 0.3f, theme.p["ivory"], 0.45f, 41);
    // The rim is one flat colour along each side (the tile's mean), so the
    // stretched borders show no streaks; top and left are in shade.
    Color mean{0, 0, 0, 1};
    for (int y = 0; y < tile.height(); ++y)
        for (int x = 0; x < tile.width(); ++x)
        {
            Color c = tile.colorAt(x, y);
            mean.r += c.r, mean.g += c.g, mean.b += c.b;
        }
    float n = static_cast<float>(tile.width() * tile.height());
    mean.r /= n, mean.g /= n, mean.b /= n;
    Canvas ref(W, H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
        {
            int fromLeft = x, fromTop = y, fromRight = W - 1 - x, fromBottom = H - 1 - y;
            int edge = std::min(std::min(fromLeft, fromTop), std::min(fromRight, fromBottom));
            bool shaded = std::min(fromLeft, fromTop) <= std::min(fromRight, fromBottom);
            if (edge == 0)
                ref.set(x, y, theme.gold(shaded ? 0.9f : 0.2f));
            else if (edge == 1)
                ref.set(x, y, theme.p["lacquer.dark"]);
            else if (edge < M - 1)
                ref.set(x, y, shaded ? mix(mean, theme.p["ink"], 0.3f) : mix(mean, theme.p["ivory"], 0.3f));
            else if (edge < M)
                // The innermost ring is the same on every side: where two
                // sides meet, the corner part must continue both.
                ref.set(x, y, mix(mean, theme.p["ink"], 0.08f));
            else
                ref.at(x, y) = tile.at(x % tile.width(), y % tile.height());
        }
    cutNine(out, ref, M, M, M, M, "container", &tile);
}

void drawTutorialFrame(SkinWriter& out, const Theme& theme)
{
    // Margins 8, 76, 16, 34: a hanging scroll of dark lacquer whose text is
    // white; a rod on top, a rod at the bottom. The window has no title, so
    // its top margin (where it is dragged from) is plain scroll, not a band
    // waiting for one.
    const int L = 8, T = 76, R = 16, B = 34, mid = 96;
    const int W = L + R + mid, H = T + B + mid;
    Canvas body(W, H);
    const float panelRight = W - 6.0f;
    // Panel.
    body.fill(
        0, 8, panelRight, H - 12,
        [&](float x, float y) { return sdRoundBox(x, y, 1, 8, panelRight - 1, H - 20, 3); },
        [&](float x, float y)
        {
            float d = -sdRoundBox(x, y, 1, 8, panelRight - 1, H - 20, 3);
            if (d < 2)
                return theme.gold(0.4f);
            Color c = mix(theme.p["ebony"], theme.p["lacquer.dark"], 0.35f);
            return c.withAlpha(0.93f);
        });
    // Rods, top and bottom, with gold caps at their ends.
    auto rod = [&](float cy)
    {
        body.fill(
            0, cy - 7, W, cy + 7, [&](float x, float y) { return sdRoundBox(x, y, 0, cy - 6, W - 1, 12, 6); },
            [&](float x, float y)
            {
                float t = (y - (cy - 6)) / 12.0f;
                bool cap = x < 6 || x > W - 9;
                if (cap)
                    return theme.gold(t);
                Color wood = mix(Color::rgb(0x6B3A1E), Color::rgb(0x2A140A), t);
                return mix(wood, Color::rgb(0xA0643A), std::max(0.0f, 0.4f - std::fabs(t - 0.3f)) * 1.2f);
            });
    };
    rod(7);
    rod(H - 14);
    Canvas ref(W, H);
    ref.draw(body.shadow({0, 0, 0, 0.5f}, 4, 3, 3), 0, 0);
    ref.draw(body, 0, 0);
    cutNine(out, ref, L, T, R, B, "cadreTutorial", nullptr);
}
