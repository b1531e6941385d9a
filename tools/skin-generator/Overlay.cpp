// cadre.png: drawn over the whole 3D board view (1024 x 768). Its middle is
// clear so the board shows; it frames the screen, carries the plaque behind
// the clock and the turn label (white text at (465, 117) and (465, 145),
// 108 x 24 each) and the bar behind the five board buttons (121 x 64 at
// y 690, x 240 + 141 n).
#include "SkinDrawing.h"

using namespace Raster;

void drawBoardOverlay(SkinWriter& out, const Theme& theme)
{
    const int W = 1024, H = 768;
    Canvas layer(W, H);

    // A narrow lacquer frame round the screen with a gold inner edge.
    const float band = 12;
    layer.fill(
        0, 0, W, H,
        [&](float x, float y) { return -sdRoundBox(x, y, band, band, W - 2 * band, H - 2 * band, 18); },
        [&](float x, float y)
        {
            float inner = -sdRoundBox(x, y, band, band, W - 2 * band, H - 2 * band, 18);
            float t = clamp01(-inner / band);
            if (-inner < 3)
                return theme.gold(-inner / 3.0f);
            return theme.lacquer(0.3f + 0.6f * (1 - t));
        });
    // Gold key-fret corners.
    auto corner = [&](float cx, float cy, float sx, float sy)
    {
        theme.goldShape(
            layer, std::min(cx, cx + 80 * sx), std::min(cy, cy + 80 * sy), std::max(cx, cx + 80 * sx),
            std::max(cy, cy + 80 * sy),
            [&](float x, float y) { return sdFretCorner((x - cx) * sx, (y - cy) * sy, 1.15f); },
            ButtonState::Released, 1.2f);
    };
    corner(band + 4, band + 4, 1, 1);
    corner(W - band - 4, band + 4, -1, 1);
    corner(band + 4, H - band - 4, 1, -1);
    corner(W - band - 4, H - band - 4, -1, -1);

    // Bar behind the board buttons.
    const float bx = 222, by = 680, bw = 580, bh = 100;
    layer.fill(
        bx - 2, by - 2, bx + bw + 2, H,
        [&](float x, float y) { return sdRoundBox(x, y, bx, by, bw, bh, 22); },
        [&](float x, float y)
        {
            float d = -sdRoundBox(x, y, bx, by, bw, bh, 22);
            if (d < 4)
                return theme.gold(d / 4.0f);
            Color c = theme.lacquer(0.25f + 0.6f * (y - by) / (H - by));
            if (std::fabs(d - 8) < 0.8f)
                c = mix(c, theme.gold(0.3f), 0.7f);
            return c.withAlpha(0.96f);
        });

    // Plaque behind the clock and the turn label, hung on two gold cords.
    const float px = 453, py = 108, pw = 132, ph = 68;
    for (float cx : {px + 22, px + pw - 22})
        layer.fill(
            cx - 2, 88, cx + 2, py + 2,
            [&](float x, float y) { return sdSegment(x, y, cx, 90, cx, py) - 1.3f; },
            [&](float x, float) { return theme.gold(0.2f + (x - cx + 1.3f) / 3.0f); });
    theme.lacquerPlaque(layer, px, py, pw, ph, 10, 3);
    // A divider between the two lines.
    layer.fill(
        px + 12, py + 35, px + pw - 12, py + 37,
        [&](float x, float y) { return sdSegment(x, y, px + 14, py + 36, px + pw - 14, py + 36) - 0.6f; },
        [&](float, float) { return theme.gold(0.3f).withAlpha(0.7f); });

    Canvas canvas(W, H);
    canvas.draw(layer.shadow({0, 0, 0, 0.5f}, 6, 0, 3), 0, 0);
    canvas.draw(layer, 0, 0);
    out.save(canvas, "cadre.png");
}
