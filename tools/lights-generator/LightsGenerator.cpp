// Writes the lights file of the board scene:
//   lights-generator <lights.dat>
// A u32 count, then one 69-byte record per light, little-endian, in the
// order the board view reads them.
#include "Framework/DiskFile.h"
#include "Framework/ErrorCodes.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace
{
struct LightRecord
{
    uint32_t kind; // 0 point, 1 spot, 2 directional
    uint32_t ambient, diffuse, specular;
    float position[3];
    float direction[3];
    float attenuation[3];
    float range, falloff, theta, phi;
    uint8_t enabled;
};

LightRecord directional(uint32_t ambient, uint32_t diffuse, uint32_t specular, float x, float y, float z)
{
    float length = std::sqrt(x * x + y * y + z * z);
    return {2,         ambient, diffuse, specular, {0, 0, 0}, {x / length, y / length, z / length},
            {1, 0, 0}, 1000.0f, 1.0f,    0.0f,     0.0f,      1};
}

// The scene is seen from the -z side, side 0 on the left. The key light
// comes from above, over the viewer's left shoulder, warm; the fill from
// the right, cool and dim, without highlights; the rim from behind the
// board, catching the far edges of the tokens. Their ambient parts add up to
// about a third of full light, since the view sets no global ambient.
std::vector<LightRecord> sceneLights()
{
    return {directional(0xFF3C3A36, 0xFFFFF2DC, 0xFFC8C0B0, 0.45f, -1.0f, 0.55f),
            directional(0xFF14161C, 0xFF5C6A84, 0xFF000000, -0.7f, -0.45f, 0.35f),
            directional(0xFF000000, 0xFF8C8070, 0xFF807060, 0.15f, -0.55f, -1.0f)};
}

ErrorCode writeRecord(OutputStream& out, LightRecord& light)
{
    ErrorCode code = ERROR_OK;
    auto put = [&](auto& value)
    {
        if (code == ERROR_OK)
            code = out.transferValue(value);
    };
    put(light.kind);
    put(light.ambient);
    put(light.diffuse);
    put(light.specular);
    for (float& v : light.position)
        put(v);
    for (float& v : light.direction)
        put(v);
    for (float& v : light.attenuation)
        put(v);
    put(light.range);
    put(light.falloff);
    put(light.theta);
    put(light.phi);
    put(light.enabled);
    return code;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: %s <lights.dat>\n", argv[0]);
        return 2;
    }
    std::error_code error;
    std::filesystem::path path = std::filesystem::absolute(argv[1], error);
    if (path.has_parent_path())
        std::filesystem::create_directories(path.parent_path(), error);
    std::vector<LightRecord> lights = sceneLights();
    DiskOutputFile out(path.string());
    ErrorCode code = out.open();
    uint32_t count = static_cast<uint32_t>(lights.size());
    if (code == ERROR_OK)
        code = out.transferValue(count);
    for (LightRecord& light : lights)
        if (code == ERROR_OK)
            code = writeRecord(out, light);
    ErrorCode closed = out.isOpen() ? out.close() : ERROR_OK;
    if (code == ERROR_OK)
        code = closed;
    if (code != ERROR_OK)
    {
        std::fprintf(stderr, "lights-generator: writing %s failed with error %u\n", argv[1],
                     static_cast<unsigned>(code));
        return 1;
    }
    return 0;
}
