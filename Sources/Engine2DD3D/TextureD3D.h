#pragma once
// The program's only texture class: one device texture whose pixels come
// from an image file (through the file lookup), an image of the program's
// own image table, pixels the caller holds, or nothing (a blank surface or
// render target that something draws into later). Images are decoded to
// B8G8R8A8 and copied into a texture whose sides are rounded up to powers of
// two; the last column and row are repeated once into the unused rest, so
// that filtering at the border reads the border's colour.
//
// Made only through Engine2DD3D's factories; it joins the engine's texture
// list so that it can be dropped and made again around a device reset.
//
// A region texture owns no device texture: it draws a rectangle of another
// TextureD3D (the atlas), which it holds a reference to and keeps loaded
// while it is loaded itself. Its pixels cannot be locked.
#include "Engine/Texture.h"
#include "Platform/Gpu/Device.h"

#include <cstdint>
#include <memory>
#include <span>

class Engine2DD3D;

class TextureD3D final : public Texture
{
public:
    TextureD3D(Engine2DD3D& engine, const std::string& name, uint16_t flags);
    TextureD3D(Engine2DD3D& engine, uint32_t resourceId, uint16_t flags);
    TextureD3D(Engine2DD3D& engine, uint32_t width, uint32_t height, const void* pixels, uint16_t flags,
               uint32_t color);
    TextureD3D(Engine2DD3D& engine, uint32_t width, uint32_t height, uint16_t flags);
    // The rectangle of atlas, which must lie on it.
    TextureD3D(Engine2DD3D& engine, TextureD3D& atlas, const ResourceRect& rect);
    ~TextureD3D() override;

    ErrorCode lock(void** bits, int32_t* pitch) override;
    ErrorCode unlock() override;
    bool isCreated() const override { return getD3DTexture() != nullptr; }
    ErrorCode doLoad() override;
    ErrorCode doUnload() override;
    // Textures the device does not keep across a reset (render targets) are
    // dropped, and made again (empty) by onResetDevice.
    ErrorCode onLostDevice() override;
    ErrorCode onResetDevice() override;

    Platform::Gpu::Texture* getD3DTexture() const
    {
        return mAtlas != nullptr ? mAtlas->getD3DTexture() : mTexture.get();
    }
    bool isRegion() const { return mAtlas != nullptr; }
    // Locks then pass the discard flag (a video writes whole frames).
    void setDiscardOnLock(bool discard) { mDiscardOnLock = discard; }

    // The images built into the program, found by id (a resource source).
    // The bytes must stay valid for the program's life.
    static void registerProgramImage(uint32_t resourceId, std::span<const uint8_t> bytes);
    static void clearProgramImages();

    // The smallest power of two not below the value (1 for 0 and 1).
    static uint32_t powerOfTwo(uint32_t value);

private:
    void onListGone() override { mEngine = nullptr; }
    Platform::Gpu::Device* device() const;
    ErrorCode loadFromImage(Platform::Gpu::LockedRect& locked);
    ErrorCode loadFromPixels(Platform::Gpu::LockedRect& locked);
    ErrorCode createBlank();
    ErrorCode setPixelKind();

    Engine2DD3D* mEngine;
    std::unique_ptr<Platform::Gpu::Texture> mTexture;
    // A region's atlas (one reference held), else null.
    TextureD3D* mAtlas = nullptr;
    bool mDiscardOnLock = false;
};
