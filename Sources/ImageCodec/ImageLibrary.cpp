#include "ImageCodec/ImageLibrary.h"

#include "ImageCodec/ImageCodecs.h"
#include "Platform/System/Paths.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

namespace
{
ImageBuffer* asBuffer(DecodedImage* image)
{
    // Every image handed out is an ImageBuffer; the cast keeps the layer's
    // helpers on the concrete type.
    return static_cast<ImageBuffer*>(image);
}

bool endsWithIgnoreCase(const std::string& text, const char* suffix)
{
    const size_t n = std::strlen(suffix);
    if (text.size() < n)
        return false;
    for (size_t i = 0; i < n; ++i)
    {
        char c = text[text.size() - n + i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != suffix[i])
            return false;
    }
    return true;
}

// I8 to the palette's own format; indices past the palette give zeros.
ImageBuffer* expandPalette(ImageBuffer& source)
{
    const uint32_t entryBytes = getPixelFormatBytes(source.getPaletteFormat());
    if (source.getPalette() == nullptr || !isDirectPixelFormat(source.getPaletteFormat()))
        return nullptr;
    ImageBuffer* result =
        ImageBuffer::create(source.getWidth(), source.getHeight(), source.getPaletteFormat());
    if (result == nullptr)
        return nullptr;
    const uint8_t* indices = source.getPixels();
    const uint8_t* palette = source.getPalette();
    const size_t count = source.pixelBytes();
    const size_t paletteSize = static_cast<size_t>(source.getPaletteSize());
    uint8_t* out = result->getPixels();
    for (size_t i = 0; i < count; ++i, out += entryBytes)
    {
        if (indices[i] < paletteSize)
            std::memcpy(out, palette + indices[i] * entryBytes, entryBytes);
    }
    return result;
}

constexpr PixelChannels channelsOf(uint32_t format)
{
    switch (format)
    {
    case PIXEL_FORMAT_R8G8B8A8:
        return {0, 1, 2, 3};
    case PIXEL_FORMAT_R8G8B8:
        return {0, 1, 2, -1};
    case PIXEL_FORMAT_B8G8R8A8:
        return {2, 1, 0, 3};
    default:
        return {2, 1, 0, -1};
    }
}

// One loop per pair of formats, with the channel positions known to the
// compiler: textures convert every image they load, and the generic loop
// is several times slower.
template <uint32_t From, uint32_t To> void convertFixed(const uint8_t* source, uint8_t* target, size_t count)
{
    constexpr PixelChannels from = channelsOf(From);
    constexpr PixelChannels to = channelsOf(To);
    constexpr size_t fromBytes = from.alpha >= 0 ? 4 : 3;
    constexpr size_t toBytes = to.alpha >= 0 ? 4 : 3;
    if constexpr (fromBytes == 4 && toBytes == 4)
    {
        // The two four-byte formats differ only by red and blue: swap them
        // as whole words, which the compiler vectorises.
        for (size_t i = 0; i < count; ++i, source += 4, target += 4)
        {
            uint32_t pixel;
            std::memcpy(&pixel, source, 4);
            pixel = (pixel & 0xFF00FF00u) | ((pixel >> 16) & 0xFFu) | ((pixel & 0xFFu) << 16);
            std::memcpy(target, &pixel, 4);
        }
        return;
    }
    for (size_t i = 0; i < count; ++i, source += fromBytes, target += toBytes)
    {
        const uint8_t red = source[from.red];
        const uint8_t green = source[from.green];
        const uint8_t blue = source[from.blue];
        target[to.red] = red;
        target[to.green] = green;
        target[to.blue] = blue;
        if constexpr (to.alpha >= 0)
        {
            if constexpr (from.alpha >= 0)
                target[to.alpha] = source[from.alpha];
            else
                target[to.alpha] = 255;
        }
    }
}

template <uint32_t From>
void convertFrom(const uint8_t* source, uint8_t* target, uint32_t targetFormat, size_t count)
{
    switch (targetFormat)
    {
    case PIXEL_FORMAT_R8G8B8A8:
        return convertFixed<From, PIXEL_FORMAT_R8G8B8A8>(source, target, count);
    case PIXEL_FORMAT_R8G8B8:
        return convertFixed<From, PIXEL_FORMAT_R8G8B8>(source, target, count);
    case PIXEL_FORMAT_B8G8R8A8:
        return convertFixed<From, PIXEL_FORMAT_B8G8R8A8>(source, target, count);
    case PIXEL_FORMAT_B8G8R8:
        return convertFixed<From, PIXEL_FORMAT_B8G8R8>(source, target, count);
    }
}

// Both formats direct (checked by the callers).
void convertPixels(const uint8_t* source, uint32_t sourceFormat, uint8_t* target, uint32_t targetFormat,
                   size_t count)
{
    switch (sourceFormat)
    {
    case PIXEL_FORMAT_R8G8B8A8:
        return convertFrom<PIXEL_FORMAT_R8G8B8A8>(source, target, targetFormat, count);
    case PIXEL_FORMAT_R8G8B8:
        return convertFrom<PIXEL_FORMAT_R8G8B8>(source, target, targetFormat, count);
    case PIXEL_FORMAT_B8G8R8A8:
        return convertFrom<PIXEL_FORMAT_B8G8R8A8>(source, target, targetFormat, count);
    case PIXEL_FORMAT_B8G8R8:
        return convertFrom<PIXEL_FORMAT_B8G8R8>(source, target, targetFormat, count);
    }
}

// Direct to direct; null when either format has no channel table.
ImageBuffer* convertDirect(ImageBuffer& source, uint32_t format)
{
    if (!isDirectPixelFormat(source.getFormat()) || !isDirectPixelFormat(format))
        return nullptr;
    ImageBuffer* result = ImageBuffer::create(source.getWidth(), source.getHeight(),
                                              static_cast<ImagePixelFormat>(format), false);
    if (result == nullptr)
        return nullptr;
    convertPixels(source.getPixels(), source.getFormat(), result->getPixels(), format,
                  static_cast<size_t>(source.getWidth()) * static_cast<size_t>(source.getHeight()));
    return result;
}
} // namespace

const char* getImageLibraryVersion()
{
    return "1.0.2";
}

ImageFile* createMemoryImageFile(const void* bytes, int64_t size)
{
    if (size < 0 || (size != 0 && bytes == nullptr))
        return nullptr;
    if (static_cast<uint64_t>(size) > SIZE_MAX)
        return nullptr;
    return MemoryImageFile::create(bytes, static_cast<size_t>(size));
}

ImageFile* openImageFile(const char* name, bool writeable)
{
    if (name == nullptr)
        return nullptr;
    const std::string path = writeable ? Platform::mapPathForWriting(name) : Platform::mapPath(name);
    return StdioImageFile::open(path.c_str(), writeable);
}

DecodedImage* openImageFromFile(ImageFile* file, uint32_t format)
{
    if (file == nullptr)
        return nullptr;
    if (!file->seek(0, 0))
        return nullptr;
    switch (format)
    {
    case IMAGE_FORMAT_AUTODETECT:
        for (const ImageFormatDesc& desc : getReadableImageFormats())
        {
            if (DecodedImage* image = openImageFromFile(file, desc.getFormat()))
                return image;
        }
        return nullptr;
    case IMAGE_FORMAT_PNG:
        return ImageCodecs::readPng(*file);
    case IMAGE_FORMAT_JPEG:
        return ImageCodecs::readJpeg(*file);
    case IMAGE_FORMAT_PCX:
        return ImageCodecs::readPcx(*file);
    case IMAGE_FORMAT_BMP:
        return ImageCodecs::readBmp(*file);
    case IMAGE_FORMAT_TGA:
        return ImageCodecs::readTga(*file);
    case IMAGE_FORMAT_GIF:
        return ImageCodecs::readGif(*file);
    default:
        return nullptr;
    }
}

DecodedImage* openImageByName(const char* name, uint32_t format)
{
    ImageFilePtr file(openImageFile(name, false));
    return openImageFromFile(file.get(), format);
}

DecodedImage* convertImage(DecodedImage* image, uint32_t format)
{
    if (image == nullptr)
        return nullptr;
    if (format == PIXEL_FORMAT_DONT_CARE || format == image->getFormat())
        return image;
    ImageBufferPtr source(asBuffer(image));
    if (source->getFormat() == PIXEL_FORMAT_I8)
    {
        source.reset(expandPalette(*source));
        if (!source)
            return nullptr;
        if (source->getFormat() == format)
            return source.release();
    }
    return convertDirect(*source, format);
}

DecodedImage* createImage(int32_t width, int32_t height, uint32_t format, const void* pixels)
{
    if (!isDirectPixelFormat(format))
        return nullptr;
    ImageBuffer* image = ImageBuffer::create(width, height, static_cast<ImagePixelFormat>(format));
    if (image != nullptr && pixels != nullptr)
        std::memcpy(image->getPixels(), pixels, image->pixelBytes());
    return image;
}

DecodedImage* createPaletteImage(int32_t width, int32_t height, uint32_t format, int32_t paletteSize,
                                 uint32_t paletteFormat)
{
    if (format != PIXEL_FORMAT_I8 || paletteSize != 256 || !isDirectPixelFormat(paletteFormat))
        return nullptr;
    ImageBufferPtr image(ImageBuffer::create(width, height, PIXEL_FORMAT_I8));
    if (!image || !image->allocatePalette(256, static_cast<ImagePixelFormat>(paletteFormat)))
        return nullptr;
    return image.release();
}

DecodedImage* cloneImage(DecodedImage* image, uint32_t format)
{
    if (image == nullptr)
        return nullptr;
    ImageBuffer& source = *asBuffer(image);
    ImageBufferPtr copy(ImageBuffer::create(source.getWidth(), source.getHeight(), source.getFormat()));
    if (!copy)
        return nullptr;
    std::memcpy(copy->getPixels(), source.getPixels(), source.pixelBytes());
    if (source.getPalette() != nullptr)
    {
        if (!copy->allocatePalette(source.getPaletteSize(), source.getPaletteFormat()))
            return nullptr;
        std::memcpy(copy->getPalette(), source.getPalette(),
                    static_cast<size_t>(source.getPaletteSize()) *
                        getPixelFormatBytes(source.getPaletteFormat()));
    }
    return convertImage(copy.release(), format);
}

void flipImage(DecodedImage* image, uint32_t axes)
{
    if (image == nullptr)
        return;
    ImageBuffer& target = *asBuffer(image);
    const size_t rowBytes = target.rowBytes();
    const size_t height = static_cast<size_t>(target.getHeight());
    const size_t width = static_cast<size_t>(target.getWidth());
    const size_t pixelBytes = getPixelFormatBytes(target.getFormat());
    uint8_t* pixels = target.getPixels();
    if (axes & FLIP_VERTICAL)
    {
        for (size_t top = 0, bottom = height - 1; top < bottom; ++top, --bottom)
            std::swap_ranges(pixels + top * rowBytes, pixels + (top + 1) * rowBytes,
                             pixels + bottom * rowBytes);
    }
    if (axes & FLIP_HORIZONTAL)
    {
        for (size_t y = 0; y < height; ++y)
        {
            uint8_t* row = pixels + y * rowBytes;
            for (size_t left = 0, right = width - 1; left < right; ++left, --right)
                std::swap_ranges(row + left * pixelBytes, row + (left + 1) * pixelBytes,
                                 row + right * pixelBytes);
        }
    }
}

bool convertPalette(DecodedImage* image, uint32_t format)
{
    if (image == nullptr || image->getPalette() == nullptr || !isDirectPixelFormat(format) ||
        !isDirectPixelFormat(image->getPaletteFormat()))
        return false;
    if (format == image->getPaletteFormat())
        return true;
    const size_t entries = static_cast<size_t>(image->getPaletteSize());
    std::unique_ptr<uint8_t[]> palette(new (std::nothrow) uint8_t[entries * getPixelFormatBytes(format)]);
    if (!palette)
        return false;
    convertPixels(image->getPalette(), image->getPaletteFormat(), palette.get(), format, entries);
    asBuffer(image)->replacePalette(std::move(palette), static_cast<ImagePixelFormat>(format));
    return true;
}

bool saveImageByName(const char* name, uint32_t format, DecodedImage* image)
{
    if (name == nullptr || image == nullptr)
        return false;
    const std::string path = Platform::mapPathForWriting(name);
    if (format == IMAGE_FORMAT_AUTODETECT)
    {
        if (endsWithIgnoreCase(path, ".png"))
            format = IMAGE_FORMAT_PNG;
        else if (endsWithIgnoreCase(path, ".tga"))
            format = IMAGE_FORMAT_TGA;
        else
            return false;
    }
    if (format != IMAGE_FORMAT_PNG && format != IMAGE_FORMAT_TGA)
        return false;

    const std::string temporary = path + ".tmp";
    StdioImageFile* file = StdioImageFile::open(temporary.c_str(), true);
    if (file == nullptr)
        return false;
    bool ok = format == IMAGE_FORMAT_PNG ? ImageCodecs::writePng(*file, *image)
                                         : ImageCodecs::writeTga(*file, *image);
    ok = file->close() && ok;
    file->destroy();
    if (ok && std::rename(temporary.c_str(), path.c_str()) == 0)
        return true;
    std::remove(temporary.c_str());
    return false;
}

int64_t ImageCodecs::bytesLeft(ImageFile& file)
{
    const int64_t position = file.tell();
    if (position < 0 || !file.seek(0, 2))
        return -1;
    const int64_t end = file.tell();
    if (!file.seek(position, 0) || end < position)
        return -1;
    return end - position;
}

DecodedImage* loadImageFile(const char* name, uint32_t pixelFormat, uint32_t fileFormat)
{
    return convertImage(openImageByName(name, fileFormat), pixelFormat);
}

DecodedImage* loadImageFromFile(ImageFile* file, uint32_t pixelFormat, uint32_t fileFormat)
{
    return convertImage(openImageFromFile(file, fileFormat), pixelFormat);
}

ImageFile* openMemoryFile(const void* bytes, int64_t size)
{
    return createMemoryImageFile(bytes, size);
}
