// Decoding speed of full-window images (1024 x 768), from memory as textures
// read them out of the resource archive.
#include "ImageFixtures.h"

#include <benchmark/benchmark.h>

using namespace ImageFixtures;

namespace
{
constexpr int kWidth = 1024;
constexpr int kHeight = 768;

// Smooth shading with a little noise, closer to a painted background than
// either a flat fill or pure noise.
Bytes background(int channels)
{
    const Bytes noise = pattern(kWidth, kHeight, 1, 11);
    Bytes out;
    out.reserve(static_cast<size_t>(kWidth) * kHeight * static_cast<size_t>(channels));
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
        {
            const int n = noise[static_cast<size_t>(y) * kWidth + static_cast<size_t>(x)] & 7;
            out.push_back(static_cast<uint8_t>(x / 4 + n));
            out.push_back(static_cast<uint8_t>(y / 3 + n));
            out.push_back(static_cast<uint8_t>((x + y) / 8 + n));
            if (channels == 4)
                out.push_back(static_cast<uint8_t>(255 - (x + y) / 8));
        }
    return out;
}

const Bytes& jpegFile()
{
    static const Bytes bytes = encodeJpeg(kWidth, kHeight, 3, background(3), 90);
    return bytes;
}

const Bytes& pngFile()
{
    static const Bytes bytes = encodePng(kWidth, kHeight, background(4));
    return bytes;
}

void decodeLoop(benchmark::State& state, const Bytes& bytes, uint32_t format, uint32_t pixelFormat)
{
    for (auto _ : state)
    {
        ImageFilePtr file(createMemoryImageFile(bytes.data(), static_cast<int64_t>(bytes.size())));
        DecodedImagePtr image(convertImage(openImageFromFile(file.get(), format), pixelFormat));
        if (!image)
            state.SkipWithError("decoding failed");
        benchmark::DoNotOptimize(image.get());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * int64_t{kWidth} * kHeight * 4);
    state.counters["file_kb"] = static_cast<double>(bytes.size()) / 1024.0;
}
} // namespace

static void BM_DecodeJpeg1024x768(benchmark::State& state)
{
    decodeLoop(state, jpegFile(), IMAGE_FORMAT_JPEG, PIXEL_FORMAT_DONT_CARE);
}
BENCHMARK(BM_DecodeJpeg1024x768)->Unit(benchmark::kMillisecond);

static void BM_DecodePng1024x768(benchmark::State& state)
{
    decodeLoop(state, pngFile(), IMAGE_FORMAT_PNG, PIXEL_FORMAT_DONT_CARE);
}
BENCHMARK(BM_DecodePng1024x768)->Unit(benchmark::kMillisecond);

// What a texture load costs: autodetection, decoding and the B8G8R8A8 copy.
static void BM_LoadJpegTexture1024x768(benchmark::State& state)
{
    decodeLoop(state, jpegFile(), IMAGE_FORMAT_AUTODETECT, PIXEL_FORMAT_B8G8R8A8);
}
BENCHMARK(BM_LoadJpegTexture1024x768)->Unit(benchmark::kMillisecond);

static void BM_LoadPngTexture1024x768(benchmark::State& state)
{
    decodeLoop(state, pngFile(), IMAGE_FORMAT_AUTODETECT, PIXEL_FORMAT_B8G8R8A8);
}
BENCHMARK(BM_LoadPngTexture1024x768)->Unit(benchmark::kMillisecond);
