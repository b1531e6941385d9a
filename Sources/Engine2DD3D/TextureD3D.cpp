#include "Engine2DD3D/TextureD3D.h"

#include "Engine2DD3D/Engine2DD3D.h"
#include "Framework/ApplicationGeneric.h"
#include "Framework/ErrorText.h"
#include "Framework/FileLookup.h"
#include "ImageCodec/ImageLibrary.h"

#include <algorithm>
#include <cstring>
#include <map>

using namespace Platform::Gpu;
using Platform::PlatformResult;
using Platform::resultFailed;

namespace
{
constexpr const char* kSourceFile = "Sources\\Engine2DD3D\\TextureD3D.cpp";

std::map<uint32_t, std::span<const uint8_t>>& programImages()
{
    static std::map<uint32_t, std::span<const uint8_t>> images;
    return images;
}

DecodedImagePtr decodeBytes(const void* bytes, size_t size)
{
    ImageFilePtr file(createMemoryImageFile(bytes, static_cast<int64_t>(size)));
    if (file == nullptr)
        return nullptr;
    return DecodedImagePtr(
        convertImage(openImageFromFile(file.get(), IMAGE_FORMAT_AUTODETECT), PIXEL_FORMAT_B8G8R8A8));
}

uint32_t log2Floor(uint32_t value)
{
    uint32_t result = 0;
    while (value > 1)
    {
        value >>= 1;
        ++result;
    }
    return result;
}
} // namespace

TextureD3D::TextureD3D(Engine2DD3D& engine, const std::string& name, uint16_t flags)
    : ::Texture(&engine.textureList(), name, flags), mEngine(&engine)
{
}

TextureD3D::TextureD3D(Engine2DD3D& engine, uint32_t resourceId, uint16_t flags)
    : ::Texture(&engine.textureList(), resourceId, flags), mEngine(&engine)
{
}

TextureD3D::TextureD3D(Engine2DD3D& engine, uint32_t width, uint32_t height, const void* pixels,
                       uint16_t flags, uint32_t color)
    : ::Texture(&engine.textureList(), width, height, pixels, flags, color), mEngine(&engine)
{
}

TextureD3D::TextureD3D(Engine2DD3D& engine, uint32_t width, uint32_t height, uint16_t flags)
    : ::Texture(&engine.textureList(), width, height, flags), mEngine(&engine)
{
}

TextureD3D::TextureD3D(Engine2DD3D& engine, TextureD3D& atlas, const ResourceRect& rect)
    : ::Texture(&engine.textureList(), rect.width, rect.height, nullptr, atlas.getFlags(), atlas.getParam()),
      mEngine(&engine), mAtlas(&atlas)
{
    mSurfaceX = rect.x;
    mSurfaceY = rect.y;
    mAtlas->addRef();
}

TextureD3D::~TextureD3D()
{
    if (mAtlas == nullptr)
        return;
    if (mLoadCount > 0)
        mAtlas->unload();
    mAtlas->release();
}

void TextureD3D::registerProgramImage(uint32_t resourceId, std::span<const uint8_t> bytes)
{
    programImages()[resourceId] = bytes;
}

void TextureD3D::clearProgramImages()
{
    programImages().clear();
}

uint32_t TextureD3D::powerOfTwo(uint32_t value)
{
    uint32_t result = 1;
    while (result < value && result < 0x80000000u)
        result <<= 1;
    return result;
}

Device* TextureD3D::device() const
{
    return mEngine != nullptr ? mEngine->getDevice() : nullptr;
}

ErrorCode TextureD3D::lock(void** bits, int32_t* pitch)
{
    // A region's neighbours on the atlas are not its to write.
    if (mTexture == nullptr)
        return ERROR_INVALID;
    LockedRect locked;
    PlatformResult result = mTexture->lockRect(0, &locked, mDiscardOnLock ? uint32_t(LOCK_DISCARD) : 0u);
    if (resultFailed(result))
        return reportD3DErrorAt(result, kSourceFile);
    *bits = locked.bits;
    *pitch = locked.pitch;
    return 0;
}

ErrorCode TextureD3D::unlock()
{
    if (mTexture == nullptr)
        return ERROR_INVALID;
    PlatformResult result = mTexture->unlockRect(0);
    if (resultFailed(result))
        return reportD3DErrorAt(result, kSourceFile);
    return 0;
}

ErrorCode TextureD3D::doLoad()
{
    if (mAtlas != nullptr)
    {
        if (ErrorCode code = mAtlas->load())
            return code;
        mTextureWidth = mAtlas->getTextureWidth();
        mTextureHeight = mAtlas->getTextureHeight();
        mPixelKind = mAtlas->getPixelKind();
        return 0;
    }
    mTexture.reset();
    if (device() == nullptr)
        return ERROR_FAILED;
    if (getSource() == SOURCE_BLANK)
    {
        if (ErrorCode code = createBlank())
            return code;
        return setPixelKind();
    }

    LockedRect locked;
    ErrorCode code = getSource() == SOURCE_PIXELS ? loadFromPixels(locked) : loadFromImage(locked);
    if (code != 0)
    {
        // Whatever the load made is given back before the error goes up.
        if (mTexture != nullptr && locked.bits != nullptr)
            mTexture->unlockRect(0);
        mTexture.reset();
        return code;
    }

    // Level 0 is locked here. Row steps are the pitch in whole texels.
    auto* texels = static_cast<uint32_t*>(locked.bits);
    size_t rowStep = static_cast<size_t>(locked.pitch) / 4;
    uint32_t width = std::min(mWidth, mTextureWidth);
    uint32_t height = std::min(mHeight, mTextureHeight);
    // 1. The border repeated once into the rest of the surface.
    if (mTextureWidth > width && width > 0)
    {
        for (uint32_t y = 0; y < height; ++y)
            texels[y * rowStep + width] = texels[y * rowStep + width - 1];
    }
    if (mTextureHeight > height && height > 0)
    {
        uint32_t count = width + (mTextureWidth > width ? 1 : 0);
        std::memcpy(texels + height * rowStep, texels + (height - 1) * rowStep, count * 4);
    }
    // 2. Negative, then alpha from brightness, over the whole surface.
    if (mFlags & FLAG_NEGATIVE)
    {
        for (uint32_t y = 0; y < mTextureHeight; ++y)
            for (uint32_t x = 0; x < mTextureWidth; ++x)
                texels[y * rowStep + x] ^= 0x00FFFFFFu;
    }
    if (mFlags & FLAG_ALPHA_FROM_BRIGHTNESS)
    {
        for (uint32_t y = 0; y < mTextureHeight; ++y)
        {
            for (uint32_t x = 0; x < mTextureWidth; ++x)
            {
                uint32_t texel = texels[y * rowStep + x];
                uint32_t grey = (((texel >> 16) & 0xFF) + ((texel >> 8) & 0xFF) + (texel & 0xFF)) / 3;
                texels[y * rowStep + x] = (grey << 24) | 0x00FFFFFFu;
            }
        }
    }
    PlatformResult result = mTexture->unlockRect(0);
    if (resultFailed(result))
    {
        mTexture.reset();
        return reportD3DErrorAt(result, kSourceFile);
    }
    // Pictures and glyphs are written here only: the card's copy is enough.
    mTexture->releaseCopyAfterUpload();
    return setPixelKind();
}

ErrorCode TextureD3D::setPixelKind()
{
    switch (mTexture->format())
    {
    case FMT_A8R8G8B8:
        mPixelKind = PIXEL_KIND_A8R8G8B8;
        return 0;
    case FMT_X8R8G8B8:
        mPixelKind = PIXEL_KIND_X8R8G8B8;
        return 0;
    case FMT_A1R5G5B5:
        mPixelKind = PIXEL_KIND_A1R5G5B5;
        return 0;
    default:
        // The device made a layout no writer of texels knows.
        mTexture.reset();
        return ERROR_VIDEOCARDINCOMPATIBLE;
    }
}

ErrorCode TextureD3D::loadFromImage(LockedRect& locked)
{
    // 1. The image, decoded to B8G8R8A8.
    DecodedImagePtr image;
    if (getSource() == SOURCE_RESOURCE)
    {
        auto found = programImages().find(mResourceId);
        if (found == programImages().end() || found->second.empty())
            return ERROR_RESSOURCENOTFOUND;
        image = decodeBytes(found->second.data(), found->second.size());
    }
    else
    {
        std::unique_ptr<ByteBuffer> bytes;
        if (ErrorCode code = readDataFromArchives(mName, bytes))
            return code;
        if (bytes != nullptr)
            image = decodeBytes(bytes->data(), bytes->size());
        else
            image.reset(
                convertImage(openImageByName(mName.c_str(), IMAGE_FORMAT_AUTODETECT), PIXEL_FORMAT_B8G8R8A8));
    }
    if (image == nullptr || image->getWidth() <= 0 || image->getHeight() <= 0)
        return ERROR_FILENOTFOUND;

    // 2. Sizes, and the mip-map chain when asked for.
    mWidth = static_cast<uint32_t>(image->getWidth());
    mHeight = static_cast<uint32_t>(image->getHeight());
    mTextureWidth = powerOfTwo(mWidth);
    mTextureHeight = powerOfTwo(mHeight);
    uint32_t levels = 1;
    uint32_t usage = 0;
    if (mFlags & FLAG_MIPMAPS)
    {
        uint32_t log = log2Floor(std::max(mTextureWidth, mTextureHeight));
        levels = log > 3 ? log - 2 : 1;
        usage = USAGE_AUTOGENMIPMAP;
    }
    PlatformResult result = device()->createTexture(mTextureWidth, mTextureHeight, levels, usage,
                                                    FMT_A8R8G8B8, POOL_MANAGED, &mTexture);
    if (resultFailed(result))
        return reportD3DErrorAt(result, kSourceFile);
    result = mTexture->lockRect(0, &locked, LOCK_DISCARD);
    if (resultFailed(result))
    {
        locked.bits = nullptr;
        return reportD3DErrorAt(result, kSourceFile);
    }

    // 3. The rows, as they are (B, G, R, A in memory).
    const uint8_t* source = image->getPixels();
    for (uint32_t y = 0; y < mHeight; ++y)
        std::memcpy(static_cast<uint8_t*>(locked.bits) + size_t(y) * locked.pitch,
                    source + size_t(y) * mWidth * 4, size_t(mWidth) * 4);
    return 0;
}

ErrorCode TextureD3D::loadFromPixels(LockedRect& locked)
{
    if (mWidth == 0 || mHeight == 0)
        return ERROR_INVALID;
    mTextureWidth = powerOfTwo(mWidth);
    mTextureHeight = powerOfTwo(mHeight);
    const bool chain = (mFlags & FLAG_SINGLE_LEVEL) == 0;
    PlatformResult result = device()->createTexture(mTextureWidth, mTextureHeight, chain ? 0u : 1u,
                                                    chain ? uint32_t(USAGE_AUTOGENMIPMAP) : 0u, FMT_A8R8G8B8,
                                                    POOL_MANAGED, &mTexture);
    if (resultFailed(result))
        return reportD3DErrorAt(result, kSourceFile);
    result = mTexture->lockRect(0, &locked, 0);
    if (resultFailed(result))
    {
        locked.bits = nullptr;
        return reportD3DErrorAt(result, kSourceFile);
    }
    // Without pixels there is nothing to copy: the surface stays as made.
    const auto* source = static_cast<const uint8_t*>(mPixels);
    if (source == nullptr)
        return 0;
    auto row = [&](uint32_t y)
    { return reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.bits) + size_t(y) * locked.pitch); };
    if (mFlags & FLAG_PIXELS_ALPHA8)
    {
        // The colour's red, green and blue under the byte as alpha.
        for (uint32_t y = 0; y < mHeight; ++y)
        {
            uint32_t* target = row(y);
            for (uint32_t x = 0; x < mWidth; ++x)
                target[x] = uint32_t(source[size_t(y) * mWidth + x]) << 24 | (mParam & 0x00FFFFFFu);
        }
    }
    else if (mFlags & FLAG_PIXELS_32BIT)
    {
        for (uint32_t y = 0; y < mHeight; ++y)
            std::memcpy(row(y), source + size_t(y) * mWidth * 4, size_t(mWidth) * 4);
    }
    else if (mFlags & FLAG_PIXELS_24BIT)
    {
        // Blue, green, red in memory; the alpha is the colour's.
        for (uint32_t y = 0; y < mHeight; ++y)
        {
            uint32_t* target = row(y);
            const uint8_t* pixel = source + size_t(y) * mWidth * 3;
            for (uint32_t x = 0; x < mWidth; ++x, pixel += 3)
                target[x] =
                    (mParam & 0xFF000000u) | uint32_t(pixel[2]) << 16 | uint32_t(pixel[1]) << 8 | pixel[0];
        }
    }
    return 0;
}

ErrorCode TextureD3D::createBlank()
{
    mTextureWidth = mWidth;
    mTextureHeight = mHeight;
    mDiscardOnLock = false;
    bool target = (mFlags & FLAG_RENDER_TARGET) != 0;
    PlatformResult result =
        device()->createTexture(mWidth, mHeight, 1, target ? uint32_t(USAGE_RENDERTARGET) : 0u, FMT_X8R8G8B8,
                                target ? uint32_t(POOL_DEFAULT) : uint32_t(POOL_MANAGED), &mTexture);
    if (resultFailed(result))
    {
        mTexture.reset();
        return reportD3DErrorAt(result, kSourceFile);
    }
    return 0;
}

ErrorCode TextureD3D::doUnload()
{
    if (mAtlas != nullptr)
        return mAtlas->unload();
    mTexture.reset();
    return 0;
}

ErrorCode TextureD3D::onLostDevice()
{
    if (mLoadCount < 1 || mTexture == nullptr)
        return 0;
    SurfaceDesc desc;
    PlatformResult result = mTexture->getLevelDesc(0, &desc);
    if (resultFailed(result))
        return reportD3DErrorAt(result, kSourceFile);
    return desc.pool == POOL_DEFAULT ? doUnload() : 0;
}

ErrorCode TextureD3D::onResetDevice()
{
    // A region's atlas is in the engine's list and comes back by itself.
    if (mLoadCount >= 1 && mTexture == nullptr && mAtlas == nullptr)
        return doLoad();
    return 0;
}
