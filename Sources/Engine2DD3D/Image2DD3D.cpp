#include "Engine2DD3D/Image2DD3D.h"

#include "Engine2DD3D/Engine2DD3D.h"
#include "Engine2DD3D/TextureD3D.h"
#include "Framework/ApplicationGeneric.h"
#include "Framework/ErrorText.h"
#include "Framework/Messages.h"

#include <cstring>
#include <utility>

using namespace Platform::Gpu;
using Platform::PlatformResult;
using Platform::resultFailed;

namespace
{
constexpr const char* kSourceFile = "Sources\\Engine2DD3D\\Image2DD3D.cpp";
}

ErrorCode writeQuad(VertexBuffer& buffer, const Vertex2D (&vertices)[4], const char* file,
                    SourceLocation where)
{
    // Rewriting the same corners would give the buffer a new version, and
    // the device would draw an unchanged frame again.
    if (buffer.length() >= sizeof vertices && std::memcmp(buffer.data(), vertices, sizeof vertices) == 0)
        return 0;
    void* data = nullptr;
    PlatformResult result = buffer.lock(0, 0, &data, 0);
    if (resultFailed(result))
        return reportD3DErrorAt(result, file, where);
    std::memcpy(data, vertices, sizeof vertices);
    result = buffer.unlock();
    if (resultFailed(result))
        return reportD3DErrorAt(result, file, where);
    return 0;
}

std::unique_ptr<VertexBuffer> createQuadBuffer(Engine2DD3D& engine, const char* file, SourceLocation where)
{
    std::unique_ptr<VertexBuffer> buffer;
    Device* device = engine.getDevice();
    PlatformResult result = device != nullptr
                                ? device->createVertexBuffer(4 * sizeof(Vertex2D), 0, FVF_XYZ_DIFFUSE_TEX1,
                                                             POOL_SYSTEMMEM, &buffer)
                                : GPU_INVALIDCALL;
    if (resultFailed(result))
    {
        // An image that cannot be drawn is fatal while the program runs.
        reportD3DErrorAt(result, file, where);
        if (ApplicationGeneric* application = getApplication())
            application->quitApplication(true);
        buffer.reset();
    }
    return buffer;
}

void quitOnTextureFailure(ErrorCode code)
{
    showMessage("erreur %s", errorCodeToText(code).c_str());
    if (ApplicationGeneric* application = getApplication())
        application->quitApplication(true);
}

Image2DD3D::Image2DD3D(Engine2DD3D& engine, float x, float y, ::Texture* texture, uint32_t flags, float width,
                       float height, uint32_t color, RenderList* renderList)
    : Image2D(x, y, texture, flags, width, height, color, renderList), mEngine(engine)
{
    mVertexBuffer = createQuadBuffer(mEngine, kSourceFile);
    if (ErrorCode code = setTexture(texture))
        quitOnTextureFailure(code);
}

Image2DD3D::~Image2DD3D() = default;

const Vertex2D* Image2DD3D::vertices() const
{
    return mVertexBuffer != nullptr ? reinterpret_cast<const Vertex2D*>(mVertexBuffer->data()) : nullptr;
}

ErrorCode Image2DD3D::update()
{
    if (mTexture == nullptr || mVertexBuffer == nullptr || mTexture->getTextureWidth() == 0 ||
        mTexture->getTextureHeight() == 0)
        return 0;
    const ::Texture& texture = *mTexture;
    float iw = static_cast<float>(texture.getWidth());
    float ih = static_cast<float>(texture.getHeight());

    // 1. ::Texture coordinates by size mode.
    float uL = texture.surfaceU(0), vT = texture.surfaceV(0), uR, vB;
    switch (getSizeMode())
    {
    case SIZE_STRETCHED:
        uR = texture.surfaceU(iw);
        vB = texture.surfaceV(ih);
        break;
    case SIZE_SOURCE_RECT:
        uL = texture.surfaceU(static_cast<float>(mSourceRect.x));
        vT = texture.surfaceV(static_cast<float>(mSourceRect.y));
        uR = texture.surfaceU(static_cast<float>(mSourceRect.x + mSourceRect.width));
        vB = texture.surfaceV(static_cast<float>(mSourceRect.y + mSourceRect.height));
        break;
    default:
        // Tiled mode repeats the texture beyond its size.
        uR = texture.surfaceU(mWidth);
        vB = texture.surfaceV(mHeight);
        break;
    }
    // 2. Corners.
    float x0 = mX, y0 = mY, x1 = mX + mWidth, y1 = mY + mHeight;
    // 3. Mirrors.
    if (isMirrorX())
        std::swap(uL, uR);
    if (isMirrorY())
        std::swap(vT, vB);
    // 4. Clipping against the render list, the texture coordinates cut in
    // proportion.
    if (mRenderList != nullptr)
    {
        const Rect2D& clip = mRenderList->getRect();
        float cx0 = static_cast<float>(clip.x), cy0 = static_cast<float>(clip.y);
        float cx1 = cx0 + static_cast<float>(clip.width), cy1 = cy0 + static_cast<float>(clip.height);
        float width = x1 - x0, height = y1 - y0;
        float du = uR - uL, dv = vB - vT;
        if (x0 < cx0)
        {
            if (width != 0)
                uL += (cx0 - x0) * du / width;
            x0 = cx0;
        }
        if (y0 < cy0)
        {
            if (height != 0)
                vT += (cy0 - y0) * dv / height;
            y0 = cy0;
        }
        if (x1 > cx1)
        {
            if (width != 0)
                uR += (cx1 - x1) * du / width;
            x1 = cx1;
        }
        if (y1 > cy1)
        {
            if (height != 0)
                vB += (cy1 - y1) * dv / height;
            y1 = cy1;
        }
        if (x1 < x0 || y1 < y0)
        {
            setFlag(FLAG_CULLED, true);
            return 0;
        }
    }
    setFlag(FLAG_CULLED, false);
    // 5. The vertices.
    float z = mEngine.getZ();
    const Vertex2D vertices[4] = {{x0, y0, z, mColor, uL, vT},
                                  {x1, y0, z, mColor, uR, vT},
                                  {x0, y1, z, mColor, uL, vB},
                                  {x1, y1, z, mColor, uR, vB}};
    return writeQuad(*mVertexBuffer, vertices, kSourceFile);
}

ErrorCode Image2DD3D::draw()
{
    Device* device = mEngine.getDevice();
    auto* texture = dynamic_cast<TextureD3D*>(mTexture);
    if (texture == nullptr || isCulled() || mVertexBuffer == nullptr || device == nullptr)
        return 0;
    RenderStateCache& states = mEngine.getStateCache();
    // 1. ::Texture and blending.
    device->setTexture(0, texture->getD3DTexture());
    if (isAdditive())
        states.setState(RS_DESTBLEND, BLEND_SRCALPHA);
    // 2. Addressing: repeating modes wrap, the others clamp.
    uint32_t mode = getSizeMode();
    uint32_t address = (mode == SIZE_TILED || mode == SIZE_SOURCE_RECT) ? TADDRESS_WRAP : TADDRESS_CLAMP;
    device->setSamplerState(0, SAMP_ADDRESSU, address);
    device->setSamplerState(0, SAMP_ADDRESSV, address);
    // 3. Filtering: texel for pixel where the image is drawn at its size.
    bool linear;
    if (isLinear() || mode == SIZE_SOURCE_RECT)
        linear = true;
    else if (mode == SIZE_NATURAL || mode == SIZE_TILED)
        linear = false;
    else if (mTexture->getFlags() & ::Texture::FLAG_STRETCH_POINT_FILTER)
        linear = mWidth != static_cast<float>(mTexture->getWidth()) &&
                 mHeight != static_cast<float>(mTexture->getHeight());
    else
        linear = !(mWidth == static_cast<float>(mTexture->getWidth()) &&
                   mHeight == static_cast<float>(mTexture->getHeight()));
    uint32_t filter = linear ? TEXF_LINEAR : TEXF_POINT;
    device->setSamplerState(0, SAMP_MAGFILTER, filter);
    device->setSamplerState(0, SAMP_MINFILTER, filter);
    // 4. The strip.
    device->setStreamSource(0, mVertexBuffer.get(), 0, sizeof(Vertex2D));
    device->setFVF(FVF_XYZ_DIFFUSE_TEX1);
    states.flush();
    device->drawPrimitive(PT_TRIANGLESTRIP, 0, 2);
    if (isAdditive())
        states.setState(RS_DESTBLEND, BLEND_INVSRCALPHA);
    return 0;
}
