#pragma once
// Tiny videos made for the tests through FFmpeg's encoders: each picture is
// one flat colour from a palette, so a decoded picture tells which it was.
#include <cstdint>
#include <string>
#include <vector>

namespace TestVideo
{

struct Recipe
{
    std::string container = "asf";
    std::string codec = "wmv2";
    int width = 64;
    int height = 48;
    int frames = 10;
    int framesPerSecond = 10;
    // Pictures between key pictures.
    int keyInterval = 4;
    // A sound track: a 440 Hz tone at a quarter of full scale, 22050 Hz
    // stereo, through this encoder (none when empty).
    std::string audioCodec;
};

// 0xRRGGBB of picture i (the palette repeats after ten).
uint32_t frameColour(int index);

// The palette index nearest to a BGRA pixel.
int nearestFrame(const uint8_t* bgra);

// Encodes the video into the file and returns its bytes (empty on failure).
std::vector<uint8_t> encode(const Recipe& recipe, const std::string& path);

// An ASF file of a stream FFmpeg has no decoder for (AVS2; the packets are
// not real pictures, nothing gets as far as decoding them).
std::vector<uint8_t> encodeWithoutDecoder(const std::string& path);

// A WAVE file of a second of silence: a container without pictures.
std::vector<uint8_t> encodeSoundOnly(const std::string& path);

std::vector<uint8_t> readFile(const std::string& path);
void writeFile(const std::string& path, const std::vector<uint8_t>& bytes);

} // namespace TestVideo
