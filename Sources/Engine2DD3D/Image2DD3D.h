#pragma once
// A 2D image drawn as one triangle strip of four vertices (top-left,
// top-right, bottom-left, bottom-right; position, colour, texture
// coordinates) kept in a small vertex buffer that update rewrites.
#include "Engine/Image2D.h"
#include "Platform/Gpu/Resources.h"

#include "Framework/SourceLocation.h"
#include <memory>

class Engine2DD3D;

// The vertex of the 2D images.
struct Vertex2D
{
    float x, y, z;
    uint32_t color;
    float u, v;
};
static_assert(sizeof(Vertex2D) == 24);

class Image2DD3D final : public Image2D
{
public:
    Image2DD3D(Engine2DD3D& engine, float x, float y, Texture* texture, uint32_t flags, float width,
               float height, uint32_t color, RenderList* renderList);
    ~Image2DD3D() override;

    ErrorCode draw() override;
    ErrorCode update() override;

    // The four vertices as update last wrote them (for tests).
    const Vertex2D* vertices() const;

private:
    Engine2DD3D& mEngine;
    std::unique_ptr<Platform::Gpu::VertexBuffer> mVertexBuffer;
};

// Writes four vertices of a strip into a buffer: the shared step of the
// image kinds. Returns 0 or the reported failure; file and where name the
// caller's source position.
ErrorCode writeQuad(Platform::Gpu::VertexBuffer& buffer, const Vertex2D (&vertices)[4], const char* file,
                    SourceLocation where = SourceLocation::current());
// The vertex buffer of an image kind; on failure it reports with the caller's
// source position, quits the program and gives null.
std::unique_ptr<Platform::Gpu::VertexBuffer>
createQuadBuffer(Engine2DD3D& engine, const char* file, SourceLocation where = SourceLocation::current());
// A texture an image refused while being built is fatal as well.
void quitOnTextureFailure(ErrorCode code);
