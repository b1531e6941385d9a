#include "raster/Theme.h"

#include <cstdio>
#include <fstream>

namespace Raster
{

std::map<std::string, std::string> readKeyValues(const std::string& path)
{
    std::map<std::string, std::string> values;
    std::ifstream in(path);
    if (!in)
    {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return values;
    }
    auto trim = [](std::string s)
    {
        size_t a = s.find_first_not_of(" \t\r");
        size_t b = s.find_last_not_of(" \t\r");
        return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
    };
    std::string line;
    while (std::getline(in, line))
    {
        line = trim(line);
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        values[trim(line.substr(0, eq))] = trim(line.substr(eq + 1));
    }
    return values;
}

bool Palette::load(const std::string& path)
{
    auto values = readKeyValues(path);
    if (values.empty())
        return false;
    for (const auto& [name, text] : values)
    {
        char* end = nullptr;
        unsigned long hex = std::strtoul(text.c_str(), &end, 16);
        if (text.size() != 6 || *end != '\0')
        {
            std::fprintf(stderr, "%s: bad colour %s = %s\n", path.c_str(), name.c_str(), text.c_str());
            return false;
        }
        mColors[name] = Color::rgb(static_cast<uint32_t>(hex));
    }
    return true;
}

Color Palette::operator[](const std::string& name) const
{
    auto it = mColors.find(name);
    if (it == mColors.end())
    {
        std::fprintf(stderr, "palette: no colour %s\n", name.c_str());
        return {1, 0, 1, 1};
    }
    return it->second;
}

namespace
{
Color ramp(std::initializer_list<std::pair<float, Color>> stops, float t)
{
    t = clamp01(t);
    auto previous = *stops.begin();
    for (const auto& stop : stops)
    {
        if (t <= stop.first)
        {
            if (stop.first <= previous.first)
                return stop.second;
            return mix(previous.second, stop.second, (t - previous.first) / (stop.first - previous.first));
        }
        previous = stop;
    }
    return previous.second;
}
} // namespace

float sdFretCorner(float lx, float ly, float scale)
{
    auto chain = [&](std::initializer_list<Point> points, float halfWidth)
    {
        float d = 1e9f;
        const Point* previous = nullptr;
        for (const Point& p : points)
        {
            if (previous)
                d = std::min(
                    d, sdSegment(lx, ly, previous->x * scale, previous->y * scale, p.x * scale, p.y * scale));
            previous = &p;
        }
        return d - std::max(0.8f, halfWidth * scale);
    };
    float outer = chain({{0, 62}, {0, 0}, {62, 0}}, 2.6f);
    float inner = chain({{10, 50}, {10, 10}, {50, 10}}, 1.6f);
    float spiral = chain({{20, 46}, {20, 20}, {44, 20}, {44, 36}, {30, 36}, {30, 30}, {37, 30}}, 1.9f);
    return std::min(std::min(outer, inner), spiral);
}

Color Theme::gold(float t) const
{
    return ramp({{0.0f, p["gold.light"]},
                 {0.38f, p["gold.mid"]},
                 {0.55f, p["gold.dark"]},
                 {0.78f, p["gold.mid"]},
                 {1.0f, mix(p["gold.dark"], p["gold.mid"], 0.4f)}},
                t);
}

Color Theme::jade(float t) const
{
    return ramp({{0.0f, p["jade.light"]}, {0.45f, p["jade.mid"]}, {1.0f, p["jade.dark"]}}, t);
}

Color Theme::lacquer(float t) const
{
    return ramp({{0.0f, p["lacquer.light"]}, {0.4f, p["lacquer.mid"]}, {1.0f, p["lacquer.dark"]}}, t);
}

Color Theme::parchment(float x, float y, float strength, uint32_t seed) const
{
    Color base = p["parchment.mid"];
    if (strength <= 0)
        return base;
    float n = fbm(x / 48.0f, y / 48.0f, 0, 0, 4, seed) - 0.5f;
    float fibre = valueNoise(x / 3.0f, y / 40.0f, 0, 0, seed + 5) - 0.5f;
    Color c = n > 0 ? mix(base, p["parchment.light"], n * 1.6f * strength)
                    : mix(base, p["parchment.dark"], -n * 1.4f * strength);
    return mix(c, p["parchment.dark"], std::max(0.0f, fibre) * 0.12f * strength);
}

void Theme::jadePlaque(Canvas& c, float x, float y, float w, float h, float radius, ButtonState state,
                       float rim) const
{
    // Shadow under the plaque, stronger when it stands up.
    float lift = state == ButtonState::Pressed ? 1.0f : 2.5f;
    c.fill(
        x - 4, y - 4, x + w + 4, y + h + 6,
        [&](float px, float py) { return sdRoundBox(px, py, x, y + lift, w, h, radius) - 1.0f; },
        [&](float px, float py)
        {
            float d = sdRoundBox(px, py, x, y + lift, w, h, radius);
            return Color{0, 0, 0, 0.45f * clamp01(-d / 3.0f + 0.4f)};
        });
    // Gold rim.
    c.fill(
        x, y, x + w, y + h, [&](float px, float py) { return sdRoundBox(px, py, x, y, w, h, radius); },
        [&](float, float py)
        {
            Color g = gold((py - y) / h);
            if (state == ButtonState::Disabled)
            {
                float grey = (g.r + g.g + g.b) / 3.0f;
                g = mix(g, {grey, grey, grey, 1}, 0.65f).scaled(0.8f);
            }
            if (state == ButtonState::RolledOver)
                g = mix(g, p["gold.light"], 0.3f);
            return g;
        });
    // Stone body.
    float ix = x + rim, iy = y + rim, iw = w - 2 * rim, ih = h - 2 * rim, ir = std::max(1.0f, radius - rim);
    float shade = state == ButtonState::Pressed ? 0.72f : state == ButtonState::RolledOver ? 1.12f : 1.0f;
    c.fill(
        ix, iy, ix + iw, iy + ih, [&](float px, float py) { return sdRoundBox(px, py, ix, iy, iw, ih, ir); },
        [&](float px, float py)
        {
            float t = (py - iy) / ih;
            if (state == ButtonState::Pressed)
                t = 1.0f - t * 0.7f; // lit from below when pushed in
            Color j = jade(t);
            float m = fbm(px / 22.0f, py / 22.0f, 0, 0, 4, 31) - 0.5f;
            float vein = std::fabs(fbm(px / 40.0f + 3, py / 14.0f, 0, 0, 3, 77) - 0.5f);
            j = mix(j, p["jade.light"], std::max(0.0f, m) * 0.5f);
            j = mix(j, p["jade.dark"], std::max(0.0f, -m) * 0.5f);
            j = mix(j, p["ivory"], smoothstep(0.06f, 0.0f, vein) * 0.18f);
            j = j.scaled(shade);
            if (state == ButtonState::Disabled)
            {
                float grey = (j.r + j.g + j.b) / 3.0f;
                j = mix(j, {grey, grey, grey, 1}, 0.75f).scaled(0.85f);
            }
            // Inner edge darkening gives the stone its thickness.
            float d = -sdRoundBox(px, py, ix, iy, iw, ih, ir);
            j = j.scaled(0.75f + 0.25f * smoothstep(0.0f, 5.0f, d));
            return Color{std::min(1.0f, j.r), std::min(1.0f, j.g), std::min(1.0f, j.b), 1};
        });
    // Gloss on the upper half.
    if (state != ButtonState::Pressed)
    {
        float gy = iy + 1.5f, gh = ih * 0.45f;
        c.fill(
            ix + 2, gy, ix + iw - 2, gy + gh,
            [&](float px, float py)
            { return sdRoundBox(px, py, ix + 2, gy, iw - 4, gh, std::max(1.0f, ir - 2)); },
            [&](float, float py)
            {
                float a = (state == ButtonState::Disabled ? 0.10f : 0.28f) * (1.0f - (py - gy) / gh);
                return Color{1, 1, 1, a};
            });
    }
    // Inner gold hairline.
    c.fill(
        ix, iy, ix + iw, iy + ih,
        [&](float px, float py)
        {
            float d = sdRoundBox(px, py, ix + 2.5f, iy + 2.5f, iw - 5, ih - 5, std::max(1.0f, ir - 2.5f));
            return std::fabs(d) - 0.5f;
        },
        [&](float, float)
        { return p["gold.mid"].withAlpha(state == ButtonState::Disabled ? 0.15f : 0.45f); });
}

void Theme::lacquerPlaque(Canvas& c, float x, float y, float w, float h, float radius, float rim) const
{
    c.fill(
        x, y, x + w, y + h, [&](float px, float py) { return sdRoundBox(px, py, x, y, w, h, radius); },
        [&](float, float py) { return gold((py - y) / h); });
    float ix = x + rim, iy = y + rim, iw = w - 2 * rim, ih = h - 2 * rim;
    c.fill(
        ix, iy, ix + iw, iy + ih,
        [&](float px, float py) { return sdRoundBox(px, py, ix, iy, iw, ih, std::max(1.0f, radius - rim)); },
        [&](float px, float py)
        {
            Color l = lacquer((py - iy) / ih);
            float n = fbm(px / 30.0f, py / 30.0f, 0, 0, 3, 91) - 0.5f;
            return mix(l, p["lacquer.dark"], std::max(0.0f, n) * 0.5f);
        });
    // Sheen.
    c.fill(
        ix, iy, ix + iw, iy + ih * 0.4f,
        [&](float px, float py)
        { return sdRoundBox(px, py, ix + 2, iy + 1, iw - 4, ih * 0.4f, std::max(1.0f, radius - rim - 2)); },
        [&](float, float py) {
            return Color{1, 0.9f, 0.8f, 0.14f * (1.0f - (py - iy) / (ih * 0.4f))};
        });
}

void Theme::goldText(Canvas& c, Typeface& face, const std::string& text, float cx, float cy, float size,
                     float maxWidth, ButtonState state) const
{
    face.setSize(size);
    while (face.measure(text) > maxWidth && size > 6)
    {
        size -= 0.5f;
        face.setSize(size);
    }
    int margin = 6;
    Canvas mask = face.mask(text, margin);
    // Centre on the cap height rather than the whole line box.
    float capTop = margin + face.ascender() - size * 0.70f;
    float capBottom = margin + face.ascender();
    int dx = static_cast<int>(std::lround(cx - mask.width() / 2.0f));
    int dy = static_cast<int>(std::lround(cy - (capTop + capBottom) / 2.0f));
    bool disabled = state == ButtonState::Disabled;
    Canvas shadow = mask.shadow({0, 0, 0, disabled ? 0.3f : 0.75f}, 2.0f, 1, 2);
    c.draw(shadow, dx, dy);
    Canvas outline = mask.shadow({0.16f, 0.07f, 0.01f, 1.0f}, 1.2f, 0, 0);
    for (int y = 0; y < outline.height(); ++y)
        for (int x = 0; x < outline.width(); ++x)
        {
            Pixel& px = outline.at(x, y);
            float a = std::min(1.0f, px.a * 3.0f) * (disabled ? 0.45f : 0.9f);
            px = {0.16f * a, 0.07f * a, 0.01f * a, a};
        }
    c.draw(outline, dx, dy);
    Canvas lettering = paintMask(mask,
                                 [&](float, float py)
                                 {
                                     Color g = gold((py - capTop) / (capBottom - capTop));
                                     if (disabled)
                                     {
                                         float grey = (g.r + g.g + g.b) / 3.0f;
                                         g = mix(g, {grey, grey, grey, 1}, 0.7f).scaled(0.8f);
                                     }
                                     if (state == ButtonState::RolledOver)
                                         g = mix(g, p["gold.light"], 0.25f);
                                     return g;
                                 });
    c.draw(lettering, dx, dy);
}

void Theme::inkText(Canvas& c, Typeface& face, const std::string& text, float x, float baseline, float size,
                    Color color) const
{
    face.setSize(size);
    face.draw(c, text, x, baseline, color);
}

} // namespace Raster
