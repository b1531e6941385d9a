// GIF through giflib: the first image of the file, placed on its logical
// screen, as palette indices.
#include "ImageCodec/ImageCodecs.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>

namespace
{
constexpr int kGraphicControl = 0xF9;

int gifRead(GifFileType* gif, GifByteType* buffer, int length)
{
    if (length <= 0)
        return 0;
    auto* file = static_cast<ImageFile*>(gif->UserData);
    return static_cast<int>(file->read(buffer, static_cast<size_t>(length)));
}

struct GifCloser
{
    void operator()(GifFileType* gif) const
    {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};

// Walks the blocks of the file and checks every image's size before giflib
// allocates a raster for it (it would take any size up to 65535 x 65535).
// Damage other than an oversized image is left for giflib to report; the
// file is put back where it was.
bool framesWithinLimits(ImageFile& file)
{
    const int64_t start = file.tell();
    auto skip = [&](int64_t count) { return ImageCodecs::bytesLeft(file) >= count && file.seek(count, 1); };
    auto skipSubBlocks = [&]
    {
        uint8_t length = 0;
        while (ImageCodecs::readExact(file, &length, 1) && length != 0)
        {
            if (!skip(length))
                return false;
        }
        return length == 0;
    };
    auto scan = [&]
    {
        uint8_t screen[13];
        if (!ImageCodecs::readExact(file, screen, sizeof screen))
            return true;
        if ((screen[10] & 0x80) != 0 && !skip(3 << ((screen[10] & 7) + 1)))
            return true;
        uint8_t record = 0;
        while (ImageCodecs::readExact(file, &record, 1))
        {
            if (record == 0x21)
            {
                uint8_t label;
                if (!ImageCodecs::readExact(file, &label, 1) || !skipSubBlocks())
                    return true;
            }
            else if (record == 0x2C)
            {
                uint8_t desc[9];
                if (!ImageCodecs::readExact(file, desc, sizeof desc))
                    return true;
                if (ImageCodecs::u16At(desc + 4) > kMaxImageSide ||
                    ImageCodecs::u16At(desc + 6) > kMaxImageSide)
                    return false;
                uint8_t codeSize;
                if (((desc[8] & 0x80) != 0 && !skip(3 << ((desc[8] & 7) + 1))) ||
                    !ImageCodecs::readExact(file, &codeSize, 1) || !skipSubBlocks())
                    return true;
            }
            else
            {
                return true;
            }
        }
        return true;
    };
    const bool ok = scan();
    return file.seek(start, 0) && ok;
}

// The transparent index of the last graphic-control block before the image
// that says it has one; -1 when none does.
int transparentIndex(const SavedImage& image)
{
    int index = -1;
    for (int i = 0; i < image.ExtensionBlockCount; ++i)
    {
        const ExtensionBlock& block = image.ExtensionBlocks[i];
        if (block.Function == kGraphicControl && block.ByteCount == 4 && (block.Bytes[0] & 1) != 0)
            index = block.Bytes[3];
    }
    return index;
}
} // namespace

DecodedImage* ImageCodecs::readGif(ImageFile& file)
{
    if (!framesWithinLimits(file))
        return nullptr;
    int error = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&file, gifRead, &error));
    // The slurp decodes every image and already puts interlaced rows in order.
    if (!gif || DGifSlurp(gif.get()) != GIF_OK)
        return nullptr;
    const ColorMapObject* colours = gif->SColorMap;
    if (colours == nullptr || colours->Colors == nullptr ||
        colours->ColorCount != (1 << colours->BitsPerPixel) || colours->ColorCount > 256 ||
        gif->ImageCount < 1 || gif->SavedImages == nullptr)
        return nullptr;
    const SavedImage& first = gif->SavedImages[0];
    if (first.RasterBits == nullptr)
        return nullptr;

    ImageBufferPtr image(ImageBuffer::create(gif->SWidth, gif->SHeight, PIXEL_FORMAT_I8));
    if (!image || !image->allocatePalette(256, PIXEL_FORMAT_R8G8B8A8))
        return nullptr;
    const int transparent = transparentIndex(first);
    uint8_t* palette = image->getPalette();
    for (int i = 0; i < colours->ColorCount; ++i)
    {
        palette[4 * i] = colours->Colors[i].Red;
        palette[4 * i + 1] = colours->Colors[i].Green;
        palette[4 * i + 2] = colours->Colors[i].Blue;
        palette[4 * i + 3] = i == transparent ? 0 : 255;
    }

    // The image may be smaller or larger than the screen and lie anywhere on
    // it: what it does not cover shows the transparent (else background)
    // index, what lies outside the screen is dropped.
    const uint8_t fill = static_cast<uint8_t>(transparent >= 0 ? transparent : gif->SBackGroundColor);
    const size_t screenWidth = static_cast<size_t>(gif->SWidth);
    const size_t screenHeight = static_cast<size_t>(gif->SHeight);
    std::memset(image->getPixels(), fill, image->pixelBytes());
    const GifImageDesc& desc = first.ImageDesc;
    if (desc.Left < 0 || desc.Top < 0 || desc.Width <= 0 || desc.Height <= 0)
        return image.release();
    const size_t left = static_cast<size_t>(desc.Left);
    const size_t top = static_cast<size_t>(desc.Top);
    const size_t width = static_cast<size_t>(desc.Width);
    const size_t height = static_cast<size_t>(desc.Height);
    if (left >= screenWidth || top >= screenHeight)
        return image.release();
    const size_t copyWidth = std::min(width, screenWidth - left);
    const size_t copyHeight = std::min(height, screenHeight - top);
    for (size_t y = 0; y < copyHeight; ++y)
        std::memcpy(image->getPixels() + (top + y) * screenWidth + left, first.RasterBits + y * width,
                    copyWidth);
    return image.release();
}
