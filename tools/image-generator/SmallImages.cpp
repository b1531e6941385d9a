// The cursor, the text caret, the piece icons and the small markers.
#include "ImageDrawing.h"

#include <cmath>

using namespace Raster;

void drawSmallImages(ImageWriter& out, const Theme& theme, ImageFonts& fonts)
{
    // Mouse cursor: a gold arrow whose tip is the hot spot at (0, 0).
    {
        Canvas c(32, 32);
        std::vector<Point> arrow = {{1, 1},         {1, 23},        {6.5f, 18},    {10.5f, 27},
                                    {14.5f, 25.3f}, {10.6f, 16.6f}, {17.5f, 16.5f}};
        Canvas shape(32, 32);
        shape.fill(
            0, 0, 32, 32, [&](float x, float y) { return sdPolygon(x, y, arrow) - 1.2f; },
            [&](float, float) { return Color::rgb(0x1A0A02); });
        shape.fill(
            0, 0, 32, 32, [&](float x, float y) { return sdPolygon(x, y, arrow) + 0.4f; },
            [&](float x, float y) { return theme.gold(clamp01((x + y) / 36.0f)); });
        c.draw(shape.shadow({0, 0, 0, 0.45f}, 1.5f, 2, 2), 0, 0);
        c.draw(shape, 0, 0);
        out.png(c, "mouse.png");
    }
    // Text caret: the game stretches it to 2 pixels by the line height.
    {
        Canvas c(4, 32);
        c.setAll([&](float, float) { return theme.p["ink"]; });
        out.png(c, "cursor.png");
    }
    // Piece icons, white and black, by rank.
    for (int rank = 0; rank < 8; ++rank)
        for (int side = 0; side < 2; ++side)
            out.png(pieceIcon(theme, fonts, rank, side, 64),
                    std::string(kAnimalFiles[rank]) + (side == 0 ? "-blanc.png" : "-noir.png"));

    // Selection and destination markers: a gold ring, a jade target.
    auto ring = [&](Color inner, Color outer, bool target)
    {
        Canvas c(64, 64);
        c.fill(
            0, 0, 64, 64, [&](float x, float y) { return sdCircle(x, y, 32, 32, 30); },
            [&](float x, float y)
            {
                float d = std::hypot(x - 32, y - 32);
                float a = std::exp(-std::pow((d - 24) / 5.0f, 2.0f));
                return mix(inner, outer, clamp01((d - 18) / 12)).withAlpha(a);
            });
        c.fill(
            0, 0, 64, 64, [&](float x, float y) { return std::fabs(sdCircle(x, y, 32, 32, 24)) - 1.6f; },
            [&](float, float) { return outer; });
        if (target)
            c.fill(
                0, 0, 64, 64, [&](float x, float y) { return sdCircle(x, y, 32, 32, 6); },
                [&](float, float) { return outer; });
        return c;
    };
    out.png(ring(theme.p["gold.light"], theme.p["gold.mid"], false), "selection.png");
    out.png(ring(theme.p["jade.light"], theme.p["jade.mid"], true), "destination.png");

    // Camera icon.
    {
        Canvas c(64, 64);
        theme.jadePlaque(c, 2, 2, 60, 58, 14, ButtonState::Released, 3);
        float cx = 32, cy = 31;
        theme.goldShape(
            c, 8, 8, 56, 56,
            [&](float x, float y)
            {
                float body = sdRoundBox(x, y, cx - 17, cy - 9, 34, 22, 4);
                float top = sdRoundBox(x, y, cx - 7, cy - 14, 14, 7, 2);
                float hole = sdCircle(x, y, cx, cy + 2, 7.5f);
                float lens = sdCircle(x, y, cx, cy + 2, 4.5f);
                return std::min(std::max(std::min(body, top), -hole), lens);
            },
            ButtonState::Released, 1.4f);
        out.png(c, "switchCamera.png");
    }
    // Turn lamps: lit and unlit lanterns.
    for (bool lit : {true, false})
    {
        Canvas c(64, 64);
        if (lit)
            c.fill(
                0, 0, 64, 64, [&](float x, float y) { return sdCircle(x, y, 32, 34, 31); },
                [&](float x, float y)
                {
                    float d = std::hypot(x - 32, y - 34) / 31;
                    return Color::rgb(0xFFC050, 0.6f * (1 - d) * (1 - d));
                });
        c.fill(
            0, 0, 64, 64, [&](float x, float y) { return sdRoundBox(x, y, 14, 14, 36, 40, 16); },
            [&](float x, float y)
            {
                float t = (y - 14) / 40;
                Color paper =
                    lit ? mix(Color::rgb(0xFFE9A0), Color::rgb(0xE0532A), std::fabs(x - 32) / 22 + t * 0.3f)
                        : mix(Color::rgb(0x6A2A20), Color::rgb(0x2A100C), std::fabs(x - 32) / 22 + t * 0.3f);
                // Ribs of the lantern.
                float rib = std::fabs(std::sin((y - 14) * 0.45f));
                return mix(paper, paper.scaled(0.8f), smoothstep(0.9f, 1.0f, rib) * 0.5f);
            });
        for (float y : {12.0f, 53.0f})
            theme.goldShape(
                c, 20, y - 3, 44, y + 3,
                [&](float x, float py) { return sdRoundBox(x, py, 21, y - 2.5f, 22, 5, 2); },
                lit ? ButtonState::Released : ButtonState::Disabled, 1.0f);
        c.fill(
            30, 55, 34, 64, [&](float x, float y) { return sdSegment(x, y, 32, 56, 32, 62) - 1.2f; },
            [&](float, float) { return theme.lacquer(0.3f); });
        out.png(c, lit ? "his turn.png" : "not his turn.png");
    }
    // The board's cell marker: white and grey so the marker's material gives
    // it its colour (green target, grey selectable, red selected).
    {
        Canvas c(64, 64);
        c.setAll(
            [&](float x, float y)
            {
                float edge = std::min(std::min(x, y), std::min(64 - x, 64 - y));
                float a = 0.18f + 0.82f * std::exp(-edge / 5.0f);
                float corner = std::min(std::hypot(std::min(x, 64 - x), std::min(y, 64 - y)) / 14.0f, 1.0f);
                // The brightness follows the alpha, so the frame shows even
                // where the marker is drawn without blending.
                float v = clamp01(a + (1 - corner) * 0.2f);
                return Color{0.3f + 0.7f * v, 0.3f + 0.7f * v, 0.3f + 0.7f * v, v};
            });
        out.png(c, "selectionCell.png");
    }
}
