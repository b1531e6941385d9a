#pragma once
// Reads (and writes) RIFF WAVE files, on disk or in memory. The format
// record and the data size come from an untrusted file: sizes are clamped
// to the bytes present and a format the header cannot describe is refused.
#include "Platform/Riff/RiffFile.h"
#include "Sound/SoundFileReader.h"

#include <vector>

class WaveSoundReader : public SoundFileReader
{
public:
    WaveSoundReader() = default;
    ~WaveSoundReader() override;

    Platform::PlatformResult open(const char* path, const Platform::WaveFormat* format,
                                  uint32_t mode) override;
    Platform::PlatformResult openMemory(const uint8_t* data, uint32_t size,
                                        const Platform::WaveFormat* format, uint32_t mode) override;
    // Reads a copy of the bytes that the reader keeps while it is open.
    Platform::PlatformResult openCopy(std::vector<uint8_t> bytes);
    Platform::PlatformResult close() override;
    Platform::PlatformResult read(uint8_t* destination, uint32_t count, uint32_t* bytesRead) override;
    Platform::PlatformResult write(const uint8_t* source, uint32_t count, uint32_t* bytesWritten) override;
    uint32_t size() const override { return mSize; }
    Platform::PlatformResult reset() override;
    const Platform::WaveFormat* format() const override { return mHasFormat ? &mFormat : nullptr; }

    // The bytes that follow the format record in the file (formats other than PCM).
    const std::vector<uint8_t>& extraFormatBytes() const { return mExtra; }

private:
    Platform::PlatformResult readHeader();
    // Opens the program's own sound of the name, a "WAVE" or else a "WAV".
    Platform::PlatformResult openProgramSound(const std::string& name);
    Platform::PlatformResult writeHeader(const Platform::WaveFormat& format);

    Platform::RiffFile mFile;
    Platform::RiffChunk mRiffChunk;
    // The 'data' chunk while reading; the 'fact' chunk is kept for closing a written file.
    Platform::RiffChunk mChunk;
    Platform::RiffChunk mFactChunk;
    Platform::WaveFormat mFormat;
    std::vector<uint8_t> mExtra;
    // The bytes read from memory when the reader holds them itself.
    std::vector<uint8_t> mOwnedBytes;
    bool mHasFormat = false;
    uint32_t mMode = 0;
    uint32_t mSize = 0;
    uint32_t mRemaining = 0;
};
