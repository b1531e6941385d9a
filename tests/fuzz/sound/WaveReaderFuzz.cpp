// Opens arbitrary bytes as a WAVE file from memory and reads everything the
// reader reports, twice, as the sound buffers do.
#include "Sound/WaveSoundReader.h"

#include <cstdint>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 0xFFFFFFFFu)
        return 0;
    WaveSoundReader reader;
    if (reader.openMemory(data, static_cast<uint32_t>(size), nullptr, SoundFileReader::kModeRead) !=
        Platform::kAudioOk)
        return 0;
    const Platform::WaveFormat* format = reader.format();
    if (format == nullptr || format->blockAlign == 0 || reader.size() > size)
        __builtin_trap();
    std::vector<uint8_t> out(reader.size());
    for (int pass = 0; pass < 2; ++pass)
    {
        uint32_t total = 0;
        uint32_t got = 0;
        // Odd-sized reads, to cross every boundary.
        while (reader.read(out.data() + total, std::min<uint32_t>(7, reader.size() - total), &got) ==
                   Platform::kAudioOk &&
               got != 0)
            total += got;
        if (total != reader.size())
            __builtin_trap();
        if (reader.reset() != Platform::kAudioOk)
            __builtin_trap();
    }
    return 0;
}
