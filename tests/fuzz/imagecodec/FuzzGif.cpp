#include "ImageFuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return fuzzImageFormat(data, size, IMAGE_FORMAT_GIF);
}
