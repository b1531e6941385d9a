#include "GameDataFiles.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>
#include <png.h>

namespace GameData
{

std::string dataFolder()
{
    return VELMORIQUE_DATA_DIR;
}

ResourceArchive* archive()
{
    static std::unique_ptr<ResourceArchive> mounted = []
    {
        auto a = std::make_unique<ResourceArchive>();
        if (a->open(dataFolder() + "/Ressources.dat") != ERROR_OK)
            a.reset();
        return a;
    }();
    return mounted.get();
}

std::unique_ptr<ByteBuffer> readRessource(const std::string& gamePath)
{
    ResourceArchive* a = archive();
    return a ? a->readFile(gamePath) : nullptr;
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

bool decodeJpeg(jpeg_decompress_struct& info, JpegError& error, const ByteBuffer& bytes,
                std::vector<uint8_t>& rgb, int& width, int& height)
{
    if (setjmp(error.jump) != 0)
        return false;
    jpeg_mem_src(&info, bytes.data(), bytes.size());
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    width = static_cast<int>(info.output_width);
    height = static_cast<int>(info.output_height);
    rgb.resize(static_cast<size_t>(width) * height * 3);
    while (info.output_scanline < info.output_height)
    {
        JSAMPROW row = rgb.data() + static_cast<size_t>(info.output_scanline) * width * 3;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return true;
}
} // namespace

std::optional<Raster::Canvas> decodePicture(const ByteBuffer& bytes)
{
    if (bytes.size() >= 8 && png_sig_cmp(bytes.data(), 0, 8) == 0)
    {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
            return std::nullopt;
        image.format = PNG_FORMAT_RGBA;
        std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
        if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr))
        {
            png_image_free(&image);
            return std::nullopt;
        }
        Raster::Canvas canvas(static_cast<int>(image.width), static_cast<int>(image.height));
        for (int y = 0; y < canvas.height(); ++y)
            for (int x = 0; x < canvas.width(); ++x)
            {
                const uint8_t* p = &pixels[(static_cast<size_t>(y) * canvas.width() + x) * 4];
                canvas.set(x, y, {p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f, p[3] / 255.0f});
            }
        return canvas;
    }
    if (bytes.size() >= 3 && bytes.data()[0] == 0xFF && bytes.data()[1] == 0xD8)
    {
        jpeg_decompress_struct info{};
        JpegError error{};
        info.err = jpeg_std_error(&error.manager);
        error.manager.error_exit = jpegErrorExit;
        jpeg_create_decompress(&info);
        std::vector<uint8_t> rgb;
        int width = 0, height = 0;
        bool ok = decodeJpeg(info, error, bytes, rgb, width, height);
        jpeg_destroy_decompress(&info);
        if (!ok)
            return std::nullopt;
        Raster::Canvas canvas(width, height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
            {
                const uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
                canvas.set(x, y, {p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f, 1});
            }
        return canvas;
    }
    return std::nullopt;
}

std::optional<BitmapFontFile> BitmapFontFile::parse(const uint8_t* bytes, size_t size, std::string& reason)
{
    size_t position = 0;
    auto word = [&](uint32_t& value)
    {
        if (size - position < 4)
            return false;
        value = bytes[position] | bytes[position + 1] << 8 | bytes[position + 2] << 16 |
                static_cast<uint32_t>(bytes[position + 3]) << 24;
        position += 4;
        return true;
    };
    BitmapFontFile font;
    uint32_t tableSize = 0, count = 0;
    if (!word(tableSize) || !word(font.lineSpacing) || !word(font.letterSpacing) || !word(count) ||
        !word(font.height))
    {
        reason = "short header";
        return std::nullopt;
    }
    if (tableSize != 256)
    {
        reason = "table size is not 256";
        return std::nullopt;
    }
    for (uint32_t i = 0; i < count; ++i)
    {
        uint32_t code = 0, width = 0;
        if (!word(code) || !word(width))
        {
            reason = "glyph record " + std::to_string(i) + " is cut short";
            return std::nullopt;
        }
        if (code >= 256)
        {
            reason = "glyph code " + std::to_string(code) + " is not below 256";
            return std::nullopt;
        }
        uint64_t bytesNeeded = static_cast<uint64_t>(width) * font.height;
        if (bytesNeeded > size - position)
        {
            reason = "glyph " + std::to_string(code) + " has fewer bytes than its size";
            return std::nullopt;
        }
        Glyph& glyph = font.glyphs[code];
        glyph.present = true;
        glyph.width = width;
        glyph.pixels.assign(bytes + position, bytes + position + bytesNeeded);
        position += bytesNeeded;
    }
    return font;
}

int BitmapFontFile::measure(const std::string& text) const
{
    int width = 0;
    for (unsigned char c : text)
    {
        const Glyph& g = glyphs[c].present ? glyphs[c] : glyphs[0];
        width += static_cast<int>(g.width + letterSpacing);
    }
    return width;
}

int BitmapFontFile::draw(Raster::Canvas& canvas, int x, int y, const std::string& text,
                         Raster::Color color) const
{
    int pen = x;
    for (unsigned char c : text)
    {
        const Glyph& g = glyphs[c].present ? glyphs[c] : glyphs[0];
        for (uint32_t row = 0; row < height; ++row)
            for (uint32_t col = 0; col < g.width; ++col)
            {
                uint8_t a = g.pixels[row * g.width + col];
                if (a)
                    canvas.blend(pen + static_cast<int>(col), y + static_cast<int>(row), color, a / 255.0f);
            }
        pen += static_cast<int>(g.width + letterSpacing);
    }
    return pen - x;
}

} // namespace GameData
