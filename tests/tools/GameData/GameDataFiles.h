#pragma once
// Access to the game data the build made: the data folder, the mounted
// resource archive, decoding of its pictures and reading of its bitmap
// fonts by the rules the game applies.
#include "Framework/ResourceArchive.h"
#include "raster/Canvas.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace GameData
{

std::string dataFolder();
// The archive data\Ressources.dat, mounted once; null when it cannot be.
ResourceArchive* archive();
// A file below data\Ressources, read from the archive (game path with
// backslashes, "data\Ressources\images\mouse.png").
std::unique_ptr<ByteBuffer> readRessource(const std::string& gamePath);
// A picture decoded by the image layer to straight RGBA; nothing when the
// bytes do not decode.
std::optional<Raster::Canvas> decodePicture(const ByteBuffer& bytes);

// A bitmap font read by the game's rules: 256 as the first word, glyph codes
// below 256, every record's bytes present; a code that comes twice keeps its
// last record.
struct BitmapFontFile
{
    uint32_t lineSpacing = 0;
    uint32_t letterSpacing = 0;
    uint32_t height = 0;
    struct Glyph
    {
        bool present = false;
        uint32_t width = 0;
        std::vector<uint8_t> pixels;
    };
    std::array<Glyph, 256> glyphs;

    // An empty optional and the reason when the bytes break a rule.
    static std::optional<BitmapFontFile> parse(const uint8_t* bytes, size_t size, std::string& reason);
    // Draws Windows-1252 text with its top-left corner at (x, y); missing
    // characters take glyph 0. Returns the advance.
    int draw(Raster::Canvas& canvas, int x, int y, const std::string& text, Raster::Color color) const;
    int measure(const std::string& text) const;
};

} // namespace GameData
