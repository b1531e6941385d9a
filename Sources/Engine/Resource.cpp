#include "Engine/Resource.h"

#include "Framework/ApplicationGeneric.h"
#include "Framework/LangTable.h"
#include "Framework/Messages.h"

#include <algorithm>
#include <cstring>

Resource::Resource(ResourceList* list, const std::string& name, uint16_t flags)
    : mName(name), mFlags(static_cast<uint16_t>((flags & ~SOURCE_MASK) | SOURCE_FILE))
{
    join(list);
}

Resource::Resource(ResourceList* list, uint32_t resourceId, uint16_t flags)
    : mResourceId(resourceId), mFlags(static_cast<uint16_t>((flags & ~SOURCE_MASK) | SOURCE_RESOURCE))
{
    join(list);
}

Resource::Resource(ResourceList* list, uint32_t width, uint32_t height, const void* pixels, uint16_t flags,
                   uint32_t color)
    : mParam(color), mWidth(width), mHeight(height), mPixels(pixels),
      mFlags(static_cast<uint16_t>((flags & ~SOURCE_MASK) | SOURCE_PIXELS))
{
    join(list);
}

Resource::Resource(ResourceList* list, uint32_t width, uint32_t height, uint16_t flags)
    : mParam(0xFFFFFFFFu), mWidth(width), mHeight(height),
      mFlags(static_cast<uint16_t>((flags & ~SOURCE_MASK) | SOURCE_BLANK))
{
    join(list);
}

Resource::~Resource()
{
    if (mList != nullptr)
    {
        auto found = std::find(mList->begin(), mList->end(), this);
        if (found != mList->end())
            mList->erase(found);
    }
}

void Resource::join(ResourceList* list)
{
    mList = list;
    if (mList != nullptr)
        mList->push_back(this);
}

void Resource::detachFromList()
{
    if (mList == nullptr)
        return;
    auto found = std::find(mList->begin(), mList->end(), this);
    if (found != mList->end())
        mList->erase(found);
    mList = nullptr;
    onListGone();
}

void Resource::release()
{
    if (--mRefCount <= 0)
        delete this;
}

ErrorCode Resource::load()
{
    if (mLoadCount == 0)
    {
        if (ErrorCode code = doLoad())
        {
            // The text of the source, filled with its one argument; a
            // language file may only replace a text by one that reads the
            // same arguments, so the text is a safe format.
            switch (getSource())
            {
            case SOURCE_FILE:
                showMessage(getLangText(LANG_TEXTURE_FILE_NOT_FOUND).c_str(), mName.c_str());
                break;
            case SOURCE_RESOURCE:
                showMessage(getLangText(LANG_TEXTURE_RES_NOT_FOUND).c_str(), static_cast<int>(mResourceId));
                break;
            default:
                showMessage("%s", getLangText(LANG_TEXTURE_OTHER_NOT_FOUND).c_str());
                break;
            }
            if (ApplicationGeneric* application = getApplication())
                application->quitApplication(true);
            return code;
        }
    }
    ++mLoadCount;
    return 0;
}

ErrorCode Resource::unload()
{
    if (mLoadCount <= 0)
        return ERROR_INVALID;
    if (--mLoadCount == 0)
        return doUnload();
    return 0;
}

ErrorCode Resource::fillRect(uint32_t color, const ResourceRect& rect)
{
    void* bits = nullptr;
    int32_t pitch = 0;
    if (ErrorCode code = lock(&bits, &pitch))
        return code;
    // Only the part of the rectangle that lies on the surface is written.
    uint64_t right = std::min<uint64_t>(uint64_t(rect.x) + rect.width, mTextureWidth);
    uint64_t bottom = std::min<uint64_t>(uint64_t(rect.y) + rect.height, mTextureHeight);
    uint32_t width = right > rect.x ? static_cast<uint32_t>(right - rect.x) : 0;
    uint32_t height = bottom > rect.y ? static_cast<uint32_t>(bottom - rect.y) : 0;
    auto* base = static_cast<uint8_t*>(bits);
    switch (mPixelKind)
    {
    case PIXEL_KIND_X8R8G8B8:
    case PIXEL_KIND_A8R8G8B8:
        for (uint32_t y = 0; y < height; ++y)
        {
            auto* row = reinterpret_cast<uint32_t*>(base + size_t(rect.y + y) * pitch) + rect.x;
            std::fill(row, row + width, color);
        }
        break;
    case PIXEL_KIND_A1R5G5B5:
    {
        uint16_t texel = static_cast<uint16_t>(((color >> 24) & 0x80) << 8 | ((color >> 16) & 0xF8) << 7 |
                                               ((color >> 8) & 0xF8) << 2 | (color & 0xFF) >> 3);
        for (uint32_t y = 0; y < height; ++y)
        {
            auto* row = reinterpret_cast<uint16_t*>(base + size_t(rect.y + y) * pitch) + rect.x;
            std::fill(row, row + width, texel);
        }
        break;
    }
    default:
        // A layout it cannot write: the surface is still given back.
        unlock();
        return ERROR_INVALID;
    }
    return unlock();
}

ErrorCode Resource::fillAll(uint32_t color, bool wholeSurface)
{
    return wholeSurface ? fillRect(color, {0, 0, mTextureWidth, mTextureHeight})
                        : fillRect(color, {0, 0, mWidth, mHeight});
}
