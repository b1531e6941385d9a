#include "ImageFixtures.h"

#include <gif_lib.h>
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

namespace ImageFixtures
{
namespace
{
void put16(Bytes& out, uint32_t value)
{
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void put32(Bytes& out, uint32_t value)
{
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

[[noreturn]] void fixtureFailed(const char* what)
{
    std::fprintf(stderr, "fixture encoder failed: %s\n", what);
    std::abort();
}

void pngWrite(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void pngFlush(png_structp) {}

void pngFail(png_structp, png_const_charp message)
{
    fixtureFailed(message);
}

int channelsOf(int colourType)
{
    switch (colourType)
    {
    case PNG_COLOR_TYPE_GRAY:
    case PNG_COLOR_TYPE_PALETTE:
        return 1;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        return 2;
    case PNG_COLOR_TYPE_RGB:
        return 3;
    default:
        return 4;
    }
}

int gifWrite(GifFileType* gif, const GifByteType* data, int length)
{
    auto* out = static_cast<Bytes*>(gif->UserData);
    out->insert(out->end(), data, data + length);
    return length;
}

ColorMapObject* makeColourMap(const Bytes& colours)
{
    const int count = static_cast<int>(colours.size() / 3);
    std::vector<GifColorType> entries(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        entries[static_cast<size_t>(i)] = {colours[3 * i], colours[3 * i + 1], colours[3 * i + 2]};
    return GifMakeMapObject(count, entries.data());
}

void pcxScanline(Bytes& out, const uint8_t* line, size_t length)
{
    size_t i = 0;
    while (i < length)
    {
        size_t run = 1;
        while (i + run < length && run < 63 && line[i + run] == line[i])
            ++run;
        if (run > 1 || (line[i] & 0xC0) == 0xC0)
        {
            out.push_back(static_cast<uint8_t>(0xC0 | run));
            out.push_back(line[i]);
        }
        else
        {
            out.push_back(line[i]);
        }
        i += run;
    }
}
} // namespace

Bytes pattern(int width, int height, int channels, unsigned seed)
{
    Bytes out(static_cast<size_t>(width) * static_cast<size_t>(height) * static_cast<size_t>(channels));
    unsigned state = seed * 2654435761u + 12345u;
    for (size_t i = 0; i < out.size(); ++i)
    {
        state = state * 1103515245u + 12345u;
        out[i] = static_cast<uint8_t>(state >> 16);
    }
    return out;
}

Bytes encodePng(int width, int height, const Bytes& samples, const PngOptions& options)
{
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, pngFail, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, pngWrite, pngFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height),
                 options.bitDepth, options.colourType,
                 options.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (size_t i = 0; i + 2 < options.palette.size(); i += 3)
        palette.push_back({options.palette[i], options.palette[i + 1], options.palette[i + 2]});
    if (!palette.empty())
        png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    png_color_16 grey{};
    if (!options.transparency.empty())
        png_set_tRNS(png, info, options.transparency.data(), static_cast<int>(options.transparency.size()),
                     nullptr);
    else if (options.transparentGrey >= 0)
    {
        grey.gray = static_cast<png_uint_16>(options.transparentGrey);
        png_set_tRNS(png, info, nullptr, 0, &grey);
    }
    const size_t rowBytes =
        (static_cast<size_t>(width) * static_cast<size_t>(channelsOf(options.colourType)) * options.bitDepth +
         7) /
        8;
    if (samples.size() != rowBytes * static_cast<size_t>(height))
        fixtureFailed("png sample count");
    std::vector<png_bytep> rows(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
        rows[static_cast<size_t>(y)] =
            const_cast<png_bytep>(samples.data()) + static_cast<size_t>(y) * rowBytes;
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

Bytes encodeJpeg(int width, int height, int components, const Bytes& samples, int quality, bool progressive)
{
    jpeg_compress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = components;
    info.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 3 ? JCS_RGB : JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    if (progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    const size_t rowBytes = static_cast<size_t>(width) * static_cast<size_t>(components);
    while (info.next_scanline < info.image_height)
    {
        JSAMPROW row = const_cast<JSAMPROW>(samples.data()) + info.next_scanline * rowBytes;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

Bytes encodeGif(int screenWidth, int screenHeight, const Bytes& colours, int background,
                const std::vector<GifImage>& images)
{
    Bytes out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, gifWrite, &error);
    if (gif == nullptr)
        fixtureFailed("gif open");
    EGifSetGifVersion(gif, true);
    ColorMapObject* global = colours.empty() ? nullptr : makeColourMap(colours);
    if (EGifPutScreenDesc(gif, screenWidth, screenHeight, 8, background, global) != GIF_OK)
        fixtureFailed("gif screen");
    GifFreeMapObject(global);
    // Without a global map each image brings a local one.
    const Bytes localColours = {0, 0, 0, 255, 255, 255};
    for (const GifImage& image : images)
    {
        if (image.transparent >= 0)
        {
            const uint8_t control[4] = {1, 0, 0, static_cast<uint8_t>(image.transparent)};
            EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, control);
        }
        ColorMapObject* local = colours.empty() ? makeColourMap(localColours) : nullptr;
        if (EGifPutImageDesc(gif, image.left, image.top, image.width, image.height, image.interlaced,
                             local) != GIF_OK)
            fixtureFailed("gif image");
        GifFreeMapObject(local);
        std::vector<int> order;
        if (image.interlaced)
        {
            const int starts[4] = {0, 4, 2, 1};
            const int steps[4] = {8, 8, 4, 2};
            for (int pass = 0; pass < 4; ++pass)
                for (int y = starts[pass]; y < image.height; y += steps[pass])
                    order.push_back(y);
        }
        else
        {
            for (int y = 0; y < image.height; ++y)
                order.push_back(y);
        }
        for (int y : order)
        {
            Bytes row(image.raster.begin() + y * image.width, image.raster.begin() + (y + 1) * image.width);
            if (EGifPutLine(gif, row.data(), image.width) != GIF_OK)
                fixtureFailed("gif line");
        }
    }
    if (EGifCloseFile(gif, &error) != GIF_OK)
        fixtureFailed("gif close");
    return out;
}

Bytes bmpRows(int width, int height, int bits, const Bytes& packedTopDownRows)
{
    const size_t packed = (static_cast<size_t>(width) * static_cast<size_t>(bits) + 7) / 8;
    const size_t pitch = (packed + 3) / 4 * 4;
    Bytes out(pitch * static_cast<size_t>(height), 0);
    for (int y = 0; y < height; ++y)
        std::memcpy(out.data() + static_cast<size_t>(height - 1 - y) * pitch,
                    packedTopDownRows.data() + static_cast<size_t>(y) * packed, packed);
    return out;
}

Bytes encodeBmp(int width, int height, const Bytes& pixelData, const BmpOptions& options)
{
    const bool os2 = options.headerSize < 40;
    const bool masksAfterHeader = options.compression == 3 && options.headerSize < 52;
    const uint32_t offset = 14 + options.headerSize + static_cast<uint32_t>(options.palette.size()) +
                            (masksAfterHeader ? 12u : 0u);
    Bytes out = {'B', 'M'};
    put32(out, offset + static_cast<uint32_t>(pixelData.size()));
    put32(out, 0);
    put32(out, offset);
    const size_t headerStart = out.size();
    put32(out, options.headerSize);
    if (os2)
    {
        put16(out, static_cast<uint32_t>(width));
        put16(out, static_cast<uint32_t>(height));
        put16(out, 1);
        put16(out, options.bits);
    }
    else
    {
        put32(out, static_cast<uint32_t>(width));
        put32(out, static_cast<uint32_t>(options.topDown ? -height : height));
        put16(out, 1);
        put16(out, options.bits);
        put32(out, options.compression);
        put32(out, static_cast<uint32_t>(pixelData.size()));
        put32(out, 2835);
        put32(out, 2835);
        put32(out, options.coloursUsed);
        put32(out, 0);
        if (options.headerSize >= 52)
            for (uint32_t mask : options.masks)
                put32(out, mask);
    }
    out.resize(headerStart + options.headerSize, 0);
    out.insert(out.end(), options.palette.begin(), options.palette.end());
    if (masksAfterHeader)
        for (uint32_t mask : options.masks)
            put32(out, mask);
    if (out.size() != offset)
        fixtureFailed("bmp layout");
    out.insert(out.end(), pixelData.begin(), pixelData.end());
    return out;
}

Bytes encodeTga(int width, int height, int bits, uint8_t descriptor, const Bytes& pixels, int idLength,
                int colourMapLength)
{
    const size_t mapBytes = static_cast<size_t>(colourMapLength) * 3;
    Bytes out(18 + static_cast<size_t>(idLength) + mapBytes + pixels.size(), 0);
    out[0] = static_cast<uint8_t>(idLength);
    out[1] = colourMapLength > 0 ? 1 : 0;
    out[2] = 2;
    out[5] = static_cast<uint8_t>(colourMapLength);
    out[6] = static_cast<uint8_t>(colourMapLength >> 8);
    out[7] = colourMapLength > 0 ? 24 : 0;
    out[12] = static_cast<uint8_t>(width);
    out[13] = static_cast<uint8_t>(width >> 8);
    out[14] = static_cast<uint8_t>(height);
    out[15] = static_cast<uint8_t>(height >> 8);
    out[16] = static_cast<uint8_t>(bits);
    out[17] = descriptor;
    uint8_t* cursor = out.data() + 18;
    std::memset(cursor, 'x', static_cast<size_t>(idLength));
    cursor += idLength;
    std::memset(cursor, 0x55, mapBytes);
    cursor += mapBytes;
    if (!pixels.empty())
        std::memcpy(cursor, pixels.data(), pixels.size());
    return out;
}

Bytes encodePcx(int width, int height, int planes, int bytesPerLine, const Bytes& planeRows,
                const Bytes& palette)
{
    Bytes out(128, 0);
    out[0] = 0x0A;
    out[1] = 5;
    out[2] = 1;
    out[3] = 8;
    out[8] = static_cast<uint8_t>(width - 1);
    out[9] = static_cast<uint8_t>((width - 1) >> 8);
    out[10] = static_cast<uint8_t>(height - 1);
    out[11] = static_cast<uint8_t>((height - 1) >> 8);
    out[65] = static_cast<uint8_t>(planes);
    out[66] = static_cast<uint8_t>(bytesPerLine);
    out[67] = static_cast<uint8_t>(bytesPerLine >> 8);
    out[68] = 1;
    const size_t line = static_cast<size_t>(planes) * static_cast<size_t>(bytesPerLine);
    for (int y = 0; y < height; ++y)
        pcxScanline(out, planeRows.data() + static_cast<size_t>(y) * line, line);
    if (planes == 1)
    {
        out.push_back(12);
        out.insert(out.end(), palette.begin(), palette.end());
    }
    return out;
}

std::vector<NamedFixture> allFixtures()
{
    std::vector<NamedFixture> fixtures;
    auto add = [&](const char* name, uint32_t format, Bytes bytes) {
        fixtures.push_back({name, format, std::move(bytes)});
    };

    add("png_rgba", IMAGE_FORMAT_PNG, encodePng(9, 7, pattern(9, 7, 4)));
    PngOptions rgb;
    rgb.colourType = PNG_COLOR_TYPE_RGB;
    add("png_rgb", IMAGE_FORMAT_PNG, encodePng(9, 7, pattern(9, 7, 3), rgb));
    PngOptions grey;
    grey.colourType = PNG_COLOR_TYPE_GRAY;
    add("png_grey", IMAGE_FORMAT_PNG, encodePng(9, 7, pattern(9, 7, 1), grey));
    PngOptions greyAlpha;
    greyAlpha.colourType = PNG_COLOR_TYPE_GRAY_ALPHA;
    add("png_grey_alpha", IMAGE_FORMAT_PNG, encodePng(9, 7, pattern(9, 7, 2), greyAlpha));
    PngOptions indexed;
    indexed.colourType = PNG_COLOR_TYPE_PALETTE;
    indexed.palette = pattern(16, 1, 3, 7);
    indexed.transparency = {0, 128};
    Bytes indices = pattern(9, 7, 1);
    for (uint8_t& index : indices)
        index &= 15;
    add("png_palette", IMAGE_FORMAT_PNG, encodePng(9, 7, indices, indexed));
    PngOptions interlaced;
    interlaced.interlaced = true;
    add("png_interlaced", IMAGE_FORMAT_PNG, encodePng(17, 11, pattern(17, 11, 4), interlaced));
    PngOptions deep;
    deep.bitDepth = 16;
    deep.colourType = PNG_COLOR_TYPE_RGB;
    add("png_16bit", IMAGE_FORMAT_PNG, encodePng(5, 4, pattern(5, 4, 6), deep));

    add("jpeg_rgb", IMAGE_FORMAT_JPEG, encodeJpeg(16, 8, 3, pattern(16, 8, 3), 50));
    add("jpeg_grey", IMAGE_FORMAT_JPEG, encodeJpeg(16, 8, 1, pattern(16, 8, 1), 50));
    add("jpeg_progressive", IMAGE_FORMAT_JPEG, encodeJpeg(16, 16, 3, pattern(16, 16, 3), 50, true));

    const Bytes colours = pattern(16, 1, 3, 3);
    GifImage whole{0, 0, 10, 9, false, pattern(10, 9, 1), 3};
    for (uint8_t& index : whole.raster)
        index &= 15;
    add("gif_basic", IMAGE_FORMAT_GIF, encodeGif(10, 9, colours, 0, {whole}));
    GifImage interlacedImage = whole;
    interlacedImage.interlaced = true;
    add("gif_interlaced", IMAGE_FORMAT_GIF, encodeGif(10, 9, colours, 0, {interlacedImage}));
    GifImage inner{3, 2, 4, 3, false, Bytes(12, 5), -1};
    add("gif_subscreen", IMAGE_FORMAT_GIF, encodeGif(10, 9, colours, 2, {inner, whole}));

    const Bytes palette16 = ImageFixtures::palette16();
    Bytes palette2 = {10, 20, 30, 0, 200, 210, 220, 0};
    BmpOptions mono{.headerSize = 40, .bits = 1, .palette = palette2};
    add("bmp_1", IMAGE_FORMAT_BMP, encodeBmp(13, 5, bmpRows(13, 5, 1, pattern(2, 5, 1)), mono));
    BmpOptions four{.headerSize = 40, .bits = 4, .palette = palette16};
    add("bmp_4", IMAGE_FORMAT_BMP, encodeBmp(7, 5, bmpRows(7, 5, 4, pattern(4, 5, 1)), four));
    BmpOptions eight{.headerSize = 40, .bits = 8, .palette = palette16, .coloursUsed = 16};
    Bytes small = pattern(7, 5, 1);
    for (uint8_t& index : small)
        index &= 15;
    add("bmp_8", IMAGE_FORMAT_BMP, encodeBmp(7, 5, bmpRows(7, 5, 8, small), eight));
    add("bmp_16", IMAGE_FORMAT_BMP, encodeBmp(5, 3, bmpRows(5, 3, 16, pattern(5, 3, 2)), {.bits = 16}));
    add("bmp_24", IMAGE_FORMAT_BMP, encodeBmp(5, 3, bmpRows(5, 3, 24, pattern(5, 3, 3)), {.bits = 24}));
    add("bmp_32", IMAGE_FORMAT_BMP, encodeBmp(5, 3, bmpRows(5, 3, 32, pattern(5, 3, 4)), {.bits = 32}));
    BmpOptions fields565{.headerSize = 40, .bits = 16, .compression = 3, .masks = {0xF800, 0x07E0, 0x001F}};
    add("bmp_565", IMAGE_FORMAT_BMP, encodeBmp(5, 3, bmpRows(5, 3, 16, pattern(5, 3, 2)), fields565));
    BmpOptions v5{.headerSize = 124, .bits = 32, .compression = 3, .masks = {0xFF00, 0xFF0000, 0xFF000000}};
    add("bmp_v5", IMAGE_FORMAT_BMP, encodeBmp(5, 3, bmpRows(5, 3, 32, pattern(5, 3, 4)), v5));
    BmpOptions os2{.headerSize = 12, .bits = 8, .palette = pattern(256, 1, 3, 5)};
    add("bmp_os2", IMAGE_FORMAT_BMP, encodeBmp(6, 4, bmpRows(6, 4, 8, pattern(6, 4, 1)), os2));
    BmpOptions topDown{.bits = 24, .topDown = true};
    add("bmp_topdown", IMAGE_FORMAT_BMP, encodeBmp(5, 3, bmpRows(5, 3, 24, pattern(5, 3, 3)), topDown));
    const Bytes rle8 = {3, 5, 0, 4, 1, 2, 3, 4, 1, 9, 0, 0, 0, 2, 3, 1, 5, 7, 0, 0, 10, 6, 0, 1};
    BmpOptions rle8Options{.bits = 8, .compression = 1, .palette = palette16, .coloursUsed = 16};
    add("bmp_rle8", IMAGE_FORMAT_BMP, encodeBmp(8, 4, rle8, rle8Options));
    const Bytes rle4 = {4, 0x12, 0, 3, 0x34, 0x50, 0, 0, 0, 6, 0xAB, 0xCD, 0xEF, 0x00, 0, 0, 0, 1};
    BmpOptions rle4Options{.bits = 4, .compression = 2, .palette = palette16};
    add("bmp_rle4", IMAGE_FORMAT_BMP, encodeBmp(6, 2, rle4, rle4Options));

    add("tga_24", IMAGE_FORMAT_TGA, encodeTga(5, 3, 24, 0x00, pattern(5, 3, 3)));
    add("tga_32_topdown", IMAGE_FORMAT_TGA, encodeTga(5, 3, 32, 0x28, pattern(5, 3, 4)));
    add("tga_mirrored", IMAGE_FORMAT_TGA, encodeTga(5, 3, 24, 0x30, pattern(5, 3, 3), 4, 2));

    const Bytes pcxPalette = pattern(256, 1, 3, 9);
    Bytes pcxIndices = pattern(8, 5, 1);
    for (size_t i = 0; i < 8; ++i)
        pcxIndices[i] = 0xC7; // a run, and literals that must be escaped
    add("pcx_1", IMAGE_FORMAT_PCX, encodePcx(7, 5, 1, 8, pcxIndices, pcxPalette));
    add("pcx_3", IMAGE_FORMAT_PCX, encodePcx(5, 3, 3, 6, pattern(18, 3, 1)));
    return fixtures;
}

DecodedImagePtr decode(const Bytes& bytes, uint32_t format)
{
    ImageFilePtr file(createMemoryImageFile(bytes.data(), static_cast<int64_t>(bytes.size())));
    return DecodedImagePtr(openImageFromFile(file.get(), format));
}

Bytes pixelsOf(DecodedImage& image)
{
    const size_t size = static_cast<size_t>(image.getWidth()) * static_cast<size_t>(image.getHeight()) *
                        getPixelFormatBytes(image.getFormat());
    return Bytes(image.getPixels(), image.getPixels() + size);
}

Bytes palette16()
{
    Bytes palette;
    for (int i = 0; i < 16; ++i)
        palette.insert(palette.end(), {uint8_t(i * 3), uint8_t(i * 5), uint8_t(i * 7), 0});
    return palette;
}
} // namespace ImageFixtures
