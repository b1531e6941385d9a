#pragma once
// A triangle mesh of the graphics device: a vertex buffer in one of the
// device's vertex layouts, a 16- or 32-bit index buffer (three indices a
// face) and one attribute per face. Faces sharing an attribute form a
// subset, drawn by drawSubset; the attribute table lists the runs of faces
// with the same attribute and is rebuilt whenever the indices or the
// attributes were unlocked. The mesh owns its buffers; the device must
// outlive it. Main thread only.
#include "Platform/Gpu/Device.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace Platform
{

// Options of a mesh. MESH_32BIT gives 32-bit indices (needed beyond 65,535
// vertices); the pools say where the buffers live.
enum MeshOptions : uint32_t
{
    MESH_32BIT = 0x001,
    MESH_SYSTEMMEM = 0x110,
    MESH_MANAGED = 0x220
};

// The loader's answer to a file it cannot understand.
constexpr Platform::PlatformResult MESH_INVALIDDATA = static_cast<Platform::PlatformResult>(0x88760B59u);

// A run of faces drawn by one subset, with the vertices its indices use.
struct AttributeRange
{
    uint32_t attribId = 0;
    uint32_t faceStart = 0;
    uint32_t faceCount = 0;
    uint32_t vertexStart = 0;
    uint32_t vertexCount = 0;
};

class Mesh
{
public:
    // GPU_INVALIDCALL for no faces, no vertices, a layout the device cannot
    // draw, or more than 65,535 vertices with 16-bit indices.
    static Platform::PlatformResult create(uint32_t faceCount, uint32_t vertexCount, uint32_t options,
                                           uint32_t fvf, Gpu::Device* device, std::unique_ptr<Mesh>* mesh);
    ~Mesh();
    Mesh(const Mesh&) = delete;
    Mesh& operator=(const Mesh&) = delete;

    uint32_t getNumFaces() const { return mFaceCount; }
    uint32_t getNumVertices() const { return mVertexCount; }
    uint32_t getFVF() const { return mFvf; }
    uint32_t getNumBytesPerVertex() const { return mStride; }
    uint32_t getOptions() const { return mOptions; }
    Gpu::Device* getDevice() const { return mDevice; }

    Platform::PlatformResult lockVertexBuffer(uint32_t flags, void** data);
    Platform::PlatformResult unlockVertexBuffer();
    Platform::PlatformResult lockIndexBuffer(uint32_t flags, void** data);
    Platform::PlatformResult unlockIndexBuffer();
    Platform::PlatformResult lockAttributeBuffer(uint32_t flags, uint32_t** data);
    Platform::PlatformResult unlockAttributeBuffer();

    const std::vector<AttributeRange>& getAttributeTable();
    // Draws every run of faces whose attribute is attribId (none: nothing).
    Platform::PlatformResult drawSubset(uint32_t attribId);

    // Reorders the faces so that each attribute's faces are contiguous, in
    // ascending attribute order and otherwise in their old order.
    void sortFacesByAttribute();

    // Read access for intersection and bounding boxes.
    const uint8_t* vertexData() const { return mVertices->data(); }
    uint32_t indexAt(uint32_t i) const { return mIndices->indexAt(i); }
    uint32_t attributeAt(uint32_t face) const { return mAttributes[face]; }

private:
    Mesh() = default;
    void rebuildAttributeTable();

    Gpu::Device* mDevice = nullptr;
    uint32_t mFaceCount = 0, mVertexCount = 0, mOptions = 0, mFvf = 0, mStride = 0;
    std::unique_ptr<Gpu::VertexBuffer> mVertices;
    std::unique_ptr<Gpu::IndexBuffer> mIndices;
    std::vector<uint32_t> mAttributes;
    std::vector<AttributeRange> mTable;
    bool mTableDirty = true;
    bool mAttributesLocked = false;
};

} // namespace Platform
