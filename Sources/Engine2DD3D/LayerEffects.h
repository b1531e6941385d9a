#pragma once
// The two opening effects of GUI layers. Each multiplies the world
// transform by its matrix for the layer's drawing and puts the saved world
// transform back at the end.
#include "Engine/LayerEffect.h"
#include "Platform/Math/Matrix.h"

class Engine2DD3D;

class TransformLayerEffect : public LayerEffect
{
public:
    explicit TransformLayerEffect(Engine2DD3D& engine) : mEngine(engine) {}
    void begin(float t, const Rect2D& layer) override;
    void end() override;
    virtual void computeMatrix(float t, Platform::Matrix& matrix, const Rect2D& layer) = 0;

protected:
    Engine2DD3D& mEngine;
    Platform::Matrix mSavedWorld;
};

// Grows the layer about its centre with an overshoot (easeOutSwing).
class ZoomLayerEffect final : public TransformLayerEffect
{
public:
    using TransformLayerEffect::TransformLayerEffect;
    void computeMatrix(float t, Platform::Matrix& matrix, const Rect2D& layer) override;
};

// The layer spins in from the mouse position, growing from nothing to full
// size while turning about one and a half turns.
class SpinLayerEffect final : public TransformLayerEffect
{
public:
    SpinLayerEffect(Engine2DD3D& engine, float mouseX, float mouseY)
        : TransformLayerEffect(engine), mMouseX(mouseX), mMouseY(mouseY)
    {
    }
    void computeMatrix(float t, Platform::Matrix& matrix, const Rect2D& layer) override;

private:
    float mMouseX, mMouseY;
};
