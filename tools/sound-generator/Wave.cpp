#include "Wave.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace SoundGen
{

namespace
{
void putU32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void putU16(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void putTag(std::vector<uint8_t>& out, const char* tag)
{
    out.insert(out.end(), tag, tag + 4);
}

int16_t toPcm(float s)
{
    float clamped = std::clamp(s, -1.0f, 1.0f);
    return static_cast<int16_t>(std::lround(clamped * 32767.0f));
}

bool write(const std::string& path, const std::vector<const Buffer*>& channels)
{
    size_t frames = 0;
    for (const Buffer* c : channels)
        frames = std::max(frames, c->size());
    uint16_t channelCount = static_cast<uint16_t>(channels.size());
    uint32_t dataSize = static_cast<uint32_t>(frames * channelCount * 2);
    std::vector<uint8_t> bytes;
    bytes.reserve(44 + dataSize);
    putTag(bytes, "RIFF");
    putU32(bytes, 36 + dataSize);
    putTag(bytes, "WAVE");
    putTag(bytes, "fmt ");
    putU32(bytes, 16);
    putU16(bytes, 1); // PCM
    putU16(bytes, channelCount);
    putU32(bytes, kRate);
    putU32(bytes, kRate * channelCount * 2);
    putU16(bytes, static_cast<uint16_t>(channelCount * 2));
    putU16(bytes, 16);
    putTag(bytes, "data");
    putU32(bytes, dataSize);
    for (size_t i = 0; i < frames; ++i)
        for (const Buffer* c : channels)
            putU16(bytes, static_cast<uint16_t>(toPcm(i < c->size() ? (*c)[i] : 0.0f)));
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}
} // namespace

bool writeMono(const std::string& path, const Buffer& samples)
{
    return write(path, {&samples});
}

bool writeStereo(const std::string& path, const Buffer& left, const Buffer& right)
{
    return write(path, {&left, &right});
}

} // namespace SoundGen
