#pragma once
// The readers and writers behind the image layer's entry points. Each reader
// starts at the file's current position, returns null on any fault and frees
// everything it made.
#include "ImageCodec/DecodedImage.h"
#include "ImageCodec/ImageFile.h"
#include "Platform/System/ByteReader.h"

namespace ImageCodecs
{
DecodedImage* readPng(ImageFile& file);
DecodedImage* readJpeg(ImageFile& file);
DecodedImage* readPcx(ImageFile& file);
DecodedImage* readBmp(ImageFile& file);
DecodedImage* readTga(ImageFile& file);
DecodedImage* readGif(ImageFile& file);

bool writePng(ImageFile& file, DecodedImage& image);
bool writeTga(ImageFile& file, DecodedImage& image);

// Bytes from the current position to the end, the position kept; -1 when the
// file cannot seek.
int64_t bytesLeft(ImageFile& file);
// Reads exactly size bytes.
inline bool readExact(ImageFile& file, void* buffer, size_t size)
{
    return file.read(buffer, size) == size;
}
} // namespace ImageCodecs
