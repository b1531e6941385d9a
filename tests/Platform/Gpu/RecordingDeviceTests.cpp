#include "Platform/Gpu/RecordingDevice.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

using namespace Platform;
using namespace Platform::Gpu;

TEST(RecordingDevice, UnsetStatesAnswerTheirDefaults)
{
    RecordingDevice device;
    uint32_t value = 0;
    const std::pair<uint32_t, uint32_t> defaults[] = {{RS_ZENABLE, 1},
                                                      {RS_ZWRITEENABLE, 1},
                                                      {RS_CULLMODE, CULL_CCW},
                                                      {RS_ZFUNC, CMP_LESSEQUAL},
                                                      {RS_SRCBLEND, BLEND_ONE},
                                                      {RS_DESTBLEND, BLEND_ZERO},
                                                      {RS_ALPHAFUNC, CMP_ALWAYS},
                                                      {RS_LIGHTING, 1},
                                                      {RS_AMBIENT, 0},
                                                      {RS_ALPHABLENDENABLE, 0},
                                                      {RS_COLORWRITEENABLE, 0xF},
                                                      {RS_TEXTUREFACTOR, 0xFFFFFFFF},
                                                      {RS_FOGEND, floatBits(1.0f)},
                                                      {RS_LOCALVIEWER, 1},
                                                      {RS_SPECULARENABLE, 0},
                                                      {RS_NORMALIZENORMALS, 0}};
    for (auto [state, expected] : defaults)
    {
        ASSERT_EQ(device.getRenderState(state, &value), GPU_OK);
        EXPECT_EQ(value, expected) << "state " << state;
    }
    device.getTextureStageState(0, TSS_COLOROP, &value);
    EXPECT_EQ(value, uint32_t(TOP_MODULATE));
    device.getTextureStageState(0, TSS_ALPHAOP, &value);
    EXPECT_EQ(value, uint32_t(TOP_SELECTARG1));
    device.getTextureStageState(1, TSS_COLOROP, &value);
    EXPECT_EQ(value, uint32_t(TOP_DISABLE));
    device.getSamplerState(0, SAMP_ADDRESSU, &value);
    EXPECT_EQ(value, uint32_t(TADDRESS_WRAP));
    device.getSamplerState(0, SAMP_MINFILTER, &value);
    EXPECT_EQ(value, uint32_t(TEXF_POINT));
}

TEST(RecordingDevice, NumbersOutsideTheTablesAreRefused)
{
    RecordingDevice device;
    uint32_t value = 0;
    EXPECT_EQ(device.setRenderState(RENDER_STATE_COUNT, 1), GPU_INVALIDCALL);
    EXPECT_EQ(device.getRenderState(0xFFFFFFFF, &value), GPU_INVALIDCALL);
    EXPECT_EQ(device.setTextureStageState(TEXTURE_STAGE_COUNT, TSS_COLOROP, 1), GPU_INVALIDCALL);
    EXPECT_EQ(device.setTextureStageState(0, TEXTURE_STAGE_STATE_COUNT, 1), GPU_INVALIDCALL);
    EXPECT_EQ(device.setSamplerState(0, SAMPLER_STATE_COUNT, 1), GPU_INVALIDCALL);
    EXPECT_EQ(device.setTransform(17, Matrix{}), GPU_INVALIDCALL);
    EXPECT_EQ(device.setRenderState(RS_CULLMODE, CULL_NONE), GPU_OK);
    EXPECT_EQ(device.countCalls("setRenderState(22, 1)"), 1u);
}

TEST(RecordingDevice, MultiplyTransformPutsTheNewMatrixFirst)
{
    RecordingDevice device;
    device.setTransform(TS_WORLD, matrixTranslation(10, 0, 0));
    device.multiplyTransform(TS_WORLD, matrixScaling(2, 2, 2));
    Matrix world;
    device.getTransform(TS_WORLD, &world);
    // Scale first, then move: (1, 0, 0) goes to (12, 0, 0).
    Vector3 moved = vec3TransformCoord({1, 0, 0}, world);
    EXPECT_FLOAT_EQ(moved.x, 12);
}

TEST(RecordingDevice, LightSlotsAreSparseAndEnablingAnUnsetSlotMakesADefaultLight)
{
    RecordingDevice device;
    Light light;
    light.type = LIGHT_POINT;
    light.range = 100;
    light.diffuse = {1, 0, 0, 1};
    ASSERT_EQ(device.setLight(1000000, light), GPU_OK);
    Light read;
    ASSERT_EQ(device.getLight(1000000, &read), GPU_OK);
    EXPECT_EQ(read.type, uint32_t(LIGHT_POINT));
    bool enabled = true;
    ASSERT_EQ(device.getLightEnable(1000000, &enabled), GPU_OK);
    EXPECT_FALSE(enabled);
    EXPECT_EQ(device.getLight(5, &read), GPU_INVALIDCALL);
    ASSERT_EQ(device.lightEnable(5, true), GPU_OK);
    ASSERT_EQ(device.getLight(5, &read), GPU_OK);
    EXPECT_EQ(read.type, uint32_t(LIGHT_DIRECTIONAL));
    EXPECT_EQ(read.diffuse.r, 1.0f);
    EXPECT_EQ(read.direction.z, 1.0f);
    light.type = 9;
    EXPECT_EQ(device.setLight(2, light), GPU_INVALIDCALL);
}

TEST(RecordingDevice, ResetPutsEveryStateBackAndKeepsResources)
{
    RecordingDevice device;
    std::unique_ptr<Texture> texture;
    ASSERT_EQ(device.createTexture(8, 8, 1, 0, FMT_A8R8G8B8, POOL_MANAGED, &texture), GPU_OK);
    device.setTexture(0, texture.get());
    device.setRenderState(RS_CULLMODE, CULL_NONE);
    device.lightEnable(0, true);
    EXPECT_EQ(device.testCooperativeLevel(), GPU_OK);
    ASSERT_EQ(device.reset(PresentParameters{}), GPU_OK);
    uint32_t value = 0;
    device.getRenderState(RS_CULLMODE, &value);
    EXPECT_EQ(value, uint32_t(CULL_CCW));
    EXPECT_EQ(device.getTexture(0), nullptr);
    bool enabled;
    EXPECT_EQ(device.getLightEnable(0, &enabled), GPU_INVALIDCALL);
    EXPECT_EQ(device.setTexture(0, texture.get()), GPU_OK);
}

TEST(RecordingDevice, ScenesDoNotNest)
{
    RecordingDevice device;
    EXPECT_EQ(device.endScene(), GPU_INVALIDCALL);
    EXPECT_EQ(device.beginScene(), GPU_OK);
    EXPECT_EQ(device.beginScene(), GPU_INVALIDCALL);
    EXPECT_EQ(device.endScene(), GPU_OK);
    EXPECT_EQ(device.present(), GPU_OK);
    EXPECT_EQ(device.presentCount(), 1u);
}

TEST(RecordingDevice, TexturesLockOneLevelOnceAndCountTheirMemory)
{
    RecordingDevice device;
    uint32_t before = device.getAvailableTextureMem();
    std::unique_ptr<Texture> texture;
    ASSERT_EQ(device.createTexture(256, 64, 6, USAGE_AUTOGENMIPMAP, FMT_A8R8G8B8, POOL_MANAGED, &texture),
              GPU_OK);
    EXPECT_EQ(texture->getLevelCount(), 1u);
    EXPECT_EQ(texture->storedLevelCount(), 6u);
    EXPECT_LT(device.getAvailableTextureMem(), before - 256 * 64 * 4 + 1);
    LockedRect locked;
    ASSERT_EQ(texture->lockRect(0, &locked, 0), GPU_OK);
    EXPECT_EQ(locked.pitch, 1024);
    EXPECT_EQ(texture->lockRect(0, &locked, 0), GPU_INVALIDCALL);
    EXPECT_EQ(texture->lockRect(1, &locked, 0), GPU_INVALIDCALL);
    EXPECT_EQ(texture->unlockRect(0), GPU_OK);
    EXPECT_EQ(texture->unlockRect(0), GPU_INVALIDCALL);
    texture.reset();
    EXPECT_EQ(device.getAvailableTextureMem(), before);
    // Sizes and formats a texture cannot have.
    EXPECT_EQ(device.createTexture(0, 8, 1, 0, FMT_A8R8G8B8, POOL_MANAGED, &texture), GPU_INVALIDCALL);
    EXPECT_EQ(device.createTexture(8, 8, 1, 0, FMT_D16, POOL_MANAGED, &texture), GPU_INVALIDCALL);
    EXPECT_EQ(device.createTexture(1u << 20, 1u << 20, 1, 0, FMT_A8R8G8B8, POOL_MANAGED, &texture),
              GPU_INVALIDCALL);
    EXPECT_EQ(device.createTexture(8, 8, 1, USAGE_RENDERTARGET, FMT_A8R8G8B8, POOL_MANAGED, &texture),
              GPU_INVALIDCALL);
}

TEST(RecordingDevice, DrawsReadingPastTheirBuffersAreRefused)
{
    RecordingDevice device;
    std::unique_ptr<VertexBuffer> vertices;
    ASSERT_EQ(device.createVertexBuffer(96, 0, FVF_XYZ_DIFFUSE_TEX1, POOL_SYSTEMMEM, &vertices), GPU_OK);
    void* data;
    EXPECT_EQ(vertices->lock(90, 10, &data, 0), GPU_INVALIDCALL);
    EXPECT_EQ(device.drawPrimitive(PT_TRIANGLESTRIP, 0, 2), GPU_INVALIDCALL); // no stream yet
    device.setStreamSource(0, vertices.get(), 0, 24);
    device.setFVF(FVF_XYZ_DIFFUSE_TEX1);
    EXPECT_EQ(device.drawPrimitive(PT_TRIANGLESTRIP, 0, 2), GPU_OK);
    EXPECT_EQ(device.drawPrimitive(PT_TRIANGLESTRIP, 1, 2), GPU_INVALIDCALL);
    EXPECT_EQ(device.drawPrimitive(PT_TRIANGLELIST, 0, 2), GPU_INVALIDCALL);
    EXPECT_EQ(device.drawPrimitive(PT_TRIANGLESTRIP, 0, 0xFFFFFFFF), GPU_INVALIDCALL);
    EXPECT_EQ(device.drawPrimitive(PT_LINELIST, 0, 1), GPU_INVALIDCALL);
    // A stride shorter than the layout cannot be drawn.
    device.setStreamSource(0, vertices.get(), 0, 20);
    EXPECT_EQ(device.drawPrimitive(PT_TRIANGLESTRIP, 0, 2), GPU_INVALIDCALL);
    device.setStreamSource(0, vertices.get(), 0, 24);
    EXPECT_EQ(device.setFVF(0x4000), GPU_INVALIDCALL);
    EXPECT_EQ(device.drawCount(), 1u);
    // A buffer destroyed while bound is unbound.
    vertices.reset();
    EXPECT_EQ(device.drawPrimitive(PT_TRIANGLESTRIP, 0, 2), GPU_INVALIDCALL);
}

TEST(RecordingDevice, VertexLayoutsHaveTheirSizes)
{
    EXPECT_EQ(vertexSize(FVF_XYZ_DIFFUSE_TEX1), 24u);
    EXPECT_EQ(vertexSize(FVF_XYZ_TEX1), 20u);
    EXPECT_EQ(vertexSize(FVF_XYZ_NORMAL_TEX1), 32u);
    EXPECT_EQ(vertexSize(FVF_DIFFUSE), 0u);
}

TEST(RecordingDevice, ResourcesOutliveTheirDevice)
{
    std::unique_ptr<Texture> texture;
    std::unique_ptr<VertexBuffer> buffer;
    {
        RecordingDevice device;
        device.createTexture(4, 4, 1, 0, FMT_X8R8G8B8, POOL_MANAGED, &texture);
        device.createVertexBuffer(24, 0, FVF_XYZ_DIFFUSE_TEX1, POOL_MANAGED, &buffer);
    }
    LockedRect locked;
    EXPECT_EQ(texture->lockRect(0, &locked, 0), GPU_OK);
    texture->unlockRect(0);
}

TEST(RecordingDevice, TextureLockedFromAnotherThread)
{
    RecordingDevice device;
    std::unique_ptr<Texture> texture;
    ASSERT_EQ(device.createTexture(2, 2, 1, 0, FMT_X8R8G8B8, POOL_MANAGED, &texture), GPU_OK);
    std::thread writer(
        [&]
        {
            for (int i = 0; i < 100; ++i)
            {
                LockedRect locked;
                ASSERT_EQ(texture->lockRect(0, &locked, LOCK_DISCARD), GPU_OK);
                std::memset(locked.bits, i, 16);
                texture->unlockRect(0);
            }
        });
    writer.join();
    std::vector<uint8_t> seen;
    texture->uploadChangedLevels([&](uint32_t, const uint8_t* pixels, uint32_t width, uint32_t height)
                                 { seen.assign(pixels, pixels + width * height * 4); });
    EXPECT_EQ(seen, std::vector<uint8_t>(16, 99));
    EXPECT_FALSE(texture->hasPendingUpload());
    // Reading the pixels back sends nothing again.
    LockedRect locked;
    ASSERT_EQ(texture->lockRect(0, &locked, LOCK_READONLY), GPU_OK);
    EXPECT_EQ(static_cast<uint8_t*>(locked.bits)[0], 99);
    texture->unlockRect(0);
    EXPECT_FALSE(texture->hasPendingUpload());
}
