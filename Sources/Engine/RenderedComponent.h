#pragma once
// An image whose texture is produced by drawing something else into it: the
// GUI hands renderComponent the rectangle of a component and the operation
// that draws it, and the result is shown by the image at the rendered
// component's own rectangle (Engine2D::createRenderedComponent). The texture
// is the object's own: a render target remade whenever the size changes.
#include "Engine/Image2D.h"
#include "Engine/Rect2D.h"

#include <functional>
#include <memory>

class RenderedComponent
{
public:
    virtual ~RenderedComponent() = default;
    RenderedComponent(const RenderedComponent&) = delete;
    RenderedComponent& operator=(const RenderedComponent&) = delete;

    // Draws the component (whose top-left corner lands on texel 0, 0) into
    // the texture; the first failure is returned.
    virtual ErrorCode renderComponent(const Rect2D& component, const std::function<ErrorCode()>& render) = 0;

    // Draws the image (nothing before the first renderComponent).
    ErrorCode draw() { return mImage ? mImage->draw() : 0; }
    Image2D* getImage() const { return mImage.get(); }
    Texture* getTexture() const { return mTexture; }
    const Rect2D& getRect() const { return mRect; }

protected:
    explicit RenderedComponent(const Rect2D& rect) : mRect(rect) {}

    Rect2D mRect;
    // Declared before the image: the image unbinds (unloads) it before the
    // implementation releases it.
    Texture* mTexture = nullptr;
    std::unique_ptr<Image2D> mImage;
};
