#include "ImageCodec/ImageFormats.h"

#include <array>

namespace
{
constexpr PixelChannels kRgba{0, 1, 2, 3};
constexpr PixelChannels kRgb{0, 1, 2, -1};
constexpr PixelChannels kBgra{2, 1, 0, 3};
constexpr PixelChannels kBgr{2, 1, 0, -1};
} // namespace

uint32_t getPixelFormatBytes(uint32_t format)
{
    switch (format)
    {
    case PIXEL_FORMAT_R8G8B8A8:
    case PIXEL_FORMAT_B8G8R8A8:
        return 4;
    case PIXEL_FORMAT_R8G8B8:
    case PIXEL_FORMAT_B8G8R8:
        return 3;
    case PIXEL_FORMAT_I8:
        return 1;
    default:
        return 0;
    }
}

const PixelChannels* getPixelChannels(uint32_t format)
{
    switch (format)
    {
    case PIXEL_FORMAT_R8G8B8A8:
        return &kRgba;
    case PIXEL_FORMAT_R8G8B8:
        return &kRgb;
    case PIXEL_FORMAT_B8G8R8A8:
        return &kBgra;
    case PIXEL_FORMAT_B8G8R8:
        return &kBgr;
    default:
        return nullptr;
    }
}

ImageFormatDesc::ImageFormatDesc(ImageFileFormat format, std::string description, const char* extensions,
                                 size_t extensionBytes)
    : mFormat(format), mDescription(std::move(description))
{
    size_t start = 0;
    for (size_t i = 0; i <= extensionBytes; ++i)
    {
        if (i == extensionBytes || extensions[i] == '\0')
        {
            if (i > start)
                mExtensions.emplace_back(extensions + start, i - start);
            start = i + 1;
        }
    }
}

const char* ImageFormatDesc::getExtension(int index) const
{
    if (index < 0 || index >= getExtensionCount())
        return nullptr;
    return mExtensions[static_cast<size_t>(index)].c_str();
}

std::span<const ImageFormatDesc> getReadableImageFormats()
{
    // sizeof includes the literal's final NUL, which the splitter ignores.
    static const std::array<ImageFormatDesc, 6> formats{
        ImageFormatDesc(IMAGE_FORMAT_PNG, "PNG Files", "png", sizeof("png")),
        ImageFormatDesc(IMAGE_FORMAT_JPEG, "JPEG Files", "jpeg\0jpg", sizeof("jpeg\0jpg")),
        ImageFormatDesc(IMAGE_FORMAT_PCX, "PCX Files", "pcx", sizeof("pcx")),
        ImageFormatDesc(IMAGE_FORMAT_BMP, "BMP Files", "bmp", sizeof("bmp")),
        ImageFormatDesc(IMAGE_FORMAT_TGA, "TGA Files", "tga", sizeof("tga")),
        ImageFormatDesc(IMAGE_FORMAT_GIF, "GIF Files", "gif", sizeof("gif")),
    };
    return formats;
}
