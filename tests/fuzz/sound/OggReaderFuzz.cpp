// Opens arbitrary bytes as an Ogg Vorbis sound file, as a damaged or hostile
// file in the data folder would be, and reads everything the reader reports,
// twice, as the sound buffers do.
#include "Sound/OggSoundReader.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The reader takes a file: a file in memory stands for it.
    int fd = memfd_create("ogg", MFD_CLOEXEC);
    if (fd < 0)
        return 0;
    if (size > 0 && ::write(fd, data, size) != static_cast<ssize_t>(size))
    {
        ::close(fd);
        return 0;
    }
    const std::string path = "/proc/self/fd/" + std::to_string(fd);
    {
        OggSoundReader reader;
        if (reader.open(path.c_str(), nullptr, SoundFileReader::kModeRead) == Platform::kAudioOk)
        {
            const Platform::WaveFormat* format = reader.format();
            if (format == nullptr || format->blockAlign == 0)
                __builtin_trap();
            // A tiny file may announce a long stream; what it really decodes
            // is read in bounded steps.
            std::vector<uint8_t> out(4096);
            for (int pass = 0; pass < 2; ++pass)
            {
                uint32_t total = 0;
                uint32_t got = 0;
                while (total < reader.size() &&
                       reader.read(out.data(), std::min<uint32_t>(4093, reader.size() - total), &got) ==
                           Platform::kAudioOk &&
                       got != 0)
                {
                    if (got > 4093)
                        __builtin_trap();
                    total += got;
                }
                if (total > reader.size())
                    __builtin_trap();
                if (reader.reset() != Platform::kAudioOk)
                    break;
            }
        }
    }
    ::close(fd);
    return 0;
}
