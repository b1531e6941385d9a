// The board and its surroundings.
//
// Model units: a cell is 25 units square, so that the board view's 0.04
// scale gives one scene unit per cell. The board spans x -112.5..112.5 and
// z -87.5..87.5; cell (0, 0) is at -x and +z (the view counts y against the
// scene's z axis). Heights: the ridges between cells are the top of the model
// (y = 0); land lies 1 unit (0.04 scene units) below, so the view's markers,
// 0.02 scene units under the top, float just above it; the lakes' water
// surface lies 2.9 units down, just under the markers the view puts 0.1
// scene units below the top on water cells.
#include "Generators.h"
#include "Tarnaveli/Board/BoardCell.h"
#include "XFile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace ModelGen
{

namespace
{
constexpr float kCell = 25.0f;
constexpr float kHalfWidth = 4.5f * kCell;
constexpr float kHalfDepth = 3.5f * kCell;
constexpr float kTop = 0.0f;
constexpr float kLand = -1.0f;
constexpr float kWater = -2.9f;
constexpr float kBottom = -12.0f;
constexpr float kRidge = 0.8f; // half width of the ridges between cells
constexpr float kPi = 3.14159265358979f;

enum class Terrain
{
    Water,
    Land,
    Trap0,
    Trap1,
    Den0,
    Den1
};

// The layout is the rules' own, so the model can never disagree with them.
static_assert(static_cast<uint32_t>(Terrain::Water) == TERRAIN_WATER &&
              static_cast<uint32_t>(Terrain::Land) == TERRAIN_LAND &&
              static_cast<uint32_t>(Terrain::Trap0) == TERRAIN_TRAP_0 &&
              static_cast<uint32_t>(Terrain::Trap1) == TERRAIN_TRAP_1 &&
              static_cast<uint32_t>(Terrain::Den0) == TERRAIN_DEN_0 &&
              static_cast<uint32_t>(Terrain::Den1) == TERRAIN_DEN_1);

Terrain terrainOf(int x, int y)
{
    return static_cast<Terrain>(terrainAt(x, y));
}

bool isWater(int x, int y)
{
    return x >= 0 && x < 9 && y >= 0 && y < 7 && terrainOf(x, y) == Terrain::Water;
}

float cellLeft(int x)
{
    return -kHalfWidth + kCell * x;
}

float cellFar(int y)
{
    return kHalfDepth - kCell * y;
}

// The colours that mark each side's traps and den: ivory and ebony, as the
// default piece set.
const Rgba kSideColour[2] = {rgb(240, 232, 210), rgb(38, 32, 40)};
const Rgba kSideContrast[2] = {rgb(60, 50, 40), rgb(214, 196, 150)};

bool save(const Canvas& canvas, const std::string& folder, const std::string& name)
{
    if (canvas.savePng(folder + "/" + name))
        return true;
    std::fprintf(stderr, "model-generator: cannot write %s/%s\n", folder.c_str(), name.c_str());
    return false;
}

// Grass with flecks of lighter and darker blades, tileable.
Canvas grassTexture(uint32_t seed, const Rgba& base)
{
    Canvas c(256, 256);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
        {
            float n = tileFractal(seed, x / 32.0f, y / 32.0f, 8, 4);
            c.set(x, y, scaled(base, 0.8f + 0.4f * n));
        }
    uint32_t state = seed * 2654435761u + 1;
    auto next = [&state]()
    {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) / 16777216.0f;
    };
    for (int i = 0; i < 420; ++i)
    {
        float x = next() * 256, y = next() * 256, angle = (next() - 0.5f) * 1.2f, length = 4 + next() * 6;
        Rgba blade = next() < 0.5f ? scaled(base, 1.35f) : scaled(base, 0.7f);
        blade.a = 0.55f;
        // Drawn at every wrapped position so that the texture tiles.
        for (int wy = -1; wy <= 1; ++wy)
            for (int wx = -1; wx <= 1; ++wx)
            {
                float bx = x + wx * 256, by = y + wy * 256;
                if (bx < -12 || bx > 268 || by < -12 || by > 268)
                    continue;
                c.line(bx, by, bx + std::sin(angle) * length, by - std::cos(angle) * length, 1.4f, blade);
            }
    }
    return c;
}

Canvas waterTexture()
{
    Canvas c(256, 256);
    const Rgba deep = rgb(28, 74, 128), shallow = rgb(58, 128, 180), foam = rgb(200, 230, 245);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
        {
            float u = x / 256.0f, v = y / 256.0f;
            float warp = tileFractal(77, u * 4, v * 4, 4, 3);
            float wave = std::sin(2 * kPi * (3 * u + 2 * v) + 6 * warp);
            float cross = std::sin(2 * kPi * (-2 * u + 4 * v) + 5 * warp);
            float t = 0.5f + 0.25f * wave + 0.25f * cross;
            Rgba p = mix(deep, shallow, t);
            float crest = std::max(0.0f, wave * cross - 0.55f) * 2.2f;
            c.set(x, y, mix(p, foam, std::min(0.8f, crest)));
        }
    return c;
}

Canvas stoneTexture(uint32_t seed, const Rgba& base)
{
    Canvas c(256, 256);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
        {
            float n = tileFractal(seed, x / 32.0f, y / 32.0f, 8, 5);
            float veins = std::fabs(tileNoise(seed + 9, x / 16.0f, y / 16.0f, 16) - 0.5f);
            c.set(x, y, scaled(base, 0.75f + 0.45f * n - (veins < 0.03f ? 0.12f : 0)));
        }
    return c;
}

// A pit of dark earth under a net in the side's colour, framed in it.
Canvas trapTexture(int side, GlyphPainter& glyphs)
{
    Canvas c = stoneTexture(31 + side, rgb(118, 88, 60));
    const Rgba& mark = kSideColour[side];
    for (int i = -256; i <= 256; i += 40)
    {
        c.line(i, 0, i + 256, 256, 4, mark);
        c.line(i + 256, 0, i, 256, 4, mark);
    }
    for (int i = -256; i <= 256; i += 40)
        for (int j = 0; j <= 256; j += 40)
            c.disc(128 + (i + j) / 2.0f, 128 + (j - i) / 2.0f, 0, mark);
    c.fillRect(0, 0, 256, 14, mark);
    c.fillRect(0, 242, 256, 256, mark);
    c.fillRect(0, 0, 14, 256, mark);
    c.fillRect(242, 0, 256, 256, mark);
    c.disc(128, 128, 46, kSideContrast[side]);
    c.disc(128, 128, 40, mark);
    // A spider's web reads as a trap at a glance.
    if (!glyphs.drawEmoji(c, 0x1F578, 128, 128, 60))
    {
        for (int k = 0; k < 8; ++k)
            c.line(128, 128, 128 + 34 * std::cos(k * kPi / 4), 128 + 34 * std::sin(k * kPi / 4), 3,
                   kSideContrast[side]);
    }
    return c;
}

// A paved sanctuary: a slab ringed in the side's colour with a shrine.
Canvas denTexture(int side, GlyphPainter& glyphs)
{
    Canvas c = stoneTexture(41 + side, rgb(168, 160, 146));
    const Rgba& mark = kSideColour[side];
    for (int i = 1; i < 4; ++i)
    {
        c.line(i * 64.0f, 0, i * 64.0f, 256, 2, rgb(110, 104, 96));
        c.line(0, i * 64.0f, 256, i * 64.0f, 2, rgb(110, 104, 96));
    }
    c.fillRect(0, 0, 256, 18, mark);
    c.fillRect(0, 238, 256, 256, mark);
    c.fillRect(0, 0, 18, 256, mark);
    c.fillRect(238, 0, 256, 256, mark);
    c.ring(128, 128, 84, 100, mark);
    c.disc(128, 128, 84, kSideContrast[side]);
    c.disc(128, 128, 76, mark);
    if (!glyphs.drawEmoji(c, 0x26E9, 128, 128, 112))
    {
        // A plain roof and two pillars when there is no emoji font.
        const Rgba& ink = kSideContrast[side];
        c.fillRect(70, 84, 186, 98, ink);
        c.fillRect(84, 108, 172, 118, ink);
        c.fillRect(94, 98, 106, 176, ink);
        c.fillRect(150, 98, 162, 176, ink);
    }
    return c;
}

Canvas woodTexture()
{
    Canvas c(256, 256);
    const Rgba dark = rgb(92, 56, 30), light = rgb(150, 98, 56);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
        {
            float n = tileFractal(55, x / 64.0f, y / 8.0f, 4, 3);
            float rings = 0.5f + 0.5f * std::sin(2 * kPi * (y / 32.0f) + 9 * n);
            c.set(x, y, mix(dark, light, 0.35f + 0.5f * rings * (0.6f + 0.4f * n)));
        }
    return c;
}

Canvas groundTexture()
{
    Canvas c(256, 256);
    const Rgba earth = rgb(92, 78, 58), moss = rgb(70, 96, 52);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
        {
            float n = tileFractal(61, x / 32.0f, y / 32.0f, 8, 5);
            float patches = tileFractal(62, x / 64.0f, y / 64.0f, 4, 3);
            Rgba p = mix(earth, moss, std::clamp((patches - 0.45f) * 4, 0.0f, 1.0f));
            c.set(x, y, scaled(p, 0.75f + 0.5f * n));
        }
    return c;
}

XMaterial material(const std::string& name, const std::string& texture, float specular, float power)
{
    XMaterial m;
    m.name = name;
    m.texture = texture;
    m.specular[0] = m.specular[1] = m.specular[2] = specular;
    m.power = power;
    return m;
}

void addCell(XMesh& mesh, int x, int y, float height, int material)
{
    float x0 = cellLeft(x), x1 = cellLeft(x + 1), zFar = cellFar(y), zNear = cellFar(y + 1);
    // The image's top edge lies on the far (+z) side, upright from the
    // players' usual view.
    const float uv[8] = {0, 0, 1, 0, 1, 1, 0, 1};
    mesh.addQuad({x0, height, zFar}, {x1, height, zFar}, {x1, height, zNear}, {x0, height, zNear}, {0, 1, 0},
                 uv, material);
}

bool writeBoard(const std::string& folder)
{
    XMesh cells("Plateau");
    int landLight = cells.addMaterial(material("Herbe", "herbe_claire.png", 0.05f, 6));
    int landDark = cells.addMaterial(material("HerbeSombre", "herbe_foncee.png", 0.05f, 6));
    int water = cells.addMaterial(material("Eau", "eau.png", 0.7f, 40));
    int trap[2] = {cells.addMaterial(material("PiegeBlanc", "piege_blanc.png", 0.1f, 8)),
                   cells.addMaterial(material("PiegeNoir", "piege_noir.png", 0.1f, 8))};
    int den[2] = {cells.addMaterial(material("TaniereBlanche", "taniere_blanche.png", 0.2f, 12)),
                  cells.addMaterial(material("TaniereNoire", "taniere_noire.png", 0.2f, 12))};
    int stone = cells.addMaterial(material("Pierre", "pierre.png", 0.15f, 10));

    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9; ++x)
            switch (terrainOf(x, y))
            {
            case Terrain::Water:
                addCell(cells, x, y, kWater, water);
                break;
            case Terrain::Land:
                addCell(cells, x, y, kLand, (x + y) % 2 ? landDark : landLight);
                break;
            case Terrain::Trap0:
            case Terrain::Trap1:
                addCell(cells, x, y, kLand, trap[terrainOf(x, y) == Terrain::Trap1]);
                break;
            case Terrain::Den0:
            case Terrain::Den1:
                addCell(cells, x, y, kLand, den[terrainOf(x, y) == Terrain::Den1]);
                break;
            }

    // Ridges along every grid line but through the lakes. They reach down to
    // the water, so their sides are the lakes' banks. The outer ones lie
    // inside the board's outline, which must stay the playing area exactly.
    const float ridgeFoot = kWater - 0.5f;
    for (int gx = 0; gx <= 9; ++gx)
    {
        float cx = cellLeft(gx);
        float lo = gx == 0 ? cx : cx - kRidge, hi = gx == 9 ? cx : cx + kRidge;
        int y = 0;
        while (y < 7)
        {
            if (isWater(gx - 1, y) && isWater(gx, y))
            {
                ++y;
                continue;
            }
            int end = y;
            while (end < 7 && !(isWater(gx - 1, end) && isWater(gx, end)))
                ++end;
            cells.addBox({lo, ridgeFoot, cellFar(end)}, {hi, kTop, cellFar(y)}, kCell, stone);
            y = end;
        }
    }
    for (int gy = 0; gy <= 7; ++gy)
    {
        float cz = cellFar(gy);
        float lo = gy == 7 ? cz : cz - kRidge, hi = gy == 0 ? cz : cz + kRidge;
        for (int x = 0; x < 9; ++x)
        {
            if (isWater(x, gy - 1) && isWater(x, gy))
                continue;
            // Where ridges cross they overlap; their tops map the texture by
            // position, so the overlap shows no seam.
            cells.addBox({cellLeft(x), ridgeFoot, lo}, {cellLeft(x + 1), kTop, hi}, kCell, stone);
        }
    }
    // The outer sides down to the board's foot.
    {
        const float h = kTop - kBottom;
        float uvLong[8] = {0, 0, 9, 0, 9, h / kCell, 0, h / kCell};
        float uvShort[8] = {0, 0, 7, 0, 7, h / kCell, 0, h / kCell};
        float X = kHalfWidth, Z = kHalfDepth;
        cells.addQuad({-X, kTop, -Z}, {X, kTop, -Z}, {X, kBottom, -Z}, {-X, kBottom, -Z}, {0, 0, -1}, uvLong,
                      stone);
        cells.addQuad({X, kTop, Z}, {-X, kTop, Z}, {-X, kBottom, Z}, {X, kBottom, Z}, {0, 0, 1}, uvLong,
                      stone);
        cells.addQuad({-X, kTop, Z}, {-X, kTop, -Z}, {-X, kBottom, -Z}, {-X, kBottom, Z}, {-1, 0, 0}, uvShort,
                      stone);
        cells.addQuad({X, kTop, -Z}, {X, kTop, Z}, {X, kBottom, Z}, {X, kBottom, -Z}, {1, 0, 0}, uvShort,
                      stone);
    }
    return writeXFile(folder + "/plateau.X", {&cells});
}

bool writeSurroundings(const std::string& folder)
{
    XMesh frame("Cadre");
    int wood = frame.addMaterial(material("Bois", "bois.png", 0.25f, 16));
    const float width = 14, top = 1.5f, foot = -16;
    const float X = kHalfWidth, Z = kHalfDepth;
    frame.addBox({-X - width, foot, Z}, {X + width, top, Z + width}, 64, wood);
    frame.addBox({-X - width, foot, -Z - width}, {X + width, top, -Z}, 64, wood);
    frame.addBox({-X - width, foot, -Z}, {-X, top, Z}, 64, wood);
    frame.addBox({X, foot, -Z}, {X + width, top, Z}, 64, wood);

    XMesh ground("Sol");
    int earth = ground.addMaterial(material("Terre", "sol.png", 0.02f, 4));
    const int segments = 64;
    const float radius = 640, tile = 160;
    XVertex centre{{0, foot, 0}, {0, 1, 0}, 0, 0};
    for (int i = 0; i < segments; ++i)
    {
        float a0 = 2 * kPi * i / segments, a1 = 2 * kPi * (i + 1) / segments;
        Vec3 p0{radius * std::cos(a0), foot, radius * std::sin(a0)};
        Vec3 p1{radius * std::cos(a1), foot, radius * std::sin(a1)};
        ground.addTriangle(centre, {p0, {0, 1, 0}, p0.x / tile, -p0.z / tile},
                           {p1, {0, 1, 0}, p1.x / tile, -p1.z / tile}, {0, 1, 0}, earth);
    }
    return writeXFile(folder + "/plateau_fond.X", {&frame, &ground});
}
} // namespace

bool generateBoard(const std::string& folder, GlyphPainter& glyphs)
{
    bool ok = save(grassTexture(11, rgb(112, 156, 72)), folder, "herbe_claire.png") &&
              save(grassTexture(12, rgb(88, 132, 60)), folder, "herbe_foncee.png") &&
              save(waterTexture(), folder, "eau.png") &&
              save(trapTexture(0, glyphs), folder, "piege_blanc.png") &&
              save(trapTexture(1, glyphs), folder, "piege_noir.png") &&
              save(denTexture(0, glyphs), folder, "taniere_blanche.png") &&
              save(denTexture(1, glyphs), folder, "taniere_noire.png") &&
              save(stoneTexture(21, rgb(176, 166, 146)), folder, "pierre.png") &&
              save(woodTexture(), folder, "bois.png") && save(groundTexture(), folder, "sol.png");
    if (!ok)
        return false;
    if (!writeBoard(folder) || !writeSurroundings(folder))
    {
        std::fprintf(stderr, "model-generator: cannot write the board models in %s\n", folder.c_str());
        return false;
    }
    return true;
}

} // namespace ModelGen
