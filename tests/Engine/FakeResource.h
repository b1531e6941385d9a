#pragma once
// A resource whose device data is a block of memory, with counters of what
// the base asked of it and a switch that makes its load fail.
#include "Engine/Texture.h"

#include <vector>

class FakeResource final : public Texture
{
public:
    using Texture::Texture;

    ErrorCode lock(void** bits, int32_t* pitch) override
    {
        if (!mCreated)
            return 1;
        ++locks;
        *bits = texels.data();
        *pitch = static_cast<int32_t>(mTextureWidth * bytesPerTexel());
        return 0;
    }
    ErrorCode unlock() override
    {
        ++unlocks;
        return 0;
    }
    bool isCreated() const override { return mCreated; }
    ErrorCode doLoad() override
    {
        ++loads;
        if (failLoad)
            return failLoad;
        mCreated = true;
        if (mTextureWidth == 0)
        {
            mTextureWidth = mWidth;
            mTextureHeight = mHeight;
        }
        texels.assign(size_t(mTextureWidth) * mTextureHeight * bytesPerTexel(), 0);
        return 0;
    }
    ErrorCode doUnload() override
    {
        ++unloads;
        mCreated = false;
        return unloadCode;
    }
    ErrorCode onLostDevice() override { return 0; }
    ErrorCode onResetDevice() override { return 0; }
    ~FakeResource() override
    {
        if (destroyed)
            *destroyed = true;
    }

    void setSurface(uint32_t width, uint32_t height, uint32_t pixelKind)
    {
        mTextureWidth = width;
        mTextureHeight = height;
        mPixelKind = pixelKind;
    }
    uint32_t bytesPerTexel() const { return mPixelKind == PIXEL_KIND_A1R5G5B5 ? 2 : 4; }

    std::vector<uint8_t> texels;
    int loads = 0, unloads = 0, locks = 0, unlocks = 0;
    ErrorCode failLoad = 0;
    ErrorCode unloadCode = 0;
    bool* destroyed = nullptr;

private:
    bool mCreated = false;
};
