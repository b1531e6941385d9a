#pragma once
// The base of every texture the engines hand out: a piece of device data
// named by its source (a file name, a resource id of the program's images,
// pixels the caller holds, or nothing for a blank surface), with two
// separate counts. The reference count says how many owners hold the
// object: the last release destroys it. The load count says how many users
// need its data on the device: the first load creates the data, the last
// unload drops it. A texture whose first load fails ends the application
// after a message that names its file or resource id.
//
// Every resource joins a resource list for its lifetime (the 2D engine's
// list of textures, walked around a device reset); the list does not own it.
#include "Framework/ErrorCodes.h"

#include <cstdint>
#include <list>
#include <string>

class Resource;

using ResourceList = std::list<Resource*>;

// x, y, width, height.
struct ResourceRect
{
    uint32_t x = 0;
    uint32_t y = 0;
    uint32_t width = 0;
    uint32_t height = 0;
};

class Resource
{
public:
    enum : uint16_t
    {
        SOURCE_MASK = 0x300,
        SOURCE_FILE = 0x000,
        SOURCE_RESOURCE = 0x100,
        SOURCE_PIXELS = 0x200,
        SOURCE_BLANK = 0x300
    };

    // How the texel memory is laid out once loaded.
    enum : uint32_t
    {
        PIXEL_KIND_X8R8G8B8 = 0,
        PIXEL_KIND_A8R8G8B8 = 1,
        PIXEL_KIND_A1R5G5B5 = 2
    };

    // A file source: the name is copied.
    Resource(ResourceList* list, const std::string& name, uint16_t flags);
    // An image of the program's own resources.
    Resource(ResourceList* list, uint32_t resourceId, uint16_t flags);
    // Pixels that stay the caller's; color is what the texture gives the
    // pixels that lack a channel.
    Resource(ResourceList* list, uint32_t width, uint32_t height, const void* pixels, uint16_t flags,
             uint32_t color);
    // A blank surface of that size.
    Resource(ResourceList* list, uint32_t width, uint32_t height, uint16_t flags);
    virtual ~Resource();
    Resource(const Resource&) = delete;
    Resource& operator=(const Resource&) = delete;

    // The texel memory of level 0, whole surface.
    virtual ErrorCode lock(void** bits, int32_t* pitch) = 0;
    virtual ErrorCode unlock() = 0;
    virtual bool isCreated() const = 0;
    virtual ErrorCode doLoad() = 0;
    virtual ErrorCode doUnload() = 0;
    virtual ErrorCode onLostDevice() = 0;
    virtual ErrorCode onResetDevice() = 0;

    void addRef() { ++mRefCount; }
    // Destroys the object at the last reference.
    void release();
    // The first load creates the device data; a failure there is fatal while
    // an application runs (message, then the process ends). Without an
    // application (tools, tests) the message is shown and the code returned.
    ErrorCode load();
    // The last unload drops the device data and returns doUnload's code. An
    // unload without a load is refused (1) rather than driving the count
    // below zero.
    ErrorCode unload();

    // Fills a rectangle of the surface (clipped to it) with an ARGB colour.
    ErrorCode fillRect(uint32_t color, const ResourceRect& rect);
    // The whole device surface, or only the part the image covers.
    ErrorCode fillAll(uint32_t color, bool wholeSurface);

    uint16_t getSource() const { return mFlags & SOURCE_MASK; }
    void setSource(uint16_t source) { mFlags = (mFlags & ~SOURCE_MASK) | (source & SOURCE_MASK); }
    void setSize(uint32_t width, uint32_t height)
    {
        mWidth = width;
        mHeight = height;
    }

    uint16_t getFlags() const { return mFlags; }
    uint32_t getWidth() const { return mWidth; }
    uint32_t getHeight() const { return mHeight; }
    uint32_t getTextureWidth() const { return mTextureWidth; }
    uint32_t getTextureHeight() const { return mTextureHeight; }
    uint32_t getParam() const { return mParam; }
    uint32_t getPixelKind() const { return mPixelKind; }
    int32_t getLoadCount() const { return mLoadCount; }
    int32_t getRefCount() const { return mRefCount; }
    // The file name of a file source, else empty.
    const std::string& getName() const { return mName; }
    // The resource id of a resource source, else 0.
    uint32_t getResourceId() const { return mResourceId; }
    const void* getPixels() const { return mPixels; }

    // The list owner goes away before the resource: it leaves the list and
    // forgets whatever else the owner gave it.
    void detachFromList();

protected:
    // Called by detachFromList.
    virtual void onListGone() {}

    uint32_t mParam = 0;
    uint32_t mWidth = 0;
    uint32_t mHeight = 0;
    uint32_t mTextureWidth = 0;
    uint32_t mTextureHeight = 0;
    std::string mName;
    uint32_t mResourceId = 0;
    const void* mPixels = nullptr;
    int32_t mLoadCount = 0;
    int32_t mRefCount = 1;
    uint16_t mFlags = 0;
    // Set by the texture after every load.
    uint32_t mPixelKind = PIXEL_KIND_A8R8G8B8;

private:
    void join(ResourceList* list);

    ResourceList* mList = nullptr;
};
