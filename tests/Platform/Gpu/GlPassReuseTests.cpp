// A reusable pass whose calls, states and resources are those of the last
// one drawn shows that pass's picture without drawing it; anything else it
// reads that changed makes it drawn. Every frame is compared, pixel for
// pixel, with the same frame drawn with reuse switched off.
#include "GlTestSupport.h"

#include <functional>

using namespace GpuTest;

namespace
{

struct LitVertex
{
    float x, y, z;
    float nx, ny, nz;
    float u, v;
};

struct Instance
{
    Matrix world;
    Material material;
};

class GlPassReuseTest : public GlDeviceTest
{
protected:
    void SetUp() override
    {
        GlDeviceTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        std::vector<uint32_t> texels(16);
        for (uint32_t i = 0; i < 16; ++i)
            texels[i] = 0xFF000000u | (i * 15) << 16 | (255 - i * 15) << 8 | 0x40;
        texture = makeTexture(4, 4, texels);
        ASSERT_EQ(
            device->createVertexBuffer(4 * sizeof(LitVertex), 0, FVF_XYZ_NORMAL_TEX1, POOL_MANAGED, &quad),
            GPU_OK);
        writeQuad(1);
        ASSERT_EQ(device->createVertexBuffer(4 * sizeof(ColorVertex), 0, FVF_XYZ_DIFFUSE_TEX1, POOL_MANAGED,
                                             &overlay),
                  GPU_OK);
        for (int i = 0; i < 3; ++i)
        {
            Instance instance;
            // Overlapping, one of them turned so that depth decides along it.
            instance.world = matrixRotationY(i == 1 ? 0.7f : 0.0f) *
                             matrixTranslation(-150.0f + 150.0f * float(i), 30.0f - 30.0f * float(i),
                                               100.0f - 80.0f * float(i));
            instance.material.ambient = {1, 1, 1, 1};
            instance.material.diffuse = {1, 1, 1, 1};
            instances.push_back(instance);
        }
        setLights();
    }

    void setLights()
    {
        Light light;
        light.ambient = {0.3f, 0.3f, 0.3f, 1};
        light.diffuse = {0.7f, 0.7f, 0.7f, 1};
        light.direction = {0.3f, -0.2f, 1};
        device->setLight(0, light);
        device->lightEnable(0, true);
    }

    // Facing the camera, the texture repeated u times across.
    void writeQuad(float u)
    {
        const LitVertex vertices[4] = {{-100, 100, 0, 0, 0, -1, 0, 0},
                                       {100, 100, 0, 0, 0, -1, u, 0},
                                       {-100, -100, 0, 0, 0, -1, 0, 1},
                                       {100, -100, 0, 0, 0, -1, u, 1}};
        void* data = nullptr;
        ASSERT_EQ(quad->lock(0, 0, &data, 0), GPU_OK);
        std::memcpy(data, vertices, sizeof vertices);
        quad->unlock();
    }

    // The 3D pass: the clear, the instances depth-tested and lit by the
    // ambient light, then a 2D quad drawn over part of them as the GUI does.
    // The frame as it then stands.
    std::vector<uint32_t> frame(uint32_t overlayColor = 0xFF2040C0)
    {
        device->beginReusablePass();
        device->clear(CLEAR_TARGET | CLEAR_ZBUFFER, 0xFF102030, 1, 0);
        device->setRenderState(RS_ZENABLE, 1);
        device->setRenderState(RS_ZWRITEENABLE, 1);
        device->setRenderState(RS_LIGHTING, 1);
        device->setRenderState(RS_AMBIENT, 0xFF808080);
        device->setTransform(TS_VIEW, view);
        device->setTransform(TS_PROJECTION, projection);
        device->setTexture(0, texture.get());
        device->setStreamSource(0, quad.get(), 0, sizeof(LitVertex));
        device->setFVF(FVF_XYZ_NORMAL_TEX1);
        for (const Instance& instance : instances)
        {
            device->setTransform(TS_WORLD, instance.world);
            device->setMaterial(instance.material);
            EXPECT_EQ(device->drawPrimitive(PT_TRIANGLESTRIP, 0, 2), GPU_OK);
            if (duringPass)
                duringPass();
        }
        // The states the GUI draws with, set before the pass ends: the calls
        // held back are drawn with their own states, the GUI with these.
        device->setRenderState(RS_ZENABLE, 0);
        device->setRenderState(RS_LIGHTING, 0);
        device->setTransform(TS_WORLD, Matrix{});
        device->setTransform(TS_VIEW, Matrix{});
        device->setTransform(TS_PROJECTION, pixelProjection(1024, 768));
        device->setTexture(0, nullptr);
        device->endReusablePass();
        if (afterPass)
            afterPass();
        // The GUI's pass, never part of the picture kept.
        const ColorVertex vertices[4] = {{150, 150, 1024, overlayColor, 0, 0},
                                         {250, 150, 1024, overlayColor, 1, 0},
                                         {150, 250, 1024, overlayColor, 0, 1},
                                         {250, 250, 1024, overlayColor, 1, 1}};
        void* data = nullptr;
        EXPECT_EQ(overlay->lock(0, 0, &data, 0), GPU_OK);
        std::memcpy(data, vertices, sizeof vertices);
        overlay->unlock();
        device->setStreamSource(0, overlay.get(), 0, sizeof(ColorVertex));
        device->setFVF(FVF_XYZ_DIFFUSE_TEX1);
        EXPECT_EQ(device->drawPrimitive(PT_TRIANGLESTRIP, 0, 2), GPU_OK);
        std::vector<uint32_t> pixels = device->readFrame();
        // What the next pass finds in the depth buffer is not what it leaves.
        device->clear(CLEAR_ZBUFFER, 0, 0.0f, 0);
        return pixels;
    }

    // The same frame with every pass drawn.
    std::vector<uint32_t> drawnFrame(uint32_t overlayColor = 0xFF2040C0)
    {
        device->allowPassReuse(false);
        std::vector<uint32_t> pixels = frame(overlayColor);
        device->allowPassReuse(true);
        return pixels;
    }

    // The frame after the change is drawn, not reused, and is what drawing
    // it shows; the next one, unchanged, is reused again.
    void expectRedrawnAfter(const char* what, const std::function<void()>& change)
    {
        SCOPED_TRACE(what);
        std::vector<uint32_t> before = frame();
        before = frame();
        uint64_t reused = device->reusedPassCount();
        change();
        std::vector<uint32_t> after = frame();
        EXPECT_EQ(device->reusedPassCount(), reused) << "reused after a change";
        EXPECT_NE(after, before) << "the change shows nothing";
        EXPECT_TRUE(after == drawnFrame()) << "not the frame drawn";
        EXPECT_TRUE(frame() == after);
        EXPECT_EQ(device->reusedPassCount(), reused + 1);
    }

    std::unique_ptr<Texture> texture;
    std::unique_ptr<VertexBuffer> quad, overlay;
    std::vector<Instance> instances;
    Matrix view = matrixLookAtLH({0, 0, -600}, {0, 0, 0}, {0, 1, 0});
    Matrix projection = matrixPerspectiveFovLH(0.8f, 4.0f / 3.0f, 1.0f, 2000.0f);
    std::function<void()> duringPass, afterPass;
};

TEST_F(GlPassReuseTest, AnUnchangedPassShowsThePictureDrawnUnderEveryGui)
{
    std::vector<uint32_t> first = frame();
    EXPECT_EQ(device->reusedPassCount(), 0u);
    std::vector<uint32_t> second = frame();
    EXPECT_EQ(device->reusedPassCount(), 1u);
    EXPECT_TRUE(second == first);
    // The GUI drawn over the reused picture changes; the picture kept did not
    // take in the GUI of the frame it came from.
    std::vector<uint32_t> other = frame(0xFFC04020);
    EXPECT_EQ(device->reusedPassCount(), 2u);
    EXPECT_NE(other, first);
    EXPECT_TRUE(other == drawnFrame(0xFFC04020));
    // The depth is the pass's too: a plane drawn after the pass through the
    // middle of the scene is hidden where the scene is nearer.
    afterPass = [&]
    {
        device->setRenderState(RS_ZENABLE, 1);
        device->setTransform(TS_WORLD, matrixScaling(4, 4, 1) * matrixTranslation(0, 0, 40));
        device->setTransform(TS_VIEW, view);
        device->setTransform(TS_PROJECTION, projection);
        device->setStreamSource(0, quad.get(), 0, sizeof(LitVertex));
        device->setFVF(FVF_XYZ_NORMAL_TEX1);
        EXPECT_EQ(device->drawPrimitive(PT_TRIANGLESTRIP, 0, 2), GPU_OK);
        device->setRenderState(RS_ZENABLE, 0);
        device->setTransform(TS_WORLD, Matrix{});
        device->setTransform(TS_VIEW, Matrix{});
        device->setTransform(TS_PROJECTION, pixelProjection(1024, 768));
    };
    std::vector<uint32_t> reusedDepth = frame();
    EXPECT_EQ(device->reusedPassCount(), 3u);
    EXPECT_NE(reusedDepth, first);
    EXPECT_TRUE(reusedDepth == drawnFrame());
}

TEST_F(GlPassReuseTest, AnyChangeOfWhatThePassReadsDrawsItAgain)
{
    // One instance moved.
    expectRedrawnAfter("moved", [&] { instances[1].world = matrixTranslation(260, 140, 250); });
    // One instance's material.
    expectRedrawnAfter("material", [&] { instances[2].material.ambient = {1, 0.2f, 0.2f, 1}; });
    // The camera.
    expectRedrawnAfter("camera", [&] { view = matrixLookAtLH({40, -30, -620}, {0, 0, 0}, {0, 1, 0}); });
    // A light.
    expectRedrawnAfter("light",
                       [&]
                       {
                           Light light;
                           light.ambient = {0.2f, 0.9f, 0.2f, 1};
                           light.direction = {0, 0, 1};
                           device->setLight(0, light);
                       });
    // The texture's pixels, through a lock.
    expectRedrawnAfter("texture",
                       [&]
                       {
                           LockedRect locked;
                           ASSERT_EQ(texture->lockRect(0, &locked, 0), GPU_OK);
                           static_cast<uint32_t*>(locked.bits)[5] = 0xFFFFFFFF;
                           texture->unlockRect(0);
                       });
    // The vertices, through a lock.
    expectRedrawnAfter("vertices", [&] { writeQuad(2); });
}

TEST_F(GlPassReuseTest, AResourceChangedInsideThePassDrawsWhatWasHeldFirst)
{
    // Every instance rewrites the vertices the next one reads: each draw must
    // see the vertices as they were when it was called.
    float repeats[] = {2, 3, 4};
    size_t next = 0;
    duringPass = [&] { writeQuad(repeats[next++ % 3]); };
    std::vector<uint32_t> held = frame();
    writeQuad(1);
    next = 0;
    EXPECT_TRUE(held == drawnFrame());
    writeQuad(1);
    next = 0;
    EXPECT_TRUE(frame() == held);
    EXPECT_EQ(device->reusedPassCount(), 0u);
}

TEST_F(GlPassReuseTest, AFrameWithoutAScenePassLetsTheCopyGo)
{
    frame();
    EXPECT_TRUE(device->holdsPassCopy());
    // A screen whose 3D pass is a clear alone (the menus): nothing to reuse.
    device->beginReusablePass();
    device->clear(CLEAR_TARGET | CLEAR_ZBUFFER, 0xFF000000, 1, 0);
    device->endReusablePass();
    device->present();
    EXPECT_FALSE(device->holdsPassCopy());
    // Back on the scene: drawn, kept again, then reused.
    EXPECT_TRUE(frame() == drawnFrame());
    frame();
    EXPECT_EQ(device->reusedPassCount(), 1u);
}

TEST_F(GlPassReuseTest, AResetForgetsThePicture)
{
    frame();
    frame();
    EXPECT_EQ(device->reusedPassCount(), 1u);
    ASSERT_EQ(device->reset(PresentParameters{}), GPU_OK);
    device->setRenderState(RS_CULLMODE, CULL_NONE);
    setLights();
    std::vector<uint32_t> afterReset = frame();
    EXPECT_EQ(device->reusedPassCount(), 1u);
    EXPECT_TRUE(afterReset == drawnFrame());
}

} // namespace
