#include "Engine2DD3D/RenderedComponentD3D.h"

#include "Engine2DD3D/Engine2DD3D.h"
#include "Engine2DD3D/TextureD3D.h"
#include "Framework/ErrorText.h"

using namespace Platform;
using namespace Platform::Gpu;

namespace
{
constexpr const char* kSourceFile = "Sources\\Engine2DD3D\\RenderedComponentD3D.cpp";

ErrorCode reportAt(GpuResult result, int line)
{
    return reportD3DError(static_cast<uint32_t>(result), "(line %i in file %s)", line, kSourceFile);
}
} // namespace

RenderedComponentD3D::RenderedComponentD3D(Engine2DD3D& engine, const Rect2D& rect)
    : RenderedComponent(rect), mEngine(engine)
{
    mImage = mEngine.createImage(static_cast<float>(rect.x), static_cast<float>(rect.y), nullptr,
                                 Image2D::SIZE_NATURAL, static_cast<float>(rect.width),
                                 static_cast<float>(rect.height), 0xFFFFFFFF, nullptr);
}

RenderedComponentD3D::~RenderedComponentD3D()
{
    // Unbound first: the image gives back its load, then the reference goes.
    mImage.reset();
    if (mTexture != nullptr)
        mTexture->release();
}

ErrorCode RenderedComponentD3D::renderComponent(const Rect2D& component,
                                                const std::function<ErrorCode()>& render)
{
    Device* device = mEngine.getDevice();
    if (device == nullptr || component.width <= 0 || component.height <= 0)
        return ERROR_INVALID;
    // 1. A texture of the component's size, made again when the size changed.
    if (mTexture == nullptr || mTexture->getWidth() != static_cast<uint32_t>(component.width) ||
        mTexture->getHeight() != static_cast<uint32_t>(component.height))
    {
        mSurfaceRenderer = false;
        mImage->setTexture(nullptr);
        if (mTexture != nullptr)
            mTexture->release();
        mTexture =
            mEngine.createTexture(static_cast<uint32_t>(component.width),
                                  static_cast<uint32_t>(component.height), ::Texture::FLAG_RENDER_TARGET);
        if (ErrorCode code = mTexture->load())
        {
            mTexture->release();
            mTexture = nullptr;
            return code;
        }
    }
    auto* texture = static_cast<TextureD3D*>(mTexture);
    if (texture->getD3DTexture() == nullptr)
        return ERROR_INVALID;
    mSurfaceRenderer = true;

    // 2. A projection that puts the component's top-left corner on texel (0, 0).
    float width = static_cast<float>(mTexture->getTextureWidth());
    float height = static_cast<float>(mTexture->getTextureHeight());
    Matrix projection =
        matrixTranslation(-static_cast<float>(component.x), -static_cast<float>(component.y), 0) *
        matrixTranslation(-width / 2, -height / 2, 0) *
        matrixPerspectiveOffCenterLH(0.5f - width / 2, width / 2 + 0.5f, height / 2 + 0.5f, 0.5f - height / 2,
                                     mEngine.getZ(), 0.0f);
    Matrix savedProjection;
    device->getTransform(TS_PROJECTION, &savedProjection);
    device->setTransform(TS_PROJECTION, projection);

    // 3. The component drawn on a white surface.
    Platform::Gpu::Texture* savedTarget = device->getRenderTarget();
    ErrorCode code = 0;
    GpuResult result = device->setRenderTarget(texture->getD3DTexture());
    if (gpuFailed(result))
        code = reportAt(result, __LINE__);
    else
    {
        device->clear(CLEAR_TARGET, 0xFFFFFFFF, 1.0f, 0);
        if (render)
            code = render();
        device->setRenderTarget(savedTarget);
    }

    // 4. The frame's projection back, and the texture shown by the image.
    result = device->setTransform(TS_PROJECTION, savedProjection);
    if (gpuFailed(result) && code == 0)
        code = reportAt(result, __LINE__);
    if (code != 0)
        return code;
    return mImage->setTexture(mTexture);
}
