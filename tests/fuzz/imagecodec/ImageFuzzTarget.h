#pragma once
// Shared body of the image layer's fuzz targets: decode the bytes as one
// format from memory, then convert the result the way textures do.
#include "ImageCodec/ImageLibrary.h"

#include <cstddef>
#include <cstdint>

inline int fuzzImageFormat(const uint8_t* data, size_t size, uint32_t format)
{
    ImageFilePtr file(createMemoryImageFile(data, static_cast<int64_t>(size)));
    DecodedImagePtr image(openImageFromFile(file.get(), format));
    if (image)
        image.reset(convertImage(image.release(), PIXEL_FORMAT_B8G8R8A8));
    return 0;
}
