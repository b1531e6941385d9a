// The animals: one round token per rank, taller with rank, standing on its
// base at y = 0. Model units are hundredths of a scene unit (the board view
// scales pieces by 0.01), so a token 76 units across fills most of a cell.
//
// Every face of a token uses one material, because the board view gives a
// piece's whole instance the side's material and texture. The texture is
// therefore an atlas: its left square is the top face (the animal's picture
// and its rank), its right square wraps around the body.
#include "Generators.h"
#include "XFile.h"

#include <cmath>
#include <cstdio>

namespace ModelGen
{

namespace
{
constexpr float kPi = 3.14159265358979f;
constexpr float kRadius = 38;
constexpr float kBevel = 3;
constexpr int kSegments = 48;

struct Animal
{
    const char* file;
    const char* label; // drawn when no emoji font is available
    uint32_t emoji;
};

const Animal kAnimals[8] = {
    {"rat", "RAT", 0x1F400},     {"chat", "CHAT", 0x1F431},      {"loup", "LOUP", 0x1F43A},
    {"chien", "CHIEN", 0x1F436}, {"panthere", "PANTH", 0x1F406}, {"tigre", "TIGRE", 0x1F42F},
    {"lion", "LION", 0x1F981},   {"elephant", "ELEPH", 0x1F418},
};

struct Scheme
{
    const char* suffix;
    Rgba body;
    Rgba face;  // behind the picture
    Rgba badge; // behind the rank
    Rgba digit;
};

const Scheme kSchemes[4] = {
    {"blanc", rgb(236, 228, 208), rgb(252, 248, 238), rgb(70, 58, 46), rgb(250, 244, 230)},
    {"noir", rgb(46, 40, 48), rgb(88, 82, 92), rgb(236, 226, 200), rgb(40, 34, 40)},
    {"bleu", rgb(36, 84, 184), rgb(226, 236, 252), rgb(24, 56, 132), rgb(255, 255, 255)},
    {"rouge", rgb(186, 38, 36), rgb(252, 230, 226), rgb(134, 24, 24), rgb(255, 255, 255)},
};

const Rgba kAccent = rgb(212, 172, 60);

float tokenHeight(int rank)
{
    return 16.0f + 6.0f * rank;
}

Canvas pieceTexture(int rank, const Scheme& scheme, GlyphPainter& glyphs)
{
    Canvas c(512, 256);
    // Body: the side's colour, lighter towards the top, with a gilt band
    // under the rim and a thin one near the base.
    for (int y = 0; y < 256; ++y)
        for (int x = 256; x < 512; ++x)
            c.set(x, y, scaled(scheme.body, 1.08f - 0.2f * y / 256.0f));
    c.grain(90 + rank, 16, 0.05f);
    c.fillRect(256, 24, 512, 40, kAccent);
    c.fillRect(256, 226, 512, 232, kAccent);

    // Top: a rim of the side's colour (the bevel maps onto the outer
    // pixels), a gilt line, the picture and the rank underneath it.
    c.fillRect(0, 0, 256, 256, scheme.body);
    c.ring(128, 128, 112, 118, kAccent);
    c.disc(128, 128, 112, scheme.face);
    Rgba contour = scheme.badge;
    contour.a = 0.8f;
    if (!glyphs.drawEmoji(c, kAnimals[rank].emoji, 128, 100, 160, &contour))
        glyphs.drawText(c, kAnimals[rank].label, 128, 100, 40, scheme.badge);
    c.disc(128, 204, 27, kAccent);
    c.disc(128, 204, 24, scheme.badge);
    // Ranks are shown 1 to 8, as players count them.
    std::string digit(1, static_cast<char>('1' + rank));
    if (!glyphs.drawText(c, digit, 128, 204, 34, scheme.digit))
        for (int i = 0; i <= rank; ++i)
            c.disc(128 + (i % 4 - 1.5f) * 10, 198 + (i / 4) * 12.0f, 3.5f, scheme.digit);
    return c;
}

XVertex vertex(Vec3 p, Vec3 n, float u, float v)
{
    return {p, n, u, v};
}

bool writeToken(const std::string& folder, int rank)
{
    const float h = tokenHeight(rank), inner = kRadius - kBevel, shoulder = h - kBevel;
    XMesh mesh("Pion");
    XMaterial m;
    m.name = "Pion";
    m.power = 24;
    m.specular[0] = m.specular[1] = m.specular[2] = 0.3f;
    m.texture = std::string(kAnimals[rank].file) + "_blanc.png";
    int material = mesh.addMaterial(m);

    // The top face's picture (the texture's left square, 256 pixels) is
    // 118 pixels in radius out to the gilt line; the flat top takes 112, the
    // bevel the rest up to the square's edge.
    auto topU = [](float x, float r) { return (128 + r * x) / 512; };
    auto topV = [](float z, float r) { return (128 - r * z) / 256; };
    const float topScale = 112 / inner, rimScale = 127 / kRadius;
    const Vec3 up{0, 1, 0}, down{0, -1, 0};
    for (int i = 0; i < kSegments; ++i)
    {
        float a0 = 2 * kPi * i / kSegments, a1 = 2 * kPi * (i + 1) / kSegments;
        float c0 = std::cos(a0), s0 = std::sin(a0), c1 = std::cos(a1), s1 = std::sin(a1);
        Vec3 mid = normalized({c0 + c1, 0, s0 + s1});

        // Flat top.
        Vec3 t0{inner * c0, h, inner * s0}, t1{inner * c1, h, inner * s1}, tc{0, h, 0};
        mesh.addTriangle(vertex(tc, up, topU(0, 0), topV(0, 0)),
                         vertex(t0, up, topU(t0.x, topScale), topV(t0.z, topScale)),
                         vertex(t1, up, topU(t1.x, topScale), topV(t1.z, topScale)), up, material);

        // Bevel, normals half way between up and out.
        Vec3 b0{kRadius * c0, shoulder, kRadius * s0}, b1{kRadius * c1, shoulder, kRadius * s1};
        Vec3 n0 = normalized({c0, 1, s0}), n1 = normalized({c1, 1, s1});
        XVertex vt0 = vertex(t0, n0, topU(t0.x, topScale), topV(t0.z, topScale));
        XVertex vt1 = vertex(t1, n1, topU(t1.x, topScale), topV(t1.z, topScale));
        XVertex vb0 = vertex(b0, n0, topU(b0.x, rimScale), topV(b0.z, rimScale));
        XVertex vb1 = vertex(b1, n1, topU(b1.x, rimScale), topV(b1.z, rimScale));
        Vec3 bevelFacing = normalized({mid.x, 1, mid.z});
        mesh.addTriangle(vt0, vb0, vb1, bevelFacing, material);
        mesh.addTriangle(vt0, vb1, vt1, bevelFacing, material);

        // Side, wrapping the texture's right square once around.
        float u0 = 0.5f + 0.5f * i / kSegments, u1 = 0.5f + 0.5f * (i + 1) / kSegments;
        Vec3 f0{kRadius * c0, 0, kRadius * s0}, f1{kRadius * c1, 0, kRadius * s1};
        Vec3 o0{c0, 0, s0}, o1{c1, 0, s1};
        XVertex s0t = vertex(b0, o0, u0, 0.02f), s1t = vertex(b1, o1, u1, 0.02f);
        XVertex s0b = vertex(f0, o0, u0, 0.98f), s1b = vertex(f1, o1, u1, 0.98f);
        mesh.addTriangle(s0t, s0b, s1b, mid, material);
        mesh.addTriangle(s0t, s1b, s1t, mid, material);

        // Base, in the body's colour.
        mesh.addTriangle(vertex({0, 0, 0}, down, 0.75f, 0.5f), vertex(f0, down, 0.75f, 0.5f),
                         vertex(f1, down, 0.75f, 0.5f), down, material);
    }
    return writeXFile(folder + "/" + kAnimals[rank].file + ".X", {&mesh});
}
} // namespace

bool generatePieces(const std::string& folder, GlyphPainter& glyphs)
{
    for (int rank = 0; rank < 8; ++rank)
    {
        for (const Scheme& scheme : kSchemes)
        {
            std::string name = std::string(kAnimals[rank].file) + "_" + scheme.suffix + ".png";
            if (!pieceTexture(rank, scheme, glyphs).savePng(folder + "/" + name))
            {
                std::fprintf(stderr, "model-generator: cannot write %s/%s\n", folder.c_str(), name.c_str());
                return false;
            }
        }
        if (!writeToken(folder, rank))
        {
            std::fprintf(stderr, "model-generator: cannot write the model of rank %d in %s\n", rank,
                         folder.c_str());
            return false;
        }
    }
    return true;
}

} // namespace ModelGen
