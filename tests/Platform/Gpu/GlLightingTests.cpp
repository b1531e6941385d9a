#include "GlTestSupport.h"

#include <cmath>

using namespace GpuTest;

namespace
{

struct NormalVertex
{
    float x, y, z;
    float nx, ny, nz;
    float u, v;
};

uint32_t toByte(float value)
{
    return uint32_t(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}

uint32_t argbOf(float r, float g, float b)
{
    return 0xFF000000u | toByte(r) << 16 | toByte(g) << 8 | toByte(b);
}

class GlLightingTest : public GlDeviceTest
{
protected:
    void SetUp() override
    {
        GlDeviceTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
        {
            return;
        }
        // Identity transforms: view space is clip space, the quad faces the
        // viewer at the origin from z = 0.5.
        device->setTransform(TS_PROJECTION, Matrix{});
        device->setRenderState(RS_LIGHTING, 1);
        device->setRenderState(RS_AMBIENT, 0);
        device->setTexture(0, nullptr);
        device->clear(CLEAR_TARGET, 0xFF000000, 1, 0);
        Material material;
        material.diffuse = {1, 1, 1, 1};
        material.ambient = {1, 1, 1, 1};
        device->setMaterial(material);
    }

    // Corners at (+-1, +-1, 0.5): with a light on the z axis all four get the
    // same colour, so the whole frame shows it.
    void drawLitQuad()
    {
        const NormalVertex v[4] = {{-1, 1, 0.5f, 0, 0, -1, 0, 0},
                                   {1, 1, 0.5f, 0, 0, -1, 0, 0},
                                   {-1, -1, 0.5f, 0, 0, -1, 0, 0},
                                   {1, -1, 0.5f, 0, 0, -1, 0, 0}};
        std::unique_ptr<VertexBuffer> buffer;
        ASSERT_EQ(device->createVertexBuffer(sizeof v, 0, FVF_XYZ_NORMAL_TEX1, POOL_MANAGED, &buffer),
                  GPU_OK);
        void* data;
        buffer->lock(0, 0, &data, 0);
        std::memcpy(data, v, sizeof v);
        buffer->unlock();
        device->setStreamSource(0, buffer.get(), 0, sizeof(NormalVertex));
        device->setFVF(FVF_XYZ_NORMAL_TEX1);
        ASSERT_EQ(device->drawPrimitive(PT_TRIANGLESTRIP, 0, 2), GPU_OK);
        device->readFrame();
    }
};

} // namespace

TEST_F(GlLightingTest, DirectionalLightWithAmbientAndEmissive)
{
    Material material;
    material.diffuse = {1, 0.5f, 0.25f, 1};
    material.ambient = {1, 1, 1, 1};
    material.emissive = {0, 0, 0.1f, 1};
    device->setMaterial(material);
    device->setRenderState(RS_AMBIENT, 0x00202020);
    Light light;
    light.type = LIGHT_DIRECTIONAL;
    light.diffuse = {0.5f, 1, 1, 1};
    light.ambient = {0.1f, 0.1f, 0.1f, 1};
    light.direction = {0, 0.6f, 0.8f};
    ASSERT_EQ(device->setLight(7, light), GPU_OK);
    ASSERT_EQ(device->lightEnable(7, true), GPU_OK);
    drawLitQuad();
    // N.L = (0, 0, -1) . (0, -0.6, -0.8) = 0.8
    float ambient = 32.0f / 255.0f + 0.1f;
    uint32_t expected = argbOf(0.5f * 0.8f + ambient, 0.5f * 0.8f + ambient, 0.25f * 0.8f + ambient + 0.1f);
    EXPECT_TRUE(nearColor(pixel(512, 384), expected));
    EXPECT_TRUE(nearColor(pixel(5, 5), expected));
}

TEST_F(GlLightingTest, PointLightAttenuatesWithDistanceAndAddsLocalSpecular)
{
    Material material;
    material.diffuse = {1, 1, 1, 1};
    material.specular = {0.5f, 0.5f, 0.5f, 1};
    material.power = 2;
    device->setMaterial(material);
    device->setRenderState(RS_SPECULARENABLE, 1);
    device->setRenderState(RS_LOCALVIEWER, 1);
    Light light;
    light.type = LIGHT_POINT;
    light.diffuse = {0.6f, 0.6f, 0.6f, 1};
    light.specular = {1, 1, 1, 1};
    light.position = {0, 0, -0.5f};
    light.range = 10;
    light.attenuation0 = 0.5f;
    light.attenuation1 = 0.1f;
    light.attenuation2 = 0.05f;
    device->setLight(1000, light);
    device->lightEnable(1000, true);
    drawLitQuad();
    // Corner (1, 1, 0.5): light 1, 1, 1 away (distance sqrt 3), viewer at the origin.
    float distance = std::sqrt(3.0f);
    float attenuation = 1.0f / (0.5f + 0.1f * distance + 0.05f * 3.0f);
    float nl = 1.0f / distance;
    Vector3 toLight = vec3Normalize({-1, -1, -1});
    Vector3 toViewer = vec3Normalize({-1, -1, -0.5f});
    Vector3 half = vec3Normalize(toLight + toViewer);
    float nh = vec3Dot({0, 0, -1}, half);
    float value = 0.6f * nl * attenuation + 0.5f * nh * nh * attenuation;
    EXPECT_TRUE(nearColor(pixel(512, 384), argbOf(value, value, value)));
    // Out of range: nothing.
    light.range = 1.5f;
    device->setLight(1000, light);
    device->clear(CLEAR_TARGET, 0xFF000000, 1, 0);
    drawLitQuad();
    forgetFrame();
    EXPECT_EQ(pixel(512, 384), 0xFF000000u);
}

TEST_F(GlLightingTest, SpotLightFallsOffBetweenInnerAndOuterCone)
{
    const float pi = 3.14159265f;
    Light light;
    light.type = LIGHT_SPOT;
    light.diffuse = {1, 1, 1, 1};
    light.position = {0, 0, -0.5f};
    light.direction = {0, 0, 1};
    light.range = 10;
    light.attenuation0 = 1;
    light.theta = pi / 3;   // inner half angle 30 degrees
    light.phi = 2 * pi / 3; // outer half angle 60 degrees
    light.falloff = 2;
    device->setLight(3, light);
    device->lightEnable(3, true);
    drawLitQuad();
    // The corners are 54.7 degrees off the axis: rho = 1 / sqrt 3.
    float rho = 1.0f / std::sqrt(3.0f);
    float spot = std::pow((rho - std::cos(pi / 3)) / (std::cos(pi / 6) - std::cos(pi / 3)), 2.0f);
    float value = rho * spot;
    EXPECT_TRUE(nearColor(pixel(512, 384), argbOf(value, value, value)));
    // A narrower outer cone leaves the corners dark.
    light.phi = pi / 2;
    device->setLight(3, light);
    device->clear(CLEAR_TARGET, 0xFF000000, 1, 0);
    drawLitQuad();
    forgetFrame();
    EXPECT_EQ(pixel(512, 384), 0xFF000000u);
}

TEST_F(GlLightingTest, EightLightsAtOnceAddUp)
{
    Light light;
    light.type = LIGHT_DIRECTIONAL;
    light.diffuse = {0.1f, 0.1f, 0.1f, 1};
    light.direction = {0, 0, 1};
    for (uint32_t i = 0; i < 8; ++i)
    {
        device->setLight(i * 5, light);
        device->lightEnable(i * 5, true);
    }
    drawLitQuad();
    EXPECT_TRUE(nearColor(pixel(512, 384), argbOf(0.8f, 0.8f, 0.8f)));
    // Switching lights off takes them away.
    for (uint32_t i = 0; i < 4; ++i)
    {
        device->lightEnable(i * 5, false);
    }
    device->clear(CLEAR_TARGET, 0xFF000000, 1, 0);
    drawLitQuad();
    forgetFrame();
    EXPECT_TRUE(nearColor(pixel(512, 384), argbOf(0.4f, 0.4f, 0.4f)));
}

TEST_F(GlLightingTest, ScreenshotIsWrittenAsPng)
{
    device->clear(CLEAR_TARGET, 0xFF102030, 1, 0);
    std::string path = testing::TempDir() + "velmorique-shot.png";
    ASSERT_EQ(device->saveScreenshot(path), GPU_OK);
    std::FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    unsigned char header[24];
    ASSERT_EQ(std::fread(header, 1, sizeof header, file), sizeof header);
    std::fclose(file);
    std::remove(path.c_str());
    EXPECT_EQ(std::memcmp(header, "\x89PNG\r\n\x1a\n", 8), 0);
    // Width and height of the header chunk, big-endian.
    EXPECT_EQ(header[18] << 8 | header[19], 1024);
    EXPECT_EQ(header[22] << 8 | header[23], 768);
    EXPECT_EQ(device->present(), GPU_OK);
    EXPECT_EQ(device->saveScreenshot("/nonexistent-folder/x.png"), GPU_FAIL);
}

TEST_F(GlLightingTest, LitBlendingFollowsTheMaterialAlpha)
{
    // No light: the colour is the material's emissive, the alpha its diffuse.
    device->setRenderState(RS_ALPHABLENDENABLE, 1);
    device->setRenderState(RS_SRCBLEND, BLEND_SRCALPHA);
    device->setRenderState(RS_DESTBLEND, BLEND_INVSRCALPHA);
    device->setTextureStageState(0, TSS_COLOROP, TOP_SELECTARG2);
    device->setTextureStageState(0, TSS_ALPHAOP, TOP_SELECTARG2);
    for (float alpha : {1.0f, 0.5f})
    {
        SCOPED_TRACE(alpha);
        Material material;
        material.diffuse = {0, 0, 0, alpha};
        material.emissive = {0, 0, 1, 1};
        device->setMaterial(material);
        device->clear(CLEAR_TARGET, 0xFFFF0000, 1, 0);
        drawLitQuad();
        forgetFrame();
        EXPECT_TRUE(nearColor(pixel(512, 384), alpha == 1.0f ? 0xFF0000FFu : 0xBF7F0080u));
    }
}
