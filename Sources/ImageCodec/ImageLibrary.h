#pragma once
// The image layer: opens PNG, JPEG, PCX, BMP, TGA and GIF images from a file
// on disk or a block of memory, converts them to the pixel formats textures
// use, and writes PNG and TGA. Failures return null (or false); nothing is
// thrown. Images and files returned here belong to the caller, who releases
// them with destroy() or holds them in DecodedImagePtr / ImageFilePtr.
#include "ImageCodec/DecodedImage.h"
#include "ImageCodec/ImageFile.h"
#include "ImageCodec/ImageFormats.h"

#include <cstdint>

// "1.0.2".
const char* getImageLibraryVersion();

// A memory file holding a copy of the bytes; null when the size is negative,
// or non-zero with null bytes.
ImageFile* createMemoryImageFile(const void* bytes, int64_t size);
// The game's path (backslashes allowed, relative to the program's folder) on
// disk, opened for reading or, when writeable, created for writing.
ImageFile* openImageFile(const char* name, bool writeable);

// Decodes from the start of the file. IMAGE_FORMAT_AUTODETECT tries PNG,
// JPEG, PCX, BMP, TGA and GIF in that order. The file stays the caller's.
DecodedImage* openImageFromFile(ImageFile* file, uint32_t format);
DecodedImage* openImageByName(const char* name, uint32_t format);

// Takes ownership of the image: returns it unchanged for PIXEL_FORMAT_DONT_CARE
// or its own format, else a converted image (the source is destroyed), or
// null when the target cannot be produced (the source is destroyed too).
DecodedImage* convertImage(DecodedImage* image, uint32_t format);

// Opened and converted in one step: null when either fails.
DecodedImage* loadImageFile(const char* name, uint32_t pixelFormat, uint32_t fileFormat);
DecodedImage* loadImageFromFile(ImageFile* file, uint32_t pixelFormat, uint32_t fileFormat);
// The memory file of createMemoryImageFile.
ImageFile* openMemoryFile(const void* bytes, int64_t size);

// A direct-colour image with a copy of the pixels (packed rows, top to
// bottom), or zero-filled when pixels is null.
DecodedImage* createImage(int32_t width, int32_t height, uint32_t format, const void* pixels);
// Only (I8, 256 entries, a direct palette format): zeroed indices and palette.
DecodedImage* createPaletteImage(int32_t width, int32_t height, uint32_t format, int32_t paletteSize,
                                 uint32_t paletteFormat);
// A deep copy, converted unless the format is PIXEL_FORMAT_DONT_CARE.
DecodedImage* cloneImage(DecodedImage* image, uint32_t format);

enum : uint32_t
{
    FLIP_VERTICAL = 1,  // rows top to bottom
    FLIP_HORIZONTAL = 2 // each row left to right
};
void flipImage(DecodedImage* image, uint32_t axes);
// Re-expresses an I8 image's palette in another direct format.
bool convertPalette(DecodedImage* image, uint32_t format);

// Writes PNG or TGA (IMAGE_FORMAT_AUTODETECT picks by the ".png" / ".tga"
// ending, in any case). The name is a game path like openImageFile's; an
// absolute Linux path is used as it stands. The file is written beside its final name and renamed
// into place, so a failed write leaves an older file intact. PNG keeps
// R, G, B and A; TGA is written as 32-bit B8G8R8A8, top row first.
bool saveImageByName(const char* name, uint32_t format, DecodedImage* image);
