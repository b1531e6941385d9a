#pragma once
// Image files built in memory for the image layer's tests, fuzz seeds and
// benchmarks: PNG, JPEG and GIF through the libraries' own encoders, BMP, TGA
// and PCX byte by byte.
#include "ImageCodec/ImageLibrary.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ImageFixtures
{
using Bytes = std::vector<uint8_t>;

// A deterministic pattern of width x height x channels bytes.
Bytes pattern(int width, int height, int channels, unsigned seed = 1);

struct PngOptions
{
    int colourType = 6; // PNG_COLOR_TYPE_RGB_ALPHA
    int bitDepth = 8;
    bool interlaced = false;
    Bytes palette;      // R, G, B triples for colour type 3
    Bytes transparency; // tRNS entries for colour type 3
    int transparentGrey = -1;
};
// samples: packed rows of the PNG's own sample layout (16-bit samples big-endian,
// sub-byte samples packed).
Bytes encodePng(int width, int height, const Bytes& samples, const PngOptions& options = {});

// components 1 (grey), 3 (RGB) or 4 (CMYK).
Bytes encodeJpeg(int width, int height, int components, const Bytes& samples, int quality = 90,
                 bool progressive = false);

struct GifImage
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool interlaced = false;
    Bytes raster; // width x height indices, rows in display order
    int transparent = -1;
};
// colours: R, G, B triples, a power of two count from 2 to 256; empty for no
// global colour map.
Bytes encodeGif(int screenWidth, int screenHeight, const Bytes& colours, int background,
                const std::vector<GifImage>& images);

struct BmpOptions
{
    uint32_t headerSize = 40; // 12 for OS/2, 108 and 124 for V4 and V5
    uint16_t bits = 24;
    uint32_t compression = 0;
    bool topDown = false;
    Bytes palette; // B, G, R (and the reserved byte unless OS/2) per entry
    uint32_t coloursUsed = 0;
    std::vector<uint32_t> masks; // R, G, B for compression 3
};
// pixelData: the rows as stored (padded, bottom-up unless topDown), or the
// run-length stream.
Bytes encodeBmp(int width, int height, const Bytes& pixelData, const BmpOptions& options);
// Pads packed rows to 4 bytes and stores them bottom-up.
Bytes bmpRows(int width, int height, int bits, const Bytes& packedTopDownRows);

Bytes encodeTga(int width, int height, int bits, uint8_t descriptor, const Bytes& pixels, int idLength = 0,
                int colourMapLength = 0);

// planes 1 (with the palette, 768 bytes) or 3.
Bytes encodePcx(int width, int height, int planes, int bytesPerLine, const Bytes& planeRows,
                const Bytes& palette = {});

struct NamedFixture
{
    std::string name;
    uint32_t format;
    Bytes bytes;
};
// One small file of every variant the readers support.
std::vector<NamedFixture> allFixtures();

// Decodes bytes through a memory file.
DecodedImagePtr decode(const Bytes& bytes, uint32_t format = IMAGE_FORMAT_AUTODETECT);
// The pixel bytes of an image, rows top first.
Bytes pixelsOf(DecodedImage& image);
// Sixteen B, G, R, reserved entries (i * 3, i * 5, i * 7).
Bytes palette16();
} // namespace ImageFixtures
