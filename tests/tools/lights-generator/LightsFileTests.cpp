// Checks data/lights.dat as the board view reads it: a u32 count and
// 69-byte records, and that the lights make a sensible scene.
#include "Framework/BinaryStream.h"
#include "Platform/System/Paths.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace
{
const std::string kData = VELMORIQUE_DATA_DIR;

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Light
{
    uint32_t kind = 0, ambient = 0, diffuse = 0, specular = 0;
    float position[3]{}, direction[3]{}, attenuation[3]{};
    float range = 0, falloff = 0, theta = 0, phi = 0;
    uint8_t enabled = 0;
};

// Field by field, in the order and sizes the game transfers them.
ErrorCode readLight(InputStream& in, Light& l)
{
    ErrorCode code = ERROR_OK;
    auto get = [&](auto& value)
    {
        if (code == ERROR_OK)
            code = in.transferValue(value);
    };
    get(l.kind);
    get(l.ambient);
    get(l.diffuse);
    get(l.specular);
    for (float& v : l.position)
        get(v);
    for (float& v : l.direction)
        get(v);
    for (float& v : l.attenuation)
        get(v);
    get(l.range);
    get(l.falloff);
    get(l.theta);
    get(l.phi);
    get(l.enabled);
    return code;
}

uint32_t channelSum(uint32_t colour, int shift)
{
    return (colour >> shift) & 0xFF;
}
} // namespace

TEST(LightsFile, HoldsACountAndRecordsOfSixtyNineBytes)
{
    std::string bytes = readFile(kData + "/lights.dat");
    ASSERT_GE(bytes.size(), 4u);
    MemoryInputStream in(bytes.data(), static_cast<uint32_t>(bytes.size()));
    uint32_t count = 0;
    ASSERT_EQ(in.transferValue(count), ERROR_OK);
    EXPECT_EQ(count, 3u) << "key, fill and rim";
    EXPECT_EQ(bytes.size(), 4u + 69u * count);
    for (uint32_t i = 0; i < count; ++i)
    {
        Light light;
        ASSERT_EQ(readLight(in, light), ERROR_OK);
        EXPECT_EQ(in.tell(), 4u + 69u * (i + 1));
    }
    EXPECT_TRUE(in.isAtEnd());
}

TEST(LightsFile, LightsShineDownOnTheBoardAndLeaveItNeitherDarkNorWashedOut)
{
    std::string bytes = readFile(kData + "/lights.dat");
    MemoryInputStream in(bytes.data(), static_cast<uint32_t>(bytes.size()));
    uint32_t count = 0;
    ASSERT_EQ(in.transferValue(count), ERROR_OK);
    ASSERT_LE(count, 8u) << "the fixed-function pipeline lights eight at most";
    uint32_t ambient[3] = {0, 0, 0};
    uint32_t brightestDiffuse = 0;
    for (uint32_t i = 0; i < count; ++i)
    {
        Light l;
        ASSERT_EQ(readLight(in, l), ERROR_OK);
        SCOPED_TRACE("light " + std::to_string(i));
        EXPECT_LE(l.kind, 2u);
        EXPECT_EQ(l.enabled, 1);
        for (uint32_t colour : {l.ambient, l.diffuse, l.specular})
            EXPECT_EQ(colour >> 24, 0xFFu);
        if (l.kind == 2)
        {
            float length = std::sqrt(l.direction[0] * l.direction[0] + l.direction[1] * l.direction[1] +
                                     l.direction[2] * l.direction[2]);
            EXPECT_NEAR(length, 1.0f, 1e-4f);
            EXPECT_LT(l.direction[1], 0.0f) << "a light from below the board";
        }
        for (int shift : {16, 8, 0})
            ambient[shift / 8] += channelSum(l.ambient, shift);
        brightestDiffuse = std::max(brightestDiffuse, channelSum(l.diffuse, 8));
    }
    // The view sets no global ambient: the lights' own must keep the shaded
    // sides visible without flattening the scene.
    for (uint32_t a : ambient)
    {
        EXPECT_GE(a, 0x30u);
        EXPECT_LE(a, 0x80u);
    }
    EXPECT_GE(brightestDiffuse, 0xC0u);
}

TEST(LightsGenerator, WritesTheSameBytesEveryTime)
{
    Platform::TemporaryDirectory scratch;
    std::string path = scratch.path() + "lights.dat";
    std::string command = std::string("\"") + LIGHTS_GENERATOR + "\" \"" + path + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(readFile(path), readFile(kData + "/lights.dat"));
}
