// Uncompressed true-colour TGA, 24 and 32 bits.
#include "ImageCodec/ImageCodecs.h"
#include "ImageCodec/ImageLibrary.h"

#include <cstring>
#include <vector>

namespace
{
constexpr uint8_t kTypeTrueColour = 2;
constexpr uint8_t kRightToLeft = 0x10;
constexpr uint8_t kTopDown = 0x20;
} // namespace

DecodedImage* ImageCodecs::readTga(ImageFile& file)
{
    uint8_t header[18];
    if (!readExact(file, header, sizeof header))
        return nullptr;
    Platform::ByteReader fields(header);
    const uint8_t idLength = header[0];
    const uint8_t colourMapType = header[1];
    const uint8_t imageType = header[2];
    const uint16_t colourMapLength = fields.u16At(5);
    const uint8_t colourMapEntryBits = header[7];
    const int32_t width = fields.u16At(12);
    const int32_t height = fields.u16At(14);
    const uint8_t bits = header[16];
    const uint8_t descriptor = header[17];
    if (imageType != kTypeTrueColour || (bits != 24 && bits != 32))
        return nullptr;

    // The id field and any colour map lie between the header and the pixels.
    uint8_t skipped[255];
    if (!readExact(file, skipped, idLength))
        return nullptr;
    if (colourMapType != 0)
    {
        const int64_t mapBytes = int64_t{(colourMapEntryBits + 7) / 8} * colourMapLength;
        const int64_t left = bytesLeft(file);
        if (left < mapBytes || !file.seek(mapBytes, 1))
            return nullptr;
    }

    const ImagePixelFormat format = bits == 24 ? PIXEL_FORMAT_B8G8R8 : PIXEL_FORMAT_B8G8R8A8;
    const size_t bytes = checkedImageBytes(width, height, getPixelFormatBytes(format));
    if (bytes == 0 || bytesLeft(file) < static_cast<int64_t>(bytes))
        return nullptr;
    ImageBufferPtr image(ImageBuffer::create(width, height, format));
    if (!image || !readExact(file, image->getPixels(), bytes))
        return nullptr;

    uint32_t axes = 0;
    if (descriptor & kRightToLeft)
        axes |= FLIP_HORIZONTAL;
    if (!(descriptor & kTopDown))
        axes |= FLIP_VERTICAL;
    flipImage(image.get(), axes);
    return image.release();
}

bool ImageCodecs::writeTga(ImageFile& file, DecodedImage& image)
{
    DecodedImagePtr bgra(cloneImage(&image, PIXEL_FORMAT_B8G8R8A8));
    if (!bgra || bgra->getWidth() > 0xFFFF || bgra->getHeight() > 0xFFFF)
        return false;
    uint8_t header[18] = {};
    header[2] = kTypeTrueColour;
    header[12] = static_cast<uint8_t>(bgra->getWidth());
    header[13] = static_cast<uint8_t>(bgra->getWidth() >> 8);
    header[14] = static_cast<uint8_t>(bgra->getHeight());
    header[15] = static_cast<uint8_t>(bgra->getHeight() >> 8);
    header[16] = 32;
    // Eight alpha bits, rows stored top first.
    header[17] = kTopDown | 8;
    const size_t bytes = static_cast<size_t>(bgra->getWidth()) * static_cast<size_t>(bgra->getHeight()) * 4;
    return file.write(header, sizeof header) == sizeof header &&
           file.write(bgra->getPixels(), bytes) == bytes;
}
