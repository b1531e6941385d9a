#include "Platform/Gpu/PngWriter.h"

#include <png.h>

#include <cstdio>
#include <filesystem>
#include <vector>

namespace Platform::Gpu
{

namespace
{

// libpng reports errors by longjmp; nothing with a destructor may live
// between setjmp and the calls that can jump.
bool writeRows(FILE* file, uint32_t width, uint32_t height, const std::vector<png_bytep>& rows)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png)
    {
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png)))
    {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, const_cast<png_bytepp>(rows.data()));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

bool writePng(const std::string& path, uint32_t width, uint32_t height, const uint32_t* argb)
{
    if (width == 0 || height == 0 || !argb)
    {
        return false;
    }
    std::vector<uint8_t> rgb(size_t(width) * height * 3);
    for (size_t i = 0; i < size_t(width) * height; ++i)
    {
        rgb[i * 3 + 0] = uint8_t(argb[i] >> 16);
        rgb[i * 3 + 1] = uint8_t(argb[i] >> 8);
        rgb[i * 3 + 2] = uint8_t(argb[i]);
    }
    std::vector<png_bytep> rows(height);
    for (uint32_t y = 0; y < height; ++y)
    {
        rows[y] = rgb.data() + size_t(y) * width * 3;
    }
    std::string temporary = path + ".tmp";
    FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file)
    {
        return false;
    }
    bool written = writeRows(file, width, height, rows);
    written = (std::fclose(file) == 0) && written;
    std::error_code error;
    if (written)
    {
        std::filesystem::rename(temporary, path, error);
    }
    if (!written || error)
    {
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

} // namespace Platform::Gpu
