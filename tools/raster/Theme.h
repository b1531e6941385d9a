#pragma once
// The game's look, shared by the generators: the palette (read from
// assets/art/palette.ini), the materials (red lacquer, gold, jade, parchment)
// and the few compound pieces every picture is built from.
#include "raster/Canvas.h"
#include "raster/Text.h"

#include <map>
#include <string>

namespace Raster
{

class Palette
{
public:
    // Reads "name = RRGGBB" lines; false (with a message) when the file is
    // missing or a line does not parse.
    bool load(const std::string& path);
    Color operator[](const std::string& name) const;

private:
    std::map<std::string, Color> mColors;
};

// A key = value text file of the assets (layout numbers, button words).
std::map<std::string, std::string> readKeyValues(const std::string& path);

// The look state of a button picture.
enum class ButtonState
{
    Released,
    Pressed,
    RolledOver,
    Disabled
};

// A key-fret corner ornament: two nested L-shaped bands and a square spiral,
// in local coordinates with the corner at (0, 0) and the arms along +x and
// +y; about 60 x scale pixels on each side.
float sdFretCorner(float lx, float ly, float scale);

class Theme
{
public:
    explicit Theme(const Palette& palette) : p(palette) {}

    // Materials as a function of the height fraction t (0 top, 1 bottom).
    Color gold(float t) const;
    Color jade(float t) const;
    Color lacquer(float t) const;
    Color parchment(float x, float y, float strength, uint32_t seed = 7) const;

    // A jade plaque (rounded, gold rim, mottled stone, gloss) in the state's
    // shade; the content offset of the state is returned in dy.
    void jadePlaque(Canvas& c, float x, float y, float w, float h, float radius, ButtonState state,
                    float rim = 3.0f) const;
    // A lacquer plaque with a gold rim.
    void lacquerPlaque(Canvas& c, float x, float y, float w, float h, float radius, float rim = 3.0f) const;
    // Fills a shape in gold with a dark outline (icons, arrows, ticks). The
    // shape is given by its signed distance over the box.
    template <typename Distance>
    void goldShape(Canvas& c, float x0, float y0, float x1, float y1, Distance&& d, ButtonState state,
                   float outline = 1.4f) const
    {
        float dim = state == ButtonState::Disabled ? 0.55f : 1.0f;
        float boost = state == ButtonState::RolledOver ? 1.12f : 1.0f;
        Color edge = Color::rgb(0x2A1404, state == ButtonState::Disabled ? 0.35f : 0.8f);
        c.fill(
            x0 - outline - 1, y0 - outline - 1, x1 + outline + 1, y1 + outline + 1,
            [&](float px, float py) { return d(px, py) - outline; }, [&](float, float) { return edge; });
        c.fill(x0, y0, x1, y1, d,
               [&](float, float py)
               {
                   Color g = gold((py - y0) / std::max(1.0f, y1 - y0));
                   if (state == ButtonState::Disabled)
                   {
                       float grey = (g.r + g.g + g.b) / 3.0f;
                       g = mix(g, {grey, grey, grey, 1}, 0.7f);
                   }
                   return Color{std::min(1.0f, g.r * dim * boost), std::min(1.0f, g.g * dim * boost),
                                std::min(1.0f, g.b * dim * boost), 1};
               });
    }
    // Gold lettering: the text in gold with a dark outline and a soft shadow,
    // centred on (cx, cy); the size shrinks until the text fits maxWidth.
    void goldText(Canvas& c, Typeface& face, const std::string& text, float cx, float cy, float size,
                  float maxWidth, ButtonState state = ButtonState::Released) const;
    // Ink text on parchment, left aligned at the baseline.
    void inkText(Canvas& c, Typeface& face, const std::string& text, float x, float baseline, float size,
                 Color color) const;

    const Palette& p;
};

} // namespace Raster
