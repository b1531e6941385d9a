#include "GameDataFiles.h"

#include "ImageCodec/ImageLibrary.h"

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

std::optional<Raster::Canvas> decodePicture(const ByteBuffer& bytes)
{
    // Through the game's own image layer, as the texture loader reads them.
    ImageFilePtr file(createMemoryImageFile(bytes.data(), bytes.size()));
    if (!file)
        return std::nullopt;
    DecodedImagePtr image(openImageFromFile(file.get(), IMAGE_FORMAT_AUTODETECT));
    if (!image)
        return std::nullopt;
    image.reset(convertImage(image.release(), PIXEL_FORMAT_R8G8B8A8));
    if (!image)
        return std::nullopt;
    Raster::Canvas canvas(image->getWidth(), image->getHeight());
    const uint8_t* pixels = image->getPixels();
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
        {
            const uint8_t* p = &pixels[(static_cast<size_t>(y) * canvas.width() + x) * 4];
            canvas.set(x, y, {p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f, p[3] / 255.0f});
        }
    return canvas;
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
