// Windows and OS/2 bitmaps: 1, 4 and 8 bits with a palette (also run-length
// encoded at 4 and 8 bits), 16 and 32 bits with channel masks, 24 bits.
#include "ImageCodec/ImageCodecs.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>
#include <new>

namespace
{
constexpr uint32_t kRgb = 0;
constexpr uint32_t kRle8 = 1;
constexpr uint32_t kRle4 = 2;
constexpr uint32_t kBitFields = 3;
// The largest header in use (BITMAPV5HEADER); longer ones are skipped over.
constexpr uint32_t kLargestHeader = 124;

// One colour channel of a 16- or 32-bit pixel, scaled to 8 bits by the width
// of its mask: narrow masks shift up, wide ones shift down, an empty mask
// gives 0.
struct Channel
{
    uint32_t mask = 0;
    int shift = 0;
    int width = 0;

    explicit Channel(uint32_t m) : mask(m)
    {
        if (m != 0)
        {
            shift = std::countr_zero(m);
            width = 32 - std::countl_zero(m) - shift;
        }
    }
    uint8_t extract(uint32_t pixel) const
    {
        uint32_t value = (pixel & mask) >> shift;
        value = width > 8 ? value >> (width - 8) : value << (8 - width);
        return static_cast<uint8_t>(value);
    }
};

struct BmpLayout
{
    int32_t width;
    int32_t height;
    bool topDown;
    uint32_t bits;
    uint32_t compression;
};

size_t imageRow(const BmpLayout& layout, size_t storedRow)
{
    return layout.topDown ? storedRow : static_cast<size_t>(layout.height) - 1 - storedRow;
}

// Run-length data as Windows writes it. Runs and deltas are clipped to the
// image; decoding ends at the end-of-bitmap escape, past the last row, or when
// a run would read past the data.
void decodeRle(const uint8_t* data, size_t size, const BmpLayout& layout, ImageBuffer& image, bool fourBits)
{
    const size_t width = static_cast<size_t>(layout.width);
    const size_t height = static_cast<size_t>(layout.height);
    uint8_t* pixels = image.getPixels();
    size_t x = 0;
    size_t y = 0;
    size_t pos = 0;
    auto put = [&](size_t count, auto pixelAt)
    {
        uint8_t* row = pixels + imageRow(layout, y) * width;
        for (size_t i = 0; i < count; ++i)
        {
            if (x + i < width)
                row[x + i] = pixelAt(i);
        }
        x = std::min(x + count, width);
    };
    while (y < height && pos + 2 <= size)
    {
        const uint8_t count = data[pos];
        const uint8_t value = data[pos + 1];
        pos += 2;
        if (count != 0)
        {
            if (fourBits)
                put(count, [&](size_t i) { return static_cast<uint8_t>(i & 1 ? value & 0x0F : value >> 4); });
            else
                put(count, [&](size_t) { return value; });
            continue;
        }
        switch (value)
        {
        case 0:
            x = 0;
            ++y;
            break;
        case 1:
            return;
        case 2:
            if (pos + 2 > size)
                return;
            x = std::min(x + data[pos], width);
            y += data[pos + 1];
            pos += 2;
            break;
        default:
        {
            const size_t used = fourBits ? (value + 1u) / 2 : value;
            const size_t padded = fourBits ? ((value + 3u) / 4) * 2 : (value + 1u) & ~size_t{1};
            if (pos + used > size)
                return;
            const uint8_t* run = data + pos;
            if (fourBits)
                put(value, [&](size_t i)
                    { return static_cast<uint8_t>(i & 1 ? run[i / 2] & 0x0F : run[i / 2] >> 4); });
            else
                put(value, [&](size_t i) { return run[i]; });
            pos += padded;
            break;
        }
        }
    }
}

void decodeIndexed(const uint8_t* data, size_t pitch, const BmpLayout& layout, ImageBuffer& image)
{
    const size_t width = static_cast<size_t>(layout.width);
    const uint32_t bits = layout.bits;
    const uint32_t perByte = 8 / bits;
    const uint8_t mask = static_cast<uint8_t>((1u << bits) - 1);
    for (size_t row = 0; row < static_cast<size_t>(layout.height); ++row)
    {
        const uint8_t* in = data + row * pitch;
        uint8_t* out = image.getPixels() + imageRow(layout, row) * width;
        for (size_t x = 0; x < width; ++x)
        {
            // Leftmost pixel in the most significant bits.
            const uint32_t shift = 8 - bits * (x % perByte + 1);
            out[x] = static_cast<uint8_t>((in[x / perByte] >> shift) & mask);
        }
    }
}

void decodeMasked(const uint8_t* data, size_t pitch, const BmpLayout& layout, ImageBuffer& image,
                  const Channel (&channels)[3])
{
    const size_t width = static_cast<size_t>(layout.width);
    const size_t pixelBytes = layout.bits / 8;
    for (size_t row = 0; row < static_cast<size_t>(layout.height); ++row)
    {
        Platform::ByteReader in(data + row * pitch, pitch);
        uint8_t* out = image.getPixels() + imageRow(layout, row) * width * 3;
        for (size_t x = 0; x < width; ++x, out += 3)
        {
            const uint32_t pixel = pixelBytes == 2 ? in.u16() : in.u32();
            out[0] = channels[0].extract(pixel);
            out[1] = channels[1].extract(pixel);
            out[2] = channels[2].extract(pixel);
        }
    }
}

bool supported(uint32_t bits, uint32_t compression)
{
    switch (bits)
    {
    case 1:
    case 24:
        return compression == kRgb;
    case 4:
        return compression == kRgb || compression == kRle4;
    case 8:
        return compression == kRgb || compression == kRle8;
    case 16:
    case 32:
        return compression == kRgb || compression == kBitFields;
    default:
        return false;
    }
}
} // namespace

DecodedImage* ImageCodecs::readBmp(ImageFile& file)
{
    // 1. File header: "BM", the offset of the pixels.
    uint8_t fileHeader[14];
    if (!readExact(file, fileHeader, sizeof fileHeader) || fileHeader[0] != 'B' || fileHeader[1] != 'M')
        return nullptr;
    const uint32_t dataOffset = Platform::ByteReader(fileHeader).u32At(10);

    // 2. Info header: OS/2 (12 to 39 bytes) or Windows (40 and more, the
    //    later versions adding masks and colour-space fields).
    uint8_t info[kLargestHeader] = {};
    if (!readExact(file, info, 4))
        return nullptr;
    Platform::ByteReader infoFields(info);
    const uint32_t headerSize = infoFields.u32At(0);
    if (headerSize < 12)
        return nullptr;
    const uint32_t headerRead = std::min(headerSize, kLargestHeader);
    if (!readExact(file, info + 4, headerRead - 4))
        return nullptr;
    if (headerSize > headerRead)
    {
        const int64_t rest = headerSize - headerRead;
        if (bytesLeft(file) < rest || !file.seek(rest, 1))
            return nullptr;
    }
    const bool os2 = headerSize < 40;
    BmpLayout layout{};
    int64_t height;
    uint32_t planes;
    uint32_t imageSize = 0;
    uint32_t coloursUsed = 0;
    if (os2)
    {
        layout.width = infoFields.u16At(4);
        height = infoFields.u16At(6);
        planes = infoFields.u16At(8);
        layout.bits = infoFields.u16At(10);
        layout.compression = kRgb;
    }
    else
    {
        layout.width = static_cast<int32_t>(infoFields.u32At(4));
        height = static_cast<int32_t>(infoFields.u32At(8));
        planes = infoFields.u16At(12);
        layout.bits = infoFields.u16At(14);
        layout.compression = infoFields.u32At(16);
        imageSize = infoFields.u32At(20);
        coloursUsed = infoFields.u32At(32);
    }
    // A negative height stores the rows top first.
    layout.topDown = height < 0;
    height = height < 0 ? -height : height;
    if (planes != 1 || !supported(layout.bits, layout.compression))
        return nullptr;
    const bool indexed = layout.bits <= 8;
    if (checkedImageBytes(layout.width, height, indexed ? 1 : 3) == 0)
        return nullptr;
    layout.height = static_cast<int32_t>(height);

    // 3. Size of the pixel data.
    const bool rle = layout.compression == kRle4 || layout.compression == kRle8;
    const size_t pitch =
        ((static_cast<size_t>(layout.bits) * static_cast<size_t>(layout.width) + 31) / 32) * 4;
    const size_t dataSize = rle ? imageSize : pitch * static_cast<size_t>(layout.height);

    // 4. Palette or channel masks.
    uint8_t palette[256 * 3] = {};
    Channel channels[3] = {Channel(0), Channel(0), Channel(0)};
    if (indexed)
    {
        uint32_t entries = 1u << layout.bits;
        if (!os2 && coloursUsed != 0 && coloursUsed < entries)
            entries = coloursUsed;
        const size_t entryBytes = os2 ? 3 : 4;
        uint8_t raw[256 * 4];
        if (!readExact(file, raw, entries * entryBytes))
            return nullptr;
        for (size_t i = 0; i < entries; ++i)
            std::memcpy(palette + i * 3, raw + i * entryBytes, 3);
    }
    else if (layout.compression == kBitFields)
    {
        // Headers of 52 bytes and more hold the masks; after the 40-byte
        // header they follow it.
        uint8_t masks[12];
        if (headerSize >= 52)
            std::memcpy(masks, info + 40, sizeof masks);
        else if (!readExact(file, masks, sizeof masks))
            return nullptr;
        Platform::ByteReader maskFields(masks);
        for (Channel& channel : channels)
            channel = Channel(maskFields.u32());
    }
    else if (layout.bits == 16)
    {
        channels[0] = Channel(0x7C00);
        channels[1] = Channel(0x03E0);
        channels[2] = Channel(0x001F);
    }
    else if (layout.bits == 32)
    {
        channels[0] = Channel(0xFF0000);
        channels[1] = Channel(0x00FF00);
        channels[2] = Channel(0x0000FF);
    }

    // 5. The pixel data, read whole once it is known to be there.
    if (!file.seek(dataOffset, 0))
        return nullptr;
    const int64_t left = bytesLeft(file);
    if (left < 0 || static_cast<uint64_t>(left) < dataSize)
        return nullptr;
    std::unique_ptr<uint8_t[]> data(new (std::nothrow) uint8_t[dataSize + 1]);
    if (!data || !readExact(file, data.get(), dataSize))
        return nullptr;

    // 6. Decode.
    ImageBufferPtr image(ImageBuffer::create(layout.width, layout.height,
                                             indexed             ? PIXEL_FORMAT_I8
                                             : layout.bits == 24 ? PIXEL_FORMAT_B8G8R8
                                                                 : PIXEL_FORMAT_R8G8B8));
    if (!image)
        return nullptr;
    if (indexed)
    {
        if (!image->allocatePalette(256, PIXEL_FORMAT_B8G8R8))
            return nullptr;
        std::memcpy(image->getPalette(), palette, sizeof palette);
        if (rle)
            decodeRle(data.get(), dataSize, layout, *image, layout.compression == kRle4);
        else
            decodeIndexed(data.get(), pitch, layout, *image);
    }
    else if (layout.bits == 24)
    {
        const size_t rowBytes = image->rowBytes();
        for (size_t row = 0; row < static_cast<size_t>(layout.height); ++row)
            std::memcpy(image->getPixels() + imageRow(layout, row) * rowBytes, data.get() + row * pitch,
                        rowBytes);
    }
    else
    {
        decodeMasked(data.get(), pitch, layout, *image, channels);
    }
    return image.release();
}
