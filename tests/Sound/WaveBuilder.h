#pragma once
// Builds WAVE files in memory for the sound tests, including the damaged and
// unusual layouts real files have.
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace TestWave
{

struct Recipe
{
    uint16_t formatTag = 1;
    uint16_t channels = 1;
    uint32_t rate = 22050;
    uint16_t bits = 16;
    int blockAlign = -1; // -1: channels * bits / 8
    std::vector<uint8_t> data;
    // A 3-byte chunk (padded) before 'fmt ', and a LIST chunk before 'data'.
    bool junkBeforeFormat = false;
    bool listBeforeData = false;
    bool noDataChunk = false;
    int64_t declaredDataSize = -1;
    // For formats other than PCM: the extra-size field and the bytes after it.
    int extraSizeField = -1;
    std::vector<uint8_t> extra;
    int formatChunkSize = -1; // -1: what the record needs
};

inline void put16(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

inline void put32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

inline void putId(std::vector<uint8_t>& out, const char* id)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(id[i]));
}

// Byte by byte: GCC 12 warns wrongly about range inserts into a growing vector.
inline void append(std::vector<uint8_t>& out, const std::vector<uint8_t>& bytes)
{
    for (uint8_t b : bytes)
        out.push_back(b);
}

inline std::vector<uint8_t> build(const Recipe& recipe)
{
    std::vector<uint8_t> body;
    putId(body, "WAVE");
    if (recipe.junkBeforeFormat)
    {
        putId(body, "junk");
        put32(body, 3);
        append(body, {1, 2, 3, 0});
    }
    std::vector<uint8_t> format;
    uint16_t align = recipe.blockAlign >= 0 ? static_cast<uint16_t>(recipe.blockAlign)
                                          : static_cast<uint16_t>(recipe.channels * (recipe.bits / 8));
    put16(format, recipe.formatTag);
    put16(format, recipe.channels);
    put32(format, recipe.rate);
    put32(format, align * recipe.rate);
    put16(format, align);
    put16(format, recipe.bits);
    if (recipe.extraSizeField >= 0)
    {
        put16(format, static_cast<uint16_t>(recipe.extraSizeField));
        append(format, recipe.extra);
    }
    putId(body, "fmt ");
    put32(body, recipe.formatChunkSize >= 0 ? static_cast<uint32_t>(recipe.formatChunkSize)
                                          : static_cast<uint32_t>(format.size()));
    append(body, format);
    if (format.size() % 2 != 0)
        body.push_back(0);
    if (recipe.listBeforeData)
    {
        putId(body, "LIST");
        put32(body, 4 + 8 + 5);
        putId(body, "INFO");
        putId(body, "INAM");
        put32(body, 5);
        append(body, {'s', 'o', 'n', 's', 0, 0});
    }
    if (!recipe.noDataChunk)
    {
        putId(body, "data");
        put32(body, recipe.declaredDataSize >= 0 ? static_cast<uint32_t>(recipe.declaredDataSize)
                                               : static_cast<uint32_t>(recipe.data.size()));
        append(body, recipe.data);
    }
    std::vector<uint8_t> file;
    putId(file, "RIFF");
    put32(file, static_cast<uint32_t>(body.size()));
    append(file, body);
    return file;
}

inline std::vector<uint8_t> samples16(const std::vector<int16_t>& values)
{
    std::vector<uint8_t> out;
    for (int16_t v : values)
        put16(out, static_cast<uint16_t>(v));
    return out;
}

inline void writeFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

} // namespace TestWave
