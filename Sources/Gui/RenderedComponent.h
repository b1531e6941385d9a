#pragma once
// An image widget whose texture is produced by drawing another component
// into it. The 2D engine makes the implementation
// (Engine2D::createRenderedComponent); the texture is the widget's own, a
// render target of the component's size, made again only when that size
// changes.
#include "Gui/Image.h"

class RenderedComponent : public Image
{
public:
    // Draws the component (its top-left corner on texel 0, 0) into the
    // texture, which the image then shows; the first failure is returned.
    virtual ErrorCode renderComponent(Component* component) = 0;

    // Null before the first renderComponent.
    Texture* getRenderTexture() const { return mRenderTexture; }

protected:
    // Without texture; the image is made by the given engine.
    RenderedComponent(const Rect& rect, Engine2D& engine) : Image(rect, nullptr, engine) {}
    // Unbinds the texture from the image and gives back its reference.
    void releaseRenderTexture();

    Texture* mRenderTexture = nullptr;
};
