#pragma once
// A rendered component on the graphics device: the component is drawn into
// a render-target texture of its size, which the widget's image shows.
#include "Gui/RenderedComponent.h"

class Engine2DD3D;

class RenderedComponentD3D final : public RenderedComponent
{
public:
    RenderedComponentD3D(Engine2DD3D& engine, const Rect& rect);
    ~RenderedComponentD3D() override;

    ErrorCode renderComponent(Component* component) override;

    // Whether the surface renderer exists (kept while the size stays).
    bool hasSurfaceRenderer() const { return mSurfaceRenderer; }

private:
    Engine2DD3D& mEngine;
    // Stands for the render-to-surface object: made once per texture.
    bool mSurfaceRenderer = false;
};
