// Full pictures: the two intro screens, the title, the board background,
// the header and board pictures, the closing screen and the small logo.
#include "ImageDrawing.h"
#include "raster/Landscape.h"

#include <cmath>

using namespace Raster;

namespace
{

// The title on its plaque: gold letters on red lacquer with sweeping ends.
Canvas titlePlaque(const Theme& theme, ImageFonts& fonts, int width, int height)
{
    Canvas c(width, height);
    float W = static_cast<float>(width), H = static_cast<float>(height);
    float bx = H * 0.45f, by = H * 0.14f, bw = W - 2 * bx, bh = H * 0.68f;
    Canvas layer(width, height);
    // Swept ends, like the eaves of a roof.
    for (float side : {-1.0f, 1.0f})
    {
        float ex = side < 0 ? bx + 10 : W - bx - 10;
        // An upswept eave: the upper edge curls up to the tip, the lower
        // edge sweeps back under it.
        std::vector<Point> wing;
        const float reach = bx - 4, tipY = by - H * 0.1f;
        for (int i = 0; i <= 12; ++i)
        {
            float t = i / 12.0f;
            wing.push_back({ex + side * reach * t, by + 6 + (tipY - by - 6) * t * t});
        }
        for (int i = 12; i >= 0; --i)
        {
            float t = i / 12.0f;
            float lower = by + bh * 0.62f + (tipY + 6 - by - bh * 0.62f) * std::pow(t, 1.6f);
            wing.push_back({ex + side * reach * t * 0.97f, lower});
        }
        float x0, y0, x1, y1;
        bounds(wing, x0, y0, x1, y1);
        layer.fill(
            x0, y0, x1, y1, [&](float x, float y) { return sdPolygon(x, y, wing) - 2.5f; },
            [&](float, float y) { return theme.gold((y - y0) / (y1 - y0)); });
        layer.fill(
            x0, y0, x1, y1, [&](float x, float y) { return sdPolygon(x, y, wing) + 1.0f; },
            [&](float, float y) { return theme.lacquer((y - y0) / (y1 - y0)); });
        // A gold finial on the tip, as on the windows' roofs.
        float fx = ex + side * reach, fy = tipY + 2;
        theme.goldShape(
            layer, fx - 6, fy - 6, fx + 6, fy + 6,
            [&](float x, float y) { return sdCircle(x, y, fx, fy, 4.5f); }, ButtonState::Released, 1.0f);
    }
    theme.lacquerPlaque(layer, bx, by, bw, bh, bh * 0.22f, 4);
    c.draw(layer.shadow({0, 0, 0, 0.6f}, 6, 0, 4), 0, 0);
    c.draw(layer, 0, 0);
    theme.goldText(c, fonts.display, "Velmorique", W / 2, by + bh / 2, bh * 0.78f, bw - 40);
    return c;
}

// A dark silk ground with faint gold clouds.
void silk(Canvas& c, const Theme& theme, uint32_t seed)
{
    float W = static_cast<float>(c.width()), H = static_cast<float>(c.height());
    c.setAll(
        [&](float x, float y)
        {
            float dx = x / W - 0.5f, dy = y / H - 0.45f;
            float r = std::sqrt(dx * dx + dy * dy);
            Color base = mix(Color::rgb(0x4A1E14), Color::rgb(0x120806), clamp01(r * 1.5f));
            float weave = 0.5f + 0.5f * std::sin(x * 1.3f) * std::sin(y * 1.3f);
            float n = fbm(x / 160.0f, y / 160.0f, 0, 0, 4, seed);
            base = mix(base, Color::rgb(0x6A3020), clamp01(n - 0.45f) * 0.8f);
            return mix(base, base.scaled(1.12f), weave * 0.25f);
        });
    // A faint wave pattern (seigaiha): rows of concentric arcs, each row
    // laid over the one above it.
    const float r = 34;
    std::vector<float> lines(static_cast<size_t>(c.width()) * c.height(), 0.0f);
    for (int row = -1; row * r * 0.5f < H + r; ++row)
        for (int col = -1; col * 2 * r < W + 2 * r; ++col)
        {
            float cx = col * 2 * r + (row % 2 ? r : 0), cy = row * r * 0.5f;
            for (int y = std::max(0, static_cast<int>(cy - r));
                 y < std::min(c.height(), static_cast<int>(cy + 1)); ++y)
                for (int x = std::max(0, static_cast<int>(cx - r));
                     x < std::min(c.width(), static_cast<int>(cx + r)); ++x)
                {
                    float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy);
                    if (d > r)
                        continue;
                    float ring = std::fabs(std::fmod(d, r / 4) - r / 8) / (r / 8); // 0 on a ring, 1 between
                    lines[static_cast<size_t>(y) * c.width() + x] =
                        clamp01(1.6f - ring * 2.2f) * (d > r - 1 ? 0 : 1);
                }
        }
    c.fillAll(
        [&](float x, float y)
        {
            float v = lines[static_cast<size_t>(y) * c.width() + static_cast<size_t>(x)];
            float fade = 1.0f - clamp01(std::hypot(x / W - 0.5f, y / H - 0.45f) * 1.4f);
            return theme.p["gold.dark"].withAlpha(v * (0.05f + 0.08f * fade));
        });
}

} // namespace

void drawScreens(ImageWriter& out, const Theme& theme, ImageFonts& fonts)
{
    out.png(titlePlaque(theme, fonts, 560, 104), "VMQ titre.png");

    // Board background, behind the 3D board.
    {
        Canvas c(1024, 768);
        silk(c, theme, 301);
        out.jpeg(c, "fond.jpg");
    }

    // Header picture.
    {
        Canvas c(1024, 128);
        silk(c, theme, 401);
        c.draw(titlePlaque(theme, fonts, 520, 100), 252, 14);
        out.jpeg(c, "TNV Header.jpg");
    }
    // The board alone.
    {
        Canvas c(512, 400);
        silk(c, theme, 501);
        Canvas board = boardDiagram(theme, fonts, 52, true);
        c.drawScaled(board, (512 - board.width()) / 2.0f, (400 - board.height()) / 2.0f,
                     static_cast<float>(board.width()), static_cast<float>(board.height()));
        out.jpeg(c, "TNV Plateau Alone.jpg");
    }

    // Publisher's logo (first intro screen; faded in over black).
    auto emblem = [&](Canvas& c, float cx, float cy, float r)
    {
        c.fill(
            cx - r - 4, cy - r - 4, cx + r + 4, cy + r + 4,
            [&](float x, float y) { return sdCircle(x, y, cx, cy, r); },
            [&](float, float y) { return theme.gold((y - cy + r) / (2 * r)); });
        c.fill(
            cx - r, cy - r, cx + r, cy + r,
            [&](float x, float y) { return sdCircle(x, y, cx, cy, r * 0.88f); },
            [&](float x, float y)
            {
                Color j = theme.jade((y - cy + r) / (2 * r));
                float m = fbm(x / (r * 0.4f), y / (r * 0.4f), 0, 0, 4, 12) - 0.5f;
                return mix(j, theme.p["jade.light"], std::max(0.0f, m) * 0.6f);
            });
        // Three peaks and a sun: the lorvanta mark.
        std::vector<Point> peaks = {{cx - r * 0.62f, cy + r * 0.38f},
                                    {cx - r * 0.3f, cy - r * 0.18f},
                                    {cx - r * 0.1f, cy + r * 0.08f},
                                    {cx + r * 0.18f, cy - r * 0.42f},
                                    {cx + r * 0.62f, cy + r * 0.38f}};
        theme.goldShape(
            c, cx - r, cy - r, cx + r, cy + r,
            [&](float x, float y)
            {
                float d = sdPolygon(x, y, peaks);
                d = std::min(d, sdCircle(x, y, cx - r * 0.38f, cy - r * 0.45f, r * 0.12f));
                d = std::min(d, sdRoundBox(x, y, cx - r * 0.62f, cy + r * 0.47f, r * 1.24f, r * 0.07f, 2));
                return d;
            },
            ButtonState::Released, 1.5f);
    };
    {
        Canvas c(640, 360);
        emblem(c, 320, 130, 95);
        theme.goldText(c, fonts.display, "LORVANTA", 320, 278, 62, 560);
        fonts.serifItalic.setSize(22);
        std::string line = "présente";
        float w = fonts.serifItalic.measure(line);
        fonts.serifItalic.draw(c, line, 320 - w / 2, 338, theme.p["parchment.light"]);
        out.png(c, "logo lorvanta.png");
    }
    {
        Canvas c(180, 56);
        emblem(c, 28, 28, 24);
        theme.goldText(c, fonts.display, "LORVANTA", 115, 29, 24, 118);
        out.png(c, "logoLorvanta.png");
    }
    // Second intro screen: the studio's logo on black.
    {
        Canvas c(800, 450, {0, 0, 0, 1});
        c.fillAll(
            [&](float x, float y)
            {
                float d = std::hypot(x - 400, y - 200) / 400;
                return Color::rgb(0x3A0C08, clamp01(1.0f - d) * 0.8f);
            });
        Canvas mark(800, 450);
        // A lacquer seal with a gold "M".
        theme.lacquerPlaque(mark, 330, 70, 140, 140, 18, 5);
        theme.goldText(mark, fonts.display, "M", 400, 140, 118, 120);
        c.draw(mark.shadow({0, 0, 0, 0.8f}, 8, 0, 6), 0, 0);
        c.draw(mark, 0, 0);
        theme.goldText(c, fonts.display, "MORVEX GAMES", 400, 290, 58, 700);
        out.jpeg(c, "morvex games logo.jpg");
    }
    // Closing screen: the landscape at dusk with the title.
    {
        Canvas c(1024, 768);
        Landscape land(1024, 768, theme);
        land.render(c, 0.37f);
        Canvas title = titlePlaque(theme, fonts, 720, 134);
        c.draw(title, (1024 - 720) / 2, 250);
        theme.goldText(c, fonts.serifItalic, "À bientôt !", 512, 440, 40, 600);
        // The credits link, in the area (362, 660, 300, 64) that the game
        // description's end-screen link group makes clickable
        // (assets/game.xml).
        theme.goldText(c, fonts.serifItalic, "Crédits", 512, 692, 30, 300);
        fonts.serifItalic.setSize(30);
        float half = fonts.serifItalic.measure("Crédits") / 2;
        c.fill(
            512 - half, 705, 512 + half, 711,
            [&](float x, float y) { return sdSegment(x, y, 512 - half, 708, 512 + half, 708) - 1.0f; },
            [&](float x, float) { return theme.gold(0.3f + 0.4f * (x - 512 + half) / (2 * half)); });
        out.jpeg(c, "fin VMQ.jpg");
    }
}
