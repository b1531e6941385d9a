// 8-bit PCX: one plane of palette indices with the 256-colour palette at the
// end of the file, or three planes of red, green and blue.
#include "ImageCodec/ImageCodecs.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace
{
constexpr uint8_t kManufacturer = 0x0A;
constexpr size_t kPaletteBytes = 768;

// Decodes one scanline of length bytes from data[position..size); false when
// the data ends first. A run longer than the space left is cut.
bool decodeScanline(const uint8_t* data, size_t size, size_t& position, uint8_t* line, size_t length)
{
    size_t filled = 0;
    while (filled < length)
    {
        if (position >= size)
            return false;
        const uint8_t byte = data[position++];
        if ((byte & 0xC0) == 0xC0)
        {
            if (position >= size)
                return false;
            const uint8_t value = data[position++];
            const size_t count = std::min<size_t>(byte & 0x3F, length - filled);
            std::memset(line + filled, value, count);
            filled += count;
        }
        else
        {
            line[filled++] = byte;
        }
    }
    return true;
}
} // namespace

DecodedImage* ImageCodecs::readPcx(ImageFile& file)
{
    uint8_t header[128];
    if (!readExact(file, header, sizeof header))
        return nullptr;
    // The manufacturer byte is not part of the decoding, but without it other
    // formats (a BMP whose size bytes happen to read 1, 8) would pass as PCX
    // during autodetection.
    if (header[0] != kManufacturer || header[2] != 1 || header[3] != 8)
        return nullptr;
    Platform::ByteReader fields(header);
    const int32_t width = int32_t{fields.u16At(8)} - int32_t{fields.u16At(4)} + 1;
    const int32_t height = int32_t{fields.u16At(10)} - int32_t{fields.u16At(6)} + 1;
    const uint8_t planes = header[65];
    const size_t bytesPerLine = fields.u16At(66);
    if (planes != 1 && planes != 3)
        return nullptr;
    // Lines shorter than the image would leave the pixels' source past the line.
    if (bytesPerLine < static_cast<size_t>(width))
        return nullptr;
    const ImagePixelFormat format = planes == 3 ? PIXEL_FORMAT_R8G8B8 : PIXEL_FORMAT_I8;
    if (checkedImageBytes(width, height, getPixelFormatBytes(format)) == 0)
        return nullptr;

    // The rest of the file is taken whole: its bytes are really there, and a
    // scanline needs at least one byte per 63 decoded bytes, which bounds the
    // image a short file can claim before anything large is allocated.
    const int64_t fileLeft = bytesLeft(file);
    const size_t lineBytes = planes * bytesPerLine;
    const uint64_t minimum = uint64_t{static_cast<uint32_t>(height)} * ((lineBytes + 62) / 63);
    if (fileLeft < 0 || static_cast<uint64_t>(fileLeft) < minimum)
        return nullptr;
    const size_t size = static_cast<size_t>(fileLeft);
    std::unique_ptr<uint8_t[]> data(new (std::nothrow) uint8_t[size + 1]);
    std::unique_ptr<uint8_t[]> line(new (std::nothrow) uint8_t[lineBytes]);
    if (!data || !line || !readExact(file, data.get(), size))
        return nullptr;

    ImageBufferPtr image(ImageBuffer::create(width, height, format));
    if (!image)
        return nullptr;
    size_t position = 0;
    uint8_t* out = image->getPixels();
    for (int32_t y = 0; y < height; ++y)
    {
        if (!decodeScanline(data.get(), size, position, line.get(), lineBytes))
            return nullptr;
        if (planes == 1)
        {
            std::memcpy(out, line.get(), static_cast<size_t>(width));
            out += width;
        }
        else
        {
            for (int32_t x = 0; x < width; ++x)
            {
                *out++ = line[static_cast<size_t>(x)];
                *out++ = line[bytesPerLine + static_cast<size_t>(x)];
                *out++ = line[2 * bytesPerLine + static_cast<size_t>(x)];
            }
        }
    }
    if (planes == 3)
        return image.release();

    // The palette is the last 768 bytes, after a 12 marker byte, and lies
    // past the pixels (else the file was cut short).
    if (size < position + kPaletteBytes + 1 || data[size - kPaletteBytes - 1] != 12)
        return nullptr;
    if (!image->allocatePalette(256, PIXEL_FORMAT_R8G8B8))
        return nullptr;
    std::memcpy(image->getPalette(), data.get() + size - kPaletteBytes, kPaletteBytes);
    return image.release();
}
