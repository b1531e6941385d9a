#include "Engine2DD3D/SheetMoveD3D.h"

#include "Engine2DD3D/Engine2DD3D.h"
#include "Engine2DD3D/TextureD3D.h"
#include "Framework/ErrorText.h"

#include <cmath>
#include <utility>

using namespace Platform;
using namespace Platform::Gpu;

namespace
{
constexpr const char* kSourceFile = "Sources\\Engine2DD3D\\SheetMoveD3D.cpp";
}

SheetMoveD3D::SheetMoveD3D(Engine2DD3D& engine, const Rect& rect, bool pivot)
    : SheetMoveBase(rect, pivot), mEngine(engine)
{
    updatePivot();
}

void SheetMoveD3D::updateLayout()
{
    SheetMoveBase::updateLayout();
    updatePivot();
}

void SheetMoveD3D::setRotation(int32_t x, int32_t y, float angle)
{
    Vector2 centre{static_cast<float>(x), static_cast<float>(y)};
    mSheetMatrix = matrixAffineTransformation2D(1, &centre, angle, nullptr);
}

void SheetMoveD3D::resetTransform()
{
    mSheetMatrix = matrixIdentity();
}

void SheetMoveD3D::updatePivot()
{
    if (!mPivot)
        return;
    float x = static_cast<float>(mX), y = static_cast<float>(mY);
    mPivotIn = matrixTranslation(-x, -y, 0);
    mPivotOut = matrixTranslation(x, y, 0);
}

void SheetMoveD3D::beginTransform()
{
    Device* device = mEngine.getDevice();
    if (device == nullptr)
        return;
    device->getTransform(TS_WORLD, &mSavedWorld);
    device->multiplyTransform(TS_WORLD, mPivot ? mPivotIn * mSheetMatrix * mPivotOut : mSheetMatrix);
}

void SheetMoveD3D::endTransform()
{
    if (Device* device = mEngine.getDevice())
        device->setTransform(TS_WORLD, mSavedWorld);
}

ErrorCode SheetMoveGridD3D::set(const Rect2D& start, const Rect2D& end, ::Texture* texture)
{
    SheetMove::set(start, end, texture);
    mColumns = COLUMNS;
    mRows = ROWS;
    mVertexBuffer.reset();
    Device* device = mEngine.getDevice();
    if (device == nullptr)
        return ERROR_INVALID;
    PlatformResult result = device->createVertexBuffer(mColumns * mRows * 6 * sizeof(GridVertex), 0,
                                                       FVF_XYZ_TEX1, POOL_SYSTEMMEM, &mVertexBuffer);
    if (resultFailed(result))
    {
        mVertexBuffer.reset();
        return reportD3DErrorAt(result, kSourceFile);
    }
    return 0;
}

float SheetMoveGridD3D::progressAt(float d, float t)
{
    float h = d / 2;
    if (t <= h)
        return t / 2;
    if (t < h + 0.5f)
        return (t + (std::sin(6.2831855f * (t - h) - 1.5707964f) + 1) / 2) / 2;
    return (1 + t) / 2;
}

Vector2 SheetMoveGridD3D::gridPoint(uint32_t i, uint32_t j, float t) const
{
    float u = static_cast<float>(i) / static_cast<float>(mColumns);
    float v = static_cast<float>(j) / static_cast<float>(mRows);
    float sx = static_cast<float>(mStart.x) + static_cast<float>(mStart.width) * u;
    float sy = static_cast<float>(mStart.y) + static_cast<float>(mStart.height) * v;
    float ex = static_cast<float>(mEnd.x) + static_cast<float>(mEnd.width) * u;
    float ey = static_cast<float>(mEnd.y) + static_cast<float>(mEnd.height) * v;
    float k = progressAt(static_cast<float>(i + j) / static_cast<float>(mColumns + mRows), t);
    return {sx * (1 - k) + ex * k, sy * (1 - k) + ey * k};
}

const SheetMoveGridD3D::GridVertex* SheetMoveGridD3D::vertices() const
{
    return mVertexBuffer != nullptr ? reinterpret_cast<const GridVertex*>(mVertexBuffer->data()) : nullptr;
}

void SheetMoveGridD3D::update(float t)
{
    if (mTexture == nullptr || mVertexBuffer == nullptr || mTexture->getTextureWidth() == 0 ||
        mTexture->getTextureHeight() == 0)
        return;
    const float width = static_cast<float>(mTexture->getWidth());
    const float height = static_cast<float>(mTexture->getHeight());
    float z = mEngine.getZ();
    auto vertex = [&](uint32_t i, uint32_t j)
    {
        Vector2 point = gridPoint(i, j, t);
        float x = width * static_cast<float>(i) / static_cast<float>(mColumns);
        float y = height * static_cast<float>(j) / static_cast<float>(mRows);
        if (mMirrorY)
            y = height - y;
        return GridVertex{point.x, point.y, z, mTexture->surfaceU(x), mTexture->surfaceV(y)};
    };
    void* data = nullptr;
    PlatformResult result = mVertexBuffer->lock(0, 0, &data, 0);
    if (resultFailed(result))
    {
        reportD3DErrorAt(result, kSourceFile);
        return;
    }
    auto* out = static_cast<GridVertex*>(data);
    for (uint32_t j = 0; j < mRows; ++j)
    {
        for (uint32_t i = 0; i < mColumns; ++i)
        {
            *out++ = vertex(i, j);
            *out++ = vertex(i + 1, j);
            *out++ = vertex(i, j + 1);
            *out++ = vertex(i, j + 1);
            *out++ = vertex(i + 1, j);
            *out++ = vertex(i + 1, j + 1);
        }
    }
    mVertexBuffer->unlock();
}

void SheetMoveGridD3D::draw()
{
    Device* device = mEngine.getDevice();
    auto* texture = dynamic_cast<TextureD3D*>(mTexture);
    if (texture == nullptr || mVertexBuffer == nullptr || device == nullptr)
        return;
    device->setTexture(0, texture->getD3DTexture());
    device->setSamplerState(0, SAMP_ADDRESSU, TADDRESS_CLAMP);
    device->setSamplerState(0, SAMP_ADDRESSV, TADDRESS_CLAMP);
    device->setSamplerState(0, SAMP_MAGFILTER, TEXF_LINEAR);
    device->setSamplerState(0, SAMP_MINFILTER, TEXF_LINEAR);
    device->setStreamSource(0, mVertexBuffer.get(), 0, sizeof(GridVertex));
    device->setFVF(FVF_XYZ_TEX1);
    mEngine.getStateCache().flush();
    device->drawPrimitive(PT_TRIANGLELIST, 0, mColumns * mRows * 2);
}
