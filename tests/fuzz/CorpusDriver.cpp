// Runs a libFuzzer entry point over every file of the corpus folders named on
// the command line, so that fuzz targets also run as ordinary tests (and under
// the sanitizers) where libFuzzer is not linked.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv)
{
    size_t count = 0;
    for (int i = 1; i < argc; ++i)
    {
        std::error_code error;
        if (!std::filesystem::is_directory(argv[i], error))
        {
            std::fprintf(stderr, "no corpus folder %s\n", argv[i]);
            return 1;
        }
        for (const auto& entry : std::filesystem::recursive_directory_iterator(argv[i]))
        {
            if (!entry.is_regular_file())
                continue;
            std::ifstream in(entry.path(), std::ios::binary);
            std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            // Every prefix too: truncated input is the commonest damage.
            // Each prefix is copied to a block of its own size so that the
            // sanitizers see any read past its end.
            for (size_t n = 0; n < bytes.size() && n < 4096; ++n)
            {
                std::vector<uint8_t> prefix(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
                LLVMFuzzerTestOneInput(prefix.data(), prefix.size());
            }
            ++count;
        }
    }
    std::printf("%zu corpus files run\n", count);
    return 0;
}
