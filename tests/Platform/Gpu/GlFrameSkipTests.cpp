// A frame whose calls, states and resource contents are those of the frame
// already shown is presented again without being drawn; anything that
// differs has it drawn. Every picture is compared, pixel for pixel, with the
// same frame drawn with reuse switched off.
#include "GlTestSupport.h"

#include <functional>
#include <thread>

using namespace GpuTest;

namespace
{

class GlFrameSkipTest : public GlDeviceTest
{
protected:
    void SetUp() override
    {
        GlDeviceTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        sceneTexture = makeTexture(2, 2, {0xFF20A0E0, 0xFF60A0A0, 0xFFA0A060, 0xFFE0A020});
        glyph = makeTexture(2, 2, {0xFFFFFFFF, 0x00000000, 0x80FFFFFF, 0xFFFFFFFF});
        otherGlyph = makeTexture(2, 2, {0x00000000, 0xFFFFFFFF, 0xFFFFFFFF, 0x80FFFFFF});
        ASSERT_EQ(device->createVertexBuffer(4 * sizeof(ColorVertex), 0, FVF_XYZ_DIFFUSE_TEX1, POOL_MANAGED,
                                             &sceneQuad),
                  GPU_OK);
        ASSERT_EQ(device->createVertexBuffer(4 * sizeof(ColorVertex), 0, FVF_XYZ_DIFFUSE_TEX1, POOL_MANAGED,
                                             &guiQuad),
                  GPU_OK);
        writeQuad(*sceneQuad, -0.6f, 0.6f, 0.5f, 0xFFFFFFFF);
        writeGui(300);
    }

    static void writeQuad(VertexBuffer& buffer, float x0, float x1, float z, uint32_t color)
    {
        const ColorVertex vertices[4] = {{x0, x1, z, color, 0, 0},
                                         {x1, x1, z, color, 1, 0},
                                         {x0, x0, z, color, 0, 1},
                                         {x1, x0, z, color, 1, 1}};
        void* data = nullptr;
        ASSERT_EQ(buffer.lock(0, 0, &data, 0), GPU_OK);
        std::memcpy(data, vertices, sizeof vertices);
        buffer.unlock();
    }

    // The GUI's quad, in pixels, from x across.
    void writeGui(float x)
    {
        const ColorVertex vertices[4] = {{x, 200, 1024, guiColor, 0, 0},
                                         {x + 120, 200, 1024, guiColor, 1, 0},
                                         {x, 320, 1024, guiColor, 0, 1},
                                         {x + 120, 320, 1024, guiColor, 1, 1}};
        void* data = nullptr;
        ASSERT_EQ(guiQuad->lock(0, 0, &data, 0), GPU_OK);
        std::memcpy(data, vertices, sizeof vertices);
        guiQuad->unlock();
    }

    // One frame as the game draws it: the 3D pass (the frame's clear and a
    // depth-tested quad), then the GUI blended over it, then the present.
    void frame()
    {
        device->beginReusablePass();
        device->clear(CLEAR_TARGET | CLEAR_ZBUFFER, 0xFF203040, 1, 0);
        device->setRenderState(RS_ZENABLE, 1);
        device->setTransform(TS_PROJECTION, Matrix{});
        device->setTransform(TS_WORLD, sceneWorld);
        device->setTexture(0, sceneTexture.get());
        device->setStreamSource(0, sceneQuad.get(), 0, sizeof(ColorVertex));
        device->setFVF(FVF_XYZ_DIFFUSE_TEX1);
        EXPECT_EQ(device->drawPrimitive(PT_TRIANGLESTRIP, 0, 2), GPU_OK);
        device->setRenderState(RS_ZENABLE, 0);
        device->setTransform(TS_WORLD, Matrix{});
        device->setTransform(TS_PROJECTION, pixelProjection(1024, 768));
        device->endReusablePass();
        device->setRenderState(RS_ALPHABLENDENABLE, 1);
        device->setRenderState(RS_SRCBLEND, BLEND_SRCALPHA);
        device->setRenderState(RS_DESTBLEND, blend);
        device->setTexture(0, guiTexture ? guiTexture : glyph.get());
        device->setStreamSource(0, guiQuad.get(), 0, sizeof(ColorVertex));
        EXPECT_EQ(device->drawPrimitive(PT_TRIANGLESTRIP, 0, 2), GPU_OK);
        if (duringGui)
            duringGui();
        device->setRenderState(RS_ALPHABLENDENABLE, 0);
        EXPECT_EQ(device->present(), GPU_OK);
    }

    std::vector<uint32_t> shown() { return device->readFrame(); }

    // The same frame with nothing reused.
    std::vector<uint32_t> drawnFrame()
    {
        device->allowPassReuse(false);
        frame();
        device->allowPassReuse(true);
        return shown();
    }

    // A frame after the change is drawn and shows what drawing it shows; the
    // one after it, unchanged, is presented again.
    void expectDrawnAfter(const char* what, const std::function<void()>& change)
    {
        SCOPED_TRACE(what);
        frame();
        frame();
        std::vector<uint32_t> before = shown();
        uint64_t skipped = device->skippedFrameCount();
        change();
        uint64_t draws = device->glDrawCount();
        frame();
        EXPECT_EQ(device->skippedFrameCount(), skipped) << "an unchanged picture shown after a change";
        EXPECT_GT(device->glDrawCount(), draws);
        std::vector<uint32_t> after = shown();
        EXPECT_NE(after, before) << "the change shows nothing";
        EXPECT_TRUE(after == drawnFrame()) << "not the frame drawn";
        frame();
        frame();
        EXPECT_EQ(device->skippedFrameCount(), skipped + 1);
        EXPECT_TRUE(shown() == after);
    }

    std::unique_ptr<Texture> sceneTexture, glyph, otherGlyph;
    std::unique_ptr<VertexBuffer> sceneQuad, guiQuad;
    Matrix sceneWorld;
    uint32_t guiColor = 0xFFFFC080;
    uint32_t blend = BLEND_INVSRCALPHA;
    Texture* guiTexture = nullptr;
    std::function<void()> duringGui;
};

TEST_F(GlFrameSkipTest, AnUnchangedFrameIsPresentedAgainWithoutDrawingAndShowsTheDrawnPicture)
{
    // The first frame starts from the device's first states, the second
    // from the states the first left.
    frame();
    frame();
    std::vector<uint32_t> first = shown();
    uint64_t skipped = device->skippedFrameCount();
    uint64_t draws = device->glDrawCount();
    frame();
    frame();
    EXPECT_EQ(device->skippedFrameCount(), skipped + 2);
    EXPECT_EQ(device->glDrawCount(), draws) << "a skipped frame was drawn";
    // Read back after the skips: the picture shown, which is the one drawn.
    EXPECT_TRUE(shown() == first);
    EXPECT_TRUE(drawnFrame() == first);
    // A screenshot of a skipped frame too.
    frame();
    frame();
    EXPECT_EQ(device->skippedFrameCount(), skipped + 3);
    std::string path = ::testing::TempDir() + "skipped-frame.png";
    EXPECT_EQ(device->saveScreenshot(path), GPU_OK);
    EXPECT_TRUE(shown() == first);
    std::remove(path.c_str());
}

TEST_F(GlFrameSkipTest, AnyChangeOfWhatTheFrameReadsDrawsItAgain)
{
    expectDrawnAfter("a state", [&] { blend = BLEND_ONE; });
    expectDrawnAfter("a texture's pixels",
                     [&]
                     {
                         LockedRect locked;
                         ASSERT_EQ(glyph->lockRect(0, &locked, 0), GPU_OK);
                         static_cast<uint32_t*>(locked.bits)[1] = 0xFF00FF00;
                         glyph->unlockRect(0);
                     });
    // As a video's pictures arrive, from their own thread.
    expectDrawnAfter("a texture's pixels from another thread",
                     [&]
                     {
                         std::thread writer(
                             [&]
                             {
                                 LockedRect locked;
                                 ASSERT_EQ(sceneTexture->lockRect(0, &locked, 0), GPU_OK);
                                 static_cast<uint32_t*>(locked.bits)[3] = 0xFFFFFFFF;
                                 sceneTexture->unlockRect(0);
                             });
                         writer.join();
                     });
    expectDrawnAfter("the vertices", [&] { writeGui(420); });
    expectDrawnAfter("another glyph", [&] { guiTexture = otherGlyph.get(); });
    expectDrawnAfter("the scene's transform", [&] { sceneWorld = matrixTranslation(0.2f, 0, 0); });
}

TEST_F(GlFrameSkipTest, AChangedGuiOverAnUnchangedSceneReusesTheScenePicture)
{
    frame();
    frame();
    uint64_t reused = device->reusedPassCount();
    guiColor = 0xFF80C0FF;
    writeGui(300);
    frame();
    EXPECT_EQ(device->reusedPassCount(), reused + 1) << "the scene was drawn again";
    std::vector<uint32_t> hovered = shown();
    EXPECT_TRUE(hovered == drawnFrame());
}

TEST_F(GlFrameSkipTest, WhatCannotWaitInsideTheFrameDrawsItAndTheNextIsDrawnToo)
{
    frame();
    std::vector<uint32_t> still = shown();
    // A buffer rewritten with the same corners after its draw: the draw
    // held must show the corners it was called with.
    duringGui = [&] { writeGui(300); };
    uint64_t skipped = device->skippedFrameCount();
    frame();
    EXPECT_EQ(device->skippedFrameCount(), skipped);
    EXPECT_TRUE(shown() == still);
    duringGui = nullptr;
    // A read-back between the pass and the present draws what is held; the
    // frame is then drawn to its end, and shows the same picture.
    frame();
    device->beginReusablePass();
    device->clear(CLEAR_TARGET | CLEAR_ZBUFFER, 0xFF203040, 1, 0);
    device->endReusablePass();
    std::vector<uint32_t> cleared = device->readFrame();
    EXPECT_EQ(cleared[0], 0xFF203040u);
    device->present();
    EXPECT_EQ(device->skippedFrameCount(), skipped);
    frame();
    EXPECT_EQ(device->skippedFrameCount(), skipped) << "the cleared frame was taken for the last one";
    EXPECT_TRUE(shown() == still);
    // A picture drawn into a texture says nothing by its version: a frame
    // showing it is always drawn.
    std::unique_ptr<Texture> target;
    ASSERT_EQ(device->createTexture(2, 2, 1, USAGE_RENDERTARGET, FMT_A8R8G8B8, POOL_DEFAULT, &target),
              GPU_OK);
    guiTexture = target.get();
    frame();
    frame();
    EXPECT_EQ(device->skippedFrameCount(), skipped);
    guiTexture = nullptr;
}

TEST_F(GlFrameSkipTest, AFrameDrawnWithoutBeingHeldOrAResetIsNotTakenForTheLastHeldOne)
{
    frame();
    frame();
    std::vector<uint32_t> still = shown();
    uint64_t skipped = device->skippedFrameCount();
    // Frames of their own, drawn as they come (an intro video's): a clear,
    // then a draw alone.
    device->clear(CLEAR_TARGET | CLEAR_ZBUFFER, 0xFFFF0000, 1, 0);
    device->present();
    frame();
    EXPECT_EQ(device->skippedFrameCount(), skipped) << "the cleared frame was taken for the last one";
    EXPECT_TRUE(shown() == still);
    frame();
    EXPECT_EQ(device->skippedFrameCount(), skipped + 1);
    drawQuad(0, 0, 64, 64, 0xFF00FF00);
    device->present();
    frame();
    EXPECT_EQ(device->skippedFrameCount(), skipped + 1) << "the frame drawn over was taken for the last one";
    EXPECT_TRUE(shown() == still);
    frame();
    EXPECT_EQ(device->skippedFrameCount(), skipped + 2);

    ASSERT_EQ(device->reset(PresentParameters{}), GPU_OK);
    // What the fixture set before the reset put the defaults back.
    device->setRenderState(RS_LIGHTING, 0);
    device->setRenderState(RS_CULLMODE, CULL_NONE);
    device->setTextureStageState(0, TSS_ALPHAOP, TOP_MODULATE);
    for (uint32_t type : {TSS_COLORARG2, TSS_ALPHAARG2})
        device->setTextureStageState(0, type, TA_DIFFUSE);
    frame();
    EXPECT_EQ(device->skippedFrameCount(), skipped + 2);
    EXPECT_TRUE(shown() == still);
}

} // namespace
