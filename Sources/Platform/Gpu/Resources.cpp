#include "Platform/Gpu/Resources.h"

#include "Platform/Gpu/DeviceBase.h"

#include <algorithm>
#include <cstring>

namespace Platform::Gpu
{

namespace
{

uint32_t fullChainLength(uint32_t width, uint32_t height)
{
    uint32_t levels = 1;
    while (width > 1 || height > 1)
    {
        width = std::max(1u, width / 2);
        height = std::max(1u, height / 2);
        ++levels;
    }
    return levels;
}

} // namespace

uint64_t nextResourceVersion()
{
    static std::atomic<uint64_t> next{1};
    return next.fetch_add(1, std::memory_order_relaxed);
}

Texture::Texture(DeviceBase* device, uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                 uint32_t format, uint32_t pool)
    : mDevice(device), mWidth(width), mHeight(height), mUsage(usage), mFormat(format), mPool(pool)
{
    uint32_t chain = fullChainLength(width, height);
    mStoredLevels = (levels == 0 || levels > chain) ? chain : levels;
    if (isRenderTarget())
    {
        mStoredLevels = 1;
        return;
    }
    // A generated chain keeps only level 0 in memory; the card builds the rest.
    uint32_t kept = generatesMipChain() ? 1 : mStoredLevels;
    uint32_t pixelSize = bytesPerPixel(format);
    for (uint32_t level = 0; level < kept; ++level)
    {
        mLevels.emplace_back(size_t(levelWidth(level)) * levelHeight(level) * pixelSize, uint8_t(0));
    }
    mLevelDirty.assign(kept, 1);
    mLevelLocked.assign(kept, 0);
    mLevelReleased.assign(kept, 0);
    mDirty = true;
}

Texture::~Texture()
{
    if (mDevice)
    {
        mDevice->textureDestroyed(this);
    }
}

uint32_t Texture::levelWidth(uint32_t level) const
{
    return std::max(1u, mWidth >> std::min(level, 31u));
}
uint32_t Texture::levelHeight(uint32_t level) const
{
    return std::max(1u, mHeight >> std::min(level, 31u));
}

uint64_t Texture::byteSize() const
{
    uint64_t total = 0;
    uint32_t pixelSize = bytesPerPixel(mFormat);
    for (uint32_t level = 0; level < mStoredLevels; ++level)
    {
        total += uint64_t(levelWidth(level)) * levelHeight(level) * pixelSize;
    }
    return total;
}

uint64_t Texture::copyBytes() const
{
    std::lock_guard<std::mutex> guard(mMutex);
    uint64_t total = 0;
    for (const auto& level : mLevels)
    {
        total += level.size();
    }
    return total;
}

uint32_t Texture::getLevelCount() const
{
    return generatesMipChain() ? 1 : mStoredLevels;
}

PlatformResult Texture::getLevelDesc(uint32_t level, SurfaceDesc* desc) const
{
    if (!desc || level >= getLevelCount())
    {
        return GPU_INVALIDCALL;
    }
    desc->format = mFormat;
    desc->usage = mUsage;
    desc->pool = mPool;
    desc->width = levelWidth(level);
    desc->height = levelHeight(level);
    return GPU_OK;
}

PlatformResult Texture::lockRect(uint32_t level, LockedRect* locked, uint32_t flags)
{
    if (!locked || isRenderTarget() || level >= mLevels.size())
    {
        return GPU_INVALIDCALL;
    }
    if (mDevice)
    {
        mDevice->resourceChanging();
        mDevice->textureLocking(this);
    }
    std::lock_guard<std::mutex> guard(mMutex);
    if (mLevelLocked[level])
    {
        return GPU_INVALIDCALL;
    }
    mVersion.store(nextResourceVersion(), std::memory_order_release);
    if (mLevelReleased[level])
    {
        // Nobody could read it back (another thread, or the device is
        // gone): the level starts again from zeros rather than from memory
        // that is no longer there.
        mLevels[level].assign(size_t(levelWidth(level)) * levelHeight(level) * bytesPerPixel(mFormat), 0);
        mLevelReleased[level] = 0;
    }
    // A level only read need not be sent to the card again.
    mLevelLocked[level] = (flags & LOCK_READONLY) ? READ_LOCK : WRITE_LOCK;
    locked->bits = mLevels[level].data();
    locked->pitch = int32_t(levelWidth(level) * bytesPerPixel(mFormat));
    return GPU_OK;
}

void Texture::releaseCopyAfterUpload()
{
    {
        std::lock_guard<std::mutex> guard(mMutex);
        mReleaseAfterUpload = !isRenderTarget();
    }
    if (mDevice)
    {
        mDevice->textureComplete(this);
    }
}

bool Texture::hasReleasedLevels() const
{
    std::lock_guard<std::mutex> guard(mMutex);
    return std::find(mLevelReleased.begin(), mLevelReleased.end(), 1) != mLevelReleased.end();
}

PlatformResult Texture::unlockRect(uint32_t level)
{
    std::lock_guard<std::mutex> guard(mMutex);
    if (level >= mLevels.size() || !mLevelLocked[level])
    {
        return GPU_INVALIDCALL;
    }
    if (mLevelLocked[level] == WRITE_LOCK)
    {
        mLevelDirty[level] = 1;
        mDirty.store(true, std::memory_order_release);
        // A pass drawn while the level was locked drew the old contents.
        mVersion.store(nextResourceVersion(), std::memory_order_release);
    }
    mLevelLocked[level] = 0;
    return GPU_OK;
}

VertexBuffer::VertexBuffer(DeviceBase* device, uint32_t length, uint32_t usage, uint32_t fvf, uint32_t pool)
    : mDevice(device), mUsage(usage), mFvf(fvf), mPool(pool), mData(length, uint8_t(0))
{
}

VertexBuffer::~VertexBuffer()
{
    if (mDevice)
    {
        mDevice->vertexBufferDestroyed(this);
    }
}

namespace
{

// A pass the device holds back may read the buffer: it is drawn first.
PlatformResult lockRange(DeviceBase* device, std::vector<uint8_t>& data, bool& locked, uint64_t& version,
                         uint32_t offset, uint32_t size, void** out)
{
    if (device)
    {
        device->resourceChanging();
    }
    if (!out || locked || offset > data.size() || size > data.size() - offset)
    {
        return GPU_INVALIDCALL;
    }
    locked = true;
    version = nextResourceVersion();
    *out = data.data() + offset;
    return GPU_OK;
}

} // namespace

PlatformResult VertexBuffer::lock(uint32_t offset, uint32_t size, void** data, uint32_t flags)
{
    (void)flags;
    return lockRange(mDevice, mData, mLocked, mVersion, offset, size, data);
}

PlatformResult VertexBuffer::unlock()
{
    if (!mLocked)
    {
        return GPU_INVALIDCALL;
    }
    mLocked = false;
    return GPU_OK;
}

IndexBuffer::IndexBuffer(DeviceBase* device, uint32_t length, uint32_t usage, uint32_t format, uint32_t pool)
    : mDevice(device), mUsage(usage), mFormat(format), mPool(pool), mData(length, uint8_t(0))
{
}

IndexBuffer::~IndexBuffer()
{
    if (mDevice)
    {
        mDevice->indexBufferDestroyed(this);
    }
}

PlatformResult IndexBuffer::lock(uint32_t offset, uint32_t size, void** data, uint32_t flags)
{
    (void)flags;
    return lockRange(mDevice, mData, mLocked, mVersion, offset, size, data);
}

PlatformResult IndexBuffer::unlock()
{
    if (!mLocked)
    {
        return GPU_INVALIDCALL;
    }
    mLocked = false;
    return GPU_OK;
}

uint32_t IndexBuffer::indexAt(uint32_t i) const
{
    if (mFormat == FMT_INDEX32)
    {
        uint32_t value;
        std::memcpy(&value, mData.data() + size_t(i) * 4, 4);
        return value;
    }
    uint16_t value;
    std::memcpy(&value, mData.data() + size_t(i) * 2, 2);
    return value;
}

} // namespace Platform::Gpu
