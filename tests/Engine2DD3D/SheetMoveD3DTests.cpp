#include "Engine2DD3D/LayerEffects.h"
#include "Engine2DD3D/RenderedComponentD3D.h"
#include "Engine2DD3D/SheetMoveD3D.h"
#include "Engine2DTestSupport.h"

#include <functional>

#include <cmath>

using namespace Engine2DTest;
using Platform::Matrix;
using Platform::vec3TransformCoord;
using Platform::Vector3;

namespace
{
Matrix world(RecordingDevice& device)
{
    Matrix matrix;
    device.getTransform(Platform::Gpu::TS_WORLD, &matrix);
    return matrix;
}

void expectNear(const Vector3& actual, float x, float y)
{
    EXPECT_NEAR(actual.x, x, 1e-3f);
    EXPECT_NEAR(actual.y, y, 1e-3f);
}

// A widget whose drawing is the test's.
class DrawProbe final : public Component
{
public:
    DrawProbe(const Rect& rect, std::function<ErrorCode()> draw) : Component(rect), mDraw(std::move(draw)) {}
    ErrorCode render() override { return mDraw(); }

private:
    std::function<ErrorCode()> mDraw;
};
} // namespace

using SheetMoveD3DTest = RecordingEngineTest;

TEST_F(SheetMoveD3DTest, GridStartsAtTheStartAndEndsAtTheEnd)
{
    ::Texture* texture = loadedTexture(100, 50);
    auto sheet = engine.createGridSheetMove();
    auto* grid = static_cast<SheetMoveGridD3D*>(sheet.get());
    ASSERT_EQ(sheet->set({10, 20, 100, 50}, {300, 400, 200, 100}, texture), 0u);
    for (uint32_t j = 0; j <= 10; ++j)
    {
        for (uint32_t i = 0; i <= 10; ++i)
        {
            Platform::Vector2 start = grid->gridPoint(i, j, 0);
            EXPECT_FLOAT_EQ(start.x, 10 + 10.0f * i);
            EXPECT_FLOAT_EQ(start.y, 20 + 5.0f * j);
            Platform::Vector2 end = grid->gridPoint(i, j, 1);
            EXPECT_NEAR(end.x, 300 + 20.0f * i, 1e-3f);
            EXPECT_NEAR(end.y, 400 + 10.0f * j, 1e-3f);
        }
    }
    sheet.reset();
    texture->unload();
    texture->release();
}

TEST_F(SheetMoveD3DTest, TopLeftSetsOffFirstAndBottomRightWaitsHalfTheTime)
{
    for (float t : {0.1f, 0.25f, 0.4f})
    {
        float expected = (t + (std::sin(6.2831855f * t - 1.5707964f) + 1) / 2) / 2;
        EXPECT_FLOAT_EQ(SheetMoveGridD3D::progressAt(0, t), expected);
        EXPECT_FLOAT_EQ(SheetMoveGridD3D::progressAt(1, t), t / 2);
    }
    EXPECT_FLOAT_EQ(SheetMoveGridD3D::progressAt(1, 0.5f), 0.25f);
    EXPECT_FLOAT_EQ(SheetMoveGridD3D::progressAt(0.5f, 1), 1);
    EXPECT_FLOAT_EQ(SheetMoveGridD3D::progressAt(0, 0), 0);
}

TEST_F(SheetMoveD3DTest, GridWritesTwoTrianglesPerCellAndDrawsThemAtOnce)
{
    ::Texture* texture = loadedTexture(100, 50);
    auto sheet = engine.createGridSheetMove();
    auto* grid = static_cast<SheetMoveGridD3D*>(sheet.get());
    ASSERT_EQ(sheet->set({0, 0, 100, 50}, {0, 0, 100, 50}, texture), 0u);
    sheet->update(1);
    const SheetMoveGridD3D::GridVertex* v = grid->vertices();
    ASSERT_NE(v, nullptr);
    // Cell (1, 0): (1,0), (2,0), (1,1) and (1,1), (2,0), (2,1).
    const SheetMoveGridD3D::GridVertex* cell = v + 6;
    EXPECT_FLOAT_EQ(cell[0].x, 10);
    EXPECT_FLOAT_EQ(cell[1].x, 20);
    EXPECT_FLOAT_EQ(cell[2].y, 5);
    EXPECT_FLOAT_EQ(cell[5].x, 20);
    EXPECT_FLOAT_EQ(cell[5].y, 5);
    EXPECT_EQ(cell[0].z, 1024.0f);
    // The last vertex holds the image's corner of the texture.
    const SheetMoveGridD3D::GridVertex& last = v[599];
    EXPECT_FLOAT_EQ(last.u, 100.0f / 128.0f);
    EXPECT_FLOAT_EQ(last.v, 50.0f / 64.0f);
    sheet->setMirrorY(true);
    sheet->update(1);
    EXPECT_FLOAT_EQ(v[599].v, 0);
    device->clearCalls();
    sheet->draw();
    EXPECT_EQ(device->countCalls("drawPrimitive(4, 0, 200)"), 1u);
    sheet.reset();
    texture->unload();
    texture->release();
}

TEST_F(SheetMoveD3DTest, GridWithoutTextureDrawsNothing)
{
    auto sheet = engine.createGridSheetMove();
    sheet->update(0.5f);
    sheet->draw();
    EXPECT_EQ(device->drawCount(), 0u);
}

TEST_F(SheetMoveD3DTest, RotatingSheetTransformsItsContentAndRestoresTheWorld)
{
    auto sheet = engine.createSheetMove({100, 100, 200, 200});
    EXPECT_FALSE(sheet->hasPivot());
    EXPECT_EQ(sheet->getMargins(), Margins{});
    Matrix before = world(*device);
    // No rotation: the content stays where it is.
    sheet->setRotation(200, 200, 0);
    int drawn = 0;
    sheet->addChild(
        new DrawProbe({0, 0, 10, 10},
                      [&]
                      {
                          ++drawn;
                          expectNear(vec3TransformCoord({150, 120, 1024}, world(*device)), 150, 120);
                          return ErrorCode(5);
                      }));
    EXPECT_EQ(sheet->render(), 5u);
    EXPECT_EQ(drawn, 1);
    EXPECT_TRUE(world(*device) == before);
    // A quarter turn about the centre moves a point around it.
    sheet->setRotation(200, 200, 1.5707964f);
    sheet->beginTransform();
    Vector3 turned = vec3TransformCoord({300, 200, 1024}, world(*device));
    EXPECT_NEAR(std::hypot(turned.x - 200, turned.y - 200), 100, 1e-3f);
    EXPECT_GT(std::fabs(turned.y - 200), 99.0f);
    sheet->endTransform();
    sheet->resetTransform();
    sheet->beginTransform();
    expectNear(vec3TransformCoord({300, 200, 1024}, world(*device)), 300, 200);
    sheet->endTransform();
}

TEST_F(SheetMoveD3DTest, PivotSheetTurnsAboutAPointRelativeToItsPosition)
{
    SheetMoveD3D sheet(engine, {100, 50, 10, 10}, true);
    EXPECT_TRUE(sheet.hasPivot());
    sheet.setRotation(0, 0, 3.1415927f);
    sheet.beginTransform();
    // Half a turn about the sheet's own corner.
    expectNear(vec3TransformCoord({110, 50, 1024}, world(*device)), 90, 50);
    sheet.endTransform();
    sheet.moveTo(0, 0, true);
    sheet.beginTransform();
    expectNear(vec3TransformCoord({10, 0, 1024}, world(*device)), -10, 0);
    sheet.endTransform();
}

TEST_F(SheetMoveD3DTest, ZoomEffectGrowsFromTheCentre)
{
    ZoomLayerEffect zoom(engine);
    Rect2D layer{100, 100, 200, 100};
    zoom.begin(0, layer);
    expectNear(vec3TransformCoord({100, 100, 1024}, world(*device)), 200, 150);
    zoom.end();
    EXPECT_TRUE(world(*device) == Platform::matrixIdentity());
    zoom.begin(1, layer);
    expectNear(vec3TransformCoord({100, 100, 1024}, world(*device)), 100, 100);
    zoom.end();
    EXPECT_GT(easeOutSwing(0.8f), 1.0f);
    EXPECT_FLOAT_EQ(easeOutSwing(0), 0);
}

TEST_F(SheetMoveD3DTest, SpinEffectCollapsesOntoTheMouseAtTheStart)
{
    SpinLayerEffect spin(engine, 30, 40);
    Rect2D layer{100, 100, 200, 100};
    spin.begin(0, layer);
    expectNear(vec3TransformCoord({300, 200, 1024}, world(*device)), 30, 40);
    spin.end();
    spin.begin(1, layer);
    expectNear(vec3TransformCoord({300, 200, 1024}, world(*device)), 300, 200);
    spin.end();
}

TEST_F(SheetMoveD3DTest, RenderedComponentKeepsItsTextureWhileTheSizeStays)
{
    auto rendered = engine.createRenderedComponent({10, 10, 64, 32});
    auto* d3d = static_cast<RenderedComponentD3D*>(rendered.get());
    EXPECT_EQ(rendered->render(), 0u);
    int calls = 0;
    ErrorCode result = 0;
    DrawProbe component({200, 300, 64, 32},
                        [&]
                        {
                            ++calls;
                            return result;
                        });
    ASSERT_EQ(rendered->renderComponent(&component), 0u);
    ::Texture* first = rendered->getRenderTexture();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->getFlags() & ::Texture::FLAG_RENDER_TARGET, ::Texture::FLAG_RENDER_TARGET);
    EXPECT_EQ(rendered->getTexture(), first);
    EXPECT_EQ(rendered->getImage()->getTexture(), first);
    EXPECT_TRUE(d3d->hasSurfaceRenderer());
    // The frame's target and projection are back.
    EXPECT_EQ(device->getRenderTarget(), nullptr);
    Matrix projection;
    device->getTransform(Platform::Gpu::TS_PROJECTION, &projection);
    expectNear(vec3TransformCoord({0, 0, 1024}, projection), -1 - 1.0f / 1024, 1 + 1.0f / 768);
    component.moveTo(0, 0, false);
    ASSERT_EQ(rendered->renderComponent(&component), 0u);
    EXPECT_EQ(rendered->getRenderTexture(), first);
    EXPECT_EQ(calls, 2);
    // Another size: another texture.
    component.resize(16, 16, false);
    ASSERT_EQ(rendered->renderComponent(&component), 0u);
    ASSERT_NE(rendered->getRenderTexture(), nullptr);
    EXPECT_EQ(rendered->getRenderTexture()->getWidth(), 16u);
    EXPECT_EQ(engine.getTextures().size(), 1u);
    // A failing component's result comes back.
    result = ERROR_FAILED;
    EXPECT_EQ(rendered->renderComponent(&component), ERROR_FAILED);
    EXPECT_EQ(rendered->renderComponent(nullptr), ERROR_INVALID);
    rendered.reset();
    EXPECT_TRUE(engine.getTextures().empty());
}
