// Buttons, lifts, check boxes, the progression bar and the file icons of the
// skin: jade and gold in every state (released, pressed, rolled over and,
// where the table has one, disabled).
#include "SkinDrawing.h"

#include <array>
#include <cmath>

using namespace Raster;

namespace
{

constexpr float kPi = 3.14159265f;

const std::array<ButtonState, 3> kThreeStates = {ButtonState::Pressed, ButtonState::Released,
                                                 ButtonState::RolledOver};
const std::array<const char*, 3> kThreeNames = {"Pressed", "Released", "RolledOver"};

// Distance to a chain of segments of the given half width.
float sdPolyline(float x, float y, const std::vector<Point>& points, float halfWidth)
{
    float d = 1e9f;
    for (size_t i = 1; i < points.size(); ++i)
        d = std::min(d, sdSegment(x, y, points[i - 1].x, points[i - 1].y, points[i].x, points[i].y));
    return d - halfWidth;
}

// A triangle pointing in direction (dx, dy) centred on (cx, cy).
std::vector<Point> arrowHead(float cx, float cy, float size, float dx, float dy)
{
    float nx = -dy, ny = dx;
    return {{cx + dx * size, cy + dy * size},
            {cx - dx * size * 0.6f + nx * size, cy - dy * size * 0.6f + ny * size},
            {cx - dx * size * 0.6f - nx * size, cy - dy * size * 0.6f - ny * size}};
}

float sdStar(float x, float y, float cx, float cy, float outer, float inner)
{
    std::vector<Point> points;
    for (int i = 0; i < 10; ++i)
    {
        float a = -kPi / 2 + i * kPi / 5;
        float r = (i % 2 == 0) ? outer : inner;
        points.push_back({cx + std::cos(a) * r, cy + std::sin(a) * r});
    }
    return sdPolygon(x, y, points);
}

// A round jade button (video controls, combo box arrow).
void roundButton(Canvas& c, const Theme& theme, ButtonState state)
{
    float w = static_cast<float>(c.width()), h = static_cast<float>(c.height());
    theme.jadePlaque(c, 1.5f, 1.0f, w - 3, h - 4, std::min(w, h) * 0.3f, state, 2.0f);
}

float stateShift(ButtonState state)
{
    return state == ButtonState::Pressed ? 1.0f : 0.0f;
}

template <typename Shape>
void iconButton(SkinWriter& out, const Theme& theme, int w, int h, const std::string& prefix, Shape&& shape)
{
    for (size_t s = 0; s < 3; ++s)
    {
        Canvas c(w, h);
        roundButton(c, theme, kThreeStates[s]);
        float shift = stateShift(kThreeStates[s]);
        shape(c, shift, kThreeStates[s]);
        out.save(c, prefix + kThreeNames[s] + ".png");
    }
}

void polygonIcon(Canvas& c, const Theme& theme, const std::vector<Point>& poly, ButtonState state)
{
    float x0, y0, x1, y1;
    bounds(poly, x0, y0, x1, y1);
    theme.goldShape(
        c, x0, y0, x1, y1, [&](float x, float y) { return sdPolygon(x, y, poly); }, state, 1.2f);
}

} // namespace

void drawSmallButtons(SkinWriter& out, const Theme& theme)
{
    // Combo box: a square with a down arrow.
    iconButton(out, theme, 32, 32, "ComboBoxButton",
               [&](Canvas& c, float s, ButtonState st)
               { polygonIcon(c, theme, arrowHead(16, 15 + s, 7, 0, 1), st); });
    // Lift arrows: up and down are drawn at 26 x 47, left and right at 32 x 32.
    iconButton(out, theme, 26, 47, "LiftButtonUp",
               [&](Canvas& c, float s, ButtonState st)
               { polygonIcon(c, theme, arrowHead(13, 22 + s, 7, 0, -1), st); });
    iconButton(out, theme, 26, 47, "LiftButtonDown",
               [&](Canvas& c, float s, ButtonState st)
               { polygonIcon(c, theme, arrowHead(13, 22 + s, 7, 0, 1), st); });
    iconButton(out, theme, 32, 32, "LiftButtonLeft",
               [&](Canvas& c, float s, ButtonState st)
               { polygonIcon(c, theme, arrowHead(16, 15 + s, 7, -1, 0), st); });
    iconButton(out, theme, 32, 32, "LiftButtonRight",
               [&](Canvas& c, float s, ButtonState st)
               { polygonIcon(c, theme, arrowHead(16, 15 + s, 7, 1, 0), st); });

    // Video controls: pause, play, backward, forward, full screen.
    iconButton(out, theme, 32, 32, "videoControlButton1",
               [&](Canvas& c, float s, ButtonState st)
               {
                   theme.goldShape(
                       c, 9, 8 + s, 23, 23 + s,
                       [&](float x, float y) {
                           return std::min(sdRoundBox(x, y, 10, 8 + s, 4, 14, 1),
                                           sdRoundBox(x, y, 18, 8 + s, 4, 14, 1));
                       },
                       st);
               });
    iconButton(out, theme, 32, 32, "videoControlButton2",
               [&](Canvas& c, float s, ButtonState st)
               { polygonIcon(c, theme, arrowHead(17, 15 + s, 8, 1, 0), st); });
    auto doubleArrow = [&](float direction)
    {
        return [&, direction](Canvas& c, float s, ButtonState st)
        {
            auto a = arrowHead(16 - 4 * direction, 15 + s, 6, direction, 0);
            auto b = arrowHead(16 + 4 * direction, 15 + s, 6, direction, 0);
            theme.goldShape(
                c, 6, 8, 26, 23,
                [&](float x, float y) { return std::min(sdPolygon(x, y, a), sdPolygon(x, y, b)); }, st);
        };
    };
    iconButton(out, theme, 32, 32, "videoControlButton3", doubleArrow(-1));
    iconButton(out, theme, 32, 32, "videoControlButton4", doubleArrow(1));
    iconButton(
        out, theme, 32, 32, "videoControlButton5",
        [&](Canvas& c, float s, ButtonState st)
        {
            theme.goldShape(
                c, 7, 6 + s, 25, 24 + s,
                [&](float x, float y)
                {
                    float d = 1e9f;
                    for (float sx : {-1.0f, 1.0f})
                        for (float sy : {-1.0f, 1.0f})
                        {
                            float cx = 16 + sx * 8, cy = 15 + s + sy * 8;
                            d = std::min(
                                d, sdPolyline(x, y, {{cx, cy - sy * 5}, {cx, cy}, {cx - sx * 5, cy}}, 1.3f));
                        }
                    return d;
                },
                st);
        });

    // Tutorial "next": a wide plaque with a double chevron.
    for (size_t s = 0; s < 3; ++s)
    {
        Canvas c(121, 64);
        theme.jadePlaque(c, 4, 4, 113, 54, 14, kThreeStates[s], 3.5f);
        float sh = stateShift(kThreeStates[s]);
        theme.goldShape(
            c, 36, 14, 88, 50,
            [&](float x, float y)
            {
                auto chevron = [&](float cx) {
                    return sdPolyline(x, y, {{cx - 8, 19 + sh}, {cx + 8, 31 + sh}, {cx - 8, 43 + sh}}, 3.6f);
                };
                return std::min(chevron(52), chevron(70));
            },
            kThreeStates[s], 1.5f);
        out.save(c, std::string("boutonTutorialNext") + kThreeNames[s] + ".png");
    }

    // Progression bar: jade fill, rounded ends that keep their aspect.
    auto barPiece = [&](int w, float x, float width, float radius, const std::string& file)
    {
        Canvas c(w, 16);
        c.fill(
            0, 0, w, 16, [&](float px, float py) { return sdRoundBox(px, py, x, 1, width, 14, radius); },
            [&](float, float py)
            {
                Color j = theme.jade(py / 16.0f);
                if (py < 7)
                    j = mix(j, Color{1, 1, 1, 1}, 0.35f * (1 - py / 7));
                return j;
            });
        out.save(c, file);
    };
    barPiece(8, 0, 16, 6, "progLeft.png");
    barPiece(16, -8, 32, 1, "progMiddle.png");
    barPiece(8, -8, 16, 6, "progRight.png");
}

void drawLifts(SkinWriter& out, const Theme& theme)
{
    // Pieces are drawn in (along, across) coordinates and laid out
    // vertically or horizontally; the light falls from the top-left.
    const int thick = 27;
    for (bool vertical : {true, false})
    {
        std::string prefix = vertical ? "LiftVertical" : "LiftHorizontal";
        auto piece = [&](int length, auto&& paint)
        {
            Canvas c(vertical ? thick : length, vertical ? length : thick);
            c.setAll(
                [&](float x, float y)
                {
                    float along = vertical ? y : x, across = vertical ? x : y;
                    return paint(along, across);
                });
            return c;
        };
        // The trough: a dark groove between gold rails; the ends are rounded.
        auto trough = [&](float along, float across, float length, int end)
        {
            // Rounded end: distance from the end's centre line.
            float d = std::fabs(across - thick / 2.0f) - 9.0f;
            if (end != 0)
            {
                float ca = end < 0 ? 11.0f : length - 11.0f;
                float beyond = end < 0 ? ca - along : along - ca;
                if (beyond > 0)
                    d = std::hypot(std::max(0.0f, beyond), std::max(0.0f, std::fabs(across - thick / 2.0f))) -
                        9.0f;
            }
            float cov = coverage(d);
            float rim = coverage(d - 2.0f) - cov;
            Color groove = mix(theme.p["lacquer.dark"], theme.p["ebony"], 0.4f);
            groove = mix(groove, theme.p["ebony"], 0.5f * clamp01(1.0f - (across - 4) / 10.0f));
            Color rimColor = theme.gold(clamp01((across - 2) / (thick - 4)));
            Color outc = mix(rimColor, groove, cov / std::max(0.001f, cov + rim));
            outc.a = cov + rim;
            return outc;
        };
        out.save(piece(14, [&](float a, float c) { return trough(a, c, 14, -1); }),
                 prefix + "BackgroundUp.png");
        out.save(piece(16, [&](float a, float c) { return trough(a, c, 16, 0); }),
                 prefix + "BackgroundMiddle.png");
        out.save(piece(14, [&](float a, float c) { return trough(a, c, 14, 1); }),
                 prefix + "BackgroundDown.png");
        // The carret: a jade bar with gold ends.
        for (size_t s = 0; s < 3; ++s)
        {
            ButtonState st = kThreeStates[s];
            float shade = st == ButtonState::Pressed ? 0.75f : st == ButtonState::RolledOver ? 1.15f : 1.0f;
            auto carret = [&](float along, float across, float length, int end)
            {
                float half = 10.5f;
                float d = std::fabs(across - thick / 2.0f) - half;
                if (end != 0)
                {
                    float ca = end < 0 ? 10.0f : length - 10.0f;
                    float beyond = end < 0 ? ca - along : along - ca;
                    if (beyond > 0)
                        d = std::hypot(beyond, std::fabs(across - thick / 2.0f)) - half;
                }
                float cov = coverage(d);
                float t = clamp01((across - 3) / (thick - 6));
                Color j = theme.jade(t).scaled(shade);
                j = {std::min(1.0f, j.r), std::min(1.0f, j.g), std::min(1.0f, j.b), 1};
                if (-d < 2.0f)
                    j = theme.gold(t);
                j.a = cov;
                return j;
            };
            out.save(piece(10, [&](float a, float c) { return carret(a, c, 10, -1); }),
                     prefix + "CarretUp" + kThreeNames[s] + ".png");
            out.save(piece(16, [&](float a, float c) { return carret(a, c, 16, 0); }),
                     prefix + "CarretMiddle" + kThreeNames[s] + ".png");
            out.save(piece(10, [&](float a, float c) { return carret(a, c, 10, 1); }),
                     prefix + "CarretDown" + kThreeNames[s] + ".png");
        }
    }

    // The volume slider: a wedge growing to the right, and a jade knob.
    {
        Canvas c(192, 32);
        std::vector<Point> wedge = {{6, 24}, {186, 6}, {186, 26}, {6, 26}};
        c.fill(
            0, 0, 192, 32, [&](float x, float y) { return sdPolygon(x, y, wedge) - 1.5f; },
            [&](float, float) { return theme.gold(0.45f); });
        c.fill(
            0, 0, 192, 32, [&](float x, float y) { return sdPolygon(x, y, wedge); },
            [&](float x, float) { return mix(theme.p["ebony"], theme.p["lacquer.mid"], x / 192.0f); });
        for (int i = 1; i < 8; ++i)
        {
            float x = 6 + i * 180 / 8.0f;
            c.fill(
                x - 1, 27, x + 1, 31,
                [&](float px, float py) { return sdRoundBox(px, py, x - 0.6f, 28, 1.2f, 3, 0.5f); },
                [&](float, float) { return theme.gold(0.5f); });
        }
        out.save(c, "LiftSonsBackground.png");
    }
    for (size_t s = 0; s < 3; ++s)
    {
        Canvas c(16, 32);
        theme.jadePlaque(c, 1, 1, 14, 29, 5, kThreeStates[s], 2.0f);
        out.save(c, std::string("LiftSonsCarret") + kThreeNames[s] + ".png");
    }
}

void drawCheckBoxes(SkinWriter& out, const Theme& theme)
{
    // File order: checked pressed, unchecked pressed, checked released,
    // unchecked released, checked rolled over, unchecked rolled over.
    struct Variant
    {
        const char* name;
        bool checked;
        ButtonState state;
    };
    const std::array<Variant, 6> variants = {{{"CheckedPressed", true, ButtonState::Pressed},
                                              {"UncheckedPressed", false, ButtonState::Pressed},
                                              {"CheckedReleased", true, ButtonState::Released},
                                              {"UncheckedReleased", false, ButtonState::Released},
                                              {"CheckedRolledOver", true, ButtonState::RolledOver},
                                              {"UncheckedRolledOver", false, ButtonState::RolledOver}}};
    for (const Variant& v : variants)
    {
        Canvas c(32, 32);
        float glow = v.state == ButtonState::RolledOver ? 1.0f : 0.0f;
        if (glow > 0)
            c.fill(
                0, 0, 32, 32, [&](float x, float y) { return sdRoundBox(x, y, 2, 2, 28, 28, 6) - 2.0f; },
                [&](float, float) { return theme.p["gold.light"].withAlpha(0.55f); });
        c.fill(
            3, 3, 29, 29, [&](float x, float y) { return sdRoundBox(x, y, 3, 3, 26, 26, 5); },
            [&](float x, float y)
            {
                float d = -sdRoundBox(x, y, 3, 3, 26, 26, 5);
                if (d < 2.5f)
                    return theme.gold((y - 3) / 26.0f);
                if (d < 4.0f)
                    return theme.p["lacquer.mid"];
                Color paper =
                    v.state == ButtonState::Pressed ? theme.p["parchment.dark"] : theme.p["parchment.light"];
                return mix(paper, theme.p["parchment.dark"], 0.5f * clamp01(1.0f - (d - 4) / 5.0f));
            });
        if (v.checked)
        {
            float s = v.state == ButtonState::Pressed ? 1.0f : 0.0f;
            std::vector<Point> tick = {{9, 16 + s}, {14, 22 + s}, {24, 9 + s}};
            c.fill(
                5, 5, 28, 28, [&](float x, float y) { return sdPolyline(x, y, tick, 3.4f); },
                [&](float, float) { return Color::rgb(0x1A0A02); });
            c.fill(
                5, 5, 28, 28, [&](float x, float y) { return sdPolyline(x, y, tick, 2.3f); },
                [&](float, float y) { return theme.jade((y - 8) / 16.0f); });
        }
        out.save(c, std::string("checkBox") + v.name + ".png");
    }

    // Difficulty levels: medallions with one, two or three stars; the
    // chosen level ("checked") is jade, the others parchment.
    const std::array<const char*, 3> levels = {"checkboxEasy", "checkboxMedium", "checkboxHard"};
    for (size_t level = 0; level < 3; ++level)
        for (const Variant& v : variants)
        {
            const int size = 64;
            Canvas c(size, size);
            float cx = size / 2.0f, cy = size / 2.0f - 1, r = 27;
            float press = v.state == ButtonState::Pressed ? 1.0f : 0.0f;
            if (v.state == ButtonState::RolledOver)
                c.fill(
                    0, 0, size, size, [&](float x, float y) { return sdCircle(x, y, cx, cy, r + 3); },
                    [&](float x, float y)
                    {
                        float d = std::hypot(x - cx, y - cy) - r;
                        return theme.p["gold.light"].withAlpha(0.7f * clamp01(1.0f - d / 3.0f));
                    });
            c.fill(
                0, 0, size, size, [&](float x, float y) { return sdCircle(x, y, cx, cy + 2, r); },
                [&](float, float) {
                    return Color{0, 0, 0, 0.4f};
                });
            c.fill(
                0, 0, size, size, [&](float x, float y) { return sdCircle(x, y, cx, cy, r); },
                [&](float x, float y)
                {
                    float d = r - std::hypot(x - cx, y - cy);
                    float t = (y - (cy - r)) / (2 * r);
                    if (d < 3.0f)
                        return theme.gold(t);
                    if (v.checked)
                    {
                        Color j = theme.jade(press > 0 ? 1.0f - t * 0.6f : t);
                        float m = fbm(x / 12.0f, y / 12.0f, 0, 0, 3, 5) - 0.5f;
                        return mix(j, theme.p["jade.light"], std::max(0.0f, m) * 0.5f);
                    }
                    Color paper = press > 0 ? theme.p["parchment.dark"] : theme.p["parchment.mid"];
                    return mix(paper, theme.p["parchment.dark"], 0.6f * clamp01(1.0f - (d - 3) / 6.0f));
                });
            int stars = static_cast<int>(level) + 1;
            float starR = stars == 1 ? 13.0f : stars == 2 ? 10.0f : 8.5f;
            std::vector<Point> centres;
            if (stars == 1)
                centres = {{cx, cy}};
            else if (stars == 2)
                centres = {{cx - 10, cy}, {cx + 10, cy}};
            else
                centres = {{cx, cy - 8}, {cx - 10, cy + 7}, {cx + 10, cy + 7}};
            ButtonState starState = v.checked ? v.state : ButtonState::Disabled;
            if (!v.checked && v.state == ButtonState::RolledOver)
                starState = ButtonState::Released;
            theme.goldShape(
                c, 0, 0, size, size,
                [&](float x, float y)
                {
                    float d = 1e9f;
                    for (const Point& p : centres)
                        d = std::min(d, sdStar(x, y, p.x, p.y + press, starR, starR * 0.45f));
                    return d;
                },
                starState, 1.2f);
            // A gloss over the medallion.
            c.fill(
                0, 0, size, size, [&](float x, float y) { return sdCircle(x, y, cx, cy - 9, r - 9); },
                [&](float, float y) {
                    return Color{1, 1, 1, 0.18f * clamp01(1.0f - (y - (cy - r)) / r)};
                });
            out.save(c, std::string(levels[level]) + v.name + ".png");
        }
}

void drawBoardButtons(SkinWriter& out, const Theme& theme)
{
    // 121 x 64 plaques with a gold icon: camera, hint, undo, menu, chat.
    const std::array<const char*, 5> names = {"angle", "point", "retour", "liste", "bulle"};
    const std::array<ButtonState, 4> states = {ButtonState::Pressed, ButtonState::Released,
                                               ButtonState::RolledOver, ButtonState::Disabled};
    const std::array<const char*, 4> stateNames = {"Pressed", "Released", "RolledOver", "Disabled"};
    for (size_t icon = 0; icon < names.size(); ++icon)
        for (size_t s = 0; s < states.size(); ++s)
        {
            Canvas c(121, 64);
            ButtonState st = states[s];
            theme.jadePlaque(c, 4, 3, 113, 55, 16, st, 3.5f);
            float cx = 60.5f, cy = 30.0f + (st == ButtonState::Pressed ? 1.0f : 0.0f);
            std::function<float(float, float)> shape;
            switch (icon)
            {
            case 0: // camera
                shape = [cx, cy](float x, float y)
                {
                    float body = sdRoundBox(x, y, cx - 19, cy - 10, 38, 24, 4);
                    float top = sdRoundBox(x, y, cx - 8, cy - 16, 16, 8, 2);
                    float lensHole = sdCircle(x, y, cx, cy + 2, 8.5f);
                    float lens = sdCircle(x, y, cx, cy + 2, 5.0f);
                    float flash = sdRoundBox(x, y, cx + 11, cy - 7, 5, 3, 1);
                    float d = std::min(body, top);
                    d = std::max(d, -lensHole);
                    d = std::max(d, -flash);
                    return std::min(d, lens);
                };
                break;
            case 1: // hint: a light bulb with rays
                shape = [cx, cy](float x, float y)
                {
                    float bulb = sdCircle(x, y, cx, cy - 4, 10);
                    float neck = sdRoundBox(x, y, cx - 5.5f, cy + 3, 11, 8, 1);
                    float d = std::min(bulb, neck);
                    float band1 = sdRoundBox(x, y, cx - 6, cy + 12, 12, 2.5f, 1);
                    float band2 = sdRoundBox(x, y, cx - 4, cy + 16, 8, 2.5f, 1);
                    d = std::min(d, std::min(band1, band2));
                    float glint = sdSegment(x, y, cx - 4, cy - 8, cx - 1, cy - 10) - 1.2f;
                    d = std::max(d, -glint);
                    for (int i = 0; i < 5; ++i)
                    {
                        float a = kPi * (1.0f + 0.25f * i);
                        float ca = std::cos(a), sa = std::sin(a);
                        d = std::min(d, sdSegment(x, y, cx + ca * 14, cy - 4 + sa * 14, cx + ca * 19,
                                                  cy - 4 + sa * 19) -
                                            1.5f);
                    }
                    return d;
                };
                break;
            case 2: // undo: a curved arrow turning back to the left
                shape = [cx, cy](float x, float y)
                {
                    std::vector<Point> arc;
                    for (int i = 0; i <= 16; ++i)
                    {
                        float a = -kPi * 0.5f + kPi * 1.05f * i / 16.0f;
                        arc.push_back({cx + 2 + std::cos(a) * 12, cy + 2 + std::sin(a) * 11});
                    }
                    float d = sdPolyline(x, y, arc, 3.0f);
                    auto head = arrowHead(cx - 8, cy - 9, 8, -1, 0);
                    return std::min(d, sdPolygon(x, y, head));
                };
                break;
            case 3: // menu: three lines with beads
                shape = [cx, cy](float x, float y)
                {
                    float d = 1e9f;
                    for (int i = -1; i <= 1; ++i)
                    {
                        float ly = cy + i * 10;
                        d = std::min(d, sdCircle(x, y, cx - 15, ly, 3.2f));
                        d = std::min(d, sdRoundBox(x, y, cx - 8, ly - 2.5f, 26, 5, 2.5f));
                    }
                    return d;
                };
                break;
            default: // chat: a speech bubble with three dots
            {
                shape = [cx, cy](float x, float y)
                {
                    float bubble = sdRoundBox(x, y, cx - 20, cy - 15, 40, 26, 10);
                    std::vector<Point> tail = {{cx - 10, cy + 8}, {cx - 14, cy + 19}, {cx + 1, cy + 9}};
                    float d = std::min(bubble, sdPolygon(x, y, tail));
                    for (int i = -1; i <= 1; ++i)
                        d = std::max(d, -sdCircle(x, y, cx + i * 10, cy - 2, 3.2f));
                    return d;
                };
            }
            }
            theme.goldShape(c, cx - 26, cy - 24, cx + 26, cy + 24, shape, st, 1.5f);
            out.save(c, std::string(names[icon]) + stateNames[s] + ".png");
        }
}

void drawMenuButtons(SkinWriter& out, const Theme& theme, Typeface& face,
                     const std::map<std::string, std::string>& words)
{
    // 208 x 54 plaques carrying their French word in gold, all words at one
    // size: the largest at which the longest still fits.
    const float maxWidth = 176;
    float size = 25;
    for (int n = 1; n <= 11; ++n)
    {
        auto it = words.find("menu." + std::to_string(n));
        if (it == words.end())
            continue;
        face.setSize(size);
        while (face.measure(it->second) > maxWidth && size > 12)
            face.setSize(size -= 0.5f);
    }
    for (int n = 1; n <= 11; ++n)
    {
        auto it = words.find("menu." + std::to_string(n));
        std::string word = it != words.end() ? it->second : "?";
        bool hasDisabled = n == 3 || n == 4 || n == 10;
        std::vector<std::pair<ButtonState, std::string>> states = {{ButtonState::Pressed, "Pressed"},
                                                                   {ButtonState::Released, "Released"},
                                                                   {ButtonState::RolledOver, "RolledOver"}};
        if (hasDisabled)
            states.push_back({ButtonState::Disabled, "Disabled"});
        for (const auto& [state, name] : states)
        {
            Canvas c(208, 54);
            theme.jadePlaque(c, 3, 2, 202, 47, 12, state, 3.5f);
            float cy = 25.5f + (state == ButtonState::Pressed ? 1.0f : 0.0f);
            theme.goldText(c, face, word, 104, cy, size, maxWidth, state);
            out.save(c, "boutonMenu" + std::to_string(n) + name + ".png");
        }
    }
}

void drawFileIcons(SkinWriter& out, const Theme& theme)
{
    // Folder: a lacquer case with a gold edge.
    {
        Canvas c(32, 32);
        c.fill(
            0, 0, 32, 32,
            [&](float x, float y)
            { return std::min(sdRoundBox(x, y, 3, 7, 12, 6, 2), sdRoundBox(x, y, 3, 10, 26, 18, 2.5f)); },
            [&](float, float) { return theme.gold(0.6f); });
        c.fill(
            0, 0, 32, 32, [&](float x, float y) { return sdRoundBox(x, y, 4.5f, 12.5f, 23, 14, 1.5f); },
            [&](float, float y) { return theme.lacquer((y - 12) / 14.0f); });
        c.fill(
            0, 0, 32, 32, [&](float x, float y) { return sdRoundBox(x, y, 4.5f, 12.5f, 23, 2, 0.5f); },
            [&](float, float) { return theme.gold(0.2f).withAlpha(0.8f); });
        out.save(c, "fileDir.png");
    }
    // Saved game: a parchment scroll with a red seal.
    {
        Canvas c(32, 32);
        c.fill(
            0, 0, 32, 32, [&](float x, float y) { return sdRoundBox(x, y, 7, 4, 18, 24, 1.5f); },
            [&](float x, float y) { return theme.parchment(x * 4, y * 4, 0.6f); });
        for (float ry : {4.0f, 28.0f})
            c.fill(
                0, 0, 32, 32, [&](float x, float y) { return sdRoundBox(x, y, 5, ry - 2.5f, 22, 5, 2.5f); },
                [&](float, float y)
                { return mix(Color::rgb(0x8A5A30), Color::rgb(0x3A1E0C), (y - ry + 2.5f) / 5.0f); });
        for (int i = 0; i < 4; ++i)
        {
            float ly = 10.0f + i * 3.5f;
            c.fill(
                0, 0, 32, 32,
                [&](float x, float y) { return sdSegment(x, y, 10, ly, i == 3 ? 17.0f : 22.0f, ly) - 0.5f; },
                [&](float, float) { return theme.p["ink"].withAlpha(0.6f); });
        }
        c.fill(
            0, 0, 32, 32, [&](float x, float y) { return sdCircle(x, y, 20, 22, 4); },
            [&](float, float y) { return theme.lacquer((y - 18) / 8.0f); });
        out.save(c, "fileSavegame.png");
    }
    // List selection: a translucent jade bar with gold edges, stretched over a row.
    {
        Canvas c(64, 32);
        c.setAll(
            [&](float, float y)
            {
                if (y < 1.0f || y > 31.0f)
                    return theme.gold(0.4f).withAlpha(0.9f);
                Color j = theme.jade(y / 32.0f);
                return j.withAlpha(0.45f);
            });
        out.save(c, "containerLiftSelection.png");
    }
}
