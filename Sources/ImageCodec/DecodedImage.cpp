#include "ImageCodec/DecodedImage.h"

#include <new>

size_t checkedImageBytes(int64_t width, int64_t height, uint32_t bytesPerPixel)
{
    if (width < 1 || height < 1 || width > kMaxImageSide || height > kMaxImageSide || bytesPerPixel == 0 ||
        bytesPerPixel > 4)
        return 0;
    // At most 8192 x 8192 x 4 = 2^28: no overflow in size_t.
    return static_cast<size_t>(width) * static_cast<size_t>(height) * bytesPerPixel;
}

ImageBuffer* ImageBuffer::create(int32_t width, int32_t height, ImagePixelFormat format, bool zeroFill)
{
    const size_t bytes = checkedImageBytes(width, height, getPixelFormatBytes(format));
    if (bytes == 0)
        return nullptr;
    std::unique_ptr<uint8_t[]> pixels(zeroFill ? new (std::nothrow) uint8_t[bytes]()
                                               : new (std::nothrow) uint8_t[bytes]);
    if (!pixels)
        return nullptr;
    return new (std::nothrow) ImageBuffer(width, height, format, std::move(pixels));
}

size_t ImageBuffer::rowBytes() const
{
    return static_cast<size_t>(mWidth) * getPixelFormatBytes(mFormat);
}

size_t ImageBuffer::pixelBytes() const
{
    return rowBytes() * static_cast<size_t>(mHeight);
}

bool ImageBuffer::allocatePalette(int32_t entries, ImagePixelFormat format)
{
    if (entries < 1 || entries > 256 || !isDirectPixelFormat(format))
        return false;
    mPalette.reset(new (std::nothrow) uint8_t[static_cast<size_t>(entries) * getPixelFormatBytes(format)]());
    if (!mPalette)
        return false;
    mPaletteSize = entries;
    mPaletteFormat = format;
    return true;
}

void ImageBuffer::replacePalette(std::unique_ptr<uint8_t[]> palette, ImagePixelFormat format)
{
    mPalette = std::move(palette);
    mPaletteFormat = format;
}
