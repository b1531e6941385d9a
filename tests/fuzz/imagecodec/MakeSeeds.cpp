// Writes the image fixtures as fuzz seeds: one folder per format under the
// corpus folder given on the command line. Run by hand when the fixtures
// change; the seeds are committed.
#include "ImageFixtures.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: %s <tests/fuzz/corpus>\n", argv[0]);
        return 1;
    }
    const std::map<uint32_t, const char*> folders = {
        {IMAGE_FORMAT_PNG, "fuzz_png"}, {IMAGE_FORMAT_JPEG, "fuzz_jpeg"}, {IMAGE_FORMAT_GIF, "fuzz_gif"},
        {IMAGE_FORMAT_BMP, "fuzz_bmp"}, {IMAGE_FORMAT_TGA, "fuzz_tga"},   {IMAGE_FORMAT_PCX, "fuzz_pcx"}};
    for (const ImageFixtures::NamedFixture& fixture : ImageFixtures::allFixtures())
    {
        const std::filesystem::path folder = std::filesystem::path(argv[1]) / folders.at(fixture.format);
        std::filesystem::create_directories(folder);
        std::ofstream out(folder / fixture.name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(fixture.bytes.data()),
                  static_cast<std::streamsize>(fixture.bytes.size()));
    }
    return 0;
}
