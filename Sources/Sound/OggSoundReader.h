#pragma once
// Decodes Ogg Vorbis files from disk to 16-bit little-endian PCM. A stream
// whose length cannot be known is refused, since buffers are sized from it.
#include "Sound/SoundFileReader.h"

#include <cstdint>
#include <memory>

struct OggVorbis_File;

class OggSoundReader : public SoundFileReader
{
public:
    OggSoundReader();
    ~OggSoundReader() override;

    Platform::PlatformResult open(const char* path, const Platform::WaveFormat* format,
                                  uint32_t mode) override;
    // Ogg files in memory are not read: such a file must come from the disk.
    Platform::PlatformResult openMemory(const uint8_t* data, uint32_t size,
                                        const Platform::WaveFormat* format, uint32_t mode) override;
    Platform::PlatformResult close() override;
    Platform::PlatformResult read(uint8_t* destination, uint32_t count, uint32_t* bytesRead) override;
    Platform::PlatformResult write(const uint8_t* source, uint32_t count, uint32_t* bytesWritten) override;
    uint32_t size() const override { return mSize; }
    Platform::PlatformResult reset() override;
    const Platform::WaveFormat* format() const override { return mOpen ? &mFormat : nullptr; }

private:
    std::unique_ptr<OggVorbis_File> mVorbis;
    bool mOpen = false;
    Platform::WaveFormat mFormat;
    uint32_t mSize = 0;
    int64_t mStartPosition = 0;
};
