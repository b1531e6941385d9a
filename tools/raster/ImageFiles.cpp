// PNG and JPEG files of the generators, written straight through libpng and
// libjpeg: the generators run before the game's own libraries are needed and
// must stay independent of them.
#include "raster/Canvas.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>
#include <memory>
#include <png.h>

namespace Raster
{

namespace
{
struct FileCloser
{
    void operator()(FILE* file) const
    {
        if (file)
            std::fclose(file);
    }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

// Written to a temporary name and renamed, so an interrupted build never
// leaves a half picture that looks up to date.
bool finish(FilePtr& file, const std::string& temporary, const std::string& path, bool ok)
{
    if (std::fclose(file.release()) != 0)
        ok = false;
    if (ok && std::rename(temporary.c_str(), path.c_str()) != 0)
        ok = false;
    if (!ok)
    {
        std::remove(temporary.c_str());
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
    }
    return ok;
}
} // namespace

namespace
{
// setjmp lives alone in these two functions, so no local changes after it.
bool encodePng(png_structp png, png_infop info, FILE* file, const Canvas& canvas,
               const std::vector<uint8_t>& rgba)
{
    if (setjmp(png_jmpbuf(png)) != 0)
        return false;
    png_init_io(png, file);
    png_set_IHDR(png, info, canvas.width(), canvas.height(), 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 6);
    png_write_info(png, info);
    for (int y = 0; y < canvas.height(); ++y)
        png_write_row(png, rgba.data() + static_cast<size_t>(y) * canvas.width() * 4);
    png_write_end(png, nullptr);
    return true;
}
} // namespace

bool writePng(const Canvas& canvas, const std::string& path)
{
    std::string temporary = path + ".part";
    FilePtr file(std::fopen(temporary.c_str(), "wb"));
    if (!file)
    {
        std::fprintf(stderr, "cannot create %s\n", path.c_str());
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    std::vector<uint8_t> rgba = canvas.toRgba8();
    bool ok = png && info && encodePng(png, info, file.get(), canvas, rgba);
    png_destroy_write_struct(&png, &info);
    return finish(file, temporary, path, ok);
}

namespace
{
struct JpegError
{
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};
void jpegErrorExit(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}

bool encodeJpeg(jpeg_compress_struct& info, JpegError& error, FILE* file, const Canvas& canvas,
                std::vector<uint8_t>& rgb, int quality)
{
    if (setjmp(error.jump) != 0)
        return false;
    jpeg_stdio_dest(&info, file);
    info.image_width = canvas.width();
    info.image_height = canvas.height();
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height)
    {
        JSAMPROW row = rgb.data() + static_cast<size_t>(info.next_scanline) * canvas.width() * 3;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    return true;
}

} // namespace

bool writeJpeg(const Canvas& canvas, const std::string& path, int quality)
{
    std::string temporary = path + ".part";
    FilePtr file(std::fopen(temporary.c_str(), "wb"));
    if (!file)
    {
        std::fprintf(stderr, "cannot create %s\n", path.c_str());
        return false;
    }
    std::vector<uint8_t> rgb = canvas.toRgb8({0, 0, 0, 1});
    jpeg_compress_struct info{};
    JpegError error{};
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = jpegErrorExit;
    jpeg_create_compress(&info);
    bool ok = encodeJpeg(info, error, file.get(), canvas, rgb, quality);
    jpeg_destroy_compress(&info);
    return finish(file, temporary, path, ok);
}

} // namespace Raster
