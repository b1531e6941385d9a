#pragma once
// The format record of PCM sound data, as WAVE files store it: the sound
// readers produce it and the audio device takes it to create buffers.
#include <cstdint>

namespace Platform
{

inline constexpr uint16_t kWaveFormatPcm = 1;

struct WaveFormat
{
    uint16_t formatTag = kWaveFormatPcm;
    uint16_t channels = 0;
    uint32_t samplesPerSec = 0;
    uint32_t avgBytesPerSec = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
    // Bytes of format-specific data that follow the record in a file.
    uint16_t extraSize = 0;
};

// The PCM format with block align and byte rate derived from the rest.
inline WaveFormat makePcmFormat(uint16_t channels, uint32_t rate, uint16_t bits)
{
    WaveFormat format;
    format.channels = channels;
    format.samplesPerSec = rate;
    format.bitsPerSample = bits;
    format.blockAlign = static_cast<uint16_t>(channels * (bits / 8));
    format.avgBytesPerSec = format.blockAlign * rate;
    return format;
}

// True for the formats the mixer plays: PCM, 8 or 16 bits, mono or stereo,
// a block align that matches, and a rate inside the device's range.
bool isPlayableFormat(const WaveFormat& format);

} // namespace Platform
