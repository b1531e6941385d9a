#include "Engine2DD3D/LayerEffects.h"

#include "Engine2DD3D/Engine2DD3D.h"

using namespace Platform;
using namespace Platform::Gpu;

namespace
{
Vector2 centreOf(const Rect2D& layer)
{
    return {static_cast<float>(layer.x) + static_cast<float>(layer.width) / 2,
            static_cast<float>(layer.y) + static_cast<float>(layer.height) / 2};
}
} // namespace

void TransformLayerEffect::begin(float t, const Rect2D& layer)
{
    Device* device = mEngine.getDevice();
    if (device == nullptr)
        return;
    device->getTransform(TS_WORLD, &mSavedWorld);
    Matrix matrix;
    computeMatrix(t, matrix, layer);
    device->multiplyTransform(TS_WORLD, matrix);
}

void TransformLayerEffect::end()
{
    if (Device* device = mEngine.getDevice())
        device->setTransform(TS_WORLD, mSavedWorld);
}

void ZoomLayerEffect::computeMatrix(float t, Matrix& matrix, const Rect2D& layer)
{
    Vector2 centre = centreOf(layer);
    Vector2 back{-centre.x, -centre.y};
    matrix = matrixAffineTransformation2D(1, nullptr, 0, &back) *
             matrixAffineTransformation2D(easeOutSwing(t), nullptr, 0, nullptr) *
             matrixAffineTransformation2D(1, nullptr, 0, &centre);
}

void SpinLayerEffect::computeMatrix(float t, Matrix& matrix, const Rect2D& layer)
{
    Vector2 centre = centreOf(layer);
    Vector2 back{-centre.x, -centre.y};
    Vector2 target{t * centre.x + (1 - t) * mMouseX, t * centre.y + (1 - t) * mMouseY};
    matrix = matrixAffineTransformation2D(1, &centre, (1 - t) * 9.42f, nullptr) *
             matrixAffineTransformation2D(1, nullptr, 0, &back) *
             matrixAffineTransformation2D(t, nullptr, 0, nullptr) *
             matrixAffineTransformation2D(1, nullptr, 0, &target);
}
