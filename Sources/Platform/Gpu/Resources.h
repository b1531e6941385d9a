#pragma once
// Textures, vertex buffers and index buffers of the graphics device. Each one
// keeps its contents in CPU memory: locking hands out that memory, and the
// device copies changed contents to the graphics card on the main thread
// just before it draws with them. A texture that is written once may give
// its CPU copy up after the upload; a later lock on the main thread reads
// it back from the card. Their creator owns them (unique ownership);
// destroying one while the device still uses it unbinds it.
#include "Platform/Gpu/GpuTypes.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

namespace Platform::Gpu
{

class DeviceBase;

// A number no resource's contents had before: every resource takes one when
// made and another each time it is locked, so that a pass can tell whether
// what it reads is what an earlier pass read.
uint64_t nextResourceVersion();

// What the device keeps about a resource on the card (names of its objects).
struct DeviceHandles
{
    uint32_t object = 0;
    uint32_t framebuffer = 0;
    uint32_t depth = 0;
    // Level 0 as last sent holds no texel that is not fully opaque.
    bool opaque = false;
};

class Texture
{
public:
    Texture(DeviceBase* device, uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
            uint32_t format, uint32_t pool);
    ~Texture();
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    // Levels a caller may lock: 1 for a texture whose chain the device
    // generates, else every level.
    uint32_t getLevelCount() const;
    PlatformResult getLevelDesc(uint32_t level, SurfaceDesc* desc) const;

    // May be called from any thread. The pointer stays valid until the
    // matching unlock; the rows are packed (pitch = width x bytes per
    // pixel). Render targets cannot be locked. A level cannot be locked twice.
    PlatformResult lockRect(uint32_t level, LockedRect* locked, uint32_t flags);
    PlatformResult unlockRect(uint32_t level);

    uint32_t width() const { return mWidth; }
    uint32_t height() const { return mHeight; }
    uint32_t format() const { return mFormat; }
    uint32_t usage() const { return mUsage; }
    uint32_t pool() const { return mPool; }
    bool isRenderTarget() const { return (mUsage & USAGE_RENDERTARGET) != 0; }
    bool generatesMipChain() const { return (mUsage & USAGE_AUTOGENMIPMAP) != 0; }
    // Levels the device stores, generated ones included.
    uint32_t storedLevelCount() const { return mStoredLevels; }
    uint32_t levelWidth(uint32_t level) const;
    uint32_t levelHeight(uint32_t level) const;
    uint64_t byteSize() const;
    // Bytes of the CPU copy held now.
    uint64_t copyBytes() const;

    // For contents written once (a decoded picture, glyphs): the CPU copy of
    // each level is freed once the card has it. Only for textures locked on
    // the main thread after that: another thread cannot have it read back.
    void releaseCopyAfterUpload();
    // Levels whose CPU copy is gone (device side, main thread).
    bool hasReleasedLevels() const;
    // Gives a released level its contents back, read from the card.
    template <class ReadBack> void restoreReleasedLevels(ReadBack&& readBack);

    // Device side (main thread).
    DeviceHandles& handles() { return mHandles; }
    uint64_t version() const { return mVersion.load(std::memory_order_acquire); }
    bool hasPendingUpload() const { return mDirty.load(std::memory_order_acquire); }
    // Calls upload (level, pixels, width, height) for every changed level not
    // locked at the moment; a level still being written keeps its old copy on
    // the card until the next time.
    template <class Upload> void uploadChangedLevels(Upload&& upload);
    void detachFromDevice() { mDevice = nullptr; }

private:
    enum : uint8_t
    {
        READ_LOCK = 1,
        WRITE_LOCK = 2
    };

    DeviceBase* mDevice;
    uint32_t mWidth, mHeight, mUsage, mFormat, mPool;
    uint32_t mStoredLevels = 1;
    std::vector<std::vector<uint8_t>> mLevels;
    std::vector<uint8_t> mLevelDirty;
    std::vector<uint8_t> mLevelLocked;
    std::vector<uint8_t> mLevelReleased;
    bool mReleaseAfterUpload = false;
    std::atomic<bool> mDirty{false};
    std::atomic<uint64_t> mVersion{nextResourceVersion()};
    mutable std::mutex mMutex;
    DeviceHandles mHandles;
};

class VertexBuffer
{
public:
    VertexBuffer(DeviceBase* device, uint32_t length, uint32_t usage, uint32_t fvf, uint32_t pool);
    ~VertexBuffer();
    VertexBuffer(const VertexBuffer&) = delete;
    VertexBuffer& operator=(const VertexBuffer&) = delete;

    // Main thread. Size 0 locks from the offset to the end.
    PlatformResult lock(uint32_t offset, uint32_t size, void** data, uint32_t flags);
    PlatformResult unlock();

    uint32_t length() const { return static_cast<uint32_t>(mData.size()); }
    uint32_t fvf() const { return mFvf; }
    uint32_t usage() const { return mUsage; }
    uint32_t pool() const { return mPool; }
    const uint8_t* data() const { return mData.data(); }
    uint64_t version() const { return mVersion; }
    void detachFromDevice() { mDevice = nullptr; }

private:
    DeviceBase* mDevice;
    uint32_t mUsage, mFvf, mPool;
    bool mLocked = false;
    uint64_t mVersion = nextResourceVersion();
    std::vector<uint8_t> mData;
};

class IndexBuffer
{
public:
    IndexBuffer(DeviceBase* device, uint32_t length, uint32_t usage, uint32_t format, uint32_t pool);
    ~IndexBuffer();
    IndexBuffer(const IndexBuffer&) = delete;
    IndexBuffer& operator=(const IndexBuffer&) = delete;

    PlatformResult lock(uint32_t offset, uint32_t size, void** data, uint32_t flags);
    PlatformResult unlock();

    uint32_t length() const { return static_cast<uint32_t>(mData.size()); }
    uint32_t format() const { return mFormat; }
    uint32_t usage() const { return mUsage; }
    uint32_t pool() const { return mPool; }
    uint32_t indexSize() const { return mFormat == FMT_INDEX32 ? 4 : 2; }
    uint32_t indexCount() const { return length() / indexSize(); }
    uint32_t indexAt(uint32_t i) const;
    uint64_t version() const { return mVersion; }
    void detachFromDevice() { mDevice = nullptr; }

private:
    DeviceBase* mDevice;
    uint32_t mUsage, mFormat, mPool;
    bool mLocked = false;
    uint64_t mVersion = nextResourceVersion();
    std::vector<uint8_t> mData;
};

template <class Upload> void Texture::uploadChangedLevels(Upload&& upload)
{
    std::lock_guard<std::mutex> guard(mMutex);
    bool stillDirty = false;
    for (uint32_t level = 0; level < mLevels.size(); ++level)
    {
        if (!mLevelDirty[level])
        {
            continue;
        }
        if (mLevelLocked[level])
        {
            stillDirty = true;
            continue;
        }
        upload(level, mLevels[level].data(), levelWidth(level), levelHeight(level));
        mLevelDirty[level] = 0;
        if (mReleaseAfterUpload)
        {
            std::vector<uint8_t>().swap(mLevels[level]);
            mLevelReleased[level] = 1;
        }
    }
    mDirty.store(stillDirty, std::memory_order_release);
}

template <class ReadBack> void Texture::restoreReleasedLevels(ReadBack&& readBack)
{
    std::lock_guard<std::mutex> guard(mMutex);
    for (uint32_t level = 0; level < mLevels.size(); ++level)
    {
        if (!mLevelReleased[level])
        {
            continue;
        }
        mLevels[level].resize(size_t(levelWidth(level)) * levelHeight(level) * bytesPerPixel(mFormat));
        readBack(level, mLevels[level].data());
        mLevelReleased[level] = 0;
    }
}

} // namespace Platform::Gpu
