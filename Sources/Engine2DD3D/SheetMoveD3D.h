#pragma once
// The moving sheets on the graphics device: the rotating container
// (SheetMoveD3D) and the travelling grid of 10 x 10 cells (SheetMoveGridD3D).
#include "Engine/SheetMove.h"
#include "Gui/SheetMoveBase.h"
#include "Platform/Gpu/Resources.h"
#include "Platform/Math/Matrix.h"

#include <memory>

class Engine2DD3D;

class SheetMoveD3D final : public SheetMoveBase
{
public:
    SheetMoveD3D(Engine2DD3D& engine, const Rect& rect, bool pivot);

    // The container's layout, then the pivot follows the position.
    void updateLayout() override;
    void setRotation(int32_t x, int32_t y, float angle) override;
    void resetTransform() override;
    void updatePivot() override;
    void beginTransform() override;
    void endTransform() override;

    const Platform::Matrix& getSheetMatrix() const { return mSheetMatrix; }

private:
    Engine2DD3D& mEngine;
    Platform::Matrix mSavedWorld;
    Platform::Matrix mSheetMatrix;
    Platform::Matrix mPivotIn;
    Platform::Matrix mPivotOut;
};

class SheetMoveGridD3D final : public SheetMove
{
public:
    static constexpr uint32_t COLUMNS = 10;
    static constexpr uint32_t ROWS = 10;

    struct GridVertex
    {
        float x, y, z;
        float u, v;
    };
    static_assert(sizeof(GridVertex) == 20);

    explicit SheetMoveGridD3D(Engine2DD3D& engine) : mEngine(engine) {}

    // Stores the rectangles and the texture and makes the vertex buffer.
    ErrorCode set(const Rect2D& start, const Rect2D& end, Texture* texture) override;
    void update(float t) override;
    void draw() override;

    // Where grid point (column i, row j) is at progress t.
    Platform::Vector2 gridPoint(uint32_t i, uint32_t j, float t) const;
    // The share of the way a point at diagonal position d (0 top-left, 1
    // bottom-right) has gone at progress t.
    static float progressAt(float d, float t);
    // The vertices as update last wrote them (for tests); null without buffer.
    const GridVertex* vertices() const;

private:
    Engine2DD3D& mEngine;
    std::unique_ptr<Platform::Gpu::VertexBuffer> mVertexBuffer;
    uint32_t mColumns = COLUMNS;
    uint32_t mRows = ROWS;
};
