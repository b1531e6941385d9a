#pragma once
// A decoded image: packed rows, top to bottom, width x bytes-per-pixel each,
// and for I8 images the palette the indices select from. Images are made by
// the image layer and released with destroy(); DecodedImagePtr does that.
#include "ImageCodec/ImageFormats.h"
#include "Platform/Gpu/TextureLimits.h"

#include <cstddef>
#include <cstdint>
#include <memory>

// Sides above this are refused by every reader and by createImage, before
// anything is allocated: an image larger than the device's largest texture
// could never be shown.
constexpr int32_t kMaxImageSide = static_cast<int32_t>(Platform::Gpu::MAX_TEXTURE_SIDE);

class DecodedImage
{
public:
    DecodedImage() = default;
    DecodedImage(const DecodedImage&) = delete;
    DecodedImage& operator=(const DecodedImage&) = delete;

    virtual void destroy() = 0;
    virtual int32_t getWidth() const = 0;
    virtual int32_t getHeight() const = 0;
    virtual ImagePixelFormat getFormat() const = 0;
    virtual uint8_t* getPixels() = 0;
    virtual uint8_t* getPalette() = 0;
    virtual int32_t getPaletteSize() const = 0;
    virtual ImagePixelFormat getPaletteFormat() const = 0;

protected:
    virtual ~DecodedImage() = default;
};

struct DecodedImageDeleter
{
    void operator()(DecodedImage* image) const
    {
        if (image != nullptr)
            image->destroy();
    }
};
using DecodedImagePtr = std::unique_ptr<DecodedImage, DecodedImageDeleter>;

// Bytes of a width x height image of bytesPerPixel, or 0 when a side is not in
// 1..kMaxImageSide or bytesPerPixel is 0.
size_t checkedImageBytes(int64_t width, int64_t height, uint32_t bytesPerPixel);

// The layer's one image class.
class ImageBuffer final : public DecodedImage
{
public:
    // A zero-filled image, or null when the size is refused or memory is
    // short. The format only fixes the bytes per pixel; callers of the layer
    // get direct formats or I8 only. Decoders that write every byte before
    // handing the image out skip the fill: a file that claims a huge image and
    // then fails costs no more than its address space.
    static ImageBuffer* create(int32_t width, int32_t height, ImagePixelFormat format, bool zeroFill = true);

    void destroy() override { delete this; }
    int32_t getWidth() const override { return mWidth; }
    int32_t getHeight() const override { return mHeight; }
    ImagePixelFormat getFormat() const override { return mFormat; }
    uint8_t* getPixels() override { return mPixels.get(); }
    uint8_t* getPalette() override { return mPalette.get(); }
    int32_t getPaletteSize() const override { return mPaletteSize; }
    ImagePixelFormat getPaletteFormat() const override { return mPaletteFormat; }

    size_t pixelBytes() const;
    size_t rowBytes() const;
    // A zeroed palette of entries in a direct format; false when refused.
    bool allocatePalette(int32_t entries, ImagePixelFormat format);
    // Swaps in another palette (same entry count) after a format change.
    void replacePalette(std::unique_ptr<uint8_t[]> palette, ImagePixelFormat format);

private:
    ImageBuffer(int32_t width, int32_t height, ImagePixelFormat format, std::unique_ptr<uint8_t[]> pixels)
        : mWidth(width), mHeight(height), mFormat(format), mPixels(std::move(pixels))
    {
    }
    ~ImageBuffer() override = default;

    int32_t mWidth;
    int32_t mHeight;
    ImagePixelFormat mFormat;
    std::unique_ptr<uint8_t[]> mPixels;
    std::unique_ptr<uint8_t[]> mPalette;
    int32_t mPaletteSize = 0;
    ImagePixelFormat mPaletteFormat = PIXEL_FORMAT_DONT_CARE;
};

struct ImageBufferDeleter
{
    void operator()(ImageBuffer* image) const
    {
        if (image != nullptr)
            image->destroy();
    }
};
using ImageBufferPtr = std::unique_ptr<ImageBuffer, ImageBufferDeleter>;
