// Opens a video from memory as the game opens the archive's videos, decodes
// its pictures and sound and seeks in it.
#include "Platform/Media/MediaDecoder.h"

#include <cstddef>
#include <cstdint>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Platform::MediaDecoder decoder;
    decoder.setAudioWanted(true);
    auto stream = std::make_shared<Platform::MediaMemoryStream>(data, size, nullptr);
    if (Platform::resultFailed(decoder.openMemory(stream, "fuzz.wmv")))
        return 0;
    uint8_t sound[4096];
    for (int i = 0; i < 32 && decoder.decodeNext(); ++i)
    {
        decoder.fillAudio(sizeof sound);
        decoder.takeAudio(sound, sizeof sound);
    }
    decoder.seek(decoder.durationNs() / 2);
    decoder.decodeNext();
    decoder.seek(0);
    return 0;
}
