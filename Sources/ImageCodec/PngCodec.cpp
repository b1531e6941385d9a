// PNG through libpng. libpng reports errors by calling back into us; the
// callback jumps back to the setjmp in decode()/encode(). Those functions keep
// everything they allocate in a state struct outside their frame, hold no
// object with a destructor, and the caller frees the state either way.
#include "ImageCodec/ImageCodecs.h"
#include "ImageCodec/ImageLibrary.h"

#include <png.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace
{
void pngError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void pngWarning(png_structp, png_const_charp) {}

void pngRead(png_structp png, png_bytep data, png_size_t length)
{
    auto* file = static_cast<ImageFile*>(png_get_io_ptr(png));
    if (file->read(data, length) != length)
        png_error(png, "Read error");
}

void pngWrite(png_structp png, png_bytep data, png_size_t length)
{
    auto* file = static_cast<ImageFile*>(png_get_io_ptr(png));
    if (file->write(data, length) != length)
        png_error(png, "Write error");
}

void pngFlush(png_structp) {}

struct PngState
{
    png_structp png = nullptr;
    png_infop info = nullptr;
    ImageBuffer* image = nullptr;
    png_bytep* rows = nullptr;
    DecodedImage* source = nullptr;

    ~PngState()
    {
        delete[] rows;
        if (image != nullptr)
            image->destroy();
    }
};

void setRows(PngState& state, uint8_t* pixels, size_t rowBytes, int32_t height)
{
    for (int32_t y = 0; y < height; ++y)
        state.rows[y] = pixels + static_cast<size_t>(y) * rowBytes;
}

// 256 entries of R, G, B: the grey ramp, replaced by PLTE entries present.
void colourTable(png_structp png, png_infop info, uint8_t (&table)[256][3])
{
    for (int i = 0; i < 256; ++i)
        table[i][0] = table[i][1] = table[i][2] = static_cast<uint8_t>(i);
    png_colorp plte = nullptr;
    int count = 0;
    if (png_get_PLTE(png, info, &plte, &count) != 0 && plte != nullptr)
    {
        for (int i = 0; i < count && i < 256; ++i)
        {
            table[i][0] = plte[i].red;
            table[i][1] = plte[i].green;
            table[i][2] = plte[i].blue;
        }
    }
}

bool decode(PngState& state, ImageFile& file)
{
    if (setjmp(png_jmpbuf(state.png)))
        return false;
    png_set_read_fn(state.png, &file, pngRead);
    png_set_sig_bytes(state.png, 8);
    png_set_user_limits(state.png, kMaxImageSide, kMaxImageSide);
    png_read_info(state.png, state.info);

    png_set_strip_16(state.png);
    png_set_expand(state.png);
    png_set_interlace_handling(state.png);
    png_read_update_info(state.png, state.info);
    if (png_get_bit_depth(state.png, state.info) != 8)
        return false;
    const int32_t width = static_cast<int32_t>(png_get_image_width(state.png, state.info));
    const int32_t height = static_cast<int32_t>(png_get_image_height(state.png, state.info));
    const int channels = png_get_channels(state.png, state.info);
    ImagePixelFormat format;
    switch (channels)
    {
    case 1:
        format = PIXEL_FORMAT_I8;
        break;
    case 3:
        format = PIXEL_FORMAT_R8G8B8;
        break;
    case 2:
    case 4:
        format = PIXEL_FORMAT_R8G8B8A8;
        break;
    default:
        return false;
    }
    if (png_get_rowbytes(state.png, state.info) != static_cast<size_t>(width) * static_cast<size_t>(channels))
        return false;

    // Grey and alpha is read into the right half of each RGBA row and spread
    // out in place, left to right, once the image is complete.
    state.image = ImageBuffer::create(width, height, format, false);
    state.rows = new (std::nothrow) png_bytep[static_cast<size_t>(height)];
    if (state.image == nullptr || state.rows == nullptr)
        return false;
    const size_t rowBytes = state.image->rowBytes();
    setRows(state, state.image->getPixels(), rowBytes, height);
    if (channels == 2)
    {
        for (int32_t y = 0; y < height; ++y)
            state.rows[y] += rowBytes / 2;
    }
    png_read_image(state.png, state.rows);
    png_read_end(state.png, nullptr);

    uint8_t table[256][3];
    colourTable(state.png, state.info, table);
    if (channels == 2)
    {
        for (int32_t y = 0; y < height; ++y)
        {
            uint8_t* row = state.image->getPixels() + static_cast<size_t>(y) * rowBytes;
            const uint8_t* grey = row + rowBytes / 2;
            for (int32_t x = 0; x < width; ++x)
            {
                const uint8_t value = grey[2 * x];
                const uint8_t alpha = grey[2 * x + 1];
                std::memcpy(row + 4 * x, table[value], 3);
                row[4 * x + 3] = alpha;
            }
        }
    }
    else if (channels == 1)
    {
        if (!state.image->allocatePalette(256, PIXEL_FORMAT_R8G8B8A8))
            return false;
        uint8_t* palette = state.image->getPalette();
        for (int i = 0; i < 256; ++i)
        {
            std::memcpy(palette + 4 * i, table[i], 3);
            palette[4 * i + 3] = 255;
        }
        png_bytep alpha = nullptr;
        int count = 0;
        png_color_16p grey = nullptr;
        if (png_get_tRNS(state.png, state.info, &alpha, &count, &grey) != 0)
        {
            // A palette's tRNS lists entries in order; a grey image's names one
            // grey value.
            if (alpha != nullptr)
            {
                for (int i = 0; i < count && i < 256; ++i)
                    palette[4 * i + 3] = 0;
            }
            else if (grey != nullptr && grey->gray < 256)
            {
                palette[4 * grey->gray + 3] = 0;
            }
        }
    }
    return true;
}

bool encode(PngState& state, ImageFile& file)
{
    if (setjmp(png_jmpbuf(state.png)))
        return false;
    png_set_write_fn(state.png, &file, pngWrite, pngFlush);
    const int32_t width = state.source->getWidth();
    const int32_t height = state.source->getHeight();
    png_set_IHDR(state.png, state.info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    state.rows = new (std::nothrow) png_bytep[static_cast<size_t>(height)];
    if (state.rows == nullptr)
        return false;
    setRows(state, state.source->getPixels(), static_cast<size_t>(width) * 4, height);
    png_write_info(state.png, state.info);
    png_write_image(state.png, state.rows);
    png_write_end(state.png, state.info);
    return true;
}
} // namespace

namespace
{
uint32_t u32BigEndianAt(const uint8_t* p)
{
    return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
           (static_cast<uint32_t>(p[2]) << 8) | static_cast<uint32_t>(p[3]);
}

// Deflate never stands for more than this many bytes per compressed byte.
constexpr uint64_t kMostInflation = 1032;
// Rows this short cost nothing worth refusing, whatever the data.
constexpr uint64_t kFreeRowBytes = 64 * 1024;

// Walks the chunks after the signature and checks that the compressed pixel
// data could fill the rows the header declares, before libpng or the reader
// allocates for them. Damage of any other kind is left for libpng to report;
// the file is put back where it was.
bool dataCouldFillImage(ImageFile& file)
{
    const int64_t start = file.tell();
    auto scan = [&]
    {
        uint64_t rowBytes = 0;
        uint64_t compressed = 0;
        uint8_t chunk[8];
        while (ImageCodecs::readExact(file, chunk, sizeof chunk))
        {
            const uint32_t length = u32BigEndianAt(chunk);
            if (std::memcmp(chunk + 4, "IHDR", 4) == 0 && length >= 13)
            {
                uint8_t header[13];
                if (!ImageCodecs::readExact(file, header, sizeof header) ||
                    !file.seek(int64_t{length} - 13 + 4, 1))
                    break;
                const uint64_t width = u32BigEndianAt(header);
                const uint64_t height = u32BigEndianAt(header + 4);
                if (width > kMaxImageSide || height > kMaxImageSide)
                    return false;
                // Samples per pixel by colour type: grey, -, RGB, palette,
                // grey and alpha, -, RGBA.
                static const uint8_t kSamples[7] = {1, 0, 3, 1, 2, 0, 4};
                const uint64_t bits = header[9] < 7 ? uint64_t{kSamples[header[9]]} * header[8] : 0;
                rowBytes = height * (1 + (width * bits + 7) / 8);
                continue;
            }
            if (std::memcmp(chunk + 4, "IDAT", 4) == 0)
                compressed += length;
            if (std::memcmp(chunk + 4, "IEND", 4) == 0 ||
                ImageCodecs::bytesLeft(file) < int64_t{length} + 4 || !file.seek(int64_t{length} + 4, 1))
                break;
        }
        return rowBytes <= std::max(compressed * kMostInflation, kFreeRowBytes);
    };
    const bool ok = scan();
    return file.seek(start, 0) && ok;
}
} // namespace

DecodedImage* ImageCodecs::readPng(ImageFile& file)
{
    uint8_t signature[8];
    if (!readExact(file, signature, sizeof signature) || png_sig_cmp(signature, 0, sizeof signature) != 0)
        return nullptr;
    if (!dataCouldFillImage(file))
        return nullptr;
    PngState state;
    state.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, pngError, pngWarning);
    if (state.png == nullptr)
        return nullptr;
    state.info = png_create_info_struct(state.png);
    const bool ok = state.info != nullptr && decode(state, file);
    png_destroy_read_struct(&state.png, state.info != nullptr ? &state.info : nullptr, nullptr);
    if (!ok)
        return nullptr;
    DecodedImage* image = state.image;
    state.image = nullptr;
    return image;
}

bool ImageCodecs::writePng(ImageFile& file, DecodedImage& image)
{
    DecodedImagePtr rgba(cloneImage(&image, PIXEL_FORMAT_R8G8B8A8));
    if (!rgba)
        return false;
    PngState state;
    state.source = rgba.get();
    state.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, pngError, pngWarning);
    if (state.png == nullptr)
        return false;
    state.info = png_create_info_struct(state.png);
    const bool ok = state.info != nullptr && encode(state, file);
    png_destroy_write_struct(&state.png, state.info != nullptr ? &state.info : nullptr);
    return ok;
}
