#include "Engine2DD3D/RenderedComponentD3D.h"

#include "Engine2DD3D/Engine2DD3D.h"
#include "Engine2DD3D/TextureD3D.h"
#include "Framework/ErrorText.h"

using namespace Platform;
using namespace Platform::Gpu;

namespace
{
constexpr const char* kSourceFile = "Sources\\Engine2DD3D\\RenderedComponentD3D.cpp";
} // namespace

RenderedComponentD3D::RenderedComponentD3D(Engine2DD3D& engine, const Rect& rect)
    : RenderedComponent(rect, engine), mEngine(engine)
{
}

RenderedComponentD3D::~RenderedComponentD3D()
{
    releaseRenderTexture();
}

ErrorCode RenderedComponentD3D::renderComponent(Component* component)
{
    Device* device = mEngine.getDevice();
    if (device == nullptr || component == nullptr || component->getWidth() <= 0 ||
        component->getHeight() <= 0)
        return ERROR_INVALID;
    const auto width = static_cast<uint32_t>(component->getWidth());
    const auto height = static_cast<uint32_t>(component->getHeight());
    // 1. A texture of the component's size, made again when the size changed.
    if (mRenderTexture == nullptr || mRenderTexture->getWidth() != width ||
        mRenderTexture->getHeight() != height)
    {
        mSurfaceRenderer = false;
        releaseRenderTexture();
        ::Texture* texture = mEngine.createTexture(width, height, ::Texture::FLAG_RENDER_TARGET);
        if (ErrorCode code = texture->load())
        {
            texture->release();
            return code;
        }
        mRenderTexture = texture;
    }
    auto* texture = static_cast<TextureD3D*>(mRenderTexture);
    if (texture->getD3DTexture() == nullptr)
        return ERROR_INVALID;
    mSurfaceRenderer = true;

    // 2. A projection that puts the component's top-left corner on texel (0, 0).
    float textureWidth = static_cast<float>(mRenderTexture->getTextureWidth());
    float textureHeight = static_cast<float>(mRenderTexture->getTextureHeight());
    Matrix projection =
        matrixTranslation(-static_cast<float>(component->getX()), -static_cast<float>(component->getY()), 0) *
        matrixTranslation(-textureWidth / 2, -textureHeight / 2, 0) *
        matrixPerspectiveOffCenterLH(0.5f - textureWidth / 2, textureWidth / 2 + 0.5f,
                                     textureHeight / 2 + 0.5f, 0.5f - textureHeight / 2, mEngine.getZ(),
                                     0.0f);
    Matrix savedProjection;
    device->getTransform(TS_PROJECTION, &savedProjection);
    device->setTransform(TS_PROJECTION, projection);

    // 3. The component drawn on a white surface.
    Platform::Gpu::Texture* savedTarget = device->getRenderTarget();
    ErrorCode code = 0;
    PlatformResult result = device->setRenderTarget(texture->getD3DTexture());
    if (resultFailed(result))
        code = reportD3DErrorAt(result, kSourceFile);
    else
    {
        device->clear(CLEAR_TARGET, 0xFFFFFFFF, 1.0f, 0);
        code = component->render();
        device->setRenderTarget(savedTarget);
    }

    // 4. The frame's projection back, and the texture shown by the image.
    result = device->setTransform(TS_PROJECTION, savedProjection);
    if (resultFailed(result) && code == 0)
        code = reportD3DErrorAt(result, kSourceFile);
    if (code != 0)
        return code;
    setTexture(mRenderTexture);
    return 0;
}
