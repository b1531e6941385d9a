// Effects on the recording device: the text taken apart, parameters kept
// by type, the pass protocol, and blended vertices drawn only inside a pass.
#include "Platform/Gpu/RecordingDevice.h"

#include <gtest/gtest.h>

using namespace Platform;
using namespace Platform::Gpu;

namespace
{

const char* const kEffect = R"(// two techniques
//! technique fast SKINNING=1
//! technique slow SKINNING=0 EXTRA
//! common
#ifndef SIZE_DEFAULT
#define SIZE_DEFAULT 26
#endif
//! vertex
uniform int SIZE = SIZE_DEFAULT;
uniform mat4 palette[SIZE_DEFAULT];
uniform vec4 colour = vec4(1.0);
uniform vec3 direction;
uniform float power;
// uniform of another kind in a comment: uniform dvec2 nothing;
void main() { gl_Position = deviceClip(vec4(aPosition, 1.0)); }
//! fragment
uniform sampler2D picture;
out vec4 fragColor;
void main() { fragColor = vec4(1.0); }
)";

class EffectTest : public ::testing::Test
{
protected:
    std::unique_ptr<Effect> make(const std::string& text, std::vector<EffectMacro> macros = {})
    {
        std::unique_ptr<Effect> effect;
        std::string errors;
        result = device.createEffect(text, macros, &effect, &errors);
        return effect;
    }

    RecordingDevice device;
    PlatformResult result = GPU_OK;
};

TEST_F(EffectTest, TechniquesAndParametersComeFromTheText)
{
    auto effect = make(kEffect);
    ASSERT_EQ(result, GPU_OK);
    EXPECT_TRUE(effect->hasTechnique("fast"));
    EXPECT_TRUE(effect->hasTechnique("slow"));
    EXPECT_EQ(effect->getTechnique(), "fast");
    int32_t size = 0;
    ASSERT_EQ(effect->getInt("SIZE", &size), GPU_OK);
    EXPECT_EQ(size, 26);
    EXPECT_EQ(effect->getParameter("palette")->count, 26u);
    EXPECT_EQ(effect->getParameter("picture")->type, EPT_SAMPLER);
    // A macro given at creation wins over the text's default.
    effect = make(kEffect, {{"SIZE_DEFAULT", "35"}});
    ASSERT_EQ(effect->getInt("SIZE", &size), GPU_OK);
    EXPECT_EQ(size, 35);
    EXPECT_EQ(effect->getParameter("palette")->count, 35u);
}

TEST_F(EffectTest, TextsThatAreNoEffectAreRefused)
{
    const std::string stages = "//! vertex\nvoid main() {}\n//! fragment\nvoid main() {}\n";
    for (const std::string& text :
         std::vector<std::string>{stages, "//! technique t0\n//! vertex\nvoid main() {}\n",
                                  "//! technique t0\n//! shader\n" + stages,
                                  "//! technique t0\n" + stages + "uniform dvec2 odd;\n",
                                  "//! technique t0\n" + stages + "uniform mat4 m[UNKNOWN];\n"})
    {
        EXPECT_FALSE(make(text)) << text;
        EXPECT_EQ(result, GPU_INVALIDCALL);
    }
}

TEST_F(EffectTest, ParametersTakeValuesOfTheirTypeOnly)
{
    auto effect = make(kEffect);
    Matrix palette[3];
    palette[2] = matrixTranslation(1, 2, 3);
    EXPECT_EQ(effect->setMatrixArray("palette", palette, 3), GPU_OK);
    EXPECT_EQ(effect->getParameter("palette")->values[2 * 16 + 12], 1.0f);
    EXPECT_EQ(effect->setMatrixArray("palette", palette, 27), GPU_INVALIDCALL);
    EXPECT_EQ(effect->setVector("direction", {1, 2, 3, 4}), GPU_OK);
    EXPECT_EQ(effect->getParameter("direction")->values, (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(effect->setFloat("colour", 1), GPU_INVALIDCALL);
    EXPECT_EQ(effect->setInt("missing", 1), GPU_INVALIDCALL);
    EXPECT_EQ(effect->setInt("SIZE", 12), GPU_OK);
    int32_t size = 0;
    EXPECT_EQ(effect->getInt("SIZE", &size), GPU_OK);
    EXPECT_EQ(size, 12);
    EXPECT_EQ(effect->getInt("power", &size), GPU_INVALIDCALL);
    EXPECT_EQ(effect->setTechnique("none"), GPU_INVALIDCALL);
    EXPECT_EQ(effect->setTechnique("slow"), GPU_OK);
}

TEST_F(EffectTest, BlendedVerticesDrawOnlyInsideAPass)
{
    auto effect = make(kEffect);
    const uint32_t fvf = FVF_XYZB2 | FVF_LASTBETA_UBYTE4 | FVF_NORMAL | FVF_TEX1;
    ASSERT_EQ(vertexSize(fvf), 12u + 8 + 12 + 8);
    EXPECT_EQ(vertexSize(FVF_XYZ | FVF_LASTBETA_UBYTE4), 0u);
    std::unique_ptr<VertexBuffer> buffer;
    ASSERT_EQ(device.createVertexBuffer(3 * 40, 0, fvf, POOL_MANAGED, &buffer), GPU_OK);
    device.setStreamSource(0, buffer.get(), 0, 40);
    ASSERT_EQ(device.setFVF(fvf), GPU_OK);
    EXPECT_EQ(device.drawPrimitive(PT_TRIANGLELIST, 0, 1), GPU_INVALIDCALL);
    EXPECT_EQ(effect->beginPass(0), GPU_INVALIDCALL);
    uint32_t passes = 0;
    ASSERT_EQ(effect->begin(&passes, 0), GPU_OK);
    EXPECT_EQ(passes, 1u);
    ASSERT_EQ(effect->beginPass(0), GPU_OK);
    EXPECT_EQ(device.drawPrimitive(PT_TRIANGLELIST, 0, 1), GPU_OK);
    // A second effect cannot draw while the first one's pass is on.
    auto other = make(kEffect);
    other->begin(&passes, 0);
    EXPECT_EQ(other->beginPass(0), GPU_INVALIDCALL);
    EXPECT_EQ(effect->end(), GPU_INVALIDCALL);
    EXPECT_EQ(effect->endPass(), GPU_OK);
    EXPECT_EQ(effect->end(), GPU_OK);
    EXPECT_EQ(device.drawPrimitive(PT_TRIANGLELIST, 0, 1), GPU_INVALIDCALL);
    EXPECT_EQ(device.drawCount(), 1u);
}

TEST_F(EffectTest, TheEnvironmentChoosesTheVertexShaderVersion)
{
    DeviceCaps caps;
    ASSERT_EQ(device.getDeviceCaps(&caps), GPU_OK);
    EXPECT_EQ(caps.vertexShaderVersion, vertexShaderVersion(2, 0));
    for (auto [forced, version] : {std::pair{"1.1", vertexShaderVersion(1, 1)}, std::pair{"0", 0u}})
    {
        setenv("VELMORIQUE_VERTEX_SHADER", forced, 1);
        device.getDeviceCaps(&caps);
        EXPECT_EQ(caps.vertexShaderVersion, version);
    }
    unsetenv("VELMORIQUE_VERTEX_SHADER");
}

} // namespace
