#pragma once
// File formats the image layer reads and writes, the pixel formats it hands
// out, and the descriptors of the readable formats (for file dialogs and
// extension tests).
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Values are those callers store and pass around; any other value is simply
// unknown to the layer, so both types accept every u32.
enum ImageFileFormat : uint32_t
{
    IMAGE_FORMAT_AUTODETECT = 0x100,
    IMAGE_FORMAT_PNG = 0x101,
    IMAGE_FORMAT_JPEG = 0x102,
    IMAGE_FORMAT_PCX = 0x103,
    IMAGE_FORMAT_BMP = 0x104,
    IMAGE_FORMAT_TGA = 0x105,
    IMAGE_FORMAT_GIF = 0x106,
};

enum ImagePixelFormat : uint32_t
{
    PIXEL_FORMAT_DONT_CARE = 0x200,
    PIXEL_FORMAT_R8G8B8A8 = 0x201,
    PIXEL_FORMAT_R8G8B8 = 0x202,
    PIXEL_FORMAT_I8 = 0x203,
    // What textures ask for.
    PIXEL_FORMAT_B8G8R8A8 = 0x204,
    PIXEL_FORMAT_B8G8R8 = 0x205,
};

// Byte position of each channel inside a pixel; -1 when the format lacks it.
struct PixelChannels
{
    int red;
    int green;
    int blue;
    int alpha;
};

// 0 for the don't-care value and for unknown formats.
uint32_t getPixelFormatBytes(uint32_t format);
// Null for formats that are not direct colour (I8, don't care, unknown).
const PixelChannels* getPixelChannels(uint32_t format);
inline bool isDirectPixelFormat(uint32_t format)
{
    return getPixelChannels(format) != nullptr;
}

class ImageFormatDesc
{
public:
    // Extensions are given as one block of NUL-separated names.
    ImageFormatDesc(ImageFileFormat format, std::string description, const char* extensions,
                    size_t extensionBytes);

    ImageFileFormat getFormat() const { return mFormat; }
    const char* getDescription() const { return mDescription.c_str(); }
    int getExtensionCount() const { return static_cast<int>(mExtensions.size()); }
    // Null outside 0..count-1.
    const char* getExtension(int index) const;

private:
    ImageFileFormat mFormat;
    std::string mDescription;
    std::vector<std::string> mExtensions;
};

// PNG, JPEG, PCX, BMP, TGA, GIF: the order autodetection tries them in.
std::span<const ImageFormatDesc> getReadableImageFormats();
