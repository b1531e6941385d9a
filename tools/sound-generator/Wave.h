#pragma once
// RIFF/WAVE output: 16-bit PCM at 22050 Hz, mono or stereo.
#include "Synth.h"

#include <string>

namespace SoundGen
{

bool writeMono(const std::string& path, const Buffer& samples);
// The shorter channel is padded with silence.
bool writeStereo(const std::string& path, const Buffer& left, const Buffer& right);

} // namespace SoundGen
