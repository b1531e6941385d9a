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

// The most pixels that count LZW codes can stand for: each code adds one
// entry to the table, one pixel longer at most than the longest before it,
// and no entry is longer than the table holds.
uint64_t mostPixelsOfCodes(uint64_t count)
{
    constexpr uint64_t kTableSize = 4096;
    if (count <= kTableSize)
        return count * (count + 1) / 2;
    return kTableSize * (kTableSize + 1) / 2 + (count - kTableSize) * kTableSize;
}

// A screen this small costs nothing worth refusing, whatever the data.
constexpr uint64_t kFreeScreenPixels = 1u << 20;

// Walks the blocks of the file and checks every size before giflib or the
// reader allocates for it (giflib would take any size up to 65535 x 65535):
// no side beyond the largest texture, no frame larger than its compressed
// data could fill, and no screen larger than its frames could paint. Damage
// of any other kind is left for giflib to report; the file is put back where
// it was.
bool framesWithinLimits(ImageFile& file)
{
    const int64_t start = file.tell();
    auto skip = [&](int64_t count) { return ImageCodecs::bytesLeft(file) >= count && file.seek(count, 1); };
    // The bytes of a run of sub-blocks, or -1 when the run is cut short.
    auto skipSubBlocks = [&]() -> int64_t
    {
        int64_t total = 0;
        uint8_t length = 0;
        while (ImageCodecs::readExact(file, &length, 1) && length != 0)
        {
            if (!skip(length))
                return -1;
            total += length;
        }
        return length == 0 ? total : -1;
    };
    auto scan = [&]
    {
        uint8_t screen[13];
        if (!ImageCodecs::readExact(file, screen, sizeof screen))
            return true;
        Platform::ByteReader screenFields(screen);
        const uint64_t screenWidth = screenFields.u16At(6);
        const uint64_t screenHeight = screenFields.u16At(8);
        if (screenWidth > kMaxImageSide || screenHeight > kMaxImageSide)
            return false;
        const uint64_t screenPixels = screenWidth * screenHeight;
        uint64_t paintable = 0;
        // Checked however the walk ends: giflib may read more than it.
        auto screenFits = [&] { return screenPixels <= std::max(paintable, kFreeScreenPixels); };
        if ((screen[10] & 0x80) != 0 && !skip(3 << ((screen[10] & 7) + 1)))
            return screenFits();
        uint8_t record = 0;
        while (ImageCodecs::readExact(file, &record, 1))
        {
            if (record == 0x21)
            {
                uint8_t label;
                if (!ImageCodecs::readExact(file, &label, 1) || skipSubBlocks() < 0)
                    return screenFits();
            }
            else if (record == 0x2C)
            {
                uint8_t desc[9];
                if (!ImageCodecs::readExact(file, desc, sizeof desc))
                    return screenFits();
                Platform::ByteReader descFields(desc);
                const uint64_t width = descFields.u16At(4);
                const uint64_t height = descFields.u16At(6);
                if (width > kMaxImageSide || height > kMaxImageSide)
                    return false;
                uint8_t codeSize;
                if (((desc[8] & 0x80) != 0 && !skip(3 << ((desc[8] & 7) + 1))) ||
                    !ImageCodecs::readExact(file, &codeSize, 1))
                    return screenFits();
                const int64_t dataBytes = skipSubBlocks();
                if (dataBytes < 0)
                    return screenFits();
                // Codes start one bit wider than the code size; a size out of
                // range is giflib's to refuse.
                const uint64_t codeBits = std::clamp<uint64_t>(codeSize + 1u, 2, 12);
                const uint64_t pixels = mostPixelsOfCodes(static_cast<uint64_t>(dataBytes) * 8 / codeBits);
                if (width * height > pixels)
                    return false;
                paintable += width * height;
            }
            else
            {
                break;
            }
        }
        return screenFits();
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
