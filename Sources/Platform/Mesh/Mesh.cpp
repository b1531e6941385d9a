#include "Platform/Mesh/Mesh.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace Platform
{

using namespace Gpu;

PlatformResult Mesh::create(uint32_t faceCount, uint32_t vertexCount, uint32_t options, uint32_t fvf,
                            Device* device, std::unique_ptr<Mesh>* mesh)
{
    if (mesh == nullptr)
        return GPU_INVALIDCALL;
    mesh->reset();
    uint32_t stride = vertexSize(fvf);
    bool wide = (options & MESH_32BIT) != 0;
    if (device == nullptr || faceCount == 0 || vertexCount == 0 || stride == 0 ||
        (!wide && vertexCount > 0xFFFF) || uint64_t(faceCount) * 3 * 4 > 0xFFFFFFFFull ||
        uint64_t(vertexCount) * stride > 0xFFFFFFFFull)
        return GPU_INVALIDCALL;
    uint32_t pool = (options & MESH_MANAGED) == MESH_MANAGED ? POOL_MANAGED : POOL_SYSTEMMEM;
    std::unique_ptr<Mesh> made(new Mesh);
    made->mDevice = device;
    made->mFaceCount = faceCount;
    made->mVertexCount = vertexCount;
    made->mOptions = options;
    made->mFvf = fvf;
    made->mStride = stride;
    if (PlatformResult result =
            device->createVertexBuffer(vertexCount * stride, 0, fvf, pool, &made->mVertices))
        return result;
    if (PlatformResult result = device->createIndexBuffer(
            faceCount * 3 * (wide ? 4 : 2), 0, wide ? FMT_INDEX32 : FMT_INDEX16, pool, &made->mIndices))
        return result;
    made->mAttributes.assign(faceCount, 0);
    *mesh = std::move(made);
    return GPU_OK;
}

Mesh::~Mesh() = default;

PlatformResult Mesh::lockVertexBuffer(uint32_t flags, void** data)
{
    return mVertices->lock(0, 0, data, flags);
}

PlatformResult Mesh::unlockVertexBuffer()
{
    return mVertices->unlock();
}

PlatformResult Mesh::lockIndexBuffer(uint32_t flags, void** data)
{
    return mIndices->lock(0, 0, data, flags);
}

PlatformResult Mesh::unlockIndexBuffer()
{
    PlatformResult result = mIndices->unlock();
    mTableDirty = true;
    return result;
}

PlatformResult Mesh::lockAttributeBuffer(uint32_t, uint32_t** data)
{
    if (data == nullptr || mAttributesLocked)
        return GPU_INVALIDCALL;
    mAttributesLocked = true;
    *data = mAttributes.data();
    return GPU_OK;
}

PlatformResult Mesh::unlockAttributeBuffer()
{
    if (!mAttributesLocked)
        return GPU_INVALIDCALL;
    mAttributesLocked = false;
    mTableDirty = true;
    return GPU_OK;
}

void Mesh::rebuildAttributeTable()
{
    mTable.clear();
    for (uint32_t face = 0; face < mFaceCount; ++face)
    {
        uint32_t low = 0xFFFFFFFFu, high = 0;
        for (uint32_t k = 0; k < 3; ++k)
        {
            uint32_t index = mIndices->indexAt(face * 3 + k);
            low = std::min(low, index);
            high = std::max(high, index);
        }
        if (mTable.empty() || mTable.back().attribId != mAttributes[face])
        {
            mTable.push_back({mAttributes[face], face, 0, low, 0});
            mTable.back().vertexCount = high - low + 1;
        }
        AttributeRange& range = mTable.back();
        uint32_t end = std::max(range.vertexStart + range.vertexCount, high + 1);
        range.vertexStart = std::min(range.vertexStart, low);
        range.vertexCount = end - range.vertexStart;
        ++range.faceCount;
    }
    mTableDirty = false;
}

const std::vector<AttributeRange>& Mesh::getAttributeTable()
{
    if (mTableDirty)
        rebuildAttributeTable();
    return mTable;
}

PlatformResult Mesh::drawSubset(uint32_t attribId)
{
    bool bound = false;
    for (const AttributeRange& range : getAttributeTable())
    {
        if (range.attribId != attribId)
            continue;
        if (!bound)
        {
            mDevice->setFVF(mFvf);
            mDevice->setStreamSource(0, mVertices.get(), 0, mStride);
            mDevice->setIndices(mIndices.get());
            bound = true;
        }
        if (PlatformResult result =
                mDevice->drawIndexedPrimitive(PT_TRIANGLELIST, 0, range.vertexStart, range.vertexCount,
                                              range.faceStart * 3, range.faceCount))
            return result;
    }
    return GPU_OK;
}

void Mesh::sortFacesByAttribute()
{
    std::vector<uint32_t> order(mFaceCount);
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(),
                     [this](uint32_t a, uint32_t b) { return mAttributes[a] < mAttributes[b]; });
    uint32_t indexSize = mIndices->indexSize();
    void* data = nullptr;
    if (mIndices->lock(0, 0, &data, 0) != GPU_OK)
        return;
    std::vector<uint8_t> old(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + mIndices->length());
    std::vector<uint32_t> oldAttributes = mAttributes;
    for (uint32_t face = 0; face < mFaceCount; ++face)
    {
        std::memcpy(static_cast<uint8_t*>(data) + size_t(face) * 3 * indexSize,
                    old.data() + size_t(order[face]) * 3 * indexSize, 3 * indexSize);
        mAttributes[face] = oldAttributes[order[face]];
    }
    mIndices->unlock();
    mTableDirty = true;
}

} // namespace Platform
