#pragma once
// A stretched image drawn as one strip of four vertices at its free corners.
#include "Engine/Image2DStreched.h"
#include "Engine2DD3D/Image2DD3D.h"

class Image2DStrechedD3D final : public Image2DStreched
{
public:
    Image2DStrechedD3D(Engine2DD3D& engine, const Platform::Vector3* corners, Texture* texture,
                       uint32_t color, uint32_t unused);
    ~Image2DStrechedD3D() override;

    ErrorCode draw() override;
    ErrorCode update() override;

    const Vertex2D* vertices() const;

private:
    Engine2DD3D& mEngine;
    std::unique_ptr<Platform::Gpu::VertexBuffer> mVertexBuffer;
};
