#include "Engine2DD3D/Image2DStrechedD3D.h"

#include "Engine2DD3D/Engine2DD3D.h"
#include "Engine2DD3D/TextureD3D.h"

#include <utility>

using namespace Platform::Gpu;

namespace
{
constexpr const char* kSourceFile = "Sources\\Engine2DD3D\\Image2DStrechedD3D.cpp";
}

Image2DStrechedD3D::Image2DStrechedD3D(Engine2DD3D& engine, const Platform::Vector3* corners,
                                       ::Texture* texture, uint32_t color, uint32_t unused)
    : Image2DStreched(corners, texture, color, unused), mEngine(engine)
{
    mVertexBuffer = createQuadBuffer(mEngine, kSourceFile);
    if (ErrorCode code = setTexture(texture))
        quitOnTextureFailure(code);
}

Image2DStrechedD3D::~Image2DStrechedD3D() = default;

const Vertex2D* Image2DStrechedD3D::vertices() const
{
    return mVertexBuffer != nullptr ? reinterpret_cast<const Vertex2D*>(mVertexBuffer->data()) : nullptr;
}

ErrorCode Image2DStrechedD3D::update()
{
    if (mTexture == nullptr || mVertexBuffer == nullptr || mTexture->getTextureWidth() == 0 ||
        mTexture->getTextureHeight() == 0)
        return 0;
    float uL = mTexture->surfaceU(0), vT = mTexture->surfaceV(0);
    float uR = mTexture->surfaceU(static_cast<float>(mTexture->getWidth()));
    float vB = mTexture->surfaceV(static_cast<float>(mTexture->getHeight()));
    if (mFlags & FLAG_MIRROR_X)
        std::swap(uL, uR);
    if (mFlags & FLAG_MIRROR_Y)
        std::swap(vT, vB);
    const Corners& c = mCorners;
    const Vertex2D vertices[4] = {{c[0].x, c[0].y, c[0].z, mColor, uL, vT},
                                  {c[1].x, c[1].y, c[1].z, mColor, uR, vT},
                                  {c[2].x, c[2].y, c[2].z, mColor, uL, vB},
                                  {c[3].x, c[3].y, c[3].z, mColor, uR, vB}};
    return writeQuad(*mVertexBuffer, vertices, kSourceFile);
}

ErrorCode Image2DStrechedD3D::draw()
{
    Device* device = mEngine.getDevice();
    auto* texture = dynamic_cast<TextureD3D*>(mTexture);
    if (texture == nullptr || mVertexBuffer == nullptr || device == nullptr)
        return 0;
    RenderStateCache& states = mEngine.getStateCache();
    bool additive = (mFlags & FLAG_ADDITIVE) != 0;
    if (mCullMode != CULL_LEAVE)
        states.setState(RS_CULLMODE, mCullMode == CULL_COUNTER_CLOCKWISE ? CULL_CCW : CULL_CW);
    device->setTexture(0, texture->getD3DTexture());
    if (additive)
        states.setState(RS_DESTBLEND, BLEND_SRCALPHA);
    device->setSamplerState(0, SAMP_ADDRESSU, TADDRESS_CLAMP);
    device->setSamplerState(0, SAMP_ADDRESSV, TADDRESS_CLAMP);
    device->setSamplerState(0, SAMP_MAGFILTER, TEXF_LINEAR);
    device->setSamplerState(0, SAMP_MINFILTER, TEXF_LINEAR);
    device->setStreamSource(0, mVertexBuffer.get(), 0, sizeof(Vertex2D));
    device->setFVF(FVF_XYZ_DIFFUSE_TEX1);
    states.flush();
    device->drawPrimitive(PT_TRIANGLESTRIP, 0, 2);
    if (mCullMode != CULL_LEAVE)
        states.setState(RS_CULLMODE, CULL_NONE);
    if (additive)
        states.setState(RS_DESTBLEND, BLEND_INVSRCALPHA);
    return 0;
}
